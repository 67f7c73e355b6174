#include "batch/list_entries.h"

#include "batch/batch_design.h"
#include "batch/json.h"
#include "circuit/entry.h"
#include "circuit/lists.h"

namespace vst {

namespace {

// The entries of a list a row can name: its blank entries are no choice.
std::vector<std::string> Shown(const TextList* list) {
  std::vector<std::string> out;
  if (list == nullptr) return out;
  for (const std::string& item : *list) {
    if (!item.empty()) out.push_back(item);
  }
  return out;
}

// "YJ-1" of "Coverlyn  YJ-1": the short name a row may give for a jacketed
// tracer; empty for the others, which are given by their own names.
std::string ShortName(const std::string& name) {
  const std::size_t at = name.rfind("YJ-");
  return at == std::string::npos || at == 0 ? std::string() : name.substr(at);
}

// The pipe sizes a design takes the installation and tube on, each with
// the most passes it takes there.
void OfferedPipes(int installation, int tube, const CircuitContext& context, TubeEntries& into) {
  const TextList& pipes = PipeSizeList(context.units, false);
  for (std::size_t p = 0; p < pipes.size(); ++p) {
    const int position = static_cast<int>(p);
    if (PipeSizeRefusal(installation, tube, position, context)) continue;
    into.pipes.push_back(pipes[p]);
    into.mostPasses.push_back(MostPasses(installation, tube, position));
  }
}

// "1 (.5 to 1.5), 1-2 (2.0), ...": the passes a run of pipe sizes takes.
std::string PassesByPipe(const TubeEntries& tube) {
  std::string out;
  for (std::size_t p = 0; p < tube.pipes.size();) {
    std::size_t last = p;
    while (last + 1 < tube.pipes.size() && tube.mostPasses[last + 1] == tube.mostPasses[p]) ++last;
    if (!out.empty()) out += ", ";
    out += tube.mostPasses[p] == 1 ? "1" : "1-" + std::to_string(tube.mostPasses[p]);
    out += " (" + tube.pipes[p] + (last == p ? "" : " to " + tube.pipes[last]) + ")";
    p = last + 1;
  }
  return out;
}

std::string Joined(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) {
    if (!out.empty()) out += ", ";
    out += item;
  }
  return out;
}

// "NAME (unit)" padded to the column where the entries begin.
std::string Label(const std::string& indent, const std::string& name, const std::string& unit) {
  std::string label = indent + name + (unit.empty() ? "" : " (" + unit + ")");
  if (label.size() < 22) label.resize(22, ' ');
  return label + " ";
}

}  // namespace

AcceptedLists AcceptedListsOf(UnitSystem units, bool internalMode) {
  AcceptedLists out;
  out.units = units;
  out.internalMode = internalMode;
  out.insulationTypes = InsulationTypeList();
  out.thicknesses = InsulationThicknessList(units);
  out.passes = PassList();
  out.materials = TracerMaterialList();
  out.applications = ApplicationList();
  out.products = ProductList();
  CircuitContext context;
  context.units = units;
  context.internalMode = internalMode;
  const TextList& installations = InstallationList(internalMode);
  for (std::size_t i = 0; i < installations.size(); ++i) {
    InstallationEntries entries{installations[i], ShortName(installations[i]), {}};
    // Each choice is made as a row makes it: from a fresh window, the
    // installation, then the tube, then the material.
    CircuitEntry chosen = FreshEntry(context);
    ChooseInstallation(chosen, static_cast<int>(i), context);
    const TextList tubes = chosen.tubes ? *chosen.tubes : TextList{};
    for (std::size_t t = 0; t < tubes.size(); ++t) {
      TubeEntries tube;
      tube.tube = tubes[t];
      for (std::size_t m = 0; m < out.materials.size() && m < 3; ++m) {
        CircuitEntry e = FreshEntry(context);
        ChooseInstallation(e, static_cast<int>(i), context);
        ChooseTubeSize(e, static_cast<int>(t), context);
        if (m == 0) OfferedPipes(static_cast<int>(i), static_cast<int>(t), context, tube);
        ChooseMaterial(e, static_cast<int>(m), context);
        tube.walls[m] = Shown(e.walls);
      }
      entries.tubes.push_back(std::move(tube));
    }
    out.installations.push_back(std::move(entries));
  }
  return out;
}

