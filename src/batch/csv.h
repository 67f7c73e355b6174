// Delimited line lists: reading (a header row, then data rows; quoted fields,
// doubled quotes, CRLF or LF line ends; comma, semicolon or tab as the
// delimiter, found from the header) and writing comma-separated text.
#pragma once

#include <istream>
#include <optional>
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
  char delimiter = ',';
};

struct CsvError {
  int line = 0;
  std::string message;  // "line 7: unterminated quoted field"
};

// Reads a delimited text row by row, so a long list needs the memory of one
// row. The delimiter is the one of comma, semicolon and tab that the header
// row holds most often outside quotes (comma when it holds none).
class CsvReader {
 public:
  explicit CsvReader(std::istream& in);

  // The header row. Fails when the text has no row at all.
  bool readHeader(std::vector<std::string>& header, CsvError& error);
  // The next data row, blank lines skipped. False at the end of the text, or
  // on malformed text (an unterminated quote, text after a closing quote, a
  // NUL byte), with `error` naming the line.
  bool next(CsvRow& row, CsvError& error);
  char delimiter() const { return delimiter_; }
  bool failed() const { return failed_; }

 private:
  int get();
  int peek();
  bool fill();
  void detectDelimiter();
  bool readRecord(CsvRow& row, CsvError& error);  // false at the end or on an error

  std::istream& in_;
  std::string buffer_;
  std::size_t pos_ = 0;
  bool eof_ = false;
  bool failed_ = false;
  int line_ = 1;
  char delimiter_ = ',';
};

// Reads a whole text (the reader above over a string).
std::optional<CsvTable> ParseCsv(std::string_view text, CsvError& error);

// One CSV field, quoted when it holds a comma, a quote, a line break or
// leading or trailing blanks.
std::string CsvField(std::string_view value);

// A line of fields joined by commas, without the line end.
std::string CsvLine(const std::vector<std::string>& fields);

}  // namespace vst
