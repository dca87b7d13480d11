// One small owner per kind of handle (win32/Owner.h), and the device
// context's own scopes: a selection, a paint, a saved state.
#pragma once

#include <windows.h>

#include <utility>

#include "win32/LateBound.h"
#include "win32/Owner.h"

namespace quorvane::win32 {

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

// A device context's state (its objects, colours, modes) saved and put back
// when it goes: what a custom or owner draw changes, it leaves as it found it.
class SavedDc {
 public:
  explicit SavedDc(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~SavedDc() {
    if (saved_) RestoreDC(dc_, saved_);
  }
  SavedDc(const SavedDc&) = delete;
  SavedDc& operator=(const SavedDc&) = delete;

 private:
  HDC dc_;
  int saved_;
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
