#include "win32/DarkMenus.h"

#include <algorithm>
#include <cwctype>
#include <utility>

#include "win32/DarkPainters.h"

namespace quorvane::win32 {
namespace {

OwnedFont MenuFont(int dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                             static_cast<UINT>(dpi));
  return OwnedFont(CreateFontIndirectW(&metrics.lfMenuFont));
}

// The menu's background, which Windows paints around the items (the bar
// right of its last title among them); null gives Windows' own back.
void SetBackground(HMENU menu, HBRUSH brush) {
  MENUINFO info{};
  info.cbSize = sizeof info;
  info.fMask = MIM_BACKGROUND | MIM_APPLYTOSUBMENUS;
  info.hbrBack = brush;
  SetMenuInfo(menu, &info);
}

// The access letter of a caption, the character after a single "&", in
// capitals; 0 when it has none.
wchar_t AccessLetter(const std::wstring& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] != L'&') return static_cast<wchar_t>(std::towupper(caption[i + 1]));
    ++i;
  }
  return 0;
}

}  // namespace

void MenuColours::ApplyToBar(HMENU bar, const WindowColours& colours) { Take(bar, true, colours); }

void MenuColours::Apply(HMENU popup, const WindowColours& colours) { Take(popup, false, colours); }

void MenuColours::Take(HMENU menu, bool bar, const WindowColours& colours) {
  if (!menu) return;
  auto held =
      std::find_if(menus_.begin(), menus_.end(), [&](const Menu& m) { return m.menu == menu; });
  if (!colours.Dark() && held == menus_.end()) return;  // Windows' own, as always
  SetBackground(menu, colours.Dark() ? colours.Brush(colours.palette().menu) : nullptr);
  if (!colours.Dark()) {
    GiveBack(menu);
    menus_.erase(held);
  } else if (held == menus_.end()) {
    menus_.push_back({menu, bar, {}});
    OwnerDraw(menus_.back(), menu, bar);
  }
}

void MenuColours::Recolour(const WindowColours& colours) {
  std::vector<std::pair<HMENU, bool>> held;
  for (const Menu& m : menus_) held.emplace_back(m.menu, m.bar);
  for (const auto& [menu, bar] : held) Take(menu, bar, colours);
}

void MenuColours::Remeasure() {
  for (Menu& m : menus_) {
    GiveBack(m.menu);
    m.items.clear();
    OwnerDraw(m, m.menu, m.bar);
  }
}

void MenuColours::Forget(HMENU menu) {
  std::erase_if(menus_, [&](const Menu& m) { return m.menu == menu; });
}

void MenuColours::OwnerDraw(Menu& menu, HMENU from, bool onBar) {
  for (int i = 0, n = GetMenuItemCount(from); i < n; ++i) {
    auto item = std::make_unique<Item>();
    // A caption of any length: a context menu's shows a row's numbers.
    const int length = GetMenuStringW(from, static_cast<UINT>(i), nullptr, 0, MF_BYPOSITION);
    item->caption.resize(static_cast<size_t>(std::max(length, 0)) + 1);
    const int got = GetMenuStringW(from, static_cast<UINT>(i), item->caption.data(),
                                   static_cast<int>(item->caption.size()), MF_BYPOSITION);
    item->caption.resize(static_cast<size_t>(std::max(got, 0)));
    item->onBar = onBar;
    item->accessible = {MSAA_MENU_SIG, static_cast<DWORD>(item->caption.size()),
                        item->caption.data()};
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
    GetMenuItemInfoW(from, static_cast<UINT>(i), TRUE, &mii);
    item->separator = mii.fType & MFT_SEPARATOR;
    mii.fMask = MIIM_FTYPE | MIIM_DATA;
    mii.fType |= MFT_OWNERDRAW;
    mii.dwItemData = reinterpret_cast<ULONG_PTR>(item.get());
    SetMenuItemInfoW(from, static_cast<UINT>(i), TRUE, &mii);
    menu.items.push_back(std::move(item));
    if (mii.hSubMenu) OwnerDraw(menu, mii.hSubMenu, false);
  }
}

