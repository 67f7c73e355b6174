// The boxes of the fittings and shoe dialogs as numbers: how a box is read,
// the message that refuses it, and the answers a whole set of box texts
// gives. The dialogs' models read their boxes through these, and a line list
// answers the dialogs from its row through them, so a row's counts are taken
// exactly as a person's typing would be.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bom/allowances.h"
#include "circuit/entry.h"

namespace vst {

// Counts and lengths above this are refused: no circuit has a million
// valves or shoes, and the limit keeps every total finite in the
// single-precision fields that store it.
inline constexpr double kMaxBoxValue = 1000000.0;

// The captions of the fittings dialog's four boxes (valves, flanges, pumps,
// pre-insulated tubing) and of the shoe dialog's three (length, count,
// total), "&" marking the keyboard mnemonic.
inline constexpr std::array<const char*, 4> kFittingsBoxCaptions = {
    "Number of &Valves", "Number of &Flanges    ", "Number of &Pumps", "Total   &Wrapcore Allowance"};
const char* ShoeLengthCaption(UnitSystem units);
inline constexpr const char* kShoeCountCaption = "Number of &Shoes";
const char* ShoeTotalCaption(UnitSystem units);

// The value of a count or length box: an empty box is 0; text that is not a
// number, a negative number or one above the limit gives no value. Read in
// double precision: a shoe total read back through a single would lose a
// tenth at every truncation (2.6 reads as 2.5999999).
std::optional<double> BoxValue(std::string_view text, char decimalMark);

// "The Number of Valves must be a number from 0 to 1000000." for the box of
// this caption.
std::string BoxRefusalText(std::string_view caption);

// "&Next" of the fittings dialog over the texts of its four boxes: the
// answer, or the caption of the first box it refuses.
struct FittingsReading {
  std::optional<PipeFormAnswer> answer;
  std::string refusedCaption;
};
FittingsReading ReadFittings(int allowanceIncluded, const std::array<std::string, 4>& boxes,
                             char decimalMark);

// "&Next Size" of the shoe dialog: the new total from the texts of the
// length, count and total boxes, or the index (0, 1, 2) of the box it
// refuses (a total above the limit refuses the total box).
struct ShoeStep {
  std::optional<double> total;
  int refusedBox = -1;
};
ShoeStep AddShoeSize(UnitSystem units, std::string_view length, std::string_view count,
                     std::string_view total, char decimalMark);

// The shoe dialog opened on `start` (the record's running total) with each
// size added and then "&Done": its answer, or the caption of the box it
// refused.
struct ShoesReading {
  std::optional<ShoeFormAnswer> answer;
  std::string refusedCaption;
};
ShoesReading ReadShoes(UnitSystem units, float start, const std::vector<ShoeSize>& sizes, char decimalMark);

// The total the shoe dialog shows when it opens: the running total, or 0.
float ShoeStartTotal(float shoeAllowance);

}  // namespace vst
