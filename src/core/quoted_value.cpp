#include "core/quoted_value.h"

#include <cstdio>

#include "core/utf8_text.h"

namespace vst {

std::string QuotedValue(std::string_view value) {
  std::size_t end = 0;
  std::size_t characters = 0;
  // A byte 10xxxxxx continues the code point before it.
  const auto continues = [&](std::size_t i) { return (static_cast<unsigned char>(value[i]) & 0xC0) == 0x80; };
  while (end < value.size() && characters < kQuotedValueLength) {
    ++end;
    while (end < value.size() && continues(end)) ++end;
    ++characters;
  }
  std::string quoted = "\"";
  quoted.append(value.substr(0, end));
  if (end < value.size()) quoted += "...";
  quoted += '"';
  return quoted;
}

std::string ShownName(std::string_view name) {
  bool plain = true;
  for (std::size_t i = 0; i < name.size() && plain;) {
    char32_t c = 0;
    const std::size_t n = Utf8SequenceLength(name, i, &c);
    plain = n != 0 && !IsControlCharacter(c);
    i += n;
  }
  if (plain) return std::string(name);
  std::string shown = "\"";
  for (std::size_t i = 0; i < name.size();) {
    char32_t c = 0;
    const std::size_t n = Utf8SequenceLength(name, i, &c);
    if (n > 1 && !IsControlCharacter(c)) {
      shown.append(name.substr(i, n));
      i += n;
      continue;
    }
    const auto b = static_cast<unsigned char>(name[i++]);
    if (b == '\n') {
      shown += "\\n";
    } else if (b == '\t') {
      shown += "\\t";
    } else if (b == '\r') {
      shown += "\\r";
    } else if (b == '"' || b == '\\') {
      shown += '\\';
      shown += static_cast<char>(b);
    } else if (b < 0x20 || b >= 0x7F) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02x", b);
      shown += hex;
    } else {
      shown += static_cast<char>(b);
    }
  }
  return shown + '"';
}

}  // namespace vst
