// x^a * y^b from short series for the logarithm and the exponential: the
// forced convection of a surface in wind (Reynolds^0.805 * Prandtl^0.33) at
// about half the cost of two calls of powf, and far closer to the exact
// powers than powf. The heat balance uses it only to estimate which side of
// the balance a surface temperature lies on, with a bound on its error.
#pragma once

#include <bit>
#include <cstdint>

namespace vst {

// The natural logarithm of a positive, normal, finite x, within 1e-9
// (absolute) of the exact one. x = 2^e * m with m in (0.7071, 1.4143), and
// ln m = 2 atanh(s) with s = (m - 1) / (m + 1), |s| < 0.1716, summed to
// s^9 / 9: the terms left out add up to less than
// 2 * 0.1716^11 / 11 / (1 - 0.1716^2) < 8e-10.
inline double SeriesLog(double x) {
  constexpr double kLn2 = 0.69314718055994530942;
  constexpr double kSqrt2 = 1.41421356237309504880;
  std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
  int exponent = static_cast<int>(bits >> 52) - 1023;
  bits = (bits & 0x000FFFFFFFFFFFFFull) | 0x3FF0000000000000ull;
  double m = std::bit_cast<double>(bits);  // in [1, 2)
  if (m > kSqrt2) {
    m *= 0.5;
    ++exponent;
  }
  const double s = (m - 1.0) / (m + 1.0);
  const double s2 = s * s;
  const double atanh = s * (1.0 + s2 * (1.0 / 3.0 + s2 * (1.0 / 5.0 + s2 * (1.0 / 7.0 + s2 * (1.0 / 9.0)))));
  return static_cast<double>(exponent) * kLn2 + 2.0 * atanh;
}

// e^y for |y| <= 700, within a relative 1e-11 of the exact one: y = k ln 2
// + r with k the nearest whole number, so |r| <= 0.3466, e^r summed to
// r^9 / 9! (the rest is below 0.3466^10 / 10! * 1.04 < 8e-12, and e^r >
// 0.7), and 2^k set in the exponent bits.
inline double SeriesExp(double y) {
  constexpr double kLn2 = 0.69314718055994530942;
  constexpr double kInvLn2 = 1.44269504088896340736;
  const auto k = static_cast<std::int64_t>(y * kInvLn2 + (y < 0.0 ? -0.5 : 0.5));
  const double r = y - static_cast<double>(k) * kLn2;
  const double er =
      1.0 + r * (1.0 + r * (1.0 / 2.0 +
                            r * (1.0 / 6.0 +
                                 r * (1.0 / 24.0 +
                                      r * (1.0 / 120.0 +
                                           r * (1.0 / 720.0 +
                                                r * (1.0 / 5040.0 + r * (1.0 / 40320.0 + r / 362880.0))))))));
  const double twoToK = std::bit_cast<double>(static_cast<std::uint64_t>(k + 1023) << 52);
  return er * twoToK;
}

// x^a * y^b for positive, normal x and y with |a ln x + b ln y| <= 700,
// within a relative (|a| + |b|) * 1e-9 + 1e-11 of the exact value (the
// logarithms' error times the exponents, then the exponential's), plus the
// rounding of some twenty double operations.
inline double PowerProduct(double x, double a, double y, double b) {
  return SeriesExp(a * SeriesLog(x) + b * SeriesLog(y));
}

}  // namespace vst
