// Composite Simpson's rule on n (even) intervals: the tests' independent
// check of the heat-up time's adaptive integration.
#pragma once

namespace vst {

template <typename Fn>
double Simpson(Fn f, double a, double b, int n) {
  const double h = (b - a) / n;
  double sum = f(a) + f(b);
  for (int i = 1; i < n; ++i) sum += f(a + i * h) * (i % 2 == 1 ? 4.0 : 2.0);
  return sum * h / 3.0;
}

}  // namespace vst
