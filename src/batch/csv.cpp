#include "batch/csv.h"

#include <algorithm>
#include <array>
#include <sstream>

#include "core/quoted_value.h"
#include "core/utf8_text.h"

namespace vst {

namespace {

constexpr std::size_t kChunk = 1 << 16;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

std::string Grouped(std::size_t n) {
  std::string digits = std::to_string(n);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<std::size_t>(at), ",");
  return digits;
}

CsvReader::CsvReader(std::istream& in) : in_(in) {}

// Appends the next chunk of the input to the buffer, dropping what was read.
bool CsvReader::fill() {
  if (eof_) return false;
  if (pos_ > 0) {
    buffer_.erase(0, pos_);
    pos_ = 0;
  }
  const std::size_t had = buffer_.size();
  buffer_.resize(had + kChunk);
  in_.read(buffer_.data() + had, static_cast<std::streamsize>(kChunk));
  const auto got = static_cast<std::size_t>(in_.gcount());
  buffer_.resize(had + got);
  if (got < kChunk) eof_ = true;
  return got > 0;
}

int CsvReader::peek() {
  if (pos_ >= buffer_.size() && !fill()) return -1;
  return static_cast<unsigned char>(buffer_[pos_]);
}

int CsvReader::get() {
  const int c = peek();
  if (c >= 0) ++pos_;
  return c;
}

// Looks at the whole header row (without reading it) and counts the
// candidate delimiters outside quotes.
void CsvReader::detectDelimiter() {
  std::size_t i = pos_;
  bool quoted = false;
  std::array<std::size_t, 3> counts{};
  constexpr std::array<char, 3> kCandidates{',', ';', '\t'};
  for (;;) {
    if (i >= buffer_.size()) {
      const std::size_t offset = i - pos_;
      if (!fill()) break;
      i = pos_ + offset;
      continue;
    }
    // A header line beyond the limit is refused when it is read.
    if (i - pos_ > kMaxCsvLineBytes) break;
    const char c = buffer_[i++];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && (c == '\n' || c == '\r')) {
      break;
    } else if (!quoted) {
      for (std::size_t k = 0; k < kCandidates.size(); ++k) counts[k] += c == kCandidates[k];
    }
  }
  std::size_t best = 0;
  for (std::size_t k = 1; k < kCandidates.size(); ++k) {
    if (counts[k] > counts[best]) best = k;
  }
  delimiter_ = kCandidates[best];
}

std::string CsvReader::fieldName(std::size_t index) const {
  if (index < header_.size()) {
    const std::string_view name = header_[index];
    std::size_t b = 0;
    std::size_t e = name.size();
    while (b < e && name[b] == ' ') ++b;
    while (e > b && name[e - 1] == ' ') --e;
    if (e > b) return ShownName(name.substr(b, e - b));
  }
  return std::to_string(index + 1);
}

// One record as it is read into a row: the fields ended so far (`count`),
// the one being read (row.fields[count]), and the row's limits. The fields
// are read into the row's own strings, kept from the row read into it
// before, so reading mostly writes over storage it already has.
struct CsvReader::Record {
  CsvReader& reader;
  CsvRow& row;
  std::size_t count = 0;
  std::size_t rowBytes = 0;  // bytes of the row so far; past the limit nothing more of it is kept
  bool tooLong = false;

  Record(CsvReader& r, CsvRow& into) : reader(r), row(into) {
    row.problem.clear();
    row.line = reader.line_;
    if (row.fields.empty()) row.fields.emplace_back();
    row.fields[0].clear();
  }

