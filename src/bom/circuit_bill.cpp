#include "bom/circuit_bill.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "core/legacy_math.h"
#include "core/units.h"

namespace vst {

namespace {

constexpr const char* kDegree = "\u00B0";  // the degree sign, UTF-8

constexpr int kTubingCopper = 0;
constexpr int kTubingWelded = 1;
constexpr int kFirstJacketedInstallation = 2;

bool Jacketed(const DesignRecord& r) { return r.TRACEINS >= kFirstJacketedInstallation; }
bool Cartridges(const std::string& compound) { return compound == "E-50-C" || compound == "E-55-C"; }

std::string Spaces(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

// The tube's size words of a fitting line.
std::string SizeWord(UnitSystem units, int tubeIndex) {
  static constexpr std::array<const char*, 4> kMetric{"10mm", "12mm", "16mm", "20mm"};
  static constexpr std::array<const char*, 4> kEnglish{"3/8''", "1/2''", "5/8''", "3/4''"};
  if (tubeIndex < 0 || tubeIndex > 3) return "?";
  const auto i = static_cast<std::size_t>(tubeIndex);
  return units == UnitSystem::Metric ? kMetric[i] : kEnglish[i];
}

// The extruded strip of a tube: catalogue number and the size words; the
// 5/8 in tube takes the 3/4 in strip.
const char* StripCatalogue(int tubeIndex) {
  if (tubeIndex <= 0) return "CS-1";
  if (tubeIndex == 1) return "CS-2";
  return "CS-3";
}
std::string StripSize(UnitSystem units, int tubeIndex) {
  const bool metric = units == UnitSystem::Metric;
  if (tubeIndex <= 0) return metric ? "10mm" : "3/8''";
  if (tubeIndex == 1) return metric ? "12mm" : "1/2''";
  return metric ? "20mm" : "3/4''";
}

// A number typed into a field, re-formatted through single precision; other
// text stays as it is.
std::string FieldNumber(const std::string& text) {
  if (auto value = ParseSingle(text)) return SingleText(*value);
  return text;
}

}  // namespace

BillRow BillHeaderRow() { return {"QUANTITY", "CATALOG NO.", "DESCRIPTION"}; }

std::string TubeSizeCode(UnitSystem units, int tubeIndex) {
  static constexpr std::array<const char*, 4> kMetric{"10", "12", "16", "20"};
  static constexpr std::array<const char*, 4> kEnglish{"3", "4", "5", "6"};
  if (tubeIndex < 0 || tubeIndex > 3) return "?";
  const auto i = static_cast<std::size_t>(tubeIndex);
  return units == UnitSystem::Metric ? kMetric[i] : kEnglish[i];
}

std::string MaterialLetter(int tubeMaterial) {
  if (tubeMaterial == kTubingCopper) return "B";
  if (tubeMaterial == kTubingWelded) return "A";
  return "F";
}

std::string WallCode(UnitSystem units, int tubeIndex, int tubeMaterial, int wallIndex) {
  if (units == UnitSystem::Metric) return wallIndex == 0 ? "1" : "1.5";
  const bool copper = tubeMaterial == kTubingCopper;
  switch (tubeIndex) {
    case 0:  // 3/8 in
      if (wallIndex == 0) return copper ? "32" : "35";
      return "49";
    case 1:  // 1/2 in
      return wallIndex == 0 ? "35" : "49";
    case 2:  // 5/8 in
      if (copper) return wallIndex == 0 ? "42" : wallIndex == 1 ? "49" : "65";
      return wallIndex == 0 ? "49" : "65";
    default:  // 3/4 in
      return wallIndex == 0 ? "49" : "65";
  }
}

std::string LengthUnitWord(UnitSystem units) { return units == UnitSystem::Metric ? " Meters" : " Feet"; }

double RecordExposureTempF(const DesignRecord& record, UnitSystem units) {
  const double exposure = record.MAXEXP;
  return units == UnitSystem::Metric ? RunFahrenheitFromCelsius(exposure) : exposure;
}

std::string StripCompound(const DesignRecord& record, UnitSystem units) {
  return RecordExposureTempF(record, units) <= 700 ? "K-30" : "K-90";
}

std::string TubingCatalogue(const DesignRecord& r, UnitSystem units) {
  const std::string code = TubeSizeCode(units, r.TRACETUB) + MaterialLetter(r.TUBEMAT) +
                           WallCode(units, r.TRACETUB, r.TUBEMAT, r.TUBEWALL);
  return Jacketed(r) ? r.COVR + "-" + code : "KV-" + code;
}

std::string TubingDescription(const DesignRecord& r) {
  if (Jacketed(r)) {
    const char* material = r.TUBEMAT == kTubingCopper   ? " Copper Tubing)"
                           : r.TUBEMAT == kTubingWelded ? " Welded S. S. Tubing)"
                                                        : " Seamless S. S. Tubing)";
    return std::string(r.COVR == "YJ-0" ? "Steam Tracer  (" : "Isolated Steam Tracer  (") + r.TSIZ + material;
  }
  const char* material = r.TUBEMAT == kTubingCopper   ? " Copper Tubing"
                         : r.TUBEMAT == kTubingWelded ? " Welded S. S. Tubing"
                                                      : " Seamless S. S. Tubing";
  return " " + r.TSIZ + material;
}

std::string WrapcoreCatalogue(const DesignRecord& r, UnitSystem units) {
  return "WQ-" + TubeSizeCode(units, r.TRACETUB) + MaterialLetter(r.TUBEMAT) + "1" +
         WallCode(units, r.TRACETUB, r.TUBEMAT, r.TUBEWALL) + "-PVC";
}

std::string WrapcoreDescription(const DesignRecord& r) {
  const char* material = r.TUBEMAT == kTubingCopper   ? " Wrapcore (Copper)"
                         : r.TUBEMAT == kTubingWelded ? " Wrapcore (Welded Stainless Steel)"
                                                      : " Wrapcore (Seamless Stainless Steel)";
  return " " + r.TSIZ + material;
}

std::string FittingSizeMaterial(UnitSystem units, int tubeIndex, int tubeMaterial) {
  return " " + SizeWord(units, tubeIndex) + (tubeMaterial == kTubingCopper ? " Brass" : " Stainless Steel");
}

std::string BandingDescription(UnitSystem units, const std::string& band) {
  if (units == UnitSystem::Metric) {
    if (band == "HB2SS") return " 15m Rolls of Stainless Steel Banding";
    if (band == "HB3SS") return " 30m Rolls of Stainless Steel Banding";
    return " 55m Rolls of Fiber Tape";
  }
  if (band == "HB2SS") return " 50' Rolls of Stainless Steel Banding";
  if (band == "HB3SS") return " 100' Rolls of Stainless Steel Banding";
  return " 108' Rolls of Fiber Tape";
}

std::string QuantityNumber(float value) { return SingleText(value); }

std::vector<BillRow> CircuitBillRows(const DesignRecord& r, UnitSystem units) {
  std::vector<BillRow> rows{BillHeaderRow()};
  const auto q = [](float value) { return " " + QuantityNumber(value); };
  const std::string unit = LengthUnitWord(units);

  if (r.TLEN >= 1) rows.push_back({q(r.TLEN) + unit, TubingCatalogue(r, units), TubingDescription(r)});
  if (r.TRACEINS == 0 && r.CEM != "Clipstrip") rows.push_back({q(r.ACHAN), r.CHAN, "Channels"});
  if (r.TRACEINS == 0 && r.CEM == "Clipstrip") {
    rows.push_back({q(r.TST) + " Sections", StripCatalogue(r.TRACETUB),
                    " " + StripSize(units, r.TRACETUB) + " Clipstrip System"});
  }
  if (r.ACEM1 != 0 && r.CEM == "Clipstrip") {
    rows.push_back({q(r.ACEM1) + (r.ACEM1 == 1 ? " Gallon" : " Gallons"), StripCompound(r, units),
                    "Heat Transfer Cement"});
  }
  if (!r.CEM.empty() && r.CEM != "Clipstrip" && r.CEM != "COVERLYN") {
    rows.push_back(
        {q(r.ACEM) + (Cartridges(r.CEM) ? " Cartridges" : " Gallons"), r.CEM, "Heat Transfer Cement"});
  }
  if (r.ABAND != 0) rows.push_back({q(r.ABAND), r.BAND, BandingDescription(units, r.BAND)});
  if (r.TBAND != 0) rows.push_back({q(r.TBAND) + unit, "WTS-4", "Stainless Steel Tie Wire"});
  if (r.CRS != 0 && r.CEM != "COVERLYN") rows.push_back({q(r.CRS), "CR-34PQ", "Crimp Seals"});
  if (r.WCTB != 0) rows.push_back({q(r.WCTB) + unit, WrapcoreCatalogue(r, units), WrapcoreDescription(r)});
  const std::string fitting = FittingSizeMaterial(units, r.TRACETUB, r.TUBEMAT);
  if (r.UNION != 0) rows.push_back({q(r.UNION), "", fitting + " Unions"});
  rows.push_back({q(r.FRST), "", "Trap Stations"});
  if (r.MACO > 0) rows.push_back({q(r.MACO), "", fitting + " Male Connectors"});
  // The number of kits the take-off counted, as the summary adds them up.
  if (r.FAK > 0) rows.push_back({q(r.FAK), "KSK-7", "Tubing Seal Kit"});
  return rows;
}

ReportItem InstallationItem(const DesignRecord& r) {
  if (Jacketed(r)) return {"Coverlyn Type: ", 24, r.COVR, "Coverlyn Type:"};
  if (r.TRACEINS == 1) return {"Fillet Trace:   ", 29, r.CEM, "Fillet Trace:"};
  return {"Troughline:   ", 25, r.CEM, "Troughline:"};
}

namespace {

// The heat-up time as the report shows it: hours, or why there are none.
std::string HeatUpTimeValue(const std::string& shown) {
  if (shown.empty()) return "not computed";
  if (shown == kNoHeatUpTime) return shown + " (the final temperature cannot be reached)";
  return shown + " Hours";
}

void AddHeatUpInputs(const CircuitReportFields& f, std::vector<ReportItem>& in) {
  const std::string degrees = std::string(kDegree) + UnitLetter(f.units);
  const auto unit = [&](UnitQuantity q) { return " " + UnitCaption(q, f.units); };
  in.push_back({"Heat Up Product: ", 11, f.product, "Heat Up Product:"});
  in.push_back({"Initial Temperature: ", 7, FieldNumber(f.initialTemp) + degrees, "Initial Temperature:"});
  in.push_back({"Final Temperature: ", 9, FieldNumber(f.finalTemp) + degrees, "Final Temperature:"});
  in.push_back({"Product Density: ", 11, f.density + unit(UnitQuantity::Density), "Product Density:"});
  in.push_back({"Specific Heat: ", 13, f.specificHeat + unit(UnitQuantity::SpecificHeat), "Specific Heat:"});
  if (!f.phaseChange) return;
  in.push_back({"Phase Change Temp.: ", 8, FieldNumber(f.phaseChangeTemp) + degrees, "Phase Change Temp.:"});
  in.push_back(
      {"Latent Heat: ", 15, FieldNumber(f.latentHeat) + unit(UnitQuantity::LatentHeat), "Latent Heat:"});
}

}  // namespace

std::vector<ReportItem> CircuitReportInputs(const CircuitReportFields& f, const DesignRecord& r) {
  const std::string degrees = std::string(kDegree) + UnitLetter(f.units);
  const std::string diameter = f.units == UnitSystem::Metric ? " mm" : " Inches";
  const std::string length = LengthUnitWord(f.units);
  const PressureUnit unit = PressureUnitFromStored(r.PRESSURE);
  const std::string pressure = unit == PressureUnit::Kpa    ? " kPa"
                               : unit == PressureUnit::BarG ? " bar g"
                                                            : " PSIG";
  std::vector<ReportItem> in{
      {"Maximum Ambient: ", 7, FieldNumber(f.maxAmbient) + degrees, "Maximum Ambient:"},
      {"Minimum Ambient: ", 8, FieldNumber(f.minAmbient) + degrees, "Minimum Ambient:"},
      {"Insulation Type: ", 11, f.insulationType, "Insulation Type:"},
      {"Pipe Diameter: ", 13, FieldNumber(f.pipeDiameter) + diameter, "Pipe Diameter:"},
      {"Insulation Thickness:    ", 0, FieldNumber(f.insulationThickness) + diameter,
       "Insulation Thickness:"},
      {"Pipe Length: ", 15, FieldNumber(f.pipeLength) + length, "Pipe Length:"},
      {"Tracer Tubing: ", 12, FieldNumber(f.tracerTubing) + diameter, "Tracer Tubing:"},
      {"Steam Pressure: ", 10, FieldNumber(f.pressure) + pressure, "Steam Pressure:"},
      {"Number of Passes: ", 7, std::to_string(r.NUMPASS + 1), "Number of Passes:"},
  };
  if (r.HeatUpApplication()) AddHeatUpInputs(f, in);
  return in;
}

std::vector<ReportItem> CircuitReportOutputs(const CircuitReportFields& f, const DesignRecord& r) {
  const bool metric = f.units == UnitSystem::Metric;
  const std::string degrees = std::string(kDegree) + UnitLetter(f.units);
  const std::string diameter = metric ? " mm" : " Inches";
  const std::string length = LengthUnitWord(f.units);
  std::vector<ReportItem> out{
      {"Max. Maintenance Temperature:  ", 0, FieldNumber(f.maxMaintTemp) + degrees,
       "Max. Maintenance Temperature:"},
      {"Min. Maintenance Temperature:   ", 0, FieldNumber(f.minMaintTemp) + degrees,
       "Min. Maintenance Temperature:"},
      {"Heat Loss: ", 32, FieldNumber(f.heatLoss) + (metric ? " W/m" : " BTU/Hr-Ft"), "Heat Loss:"},
  };
  if (f.internalMode) {
    out.push_back({"Condensate Load (Per Tracer):     ", 0,
                   FieldNumber(f.condensate) + (metric ? " kg/Hr-m" : " Lb/Hr-Ft"),
                   "Condensate Load (Per Tracer):"});
  }
  out.push_back({"Insulation Size: ", 26, FieldNumber(f.insulationSize) + diameter, "Insulation Size:"});
  out.push_back({"Total Tracer Length: ", 18, FieldNumber(f.totalLength) + length, "Total Tracer Length:"});
  if (f.internalMode) {
    out.push_back({"Trap Distance : ", 26, FieldNumber(f.trapDistance) + length, "Trap Distance:"});
    out.push_back({"Max. Vertical Rise: ", 21, FieldNumber(f.rise) + length, "Max. Vertical Rise:"});
  }
  out.push_back(InstallationItem(r));
  if (r.HeatUpApplication())
    out.push_back({"Heat Up Time: ", 29, HeatUpTimeValue(f.heatUpTime), "Heat Up Time:"});
  return out;
}

std::string ReportItem::text() const { return label + Spaces(gap) + value; }

std::vector<ReportRow> CircuitReportRows(const CircuitReportFields& f, const DesignRecord& r) {
  const auto inputs = CircuitReportInputs(f, r);
  const auto outputs = CircuitReportOutputs(f, r);
  std::vector<ReportRow> rows(std::max<std::size_t>(10, 1 + std::max(inputs.size(), outputs.size())));
  rows[0] = {"DESIGN INPUT DATA", "DESIGN OUTPUT DATA"};
  for (std::size_t i = 0; i < inputs.size(); ++i) rows[i + 1][0] = inputs[i].text();
  for (std::size_t i = 0; i < outputs.size(); ++i) rows[i + 1][1] = outputs[i].text();
  return rows;
}

}  // namespace vst
