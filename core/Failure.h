// Failures travel as numbered runtime errors: 6 overflow or invalid operation,
// 11 division by zero, 13 type mismatch (text that is not a number), 48 a
// system library that cannot be loaded, 453 an entry point not found in it.
#pragma once

namespace quorvane {

enum : int {
  kErrOverflow = 6,
  kErrDivisionByZero = 11,
  kErrTypeMismatch = 13,
  kErrDllLoad = 48,
  kErrEntryPointNotFound = 453,
};

struct RuntimeError {
  int number;
};

}  // namespace quorvane
