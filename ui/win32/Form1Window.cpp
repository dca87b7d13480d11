#include "ui/win32/Form1Window.h"

#include <commctrl.h>

#include "win32/WindowClass.h"
#include "win32/WindowMessageBox.h"

namespace quorvane::win32 {
namespace {

constexpr wchar_t kFrameClass[] = L"QuorvaneFrame";

int IndexOf(ControlId id) {
  for (int i = 0; i < kControlCount; ++i) {
    if (kForm1Controls[i].id == id) return i;
  }
  return -1;
}

// A frame without a title: an etched border around its option buttons. It is
// their parent, so each frame is one group, and it passes their notices on.
LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
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
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT rc;
      GetClientRect(hwnd, &rc);
      DrawEdge(dc, &rc, EDGE_ETCHED, BF_RECT);
      EndPaint(hwnd, &ps);
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

bool RegisterClasses(HINSTANCE instance, WNDPROC form1Proc) {
  const auto face = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
  return RegisterClassOnce(instance, Form1Window::kClassName, form1Proc, face,
                           LoadIconW(instance, MAKEINTRESOURCEW(1))) &&
         RegisterClassOnce(instance, kFrameClass, FrameProc, face);
}

struct ClassAndStyle {
  const wchar_t* cls;
  DWORD style;
  DWORD exStyle;
};

ClassAndStyle ClassFor(const ControlSpec& c) {
  switch (c.kind) {
    case Kind::TextBox:
      return {L"EDIT", WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case Kind::Label:
      return {L"STATIC", static_cast<DWORD>((c.rightAlign ? SS_RIGHT : SS_LEFT) | SS_NOPREFIX), 0};
    case Kind::Button:
      return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case Kind::Frame:
      return {kFrameClass, 0, WS_EX_CONTROLPARENT};
    case Kind::Option:
      return {L"BUTTON", BS_AUTORADIOBUTTON, 0};
  }
  return {L"STATIC", 0, 0};
}

}  // namespace

std::wstring UserDecimalSeparator() {
  wchar_t buf[8] = {};
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, buf, 8) > 1) return buf;
  return L".";
}

Form1Window::Form1Window(std::wstring decimalSep) : commands_(*this, std::move(decimalSep)) {}

Form1Window::~Form1Window() {
  if (hwnd_) {
    quitOnDestroy_ = false;
    DestroyWindow(hwnd_);
  }
  for (HFONT& f : fonts_) {
    if (f) DeleteObject(f);
  }
}

bool Form1Window::Create(HINSTANCE instance, int showCommand, IForm1Events* events,
                         bool quitOnDestroy) {
  events_ = events;
  quitOnDestroy_ = quitOnDestroy;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  if (!RegisterClasses(instance, win32::OwnedWindowProc<Form1Window>)) return false;

  const DWORD style = WS_OVERLAPPEDWINDOW;
  HMENU bar = CreateMenu();
  for (const MenuSpec& m : kForm1Menus) {
    HMENU popup = CreatePopupMenu();
    for (const MenuItemSpec& item : m.items) {
      AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(item.id), item.caption);
    }
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), m.caption);
  }
  // Created small and placed once its dpi is known.
  if (!CreateWindowExW(0, kClassName, L"Quorvane", style | WS_CLIPCHILDREN, CW_USEDEFAULT,
                       CW_USEDEFAULT, 100, 100, nullptr, bar, instance, this)) {
    DestroyMenu(bar);
    return false;
  }
  dpi_ = static_cast<int>(GetDpiForWindow(hwnd_));
  if (dpi_ <= 0) dpi_ = 96;
  CreateFonts(dpi_);
  CreateControls(instance);

  RECT rc{TwipsToPixels(kDesignedLeftTwips, dpi_), TwipsToPixels(kDesignedTopTwips, dpi_), 0, 0};
  rc.right = rc.left + TwipsToPixels(kClientWidthTwips, dpi_);
  rc.bottom = rc.top + TwipsToPixels(kClientHeightTwips, dpi_);
  AdjustWindowRectExForDpi(&rc, style, TRUE, 0, static_cast<UINT>(dpi_));
  SetWindowPos(hwnd_, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
               SWP_NOZORDER | SWP_NOACTIVATE);

  commands_.Form_Load();
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
  SetFocus(Handle(ControlId::txtRealA));
  return true;
}

