#include "ui/win32/ResultMenu.h"

#include <windowsx.h>

#include <vector>

#include "win32/Clipboard.h"
#include "win32/ContextMenu.h"
#include "win32/EditMenu.h"

namespace quorvane::win32 {
namespace {

// Beside the edit commands' ids, which are their messages' (WM_CUT...).
constexpr UINT kCopyRectangular = 1, kCopyPolar = 2;

}  // namespace

void ShowResultMenu(HWND box, LPARAM lp, ResultRow row, Form1Commands& commands,
                    WindowFrame& window) {
  if (GetFocus() != box) SetFocus(box);
  POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  if (at.x == -1 && at.y == -1) {
    RECT r;
    GetClientRect(box, &r);
    at = {r.right / 2, r.bottom / 2};
    ClientToScreen(box, &at);
  }
  const std::wstring rectangular = commands.RowText(row, ComplexForm::Rectangular);
  const std::wstring polar = commands.RowText(row, ComplexForm::Polar);
  std::vector<MenuLine> lines = {
      {kCopyRectangular, RowCommandCaption(row, ComplexForm::Rectangular, rectangular),
       !rectangular.empty()},
      {kCopyPolar, RowCommandCaption(row, ComplexForm::Polar, polar), !polar.empty()},
      {0, L""},
  };
  for (MenuLine& line : EditMenuLines(box)) lines.push_back(std::move(line));
  const OwnedMenu menu = MakePopupMenu(lines);
  const UINT chosen = menu ? window.TrackPopup(menu.get(), at) : 0;
  if (chosen == kCopyRectangular || chosen == kCopyPolar) {
    // A clipboard held by another program gets nothing, and no message.
    Clipboard(box).SetText(chosen == kCopyRectangular ? rectangular : polar);
  } else {
    RunEditMenuCommand(box, chosen);
  }
}

}  // namespace quorvane::win32
