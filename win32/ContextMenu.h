// A context menu shown for a control and followed until the user chooses a
// command or leaves it. In the dark palette the program draws every line in
// the palette's menu colours, each keeping its caption for screen readers
// (MSAAMENUINFO) and its access key (WM_MENUCHAR); otherwise it is Windows'
// own menu, as every other context menu is.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <oleacc.h>

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "win32/Owned.h"
#include "win32/Brushes.h"

namespace quorvane::win32 {

// A command (id above 0) with its caption, "&" before its access key, and
// whether it can be chosen now; or a separator (id 0).
struct MenuLine {
  UINT id;
  std::wstring caption;
  bool enabled = true;
};

class ContextMenu {
 public:
  // Shows `lines` at `at` (screen coordinates) for `owner`, in the colours of
  // owner's top-level window, and returns the id chosen, or 0. While it
  // shows, owner's WM_MEASUREITEM, WM_DRAWITEM and WM_MENUCHAR must reach
  // OnMessage.
  UINT Track(HWND owner, POINT at, std::span<const MenuLine> lines);
  // True, with its answer, for a message of the menu being shown.
  bool OnMessage(HWND owner, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) const;

 private:
  struct Item {
    MSAAMENUINFO accessible;  // first, where screen readers look for it
    std::wstring caption;
    bool separator;
    bool enabled;
  };
  bool Measure(HWND owner, MEASUREITEMSTRUCT& m) const;
  bool Draw(const DRAWITEMSTRUCT& d) const;
  LRESULT MenuChar(wchar_t key) const;

  const WindowColours* colours_ = nullptr;  // while a dark menu shows
  OwnedFont font_;
  int dpi_ = 96;
  std::vector<std::unique_ptr<Item>> items_;
};

}  // namespace quorvane::win32
