// Comma-separated line lists: reading (quoted fields, doubled quotes, CRLF or
// LF line ends, a header row) and writing.
#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vst {

struct CsvRow {
  int line = 0;  // 1-based line of the file where the row starts
  std::vector<std::string> fields;
};

struct CsvTable {
  std::vector<std::string> header;
  std::vector<CsvRow> rows;  // data rows, blank lines skipped
};

struct CsvError {
  int line = 0;
  std::string message;  // "line 7: unterminated quoted field"
};

// Reads a whole CSV text. Fails on an unterminated quote, on text after a
// closing quote, on a missing header and on NUL bytes.
std::optional<CsvTable> ParseCsv(std::string_view text, CsvError& error);

// One CSV field, quoted when it holds a comma, a quote, a line break or
// leading or trailing blanks.
std::string CsvField(std::string_view value);

// A line of fields joined by commas, without the line end.
std::string CsvLine(const std::vector<std::string>& fields);

}  // namespace vst
