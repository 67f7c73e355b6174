#include "workspace/bill_models.h"

#include <filesystem>

#include "bom/summary_bill.h"
#include "bom/xlsx_export.h"
#include "core/clock_text.h"
#include "core/message_titles.h"
#include "workspace/stmain_model.h"

namespace vst {

namespace {

// The circuit bill window's controls by position, in the order it adds them.
enum class CktId : std::size_t {
  Label1,
  Label2,
  Label3,
  Label6,
  lblMaker,
  Time_display,
  Date_Display,
  Options
};

}  // namespace

CktBillModel::CktBillModel(const STmainModel& main, std::time_t now) {
  const ControlSet& c = main.controls();
  const DesignSet& set = main.set();
  CircuitReportFields f;
  f.units = set.Units;
  f.internalMode = main.internalMode();
  f.maxAmbient = c[StId::Max_Amb].text;
  f.minAmbient = c[StId::Min_Amb].text;
  f.insulationType = c[StId::Insul_Typ_In].selectedText();
  f.pipeDiameter = c[StId::Pipe_Dia_In].selectedText();
  f.insulationThickness = c[StId::Insul_Th_In].selectedText();
  f.pipeLength = c[StId::Pipe_Len_In].text;
  f.tracerTubing = c[StId::Cab_Sel].selectedText();
  f.pressure = c[StId::Pressure].text;
  f.maxMaintTemp = c[StId::Max_Maint_Temp].text;
  f.minMaintTemp = c[StId::Min_Maint_Temp].text;
  f.heatLoss = c[StId::Ht_Lswo_Out].text;
  f.condensate = c[StId::Cond_Load].text;
  f.insulationSize = c[StId::Insul_Size].text;
  f.totalLength = c[StId::Tot_Cab_Out].text;
  f.trapDistance = c[StId::Trap_Dist].text;
  f.rise = c[StId::Rise].text;
  f.product = c[StId::cboProduct].selectedText();
  f.initialTemp = c[StId::txtInitalTemp].text;
  f.finalTemp = c[StId::txtFinalTemp].text;
  f.density = c[StId::txtProdDensity].text;
  f.specificHeat = c[StId::txtProdCp].text;
  f.phaseChange = c[StId::cboProduct].index == kProductOther && c[StId::chbPhaseChange].checked;
  f.phaseChangeTemp = c[StId::txtPCTemp].text;
  f.latentHeat = c[StId::txtLatentHeat].text;
  f.heatUpTime = c[StId::txtHuTime].text;
  report_ =
      CircuitReportOf(f, set.current(), set.CurrentRecord + 1, c[StId::Circ_No].text, c[StId::Line_No].text);
  addControls(now);
}

CktBillModel::CktBillModel(CircuitReport report, std::time_t now) : report_(std::move(report)) {
  addControls(now);
}

void CktBillModel::addControls(std::time_t now) {
  const PrintHeader header = BillPrintHeader(now);
  controls_.add("Label1", ControlKind::Label, report_.circuitLabel);
  controls_.add("Label2", ControlKind::Label, report_.lineLabel);
  controls_.add("Label3", ControlKind::Label, report_.title);
  controls_.add("Label6", ControlKind::Label, header.product);
  std::string maker;
  for (const std::string& line : header.makerLines) maker += (maker.empty() ? "" : "\n") + line;
  controls_.add("lblMaker", ControlKind::Label, maker);
  controls_.add("Time_display", ControlKind::Label, header.time);
  controls_.add("Date_Display", ControlKind::Label, header.date);
  Control& options = controls_.add("Options", ControlKind::List);
  options.visible = false;
  options.enabled = false;
  controls_.add("print", ControlKind::Button, "&Print");
  controls_.add("return", ControlKind::Button, "&Return");
}

void CktBillModel::tick(std::time_t now) {
  std::tm local{};
  if (!LocalTime(now, local)) return;
  controls_[CktId::Time_display].text = ClockTime(local);
  controls_[CktId::Date_Display].text = MediumDate(local);
}

PageDescription CktBillModel::printout(std::time_t now) const { return report_.printout(now); }

BillModel::BillModel(const DesignSet& set) : rows_(SummaryBillRows(set)) {}

PageDescription BillModel::printout(std::time_t now) const {
  return SummaryBillPage(BillPrintHeader(now), rows_);
}

std::optional<std::string> BillModel::exportCommand(Dialogs& dialogs, ExportPlace& place) const {
  FileDialogSpec spec;
  spec.title = "Export";
  const std::string folder = place.lastFolder.empty() ? place.documentsFolder : place.lastFolder;
  spec.startFolder = (std::filesystem::path(folder) / kDefaultFileName).string();
  spec.filters = {"Excel workbooks (*.xlsx)", "All files (*)"};
  std::optional<std::string> path = dialogs.saveFileName(spec);
  if (!path || path->empty()) return std::nullopt;
  const std::string problem = ExportGridToSpreadsheet(GridOf(rows_), static_cast<int>(rows_.size()), 3,
                                                      kSummaryExportOption, kSheetTitle, *path);
  if (!problem.empty()) {
    dialogs.message(Message{"The summary bill was not exported to " + *path + ": " + problem + ".",
                            kErrorTitle, MsgIcon::Exclamation, MsgButtons::Ok, false});
    return std::nullopt;
  }
  place.lastFolder = std::filesystem::path(*path).parent_path().string();
  return path;
}

Message BillModel::NoSpreadsheetProgramMessage(const std::string& path) {
  return Message{
      "No program on this desktop is set up to open spreadsheet workbooks (.xlsx files); install a "
      "spreadsheet program such as LibreOffice Calc to open it. The summary bill was written to " +
          path + ".",
      "Print to Excel", MsgIcon::Exclamation, MsgButtons::Ok, false};
}

}  // namespace vst
