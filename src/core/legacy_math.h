// The arithmetic of the program's design rules. The results the engineers
// know come from rules written as Int (round down), Fix (toward zero),
// truncation to tenths, banker's rounding of whole counts and single-precision
// storage of typed numbers; each rule lives here once.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vst {

// Largest whole number not above x (Int(-1.5) = -2).
double Int(double x);

// x with its fraction dropped (Fix(-1.5) = -1).
double Fix(double x);

// x rounded down to tenths: Int(x * 10) / 10.
double IntTenths(double x);

// x rounded to the nearest whole number, halves to the even neighbour.
double RoundHalfEven(double x);

// The single-precision value that a field stores for x.
float ToSingle(double x);

// Reads the text of a numeric field as the program does: leading and
// trailing blanks ignored, an optional sign, digits with one decimal mark
// (`decimalMark`, and "." always), an optional exponent. Empty, partial or
// non-finite text gives no value.
std::optional<double> ParseNumber(std::string_view text, char decimalMark = '.');

// The value of a plain decimal text, digits with at most one point and
// nothing else ("150", "12.5", ".5"), when it can be computed exactly
// rounded without a general parser (at most 19 digits, their whole number
// below 2^53); no value otherwise. ParseNumber's result for the same text
// whenever it gives one.
std::optional<double> PlainDecimalValue(std::string_view text);

// The single-precision value a field stores for x; nothing for a value
// beyond single precision.
std::optional<float> StoredSingle(double x);

// ParseNumber, stored in single precision.
std::optional<float> ParseSingle(std::string_view text, char decimalMark = '.');

// The shortest decimal text that reads back to the same single-precision
// value, in plain (not exponent) form: 131.7803, -18, 0.5.
std::string ShortestText(float value);
// ShortestText's characters written at `out` (room for 64), returning the
// end of them.
char* WriteShortestText(float value, char* out);

// The text the window writes into a field for a single-precision value: at
// most seven significant digits, as the program has always shown a single
// (131.7803 for 131.780279532365), without trailing zeros or an exponent.
std::string SingleText(float value);

// The value with a fixed number of decimals, correctly rounded ("0.000"
// pattern for decimals = 3). Never "-0.000".
std::string FixedText(double value, int decimals);

// The general decimal text of the value with at most 15 significant digits
// and no trailing zeros (339.923575802957).
std::string General15Text(double value);

// Text with leading and trailing blanks (spaces and tabs) removed. Inline:
// every field of a line list and every list entry is trimmed, often more
// than once, and the call would cost more than the work.
inline std::string_view Trim(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
  while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  return text.substr(begin, end - begin);
}

// The character in lower case when it is an ASCII letter; any other byte as
// it is, whatever the locale.
inline char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The text with its ASCII letters in lower case.
std::string Lowercase(std::string_view text);

}  // namespace vst
