// The headings of a line list as people write them, matched to its columns:
// the field code (MAXAMB), the main window's caption for that input ("Max.
// Ambient"), a usual word ("Line No.", "Size"), or a line of a column map
// file; compared without case, blanks, punctuation and a trailing unit in
// brackets. A unit written in a heading is checked against the run's units,
// never converted.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "batch/batch_design.h"

namespace vst {

// The main window's caption for a line list column's input, without its
// access key and trailing blanks ("Max. Ambient", "Line\Pipe No."); null
// for the columns the fittings and shoe dialogs take.
const char* ColumnCaption(std::size_t column);

// A heading as headings are compared: upper case, letters and digits only
// ("Pipe Length" is PIPELENGTH).
std::string FoldedHeading(std::string_view text);

// How a heading was read: "code", "caption", "word", "map", "ignored", "unknown".
const char* HeadingHowName(HeadingHow how);

// Reads each heading of a header row. Empty error, or why the headings
// cannot be read ("line 1: ..."): a unit of the other unit system or one
// the column does not take. Two headings naming one column are left to the
// reader of the list, which names both.
struct HeadingsRead {
  std::vector<HeadingReading> headings;
  std::string error;
};
HeadingsRead ReadHeadings(const std::vector<std::string>& header, const BatchOptions& options);

// Whether the headings are all field codes as the program writes them, or
// unknown: then the results say nothing of how they were read, as before
// headings were matched.
bool HeadingsArePlainCodes(const std::vector<HeadingReading>& headings);

// A column map file: a CSV of two columns, a heading and the field code it
// names or "ignore"; a first row "heading,column" is a header. The error
// names the line of a bad entry.
std::optional<ColumnMap> ParseColumnMap(std::string_view text, std::string& error);
// The map of the headings read, to be edited and given back with --columns.
std::string ColumnMapText(const std::vector<HeadingReading>& headings);

}  // namespace vst