void Form1Window::CreateFonts(int dpi) {
  for (size_t i = 0; i < kFonts.size(); ++i) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(kFonts[i].pointsX100, dpi, 7200);
    lf.lfWeight = kFonts[i].bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    wcscpy_s(lf.lfFaceName, kFonts[i].face);
    HFONT font = CreateFontIndirectW(&lf);
    if (fonts_[i]) DeleteObject(fonts_[i]);
    fonts_[i] = font;
  }
}

void Form1Window::CreateControls(HINSTANCE instance) {
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, instance, nullptr);
  for (int i = 0; i < kControlCount; ++i) {
    const ControlSpec& c = kForm1Controls[i];
    const ClassAndStyle cs = ClassFor(c);
    HWND parent = c.container == ControlId::None ? hwnd_ : Handle(c.container);
    DWORD style = WS_CHILD | WS_VISIBLE | cs.style;
    // The first option button of each frame starts its group.
    if (c.kind == Kind::Option && (i == 0 || kForm1Controls[i - 1].kind != Kind::Option)) {
      style |= WS_GROUP;
    }
    // Created in place with its font: each later move or font change would
    // cost a round of window messages, fifty times over at start-up.
    HWND h = CreateWindowExW(
        cs.exStyle, cs.cls, c.caption, style, TwipsToPixels(c.left, dpi_),
        TwipsToPixels(c.top, dpi_), TwipsToPixels(c.width, dpi_), TwipsToPixels(c.height, dpi_),
        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
    controls_[i] = h;
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(Font(c.font)), FALSE);
    // Text boxes hold any length, not the edit control's default 30,000.
    if (c.kind == Kind::TextBox) SendMessageW(h, EM_SETLIMITTEXT, 0, 0);
    if (c.tooltip && tooltip_) {
      TOOLINFOW ti{};
      ti.cbSize = sizeof ti;
      ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      ti.hwnd = parent;
      ti.uId = reinterpret_cast<UINT_PTR>(h);
      ti.hinst = instance;
      ti.lpszText = const_cast<wchar_t*>(c.tooltip);
      SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    }
  }
}

void Form1Window::LayOut() {
  for (int i = 0; i < kControlCount; ++i) {
    const ControlSpec& c = kForm1Controls[i];
    // Twips are scaled at the window's dpi; the controls never follow a resize.
    SetWindowPos(controls_[i], nullptr, TwipsToPixels(c.left, dpi_), TwipsToPixels(c.top, dpi_),
                 TwipsToPixels(c.width, dpi_), TwipsToPixels(c.height, dpi_),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(Font(c.font)), TRUE);
  }
}

HWND Form1Window::Handle(ControlId id) const {
  const int i = IndexOf(id);
  return i < 0 ? nullptr : controls_[i];
}

HWND Form1Window::Control(ControlId id) const { return Handle(id); }

bool Form1Window::PreTranslate(MSG& msg) { return hwnd_ && IsDialogMessageW(hwnd_, &msg); }

std::wstring Form1Window::GetText(Field field) {
  HWND h = Handle(SpecOf(field).id);
  const int length = GetWindowTextLengthW(h);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(h, text.data(), length + 1);
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return text;
}

void Form1Window::SetText(Field field, std::wstring_view text) {
  SetWindowTextW(Handle(SpecOf(field).id), std::wstring(text).c_str());
}

