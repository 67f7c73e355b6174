// The fixed lists, default texts and status prompts of the main window, and
// the lists that depend on other choices (installation, tube size, wall
// thickness, pipe size). Each list lives here once; the main window model
// fills its controls from these functions and stores list positions in the
// design record.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/design_record.h"

namespace vst {

using TextList = std::vector<std::string>;

// List positions the rules of a circuit test.
inline constexpr int kInsulationPolyisocyanurate = 5;  // insulation types
inline constexpr int kInsulationFiberglass = 2;        // insulation types, a fresh circuit's
inline constexpr int kMaterialCopper = 0;              // tubing materials
inline constexpr int kMaterialStainlessWelded = 1;
inline constexpr int kMaterialStainlessSeamless = 2;
inline constexpr int kPipeSizeStart = 4;  // pipe sizes, a fresh circuit's ("2.0" / "50")
inline constexpr int kPipeSizeCount = 19;

// Installation list positions. Standard mode: 0 Troughline,
// 1 Fillet Trace, 2 YJ-1, 3 YJ-2. InternalMode: 0 Troughline, 1 Fillet
// Trace, 2 YJ-0, 3 YJ-1, 4 YJ-2.
inline constexpr int kInstallTroughline = 0;
inline constexpr int kInstallFillet = 1;
inline constexpr int kInstallInternalYJ0 = 2;

// Insulation thicknesses, inches or millimetres.
const TextList& InsulationThicknessList(UnitSystem units);
// Insulation types, the same in both unit systems.
const TextList& InsulationTypeList();
// Numbers of passes: "1" to "8".
const TextList& PassList();
// Tubing materials: "Copper", "Stainless Wld", "Stainless Smls".
const TextList& TracerMaterialList();
// Applications: "Maintenance", "Heat Up".
const TextList& ApplicationList();
// The 41 heat-up products, "Other" last.
const TextList& ProductList();

// The tube sizes a fresh circuit starts from, before its installation is
// chosen (Troughline's).
const TextList& TubeSizeFirstFill(UnitSystem units);

// The installation entries of the program mode.
const TextList& InstallationList(bool internalMode);

// The tube sizes offered for an installation position. Position 0
// is always the smallest tube, so a stored position means the same size in
// every list.
const TextList& TubeSizeList(int installation, bool internalMode, UnitSystem units);

// The wall thicknesses for a tube size text (trimmed by the
// caller) and a material position. Null means the list is left as it is
// (a size outside the table, and "Stainless Smls" with "3/8" or "5/8").
const TextList* WallThicknessList(UnitSystem units, std::string_view tubeSizeText, int material);

// The pipe sizes: always 19 entries. With `blankSmallest` the first three are
// empty strings, so every later position keeps its size.
const TextList& PipeSizeList(UnitSystem units, bool blankSmallest);

// The temperature range within which a heat-up product's property fits hold.
struct ProductRange {
  float lowF;  // inclusive bounds in degrees F, single precision
  float highF;
  const char* lowEnglish;  // the bound texts of the warning, as shown
  const char* highEnglish;
  const char* lowMetric;
  const char* highMetric;
};
// The range of a heat-up product position; nothing for "Other" and for positions
// outside the list.
const ProductRange* ProductRangeTable(int position);

inline constexpr const char* kStartPrompt = "Design this record";

}  // namespace vst
