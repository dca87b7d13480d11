#include "core/ComplexMath.h"

#include <cfenv>
#include <cmath>
#include <limits>

#include "core/Failure.h"
#include "core/NumericText.h"
#include "core/Trig.h"

namespace quorvane {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// GCC does not honour FENV_ACCESS: without these fences it may move an
// operation across the flag test that is meant to see its exceptions. The
// memory clobber pins the fence between the surrounding calls.
inline void Fence(double& a, double& b) { asm volatile("" : "+x"(a), "+x"(b)::"memory"); }
inline double Fenced(double r) {
  asm volatile("" : "+x"(r)::"memory");
  return r;
}

}  // namespace

void ClearFloatStatus() { std::feclearexcept(FE_ALL_EXCEPT); }

void CheckFloatStatus() {
  const int raised = std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
  if (raised == 0) return;
  ClearFloatStatus();
  throw RuntimeError{(raised & FE_DIVBYZERO) ? kErrDivisionByZero : kErrOverflow};
}

double FpAdd(double a, double b) {
  Fence(a, b);
  return Fenced(a + b);
}
double FpSub(double a, double b) {
  Fence(a, b);
  return Fenced(a - b);
}
double FpMul(double a, double b) {
  Fence(a, b);
  return Fenced(a * b);
}
double FpDiv(double a, double b) {
  Fence(a, b);
  return Fenced(a / b);
}

void RectToPolar(const double& re, const double& im, double& magnitude, double& angle) {
  const double s = FpAdd(FpMul(im, im), FpMul(re, re));
  CheckFloatStatus();
  magnitude = Fenced(std::sqrt(s));
  MyAtan(re, im, angle);
}

void PolarToRect(const double& magnitude, const double& angle, double& re, double& im) {
  re = FpMul(Fenced(Cosine(angle)), magnitude);
  CheckFloatStatus();
  im = FpMul(Fenced(Sine(angle)), magnitude);
  CheckFloatStatus();
}

void CProduct(const double& aRe, const double& aIm, const double& bRe, const double& bIm,
              double& re, double& im) {
  re = FpSub(FpMul(aRe, bRe), FpMul(aIm, bIm));
  CheckFloatStatus();
  im = FpAdd(FpMul(aIm, bRe), FpMul(aRe, bIm));
  CheckFloatStatus();
}

void CQuotient(const double& aRe, const double& aIm, const double& bRe, const double& bIm,
               double& re, double& im, IMessageBox& box, std::wstring_view decimalSep) {
  double den = 0;
  double tRe = 0;
  double tIm = 0;
  const auto report = [&] {
    std::wstring prompt = L"Division by Zero Error Occurred - I was dividing ";
    prompt += NumberToText(tRe, decimalSep);
    prompt += L" by ";
    prompt += NumberToText(den, decimalSep);
    box.Show(prompt, kMbOkOnly, L"Complex Arithmetic Module in Routine CQuotient");
    // The box runs window code that may leave flags of its own behind.
    ClearFloatStatus();
  };
  // Each step that fails silently leaves NaN in what it did not write.
  int step = 1;
  try {
    den = FpAdd(FpMul(bRe, bRe), FpMul(bIm, bIm));
    CheckFloatStatus();
    step = 2;
    const double negIm = -bIm;
    CProduct(aRe, aIm, bRe, negIm, tRe, tIm);
    if (bRe == 0 && bIm == 0) {
      // 0 / 0 would pass as an invalid operation without a word; dividing by
      // a zero B is a division by zero and is reported as one.
      re = kNaN;
      im = kNaN;
      report();
      return;
    }
    step = 3;
    re = FpDiv(tRe, den);
    try {
      CheckFloatStatus();
    } catch (const RuntimeError& e) {
      if (e.number != kErrDivisionByZero) throw;
      report();
    }
    step = 4;
    im = FpDiv(tIm, den);
    try {
      CheckFloatStatus();
    } catch (const RuntimeError& e) {
      if (e.number != kErrDivisionByZero) throw;
      report();
    }
  } catch (const RuntimeError&) {
    ClearFloatStatus();
    if (step < 3) re = kNaN;
    if (step < 4) im = kNaN;
  }
}

void MyAtan(const double& x, const double& y, double& angle) {
  if (std::isnan(x) || std::isnan(y)) {
    angle = kNaN;
    return;
  }
  try {
    if (x != 0) {
      if (x > 0) {
        const double q = FpDiv(y, x);
        angle = kNaN;  // not yet written: a failed division leaves no number
        CheckFloatStatus();
        angle = Fenced(std::atan(q));
      } else {
        const double q = FpDiv(y, x);
        angle = kNaN;
        CheckFloatStatus();
        angle = FpAdd(Fenced(std::atan(q)), Pi);
        CheckFloatStatus();
      }
      if (angle > Pi) {
        angle = FpSub(angle, FpMul(2.0, Pi));
        CheckFloatStatus();
      }
      return;
    }
    angle = y > 0 ? Pi / 2 : -Pi / 2;
    CheckFloatStatus();
  } catch (const RuntimeError&) {
    ClearFloatStatus();
  }
}

}  // namespace quorvane
