#include "bom/summary_bill.h"

#include <cstdlib>

#include "core/legacy_math.h"

namespace vst {

namespace {

constexpr int kFirstJacketedInstallation = 2;

// A stored quantity as the decimal number the record shows (12.3, not
// 12.3000001907), so that sums over many records stay exact decimals.
double Shown(float value) { return std::strtod(SingleText(value).c_str(), nullptr); }

std::string SumText(double value) { return " " + General15Text(value); }

bool Cartridges(const std::string& compound) { return compound == "E-50-C" || compound == "E-55-C"; }

std::string StripSection(UnitSystem units, int tubeIndex) {
  const bool metric = units == UnitSystem::Metric;
  if (tubeIndex <= 0)
    return metric ? "Sections of 10mm Clipstrip System" : "Sections of 3/8'' Clipstrip System";
  if (tubeIndex == 1)
    return metric ? "Sections of 12mm Clipstrip System" : "Sections of 1/2'' Clipstrip System";
  if (tubeIndex == 2)
    return metric ? "Sections of 20mm Clipstrip System" : "Sections of 3/4'' Clipstrip System";
  return metric ? " 20mm Clipstrip System" : " 3/4'' Clipstrip System";
}

const char* StripCatalogue(int tubeIndex) {
  if (tubeIndex <= 0) return "CS-1";
  if (tubeIndex == 1) return "CS-2";
  return "CS-3";
}

// The banding description of the summary (its Metric 30 m roll reads
// " 30m, Rolls").
std::string SummaryBanding(UnitSystem units, const std::string& band) {
  if (units == UnitSystem::Metric && band == "HB3SS") return " 30m, Rolls of Stainless Steel Banding";
  return BandingDescription(units, band);
}

std::string ConnectorDescription(UnitSystem units, const DesignRecord& r) {
  std::string words = FittingSizeMaterial(units, r.TRACETUB, r.TUBEMAT);  // " 3/8'' Brass"
  return "Male Connectors (" + words.substr(1) + ")";
}

}  // namespace

template <typename Texts>
void SummaryBill::merge(Section section, const std::string& key, double quantity, Texts&& texts) {
  for (Line& line : lines_[section]) {
    if (line.key == key) {
      line.quantity += quantity;
      return;
    }
  }
  Line line;
  line.key = key;
  line.quantity = quantity;
  texts(line);
  lines_[section].push_back(std::move(line));
}

void SummaryBill::add(const DesignRecord& r) {
  if (!r.HoldsDesign()) return;
  ++added_;
  const UnitSystem u = units_;
  const std::string tube = r.TSIZ + '|' + std::to_string(r.TUBEMAT);
  const std::string copperOrNot = r.TSIZ + (r.TUBEMAT == 0 ? "|copper" : "|stainless");

  merge(kTubing, tube + '|' + std::to_string(r.TUBEWALL) + '|' + r.COVR, Shown(r.TLEN), [&](Line& l) {
    l.catalogue = TubingCatalogue(r, u);
    l.description = TubingDescription(r);
    l.jacketed = r.TRACEINS >= kFirstJacketedInstallation;
  });
  if (r.CEM == "Clipstrip" && r.TRACEINS == 0) {
    merge(kStrip, std::to_string(r.TRACETUB), Shown(r.TST), [&](Line& l) {
      l.catalogue = StripCatalogue(r.TRACETUB);
      l.description = StripSection(u, r.TRACETUB);
    });
  }
  if (r.CEM == "Clipstrip") {
    // Strip compound of two records merges only under the same catalogue
    // number, which each record's own exposure temperature decides.
    const std::string compound = StripCompound(r, u);
    merge(kStripCompound, compound, Shown(r.ACEM1), [&](Line& l) { l.catalogue = compound; });
  }
  if (!r.CEM.empty() && r.CEM != "Clipstrip" && r.CEM != "COVERLYN") {
    merge(kCompound, r.CEM, Shown(r.ACEM), [&](Line& l) {
      l.catalogue = r.CEM;
      l.description =
          Cartridges(r.CEM) ? "Cartridges of Heat Transfer Cement" : "Gallons of Heat Transfer Cement";
    });
  }
  // The extruded strip includes its channel; its bill lists sections only.
  if (r.CEM != "Clipstrip") {
    merge(kChannels, r.CHAN, Shown(r.ACHAN), [&](Line& l) { l.catalogue = r.CHAN; });
  }
  merge(kBanding, r.BAND, Shown(r.ABAND), [&](Line& l) {
    l.catalogue = r.BAND;
    l.description = SummaryBanding(u, r.BAND);
  });
  tieWire_ += Shown(r.TBAND);
  crimpSeals_ += Shown(r.CRS);
  if (r.WCTB != 0) {
    merge(kWrapcore, tube + '|' + std::to_string(r.TUBEWALL), Shown(r.WCTB), [&](Line& l) {
      l.catalogue = WrapcoreCatalogue(r, u);
      l.description = WrapcoreDescription(r);
    });
  }
  if (r.UNION != 0) {
    merge(kUnions, copperOrNot, Shown(r.UNION),
          [&](Line& l) { l.description = FittingSizeMaterial(u, r.TRACETUB, r.TUBEMAT) + " Unions"; });
  }
  trapStations_ += Shown(r.FRST);
  // Welded and seamless stainless steel take the same connector.
  merge(kConnectors, copperOrNot, Shown(r.MACO),
        [&](Line& l) { l.description = ConnectorDescription(u, r); });
  sealKits_ += Shown(r.FAK);
  if (Cartridges(r.CEM) && (r.ACEM > 0 || r.ACEM1 > 0)) cartridgeGun_ = true;
}

std::vector<BillRow> SummaryBill::rows() const {
  std::vector<BillRow> rows{BillHeaderRow()};
  const std::string unit = LengthUnitWord(units_);
  bool nonJacketedTubing = false, jacketedTubing = false, compound = false, wrapcore = false;

  for (const Line& l : lines_[kTubing]) {
    if (l.quantity < 1) continue;
    rows.push_back({SumText(l.quantity) + unit, l.catalogue, l.description});
    (l.jacketed ? jacketedTubing : nonJacketedTubing) = true;
  }
  for (const Line& l : lines_[kStrip]) {
    if (l.quantity > 0) rows.push_back({SumText(l.quantity), l.catalogue, l.description});
  }
  for (const Line& l : lines_[kStripCompound]) {
    if (l.quantity == 0) continue;
    rows.push_back({SumText(l.quantity), l.catalogue,
                    l.quantity == 1 ? "Gallon of Heat Transfer Cement" : "Gallons of Heat Transfer Cement"});
    compound = true;
  }
  for (const Line& l : lines_[kCompound]) {
    rows.push_back({SumText(l.quantity), l.catalogue, l.description});
    compound = true;
  }
  for (const Line& l : lines_[kChannels]) {
    if (l.quantity != 0) rows.push_back({SumText(l.quantity), l.catalogue, "Channels"});
  }
  for (const Line& l : lines_[kBanding]) {
    if (l.quantity != 0) rows.push_back({SumText(l.quantity), l.catalogue, l.description});
  }
  if (tieWire_ != 0) rows.push_back({SumText(tieWire_) + unit, "WTS-4", "Stainless Steel Tie Wire"});
  if (crimpSeals_ != 0) rows.push_back({SumText(crimpSeals_), "CR-34PQ", "Crimp Seals"});
  for (const Line& l : lines_[kWrapcore]) {
    rows.push_back({SumText(l.quantity) + unit, l.catalogue, l.description});
    wrapcore = true;
  }
  for (const Line& l : lines_[kUnions]) rows.push_back({SumText(l.quantity), "", l.description});
  if (trapStations_ != 0) rows.push_back({SumText(trapStations_), "", "Trap Stations"});
  for (const Line& l : lines_[kConnectors]) {
    if (l.quantity > 0) rows.push_back({SumText(l.quantity), "", l.description});
  }
  if (sealKits_ > 0) rows.push_back({SumText(Int(sealKits_ + 0.9999)), "KSK-7", "Tubing Seal Kit"});

  if (compound) rows.push_back({" 1", "PDS0023", "HTC Installation Instructions"});
  if (jacketedTubing) rows.push_back({" 1", "PDS0024", "Coverlyn Installation Instructions"});
  if (wrapcore) rows.push_back({" 1", "PDS0025", "Wrapcore Installation Instructions"});
  if (nonJacketedTubing) {
    rows.push_back({});
    rows.push_back({});
    rows.push_back({"", "OPTIONAL ACCESSORIES", ""});
    rows.push_back({"", "QB-001", "Banding Tool"});
    rows.push_back({"", " 2750Q", "Crimping Tool"});
    if (cartridgeGun_) rows.push_back({"", "HG-2Q", "Heated Barrel Cartridge Gun"});
  }
  return rows;
}

std::vector<BillRow> SummaryBillRows(const DesignSet& set) {
  SummaryBill bill(set.Units);
  for (const DesignRecord& r : set.records) bill.add(r);
  return bill.rows();
}

std::vector<std::vector<std::string>> GridOf(const std::vector<BillRow>& rows) {
  std::vector<std::vector<std::string>> grid;
  grid.reserve(rows.size());
  for (const BillRow& row : rows) grid.emplace_back(row.begin(), row.end());
  return grid;
}

}  // namespace vst
