#include "bom/xlsx_export.h"

#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <set>
#include <system_error>

namespace vst {

namespace {

constexpr const char* kReplacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr int kLightStyles = 21;

// Length of the valid UTF-8 sequence starting at text[i], 0 when invalid.
std::size_t SequenceLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char b = byte(i);
  std::size_t n = 0;
  std::uint32_t cp = 0;
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b <= 0xDF) {
    n = 2;
    cp = b & 0x1Fu;
  } else if (b >= 0xE0 && b <= 0xEF) {
    n = 3;
    cp = b & 0x0Fu;
  } else if (b >= 0xF0 && b <= 0xF4) {
    n = 4;
    cp = b & 0x07u;
  } else {
    return 0;
  }
  if (i + n > text.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    if ((byte(i + k) & 0xC0u) != 0x80u) return 0;
    cp = (cp << 6) | (byte(i + k) & 0x3Fu);
  }
  // Overlong forms, surrogates, beyond U+10FFFF; U+FFFE/FFFF are no XML characters.
  if ((n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000) || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF ||
      cp == 0xFFFE || cp == 0xFFFF) {
    return 0;
  }
  return n;
}

// A name for the sheet: at most 31 characters, none of []:*?/\ .
std::string SheetName(const std::string& title) {
  std::string name;
  int chars = 0;
  for (std::size_t i = 0; i < title.size() && chars < 31;) {
    const std::size_t n = SequenceLength(title, i);
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
    const std::size_t n = SequenceLength(text, i);
    const bool control = n == 1 && static_cast<unsigned char>(text[i]) < 0x20 && text[i] != '\t' &&
                         text[i] != '\n' && text[i] != '\r';
    if (n == 0 || control) {
      out += kReplacement;
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
  const auto characters = static_cast<double>(std::count_if(
      text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0u) != 0x80u; }));
  return characters + 1;
}

namespace {

std::string WriteWorkbook(const std::vector<std::vector<std::string>>& grid, int rowCount, int columnCount,
                          int option, const std::string& title, const std::string& path) {
  lxw_workbook* workbook = workbook_new(path.c_str());
  if (workbook == nullptr) return "the file " + path + " could not be created";
  const std::string sheetName = SheetName(ValidSpreadsheetText(title));
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, sheetName.empty() ? nullptr : sheetName.c_str());
  if (sheet == nullptr) sheet = workbook_add_worksheet(workbook, nullptr);

  std::string problem;
  std::vector<double> widths(static_cast<std::size_t>(columnCount), LXW_DEF_COL_WIDTH);
  std::vector<std::string> header(static_cast<std::size_t>(columnCount));
  for (int r = 0; r < rowCount && sheet != nullptr; ++r) {
    const auto* row = r < static_cast<int>(grid.size()) ? &grid[static_cast<std::size_t>(r)] : nullptr;
    for (int c = 0; c < columnCount; ++c) {
      const auto col = static_cast<std::size_t>(c);
      const std::string cell =
          ValidSpreadsheetText(row && col < row->size() ? (*row)[col] : std::string()) + " ";
      widths[col] = std::max(widths[col], ColumnWidthFor(cell));
      if (r == 0) header[col] = cell;
      const lxw_error e = worksheet_write_string(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c),
                                                 cell.c_str(), nullptr);
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
    const bool named =
        distinct.size() == header.size() &&
        std::none_of(header.begin(), header.end(), [](const std::string& h) { return h == " "; });
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
  if (closed != LXW_NO_ERROR) return std::string(lxw_strerror(closed));
  if (sheet == nullptr) return "the worksheet could not be added";
  return problem;
}

}  // namespace

std::string ExportGridToSpreadsheet(const std::vector<std::vector<std::string>>& grid, int rowCount,
                                    int columnCount, int option, const std::string& title,
                                    const std::string& path) {
  namespace fs = std::filesystem;
  rowCount = std::max(rowCount, 0);
  columnCount = std::clamp(columnCount, 0, static_cast<int>(LXW_COL_MAX));
  if (rowCount > static_cast<int>(LXW_ROW_MAX)) return "the grid has more rows than a worksheet holds";
  const fs::path target(path);
  if (target.filename().empty()) return "no file name was given";
  std::error_code ec;
  if (fs::is_directory(target, ec)) return path + " is a folder";
  // The workbook is written beside the target under a hidden name and then
  // renamed onto it, so a failed export never leaves half a file or
  // destroys the previous one.
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const fs::path temporary =
      target.parent_path() / ("." + target.filename().string() + "." + std::to_string(::getpid()) + "." +
                              std::to_string(stamp) + ".tmp");
  std::string problem = WriteWorkbook(grid, rowCount, columnCount, option, title, temporary.string());
  if (problem.empty()) {
    fs::rename(temporary, target, ec);
    if (ec) problem = "the file could not be renamed to " + path + " (" + ec.message() + ")";
  }
  if (!problem.empty()) fs::remove(temporary, ec);
  return problem;
}

}  // namespace vst
