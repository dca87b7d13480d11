// One small owner per kind of handle: it releases the handle when it goes out
// of scope, failure or not, and can be moved but not copied. An owner that
// holds nothing (the null handle) releases nothing.
#pragma once

#include <windows.h>

#include <utility>

#include "win32/LateBound.h"

namespace quorvane::win32 {

template <class Handle, void (*Release)(Handle)>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  ~Owned() { Reset(); }
  Owned(Owned&& other) noexcept : handle_(other.Forget()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) Reset(other.Forget());
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }
  // Releases what is held and takes `handle` instead.
  void Reset(Handle handle = Handle{}) {
    if (handle_ != Handle{}) Release(handle_);
    handle_ = handle;
  }
  // For a call that writes a new handle: whatever was held is released first.
  Handle* out() {
    Reset();
    return &handle_;
  }
  // Gives the handle up without releasing it.
  Handle Forget() { return std::exchange(handle_, Handle{}); }

 private:
  Handle handle_{};
};

namespace release {
inline void Gdi(HGDIOBJ object) { DeleteObject(object); }
inline void Font(HFONT font) { Gdi(font); }
inline void Bitmap(HBITMAP bitmap) { Gdi(bitmap); }
inline void Brush(HBRUSH brush) { Gdi(brush); }
inline void MemoryDc(HDC dc) { DeleteDC(dc); }
inline void Menu(HMENU menu) { DestroyMenu(menu); }
inline void Kernel(HANDLE handle) { CloseHandle(handle); }
inline void Search(HANDLE search) { FindClose(search); }
// RegCloseKey is bound at first use; a key that cannot be closed leaves
// nothing to report, and a destructor may not throw.
inline void Key(HKEY key) {
  try {
    late::RegCloseKey(key);
  } catch (...) {
  }
}
}  // namespace release

using OwnedFont = Owned<HFONT, release::Font>;
using OwnedBitmap = Owned<HBITMAP, release::Bitmap>;
using OwnedBrush = Owned<HBRUSH, release::Brush>;
using OwnedMemoryDc = Owned<HDC, release::MemoryDc>;
using OwnedMenu = Owned<HMENU, release::Menu>;
using OwnedHandle = Owned<HANDLE, release::Kernel>;
// FindFirstFileW reports failure as INVALID_HANDLE_VALUE: test for it first.
using OwnedSearch = Owned<HANDLE, release::Search>;
using OwnedKey = Owned<HKEY, release::Key>;

// A GDI object selected into a device context, put back when it goes.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selected() { SelectObject(dc_, old_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// BeginPaint and EndPaint as one scope.
class Painting {
 public:
  explicit Painting(HWND window) : window_(window) { dc_ = BeginPaint(window, &ps_); }
  ~Painting() { EndPaint(window_, &ps_); }
  Painting(const Painting&) = delete;
  Painting& operator=(const Painting&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

}  // namespace quorvane::win32