std::string AcceptedListsText(const std::vector<AcceptedLists>& lists) {
  std::string out =
      "The entries the list columns of a line list accept, as the window's lists hold them. A text\n"
      "may be written in any case; a number as the same number (\"2\" for \"2.0\"). TUBEWALL may be\n"
      "left empty for the first wall of the tube and material.\n";
  for (const AcceptedLists& l : lists) {
    BatchOptions options;
    options.units = l.units;
    const std::string size = ColumnUnitText(ColumnUnit::Size, options);
    out += "\n";
    out += l.units == UnitSystem::Metric ? "SI Metric units" : "Inch Pound units";
    out += l.internalMode ? ", internal mode (--units " : ", standard mode (--units ";
    out += l.units == UnitSystem::Metric ? "metric" : "english";
    out += l.internalMode ? " --mode internal)\n" : " --mode standard)\n";
    out += Label("  ", "INSTYPE", "") + Joined(l.insulationTypes) + "\n";
    out += Label("  ", "INSTHK", size) + Joined(l.thicknesses) + "\n";
    out += Label("  ", "PASSES", "") + Joined(l.passes) + "\n";
    out += Label("  ", "TUBEMAT", "") + Joined(l.materials) + "\n";
    out += Label("  ", "APPTYPE", "") + Joined(l.applications) + "\n";
    out += Label("  ", "PRODUCT", "") + Joined(l.products) + "\n";
    for (const InstallationEntries& inst : l.installations) {
      out += Label("  ", "TRACEINS", "") + inst.name;
      if (!inst.shortName.empty()) out += " (or " + inst.shortName + ")";
      out += "\n";
      for (const TubeEntries& tube : inst.tubes) {
        out += Label("    ", "TRACETUB", size) + tube.tube + "\n";
        out += Label("      ", "PIPESIZE", size) + Joined(tube.pipes) + "\n";
        out += Label("      ", "PASSES", "") + PassesByPipe(tube) + "\n";
        for (std::size_t m = 0; m < l.materials.size() && m < 3; ++m) {
          out += Label("      ", "TUBEWALL", size) + Joined(tube.walls[m]) + " (" + l.materials[m] + ")\n";
        }
      }
    }
  }
  return out;
}

std::string AcceptedListsJson(const std::vector<AcceptedLists>& lists) {
  std::string out;
  JsonWriter w(out, true);
  w.beginObject().key("lists").beginArray();
  for (const AcceptedLists& l : lists) {
    w.onNewLine(1).beginObject();
    w.key("units").string(l.units == UnitSystem::Metric ? "metric" : "english");
    w.key("mode").string(l.internalMode ? "internal" : "standard");
    w.onNewLine(2).key("INSTYPE").strings(l.insulationTypes);
    w.onNewLine(2).key("INSTHK").strings(l.thicknesses);
    w.onNewLine(2).key("PASSES").strings(l.passes);
    w.onNewLine(2).key("TUBEMAT").strings(l.materials);
    w.onNewLine(2).key("APPTYPE").strings(l.applications);
    w.onNewLine(2).key("PRODUCT").strings(l.products);
    w.onNewLine(2).key("TRACEINS").beginArray();
    for (const InstallationEntries& inst : l.installations) {
      w.onNewLine(3).beginObject().key("name").string(inst.name).key("short").string(inst.shortName);
      w.key("TRACETUB").beginArray();
      for (const TubeEntries& tube : inst.tubes) {
        w.onNewLine(4).beginObject().key("tube").string(tube.tube).key("PIPESIZE").strings(tube.pipes);
        w.key("MOSTPASSES").beginArray();
        for (const int most : tube.mostPasses) w.integer(most);
        w.end().key("TUBEWALL").beginObject();
        for (std::size_t m = 0; m < l.materials.size() && m < 3; ++m)
          w.keyText(l.materials[m]).strings(tube.walls[m]);
        w.end().end();
      }
      w.end().end();
    }
    w.end().end();
  }
  w.onNewLine(0).end().end();
  return out + "\n";
}

}  // namespace vst
