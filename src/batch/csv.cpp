#include "batch/csv.h"

namespace vst {

std::optional<CsvTable> ParseCsv(std::string_view text, CsvError& error) {
  std::vector<CsvRow> records;
  CsvRow row;
  std::string field;
  int line = 1;
  row.line = 1;
  bool inQuotes = false;
  bool afterQuote = false;  // a quoted field has closed; only a separator may follow
  bool fieldStarted = false;
  int quoteLine = 0;

  auto endField = [&] {
    row.fields.push_back(std::move(field));
    field.clear();
    afterQuote = false;
    fieldStarted = false;
  };
  auto endRow = [&] {
    endField();
    const bool blank = row.fields.size() == 1 && row.fields[0].empty();
    if (!blank) records.push_back(std::move(row));
    row = CsvRow{};
  };

  // A UTF-8 byte order mark before the header is no part of the first name.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\0') {
      error = {line, "line " + std::to_string(line) + ": the file holds a NUL byte and is not a CSV text"};
      return std::nullopt;
    }
    if (inQuotes) {
      if (c == '"') {
        if (i + 1 < text.size() && text[i + 1] == '"') {
          field.push_back('"');
          ++i;
        } else {
          inQuotes = false;
          afterQuote = true;
        }
      } else {
        if (c == '\n') ++line;
        field.push_back(c);
      }
      continue;
    }
    if (c == ',') {
      endField();
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      endRow();
      ++line;
      row.line = line;
    } else if (afterQuote) {
      error = {line, "line " + std::to_string(line) + ": text after the closing quote of a field"};
      return std::nullopt;
    } else if (c == '"' && !fieldStarted) {
      inQuotes = true;
      fieldStarted = true;
      quoteLine = line;
    } else {
      field.push_back(c);
      fieldStarted = true;
    }
  }
  if (inQuotes) {
    error = {quoteLine, "line " + std::to_string(quoteLine) + ": unterminated quoted field"};
    return std::nullopt;
  }
  if (fieldStarted || afterQuote || !row.fields.empty()) endRow();

  if (records.empty()) {
    error = {1, "line 1: the file has no header row"};
    return std::nullopt;
  }
  CsvTable table;
  table.header = std::move(records.front().fields);
  records.erase(records.begin());
  table.rows = std::move(records);
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
