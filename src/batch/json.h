// A small JSON writer for the batch output: objects, arrays, strings with
// every control character escaped, numbers as given.
#pragma once

#include <string>
#include <string_view>

namespace vst {

// The JSON string literal of a UTF-8 text.
std::string JsonString(std::string_view text);
// JsonString(text) appended to `out`.
void AppendJsonString(std::string& out, std::string_view text);

// The JSON number of a single-precision value: its shortest text, which
// reads back to the same single.
std::string JsonNumber(float value);
// JsonNumber(value) appended to `out`.
void AppendJsonNumber(std::string& out, float value);

}  // namespace vst
