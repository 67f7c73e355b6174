// A value quoted inside a message: at most kQuotedValueLength characters of
// it, then "..." when it is longer, so a refused megabyte of text gives a
// message of one line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vst {

inline constexpr std::size_t kQuotedValueLength = 60;

// "value" or "first sixty characters..." (characters counted as UTF-8 code
// points, never cut inside one).
std::string QuotedValue(std::string_view value);

// A file name as a message shows it: as it is when it holds only printable
// UTF-8, otherwise in double quotes with control characters, quotes,
// backslashes and invalid bytes escaped ("out\njson" for a name with a
// line break), so a name can never start a line of its own.
std::string ShownName(std::string_view name);

}  // namespace vst
