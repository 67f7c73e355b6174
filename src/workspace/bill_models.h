// The two bill windows without a toolkit.
//
// CktBill, the circuit report and bill of the main window's current record.
// Controls: Label1 "Circuit No.= ...", Label2 "Line/Pipe No.=  ...", Label3
// "Vaporix     Circuit Report #n     Bill of Materials", Label6 (the product
// name), lblMaker (the maker's lines), Time_display and Date_Display (the
// clock), Options (the material option list, hidden and disabled), the
// buttons print "&Print" and return "&Return". The grids CktRptGrid (design
// summary) and CktBillGrid (material lines) are reportRows() and billRows().
//
// Bill, the summary bill of materials of the whole set ("Summary Bill of
// Materials"): BillGrid is rows(); commands print, "&Export" and return.
//
// Both are built from the records when they open and change nothing.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "bom/circuit_bill.h"
#include "circuit/report.h"
#include "core/design_record.h"
#include "reports/bill_printout.h"
#include "workspace/controls.h"
#include "workspace/dialogs.h"

namespace vst {

class STmainModel;

class CktBillModel {
 public:
  // The report of the main window's current record, as its fields show it.
  CktBillModel(const STmainModel& main, std::time_t now);
  // The report of a circuit designed elsewhere (a row of a line list).
  CktBillModel(CircuitReport report, std::time_t now);

  std::string caption() const { return report_.caption; }  // "Report #n"
  ControlSet& controls() { return controls_; }
  const ControlSet& controls() const { return controls_; }
  const std::vector<ReportRow>& reportRows() const { return report_.rows; }  // CktRptGrid
  const std::vector<BillRow>& billRows() const { return report_.bill; }      // CktBillGrid
  int recordNumber() const { return report_.recordNumber; }

  // Timer1: the clock labels from the local time.
  void tick(std::time_t now);

  // The printout of the report and bill, dated `now`.
  PageDescription printout(std::time_t now) const;

 private:
  void addControls(std::time_t now);

  ControlSet controls_;
  CircuitReport report_;
};

// What the "&Export" command needs from its surroundings.
struct ExportPlace {
  std::string lastFolder;       // the folder of the previous export, may be empty
  std::string documentsFolder;  // the user's documents folder
};

class BillModel {
 public:
  static constexpr const char* kCaption = "Summary Bill of Materials";
  static constexpr const char* kSheetTitle = kSummarySheetTitle;
  static constexpr const char* kDefaultFileName = "Summary BOM.xlsx";

  explicit BillModel(const DesignSet& set);
  // A bill already summed (over the designed rows of a line list).
  explicit BillModel(std::vector<BillRow> rows) : rows_(std::move(rows)) {}

  const std::vector<BillRow>& rows() const { return rows_; }  // BillGrid
  PageDescription printout(std::time_t now) const;

  // "&Export": the save dialog (default name "Summary BOM.xlsx" in the last
  // folder used, else the documents folder, given as the dialog's start
  // path), then the workbook. Returns the
  // path written; nothing when the dialog was cancelled (silently) or the
  // workbook could not be written (an "Error" message says why). The folder
  // of a written file becomes place.lastFolder.
  std::optional<std::string> exportCommand(Dialogs& dialogs, ExportPlace& place) const;

  // The message when no program on this desktop opens the written workbook.
  static Message NoSpreadsheetProgramMessage(const std::string& path);

 private:
  std::vector<BillRow> rows_;
};

}  // namespace vst
