// UTF-8 as the program's outputs need it: which bytes form a character that
// a text file may carry, and which characters are control characters.
#pragma once

#include <cstddef>
#include <string_view>

namespace vst {

// U+FFFD, written for what cannot be written as it is.
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// The length of the well-formed UTF-8 sequence at text[i] (1 for ASCII), or
// 0 when the bytes there are no character a text file may hold: invalid or
// overlong, a surrogate, beyond U+10FFFF, or U+FFFE / U+FFFF. `codePoint`,
// when given, receives the character.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i, char32_t* codePoint = nullptr);

// The characters of UTF-8 text: its bytes that do not continue a sequence.
std::size_t Utf8Characters(std::string_view text);

// C0 controls (U+0000 to U+001F), DEL and the C1 controls (U+0080 to U+009F).
bool IsControlCharacter(char32_t c);

}  // namespace vst
