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

// List positions the rules of the window test.
inline constexpr int kInsulationPolyisocyanurate = 5;  // Insul_Typ_In
inline constexpr int kInsulationFiberglass = 2;        // Insul_Typ_In start position
inline constexpr int kMaterialCopper = 0;              // cboTracerMaterial
inline constexpr int kMaterialStainlessWelded = 1;
inline constexpr int kMaterialStainlessSeamless = 2;
inline constexpr int kApplicationMaintenance = 0;  // cboApplication
inline constexpr int kProductOther = 40;           // cboProduct, last entry
inline constexpr int kPipeSizeStart = 4;           // Pipe_Dia_In start position ("2.0" / "50")
inline constexpr int kPipeSizeCount = 19;

// Installation list positions (Cab_In). Standard mode: 0 Troughline,
// 1 Fillet Trace, 2 YJ-1, 3 YJ-2. InternalMode: 0 Troughline, 1 Fillet
// Trace, 2 YJ-0, 3 YJ-1, 4 YJ-2.
inline constexpr int kInstallTroughline = 0;
inline constexpr int kInstallFillet = 1;
inline constexpr int kInstallInternalYJ0 = 2;

// Insul_Th_In: insulation thickness, inches or millimetres.
const TextList& InsulationThicknessList(UnitSystem units);
// Insul_Typ_In: insulation types, the same in both unit systems.
const TextList& InsulationTypeList();
// Pass: "1" to "8".
const TextList& PassList();
// cboTracerMaterial: "Copper", "Stainless Wld", "Stainless Smls".
const TextList& TracerMaterialList();
// cboApplication: "Maintenance".
const TextList& ApplicationList();
// cboProduct: the 41 heat-up products, "Other" last.
const TextList& ProductList();

// The first fill of Cab_Sel and Pipe_Dia_In while the window loads, before
// the installation list gets its selection and rebuilds both.
const TextList& TubeSizeFirstFill(UnitSystem units);
const TextList& PipeSizeFirstFill(UnitSystem units);

// Cab_In: the installation entries of the program mode.
const TextList& InstallationList(bool internalMode);

// Cab_Sel: the tube sizes offered for an installation position. Position 0
// is always the smallest tube, so a stored position means the same size in
// every list.
const TextList& TubeSizeList(int installation, bool internalMode, UnitSystem units);

// cboTubeWallThick: the wall thicknesses for a tube size text (trimmed by the
// caller) and a material position. Null means the list is left as it is
// (a size outside the table, and "Stainless Smls" with "3/8" or "5/8").
const TextList* WallThicknessList(UnitSystem units, std::string_view tubeSizeText, int material);

// Pipe_Dia_In: always 19 entries. With `blankSmallest` the first three are
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
// The range of a cboProduct position; nothing for "Other" and for positions
// outside the list.
const ProductRange* ProductRangeTable(int position);

// Default texts of the input fields (the design-time texts in English).
struct FieldDefault {
  const char* name;
  const char* english;
  const char* metric;
};
const std::vector<FieldDefault>& FieldDefaults();
// The default text of a field, or nothing for a field without one.
std::optional<std::string> DefaultText(std::string_view field, UnitSystem units);

inline constexpr const char* kStartPrompt = "Design this record";

}  // namespace vst
