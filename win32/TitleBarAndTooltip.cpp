#include "win32/TitleBarAndTooltip.h"

#include <commctrl.h>

#include "core/Failure.h"
#include "win32/LateBound.h"

namespace quorvane::win32 {
namespace {

// DWMWA_USE_IMMERSIVE_DARK_MODE: documented from Windows 11 build 22000,
// which repaints the title bar when it changes. Windows 10 version 2004 to
// 22H2 (builds 19041 to 19045) accept the same value in practice, though it
// is documented only for Windows 11; builds before 18985 refuse it, and
// there the title bar stays light. The program sends no other value.
constexpr DWORD kUseImmersiveDarkMode = 20;
constexpr DWORD kFirstWindows11Build = 22000;

// Through the version helper, which reports the true version since the
// program's manifest declares Windows 10 and 11 (supportedOS) among the
// systems it supports.
bool Windows11OrLater() {
  static const bool later = [] {
    OSVERSIONINFOEXW v{};
    v.dwOSVersionInfoSize = sizeof v;
    v.dwMajorVersion = 10;
    v.dwMinorVersion = 0;
    v.dwBuildNumber = kFirstWindows11Build;
    DWORDLONG mask = 0;
    mask = VerSetConditionMask(mask, VER_MAJORVERSION, VER_GREATER_EQUAL);
    mask = VerSetConditionMask(mask, VER_MINORVERSION, VER_GREATER_EQUAL);
    mask = VerSetConditionMask(mask, VER_BUILDNUMBER, VER_GREATER_EQUAL);
    return VerifyVersionInfoW(&v, VER_MAJORVERSION | VER_MINORVERSION | VER_BUILDNUMBER, mask) !=
           FALSE;
  }();
  return later;
}

}  // namespace

void SetDarkTitleBar(HWND window, bool dark, bool repaint) {
  const BOOL value = dark ? TRUE : FALSE;
  try {
    if (FAILED(late::DwmSetWindowAttribute(window, kUseImmersiveDarkMode, &value, sizeof value))) {
      return;
    }
  } catch (const RuntimeError&) {
    return;
  }
  if (!repaint || Windows11OrLater()) return;
  // Windows 10 draws the new colour at the next change of activation only:
  // the title bar is drawn once in the other state and once again in the
  // window's own, which it keeps.
  WINDOWINFO info{};
  info.cbSize = sizeof info;
  const bool active = GetWindowInfo(window, &info) && (info.dwWindowStatus & WS_ACTIVECAPTION);
  SendMessageW(window, WM_NCACTIVATE, active ? FALSE : TRUE, 0);
  SendMessageW(window, WM_NCACTIVATE, active ? TRUE : FALSE, 0);
}

void ColourTooltip(HWND tip, const WindowColours& colours, bool wasDark) {
  if (!tip || (!colours.Dark() && !wasDark)) return;
  const Palette& p = colours.palette();
  try {
    // A themed tooltip draws in the theme's colours, whatever it is told.
    if (colours.Dark()) {
      late::SetWindowTheme(tip, L"", L"");
    } else {
      late::SetWindowTheme(tip, nullptr, nullptr);
    }
  } catch (const RuntimeError&) {
  }
  SendMessageW(tip, TTM_SETTIPBKCOLOR, colours.Colour(p.tip), 0);
  SendMessageW(tip, TTM_SETTIPTEXTCOLOR, colours.Colour(p.tipText), 0);
}

}  // namespace quorvane::win32
