#include "core/Trig.h"

#include <cmath>

namespace quorvane {

namespace {

// pi/2 split into two 33-bit parts and a remainder: n * kPio2Hi and
// n * kPio2Mid are exact for the n used below.
constexpr double kPio2Hi = 1.5707963267341256;      // 0x1.921fb544p+0
constexpr double kPio2Mid = 6.077100506303966e-11;  // 0x1.0b4611a6p-34
constexpr double kPio2Lo = 2.0222662487959506e-21;
constexpr double kTwoOverPi = 0.6366197723675814;
// Beyond this the reduction above loses exactness; such angles (millions of
// turns) are left to the runtime.
constexpr double kReduceLimit = 524288.0 * 1.5707963267948966;

// Taylor series in z = r * r for |r| <= pi/4: the first omitted term is
// below 1e-19 of the result.
// sin(r + tail) for |r| <= pi/4 and |tail| tiny beside r.
double SinKernel(double r, double tail) {
  const double z = r * r;
  const double p =
      -1.0 / 6 +
      z * (1.0 / 120 +
           z * (-1.0 / 5040 +
                z * (1.0 / 362880 +
                     z * (-1.0 / 39916800 + z * (1.0 / 6227020800 +
                                                 z * (-1.0 / 1307674368000 +
                                                      z * (1.0 / 355687428096000 +
                                                           z * (-1.0 / 121645100408832000.0))))))));
  return r + (r * z * p + tail * (1.0 - 0.5 * z));
}

// cos(r + tail), likewise.
double CosKernel(double r, double tail) {
  const double z = r * r;
  const double p =
      1.0 / 24 +
      z * (-1.0 / 720 +
           z * (1.0 / 40320 +
                z * (-1.0 / 3628800 +
                     z * (1.0 / 479001600 + z * (-1.0 / 87178291200 +
                                                 z * (1.0 / 20922789888000 +
                                                      z * (-1.0 / 6402373705728000.0 +
                                                           z * (1.0 / 2432902008176640000.0))))))));
  const double hz = 0.5 * z;
  const double w = 1.0 - hz;
  // Recovers what 1 - hz lost to rounding.
  return w + (((1.0 - w) - hz) + (z * z * p - r * tail));
}

// x - n * pi/2 = r + tail, a double-double, with n = nearest integer to
// x * 2/pi; returns n mod 4. Near a multiple of pi/2 the difference cancels
// most of x, so the tail keeps the bits that a single double would lose.
int Reduce(double x, double& r, double& tail) {
  const double n = std::nearbyint(x * kTwoOverPi);
  const double a = x - n * kPio2Hi;  // exact
  const double w = n * kPio2Mid;     // exact
  const double s = a - w;
  const double bb = s - a;
  const double err = (a - (s - bb)) + (-w - bb);  // a - w == s + err exactly
  const double t = err - n * kPio2Lo;
  r = s + t;
  tail = t - (r - s);
  return static_cast<int>(static_cast<long long>(n) & 3);
}

}  // namespace

double Sine(double x) {
  if (!(std::fabs(x) < kReduceLimit)) return std::sin(x);
  double r = 0, tail = 0;
  switch (Reduce(x, r, tail)) {
    case 0:
      return SinKernel(r, tail);
    case 1:
      return CosKernel(r, tail);
    case 2:
      return -SinKernel(r, tail);
    default:
      return -CosKernel(r, tail);
  }
}

double Cosine(double x) {
  if (!(std::fabs(x) < kReduceLimit)) return std::cos(x);
  double r = 0, tail = 0;
  switch (Reduce(x, r, tail)) {
    case 0:
      return CosKernel(r, tail);
    case 1:
      return -SinKernel(r, tail);
    case 2:
      return -CosKernel(r, tail);
    default:
      return SinKernel(r, tail);
  }
}

}  // namespace quorvane
