#include "win32/WindowColours.h"

#include <algorithm>
#include <optional>

#include "core/Failure.h"
#include "win32/LateBound.h"

namespace quorvane::win32 {
namespace {

static_assert(syscolour::kMenu == COLOR_MENU && syscolour::kWindow == COLOR_WINDOW &&
              syscolour::kMenuText == COLOR_MENUTEXT &&
              syscolour::kWindowText == COLOR_WINDOWTEXT &&
              syscolour::kHighlight == COLOR_HIGHLIGHT &&
              syscolour::kHighlightText == COLOR_HIGHLIGHTTEXT &&
              syscolour::kFace == COLOR_3DFACE && syscolour::kShadow == COLOR_3DSHADOW &&
              syscolour::kButtonText == COLOR_BTNTEXT && syscolour::kHilight == COLOR_3DHILIGHT &&
              syscolour::kInfoText == COLOR_INFOTEXT && syscolour::kInfoBack == COLOR_INFOBK);

constexpr wchar_t kColoursProperty[] = L"QuorvaneColours";
// Documented from Windows 11 build 22000; earlier builds refuse it.
constexpr DWORD kUseImmersiveDarkMode = 20;

bool HighContrast() {
  HIGHCONTRASTW hc{};
  hc.cbSize = sizeof hc;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) &&
         (hc.dwFlags & HCF_HIGHCONTRASTON);
}

// The user's "Choose your app mode"; empty when missing or not a number.
std::optional<unsigned long> AppsUseLightTheme() {
  try {
    OwnedKey key;
    if (late::RegOpenKeyExW(HKEY_CURRENT_USER,
                            L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", 0,
                            KEY_QUERY_VALUE, key.out()) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    DWORD type = 0, value = 0, size = sizeof value;
    if (late::RegQueryValueExW(key.get(), L"AppsUseLightTheme", nullptr, &type,
                               reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value) {
      return std::nullopt;
    }
    return value;
  } catch (const RuntimeError&) {
    return std::nullopt;
  }
}

int Scaled(int pixels, HWND h) { return MulDiv(pixels, static_cast<int>(GetDpiForWindow(h)), 96); }

std::wstring TextOf(HWND h) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(h, text.data(), static_cast<int>(text.size()))));
  return text;
}

void Outline(HDC dc, const RECT& r, COLORREF pen, COLORREF fill, int round) {
  SelectObject(dc, GetStockObject(DC_PEN));
  SelectObject(dc, GetStockObject(DC_BRUSH));
  SetDCPenColor(dc, pen);
  SetDCBrushColor(dc, fill);
  if (round) {
    RoundRect(dc, r.left, r.top, r.right, r.bottom, round, round);
  } else {
    Ellipse(dc, r.left, r.top, r.right, r.bottom);
  }
}

bool FocusShown(HWND h) { return !(SendMessageW(h, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS); }

// The caption of a button in its font, light on whatever lies beneath.
void Caption(HDC dc, HWND button, RECT r, COLORREF colour, UINT format) {
  const Selected font(dc, reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)));
  const std::wstring text = TextOf(button);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  // The access letter underlined only while the keyboard is in use, as
  // Windows shows it.
  const bool hide = SendMessageW(button, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
            format | DT_SINGLELINE | DT_VCENTER | (hide ? DT_HIDEPREFIX : 0));
}

}  // namespace

const Palette& UserPalette() { return ChoosePalette(HighContrast(), AppsUseLightTheme()); }

WindowColours::WindowColours(const Palette& palette) : palette_(&palette) {
  const Shade all[] = {palette.face,          palette.text,       palette.input,
                       palette.inputText,     palette.result,     palette.resultText,
                       palette.button,        palette.buttonText, palette.buttonHot,
                       palette.buttonPressed, palette.buttonEdge, palette.hilight,
                       palette.shadow,        palette.menu,       palette.menuText,
                       palette.menuHot,       palette.tip,        palette.tipText};
  for (const Shade& s : all) {
    if (s.system || Brush(s)) continue;
    brushes_.emplace_back(s, OwnedBrush(CreateSolidBrush(s.value)));
  }
}

COLORREF WindowColours::Colour(Shade s) const {
  return s.system ? GetSysColor(static_cast<int>(s.value)) : s.value;
}

HBRUSH WindowColours::Brush(Shade s) const {
  if (s.system) return GetSysColorBrush(static_cast<int>(s.value));
  for (const auto& [shade, brush] : brushes_) {
    if (shade == s) return brush.get();
  }
  return nullptr;
}

