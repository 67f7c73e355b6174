#include "batch/csv.h"

#include <array>
#include <sstream>

namespace vst {

namespace {
constexpr std::size_t kChunk = 1 << 16;
}  // namespace

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

bool CsvReader::readRecord(CsvRow& row, CsvError& error) {
  row.fields.clear();
  row.line = line_;
  std::string field;
  bool inQuotes = false;
  bool afterQuote = false;  // a quoted field has closed; only a delimiter may follow
  bool fieldStarted = false;
  int quoteLine = 0;
  const auto fail = [&](int line, const std::string& text) {
    failed_ = true;
    error = {line, "line " + std::to_string(line) + ": " + text};
    return false;
  };
  for (;;) {
    const int ch = get();
    if (ch < 0) break;
    const char c = static_cast<char>(ch);
    if (c == '\0') return fail(line_, "the file holds a NUL byte and is not a CSV text");
    if (inQuotes) {
      if (c == '"') {
        if (peek() == '"') {
          field.push_back('"');
          get();
        } else {
          inQuotes = false;
          afterQuote = true;
        }
      } else {
        if (c == '\n') ++line_;
        field.push_back(c);
      }
      continue;
    }
    if (c == delimiter_) {
      row.fields.push_back(std::move(field));
      field.clear();
      afterQuote = false;
      fieldStarted = false;
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && peek() == '\n') get();
      ++line_;
      const bool blank = row.fields.empty() && field.empty() && !fieldStarted;
      if (!blank) {
        row.fields.push_back(std::move(field));
        return true;
      }
      row.line = line_;
    } else if (afterQuote) {
      return fail(line_, "text after the closing quote of a field");
    } else if (c == '"' && !fieldStarted) {
      inQuotes = true;
      fieldStarted = true;
      quoteLine = line_;
    } else {
      field.push_back(c);
      fieldStarted = true;
    }
  }
  if (inQuotes) return fail(quoteLine, "unterminated quoted field");
  if (in_.bad()) return fail(line_, "the file could not be read");
  if (fieldStarted || !row.fields.empty()) {
    row.fields.push_back(std::move(field));
    return true;
  }
  return false;
}

bool CsvReader::readHeader(std::vector<std::string>& header, CsvError& error) {
  // A UTF-8 byte order mark before the header is no part of the first name.
  peek();
  if (buffer_.compare(pos_, 3, "\xEF\xBB\xBF") == 0) pos_ += 3;
  detectDelimiter();
  CsvRow row;
  if (!readRecord(row, error)) {
    if (!failed_) {
      failed_ = true;
      error = {1, "line 1: the file has no header row"};
    }
    return false;
  }
  header = std::move(row.fields);
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
  return table;
}

std::string CsvField(std::string_view value) {
  const bool quote = value.find_first_of(",\"\r\n") != std::string_view::npos ||
                     (!value.empty() && (value.front() == ' ' || value.back() == ' '));
  if (!quote) return std::string(value);
  std::string out = "\"";
  for (char c : value) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
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
