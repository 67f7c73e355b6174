#include "batch/json.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "core/legacy_math.h"

namespace vst {

namespace {

// Length of the well-formed UTF-8 sequence starting at text[i], or 0.
std::size_t Utf8Length(std::string_view text, std::size_t i) {
  const auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = b(i);
  std::size_t n = 0;
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF)
    n = 2;
  else if (c >= 0xE0 && c <= 0xEF)
    n = 3;
  else if (c >= 0xF0 && c <= 0xF4)
    n = 4;
  else
    return 0;
  if (i + n > text.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
  }
  if (n == 3 && ((c == 0xE0 && b(i + 1) < 0xA0) || (c == 0xED && b(i + 1) > 0x9F))) return 0;
  if (n == 4 && ((c == 0xF0 && b(i + 1) < 0x90) || (c == 0xF4 && b(i + 1) > 0x8F))) return 0;
  return n;
}

}  // namespace

std::string JsonString(std::string_view text) {
  std::string out;
  AppendJsonString(out, text);
  return out;
}

void AppendJsonString(std::string& out, std::string_view text) {
  // Plain printable ASCII, the usual case, goes in as it is.
  bool plain = true;
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b >= 0x7F || c == '"' || c == '\\') {
      plain = false;
      break;
    }
  }
  out += '"';
  if (plain) {
    out += text;
    out += '"';
    return;
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      // Bytes that are not UTF-8 become the replacement character, so the
      // output stays valid JSON whatever the line list held.
      const std::size_t n = Utf8Length(text, i);
      if (n == 0) {
        out += "\\ufffd";
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
        if (c < 0x20) {
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
  std::array<char, 64> buf;  // WriteShortestText writes at most 64 characters
  out.append(buf.data(), WriteShortestText(value, buf.data()));
}

}  // namespace vst
