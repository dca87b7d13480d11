#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "core/ComplexMath.h"
#include "core/Failure.h"
#include "core/NumericText.h"
#include "tests/FakeForm1View.h"

namespace quorvane {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kSentinel = 12345.678;  // a number from "an earlier calculation"

std::uint64_t Bits(double v) {
  std::uint64_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

// Same double to the last bit, NaN matching NaN.
::testing::AssertionResult Same(double expected, double actual) {
  if ((std::isnan(expected) && std::isnan(actual)) || Bits(expected) == Bits(actual))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << std::hexfloat << "expected " << expected << " got " << actual;
}

// Units in the last place between two finite doubles of the same sign.
std::uint64_t UlpDistance(double a, double b) {
  const std::uint64_t x = Bits(a), y = Bits(b);
  return x > y ? x - y : y - x;
}

// The sine and cosine are the program's own (core/Trig), the same bits on
// every runtime, so the expected values hold exactly everywhere.
constexpr std::uint64_t kTrigUlps = 0;

class FloatFlags : public ::testing::Test {
 protected:
  void SetUp() override { ClearFloatStatus(); }
  // Every routine leaves the flags clear, whether it failed or not.
  void TearDown() override {
    EXPECT_EQ(std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW), 0);
  }
};

using Constants = FloatFlags;
TEST_F(Constants, PiIsTheDoubleNearestPi) {
  EXPECT_EQ(Bits(Pi), 0x400921FB54442D18ull);
  EXPECT_EQ(Bits(Pi / 2), 0x3FF921FB54442D18ull);
  EXPECT_EQ(Bits(-Pi / 2), 0xBFF921FB54442D18ull);
  EXPECT_EQ(Bits(2 * Pi), 0x401921FB54442D18ull);
  // 180 / pi correctly rounded, 0x1.ca5dc1a63c1f8p+5.
  EXPECT_EQ(Bits(RadiansToDegrees), 0x404CA5DC1A63C1F8ull);
  // The common angles go in and come back out unchanged.
  for (const double degrees : {45.0, 90.0, 135.0, 150.0, 180.0, -90.0, 270.0, 360.0}) {
    EXPECT_EQ(degrees / RadiansToDegrees * RadiansToDegrees, degrees);
  }
  EXPECT_EQ(90 / RadiansToDegrees, Pi / 2);
  EXPECT_EQ(180 / RadiansToDegrees, Pi);
}

using CheckFloatStatusTest = FloatFlags;
TEST_F(CheckFloatStatusTest, MapsFlagsToErrorNumbers) {
  struct Case {
    int raise;
    int error;
  } cases[] = {{0, 0},
               {FE_OVERFLOW, kErrOverflow},
               {FE_INVALID, kErrOverflow},
               {FE_DIVBYZERO, kErrDivisionByZero},
               {FE_DIVBYZERO | FE_INVALID, kErrDivisionByZero},
               {FE_UNDERFLOW, 0},
               {FE_INEXACT, 0}};
  for (const auto& c : cases) {
    ClearFloatStatus();
    std::feraiseexcept(c.raise);
    int got = 0;
    try {
      CheckFloatStatus();
    } catch (const RuntimeError& e) {
      got = e.number;
    }
    EXPECT_EQ(got, c.error) << c.raise;
    ClearFloatStatus();
  }
}

TEST_F(CheckFloatStatusTest, SeesTheFlagsOfRealArithmetic) {
  volatile double zero = 0, big = 1e300, one = 1;
  const double q = FpDiv(one, zero);
  EXPECT_THROW(CheckFloatStatus(), RuntimeError);
  EXPECT_EQ(q, kInf);
  const double p = FpMul(big, big);
  try {
    CheckFloatStatus();
    ADD_FAILURE() << "overflow not seen";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number, kErrOverflow);
  }
  EXPECT_EQ(p, kInf);
  const double n = FpDiv(zero, zero);
  try {
    CheckFloatStatus();
    ADD_FAILURE() << "invalid not seen";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number, kErrOverflow);
  }
  EXPECT_TRUE(std::isnan(n));
}

struct PolarCase {
  double re, im, magnitude, angle;
};

