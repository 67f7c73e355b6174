// Delimited line lists: reading (a header row, then data rows; quoted fields,
// doubled quotes, CRLF or LF line ends; comma, semicolon or tab as the
// delimiter, found from the header) and writing comma-separated text for
// spreadsheets.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vst {

// What reading holds of a line list at most: a field of kMaxCsvFieldBytes
// (the longest text a design file keeps), a line (a row, with the line
// breaks inside its quoted fields) of kMaxCsvLineBytes, kMaxCsvFields fields
// in a row. A row beyond any of them is an error of that row; the rest of it
// is read past, never held.
inline constexpr std::size_t kMaxCsvFieldBytes = 4096;
inline constexpr std::size_t kMaxCsvLineBytes = 1 << 20;
inline constexpr std::size_t kMaxCsvFields = 1 << 16;

struct CsvRow {
  int line = 0;  // 1-based line of the file where the row starts
  std::vector<std::string> fields;
  // Empty, or why the row cannot be used: "line 7: field CIRTXT is longer
  // than 4,096 bytes" (the field then holds its first kMaxCsvFieldBytes).
  std::string problem;
  // Cells of a workbook whose value cannot be read as text (a date, an
  // error value, a formula without a stored value): the 0-based field and
  // the message naming the cell. A row that reads such a field is refused.
  struct CellProblem {
    std::size_t field = 0;
    std::string message;
  };
  std::vector<CellProblem> cellProblems;
};

struct CsvTable {
  std::vector<std::string> header;
  std::vector<CsvRow> rows;  // data rows, blank lines skipped
  char delimiter = ',';
  // How the text was written, so a list saved again reads as it did on
  // another desktop: a UTF-8 byte order mark before the header, and the
  // line end of its first line ("\r\n", "\n" or "\r").
  bool byteOrderMark = false;
  std::string lineEnd = "\n";
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

  // The header row. Fails when the text has no row at all, begins with two
  // byte order marks, or has a header beyond the limits.
  bool readHeader(std::vector<std::string>& header, CsvError& error);
  // The next data row, blank lines skipped; a row beyond the limits comes
  // back with its problem. False at the end of the text, or on malformed
  // text (an unterminated quote, text after a closing quote, a NUL byte),
  // with `error` naming the line.
  bool next(CsvRow& row, CsvError& error);
  char delimiter() const { return delimiter_; }
  bool failed() const { return failed_; }
  // Whether the text began with a byte order mark, and its first line end
  // ("\n" when no line has ended yet).
  bool byteOrderMark() const { return byteOrderMark_; }
  std::string lineEnd() const { return lineEnd_.empty() ? std::string("\n") : lineEnd_; }

 private:
  int get();
  int peek();
  bool fill();
  void detectDelimiter();
  struct Record;
  bool readRecord(CsvRow& row, CsvError& error);  // false at the end or on an error
  std::string fieldName(std::size_t index) const;

  std::istream& in_;
  std::string buffer_;
  std::size_t pos_ = 0;
  bool eof_ = false;
  bool failed_ = false;
  int line_ = 1;
  char delimiter_ = ',';
  bool byteOrderMark_ = false;
  std::string lineEnd_;
  std::vector<std::string> header_;
};

// A count as the messages write it: 4096 as "4,096".
std::string Grouped(std::size_t n);

// Whether the numbers of a list with this delimiter may be written with a
// decimal comma ("1,5" for 1.5): semicolons and tabs, as spreadsheets set to
// a decimal comma separate their exports. In a comma-separated list the
// comma only separates.
inline bool TakesDecimalCommas(char delimiter) { return delimiter == ';' || delimiter == '\t'; }

// Reads a whole text (the reader above over a string).
std::optional<CsvTable> ParseCsv(std::string_view text, CsvError& error);

// One CSV field as a spreadsheet should show it: invalid UTF-8 bytes and
// control characters other than tab written as U+FFFD; a text that a
// spreadsheet would take for a formula (its first character after any
// blanks is =, +, -, @, a tab or a carriage return) preceded by ', while a
// number keeps its sign; quoted when it holds a comma, a quote or leading or
// trailing blanks.
std::string CsvField(std::string_view value);
void AppendCsvField(std::string& out, std::string_view value);
// The text that field reads back as, without its quotes: the cell a
// spreadsheet shows.
std::string SpreadsheetText(std::string_view value);

// A line of fields joined by commas, without the line end.
std::string CsvLine(const std::vector<std::string>& fields);

}  // namespace vst
