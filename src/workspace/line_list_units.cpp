// The Line List window's unit system: its own options, and the recognition
// of a list written in the other unit system.
#include <algorithm>
#include <string_view>

#include "workspace/line_list_model.h"

namespace vst {

namespace {

// The design stopped on a list column: "Column TRACETUB: "12" is not in the
// tracer tubing list".
bool StopsOnAListEntry(const CircuitResult& result) {
  if (result.ok || result.messages.empty()) return false;
  const std::string_view text = result.messages.back().text;
  return text.rfind("Column ", 0) == 0 && text.find(" is not in the ") != std::string_view::npos &&
         text.size() >= 5 && text.substr(text.size() - 5) == " list";
}

// The options in the other unit system, with its usual pressure unit.
BatchOptions InOtherUnits(BatchOptions options) {
  options.units = options.units == UnitSystem::English ? UnitSystem::Metric : UnitSystem::English;
  options.pressureUnit = options.units == UnitSystem::English ? PressureUnit::Psig : PressureUnit::BarG;
  return options;
}

std::string UnitsName(UnitSystem units) {
  return units == UnitSystem::English ? "inch-pound units" : "SI metric units";
}

}  // namespace

bool LineListModel::setOptions(const BatchOptions& options) {
  if (running_) return false;
  options_ = options;
  useDesigner(std::make_unique<LineListDesigner>(header_, options_, delimiter_));
  buildColumns();
  for (Row& r : rows_) r.result.reset();
  return true;
}

std::optional<UnitSystem> LineListModel::otherUnitsFit() const {
  // A list whose rows all find their entries is asked nothing more.
  if (std::none_of(rows_.begin(), rows_.end(),
                   [](const Row& r) { return r.result && StopsOnAListEntry(*r.result); }))
    return std::nullopt;
  const BatchOptions other = InOtherUnits(options_);
  const LineListDesigner designer(header_, other, delimiter_);
  if (!designer.ok()) return std::nullopt;
  // A row with a plain typo stops in either system and says nothing of the
  // units; a row whose entries this system holds but the other does not
  // says the list is written in this one.
  int stopsHere = 0, stopsThere = 0;
  const std::size_t rows = std::min(rows_.size(), static_cast<std::size_t>(kUnitCheckRows));
  for (std::size_t i = 0; i < rows; ++i) {
    const Row& r = rows_[i];
    if (!r.result) continue;
    CircuitResult there;
    designer.design(r.input, static_cast<int>(i) + 1, there);
    const bool here = StopsOnAListEntry(*r.result);
    if (!here && StopsOnAListEntry(there)) return std::nullopt;
    stopsHere += here ? 1 : 0;
    stopsThere += StopsOnAListEntry(there) ? 1 : 0;
  }
  if (stopsHere == 0 || stopsThere >= stopsHere) return std::nullopt;
  return other.units;
}

std::optional<LineListModel::UnitsOffer> LineListModel::otherUnitsOffer() const {
  const auto other = otherUnitsFit();
  if (!other) return std::nullopt;
  int stopped = 0;
  for (const Row& r : rows_) stopped += r.result && StopsOnAListEntry(*r.result) ? 1 : 0;
  return UnitsOffer{InOtherUnits(options_),
                    std::to_string(stopped) + (stopped == 1 ? " row stops" : " rows stop") +
                        " on an entry that is not in the lists of " + UnitsName(options_.units) +
                        "; the list seems written in " + UnitsName(*other) + "."};
}

std::string LineListModel::otherUnitsNote() const {
  const auto offer = otherUnitsOffer();
  return offer ? offer->note : std::string();
}

std::string LineListModel::unitsText() const {
  const char* pressure = options_.pressureUnit == PressureUnit::Psig   ? "psig"
                         : options_.pressureUnit == PressureUnit::BarG ? "barg"
                                                                       : "kPa";
  return std::string(options_.units == UnitSystem::English ? "Inch pound units" : "SI metric units") + ", " +
         pressure + ", " + (options_.internalMode ? "internal" : "standard") + " mode";
}

}  // namespace vst