using RectToPolarTest = FloatFlags;
TEST_F(RectToPolarTest, KnownPoints) {
  const PolarCase cases[] = {
      {3, 4, 5, 0.9272952180016122},
      {-3, 4, 5, 2.214297435588181},
      {-3, -4, 5, -2.214297435588181},
      {3, -4, 5, -0.9272952180016122},
      {0, 0, 0, -1.5707963267948966},
      {0, 2, 2, 1.5707963267948966},
      {0, -2, 2, -1.5707963267948966},
      {-1, 0, 1, 3.141592653589793},
      {-1, -1E-300, 1, 3.141592653589793},
      {1, 1, std::sqrt(2.0), 0.7853981633974483},
      {-1, 1, std::sqrt(2.0), 2.356194490192345},
      // An infinite real part from a failed quotient still has a direction.
      {kInf, 1, kInf, 0},
      {-kInf, 0, kInf, 3.141592653589793},
  };
  for (const auto& c : cases) {
    double m = kSentinel, a = kSentinel;
    RectToPolar(c.re, c.im, m, a);
    EXPECT_TRUE(Same(c.magnitude, m)) << c.re << "," << c.im;
    EXPECT_TRUE(Same(c.angle, a)) << c.re << "," << c.im;
  }
  EXPECT_EQ(0.7853981633974483 * RadiansToDegrees, 45.0);
  EXPECT_EQ(2.356194490192345 * RadiansToDegrees, 135.0);
}

TEST_F(RectToPolarTest, NaNPartGivesNaNPolarForm) {
  for (const auto& [re, im] : {std::pair{kNaN, 1.0}, {1.0, kNaN}, {kNaN, kNaN}, {kNaN, 0.0}}) {
    double m = kSentinel, a = kSentinel;
    RectToPolar(re, im, m, a);
    EXPECT_TRUE(std::isnan(m));
    EXPECT_TRUE(std::isnan(a));
  }
}

TEST_F(RectToPolarTest, OverflowingSquareFailsBeforeWriting) {
  double m = kSentinel, a = kSentinel;
  const double big = 1e200;
  try {
    RectToPolar(big, 0.0, m, a);
    ADD_FAILURE() << "no failure";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number, kErrOverflow);
  }
  EXPECT_EQ(m, kSentinel);
  EXPECT_EQ(a, kSentinel);
}

using MyAtanTest = FloatFlags;
TEST_F(MyAtanTest, FailuresLeaveNaNNotAnOldAngle) {
  struct Case {
    double x, y;
  } cases[] = {{1e-300, 1e300}, {-1e-300, 1e300}, {kInf, kInf}, {kNaN, 1}, {1, kNaN}, {kNaN, 0}};
  for (const auto& c : cases) {
    double a = kSentinel;
    MyAtan(c.x, c.y, a);
    EXPECT_TRUE(std::isnan(a)) << c.x << "," << c.y;
  }
}

TEST_F(MyAtanTest, RangeIsOpenBelowClosedAbove) {
  double a = 0;
  MyAtan(-1.0, -1e-300, a);
  EXPECT_EQ(a, Pi);
  MyAtan(-1.0, -1.0, a);
  EXPECT_GT(a, -Pi);
  EXPECT_LT(a, 1.5707963267948966 - Pi);
  MyAtan(-1.0, 1e-300, a);
  EXPECT_EQ(a, Pi);
}

using PolarToRectTest = FloatFlags;
TEST_F(PolarToRectTest, KnownPoints) {
  const PolarCase cases[] = {
      // re, im from magnitude, angle
      // Correctly rounded cosines and sines of the doubles nearest pi / 2 and pi.
      {3.061616997868383e-16, 5, 5, 1.5707963267948966},
      {3.061616997868383e-16, -5, 5, -1.5707963267948966},
      {-1, 1.2246467991473532e-16, 1, 3.141592653589793},
      {0, 0, 0, 0},
      {2, 0, 2, 0},
  };
  for (const auto& c : cases) {
    double re = kSentinel, im = kSentinel;
    PolarToRect(c.magnitude, c.angle, re, im);
    EXPECT_LE(UlpDistance(c.re, re), kTrigUlps) << c.magnitude << "@" << c.angle << " re " << re;
    EXPECT_LE(UlpDistance(c.im, im), kTrigUlps) << c.magnitude << "@" << c.angle << " im " << im;
  }
}

