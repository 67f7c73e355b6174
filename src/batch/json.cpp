#include "batch/json.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "core/legacy_math.h"
#include "core/utf8_text.h"

namespace vst {

namespace {

// The bytes a JSON string holds as they are: printable ASCII but the quote
// and the backslash. A table, as every byte of every text is looked up.
constexpr std::array<bool, 256> kPlainJsonBytes = [] {
  std::array<bool, 256> plain{};
  for (int b = 0x20; b < 0x7F; ++b) plain[static_cast<std::size_t>(b)] = b != '"' && b != '\\';
  return plain;
}();

}  // namespace

std::string JsonString(std::string_view text) {
  std::string out;
  AppendJsonString(out, text);
  return out;
}

void AppendJsonString(std::string& out, std::string_view text) {
  // Plain printable ASCII, the usual case, goes in as it is.
  std::size_t plain = 0;
  while (plain < text.size() && kPlainJsonBytes[static_cast<unsigned char>(text[plain])]) ++plain;
  out += '"';
  out.append(text.data(), plain);
  if (plain == text.size()) {
    out += '"';
    return;
  }
  // The plain beginning is in; escape from the first byte that is not.
  for (std::size_t i = plain; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      // Bytes that are not UTF-8 become the replacement character, so the
      // output stays valid JSON whatever the line list held; the C1 control
      // characters are escaped like the others.
      char32_t cp = 0;
      const std::size_t n = Utf8SequenceLength(text, i, &cp);
      if (n == 0) {
        out += "\\ufffd";
      } else if (IsControlCharacter(cp)) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(cp));
        out += buf;
        i += n - 1;
      } else {
        out.append(text.substr(i, n));
        i += n - 1;
      }
      continue;
    }
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out.push_back(static_cast<char>(c));
        }
    }
  }
  out.push_back('"');
}

std::string JsonNumber(float value) {
  std::string out;
  AppendJsonNumber(out, value);
  return out;
}

void AppendJsonNumber(std::string& out, float value) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  // Written straight into the output's own room: the longest text is 64
  // characters.
  const std::size_t at = out.size();
  out.resize(at + 64);
  char* const begin = out.data() + at;
  out.resize(at + static_cast<std::size_t>(WriteShortestText(value, begin) - begin));
}

JsonWriter& JsonWriter::open(char bracket) {
  next();
  if (depth_ == kMaxDepth) throw std::logic_error("JSON nested deeper than the writer holds");
  out_ += bracket;
  closing_[static_cast<std::size_t>(depth_)] = bracket == '{' ? '}' : ']';
  first_[static_cast<std::size_t>(depth_)] = true;
  ++depth_;
  return *this;
}

JsonWriter& JsonWriter::end() {
  if (depth_ == 0) throw std::logic_error("JSON closed more often than opened");
  if (newLineIndent_ >= 0) newLine();
  --depth_;
  out_ += closing_[static_cast<std::size_t>(depth_)];
  return *this;
}

void JsonWriter::newLine() {
  out_ += '\n';
  out_.append(static_cast<std::size_t>(newLineIndent_), ' ');
  newLineIndent_ = -1;
}

JsonWriter& JsonWriter::keyText(std::string_view name) {
  next();
  AppendJsonString(out_, name);
  out_ += spaced_ ? ": " : ":";
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::integer(long long value) {
  next();
  char digits[24];
  out_.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
  return *this;
}

JsonWriter& JsonWriter::strings(const std::vector<std::string>& items) {
  beginArray();
  for (const std::string& item : items) string(item);
  return end();
}

}  // namespace vst
