// The circuit list and the ratings table as vantrel-design prints them, in
// JSON or CSV. Cell texts are exactly those the windows show, blanks kept.
//
// Circuit list JSON: {"more": true|false, "pages": [page1, page2]}, each page
// the 28 rows of the grid (a hidden row as empty texts), each row its 6 cell
// texts; page 1 holds records 1 to 5, page 2 records 6 to 10. Ratings JSON:
// {"pages": [page1, page2]}, each page its shown rows of 5 cell texts. CSV:
// the rows of page 1, then those of page 2, one line each, without a header.
#pragma once

#include <string>

#include "reports/circuit_list.h"
#include "reports/ratings.h"

namespace vst {

std::string CircuitListJson(const CircuitListRecords& records, UnitSystem units, bool internalMode);
std::string CircuitListCsv(const CircuitListRecords& records, UnitSystem units, bool internalMode);

std::string RatingsJson(UnitSystem units, bool internalMode);
std::string RatingsCsv(UnitSystem units, bool internalMode);

// The report commands of vantrel-design: `ratings` and `show FILE.mdb
// --circuit-list`, with their options as given on the command line.
struct ReportRequest {
  std::string verb;           // "ratings" or "show"
  std::string input;          // the design file of "show"
  std::string units;          // "english" or "metric"
  std::string mode;           // "standard" or "internal" (ratings; a design file brings its own)
  std::string format;         // "json" or "csv"
  bool otherOptions = false;  // an option of the design command was given
};
enum class ReportStatus { Ok, FileError, UsageError };
struct ReportResult {
  ReportStatus status = ReportStatus::Ok;
  std::string text;   // the output (Ok)
  std::string error;  // why not (FileError, UsageError)
};
ReportResult RunReportCommand(const ReportRequest& request);

}  // namespace vst
