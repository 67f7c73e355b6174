// The entries the list columns of a line list accept (`vantrel-design
// lists`): drawn from the window's own lists through the list rules a row is
// entered with, so they are always the ones a row can name. An installation
// offers its own tube sizes; a tube, its pipe sizes; a tube and a tubing
// material, their wall thicknesses; an installation and tube, only the pipe
// sizes a design takes them on, each with the passes it takes.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/design_record.h"

namespace vst {

struct TubeEntries {
  std::string tube;                               // TRACETUB
  std::vector<std::string> pipes;                 // PIPESIZE with this tube
  std::vector<int> mostPasses;                    // the most PASSES on each of `pipes`
  std::array<std::vector<std::string>, 3> walls;  // TUBEWALL per TUBEMAT entry, its first the default
};

struct InstallationEntries {
  std::string name;       // TRACEINS as the list shows it ("Coverlyn  YJ-1")
  std::string shortName;  // the short name a row may give instead ("YJ-1"), or empty
  std::vector<TubeEntries> tubes;
};

struct AcceptedLists {
  UnitSystem units = UnitSystem::English;
  bool internalMode = false;
  std::vector<std::string> insulationTypes;  // INSTYPE
  std::vector<std::string> thicknesses;      // INSTHK
  std::vector<std::string> passes;           // PASSES
  std::vector<std::string> materials;        // TUBEMAT
  std::vector<std::string> applications;     // APPTYPE
  std::vector<std::string> products;         // PRODUCT (heat-up)
  std::vector<InstallationEntries> installations;
};

// The accepted entries of one unit system and program mode.
AcceptedLists AcceptedListsOf(UnitSystem units, bool internalMode);

// The listings of the given unit systems and modes, as text for a person
// or as JSON: {"lists": [{"units", "mode", "INSTYPE": [...], "INSTHK",
// "PASSES", "TUBEMAT", "APPTYPE", "PRODUCT", "TRACEINS": [{"name", "short", "TRACETUB": [{"tube",
// "PIPESIZE": [...], "TUBEWALL": {"Copper": [...], ...}}]}]}]}.
std::string AcceptedListsText(const std::vector<AcceptedLists>& lists);
std::string AcceptedListsJson(const std::vector<AcceptedLists>& lists);

}  // namespace vst
