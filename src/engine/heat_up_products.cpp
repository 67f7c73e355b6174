// The heat-up product table and the evaluation of its equation forms.
//
// The coefficients are those of the named sources, as printed there (some
// read from the machine-readable copies of those tables in the `chemicals`
// and ChemSep-derived open data collections, then checked against a second
// source in the tests). Where the heat-up product list names a product for
// which no published data were found, the row says so and is marked as a
// stand-in.
#include "engine/heat_up_products.h"

#include <algorithm>
#include <cmath>

#include "core/units.h"

namespace vst {
namespace {

using F = PropertyForm;

constexpr double kGasConstant = 8.314462618;  // J/(mol K)
constexpr double kWaterAt60FKgM3 = 999.016;   // water at 60 F: the reference of specific gravity 60/60 F
constexpr double kAtmosphereMPa = 0.101325;

constexpr double KelvinFromF(double f) { return (f - 32.0) / 1.8 + 273.15; }
constexpr double FFromKelvin(double k) { return (k - 273.15) * 1.8 + 32.0; }

// Specific gravity 60/60 F of an oil of an API gravity.
constexpr double GravityOfApi(double api) { return 141.5 / (131.5 + api); }

// The thermal expansion of API MPMS Ch. 11.1 (1980) / ASTM D1250 by product
// group: K0, K1 of alpha60 = K0 / rho60^2 + K1 / rho60.
struct ExpansionGroup {
  double k0;
  double k1;
  const char* source;
};
constexpr ExpansionGroup kCrudeOils{341.0957, 0.0,
                                    "Thermal expansion from 60 F by API MPMS Ch. 11.1 (1980) / ASTM D1250 "
                                    "Table 6A (crude oils, K0 = 341.0957)"};
constexpr ExpansionGroup kFuelOils{
    103.8720, 0.2701,
    "Thermal expansion from 60 F by API MPMS Ch. 11.1 (1980) / ASTM D1250 Table 6B "
    "(fuel oils, K0 = 103.8720, K1 = 0.2701)"};
constexpr ExpansionGroup kJetFuels{
    330.3010, 0.0,
    "Thermal expansion from 60 F by API MPMS Ch. 11.1 (1980) / ASTM D1250 Table 6B "
    "(jet fuels and kerosene, K0 = 330.3010)"};

// A petroleum oil by Cragoe's specific heat and the API thermal expansion,
// over a range in F.
constexpr HeatUpProductData PetroleumOil(double gravity, const ExpansionGroup& group, double lowF,
                                         double highF, const char* note, bool standIn) {
  HeatUpProductData d;
  d.density[0] = {
      F::PetroleumDensity, {gravity, group.k0, group.k1, 0, 0, 0}, KelvinFromF(lowF), KelvinFromF(highF)};
  d.specificHeat[0] = {
      F::CragoeSpecificHeat, {gravity, 0, 0, 0, 0, 0}, KelvinFromF(lowF), KelvinFromF(highF)};
  d.densitySource = group.source;
  d.specificHeatSource = "Cragoe, NBS Misc. Publ. 97 (1929): cp = (0.388 + 0.00045 t) / sqrt(SG 60/60 F)";
  d.note = note;
  d.standIn = standIn;
  return d;
}

constexpr const char* kPetroleumStandIn =
    "No published gravity or property data found for this product: stand-in of a petroleum oil of 26.6 API "
    "(Cragoe's specific heat, API thermal expansion). Choose Other and enter the product's own data where "
    "known.";
constexpr const char* kPetroleumRange = "Range: that of the product list.";
constexpr const char* kFuelOilGravity =
    "Typical gravity of ASTM No. 6 oil, 15 API (Cardarelli, Materials Handbook, 2nd ed., 2018); range: that "
    "of the product list. With the product's own gravity choose Other.";
constexpr const char* kKeroseneGravity =
    "Typical gravity of kerosene, 40 API (Cardarelli, Materials Handbook, 2nd ed., 2018); range: that of the "
    "product list. With the product's own gravity choose Other.";

constexpr const char* kPerry2_32 = "DIPPR eq. 105, Perry's Chemical Engineers' Handbook 8th ed., Table 2-32";
constexpr const char* kPerry2_153 =
    "DIPPR eq. 100, Perry's Chemical Engineers' Handbook 8th ed., Table 2-153";
constexpr const char* kVdiPpds = "PPDS equation, VDI Heat Atlas 2nd ed., saturated liquid density";
constexpr const char* kZabransky =
    "Zabransky et al., J. Phys. Chem. Ref. Data 30 (2001) 1199, cubic spline (isobaric)";
constexpr const char* kChemSepDensity = "DIPPR eq. 105, ChemSep pure component database";
constexpr const char* kChemSepCp = "ChemSep pure component database, liquid heat capacity";
constexpr const char* kShomate = "Shomate fit of JANAF (Chase 1998), NIST Chemistry WebBook, liquid";

// A pure organic of Perry's two tables.
constexpr HeatUpProductData Perry(double molarMass, std::array<double, 4> c105, double low105, double high105,
                                  std::array<double, 5> c100, double low100, double high100) {
  HeatUpProductData d;
  d.molarMassKgKmol = molarMass;
  d.density[0] = {F::Dippr105, {c105[0], c105[1], c105[2], c105[3], 0, 0}, low105, high105};
  d.specificHeat[0] = {F::Dippr100, {c100[0], c100[1], c100[2], c100[3], c100[4], 0}, low100, high100};
  d.densitySource = kPerry2_32;
  d.specificHeatSource = kPerry2_153;
  return d;
}

constexpr HeatUpProductData WithSpecificHeat(HeatUpProductData d, PropertyFit first, PropertyFit second,
                                             const char* source) {
  d.specificHeat = {first, second};
  d.specificHeatSource = source;
  return d;
}

constexpr HeatUpProductData Row(double molarMass, PropertyFit density, const char* densitySource,
                                PropertyFit specificHeat, const char* specificHeatSource,
                                PropertyFit specificHeat2 = {}) {
  HeatUpProductData d;
  d.molarMassKgKmol = molarMass;
  d.density[0] = density;
  d.specificHeat = {specificHeat, specificHeat2};
  d.densitySource = densitySource;
  d.specificHeatSource = specificHeatSource;
  return d;
}

constexpr HeatUpProductData WithNote(HeatUpProductData d, const char* note, bool standIn = false) {
  d.note = note;
  d.standIn = standIn;
  return d;
}

// Olsson, Jernqvist and Aly, Int. J. Thermophys. 18 (1997) 779: density and
// enthalpy of aqueous NaOH at high concentrations, in the water mass fraction
// xi and the temperature t in C.
//   density kg/m3 = b1 + b2 t + b3 t^2, bj = sum k_i xi^(i/2), i = 0..5
//   enthalpy kJ/kg = c1 + c2 t + c3 t^2 + c4 t^3, c2..c4 polynomials in xi
// The coefficients were read from a public transcription of the paper; the
// tests hold the density against Laliberte (2009).
constexpr std::array<double, 6> kOlssonDensityB1{5007.2279636,  -25131.164248, 74107.692582,
                                                 -104657.48684, 69821.773186,  -18145.911810};
constexpr std::array<double, 6> kOlssonDensityB2{-64.786269079, 525.34360564,  -1608.4471903,
                                                 2350.9753235,  -1660.9035108, 457.6437435};
constexpr std::array<double, 6> kOlssonDensityB3{0.24436776978, -1.9737722344, 6.04601497138,
                                                 -8.9090614947, 6.37146769397, -1.7816083111};
constexpr std::array<double, 9> kOlssonEnthalpyC2{2.3087919,  -9.0004252, 167.59914,  -1051.6368, 3394.3378,
                                                  -6115.0986, 6220.8249,  -3348.8098, 743.87432};
constexpr std::array<double, 8> kOlssonEnthalpyC3{0.02302860, -0.37866056, 2.4529593, -8.2693542,
                                                  15.728833,  -16.944427,  9.6254192, -2.2410628};
constexpr std::array<double, 8> kOlssonEnthalpyC4{-8.5131313e-5, 136.52823e-5, -875.68741e-5, 2920.0398e-5,
                                                  -5488.2983e-5, 5841.8034e-5, -3278.7483e-5, 754.45993e-5};
constexpr const char* kOlsson =
    "Olsson, Jernqvist and Aly, Int. J. Thermophys. 18 (1997) 779 (specific heat: derivative of the enthalpy "
    "correlation)";

constexpr HeatUpProductData Caustic(double massFraction, const char* note) {
  HeatUpProductData d;
  d.density[0] = {F::OlssonDensity, {massFraction, 0, 0, 0, 0, 0}, 273.15, 473.15};
  d.specificHeat[0] = {F::OlssonSpecificHeat, {massFraction, 0, 0, 0, 0, 0}, 273.15, 477.15};
  d.densitySource = kOlsson;
  d.specificHeatSource = kOlsson;
  d.note = note;
  return d;
}

// The table, by position in the heat-up product list. Molar masses kg/kmol;
// ranges K. Where a source gives its fit without a range (the PPDS and
// ChemSep equations) the range runs from the melting point (ChemSep) to the
// critical temperature.
const std::array<HeatUpProductData, kProductOther> kProducts{{
    // 0 Water.
    [] {
      HeatUpProductData d;
      d.density[0] = {F::Iapws97Density, {}, 273.15, 373.15};
      d.specificHeat[0] = {F::Iapws97SpecificHeat, {}, 273.15, 373.15};
      d.densitySource = "IAPWS-IF97 region 1 at 101.325 kPa (IAPWS R7-97, 2007)";
      d.specificHeatSource = d.densitySource;
      return d;
    }(),
    // 1 Oil: Valvata 79, 2 Oil: SX9030 (branded oils).
    PetroleumOil(GravityOfApi(26.6), kCrudeOils, 50, 250, kPetroleumStandIn, true),
    PetroleumOil(GravityOfApi(26.6), kCrudeOils, 50, 250, kPetroleumStandIn, true),
    // 3 Acetic acid.
    Perry(60.052, {1.4486, 0.25892, 591.95, 0.2529}, 289.81, 591.95, {139640, -320.8, 0.8985, 0, 0}, 289.81,
          391.05),
    // 4 Acetone.
    Perry(58.079, {1.2332, 0.25886, 508.2, 0.2913}, 178.45, 508.2, {135600, -177, 0.2837, 0.000689, 0},
          178.45, 329.44),
    // 5 Aniline: the PPDS density (Tc 699.05 K); Zabransky's two spline pieces.
    Row(93.127, {F::PpdsDensity, {345, 658.6221, -14.6944, 242.093, 0.7157, 699.05}, 267.13, 699.05},
        kVdiPpds, {F::ZabranskyCubic, {15.0819, 4.86333, -1.21548, 0.160321, 0, 0}, 270.2, 420}, kZabransky,
        {F::ZabranskyCubic, {61.5182, -28.3055, 6.68185, -0.466452, 0, 0}, 420, 570}),
    // 6 Benzene.
    Perry(78.112, {1.0259, 0.26666, 562.05, 0.28394}, 278.68, 562.05, {162940, -344.94, 0.85562, 0, 0},
          278.68, 500),
    // 7 Cumene: Zabransky's pieces (Perry's linear fit lies 6 % low near 0 F).
    WithSpecificHeat(Perry(120.19, {0.58711, 0.25583, 631, 0.28498}, 177.14, 631, {}, 0, 0),
                     {F::ZabranskyCubic, {27.2341, -9.48884, 4.33658, -0.438437, 0, 0}, 179.9, 300},
                     {F::ZabranskyCubic, {18.3451, -0.599914, 1.3736, -0.109218, 0, 0}, 300, 412.8},
                     kZabransky),
    // 8 Cyclohexane.
    Perry(84.159, {0.88998, 0.27376, 553.8, 0.28571}, 279.69, 553.8, {-220600, 3118.3, -9.4216, 0.010687, 0},
          279.69, 400),
    // 9 Diethanolamine: Zabransky (Perry's fit lies 6 % above both Zabransky and ChemSep at 82 F).
    WithSpecificHeat(Perry(105.14, {0.68184, 0.23796, 736.6, 0.2062}, 301.15, 736.6, {}, 0, 0),
                     {F::ZabranskyCubic, {29.6248, -5.1321, 1.851, 0, 0, 0}, 299.1, 397.8}, {}, kZabransky),
    // 10 Ethanol.
    Perry(46.068, {1.6288, 0.27469, 514, 0.23178}, 159.05, 514, {102640, -139.63, -0.030341, 0.0020386, 0},
          159.05, 390),
    // 11 Ethylene bromide (1,2-dibromoethane).
    Perry(187.86, {1.0132, 0.26634, 650.15, 0.28571}, 282.85, 650.15, {200560, -491.44, 0.9187, 0, 0}, 282.85,
          410),
    // 12 Ethylene glycol.
    Perry(62.068, {1.315, 0.25125, 720, 0.21868}, 260.15, 720, {35540, 436.78, -0.18486, 0, 0}, 260.15,
          493.15),
    // 13 Formic acid (100 %).
    Perry(46.025, {1.938, 0.24225, 588, 0.24435}, 281.45, 588, {78060, 71.54, 0, 0, 0}, 281.45, 380),
    // 14 Glycerol: PPDS density (Tc 850.05 K); ChemSep's heat capacity, which
    // spans the list's range (Zabransky's ends at 382.7 K).
    Row(92.094, {F::PpdsDensity, {349, 1341.5932, -1168.205, 1429.7634, -527.771, 850.05}, 291.15, 850.05},
        kVdiPpds,
        {F::ChemSep16, {115.6361, -33.33621, 11.80006, 0.00238285, -0.0000010098, 0}, 291.15, 725.15},
        kChemSepCp),
    // 15 Hydrazine.
    Perry(32.045, {1.0516, 0.16613, 653.15, 0.1898}, 274.69, 653.15, {79815, 50.929, 0.043379, 0, 0}, 274.69,
          653.15),
    // 16 Hydrogen cyanide.
    Perry(27.025, {1.3413, 0.18589, 456.65, 0.28206}, 259.83, 456.65, {95398, -197.52, 0.3883, 0, 0}, 259.83,
          298.85),
    // 17 Methanol.
    Perry(32.042, {2.3267, 0.27073, 512.5, 0.24713}, 175.47, 512.5, {105800, -362.23, 0.9379, 0, 0}, 175.47,
          400),
    // 18 Monoethanolamine: ChemSep, which spans the list's range (Zabransky's
    // heat capacity covers 299.1 to 397.8 K only; the tests hold the two together there).
    Row(61.083, {F::Dippr105, {0.648, 0.18183, 678.21, 0.17947, 0, 0}, 283.65, 678.21}, kChemSepDensity,
        {F::ChemSep4, {78653.42, 311.4162, -0.0607137, -2.713217e-06, 0, 0}, 283.65, 671.4}, kChemSepCp),
    // 19 Naphthalene (liquid).
    Perry(128.17, {0.6348, 0.25838, 748.4, 0.27727}, 333.15, 748.4, {29800, 527.5, 0, 0, 0}, 353.43, 491.14),
    // 20 Nitrobenzene: PPDS density (Tc 719.05 K); ChemSep's heat capacity.
    Row(123.11, {F::PpdsDensity, {353, 902.639, -421.4692, 914.1481, -291.7604, 719.05}, 278.91, 719.05},
        kVdiPpds, {F::ChemSep16, {146460, 1160.6, 0.44135, 0.024575, -0.000013049, 0}, 278.91, 719},
        kChemSepCp),
    // 21 Potassium (liquid): Foust's density (C, 63.2 to 1250 C).
    Row(39.0983, {F::CubicCelsius, {841.5, -0.2172, -2.70e-5, 4.77e-9, 0, 0}, 336.35, 1523.15},
        "Foust (ed.), Sodium-NaK Engineering Handbook Vol. I (1972), p. 18",
        {F::Shomate, {40.27113, -30.54542, 26.49505, -5.727854, -0.063477, 0}, 336.35, 1039.54}, kShomate),
    // 22 Sodium (liquid): Fink and Leibowitz's density, from the melting point
    // to the critical temperature 2503.7 K.
    Row(22.98977, {F::CriticalDensity, {219, 275.32, 511.58, 2503.7, 0.5, 0}, 370.98, 2503.7},
        "Fink and Leibowitz, ANL/RE-95/2 (1995), eq. 1.3.1",
        {F::Shomate, {40.25707, -28.23849, 20.69402, -3.641872, -0.079874, 0}, 370.98, 1170.525}, kShomate),
    // 23 Styrene.
    Perry(104.15, {0.7397, 0.2603, 636, 0.3009}, 242.54, 636, {113340, 290.2, -0.6051, 0.0013567, 0}, 242.54,
          418.31),
    // 24 Sulfur (liquid): the Shomate fit of liquid I ends at 432 K (318 F),
    // where the heat capacity peaks as the liquid polymerizes; the data are
    // not carried across it.
    WithNote(Row(32.065, {F::LinearDensity, {1819, 0.8, 388.36, 0, 0, 0}, 388.36, 433.15},
                 "CRC Handbook of Chemistry and Physics, density of molten elements",
                 {F::Shomate, {-4540.97, 26065.6, -55520.7, 42012.2, 54.5886, 0}, 388.36, 432.0}, kShomate),
             "Specific heat ends at 318 F (the polymerization of liquid sulfur); held above."),
    // 25 Toluene.
    Perry(92.138, {0.8792, 0.27136, 591.75, 0.29241}, 178.18, 591.75, {140140, -152.3, 0.695, 0, 0}, 178.18,
          500),
    // 26 Triethanolamine: ChemSep density; Zabransky heat capacity.
    Row(149.19, {F::Dippr105, {0.028938, 0.058014, 787, 0.099632, 0, 0}, 294.35, 787}, kChemSepDensity,
        {F::ZabranskyCubic, {64.7378, -15.6172, 2.86003, 0, 0, 0}, 299.1, 397.8}, kZabransky),
    // 27 o-Xylene.
    Perry(106.17, {0.69962, 0.26143, 630.3, 0.27365}, 247.98, 630.3, {36500, 1017.5, -2.63, 0.00302, 0},
          247.98, 417.58),
    // 28 m-Xylene.
    Perry(106.17, {0.68902, 0.26086, 617, 0.27479}, 225.3, 617, {133860, 7.8754, 0.52265, 0, 0}, 217, 540.15),
    // 29 p-Xylene.
    Perry(106.17, {0.67752, 0.25887, 616.2, 0.27596}, 286.41, 616.2, {-35500, 1287.2, -2.599, 0.002426, 0},
          286.41, 600),
    // 30 Oil: #6 Fuel; 31 Asphalt: no published gravity; 32 Kerosene.
    PetroleumOil(GravityOfApi(15), kFuelOils, 50, 250, kFuelOilGravity, false),
    PetroleumOil(GravityOfApi(26.6), kCrudeOils, 200, 400, kPetroleumStandIn, true),
    PetroleumOil(GravityOfApi(40), kJetFuels, 50, 450, kKeroseneGravity, false),
    // 33 Oil: 26.6 API.
    PetroleumOil(GravityOfApi(26.6), kCrudeOils, 50, 450, kPetroleumRange, false),
    // 34 Oil: SAE 10, 35 Oil: SAE 30, 36 Oil: SAE 90: viscosity grades, no published gravity.
    PetroleumOil(GravityOfApi(26.6), kCrudeOils, 50, 300, kPetroleumStandIn, true),
    PetroleumOil(GravityOfApi(26.6), kCrudeOils, 50, 300, kPetroleumStandIn, true),
    PetroleumOil(GravityOfApi(26.6), kCrudeOils, 50, 350, kPetroleumStandIn, true),
    // 37 Sodium hydroxide (50 %), 38 (73 %).
    Caustic(0.50,
            "Olsson's fits hold 50 % from 68 F (density) and 79 F (specific heat); extrapolated below."),
    Caustic(
        0.73,
        "Thin data: Olsson's density fit holds to 70 % below 302 F, so 73 % is extrapolated; its specific "
        "heat holds 73 % from 180 F and is extrapolated below."),
    // 39 Sulfuric acid (98 %): constants.
    WithNote(Row(98.079, {F::ConstantDensity, {1836.1, 0, 0, 0, 0, 0}, KelvinFromF(30), KelvinFromF(200)},
                 "CRC Handbook of Chemistry and Physics, concentrative properties of aqueous solutions: 98 % "
                 "at 20 C",
                 {F::ConstantMolar, {138.9e3, 0, 0, 0, 0, 0}, KelvinFromF(30), KelvinFromF(200)},
                 "CRC Handbook of Chemistry and Physics, H2SO4 liquid at 25 C"),
             "Thin data: no temperature-dependent data for 98 % found; density of 98 % at 68 F and heat "
             "capacity of "
             "the pure acid at 77 F, held constant (stand-in).",
             true),
}};

// IAPWS-IF97 region 1: the coefficients n, exponents I and J of the
// dimensionless Gibbs free energy (IAPWS R7-97, Table 2).
struct If97Term {
  int i;
  int j;
  double n;
};
constexpr std::array<If97Term, 34> kIf97Region1{{
    {0, -2, 0.14632971213167},        {0, -1, -0.84548187169114},       {0, 0, -0.37563603672040e1},
    {0, 1, 0.33855169168385e1},       {0, 2, -0.95791963387872},        {0, 3, 0.15772038513228},
    {0, 4, -0.16616417199501e-1},     {0, 5, 0.81214629983568e-3},      {1, -9, 0.28319080123804e-3},
    {1, -7, -0.60706301565874e-3},    {1, -1, -0.18990068218419e-1},    {1, 0, -0.32529748770505e-1},
    {1, 1, -0.21841717175414e-1},     {1, 3, -0.52838357969930e-4},     {2, -3, -0.47184321073267e-3},
    {2, 0, -0.30001780793026e-3},     {2, 1, 0.47661393906987e-4},      {2, 3, -0.44141845330846e-5},
    {2, 17, -0.72694996297594e-15},   {3, -4, -0.31679644845054e-4},    {3, 0, -0.28270797985312e-5},
    {3, 6, -0.85205128120103e-9},     {4, -5, -0.22425281908000e-5},    {4, -2, -0.65171222895601e-6},
    {4, 10, -0.14341729937924e-12},   {5, -8, -0.40516996860117e-6},    {8, -11, -0.12734301741641e-8},
    {8, -6, -0.17424871230634e-9},    {21, -29, -0.68762131295531e-18}, {23, -31, 0.14478307828521e-19},
    {29, -38, 0.26335781662795e-22},  {30, -39, -0.11947622640071e-22}, {31, -40, 0.18228094581404e-23},
    {32, -41, -0.93537087292458e-25},
}};
constexpr double kIf97GasConstant = 0.461526;  // kJ/(kg K)

template <std::size_t N>
double Polynomial(const std::array<double, N>& c, double x) {
  double sum = 0.0;
  for (std::size_t i = N; i-- > 0;) sum = sum * x + c[i];
  return sum;
}

double OlssonDensity(double massFraction, double tempC) {
  const double root = std::sqrt(1.0 - massFraction);  // powers of the water fraction in halves
  const double b1 = Polynomial(kOlssonDensityB1, root);
  const double b2 = Polynomial(kOlssonDensityB2, root);
  const double b3 = Polynomial(kOlssonDensityB3, root);
  return b1 + b2 * tempC + b3 * tempC * tempC;
}

double OlssonSpecificHeat(double massFraction, double tempC) {
  const double xi = 1.0 - massFraction;
  return Polynomial(kOlssonEnthalpyC2, xi) + 2.0 * Polynomial(kOlssonEnthalpyC3, xi) * tempC +
         3.0 * Polynomial(kOlssonEnthalpyC4, xi) * tempC * tempC;
}

// Water at 101.325 kPa. Density and specific heat are asked at the same
// temperature one after the other: the last state is kept (per thread) so
// the Gibbs sums run once; a pure function of the temperature either way.
WaterState WaterAtOneAtmosphere(double kelvin) {
  thread_local double lastKelvin = std::nan("");
  thread_local WaterState last;
  if (kelvin != lastKelvin) {
    last = Iapws97Region1(kelvin, kAtmosphereMPa);
    lastKelvin = kelvin;
  }
  return last;
}

// A fit's value in SI: density kg/m3, specific heat J/(kg K).
double Evaluate(const PropertyFit& fit, double kelvin, double molarMass) {
  const auto& c = fit.c;
  const double tempF = FFromKelvin(kelvin);
  const double tempC = kelvin - 273.15;
  switch (fit.form) {
    case F::Dippr105:
      return c[0] * molarMass / std::pow(c[1], 1.0 + std::pow(1.0 - kelvin / c[2], c[3]));
    case F::PpdsDensity: {
      const double s = 1.0 - kelvin / c[5];
      return c[0] + c[1] * std::pow(s, 0.35) + c[2] * std::pow(s, 2.0 / 3.0) + c[3] * s +
             c[4] * std::pow(s, 4.0 / 3.0);
    }
    case F::LinearDensity:
      return c[0] - c[1] * (kelvin - c[2]);
    case F::CubicCelsius:
      return c[0] + tempC * (c[1] + tempC * (c[2] + tempC * c[3]));
    case F::CriticalDensity: {
      const double s = 1.0 - kelvin / c[3];
      return c[0] + c[1] * s + c[2] * std::pow(s, c[4]);
    }
    case F::PetroleumDensity: {
      const double r60 = c[0] * kWaterAt60FKgM3;
      const double alpha = c[1] / (r60 * r60) + c[2] / r60;
      const double d = tempF - 60.0;
      return r60 * std::exp(-alpha * d * (1.0 + 0.8 * alpha * d));
    }
    case F::OlssonDensity:
      return OlssonDensity(c[0], tempC);
    case F::ConstantDensity:
      return c[0];
    case F::Iapws97Density:
      return WaterAtOneAtmosphere(kelvin).densityKgM3;
    case F::Dippr100:
      return (c[0] + kelvin * (c[1] + kelvin * (c[2] + kelvin * (c[3] + kelvin * c[4])))) / molarMass;
    case F::ChemSep16:
      return (c[0] + std::exp(c[1] / kelvin + c[2] + c[3] * kelvin + c[4] * kelvin * kelvin)) / molarMass;
    case F::ChemSep4:
      return (c[0] + kelvin * (c[1] + kelvin * (c[2] + kelvin * c[3]))) / molarMass;
    case F::ZabranskyCubic: {
      const double x = kelvin / 100.0;
      return kGasConstant * (c[0] + x * (c[1] + x * (c[2] + x * c[3]))) / molarMass * 1000.0;
    }
    case F::Shomate: {
      const double x = kelvin / 1000.0;
      return (c[0] + x * (c[1] + x * (c[2] + x * c[3])) + c[4] / (x * x)) / molarMass * 1000.0;
    }
    case F::CragoeSpecificHeat:
      return JPerKgKFromBtuPerLbF((0.388 + 0.00045 * tempF) / std::sqrt(c[0]));
    case F::OlssonSpecificHeat:
      return OlssonSpecificHeat(c[0], tempC) * 1000.0;
    case F::ConstantMolar:
      return c[0] / molarMass;
    case F::Iapws97SpecificHeat:
      return WaterAtOneAtmosphere(kelvin).specificHeatKjKgK * 1000.0;
    case F::None:
      break;
  }
  return std::nan("");
}

// A property of one or two pieces at a temperature, held at the nearer end
// outside the pieces' range.
double PropertyAt(const std::array<PropertyFit, 2>& pieces, double kelvin, double molarMass, bool& held) {
  const PropertyFit& first = pieces[0];
  const PropertyFit& last = pieces[1].form == F::None ? pieces[0] : pieces[1];
  if (kelvin < first.lowK) {
    held = true;
    return Evaluate(first, first.lowK, molarMass);
  }
  if (kelvin > last.highK) {
    held = true;
    return Evaluate(last, last.highK, molarMass);
  }
  return Evaluate(kelvin <= first.highK ? first : last, kelvin, molarMass);
}

}  // namespace

const HeatUpProductData* HeatUpProductAt(int position) {
  if (position < 0 || position >= kProductOther) return nullptr;
  return &kProducts[static_cast<std::size_t>(position)];
}

std::optional<ProductProperties> ProductPropertiesAt(int position, double tempF) {
  const HeatUpProductData* data = HeatUpProductAt(position);
  if (data == nullptr || !std::isfinite(tempF)) return std::nullopt;
  const double kelvin = KelvinFromF(tempF);
  ProductProperties p;
  p.densityLbFt3 =
      LbPerFt3FromKgPerM3(PropertyAt(data->density, kelvin, data->molarMassKgKmol, p.heldAtRangeEnd));
  p.specificHeatBtuLbF =
      BtuPerLbFFromJPerKgK(PropertyAt(data->specificHeat, kelvin, data->molarMassKgKmol, p.heldAtRangeEnd));
  return p;
}

std::vector<double> ProductPropertyBreaksF(int position) {
  std::vector<double> breaks;
  const HeatUpProductData* data = HeatUpProductAt(position);
  if (data == nullptr) return breaks;
  for (const auto* pieces : {&data->density, &data->specificHeat}) {
    for (const PropertyFit& fit : *pieces) {
      if (fit.form == F::None) continue;
      breaks.push_back(FFromKelvin(fit.lowK));
      breaks.push_back(FFromKelvin(fit.highK));
    }
  }
  std::sort(breaks.begin(), breaks.end());
  breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());
  return breaks;
}