LRESULT WindowColours::Answer(HDC dc, Shade text, Shade back) const {
  SetTextColor(dc, Colour(text));
  SetBkColor(dc, Colour(back));
  return reinterpret_cast<LRESULT>(Brush(back));
}

const WindowColours* ColoursOf(HWND control) {
  return static_cast<const WindowColours*>(
      GetPropW(GetAncestor(control, GA_ROOT), kColoursProperty));
}

void SetColoursOf(HWND window, const WindowColours* colours) {
  if (colours) {
    SetPropW(window, kColoursProperty, const_cast<WindowColours*>(colours));
  } else {
    RemovePropW(window, kColoursProperty);
  }
}

LRESULT DrawButton(const NMCUSTOMDRAW& draw, const WindowColours& colours) {
  if (draw.dwDrawStage != CDDS_PREPAINT) return CDRF_DODEFAULT;
  const Palette& p = colours.palette();
  HWND button = draw.hdr.hwndFrom;
  HDC dc = draw.hdc;
  RECT r = draw.rc;
  const auto type = GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK;
  const bool focus = (draw.uItemState & CDIS_FOCUS) && FocusShown(button);
  FillRect(dc, &r, colours.Brush(p.face));
  if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
    const Shade back = (draw.uItemState & CDIS_SELECTED) ? p.buttonPressed
                       : (draw.uItemState & CDIS_HOT)    ? p.buttonHot
                                                         : p.button;
    // The default button, and the focused one, outlined in the text colour.
    const bool marked = focus || type == BS_DEFPUSHBUTTON;
    Outline(dc, r, colours.Colour(marked ? p.buttonText : p.buttonEdge), colours.Colour(back),
            Scaled(6, button));
    Caption(dc, button, r, colours.Colour(p.buttonText), DT_CENTER);
    if (focus) {
      InflateRect(&r, -Scaled(3, button), -Scaled(3, button));
      SetTextColor(dc, colours.Colour(p.buttonText));
      SetBkColor(dc, colours.Colour(back));
      DrawFocusRect(dc, &r);
    }
    return CDRF_SKIPDEFAULT;
  }
  if (type != BS_AUTORADIOBUTTON && type != BS_RADIOBUTTON) return CDRF_DODEFAULT;
  // An option button: its circle, its dot when selected, its caption.
  const int size = Scaled(13, button);
  const int top = r.top + (r.bottom - r.top - size) / 2;
  RECT circle{r.left, top, r.left + size, top + size};
  Outline(dc, circle, colours.Colour(p.text), colours.Colour(p.input), 0);
  if (SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED) {
    const int inset = size / 4 + 1;
    InflateRect(&circle, -inset, -inset);
    Outline(dc, circle, colours.Colour(p.text), colours.Colour(p.text), 0);
  }
  RECT text = r;
  text.left += size + Scaled(5, button);
  Caption(dc, button, text, colours.Colour(p.text), DT_LEFT);
  if (focus) {
    RECT around = text;
    const Selected font(dc, reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)));
    const std::wstring caption = TextOf(button);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &around,
              DT_CALCRECT | DT_SINGLELINE);
    const int h = around.bottom - around.top;
    around.top = r.top + (r.bottom - r.top - h) / 2;
    around.bottom = around.top + h;
    InflateRect(&around, 1, 1);
    SetTextColor(dc, colours.Colour(p.text));
    SetBkColor(dc, colours.Colour(p.face));
    DrawFocusRect(dc, &around);
  }
  return CDRF_SKIPDEFAULT;
}

void PaintFrame(HWND frame, HDC dc, const WindowColours& colours) {
  const Palette& p = colours.palette();
  RECT r;
  GetClientRect(frame, &r);
  FillRect(dc, &r, colours.Brush(p.face));
  // Etched, as Windows draws it: a dark line with a light one inside it.
  RECT inner{r.left + 1, r.top + 1, r.right, r.bottom};
  RECT outer{r.left, r.top, r.right - 1, r.bottom - 1};
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  SelectObject(dc, GetStockObject(DC_PEN));
  SetDCPenColor(dc, colours.Colour(p.hilight));
  Rectangle(dc, inner.left, inner.top, inner.right, inner.bottom);
  SetDCPenColor(dc, colours.Colour(p.shadow));
  Rectangle(dc, outer.left, outer.top, outer.right, outer.bottom);
}

