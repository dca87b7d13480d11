#include "win32/ContextMenu.h"

#include <algorithm>
#include <cwctype>

#include "win32/ControlSet.h"

namespace quorvane::win32 {
namespace {

// The gutter left of the captions, and as much right of them, at 96 dpi.
constexpr int kPad = 24;
constexpr int kSeparatorHeight = 9;

OwnedFont MenuFont(int dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                             static_cast<UINT>(dpi));
  return OwnedFont(CreateFontIndirectW(&metrics.lfMenuFont));
}

// The access key of a caption, the character after a single "&", or 0.
wchar_t AccessKey(const std::wstring& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] != L'&') return static_cast<wchar_t>(std::towupper(caption[i + 1]));
    ++i;
  }
  return 0;
}

}  // namespace

UINT ContextMenu::Track(HWND owner, POINT at, std::span<const MenuLine> lines) {
  const WindowColours* colours = ColoursOf(owner);
  const bool dark = colours && colours->Dark();
  OwnedMenu menu(CreatePopupMenu());
  if (!menu) return 0;
  for (const MenuLine& line : lines) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE;
    mii.wID = line.id;
    mii.fState = line.enabled ? MFS_ENABLED : MFS_GRAYED;
    mii.fType = line.id ? MFT_STRING : MFT_SEPARATOR;
    if (dark) {
      auto item = std::make_unique<Item>(Item{{}, line.caption, line.id == 0, line.enabled});
      item->accessible = {MSAA_MENU_SIG, static_cast<DWORD>(item->caption.size()),
                          item->caption.data()};
      mii.fMask |= MIIM_DATA;
      mii.fType |= MFT_OWNERDRAW;
      mii.dwItemData = reinterpret_cast<ULONG_PTR>(item.get());
      items_.push_back(std::move(item));
    } else if (line.id) {
      mii.fMask |= MIIM_STRING;
      mii.dwTypeData = const_cast<wchar_t*>(line.caption.c_str());
    }
    InsertMenuItemW(menu.get(), GetMenuItemCount(menu.get()), TRUE, &mii);
  }
  if (dark) {
    MENUINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIM_BACKGROUND;
    info.hbrBack = colours->Brush(colours->palette().menu);
    SetMenuInfo(menu.get(), &info);
    colours_ = colours;
    dpi_ = DpiOf(owner);
    font_ = MenuFont(dpi_);
  }
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenuEx(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                       at.x, at.y, owner, nullptr));
  colours_ = nullptr;
  items_.clear();
  return chosen;
}

bool ContextMenu::OnMessage(HWND owner, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) const {
  if (!colours_) return false;
  switch (msg) {
    case WM_MEASUREITEM:
      result = TRUE;
      return Measure(owner, *reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
    case WM_DRAWITEM:
      result = TRUE;
      return Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
    case WM_MENUCHAR:
      // Windows finds no access key in a line it does not draw itself.
      result = MenuChar(static_cast<wchar_t>(std::towupper(LOWORD(wp))));
      return true;
    default:
      return false;
  }
}

bool ContextMenu::Measure(HWND owner, MEASUREITEMSTRUCT& m) const {
  if (m.CtlType != ODT_MENU || !m.itemData) return false;
  const auto& item = *reinterpret_cast<const Item*>(m.itemData);
  if (item.separator) {
    m.itemWidth = 0;
    m.itemHeight = static_cast<UINT>(MulDiv(kSeparatorHeight, dpi_, 96));
    return true;
  }
  HDC dc = GetDC(owner);
  RECT r{};
  {
    const Selected font(dc, font_.get());
    DrawTextW(dc, item.caption.c_str(), static_cast<int>(item.caption.size()), &r,
              DT_CALCRECT | DT_SINGLELINE);
  }
  ReleaseDC(owner, dc);
  m.itemWidth = static_cast<UINT>(r.right + 2 * MulDiv(kPad, dpi_, 96));
  m.itemHeight = static_cast<UINT>(std::max<int>(
      r.bottom + MulDiv(8, dpi_, 96), GetSystemMetricsForDpi(SM_CYMENU, static_cast<UINT>(dpi_))));
  return true;
}

bool ContextMenu::Draw(const DRAWITEMSTRUCT& d) const {
  if (d.CtlType != ODT_MENU || !d.itemData) return false;
  const auto& item = *reinterpret_cast<const Item*>(d.itemData);
  const Palette& p = colours_->palette();
  RECT r = d.rcItem;
  FillRect(d.hDC, &r, colours_->Brush((d.itemState & ODS_SELECTED) ? p.menuHot : p.menu));
  const int pad = MulDiv(kPad, dpi_, 96);
  if (item.separator) {
    RECT line{r.left + pad, (r.top + r.bottom) / 2, r.right - pad / 3, (r.top + r.bottom) / 2 + 1};
    FillRect(d.hDC, &line, colours_->Brush(p.hilight));
    return true;
  }
  const Selected font(d.hDC, font_.get());
  SetBkMode(d.hDC, TRANSPARENT);
  // A line that cannot be chosen in the grey of the buttons' outlines.
  SetTextColor(d.hDC, colours_->Colour(item.enabled ? p.menuText : p.buttonEdge));
  r.left += pad;
  // The access key underlined only while the keyboard is in use.
  DrawTextW(
      d.hDC, item.caption.c_str(), static_cast<int>(item.caption.size()), &r,
      DT_LEFT | DT_SINGLELINE | DT_VCENTER | ((d.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0));
  return true;
}

LRESULT ContextMenu::MenuChar(wchar_t key) const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const Item& item = *items_[i];
    if (item.enabled && !item.separator && AccessKey(item.caption) == key) {
      return MAKELRESULT(i, MNC_EXECUTE);
    }
  }
  return MAKELRESULT(0, MNC_IGNORE);
}

}  // namespace quorvane::win32
