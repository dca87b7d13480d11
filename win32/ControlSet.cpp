#include "win32/ControlSet.h"

#include <commctrl.h>
#include <oleacc.h>

#include "win32/AccessibleName.h"
#include "win32/DarkPainters.h"
#include "win32/WindowClass.h"

namespace quorvane::win32 {
namespace {

constexpr wchar_t kFrameClass[] = L"QuorvaneFrame";
constexpr wchar_t kPictureClass[] = L"QuorvanePicture";

// A frame without a title: an etched border around its option buttons. It is
// their parent, so each frame is one group, and it passes their notices on.
LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      return SendMessageW(GetParent(hwnd), msg, wp, lp);
    case WM_SETFONT:
      // Kept for the buttons' sake of uniformity; the frame shows no text.
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(wp));
      return 0;
    case WM_GETFONT:
      return GetWindowLongPtrW(hwnd, GWLP_USERDATA);
    case WM_PAINT: {
      Painting paint(hwnd);
      const WindowColours* colours = ColoursOf(hwnd);
      if (colours && colours->Dark()) {
        PaintFrame(hwnd, paint.dc(), *colours);
        return 0;
      }
      RECT rc;
      GetClientRect(hwnd, &rc);
      DrawEdge(paint.dc(), &rc, EDGE_ETCHED, BF_RECT);
      return 0;
    }
    case WM_ERASEBKGND: {
      const WindowColours* colours = ColoursOf(hwnd);
      if (!colours || !colours->Dark()) return DefWindowProcW(hwnd, msg, wp, lp);
      return 1;  // the paint fills it
    }
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

// A sunken picture box; it paints the bitmap it is given at its own size.
LRESULT CALLBACK PictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg != WM_PAINT) return DefWindowProcW(hwnd, msg, wp, lp);
  Painting paint(hwnd);
  const auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  RECT rc;
  GetClientRect(hwnd, &rc);
  BITMAP bm;
  if (!bitmap || !GetObjectW(bitmap, sizeof bm, &bm)) {
    FillRect(paint.dc(), &rc, GetSysColorBrush(COLOR_3DFACE));
    return 0;
  }
  OwnedMemoryDc memory(CreateCompatibleDC(paint.dc()));
  Selected selected(memory.get(), bitmap);
  SetStretchBltMode(paint.dc(), COLORONCOLOR);
  StretchBlt(paint.dc(), 0, 0, rc.right, rc.bottom, memory.get(), 0, 0, bm.bmWidth, bm.bmHeight,
             SRCCOPY);
  return 0;
}

struct NativeClass {
  const wchar_t* name;
  DWORD style;
  DWORD exStyle;
};

NativeClass ClassFor(Kind kind, bool rightAlign, bool ownLines) {
  switch (kind) {
    case Kind::TextBox:
      return {L"EDIT", WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case Kind::Label:
      // A label paints only where no other control lies over it.
      if (ownLines) return {L"STATIC", WS_CLIPSIBLINGS | SS_OWNERDRAW | SS_NOPREFIX, 0};
      return {L"STATIC",
              static_cast<DWORD>(WS_CLIPSIBLINGS | (rightAlign ? SS_RIGHT : SS_LEFT) | SS_NOPREFIX),
              0};
    case Kind::Button:
      return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case Kind::DefaultButton:
      return {L"BUTTON", WS_TABSTOP | BS_DEFPUSHBUTTON, 0};
    case Kind::Frame:
      return {kFrameClass, 0, WS_EX_CONTROLPARENT};
    case Kind::Option:
      return {L"BUTTON", BS_AUTORADIOBUTTON, 0};
    case Kind::Picture:
      return {kPictureClass, 0, WS_EX_CLIENTEDGE};
  }
  return {L"STATIC", 0, 0};
}

bool RegisterControlClasses(HINSTANCE instance) {
  return RegisterClassOnce(instance, kFrameClass, FrameProc,
                           reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1)) &&
         RegisterClassOnce(instance, kPictureClass, PictureProc, nullptr);
}

HWND CreateTooltip(HWND window) {
  return CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                         WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, GetModuleHandleW(nullptr),
                         nullptr);
}

void AddTool(HWND tooltip, HWND parent, HWND control, const wchar_t* text) {
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = parent;
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  ti.hinst = GetModuleHandleW(nullptr);
  ti.lpszText = const_cast<wchar_t*>(text);
  SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace

FontSet::FontSet(std::span<const FontRow> rows, int dpi) {
  fonts_.reserve(rows.size());
  for (const FontRow& row : rows) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(row.pointsX100, dpi, 7200);
    lf.lfWeight = row.bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    wcscpy_s(lf.lfFaceName, row.face);
    fonts_.emplace_back(CreateFontIndirectW(&lf));
  }
}

