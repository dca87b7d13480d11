// Registers a window class of this module once; a second call finds it and
// leaves it as it is.
#pragma once

#include <windows.h>

namespace quorvane::win32 {

inline bool RegisterClassOnce(HINSTANCE instance, const wchar_t* name, WNDPROC proc,
                              HBRUSH background, HICON icon = nullptr) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(instance, name, &wc)) return true;
  wc = WNDCLASSEXW{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hIconSm = icon;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0;
}

}  // namespace quorvane::win32
