#include "batch/report_output.h"

#include <utility>
#include <vector>

#include "batch/command_line.h"
#include "batch/csv.h"
#include "batch/json.h"
#include "core/quoted_value.h"
#include "designfile/design_file.h"

namespace vst {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// The pages of a report as rows of cell texts, hidden rows left out or not.
template <typename Page>
Rows PageRows(const Page& page, bool withHiddenRows) {
  Rows rows;
  for (std::size_t row = 0; row < page.cells.size(); ++row) {
    if (!withHiddenRows && !page.rowVisible[row]) continue;
    rows.emplace_back(page.cells[row].begin(), page.cells[row].end());
  }
  return rows;
}

std::string PagesJson(const std::vector<Rows>& pages) {
  std::string out = "[";
  for (std::size_t p = 0; p < pages.size(); ++p) {
    out += p ? ",\n  [" : "\n  [";
    for (std::size_t r = 0; r < pages[p].size(); ++r) {
      out += r ? ",\n   [" : "\n   [";
      for (std::size_t c = 0; c < pages[p][r].size(); ++c) {
        if (c) out += ", ";
        out += JsonString(pages[p][r][c]);
      }
      out += "]";
    }
    out += "]";
  }
  return out + "]";
}

std::string PagesCsv(const std::vector<Rows>& pages) {
  std::string out;
  for (const Rows& page : pages) {
    for (const auto& row : page) out += CsvLine(row) + "\n";
  }
  return out;
}

std::vector<Rows> CircuitListPages(const CircuitListRecords& records, UnitSystem units, bool internalMode) {
  return {PageRows(CircuitListCells(records, 0, units, internalMode), true),
          PageRows(CircuitListCells(records, kCircuitListSecondPage, units, internalMode), true)};
}

std::vector<Rows> RatingsPages(UnitSystem units, bool internalMode) {
  return {PageRows(RatingsTable(RatingsPageNumber::First, units, internalMode), false),
          PageRows(RatingsTable(RatingsPageNumber::Second, units, internalMode), false)};
}

}  // namespace

std::string CircuitListJson(const CircuitListRecords& records, UnitSystem units, bool internalMode) {
  const char* more = CircuitListHasSecondPage(records) ? "true" : "false";
  return std::string("{\"more\": ") + more +
         ",\n \"pages\": " + PagesJson(CircuitListPages(records, units, internalMode)) + "}\n";
}

std::string CircuitListCsv(const CircuitListRecords& records, UnitSystem units, bool internalMode) {
  return PagesCsv(CircuitListPages(records, units, internalMode));
}

std::string RatingsJson(UnitSystem units, bool internalMode) {
  return "{\"pages\": " + PagesJson(RatingsPages(units, internalMode)) + "}\n";
}

std::string RatingsCsv(UnitSystem units, bool internalMode) {
  return PagesCsv(RatingsPages(units, internalMode));
}

ReportResult RunReportCommand(const ReportRequest& request) {
  auto usage = [](std::string why) { return ReportResult{ReportStatus::UsageError, {}, std::move(why)}; };
  const bool ratings = request.verb == "ratings";
  if (!ratings && request.verb != "show") return usage("--circuit-list belongs to the show command");
  if (request.otherOptions) return usage(request.verb + " takes no design options");
  const auto unitsOption = UnitsOption(request.units);
  if (!unitsOption) return usage(kUnitsProblem);
  const UnitSystem units = *unitsOption;
  const auto internalMode = InternalModeOption(request.mode);
  if (!internalMode) return usage(kModeProblem);
  const bool json = request.format == "json";

  if (ratings) {
    if (!request.input.empty()) return usage("ratings takes no file: " + ShownName(request.input));
    return {
        ReportStatus::Ok, json ? RatingsJson(units, *internalMode) : RatingsCsv(units, *internalMode), {}};
  }
  if (request.input.empty()) return usage("no design file given");
  if (*internalMode) return usage("show takes the program mode from the design file");
  const DesignRecords none{};
  const auto contents = OpenDesignFile(request.input, none, units);
  if (!contents.ok()) {
    std::string why = ShownName(request.input) + " could not be opened: " + contents.status.reason;
    if (contents.status.code == DesignFileError::OtherUnits) {
      why += units == UnitSystem::Metric ? " (--units english)" : " (--units metric)";
    }
    return {ReportStatus::FileError, {}, why};
  }
  const bool internal = contents.internalMode;
  return {ReportStatus::Ok,
          json ? CircuitListJson(contents.records, units, internal)
               : CircuitListCsv(contents.records, units, internal),
          {}};
}

}  // namespace vst
