// The window procedure of a class whose windows each belong to one C++
// object: the object arrives as the creation parameter with WM_NCCREATE, is
// kept in the window's user data and handles every message after, up to
// WM_NCDESTROY, when the object lets go of the window. Nothing may unwind
// through the system's code, so a failure drops the message.
#pragma once

#include <windows.h>

namespace quorvane::win32 {

template <class Owner>
LRESULT CALLBACK OwnedWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Owner* self;
  if (msg == WM_NCCREATE) {
    self = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Owner*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  LRESULT result = 0;
  try {
    result = self->HandleMessage(msg, wp, lp);
  } catch (...) {
  }
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

}  // namespace quorvane::win32