using CProductTest = FloatFlags;
TEST_F(CProductTest, ProductAndOverflow) {
  double re = kSentinel, im = kSentinel;
  CProduct(1, 2, 3, 4, re, im);
  EXPECT_EQ(re, -5);
  EXPECT_EQ(im, 10);

  re = kSentinel, im = kSentinel;
  const double big = 1e200, zero = 0;
  try {
    CProduct(big, zero, big, zero, re, im);
    ADD_FAILURE() << "no failure";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number, kErrOverflow);
  }
  EXPECT_EQ(re, kInf);       // stored, then checked
  EXPECT_EQ(im, kSentinel);  // never reached

  re = kSentinel, im = kSentinel;
  try {
    CProduct(zero, big, big, zero, re, im);
    ADD_FAILURE() << "no failure";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number, kErrOverflow);
  }
  EXPECT_EQ(re, 0);
  EXPECT_EQ(im, kInf);
}

struct QuotientCase {
  double aRe, aIm, bRe, bIm;
  double re, im;
  std::vector<std::wstring> prompts;
};

const std::wstring kDivPrefix = L"Division by Zero Error Occurred - I was dividing ";

using CQuotientTest = FloatFlags;
TEST_F(CQuotientTest, OutcomeTable) {
  const QuotientCase cases[] = {
      {1, 2, 3, 4, 0.44, 0.08, {}},
      {3, 4, 1, 1, 3.5, 0.5, {}},
      // den underflows; 1E-200 / 0 reported, then 0 / 0 fails silently.
      {1, 0, 1E-200, 0, kInf, kNaN, {kDivPrefix + L"1E-200 by 0"}},
      // Both parts divide a nonzero by zero: two identical reports.
      {2,
       0,
       1E-200,
       1E-200,
       kInf,
       -kInf,
       {kDivPrefix + L"2E-200 by 0", kDivPrefix + L"2E-200 by 0"}},
      // B exactly zero is a division by zero, reported once.
      {5, 7, 0, 0, kNaN, kNaN, {kDivPrefix + L"0 by 0"}},
      {0, 0, 0, 0, kNaN, kNaN, {kDivPrefix + L"0 by 0"}},
      // den overflows: nothing written, nothing reported.
      {1, 1, 1e200, 0, kNaN, kNaN, {}},
      // the product of A and conj(B) overflows.
      {1e300, 0, 1e10, 0, kNaN, kNaN, {}},
      // An overflowing quotient in step 3, step 4 not reached.
      {1e300, 1, 1e-10, 0, kInf, kNaN, {}},
  };
  for (const auto& c : cases) {
    testing::FakeForm1View box;
    double re = kSentinel, im = kSentinel;
    CQuotient(c.aRe, c.aIm, c.bRe, c.bIm, re, im, box, L".");
    SCOPED_TRACE(::testing::Message() << c.aRe << "," << c.aIm << " / " << c.bRe << "," << c.bIm);
    EXPECT_TRUE(Same(c.re, re));
    EXPECT_TRUE(Same(c.im, im));
    ASSERT_EQ(box.messages.size(), c.prompts.size());
    for (std::size_t i = 0; i < c.prompts.size(); ++i) {
      EXPECT_EQ(box.messages[i].prompt, c.prompts[i]);
      EXPECT_EQ(box.messages[i].title, L"Complex Arithmetic Module in Routine CQuotient");
      EXPECT_EQ(box.messages[i].style, kMbOkOnly);
    }
  }
}

TEST_F(CQuotientTest, MessageNumbersUseTheLocaleSeparator) {
  testing::FakeForm1View box;
  double re = 0, im = 0;
  CQuotient(2.5, 0, 1e-200, 0, re, im, box, L",");
  ASSERT_EQ(box.messages.size(), 1u);
  EXPECT_EQ(box.messages[0].prompt, kDivPrefix + L"2,5E-200 by 0");
}

}  // namespace
}  // namespace quorvane
