// The summary bill of materials over many designed records: like items of
// different circuits merged into one line with the summed quantity, in
// thirteen sections (tubing, strip sections, strip compound, compound,
// channels, banding, tie wire, crimp seals, pre-insulated tubing, unions,
// trap stations, male connectors, tubing seal kits), then the installation
// documents and the optional accessories the material calls for.
//
// Records are added one at a time, so a line list of any length can be
// summed: the bill keeps only its merged lines, never the records. Within a
// section the lines stand in the order their first record was added.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "bom/circuit_bill.h"
#include "core/design_record.h"

namespace vst {

class SummaryBill {
 public:
  explicit SummaryBill(UnitSystem units) : units_(units) {}

  // Adds a record's bill quantities. A record without a design adds
  // nothing: a discarded design keeps some quantities (its tie wire) that
  // must not count.
  void add(const DesignRecord& record);

  // The rows of BillGrid: the header, the material lines, the documents and
  // the optional accessories. Every row has three cells.
  std::vector<BillRow> rows() const;

  std::size_t recordsAdded() const { return added_; }

 private:
  // One merged line of a section: the merge key, the summed quantity and
  // the texts of the record that carries the line (the first one added).
  struct Line {
    std::string key;
    double quantity = 0;
    std::string catalogue;
    std::string description;
    bool jacketed = false;  // a tubing line of a jacketed tracer tube
  };
  enum Section {
    kTubing,
    kStrip,
    kStripCompound,
    kCompound,
    kChannels,
    kBanding,
    kWrapcore,
    kUnions,
    kConnectors,
    kSections
  };

  // Adds `quantity` to the section's line of `key`; a new line takes its
  // texts from `texts` (called only then).
  template <typename Texts>
  void merge(Section section, const std::string& key, double quantity, Texts&& texts);

  UnitSystem units_;
  std::vector<Line> lines_[kSections];
  double tieWire_ = 0, crimpSeals_ = 0, trapStations_ = 0, sealKits_ = 0;
  bool cartridgeGun_ = false;  // a fillet or channel compound in cartridges is used
  std::size_t added_ = 0;
};

// The summary bill of a design set's ten records.
std::vector<BillRow> SummaryBillRows(const DesignSet& set);

// The grid of bill rows as the spreadsheet export takes it.
std::vector<std::vector<std::string>> GridOf(const std::vector<BillRow>& rows);

}  // namespace vst
