#include "circuit/allowance_answers.h"

#include <cmath>

#include "core/legacy_math.h"
#include "core/units.h"

namespace vst {

namespace {

// The box's caption as a message names it: blanks trimmed and runs of
// blanks collapsed ("Number of &Flanges    " -> "Number of Flanges").
std::string BoxName(std::string_view caption) {
  std::string name;
  bool blank = false;
  for (char c : Trim(caption)) {
    if (c == '&') continue;
    if (c == ' ') {
      blank = true;
      continue;
    }
    if (blank && !name.empty()) name += ' ';
    blank = false;
    name += c;
  }
  return name;
}

}  // namespace

const char* ShoeLengthCaption(UnitSystem units) {
  return units == UnitSystem::Metric ? "Shoe &Length (mm)" : "Shoe &Length (inches)";
}

const char* ShoeTotalCaption(UnitSystem units) {
  return units == UnitSystem::Metric ? "&Total Length (meters)" : "&Total Length (feet)";
}

std::optional<double> BoxValue(std::string_view text, char decimalMark) {
  if (Trim(text).empty()) return 0.0;
  const auto v = ParseNumber(text, decimalMark);
  if (!v || *v < 0.0 || *v > kMaxBoxValue) return std::nullopt;
  return *v;
}

std::string BoxRefusalText(std::string_view caption) {
  return "The " + BoxName(caption) + " must be a number from 0 to 1000000.";
}

FittingsReading ReadFittings(int allowanceIncluded, const std::array<std::string, 4>& boxes,
                             char decimalMark) {
  std::array<float, 4> values{};
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const auto v = BoxValue(boxes[i], decimalMark);
    if (!v) return {std::nullopt, kFittingsBoxCaptions[i]};
    values[i] = ToSingle(*v);
  }
  return {PipeFormAnswer{allowanceIncluded, values[0], values[1], values[2], values[3]}, {}};
}

ShoeStep AddShoeSize(UnitSystem units, std::string_view length, std::string_view count,
                     std::string_view total, char decimalMark) {
  const std::array<std::string_view, 3> boxes = {length, count, total};
  std::array<double, 3> values{};
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const auto v = BoxValue(boxes[i], decimalMark);
    if (!v) return {std::nullopt, static_cast<int>(i)};
    values[i] = *v;
  }
  const double sum = AddShoeAllowance(units, values[2], values[0], values[1]);
  if (sum > kMaxBoxValue) return {std::nullopt, 2};
  return {sum, -1};
}

float ShoeStartTotal(float shoeAllowance) {
  return std::isfinite(shoeAllowance) && shoeAllowance > 0 ? shoeAllowance : 0.0f;
}

ShoesReading ReadShoes(UnitSystem units, float start, const std::vector<ShoeSize>& sizes, char decimalMark) {
  const std::array<const char*, 3> captions = {ShoeLengthCaption(units), kShoeCountCaption,
                                               ShoeTotalCaption(units)};
  std::string total = SingleText(ShoeStartTotal(start));
  double last = 0;
  // Every size, then "&Done", which adds the boxes left at "0".
  const auto add = [&](std::string_view length, std::string_view count) {
    const ShoeStep step = AddShoeSize(units, length, count, total, decimalMark);
    if (!step.total) return step.refusedBox;
    last = *step.total;
    total = SingleText(ToSingle(last));
    return -1;
  };
  for (const ShoeSize& size : sizes) {
    if (const int refused = add(size.length, size.count); refused >= 0)
      return {std::nullopt, captions[refused]};
  }
  if (const int refused = add("0", "0"); refused >= 0) return {std::nullopt, captions[refused]};
  const double feet = units == UnitSystem::Metric ? FeetFromMetres(last) : last;
  return {ShoeFormAnswer{ToSingle(last), feet}, {}};
}

}  // namespace vst