void SetDarkTitleBar(HWND window, bool dark) {
  const BOOL value = dark ? TRUE : FALSE;
  try {
    late::DwmSetWindowAttribute(window, kUseImmersiveDarkMode, &value, sizeof value);
  } catch (const RuntimeError&) {
  }
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

void MenuColours::Apply(HMENU bar, const WindowColours& colours) {
  if (!bar || (!colours.Dark() && items_.empty())) return;
  MENUINFO info{};
  info.cbSize = sizeof info;
  info.fMask = MIM_BACKGROUND | MIM_APPLYTOSUBMENUS;
  info.hbrBack = colours.Dark() ? colours.Brush(colours.palette().menu) : nullptr;
  SetMenuInfo(bar, &info);
  if (colours.Dark() && items_.empty()) OwnerDraw(bar, true);
  if (!colours.Dark()) {
    GiveBack(bar);
    items_.clear();
  }
}

void MenuColours::OwnerDraw(HMENU menu, bool onBar) {
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    auto item = std::make_unique<Item>();
    wchar_t caption[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), caption, 128, MF_BYPOSITION);
    item->caption = caption;
    item->onBar = onBar;
    item->accessible = {MSAA_MENU_SIG, static_cast<DWORD>(item->caption.size()),
                        item->caption.data()};
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii);
    mii.fMask = MIIM_FTYPE | MIIM_DATA;
    mii.fType |= MFT_OWNERDRAW;
    mii.dwItemData = reinterpret_cast<ULONG_PTR>(item.get());
    SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii);
    items_.push_back(std::move(item));
    if (mii.hSubMenu) OwnerDraw(mii.hSubMenu, false);
  }
}

void MenuColours::GiveBack(HMENU menu) {
  for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii);
    const auto* item = reinterpret_cast<const Item*>(mii.dwItemData);
    if (item) {
      mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
      mii.fType &= ~static_cast<UINT>(MFT_OWNERDRAW);
      mii.dwItemData = 0;
      mii.dwTypeData = const_cast<wchar_t*>(item->caption.c_str());
      SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii);
    }
    if (mii.hSubMenu) GiveBack(mii.hSubMenu);
  }
}

namespace {
OwnedFont MenuFont(int dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                             static_cast<UINT>(dpi));
  return OwnedFont(CreateFontIndirectW(&metrics.lfMenuFont));
}
}  // namespace

bool MenuColours::Measure(HWND window, MEASUREITEMSTRUCT& m) const {
  if (m.CtlType != ODT_MENU || !m.itemData) return false;
  const auto& item = *reinterpret_cast<const Item*>(m.itemData);
  const int dpi = static_cast<int>(GetDpiForWindow(window));
  HDC dc = GetDC(window);
  const OwnedFont font = MenuFont(dpi);
  SIZE size{};
  {
    const Selected selected(dc, font.get());
    GetTextExtentPoint32W(dc, item.caption.c_str(), static_cast<int>(item.caption.size()), &size);
  }
  ReleaseDC(window, dc);
  const int pad = MulDiv(item.onBar ? 8 : 24, dpi, 96);
  m.itemWidth = static_cast<UINT>(size.cx + (item.onBar ? pad : 2 * pad));
  m.itemHeight =
      static_cast<UINT>(std::max<int>(size.cy + MulDiv(item.onBar ? 4 : 8, dpi, 96),
                                      GetSystemMetricsForDpi(SM_CYMENU, static_cast<UINT>(dpi))));
  return true;
}

bool MenuColours::Draw(const DRAWITEMSTRUCT& d, const WindowColours& colours) const {
  if (d.CtlType != ODT_MENU || !d.itemData) return false;
  const auto& item = *reinterpret_cast<const Item*>(d.itemData);
  const Palette& p = colours.palette();
  const bool lit = d.itemState & (ODS_SELECTED | ODS_HOTLIGHT);
  RECT r = d.rcItem;
  FillRect(d.hDC, &r, colours.Brush(lit ? p.menuHot : p.menu));
  const int dpi = static_cast<int>(GetDpiForWindow(WindowFromDC(d.hDC)));
  const OwnedFont font = MenuFont(dpi > 0 ? dpi : 96);
  const Selected selected(d.hDC, font.get());
  SetBkMode(d.hDC, TRANSPARENT);
  SetTextColor(d.hDC, colours.Colour(p.menuText));
  if (!item.onBar) r.left += MulDiv(24, dpi > 0 ? dpi : 96, 96);
  DrawTextW(d.hDC, item.caption.c_str(), static_cast<int>(item.caption.size()), &r,
            (item.onBar ? DT_CENTER : DT_LEFT) | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  return true;
}

}  // namespace quorvane::win32
