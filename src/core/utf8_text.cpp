#include "core/utf8_text.h"

#include <cstdint>

namespace vst {

std::size_t Utf8Characters(std::string_view text) {
  std::size_t n = 0;
  for (const char c : text) n += (static_cast<unsigned char>(c) & 0xC0u) != 0x80u ? 1 : 0;
  return n;
}

std::size_t Utf8SequenceLength(std::string_view text, std::size_t i, char32_t* codePoint) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char b = byte(i);
  std::size_t n = 0;
  std::uint32_t cp = 0;
  if (b < 0x80) {
    if (codePoint) *codePoint = b;
    return 1;
  }
  if (b >= 0xC2 && b <= 0xDF) {
    n = 2;
    cp = b & 0x1Fu;
  } else if (b >= 0xE0 && b <= 0xEF) {
    n = 3;
    cp = b & 0x0Fu;
  } else if (b >= 0xF0 && b <= 0xF4) {
    n = 4;
    cp = b & 0x07u;
  } else {
    return 0;
  }
  if (i + n > text.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    if ((byte(i + k) & 0xC0u) != 0x80u) return 0;
    cp = (cp << 6) | (byte(i + k) & 0x3Fu);
  }
  // Overlong forms, surrogates, beyond U+10FFFF; U+FFFE/FFFF are no XML characters.
  if ((n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000) || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF ||
      cp == 0xFFFE || cp == 0xFFFF) {
    return 0;
  }
  if (codePoint) *codePoint = cp;
  return n;
}

bool IsControlCharacter(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

}  // namespace vst
