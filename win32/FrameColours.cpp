// When the window base follows the palette: at creation, at every notice
// from Windows of a new app mode, colour scheme or theme (one recolouring a
// change), and at a new dpi or menu font for the menus. And, in dark mode,
// what the base answers or draws for the window and its controls, the
// window's own answers asked first.
#include "win32/DarkPainters.h"
#include "win32/TitleBarAndTooltip.h"
#include "win32/TopLevelWindow.h"
#include "win32/UserSettings.h"

namespace quorvane::win32 {
namespace {

// Posted to the window itself for the recolouring that a change calls for.
UINT RecolourMessage() {
  static const UINT message = RegisterWindowMessageW(L"Quorvane.Recolour");
  return message;
}

bool IsControlColour(UINT msg) {
  return msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLORBTN ||
         msg == WM_CTLCOLORDLG || msg == WM_CTLCOLORLISTBOX || msg == WM_CTLCOLORSCROLLBAR;
}

}  // namespace

void WindowFrame::ColourControls() { TakePalette(colours_.palette(), false); }

void WindowFrame::ForgetColours() { SetColoursOf(hwnd_, nullptr); }

LRESULT WindowFrame::OnControlColour(UINT, HDC, HWND) { return 0; }

void WindowFrame::QueueRecolour() {
  if (!recolourQueued_) recolourQueued_ = PostMessageW(hwnd_, RecolourMessage(), 0, 0) != FALSE;
}

void WindowFrame::TakePalette(const Palette& palette, bool change) {
  WindowColours next(palette);
  const bool wasDark = change && colours_.Dark();
  if (next.Dark() || wasDark) {
    SetDarkTitleBar(hwnd_, next.Dark(), change && next.Dark() != wasDark && IsWindowVisible(hwnd_));
  }
  ColourTooltip(controls_.Tooltip(), next, wasDark);
  menus_.ApplyToBar(GetMenu(hwnd_), next);
  menus_.Recolour(next);       // and the popup menus given over
  colours_ = std::move(next);  // only now are the old brushes released
  // The menu bar changed after the window was made: drawn again.
  if (!change) {
    if (colours_.Dark()) DrawMenuBar(hwnd_);
    return;
  }
  OnRecoloured();
  DrawMenuBar(hwnd_);
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

UINT WindowFrame::TrackPopup(HMENU popup, POINT at) {
  menus_.Apply(popup, colours_);
  const auto chosen = static_cast<UINT>(
      TrackPopupMenuEx(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, hwnd_, nullptr));
  menus_.Forget(popup);
  return chosen;
}

void WindowFrame::RemeasureMenus() {
  if (!colours_.Dark()) return;
  menus_.Remeasure();
  DrawMenuBar(hwnd_);
}

bool WindowFrame::HandleColourMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg == RecolourMessage()) {
    recolourQueued_ = false;
    TakePalette(UserPalette(), true);
    result = 0;
    return true;
  }
  switch (msg) {
    case WM_SETTINGCHANGE:
      // The app mode, or the menu font; the window sees the message after
      // this too.
      if (lp && lstrcmpiW(reinterpret_cast<const wchar_t*>(lp), L"ImmersiveColorSet") == 0) {
        QueueRecolour();
      } else if (wp == SPI_SETNONCLIENTMETRICS) {
        RemeasureMenus();
      }
      return false;
    case WM_SYSCOLORCHANGE:
      // Passed on to the controls, which the common controls need.
      EnumChildWindows(
          hwnd_,
          [](HWND child, LPARAM) {
            SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
            return TRUE;
          },
          0);
      QueueRecolour();
      return false;
    case WM_THEMECHANGED:
      QueueRecolour();
      return false;
    case WM_MEASUREITEM:
      result = TRUE;
      return menus_.Measure(hwnd_, dpi_, *reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
    case WM_DRAWITEM:
      result = TRUE;
      return menus_.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp), colours_, dpi_);
    case WM_MENUCHAR:
      // Windows finds no access letter in an item it does not draw itself.
      return menus_.MenuChar(reinterpret_cast<HMENU>(lp), LOWORD(wp), result);
    default:
      break;
  }
  if (IsControlColour(msg)) {
    const auto dc = reinterpret_cast<HDC>(wp);
    result = OnControlColour(msg, dc, reinterpret_cast<HWND>(lp));
    if (result) return true;
  }
  // Only in dark mode does the program colour what Windows would draw light.
  if (!colours_.Dark()) return false;
  const Palette& p = colours_.palette();
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT rc;
      GetClientRect(hwnd_, &rc);
      FillRect(reinterpret_cast<HDC>(wp), &rc, colours_.Brush(p.face));
      result = TRUE;
      return true;
    }
    case WM_CTLCOLOREDIT:
      result = colours_.Answer(reinterpret_cast<HDC>(wp), p.inputText, p.input);
      return true;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
      result = colours_.Answer(reinterpret_cast<HDC>(wp), p.text, p.face);
      return true;
    case WM_NOTIFY: {
      auto* draw = reinterpret_cast<NMCUSTOMDRAW*>(lp);
      if (draw->hdr.code != NM_CUSTOMDRAW || draw->hdr.hwndFrom == controls_.Tooltip()) {
        return false;
      }
      result = DrawButton(*draw, colours_);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace quorvane::win32
