#include "ui/win32/Form1Window.h"

#include <commctrl.h>

#include "ui/win32/HeadingLabel.h"
#include "ui/win32/ResultMenu.h"
#include "win32/Clipboard.h"
#include "win32/MessageLoop.h"
#include "win32/WindowMessageBox.h"

namespace quorvane::win32 {
namespace {

constexpr WindowDesign kDesign{
    Form1Window::kClassName,
    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
    0,
    {kDesignedLeftTwips, kDesignedTopTwips, kClientWidthTwips, kClientHeightTwips},
    static_cast<int>(ControlId::txtRealA)};

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
}

bool Form1Window::Create(HINSTANCE instance, int showCommand, IForm1Events* events,
                         bool quitOnDestroy, HICON icon) {
  events_ = events;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  OwnedMenu bar(CreateMenu());
  for (const MenuRow& m : kForm1Menus) {
    HMENU popup = CreatePopupMenu();
    for (const MenuItemRow& item : m.items) {
      AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(item.id), item.caption);
    }
    AppendMenuW(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup), m.caption);
  }
  if (!CreateTopLevel(kDesign, kForm1Controls, kFonts, L"Quorvane", instance, nullptr, bar.Forget(),
                      icon)) {
    return false;
  }
  for (const ControlRow& c : kForm1Controls) {
    if (c.kind == Kind::TextBox)
      SetWindowSubclass(Control(c.id), BoxProc, 0, reinterpret_cast<DWORD_PTR>(this));
  }
  quitOnDestroy_ = quitOnDestroy;
  commands_.Form_Load();
  ShowTopLevel(showCommand);
  return true;
}

std::wstring Form1Window::GetText(Field field) {
  HWND h = Control(RowOf(field).id);
  const int length = GetWindowTextLengthW(h);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(h, text.data(), length + 1);
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return text;
}

void Form1Window::SetText(Field field, std::wstring_view text) {
  SetWindowTextW(Control(RowOf(field).id), std::wstring(text).c_str());
}

bool Form1Window::IsSelected(OptionGroup group, int item) {
  return SendMessageW(Control(RowOf(group, item).id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form1Window::Select(OptionGroup group, int item) {
  // Selecting one item of a group clears the other, as a click does.
  SendMessageW(Control(RowOf(group, item).id), BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(Control(RowOf(group, 1 - item).id), BM_SETCHECK, BST_UNCHECKED, 0);
  UpdateTabStops(group);
}

// Tab reaches only the selected button of a group, as in a dialog.
void Form1Window::UpdateTabStops(OptionGroup group) {
  for (int item = 0; item < 2; ++item) {
    HWND h = Control(RowOf(group, item).id);
    const bool checked = SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
    LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
    style = checked ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrW(h, GWL_STYLE, style);
  }
}

LRESULT CALLBACK Form1Window::BoxProc(HWND box, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                      DWORD_PTR self) {
  auto& form = *reinterpret_cast<Form1Window*>(self);
  const Field field = *RowOf(static_cast<ControlId>(GetDlgCtrlID(box))).field;
  // Nothing may unwind through the system's code: a failure drops the message.
  try {
    switch (msg) {
      case WM_PASTE:
        if (!ResultRowOf(field) && form.OnPaste(box, field)) return 0;
        break;
      case WM_KEYDOWN:
        // Shift+Insert pastes as Ctrl+V does, through WM_PASTE, which Wine's
        // edit control does not send itself for it.
        if (wp == VK_INSERT && (GetKeyState(VK_SHIFT) & 0x8000) &&
            !(GetKeyState(VK_CONTROL) & 0x8000) && !ResultRowOf(field)) {
          SendMessageW(box, WM_PASTE, 0, 0);
          return 0;
        }
        break;
      case WM_KEYUP:
        // The menu key's release opens the context menu, as Windows' own
        // window procedure does and Wine's does not.
        if (wp == VK_APPS && ResultRowOf(field)) {
          SendMessageW(box, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box), -1);
          return 0;
        }
        break;
      case WM_CONTEXTMENU:
        if (const std::optional<ResultRow> row = ResultRowOf(field)) {
          ShowResultMenu(box, lp, *row, form.commands_, form);
          return 0;
        }
        break;
      case WM_NCDESTROY:
        RemoveWindowSubclass(box, BoxProc, id);
        break;
      default:
        break;
    }
  } catch (...) {
    return 0;
  }
  return DefSubclassProc(box, msg, wp, lp);
}

// True when the paste is done: the clipboard held one complex number, now in
// the input, or another program held the clipboard, so nothing is pasted.
bool Form1Window::OnPaste(HWND box, Field field) {
  std::optional<std::wstring> text;
  {
    Clipboard clipboard(hwnd_);
    if (!clipboard.IsOpen()) return true;
    text = clipboard.Text(kMaxComplexTextLength);
  }
  if (!text || !commands_.PasteIntoInput(field, *text)) return false;
  // The caret after the text, as after any paste.
  const int end = GetWindowTextLengthW(box);
  SendMessageW(box, EM_SETSEL, end, end);
  return true;
}

int Form1Window::Show(std::wstring_view prompt, unsigned style, std::wstring_view title) {
  return ShowMessageBox(hwnd_, prompt, style, title);
}

void Form1Window::OnCommand(int id, int code, HWND from) {
  if (id == IDOK && !from) {
    // Enter: a focused push button is pressed, as in a dialog; elsewhere
    // nothing starts, since the window has no default button.
    HWND focus = GetFocus();
    const int i = controls_.IndexOf(focus);
    if (i >= 0 && kForm1Controls[static_cast<size_t>(i)].kind == Kind::Button) {
      SendMessageW(focus, BM_CLICK, 0, 0);
    }
    return;
  }
  if (!from) {
    // Escape closes nothing; only the menus' own ids reach the program.
    if (id == IDCANCEL) return;
    if (events_ && code == 0) events_->OnMenu(static_cast<MenuId>(id));
    return;
  }
  if (code == BN_CLICKED) OnClick(static_cast<ControlId>(id));
}

void Form1Window::OnClick(ControlId id) {
  switch (id) {
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

// The result boxes are grey, read-only or not; every other box and label
// keeps the window's colours, which in dark mode are the palette's.
LRESULT Form1Window::OnControlColour(UINT msg, HDC dc, HWND control) {
  if (msg != WM_CTLCOLOREDIT && msg != WM_CTLCOLORSTATIC) return 0;
  const int i = controls_.IndexOf(control);
  if (i < 0 || !kForm1Controls[static_cast<size_t>(i)].grey) return 0;
  // Out of the system's colours, the text colour Windows pairs with the menu
  // colour, so that every colour scheme, high-contrast ones too, keeps the
  // text readable.
  const Palette& p = colours_.palette();
  return colours_.Answer(dc, p.resultText, p.result);
}

LRESULT Form1Window::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_DRAWITEM:
      if (DrawHeadingLabel(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return TRUE;
      break;
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
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void Form1Window::OnDestroyed() {
  if (quitOnDestroy_) PostQuitMessage(0);
}

int RunMessageLoop(Form1Window& form, const std::function<bool()>& done) {
  return RunMessages([&] { return form.hwnd(); }, [&] { return done && done(); }).value_or(-1);
}

}  // namespace quorvane::win32
