#include "core/quoted_value.h"

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

}  // namespace vst