  std::string& field() { return row.fields[count]; }
  // The row as read: its ended fields only.
  void ended() { row.fields.resize(count); }
  bool fail(CsvError& error, int line, const std::string& text) {
    ended();
    reader.failed_ = true;
    error = {line, "line " + std::to_string(line) + ": " + text};
    return false;
  }
  void problem(const std::string& text) {
    if (row.problem.empty()) row.problem = "line " + std::to_string(row.line) + ": " + text;
  }
  void fieldTooLong() {
    problem("field " + reader.fieldName(count) + " is longer than " + Grouped(kMaxCsvFieldBytes) + " bytes");
  }
  void keep(char c) {
    if (tooLong) return;
    if (field().size() < kMaxCsvFieldBytes) {
      field().push_back(c);
    } else {
      fieldTooLong();
    }
  }
  void endField() {
    if (!tooLong && count == kMaxCsvFields) {
      tooLong = true;
      problem("the row has more than " + Grouped(kMaxCsvFields) + " fields");
    }
    if (!tooLong) {
      ++count;
      if (count == row.fields.size()) row.fields.emplace_back();
    }
    field().clear();
  }
  // Counts one more byte of the row against its limit.
  void countByte() {
    if (!tooLong && ++rowBytes > kMaxCsvLineBytes) {
      tooLong = true;
      problem("the line is longer than 1 MiB (" + Grouped(kMaxCsvLineBytes) + " bytes)");
    }
  }
  // Takes whole the run of bytes ahead that need no decision (in a quoted
  // field, all but a quote, a line break and NUL; outside quotes, all but the
  // delimiter, a quote, line ends and NUL), as the byte-by-byte steps would
  // take them, while the row stays within its limit. False when there is none.
  bool takeOrdinaryRun(bool inQuotes) {
    const std::string& buffer = reader.buffer_;
    const std::size_t pos = reader.pos_;
    std::size_t end = pos;
    if (inQuotes) {
      while (end < buffer.size() && buffer[end] != '"' && buffer[end] != '\n' && buffer[end] != '\0') ++end;
    } else {
      while (end < buffer.size()) {
        const char c = buffer[end];
        if (c == reader.delimiter_ || c == '"' || c == '\n' || c == '\r' || c == '\0') break;
        ++end;
      }
    }
    std::size_t run = end - pos;
    if (!tooLong) run = std::min(run, kMaxCsvLineBytes - rowBytes);
    if (run == 0) return false;
    if (!tooLong) {
      rowBytes += run;
      const std::size_t room = kMaxCsvFieldBytes - std::min(field().size(), kMaxCsvFieldBytes);
      field().append(buffer, pos, std::min(run, room));
      if (run > room) fieldTooLong();
    }
    reader.pos_ += run;
    return true;
  }
};

bool CsvReader::readRecord(CsvRow& row, CsvError& error) {
  Record r(*this, row);
  bool inQuotes = false;
  bool afterQuote = false;  // a quoted field has closed; only a delimiter may follow
  bool fieldStarted = false;
  int quoteLine = 0;
  for (;;) {
    if (!afterQuote && r.takeOrdinaryRun(inQuotes)) {
      fieldStarted = true;
      continue;
    }
    const int ch = get();
    if (ch < 0) break;
    const char c = static_cast<char>(ch);
    if (c == '\0') return r.fail(error, line_, "the file holds a NUL byte and is not a CSV text");
    r.countByte();
    if (inQuotes) {
      if (c == '"') {
        if (peek() == '"') {
          r.keep('"');
          get();
        } else {
          inQuotes = false;
          afterQuote = true;
        }
      } else {
        if (c == '\n') ++line_;
        r.keep(c);
      }
      continue;
    }
    if (c == delimiter_) {
      r.endField();
      afterQuote = false;
      fieldStarted = false;
    } else if (c == '\r' || c == '\n') {
      const bool crlf = c == '\r' && peek() == '\n';
      if (crlf) get();
      if (lineEnd_.empty()) lineEnd_ = crlf ? "\r\n" : std::string(1, static_cast<char>(c));
      ++line_;
      const bool blank = r.count == 0 && r.field().empty() && !fieldStarted && !r.tooLong;
      if (!blank) {
        r.endField();
        r.ended();
        return true;
      }
      row.line = line_;
      r.rowBytes = 0;
    } else if (afterQuote) {
      return r.fail(error, line_, "text after the closing quote of a field");
    } else if (c == '"' && !fieldStarted) {
      inQuotes = true;
      fieldStarted = true;
      quoteLine = line_;
    } else {
      r.keep(c);
      fieldStarted = true;
    }
  }
  if (inQuotes) return r.fail(error, quoteLine, "unterminated quoted field");
  if (in_.bad()) return r.fail(error, line_, "the file could not be read");
  if (fieldStarted || r.count > 0 || r.tooLong) {
    r.endField();
    r.ended();
    return true;
  }
  r.ended();
  return false;
}

bool CsvReader::readHeader(std::vector<std::string>& header, CsvError& error) {
  // A UTF-8 byte order mark before the header is no part of the first name;
  // a second one would silently become part of it.
  peek();
  if (buffer_.compare(pos_, kByteOrderMark.size(), kByteOrderMark) == 0) {
    byteOrderMark_ = true;
    pos_ += kByteOrderMark.size();
    peek();
    if (buffer_.compare(pos_, kByteOrderMark.size(), kByteOrderMark) == 0) {
      failed_ = true;
      error = {1, "line 1: the text begins with two byte order marks; save it again as UTF-8 text"};
      return false;
    }
  }
  detectDelimiter();
  CsvRow row;
  if (!readRecord(row, error)) {
    if (!failed_) {
      failed_ = true;
      error = {1, "line 1: the file has no header row"};
    }
    return false;
  }
  if (!row.problem.empty()) {
    failed_ = true;
    error = {row.line, row.problem + " (in the header row)"};
    return false;
  }
  header = std::move(row.fields);
  header_ = header;
  return true;
}

