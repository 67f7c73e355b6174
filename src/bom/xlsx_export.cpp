#include "bom/xlsx_export.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>

#include "core/output_file.h"
#include "core/utf8_text.h"

namespace vst {

namespace {

constexpr int kLightStyles = 21;

// A name for the sheet: at most 31 characters, none of []:*?/\ .
std::string SheetName(const std::string& title) {
  std::string name;
  int chars = 0;
  for (std::size_t i = 0; i < title.size() && chars < 31;) {
    const std::size_t n = Utf8SequenceLength(title, i);
    const std::string_view piece = std::string_view(title).substr(i, n == 0 ? 1 : n);
    if (piece.size() == 1 && std::string_view("[]:*?/\\'").find(piece[0]) != std::string_view::npos) {
      name += '_';
    } else {
      name += piece;
    }
    i += piece.size();
    ++chars;
  }
  return name;
}

}  // namespace

std::string ValidSpreadsheetText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t n = Utf8SequenceLength(text, i);
    const bool control = n == 1 && static_cast<unsigned char>(text[i]) < 0x20 && text[i] != '\t' &&
                         text[i] != '\n' && text[i] != '\r';
    if (n == 0 || control) {
      out += kReplacementCharacter;
      i += 1;
    } else {
      out.append(text.substr(i, n));
      i += n;
    }
  }
  return out;
}

double ColumnWidthFor(std::string_view text) {
  // Characters, not bytes; one character of room so the text does not touch
  // the next column.
  return static_cast<double>(Utf8Characters(text)) + 1;
}

bool EndsAsAWorkbook(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  const std::streamoff size = in.tellg();
  if (!in || size < 22) return false;
  const std::streamoff tail = std::min<std::streamoff>(size, 1024);
  std::string end(static_cast<std::size_t>(tail), '\0');
  in.seekg(size - tail);
  if (!in.read(end.data(), tail)) return false;
  return end.find(std::string("PK\x05\x06", 4)) != std::string::npos;
}

namespace {

// The number a cell's text reads as, when it is a plain decimal number whole
// (blanks around it allowed) and finite.
std::optional<double> NumberOf(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

// Without `numberColumns` every cell is its text followed by one blank (the
// bills' format). Otherwise the cells below the first row of a column it
// marks are number cells where they read as numbers, and texts carry no blank.
std::string WriteWorkbook(const std::vector<std::vector<std::string>>& grid, int rowCount, int columnCount,
                          int option, const std::string& title, const std::filesystem::path& path,
                          const std::vector<bool>* numberColumns = nullptr,
                          const std::function<bool(int, int)>& going = {}) {
  const bool bills = numberColumns == nullptr;
  // The library's own temporary files go to the private folder of the new
  // file, which goes with all it holds however the program ends.
  std::string folder = path.parent_path().string();
  lxw_workbook_options options{};
  options.tmpdir = folder.data();
  lxw_workbook* workbook = workbook_new_opt(path.c_str(), &options);
  if (workbook == nullptr) return "the workbook could not be created";
  const std::string sheetName = SheetName(ValidSpreadsheetText(title));
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, sheetName.empty() ? nullptr : sheetName.c_str());
  if (sheet == nullptr) sheet = workbook_add_worksheet(workbook, nullptr);

  std::string problem;
  std::vector<double> widths(static_cast<std::size_t>(columnCount), LXW_DEF_COL_WIDTH);
  std::vector<std::string> header(static_cast<std::size_t>(columnCount));
  bool stopped = false;
  for (int r = 0; r < rowCount && sheet != nullptr; ++r) {
    if (going && r % 1024 == 0 && !going(r, rowCount)) {
      stopped = true;
      break;
    }
    const auto* row = r < static_cast<int>(grid.size()) ? &grid[static_cast<std::size_t>(r)] : nullptr;
    for (int c = 0; c < columnCount; ++c) {
      const auto col = static_cast<std::size_t>(c);
      const std::string cell =
          ValidSpreadsheetText(row && col < row->size() ? (*row)[col] : std::string()) + (bills ? " " : "");
      widths[col] = std::max(widths[col], ColumnWidthFor(cell));
      if (r == 0) header[col] = cell;
      const auto at = static_cast<lxw_row_t>(r);
      const auto column = static_cast<lxw_col_t>(c);
      const std::optional<double> number =
          r > 0 && !bills && col < numberColumns->size() && (*numberColumns)[col] ? NumberOf(cell)
                                                                                  : std::nullopt;
      const lxw_error e = number ? worksheet_write_number(sheet, at, column, *number, nullptr)
                          : !bills && cell.empty()
                              ? LXW_NO_ERROR
                              : worksheet_write_string(sheet, at, column, cell.c_str(), nullptr);
      if (e != LXW_NO_ERROR && problem.empty()) problem = lxw_strerror(e);
    }
  }
  for (int c = 0; c < columnCount && sheet != nullptr; ++c) {
    worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                         widths[static_cast<std::size_t>(c)], nullptr);
  }
  if (sheet != nullptr && rowCount > 0 && columnCount > 0) {
    // The first row heads the table when its texts can name the columns
    // (distinct and not blank); otherwise the table has no header row.
    const std::set<std::string> distinct(header.begin(), header.end());
    const bool named = distinct.size() == header.size() &&
                       std::none_of(header.begin(), header.end(),
                                    [](const std::string& h) { return h == " " || h.empty(); });
    std::vector<lxw_table_column> columns(header.size());
    std::vector<lxw_table_column*> columnList;
    for (std::size_t c = 0; c < header.size(); ++c) {
      columns[c] = lxw_table_column{};
      columns[c].header = header[c].data();
      columnList.push_back(&columns[c]);
    }
    columnList.push_back(nullptr);
    lxw_table_options options{};
    options.style_type = LXW_TABLE_STYLE_TYPE_LIGHT;
    options.style_type_number = static_cast<std::uint8_t>(option >= 1 && option <= kLightStyles ? option : 1);
    options.no_autofilter = LXW_TRUE;
    options.no_header_row = named ? LXW_FALSE : LXW_TRUE;
    if (named) options.columns = columnList.data();
    const lxw_error e = worksheet_add_table(sheet, 0, 0, static_cast<lxw_row_t>(rowCount - 1),
                                            static_cast<lxw_col_t>(columnCount - 1), &options);
    if (e != LXW_NO_ERROR && problem.empty()) problem = lxw_strerror(e);
  }
  const lxw_error closed = workbook_close(workbook);
  if (stopped) return kWorkbookStopped;
  if (closed != LXW_NO_ERROR) return std::string(lxw_strerror(closed));
  if (!EndsAsAWorkbook(path)) return kWorkbookCutShort;
  if (sheet == nullptr) return "the worksheet could not be added";
  return problem;
}

}  // namespace

