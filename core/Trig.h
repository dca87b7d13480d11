// Sine and cosine computed by the program itself in plain double arithmetic,
// so that every runtime gives the same bits. The mingw-w64 runtime's sin and
// cos use the x87 unit and are off by several units in the last place near
// the program's 90 degrees.
#pragma once

namespace quorvane {

double Sine(double x);
double Cosine(double x);

}  // namespace quorvane
