// The spreadsheet export of a grid: a workbook file (.xlsx) with one sheet
// named after the title, every cell written as its grid text followed by
// one space (text, never a number or formula, so a quantity stays as
// shown), each column as wide as its longest text, and a table style over
// the used range.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vst {

class OutputFile;

// Whether the file at `path` ends as a workbook does: a workbook is a zip
// file, which ends with its directory's end record ("PK\5\6"), and a file
// cut short by a failed write lacks it. The library does not report every
// failed write, so the file itself is asked.
bool EndsAsAWorkbook(const std::filesystem::path& path);
inline constexpr const char* kWorkbookCutShort =
    "the workbook could not be written whole; the disk may be full";

// The option value of the summary bill's export.
inline constexpr int kSummaryExportOption = 1;

// Writes rows 0..rowCount-1 and columns 0..columnCount-1 of `grid` (missing
// cells are empty) into a new workbook at `path`, through the program's one
// writer (core/output_file.h). The option value chooses the table style
// (Light 1 to Light 21; other values Light 1). Returns an empty text on
// success, else the reason the workbook was not written.
std::string ExportGridToSpreadsheet(const std::vector<std::vector<std::string>>& grid, int rowCount,
                                    int columnCount, int option, const std::string& title,
                                    const std::string& path);
// The same workbook as the new contents of an open output, which the caller
// then commits (with others).
std::string ExportGridToSpreadsheet(const std::vector<std::vector<std::string>>& grid, int rowCount,
                                    int columnCount, int option, const std::string& title, OutputFile& out);

// A table as a workbook for calculation: the first row (the headings, with
// their units) as texts; below it a cell of a column that `numberColumns`
// marks is a number cell when its text reads as a plain decimal number, and
// every other cell its text as it is (no trailing blank); an empty cell
// stays empty. One sheet named after the title, through the program's one
// writer. Returns an empty text on success, else the reason.
// `going`, when given, hears the rows written of the total now and then;
// returning false stops the export, which then writes nothing and returns
// kWorkbookStopped.
inline constexpr const char* kWorkbookStopped = "the workbook was stopped";
std::string ExportTableToWorkbook(const std::vector<std::vector<std::string>>& grid,
                                  const std::vector<bool>& numberColumns, const std::string& title,
                                  const std::string& path,
                                  const std::function<bool(int done, int total)>& going = {});

// The text with every invalid UTF-8 sequence, and every control character
// that a workbook cannot hold, replaced by U+FFFD.
std::string ValidSpreadsheetText(std::string_view text);

// The column width (in characters of the default font) that shows `text`
// whole.
double ColumnWidthFor(std::string_view text);

}  // namespace vst