std::string ExportGridToSpreadsheet(const std::vector<std::vector<std::string>>& grid, int rowCount,
                                    int columnCount, int option, const std::string& title, OutputFile& out) {
  rowCount = std::max(rowCount, 0);
  columnCount = std::clamp(columnCount, 0, static_cast<int>(LXW_COL_MAX));
  if (rowCount > static_cast<int>(LXW_ROW_MAX)) return "the grid has more rows than a worksheet holds";
  const std::filesystem::path contents = out.contentsPath();
  if (contents.empty()) return out.reason();
  return WriteWorkbook(grid, rowCount, columnCount, option, title, contents);
}

namespace {

// A workbook written into `path` through the program's one writer: the
// previous file is replaced only by a complete workbook.
std::string WriteWorkbookFile(const std::string& path, const std::function<std::string(OutputFile&)>& write) {
  OutputFile out;
  if (!out.open(path)) return out.reason();
  std::string problem = write(out);
  if (problem.empty() && !out.commit()) problem = out.reason();
  return problem;
}

}  // namespace

std::string ExportGridToSpreadsheet(const std::vector<std::vector<std::string>>& grid, int rowCount,
                                    int columnCount, int option, const std::string& title,
                                    const std::string& path) {
  return WriteWorkbookFile(path, [&](OutputFile& out) {
    return ExportGridToSpreadsheet(grid, rowCount, columnCount, option, title, out);
  });
}

std::string ExportTableToWorkbook(const std::vector<std::vector<std::string>>& grid,
                                  const std::vector<bool>& numberColumns, const std::string& title,
                                  const std::string& path, const std::function<bool(int, int)>& going) {
  const int rowCount = static_cast<int>(grid.size());
  const int columnCount =
      grid.empty() ? 0 : std::clamp(static_cast<int>(grid.front().size()), 0, static_cast<int>(LXW_COL_MAX));
  if (rowCount > static_cast<int>(LXW_ROW_MAX)) return "the table has more rows than a worksheet holds";
  return WriteWorkbookFile(path, [&](OutputFile& out) -> std::string {
    const std::filesystem::path contents = out.contentsPath();
    if (contents.empty()) return out.reason();
    return WriteWorkbook(grid, rowCount, columnCount, 1, title, contents, &numberColumns, going);
  });
}

}  // namespace vst
