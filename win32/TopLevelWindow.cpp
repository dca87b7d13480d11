#include "win32/TopLevelWindow.h"

#include "core/Failure.h"
#include "win32/LateBound.h"
#include "win32/UserSettings.h"
#include "win32/WindowClass.h"

namespace quorvane::win32 {
namespace {

FrameMargins MarginsAt(DWORD style, DWORD exStyle, bool menu, int dpi) {
  RECT r{0, 0, 0, 0};
  AdjustWindowRectExForDpi(&r, style, menu, exStyle, static_cast<UINT>(dpi));
  return {-r.left, -r.top, r.right, r.bottom};
}

int MonitorDpi(HMONITOR monitor) {
  UINT x = 0, y = 0;
  try {
    if (SUCCEEDED(late::GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &x, &y)) && y > 0) {
      return static_cast<int>(y);
    }
  } catch (const RuntimeError&) {
  }
  return static_cast<int>(GetDpiForSystem());
}

ScreenRect WorkArea(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
  }
  return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

}  // namespace

bool WindowFrame::Open(const WindowDesign& design, WNDPROC proc, HINSTANCE instance, HICON icon,
                       const wchar_t* title, HWND owner, HMENU menu, void* self) {
  OwnedMenu ownMenu(menu);  // until the window takes it
  if (!RegisterClassOnce(instance, design.className, proc,
                         reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1), icon)) {
    return false;
  }
  design_ = &design;
  const bool hasMenu = menu != nullptr;
  // The monitor that holds the designed rectangle at the system's dpi; placed
  // inside its work area, the window is on that monitor, at its dpi. An owned
  // window opens on its owner's monitor instead.
  const int systemDpi = static_cast<int>(GetDpiForSystem());
  const ScreenRect designed = DesignedWindow(
      design.client, MarginsAt(design.style, design.exStyle, hasMenu, systemDpi), systemDpi);
  const RECT designedRect{designed.left, designed.top, designed.right, designed.bottom};
  HMONITOR home = MonitorFromRect(&designedRect, MONITOR_DEFAULTTONEAREST);
  HMONITOR monitor = owner ? MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST) : home;
  const ScreenRect homeWork = WorkArea(home), work = WorkArea(monitor);
  const int dpi = MonitorDpi(monitor);
  colours_ = WindowColours(UserPalette());
  const auto placed = [&](int at) {
    return PlaceWindow(design.client, MarginsAt(design.style, design.exStyle, hasMenu, at), work,
                       at, homeWork);
  };
  const ScreenRect r = placed(dpi);
  if (!CreateWindowExW(design.exStyle, design.className, title, design.style, r.left, r.top,
                       r.Width(), r.Height(), owner, menu, instance, self)) {
    return false;
  }
  ownMenu.Forget();
  dpi_ = DpiOf(hwnd_);
  // Made at another dpi than its monitor's: sized again, once, at its own.
  if (dpi_ != dpi) {
    const ScreenRect again = placed(dpi_);
    SetWindowPos(hwnd_, nullptr, again.left, again.top, again.Width(), again.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SetColoursOf(hwnd_, &colours_);
  return true;
}

bool WindowFrame::Abandon() {
  DestroyWindow(hwnd_);
  return false;
}

void WindowFrame::ShowTopLevel(int showCommand) {
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
  if (GetActiveWindow() == hwnd_) SetFocus(controls_.Find(design_->firstFocus));
}

bool WindowFrame::HandleFrameMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_GETDPISCALEDSIZE: {
      // The client area at its designed size for the new dpi; the rectangle
      // WM_DPICHANGED then suggests has this size.
      const int dpi = static_cast<int>(wp);
      const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
      const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
      const ScreenRect r = DesignedWindow(
          design_->client, MarginsAt(style, exStyle, GetMenu(hwnd_) != nullptr, dpi), dpi);
      auto* size = reinterpret_cast<SIZE*>(lp);
      size->cx = r.Width();
      size->cy = r.Height();
      result = TRUE;
      return true;
    }
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wp);
      controls_.Scale(dpi_);
      RemeasureMenus();
      const RECT* r = reinterpret_cast<const RECT*>(lp);
      SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      InvalidateRect(hwnd_, nullptr, TRUE);
      result = 0;
      return true;
    }
    case WM_ACTIVATE:
      result = 0;
      return controls_.KeepFocus(hwnd_, wp, controls_.Find(design_->firstFocus));
    default:
      return HandleColourMessage(msg, wp, lp, result);
  }
}

}  // namespace quorvane::win32