WaterState Iapws97Region1(double temperatureK, double pressureMPa) {
  const double pi = pressureMPa / 16.53;
  const double tau = 1386.0 / temperatureK;
  // Integer powers of (7.1 - pi), exponents 0 to 32, and of (tau - 1.222),
  // exponents -43 to 17, by repeated multiplication.
  constexpr int kLowestT = -43;
  std::array<double, 33> p{};
  std::array<double, 61> t{};
  p[0] = 1.0;
  for (std::size_t i = 1; i < p.size(); ++i) p[i] = p[i - 1] * (7.1 - pi);
  const double base = tau - 1.222;
  t[-kLowestT] = 1.0;
  for (int j = 1; j <= 17; ++j)
    t[static_cast<std::size_t>(j - kLowestT)] = t[static_cast<std::size_t>(j - 1 - kLowestT)] * base;
  for (int j = -1; j >= kLowestT; --j)
    t[static_cast<std::size_t>(j - kLowestT)] = t[static_cast<std::size_t>(j + 1 - kLowestT)] / base;
  const auto tPow = [&](int j) { return t[static_cast<std::size_t>(j - kLowestT)]; };
  double gammaPi = 0.0;
  double gammaTauTau = 0.0;
  for (const If97Term& term : kIf97Region1) {
    if (term.i > 0) gammaPi += -term.n * term.i * p[static_cast<std::size_t>(term.i - 1)] * tPow(term.j);
    gammaTauTau += term.n * p[static_cast<std::size_t>(term.i)] * term.j * (term.j - 1) * tPow(term.j - 2);
  }
  WaterState state;
  // v = pi gamma_pi R T / p, with R in kJ/(kg K) and p in kPa: m3/kg.
  const double specificVolume = pi * gammaPi * kIf97GasConstant * temperatureK / (pressureMPa * 1000.0);
  state.densityKgM3 = 1.0 / specificVolume;
  state.specificHeatKjKgK = -tau * tau * gammaTauTau * kIf97GasConstant;
  return state;
}

}  // namespace vst
