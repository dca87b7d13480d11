// Complex arithmetic on parts passed by reference. Each routine writes an
// output into the caller's variable as soon as it is computed, so after a
// failure whatever was written before it stays written.
#pragma once

#include <string>

#include "core/MessageBox.h"

namespace quorvane {

// The double nearest pi; every angle follows from it.
inline constexpr double Pi = 3.141592653589793;
// 180 / Pi. Degrees are divided by it on input, radians multiplied for display.
inline constexpr double RadiansToDegrees = 180 / Pi;

// Throws RuntimeError 11 if the division-by-zero flag is set, else 6 if the
// invalid or overflow flag is set; clears the flags whenever one was set.
void CheckFloatStatus();
// Clears every sticky floating-point flag.
void ClearFloatStatus();

// Fenced arithmetic: the operation is neither hoisted above nor sunk below the
// surrounding calls, so the flags it raises are seen by the check that follows.
double FpAdd(double a, double b);
double FpSub(double a, double b);
double FpMul(double a, double b);
double FpDiv(double a, double b);

// Lets failures pass to the caller.
void RectToPolar(const double& re, const double& im, double& magnitude, double& angle);
void PolarToRect(const double& magnitude, const double& angle, double& re, double& im);
void CProduct(const double& aRe, const double& aIm, const double& bRe, const double& bIm,
              double& re, double& im);

// Absorbs its failures. Division by zero is reported through `box`; an
// output left unwritten by a failure holds NaN, never an earlier number.
void CQuotient(const double& aRe, const double& aIm, const double& bRe, const double& bIm,
               double& re, double& im, IMessageBox& box, std::wstring_view decimalSep);

// Angle of (x, y) in (-Pi, Pi]; absorbs its failures, leaving NaN if it could
// not compute the angle. A NaN coordinate gives a NaN angle.
void MyAtan(const double& x, const double& y, double& angle);

}  // namespace quorvane