void MenuColours::GiveBack(HMENU menu) {
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii);
    const auto* item = reinterpret_cast<const Item*>(mii.dwItemData);
    if (item && (mii.fType & MFT_OWNERDRAW)) {
      mii.fMask = MIIM_FTYPE | MIIM_DATA | (item->separator ? 0 : MIIM_STRING);
      mii.fType &= ~static_cast<UINT>(MFT_OWNERDRAW);
      mii.dwItemData = 0;
      mii.dwTypeData = const_cast<wchar_t*>(item->caption.c_str());
      SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii);
    }
    if (mii.hSubMenu) GiveBack(mii.hSubMenu);
  }
}

const MenuColours::Item* MenuColours::Find(ULONG_PTR data) const {
  for (const Menu& m : menus_) {
    for (const auto& item : m.items) {
      if (reinterpret_cast<ULONG_PTR>(item.get()) == data) return item.get();
    }
  }
  return nullptr;
}

bool MenuColours::Measure(HWND window, int dpi, MEASUREITEMSTRUCT& m) const {
  const Item* item = m.CtlType == ODT_MENU ? Find(m.itemData) : nullptr;
  if (!item) return false;
  if (item->separator) {
    m.itemWidth = 0;
    m.itemHeight = static_cast<UINT>(MulDiv(7, dpi, 96));
    return true;
  }
  HDC dc = GetDC(window);
  const OwnedFont font = MenuFont(dpi);
  SIZE size{};
  {
    const Selected selected(dc, font.get());
    GetTextExtentPoint32W(dc, item->caption.c_str(), static_cast<int>(item->caption.size()), &size);
  }
  ReleaseDC(window, dc);
  const int pad = MulDiv(item->onBar ? 8 : 24, dpi, 96);
  m.itemWidth = static_cast<UINT>(size.cx + (item->onBar ? pad : 2 * pad));
  m.itemHeight =
      static_cast<UINT>(std::max<int>(size.cy + MulDiv(item->onBar ? 4 : 8, dpi, 96),
                                      GetSystemMetricsForDpi(SM_CYMENU, static_cast<UINT>(dpi))));
  return true;
}

bool MenuColours::Draw(const DRAWITEMSTRUCT& d, const WindowColours& colours, int dpi) const {
  const Item* item = d.CtlType == ODT_MENU ? Find(d.itemData) : nullptr;
  if (!item) return false;
  const Palette& p = colours.palette();
  const OwnedFont font = MenuFont(dpi);  // outlives the state that selects it
  const SavedDc saved(d.hDC);
  const bool lit = !item->separator && (d.itemState & (ODS_SELECTED | ODS_HOTLIGHT));
  RECT r = d.rcItem;
  FillRect(d.hDC, &r, colours.Brush(lit ? p.menuHot : p.menu));
  if (item->separator) {
    RECT line{r.left, (r.top + r.bottom) / 2, r.right, (r.top + r.bottom) / 2 + 1};
    FillRect(d.hDC, &line, colours.Brush(p.hilight));
    return true;
  }
  SelectObject(d.hDC, font.get());
  SetBkMode(d.hDC, TRANSPARENT);
  const bool disabled = d.itemState & (ODS_GRAYED | ODS_DISABLED);
  SetTextColor(d.hDC, colours.Colour(disabled ? p.disabledText : p.menuText));
  if (!item->onBar) r.left += MulDiv(24, dpi, 96);
  DrawCaption(d.hDC, item->caption, r,
              (item->onBar ? DT_CENTER : DT_LEFT) | DT_SINGLELINE | DT_VCENTER,
              !(d.itemState & ODS_NOACCEL));
  return true;
}

bool MenuColours::MenuChar(HMENU menu, wchar_t key, LRESULT& result) const {
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii);
    const Item* item = (mii.fType & MFT_OWNERDRAW) ? Find(mii.dwItemData) : nullptr;
    if (!item) continue;
    if (!item->separator && !(mii.fState & MFS_DISABLED) &&
        AccessLetter(item->caption) == std::towupper(key)) {
      result = MAKELRESULT(i, MNC_EXECUTE);
      return true;
    }
  }
  return false;
}

}  // namespace quorvane::win32
