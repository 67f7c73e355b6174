#include "core/legacy_math.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace vst {

double Int(double x) { return std::floor(x); }

double Fix(double x) { return std::trunc(x); }

double IntTenths(double x) { return Int(x * 10.0) / 10.0; }

double RoundHalfEven(double x) { return std::nearbyint(x); }

float ToSingle(double x) { return static_cast<float>(x); }

std::string Lowercase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = LowerAscii(c);
  return out;
}

namespace {

// The powers of ten that a double holds exactly.
constexpr std::array<double, 23> kExactPowersOfTen = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                      1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                      1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

}  // namespace

std::optional<double> PlainDecimalValue(std::string_view text) {
  // Nineteen digits always fit in 64 bits; longer texts take the full parser.
  constexpr std::size_t kMaxDigits = 19;
  if (text.size() > kMaxDigits + 1) return std::nullopt;
  std::uint64_t digits = 0;  // the digits taken as one whole number
  std::size_t count = 0;     // how many digits
  std::size_t decimals = 0;  // how many of them follow the point
  bool point = false;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
      ++count;
      if (point) ++decimals;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return std::nullopt;
    }
  }
  // Below 2^53 the digits are an exact double, and so is 10^decimals up to
  // 10^22: their quotient, rounded once, is the double nearest the text.
  constexpr std::uint64_t kExactLimit = std::uint64_t{1} << 53;
  if (count == 0 || count > kMaxDigits || digits > kExactLimit) return std::nullopt;
  return static_cast<double>(digits) / kExactPowersOfTen[decimals];
}

std::optional<double> ParseNumber(std::string_view text, char decimalMark) {
  std::string_view s = Trim(text);
  if (s.empty()) return std::nullopt;
  std::string withPoint;  // the text with its decimal mark as a point, when it has another
  if (decimalMark != '.' && s.find(decimalMark) != std::string_view::npos) {
    withPoint.assign(s);
    for (char& c : withPoint) {
      if (c == decimalMark) c = '.';
    }
    s = withPoint;
  }
  std::size_t start = 0;
  bool negative = false;
  if (s[0] == '+' || s[0] == '-') {
    negative = s[0] == '-';
    start = 1;
  }
  if (start >= s.size()) return std::nullopt;
  // Only digits, one point and an exponent; no "inf", "nan" or hex forms.
  const char first = s[start];
  if (!(first >= '0' && first <= '9') && first != '.') return std::nullopt;
  // Typed values are mostly plain decimals ("150", "12.5"), which need no
  // general parser.
  if (const auto plain = PlainDecimalValue(s.substr(start))) return negative ? -*plain : *plain;
  double value = 0.0;
  const char* begin = s.data() + start;
  const char* end = s.data() + s.size();
  auto [ptr, ec] = std::from_chars(begin, end, value, std::chars_format::general);
  if (ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
  return negative ? -value : value;
}

std::optional<float> StoredSingle(double x) {
  const float f = ToSingle(x);
  if (!std::isfinite(f)) return std::nullopt;
  return f;
}

std::optional<float> ParseSingle(std::string_view text, char decimalMark) {
  const auto v = ParseNumber(text, decimalMark);
  if (!v) return std::nullopt;
  return StoredSingle(*v);
}

char* WriteShortestText(float value, char* out) {
  if (value == 0.0f || !std::isfinite(value)) {
    *out = '0';
    return out + 1;
  }
  // Whole numbers below 2^24 are exact in single precision, and their
  // shortest fixed text is their digits: most record fields are counts,
  // codes and whole lengths.
  if (std::fabs(value) < 16777216.0f && value == std::trunc(value)) {
    return std::to_chars(out, out + 64, static_cast<long>(value)).ptr;
  }
  auto [ptr, ec] = std::to_chars(out, out + 64, value, std::chars_format::fixed);
  if (ec != std::errc()) {
    *out = '0';
    return out + 1;
  }
  return ptr;
}

std::string ShortestText(float value) {
  std::array<char, 64> buf{};
  return std::string(buf.data(), WriteShortestText(value, buf.data()));
}

namespace {

// Seven significant digits as "%.7g" writes them (to_chars with a precision
// is specified to match printf in the C locale).
std::string SevenDigitText(float value) {
  std::array<char, 64> buf{};
  auto [ptr, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), static_cast<double>(value),
                                 std::chars_format::general, 7);
  if (ec != std::errc()) return "0";
  const std::string_view s(buf.data(), static_cast<std::size_t>(ptr - buf.data()));
  if (s.find('e') != std::string_view::npos)
    return ShortestText(value);  // beyond seven digits of whole units
  return std::string(s);
}

}  // namespace

std::string SingleText(float value) {
  if (value == 0.0f || !std::isfinite(value)) return "0";
  // A whole number below 10^7 has at most seven digits, which "%.7g" writes
  // as they are.
  if (std::fabs(value) < 1e7f && value == std::trunc(value)) {
    std::array<char, 16> buf{};
    return std::string(buf.data(),
                       std::to_chars(buf.data(), buf.data() + buf.size(), static_cast<long>(value)).ptr);
  }
  // The texts written lately, by the value's bits: a window shows the same
  // temperatures and lengths over and over, and each text costs a printf.
  struct Recent {
    std::uint32_t bits = 0;
    std::string text;
  };
  thread_local std::array<Recent, 64> recent{};
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  Recent& slot = recent[(bits ^ (bits >> 11) ^ (bits >> 19)) % recent.size()];
  if (slot.bits != bits || slot.text.empty()) slot = {bits, SevenDigitText(value)};
  return slot.text;
}

std::string FixedText(double value, int decimals) {
  std::array<char, 64> buf{};
  std::string s;
  // to_chars with a precision writes what printf's "%.*f" writes in the C
  // locale, without printf's cost; printf keeps what to_chars leaves (texts
  // longer than the buffer, which printf cuts, and non-finite values).
  const auto [end, ec] =
      std::isfinite(value) && decimals >= 0
          ? std::to_chars(buf.data(), buf.data() + buf.size() - 1, value, std::chars_format::fixed, decimals)
          : std::to_chars_result{nullptr, std::errc::value_too_large};
  if (ec == std::errc()) {
    s.assign(buf.data(), end);
  } else {
    std::snprintf(buf.data(), buf.size(), "%.*f", decimals, value);
    s.assign(buf.data());
  }
  if (!s.empty() && s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  return s;
}

std::string General15Text(double value) {
  std::array<char, 64> buf{};
  std::snprintf(buf.data(), buf.size(), "%.15g", value);
  std::string s(buf.data());
  if (s == "-0") s = "0";
  return s;
}

}  // namespace vst
