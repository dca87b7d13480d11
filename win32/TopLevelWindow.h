// What every top-level window of the program does alike, done once: it is
// created at its final rectangle on its monitor, at that monitor's dpi and
// inside its work area, with the controls of its table; its client area keeps
// its designed size across dpi changes; the focus comes back to the control
// that had it; its controls are let go when it is destroyed. A window derives
// from TopLevelWindow<Itself> and brings its table, its commands and its paint:
// OnMessage(msg, wp, lp) for every other message, OnDestroyed() at the end.
#pragma once

#include <windows.h>

#include <span>

#include "win32/Brushes.h"
#include "win32/ControlSet.h"
#include "win32/DarkMenus.h"
#include "win32/OwnedWindowProc.h"
#include "win32/WindowPlacement.h"

namespace quorvane::win32 {

// A window as designed.
struct WindowDesign {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
  DesignedClient client;
  int firstFocus;  // id of the control that has the focus first
};

// The part of the base that does not depend on the window class.
class WindowFrame {
 public:
  HWND hwnd() const { return hwnd_; }
  int Dpi() const { return dpi_; }
  // Shows the popup menu `popup` at `at` (screen coordinates) for the
  // window, drawn in its colours, and returns the command chosen, or 0.
  // The popup stays the caller's.
  UINT TrackPopup(HMENU popup, POINT at);

 protected:
  WindowFrame() = default;
  ~WindowFrame() = default;
  WindowFrame(const WindowFrame&) = delete;
  WindowFrame& operator=(const WindowFrame&) = delete;

  // Registers the class in `instance` and creates the window, owned by
  // `owner` (may be null) with the menu bar `menu` (may be null; the call
  // takes it, and destroys it if it cannot be made). False when either fails.
  bool Open(const WindowDesign& design, WNDPROC proc, HINSTANCE instance, HICON icon,
            const wchar_t* title, HWND owner, HMENU menu, void* self);
  // The controls could not all be made: the window goes, and false.
  bool Abandon();
  // Shows the window; the first control gets the focus only if the window
  // was activated, since setting the focus would activate it.
  void ShowTopLevel(int showCommand);
  // WM_GETDPISCALEDSIZE, WM_DPICHANGED and WM_ACTIVATE, and the colours and
  // drawing of the window and its controls; true when handled.
  bool HandleFrameMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  // The controls are made: they, the title bar and the menus take the
  // window's colours.
  void ColourControls();
  // The window is going: nothing looks up its colours any more.
  void ForgetColours();
  // The window has taken the palette now in force; what it drew itself from
  // the old one must follow.
  virtual void OnRecoloured() {}
  // The window's own answer to a WM_CTLCOLOR* message from `control`, asked
  // first: a brush, with the colours set in `dc`, or 0 for the palette's
  // (in light mode and high contrast, Windows' own).
  virtual LRESULT OnControlColour(UINT msg, HDC dc, HWND control);

  HWND hwnd_ = nullptr;
  int dpi_ = 96;
  ControlSet controls_;
  WindowColours colours_;
  // The menus drawn in the window's colours: the bar, and any popup menu the
  // window gives over before it tracks it (see win32/DarkMenus.h).
  MenuColours menus_;

 private:
  // WM_CTLCOLOR*, WM_ERASEBKGND, NM_CUSTOMDRAW, the menus' items, and the
  // messages by which Windows tells of a new palette or menu font.
  bool HandleColourMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  // One recolouring for any number of notices of one change: the first
  // posts it, and the others find it on its way.
  void QueueRecolour();
  // The palette `palette` on the window, its title bar, menus, tooltip and
  // controls, with new brushes: at creation, and at every `change` after.
  void TakePalette(const Palette& palette, bool change);
  // The items of the menus measured again by Windows (a new dpi or font).
  void RemeasureMenus();

  const WindowDesign* design_ = nullptr;
  bool recolourQueued_ = false;
};

template <class Derived>
class TopLevelWindow : public WindowFrame {
 protected:
  // Creates the window and its controls from `rows` and `fonts` (which, as
  // `design`, outlive the window). False, with no window left, when the
  // window or one of its controls cannot be made.
  template <class Rows>
  bool CreateTopLevel(const WindowDesign& design, const Rows& rows, std::span<const FontRow> fonts,
                      const wchar_t* title, HINSTANCE instance, HWND owner = nullptr,
                      HMENU menu = nullptr, HICON icon = nullptr) {
    if (!Open(design, OwnedWindowProc<TopLevelWindow>, instance, icon, title, owner, menu,
              static_cast<TopLevelWindow*>(this))) {
      return false;
    }
    if (!controls_.Create(hwnd_, rows, fonts, dpi_)) return Abandon();
    ColourControls();
    return true;
  }

 private:
  friend LRESULT CALLBACK OwnedWindowProc<TopLevelWindow>(HWND, UINT, WPARAM, LPARAM);

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    auto& self = static_cast<Derived&>(*this);
    if (msg == WM_NCDESTROY) {
      // The controls and the tooltip, which the window owns, went before it.
      controls_.Forget();
      ForgetColours();
      self.OnDestroyed();
      return DefWindowProcW(hwnd_, msg, wp, lp);
    }
    LRESULT result = 0;
    if (HandleFrameMessage(msg, wp, lp, result)) return result;
    return self.OnMessage(msg, wp, lp);
  }
};

}  // namespace quorvane::win32
