// The menus a window shows, drawn by the program in dark mode: every item of
// the menu bar and its menus, and of any other popup menu the window tracks
// (a context menu), owner-drawn with its caption kept for screen readers
// (MSAAMENUINFO). In any other palette they are Windows' own again.
//
// A window gives its popup menu over before tracking it, and takes it back
// before destroying it:
//   menus.Apply(popup, colours);
//   TrackPopupMenu(popup, flags, x, y, 0, window, nullptr);
//   menus.Forget(popup);
//   DestroyMenu(popup);
// and answers WM_MEASUREITEM, WM_DRAWITEM and WM_MENUCHAR through Measure,
// Draw and MenuChar, which take the items of every menu given over and no
// others.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <oleacc.h>

#include <memory>
#include <string>
#include <vector>

#include "win32/Brushes.h"

namespace quorvane::win32 {

class MenuColours {
 public:
  // Owner-draws every item of the menu bar `bar` and of its menus in the
  // dark palette, or gives them back to Windows in any other.
  void ApplyToBar(HMENU bar, const WindowColours& colours);
  // The same for a popup menu not on the bar, and its submenus.
  void Apply(HMENU popup, const WindowColours& colours);
  // Every menu given over, in `colours`: the bar's and the popups' alike.
  void Recolour(const WindowColours& colours);
  // Every menu given over, given back to Windows and owner-drawn again, so
  // that Windows measures its items anew: at a new dpi, in a new menu font.
  void Remeasure();
  // `menu` is about to be destroyed: its items are let go, as they are.
  void Forget(HMENU menu);

  // WM_MEASUREITEM and WM_DRAWITEM for the items of `window`'s menus, at the
  // window's `dpi`; false for any other item.
  bool Measure(HWND window, int dpi, MEASUREITEMSTRUCT& item) const;
  bool Draw(const DRAWITEMSTRUCT& item, const WindowColours& colours, int dpi) const;
  // WM_MENUCHAR: the enabled item of `menu` whose access letter is `key`,
  // chosen; false for a menu not given over.
  bool MenuChar(HMENU menu, wchar_t key, LRESULT& result) const;

 private:
  struct Item {
    MSAAMENUINFO accessible;  // first, where screen readers look for it
    std::wstring caption;
    bool onBar;
    bool separator;
  };
  struct Menu {
    HMENU menu;
    bool bar;
    std::vector<std::unique_ptr<Item>> items;
  };
  void Take(HMENU menu, bool bar, const WindowColours& colours);
  static void OwnerDraw(Menu& menu, HMENU from, bool onBar);
  static void GiveBack(HMENU menu);
  const Item* Find(ULONG_PTR data) const;

  std::vector<Menu> menus_;
};

}  // namespace quorvane::win32
