// Designs a line list circuit by circuit with the main window's own rules:
// each row is entered into a fresh main window model as a user would enter
// it (installation, tube size, material, wall, pipe size, then the fields,
// then insulation and passes), the design button is pressed, and the
// fittings and shoe dialogs are answered from the row. Every message the
// window would show is collected in order; nothing waits for a person.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "batch/csv.h"
#include "core/design_record.h"
#include "core/dialogs.h"

namespace vst {

struct BatchOptions {
  UnitSystem units = UnitSystem::English;
  bool internalMode = false;
  PressureUnit pressureUnit = PressureUnit::Psig;  // English: always psig
  InsulationSizing insulationSizing = InsulationSizing::Standard;
};

// The output fields of the main window after a design, by control name.
inline constexpr const char* kDisplayFields[] = {"Max_Maint_Temp", "Min_Maint_Temp", "Ht_Lswo_Out",
                                                 "Cond_Load",      "Insul_Size",     "Tot_Cab_Out",
                                                 "Trap_Dist",      "Rise",           "TraceTp"};
inline constexpr int kDisplayFieldCount = 9;

struct ShownMessage {
  std::string title;
  std::string text;
};

struct CircuitResult {
  int row = 0;                         // 1-based data row
  bool ok = false;                     // the record holds a design
  std::string installation;            // Cab_In text finally used (after fallbacks)
  std::vector<ShownMessage> messages;  // in the order shown
  std::vector<std::string> display;    // texts of kDisplayFields, in that order
  DesignRecord record;
  std::vector<std::string> inputs;  // the row's own fields, as read
};

struct BatchResult {
  bool ok = false;    // false: the list itself is unusable (error says why)
  std::string error;  // "line 1: ..." naming the line
  std::vector<std::string> header;
  std::vector<CircuitResult> circuits;
};

// Designs every data row of the table and keeps the results.
BatchResult DesignLineList(const CsvTable& table, const BatchOptions& options);

// Designs every data row, handing each result to `each` as soon as it is
// designed (nothing is kept: a long list needs no more memory than one row).
// The result holds the header and any error of the list, no circuits.
BatchResult DesignLineList(const CsvTable& table, const BatchOptions& options,
                           const std::function<void(const CircuitResult&)>& each);

// Output forms of the batch results, whole or piece by piece.
std::string BatchJson(const BatchResult& result, const BatchOptions& options);
std::string BatchCsv(const BatchResult& result);
std::string BatchJsonStart(const BatchOptions& options);
std::string BatchJsonCircuit(const CircuitResult& circuit, bool first);
std::string BatchJsonEnd();
std::string BatchCsvHeader(const std::vector<std::string>& inputHeader);
std::string BatchCsvRow(const CircuitResult& circuit);

// The ten records of a design set, by field name (the `show` command).
std::string RecordsJson(const std::array<DesignRecord, DesignSet::kRecords>& records, bool internalMode);
std::string RecordsCsv(const std::array<DesignRecord, DesignSet::kRecords>& records);

}  // namespace vst
