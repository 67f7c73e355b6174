// libFuzzer target: any bytes as a line list. Reading must never crash; a
// list that reads is designed (its first rows, in the unit system and mode
// the first byte picks) and written out as JSON and CSV. Every refused row
// says why in a message of bounded length, and a field written out reads
// back as itself.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "batch/batch_design.h"
#include "batch/csv.h"
#include "core/units.h"

namespace {

// Rows designed per input: enough to reach every path of a row, few enough
// to keep the fuzzer fast.
constexpr std::size_t kRowsDesigned = 12;
// A message names a column and quotes at most sixty characters of a value.
constexpr std::size_t kLongestMessage = 400;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  vst::CsvError error;
  auto table = vst::ParseCsv(text, error);
  if (!table) {
    Check(!error.message.empty());
    return 0;
  }
  for (const auto& row : table->rows) {
    Check(row.fields.size() <= vst::kMaxCsvFields);
    for (const auto& field : row.fields) {
      Check(field.size() <= vst::kMaxCsvFieldBytes);
      // Written for a spreadsheet, a field stays one field without control
      // characters but tab; plain printable text that no spreadsheet takes
      // for a formula comes back as it was.
      vst::CsvError again;
      const std::string written = vst::CsvField(field);
      const auto reread = vst::ParseCsv("H\n" + written + "\n", again);
      if (field.empty()) continue;
      Check(reread && reread->rows.size() == 1 && reread->rows[0].fields.size() == 1);
      for (unsigned char c : written) Check(c >= 0x20 || c == '\t');
      const std::size_t first = field.find_first_not_of(' ');
      const bool plain =
          std::all_of(field.begin(), field.end(), [](char c) { return c >= 0x20 && c < 0x7f; }) &&
          (first == std::string::npos ||
           std::string_view("=+-@").find(field[first]) == std::string_view::npos);
      if (plain) Check(reread->rows[0].fields[0] == field);
    }
  }
  if (table->rows.size() > kRowsDesigned) table->rows.resize(kRowsDesigned);

  const unsigned choice = size > 0 ? data[0] : 0;
  vst::BatchOptions options;
  options.units = (choice & 1) != 0 ? vst::UnitSystem::Metric : vst::UnitSystem::English;
  options.internalMode = (choice & 2) != 0;
  options.pressureUnit = options.units == vst::UnitSystem::Metric
                             ? vst::PressureUnitFromStored(static_cast<int>(choice >> 2) % 3)
                             : vst::PressureUnit::Psig;
  options.insulationSizing =
      (choice & 32) != 0 ? vst::InsulationSizing::Minimal : vst::InsulationSizing::Standard;

  const vst::BatchResult result = vst::DesignLineList(*table, options);
  if (!result.ok) {
    Check(!result.error.empty());
    return 0;
  }
  for (const vst::CircuitResult& c : result.circuits) {
    if (!c.ok) Check(!c.messages.empty());
    for (const auto& m : c.messages) Check(m.text.size() <= kLongestMessage);
    Check(c.display.size() == static_cast<std::size_t>(vst::kDisplayFieldCount));
  }
  const std::string json = vst::BatchJson(result, options);
  const std::string csv = vst::BatchCsv(result, options);
  Check(!json.empty() && !csv.empty());
  return 0;
}