bool CsvReader::next(CsvRow& row, CsvError& error) {
  if (failed_) return false;
  return readRecord(row, error);
}

std::optional<CsvTable> ParseCsv(std::string_view text, CsvError& error) {
  std::istringstream in{std::string(text)};
  CsvReader reader(in);
  CsvTable table;
  if (!reader.readHeader(table.header, error)) return std::nullopt;
  CsvRow row;
  while (reader.next(row, error)) table.rows.push_back(row);
  if (reader.failed()) return std::nullopt;
  table.delimiter = reader.delimiter();
  table.byteOrderMark = reader.byteOrderMark();
  table.lineEnd = reader.lineEnd();
  return table;
}

namespace {

// A number as the program writes one: blanks, a sign, digits with at most
// one decimal point, an exponent, blanks.
bool IsNumberText(std::string_view t) {
  std::size_t i = 0;
  const auto digits = [&] {
    const std::size_t from = i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
    return i - from;
  };
  while (i < t.size() && t[i] == ' ') ++i;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  std::size_t mantissa = digits();
  if (i < t.size() && t[i] == '.') {
    ++i;
    mantissa += digits();
  }
  if (mantissa == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    if (digits() == 0) return false;
  }
  while (i < t.size() && t[i] == ' ') ++i;
  return i == t.size();
}

// The text with invalid UTF-8 and control characters but tab replaced.
std::string ShownInSpreadsheet(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size();) {
    // Printable ASCII and tabs, most of any text, are shown as they are: a
    // run of them is taken at once.
    std::size_t run = i;
    while (run < value.size() && ((value[run] >= 0x20 && value[run] < 0x7F) || value[run] == '\t')) ++run;
    if (run > i) {
      out.append(value, i, run - i);
      i = run;
      continue;
    }
    char32_t c = 0;
    const std::size_t n = Utf8SequenceLength(value, i, &c);
    if (n == 0 || (IsControlCharacter(c) && c != '\t')) {
      out += kReplacementCharacter;
      i += n == 0 ? 1 : n;
    } else {
      out.append(value.substr(i, n));
      i += n;
    }
  }
  return out;
}

bool StartsLikeAFormula(std::string_view value) {
  const std::size_t first = value.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  const char c = value[first];
  return (c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r') && !IsNumberText(value);
}

// The bytes a CSV field holds as they are, unquoted: printable ASCII but
// the comma and the quote. A table, as every byte of every field is looked up.
constexpr std::array<bool, 256> kPlainCsvBytes = [] {
  std::array<bool, 256> plain{};
  for (int b = 0x20; b < 0x7F; ++b) plain[static_cast<std::size_t>(b)] = b != ',' && b != '"';
  return plain;
}();

bool Plain(std::string_view value) {
  for (char c : value) {
    if (!kPlainCsvBytes[static_cast<unsigned char>(c)]) return false;
  }
  return value.empty() || (value.front() != ' ' && value.back() != ' ' && !StartsLikeAFormula(value));
}

}  // namespace

std::string SpreadsheetText(std::string_view value) {
  if (Plain(value)) return std::string(value);
  std::string text = ShownInSpreadsheet(value);
  if (StartsLikeAFormula(text)) text.insert(0, 1, '\'');
  return text;
}

void AppendCsvField(std::string& out, std::string_view value) {
  // Plain printable ASCII, the usual case, goes in as it is.
  if (Plain(value)) {
    out += value;
    return;
  }
  const std::string text = SpreadsheetText(value);
  // (A plain loop: find_first_of would search the set once for every byte.)
  const bool quote = std::any_of(text.begin(), text.end(), [](char c) { return c == ',' || c == '"'; }) ||
                     (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quote) {
    out += text;
    return;
  }
  // Each quote doubled; the text between quotes goes in whole.
  out += '"';
  std::size_t from = 0;
  for (std::size_t quote = text.find('"'); quote != std::string::npos; quote = text.find('"', quote + 1)) {
    out.append(text, from, quote + 1 - from);
    out += '"';
    from = quote + 1;
  }
  out.append(text, from);
  out += '"';
}

std::string CsvField(std::string_view value) {
  std::string out;
  AppendCsvField(out, value);
  return out;
}

std::string CsvLine(const std::vector<std::string>& fields) {
  std::string out;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i) out.push_back(',');
    out += CsvField(fields[i]);
  }
  return out;
}

}  // namespace vst