bool Form1Window::IsSelected(OptionGroup group, int item) {
  return SendMessageW(Handle(SpecOf(group, item).id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form1Window::Select(OptionGroup group, int item) {
  // Selecting one item of a group clears the other, as a click does.
  SendMessageW(Handle(SpecOf(group, item).id), BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(Handle(SpecOf(group, 1 - item).id), BM_SETCHECK, BST_UNCHECKED, 0);
  UpdateTabStops(group);
}

// Tab reaches only the selected button of a group, as in a dialog.
void Form1Window::UpdateTabStops(OptionGroup group) {
  for (int item = 0; item < 2; ++item) {
    HWND h = Handle(SpecOf(group, item).id);
    const bool checked = SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
    LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
    style = checked ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrW(h, GWL_STYLE, style);
  }
}

int Form1Window::Show(std::wstring_view prompt, unsigned style, std::wstring_view title) {
  return ShowMessageBox(hwnd_, prompt, style, title);
}

void Form1Window::OnCommand(int id, int code, HWND from) {
  if (id == IDOK && !from) {
    // Enter: a focused push button is pressed, as in a dialog; elsewhere
    // nothing starts, since the window has no default button.
    HWND focus = GetFocus();
    for (int i = 0; i < kControlCount; ++i) {
      if (controls_[i] == focus && kForm1Controls[i].kind == Kind::Button) {
        SendMessageW(focus, BM_CLICK, 0, 0);
      }
    }
    return;
  }
  if (!from) {
    if (events_ && code == 0) events_->OnMenu(static_cast<MenuId>(id));
    return;
  }
  if (code != BN_CLICKED) return;
  switch (static_cast<ControlId>(id)) {
    case ControlId::cmdExecute:
      commands_.cmdExecute_Click();
      break;
    case ControlId::cmdClearInput:
      commands_.cmdClearInput_Click();
      break;
    case ControlId::cmdCopyQuotient:
      commands_.CopyResultToInput(ResultRow::Quotient);
      break;
    case ControlId::cmdCopyProduct:
      commands_.CopyResultToInput(ResultRow::Product);
      break;
    case ControlId::cmdCopySum:
      commands_.CopyResultToInput(ResultRow::Sum);
      break;
    case ControlId::cmdCopyDifference:
      commands_.CopyResultToInput(ResultRow::Difference);
      break;
    case ControlId::optA0:
    case ControlId::optA1:
      UpdateTabStops(OptionGroup::optA);
      break;
    case ControlId::optB0:
    case ControlId::optB1:
      UpdateTabStops(OptionGroup::optB);
      break;
    default:
      break;
  }
}

LRESULT Form1Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_CTLCOLOREDIT: {
      HWND box = reinterpret_cast<HWND>(lp);
      for (int i = 0; i < kControlCount; ++i) {
        if (controls_[i] == box && kForm1Controls[i].grey) {
          HDC dc = reinterpret_cast<HDC>(wp);
          SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
          SetBkColor(dc, GetSysColor(COLOR_MENU));
          return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_MENU));
        }
      }
      break;
    }
    case WM_ACTIVATE:
      // Keyboard focus leaves with the window and comes back to where it was.
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
      } else if (!HIWORD(wp)) {
        SetFocus(lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : Handle(ControlId::txtRealA));
        return 0;
      }
      break;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wp);
      CreateFonts(dpi_);
      LayOut();
      const RECT* r = reinterpret_cast<const RECT*>(lp);
      SetWindowPos(hwnd_, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE:
      if (events_ && events_->OnQueryUnload()) return 0;
      DestroyWindow(hwnd_);
      return 0;
    case WM_SETTINGCHANGE:
      // Sent to every top-level window after a change in the regional settings.
      if (lp && lstrcmpiW(reinterpret_cast<const wchar_t*>(lp), L"intl") == 0) {
        commands_.SetDecimalSep(UserDecimalSeparator());
      }
      break;
    case WM_QUERYENDSESSION:
      return events_ && events_->OnQueryEndSession() ? FALSE : TRUE;
    case WM_ENDSESSION:
      if (wp) DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      if (tooltip_) DestroyWindow(tooltip_);
      tooltip_ = nullptr;
      break;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      controls_.fill(nullptr);
      if (quitOnDestroy_) PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

int RunMessageLoop(Form1Window& form) {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (form.PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace quorvane::win32
