// The column mapping dialog without a toolkit: the headings of a line list
// that the program does not read by itself, each with its guess among the
// line list columns (or "Ignore"), the first rows of the list as a preview,
// the required columns no heading gives, and the map that results, to be
// remembered for the same headings and saved as a map file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "batch/batch_design.h"

namespace vst {

class ColumnMappingModel {
 public:
  // The headings as read, the first rows of the list (as many fields as
  // headings, or fewer), the run's options (its units and its map so far).
  ColumnMappingModel(std::vector<std::string> headings, std::vector<std::vector<std::string>> preview,
                     const BatchOptions& options);

  // Whether the list needs the dialog: a heading nothing reads.
  bool needed() const;

  int headingCount() const { return static_cast<int>(headings_.size()); }
  const std::string& heading(int i) const { return headings_.at(static_cast<std::size_t>(i)); }
  // The preview's text under heading `i` in row `row`.
  std::string preview(int row, int i) const;
  int previewRows() const { return static_cast<int>(preview_.size()); }

  // The choices of every heading: "Ignore", then each column as "MAXAMB:
  // Max. Ambient (°F)". Choice 0 is Ignore, choice c + 1 the column c.
  const std::vector<std::string>& choices() const { return choices_; }
  int choice(int i) const { return chosen_.at(static_cast<std::size_t>(i)); }
  // A heading read by its field code keeps it: the dialog shows it fixed.
  bool fixed(int i) const;
  void choose(int i, int choice);
  // How the heading's column was found: "field code", "caption", "usual
  // word", "map", "guess" (from a heading nothing reads), "not read"; and
  // whether a person should look at it (a guess, or nothing read).
  std::string howRead(int i) const;
  bool toCheck(int i) const { return unknown(static_cast<std::size_t>(i)); }

  // The required columns no heading gives, as "MAXAMB (Max. Ambient)".
  std::vector<std::string> missingRequired() const;
  // Why the mapping cannot be taken ("Max. Ambient" and "Hottest" both
  // give MAXAMB; a required column missing), empty when it can.
  std::string problem() const;

  // The map the run reads: every heading that is no field code, with its
  // column or "ignore".
  ColumnMap map() const;
  // As a map file (--columns), and the key under which the mapping of this
  // set of headings is remembered.
  std::string mapText() const;
  std::string settingsKey() const;
  // A remembered map, applied where it names a heading of the list.
  void restore(const std::string& mapText);

 private:
  // Heading `i` is read by its field code; it is a heading (not blank) that
  // nothing reads.
  bool byCode(std::size_t i) const;
  bool unknown(std::size_t i) const;

  std::vector<std::string> headings_;
  std::vector<std::vector<std::string>> preview_;
  BatchOptions options_;
  std::vector<std::string> choices_;
  std::vector<int> chosen_;
  std::vector<HeadingHow> how_;
};

class Dialogs;

// Before a list opens: when it needs a mapping, a remembered one for the
// same headings is taken if it is complete, else the dialog asks. False
// when the person cancelled; `remember` then or otherwise receives the map
// to keep for these headings (empty: nothing new to keep).
bool MapColumnsBeforeOpening(ColumnMappingModel& model, const std::string& remembered, Dialogs& dialogs,
                             std::string& remember);

}  // namespace vst
