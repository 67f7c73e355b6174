#include "circuit/lists.h"

#include <array>

namespace vst {

namespace {

bool Metric(UnitSystem units) { return units == UnitSystem::Metric; }

}  // namespace

const TextList& InsulationThicknessList(UnitSystem units) {
  static const TextList english{"1.0", "1.5", "2.0", "2.5", "3.0", "3.5", "4.0"};
  static const TextList metric{"25", "30", "40", "50", "60", "80", "100"};
  return Metric(units) ? metric : english;
}

const TextList& InsulationTypeList() {
  static const TextList list{"Calcium Silicate", "Foamed Elastomer", "Fiberglass",      "Mineral Fiber",
                             "Cellular Glass",   "Polyisocyanurate", "Expanded Perlite"};
  return list;
}

const TextList& PassList() {
  static const TextList list{"1", "2", "3", "4", "5", "6", "7", "8"};
  return list;
}

const TextList& TracerMaterialList() {
  static const TextList list{"Copper", "Stainless Wld", "Stainless Smls"};
  return list;
}

const TextList& ApplicationList() {
  static const TextList list{"Maintenance", "Heat Up"};
  return list;
}

const TextList& ProductList() {
  static const TextList list{"Water",
                             "Oil: Valvata 79",
                             "Oil: SX9030",
                             "Acetic Acid",
                             "Acetone",
                             "Analine",
                             "Benzene",
                             "Cumene",
                             "Cyclohexane",
                             "Diethanolamine",
                             "Ethanol",
                             "Ethylene Bromide",
                             "Ethylene Glycol",
                             "Formic Acid (100%)",
                             "Glycerol",
                             "Hydrazine",
                             "Hydrogen Cyanide",
                             "Methanol",
                             "Monoethanolamine",
                             "Napthalene (Liq.)",
                             "Nitrobenzene",
                             "Potassium (Liquid)",
                             "Sodium (Liquid)",
                             "Styrene",
                             "Sulfur (Liquid)",
                             "Toluene",
                             "Triethanolamine",
                             "O-xylene",
                             "M-xylene",
                             "P-xylene",
                             "Oil: #6 Fuel",
                             "Asphalt",
                             "Kerosene",
                             "Oil: 26.6 API",
                             "Oil: SAE 10",
                             "Oil: SAE 30",
                             "Oil: SAE 90",
                             "Sodium Hydroxide (50%)",
                             "Sodium Hydroxide (73%)",
                             "Sulfuric Acid (98%)",
                             "Other"};
  return list;
}

const TextList& TubeSizeFirstFill(UnitSystem units) { return TubeSizeList(kInstallTroughline, false, units); }

const TextList& InstallationList(bool internalMode) {
  static const TextList standard{"Troughline", "Fillet Trace", "Coverlyn  YJ-1", "Coverlyn  YJ-2"};
  static const TextList internal{"Troughline", "Fillet Trace", "Coverlyn  YJ-0", "Coverlyn  YJ-1",
                                 "Coverlyn  YJ-2"};
  return internalMode ? internal : standard;
}

const TextList& TubeSizeList(int installation, bool internalMode, UnitSystem units) {
  static const TextList fourEnglish{"3/8", "1/2", "5/8", "3/4"};
  static const TextList fourMetric{"10", "12", "16", "20"};
  static const TextList twoEnglish{"3/8", "1/2"};
  static const TextList twoMetric{"10", "12"};
  static const TextList oneEnglish{"3/8"};
  static const TextList oneMetric{"10"};
  const bool metric = Metric(units);
  if (installation == kInstallTroughline || installation == kInstallFillet)
    return metric ? fourMetric : fourEnglish;
  if (internalMode && installation == kInstallInternalYJ0) return metric ? twoMetric : twoEnglish;
  return metric ? oneMetric : oneEnglish;
}

const TextList* WallThicknessList(UnitSystem units, std::string_view tubeSizeText, int material) {
  static const TextList metric{"1", "1.5"};
  if (Metric(units)) return &metric;
  static const TextList w032{"0.032", "0.049"}, w035{"0.035", "0.049"}, w042{"0.042", "0.049", "0.065"},
      w049{"0.049", "0.065"};
  struct Row {
    const char* size;
    std::array<const TextList*, 3> byMaterial;  // Copper, Stainless Wld, Stainless Smls
  };
  static const std::array<Row, 4> table{{
      {"3/8", {&w032, &w035, nullptr}},
      {"1/2", {&w035, &w035, &w035}},
      {"5/8", {&w042, &w049, nullptr}},
      {"3/4", {&w049, &w049, &w049}},
  }};
  if (material < 0 || material > 2) return nullptr;
  for (const Row& row : table) {
    if (tubeSizeText == row.size) return row.byMaterial[static_cast<std::size_t>(material)];
  }
  return nullptr;
}

const TextList& PipeSizeList(UnitSystem units, bool blankSmallest) {
  static const TextList english{".5",   ".75",  "1",    "1.5",  "2.0",  "2.5",  "3.0",  "4.0",  "6.0", "8.0",
                                "10.0", "12.0", "14.0", "16.0", "18.0", "20.0", "24.0", "30.0", "36.0"};
  static const TextList metric{"15",  "20",  "25",  "40",  "50",  "65",  "80",  "100", "150", "200",
                               "250", "300", "350", "400", "450", "500", "600", "750", "900"};
  auto blanked = [](TextList list) {
    for (std::size_t i = 0; i < 3; ++i) list[i].clear();
    return list;
  };
  static const TextList englishBlanked = blanked(english);
  static const TextList metricBlanked = blanked(metric);
  if (Metric(units)) return blankSmallest ? metricBlanked : metric;
  return blankSmallest ? englishBlanked : english;
}

const ProductRange* ProductRangeTable(int position) {
  // Bounds in degrees F; the texts are those the warning shows in each unit
  // system, blanks included.
  static const std::array<ProductRange, 40> table{{
      {32.0f, 212.0f, " 32 ", "212", " 0 ", "100"},
      {50.0f, 250.0f, " 50 ", "250", " 10 ", "121"},
      {50.0f, 250.0f, " 50 ", "250", " 10 ", "121"},
      {62.0f, 244.0f, " 62 ", "244", " 17 ", "118"},
      {-139.0f, 133.0f, " -139 ", "133", " -95 ", "56"},
      {-1.0f, 300.0f, " -1 ", "300", " -18 ", "149"},
      {42.0f, 176.0f, " 42 ", "176", " 6 ", "80"},
      {0.0f, 306.0f, " 0 ", "306", " -18 ", "152"},
      {44.0f, 177.0f, " 44 ", "177", " 7 ", "81"},
      {82.3f, 210.0f, " 82.3 ", "210", " 30 ", "99"},
      {-40.0f, 178.1f, " -40 ", "178.1", " -40 ", "81.2"},
      {49.6f, 269.0f, " 49.6 ", "269", " 9.8 ", "131.7"},
      {-11.3f, 388.4f, " -11.3 ", "388.4", " -24", "198"},
      {46.7f, 214.0f, " 46.7 ", "214", " 8.2", "101.1"},
      {64.8f, 350.0f, " 64.8 ", "350", " 18.2", "176.7"},
      {35.5f, 236.3f, " 35.5 ", "236.3", " 1.9", "113.5"},
      {8.0f, 78.1f, " 8 ", "78.1", " -13.3", "25.6"},
      {-40.0f, 148.0f, " -40 ", "148", " -40", "64.4"},
      {50.6f, 338.8f, " 50.6 ", "338.8", " 10.3", "170.4"},
      {176.0f, 424.0f, " 176 ", "424", " 80", "217.8"},
      {42.0f, 412.0f, " 42 ", "412", " 5.6", "211.1"},
      {148.5f, 1400.0f, " 148.5 ", "1400", " 64.7 ", "760"},
      {208.0f, 1616.0f, " 208 ", "1616", " 97.8 ", "880"},
      {1.0f, 292.3f, " 1 ", "292.3", " -17.2 ", "144.6"},
      {246.0f, 302.0f, " 246 ", "302", " 118.9 ", "150"},
      {-20.0f, 231.0f, " -20 ", "231", " -28.9 ", "110.6"},
      {71.0f, 212.0f, " 71 ", "212", " 21.7 ", "100"},
      {-13.5f, 292.0f, " -13.5 ", "292", " -25.3 ", "144.4"},
      {1.0f, 252.8f, " 1 ", "252.8", " -17.2 ", "122.7"},
      {55.8f, 281.3f, " 55.8 ", "281.3", " 13.2 ", "138.5"},
      {50.0f, 250.0f, " 50 ", "250", " 10 ", "121.1"},
      {200.0f, 400.0f, " 200 ", "400", " 93.3 ", "204.4"},
      {50.0f, 450.0f, " 50 ", "450", " 10 ", "232.2"},
      {50.0f, 450.0f, " 50 ", "450", " 10 ", "232.2"},
      {50.0f, 300.0f, " 50 ", "300", " 10 ", "148.9"},
      {50.0f, 300.0f, " 50 ", "300", " 10 ", "148.9"},
      {50.0f, 350.0f, " 50 ", "350", " 10 ", "176.7"},
      {54.0f, 288.0f, " 54 ", "288", " 12.2 ", "142.2"},
      {147.0f, 240.0f, " 147 ", "240", " 63.9 ", "115.6"},
      {30.0f, 200.0f, " 30 ", "200", " -1.1 ", "93.3"},
  }};
  if (position < 0 || position >= static_cast<int>(table.size())) return nullptr;
  return &table[static_cast<std::size_t>(position)];
}

}  // namespace vst
