// Windows functions bound by library and entry-point name at their first call
// and kept for the run. A failed bind is an ordinary numbered failure
// (RuntimeError 48 when the library cannot be loaded, 453 when it lacks the
// entry point) for the caller's handler. Nothing is remembered of a failure:
// every function here, the accessibility ones included, is bound afresh at
// its next call, and a library loaded for an entry point it lacks is freed
// again at once.
#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <dwmapi.h>
#include <oleacc.h>
#include <shellapi.h>
#include <shellscalingapi.h>
#include <uxtheme.h>

namespace quorvane::win32 {

// The one list: library, entry point.
#define QUORVANE_LATE_BOUND(X)                \
  X(L"user32.dll", GetDesktopWindow)          \
  X(L"shell32.dll", ShellExecuteW)            \
  X(L"advapi32.dll", RegOpenKeyExW)           \
  X(L"advapi32.dll", RegQueryValueExW)        \
  X(L"advapi32.dll", RegCloseKey)             \
  X(L"oleacc.dll", CreateStdAccessibleObject) \
  X(L"oleacc.dll", LresultFromObject)         \
  X(L"oleaut32.dll", SysAllocString)          \
  X(L"shcore.dll", GetDpiForMonitor)          \
  X(L"dwmapi.dll", DwmSetWindowAttribute)     \
  X(L"uxtheme.dll", SetWindowTheme)

enum class Api : int {
#define X(library, name) name,
  QUORVANE_LATE_BOUND(X)
#undef X
};

// The address of api, binding it on first use; throws RuntimeError.
void* Bind(Api api);

// Test seams. Rename makes the next bind look for another library or entry
// point (nullptr keeps that part); Replace makes api resolve to fn without
// loading anything (nullptr undoes both). Each resets what was bound.
void RenameForTest(Api api, const wchar_t* library, const char* entry);
void ReplaceForTest(Api api, void* fn);

namespace late {
#define X(library, name)                                                  \
  template <class... Args>                                                \
  auto name(Args... args) {                                               \
    return reinterpret_cast<decltype(&::name)>(Bind(Api::name))(args...); \
  }
QUORVANE_LATE_BOUND(X)
#undef X
}  // namespace late

}  // namespace quorvane::win32
