// Failures travel as numbered runtime errors. Every number the program
// raises or reports is named here.
#pragma once

namespace quorvane {

enum : int {
  kErrInvalidCall = 5,  // a call that cannot be made, such as a cut of no data
  kErrOverflow = 6,     // also an invalid floating-point operation
  kErrOutOfMemory = 7,
  kErrDivisionByZero = 11,
  kErrTypeMismatch = 13,         // text that is not a number
  kErrDllLoad = 48,              // a system library that cannot be loaded
  kErrInternal = 51,             // a failure that carries no number of its own
  kErrEntryPointNotFound = 453,  // an entry point not found in its library
};

struct RuntimeError {
  int number;
};

}  // namespace quorvane