bool ControlSet::CreateAll(HWND window, std::span<const ControlShape> shapes,
                           std::span<const FontRow> fonts, int dpi) {
  if (!RegisterControlClasses(GetModuleHandleW(nullptr))) return false;
  shapes_.assign(shapes.begin(), shapes.end());
  fontRows_ = fonts;
  fonts_ = FontSet(fonts, dpi);
  handles_.assign(shapes_.size(), nullptr);
  for (const ControlShape& c : shapes_) {
    if (c.tooltip && !tooltip_) tooltip_ = CreateTooltip(window);
  }
  // The labels are made last, so they lie beneath every other control, as if
  // drawn on the window itself: a label that reaches into a frame or a box
  // leaves its border whole. They take no focus, so the order of the others,
  // the tab order among them, is the table's.
  const ControlShape* previous = nullptr;  // made just before, in this order
  for (const bool labels : {false, true}) {
    for (size_t i = 0; i < shapes_.size(); ++i) {
      const ControlShape& c = shapes_[i];
      if ((c.kind == Kind::Label) != labels) continue;
      // Each frame's option buttons form one group, which the dialog
      // keyboard's arrows go round: the first starts it, and the control made
      // after the last ends it, so that no arrow leads out of the frame.
      const bool afterOption = previous && previous->kind == Kind::Option;
      const bool startsGroup =
          c.kind == Kind::Option ? !afterOption || previous->container != c.container : afterOption;
      handles_[i] = CreateOne(window, c, startsGroup, dpi);
      if (!handles_[i]) return false;
      previous = &c;
    }
  }
  return true;
}

HWND ControlSet::CreateOne(HWND window, const ControlShape& c, bool startsGroup, int dpi) {
  const NativeClass cls = ClassFor(c.kind, c.rightAlign, c.ownLines);
  HWND parent = c.container ? Find(c.container) : window;
  const DWORD style = WS_CHILD | WS_VISIBLE | cls.style | (startsGroup ? WS_GROUP : 0);
  // Created in place with its font: each later move or font change would
  // cost a round of window messages, fifty times over at start-up.
  HWND h = CreateWindowExW(
      cls.exStyle, cls.name, c.caption, style, TwipsToPixels(c.left, dpi),
      TwipsToPixels(c.top, dpi), TwipsToPixels(c.width, dpi), TwipsToPixels(c.height, dpi), parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), GetModuleHandleW(nullptr), nullptr);
  if (!h) return nullptr;
  SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[c.font]), FALSE);
  // Text boxes hold any length, not the edit control's default 30,000.
  if (c.kind == Kind::TextBox) SendMessageW(h, EM_SETLIMITTEXT, 0, 0);
  if (c.tooltip && tooltip_) AddTool(tooltip_, parent, h, c.tooltip);
  // A frame is announced as a group of its option buttons, as Windows' own
  // group box is.
  if (c.accessibleName) {
    SetAccessibleName(h, c.accessibleName,
                      c.kind == Kind::Frame ? ROLE_SYSTEM_GROUPING : kRoleAsWindows);
  }
  return h;
}

void ControlSet::Scale(int dpi) {
  FontSet next(fontRows_, dpi);
  for (size_t i = 0; i < shapes_.size(); ++i) {
    const ControlShape& c = shapes_[i];
    // Twips are scaled at the window's dpi; the controls never follow a resize.
    SetWindowPos(handles_[i], nullptr, TwipsToPixels(c.left, dpi), TwipsToPixels(c.top, dpi),
                 TwipsToPixels(c.width, dpi), TwipsToPixels(c.height, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(handles_[i], WM_SETFONT, reinterpret_cast<WPARAM>(next[c.font]), TRUE);
  }
  fonts_ = std::move(next);  // only now are the old fonts released
}

HWND ControlSet::Find(int id) const {
  for (size_t i = 0; i < handles_.size(); ++i) {
    if (shapes_[i].id == id) return handles_[i];
  }
  return nullptr;
}

int ControlSet::IndexOf(HWND control) const {
  for (size_t i = 0; i < handles_.size(); ++i) {
    if (handles_[i] == control) return static_cast<int>(i);
  }
  return -1;
}

bool ControlSet::KeepFocus(HWND window, WPARAM activation, HWND first) {
  if (LOWORD(activation) == WA_INACTIVE) {
    HWND focus = GetFocus();
    if (focus && IsChild(window, focus)) lastFocus_ = focus;
    return false;
  }
  if (HIWORD(activation)) return false;  // activated while minimised
  SetFocus(lastFocus_ && IsChild(window, lastFocus_) ? lastFocus_ : first);
  return true;
}

void ControlSet::Forget() {
  handles_.assign(handles_.size(), nullptr);
  tooltip_ = nullptr;
  lastFocus_ = nullptr;
}

int DpiOf(HWND window) {
  const int dpi = static_cast<int>(GetDpiForWindow(window));
  return dpi > 0 ? dpi : 96;
}

void SetPicture(HWND picture, HBITMAP bitmap) {
  SetWindowLongPtrW(picture, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bitmap));
  InvalidateRect(picture, nullptr, TRUE);
}

}  // namespace quorvane::win32
