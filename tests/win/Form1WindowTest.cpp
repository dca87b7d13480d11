// The main window through its real controls under Wine: every control where
// the layout puts it, the keyboard, the option groups, and the commands wired
// to their buttons with real message boxes.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/Form1Program.h"
#include "tests/win/FontHandover.h"
#include "tests/win/WinTestSupport.h"
#include "ui/win32/Form1Window.h"

namespace quorvane::testing {
namespace {

using win32::Form1Window;

// Pixels from twips, computed here on its own: 1440 twips to the inch,
// rounded to nearest.
int Px(int twips, int dpi) { return static_cast<int>(std::floor(twips * dpi / 1440.0 + 0.5)); }

std::wstring ClassOf(HWND h) {
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  return cls;
}

RECT RectInParent(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// Nothing is queued for this thread, nor a window left to paint.
bool QueueEmpty() {
  MSG msg;
  return !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
}

struct Window {
  // With the whole program attached, or (events null) the window alone.
  explicit Window(std::wstring sep = L".", bool withProgram = false)
      : form(std::make_unique<Form1Window>(std::move(sep))),
        program(withProgram ? std::make_unique<Form1Program>(*form, [this] { ++ends; }) : nullptr) {
    EXPECT_TRUE(form->Create(GetModuleHandleW(nullptr), SW_SHOWNORMAL, program.get(), false));
    SetForegroundWindow(form->hwnd());
    Drain();
  }
  HWND operator[](ControlId id) const { return form->Control(id); }
  void Type(ControlId id, const wchar_t* text) { SetWindowTextW((*this)[id], text); }
  void Click(ControlId id) { SendMessageW((*this)[id], BM_CLICK, 0, 0); }
  std::wstring Text(ControlId id) const { return TextOf((*this)[id]); }
  void Inputs(const wchar_t* ra, const wchar_t* ia, const wchar_t* rb, const wchar_t* ib) {
    Type(ControlId::txtRealA, ra);
    Type(ControlId::txtImagA, ia);
    Type(ControlId::txtRealB, rb);
    Type(ControlId::txtImagB, ib);
  }
  // The program's own loop, until all that is queued has been handled.
  void Drain() { EXPECT_EQ(win32::RunMessageLoop(*form, QueueEmpty), -1); }
  // A key as the user presses it: queued for the focused control and taken
  // by the program's own loop.
  void Key(UINT vk) {
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, vk, 1);
    PostMessageW(focus, WM_KEYUP, vk, 0xC0000001);
    Drain();
  }
  ControlId FocusId() const {
    HWND f = GetFocus();
    for (const ControlRow& c : kForm1Controls) {
      if ((*this)[c.id] == f) return c.id;
    }
    return ControlId::None;
  }
  std::unique_ptr<Form1Window> form;
  int ends = 0;
  std::unique_ptr<Form1Program> program;
};

// Every control of the table, checked at the dpi the window runs at.
void CheckLayoutAt(const Window& w, int dpi) {
  ASSERT_EQ(w.form->Dpi(), dpi);
  for (const ControlRow& c : kForm1Controls) {
    SCOPED_TRACE(std::string(c.name, c.name + wcslen(c.name)));
    HWND h = w[c.id];
    ASSERT_TRUE(h);
    const std::map<Kind, std::wstring> classes = {{Kind::TextBox, L"Edit"},
                                                  {Kind::Label, L"Static"},
                                                  {Kind::Button, L"Button"},
                                                  {Kind::Frame, L"QuorvaneFrame"},
                                                  {Kind::Option, L"Button"}};
    EXPECT_EQ(lstrcmpiW(ClassOf(h).c_str(), classes.at(c.kind).c_str()), 0) << ClassOf(h).c_str();
    EXPECT_EQ(GetParent(h), c.container == ControlId::None ? w.form->hwnd() : w[c.container]);
    const RECT r = RectInParent(h);
    EXPECT_EQ(r.left, Px(c.left, dpi));
    EXPECT_EQ(r.top, Px(c.top, dpi));
    EXPECT_EQ(r.right - r.left, Px(c.width, dpi));
    EXPECT_EQ(r.bottom - r.top, Px(c.height, dpi));
    EXPECT_EQ(TextOf(h), std::wstring(c.caption));

    LOGFONTW lf{};
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
    ASSERT_TRUE(font);
    ASSERT_EQ(GetObjectW(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
    const FontRow& f = kFonts[static_cast<int>(c.font)];
    EXPECT_STREQ(lf.lfFaceName, f.face);
    EXPECT_EQ(lf.lfHeight, -static_cast<int>(std::floor(f.pointsX100 / 100.0 * dpi / 72 + 0.5)));
    EXPECT_EQ(lf.lfWeight, f.bold ? FW_BOLD : FW_NORMAL);

    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.hwnd = GetParent(h);
    ti.uId = reinterpret_cast<UINT_PTR>(h);
    wchar_t tip[256] = {};
    ti.lpszText = tip;
    const bool hasTip =
        SendMessageW(w.form->Tooltip(), TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
    EXPECT_EQ(hasTip, c.tooltip != nullptr);
    if (hasTip && c.tooltip) {
      ti.lpszText = tip;
      SendMessageW(w.form->Tooltip(), TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&ti));
      EXPECT_STREQ(tip, c.tooltip);
    }

    const LONG style = GetWindowLongW(h, GWL_STYLE);
    if (c.kind == Kind::TextBox) {
      EXPECT_FALSE(style & (ES_READONLY | ES_MULTILINE));
      EXPECT_GE(static_cast<unsigned>(SendMessageW(h, EM_GETLIMITTEXT, 0, 0)), 0x7FFFFFFEu);
    }
    if (c.kind == Kind::Label || c.kind == Kind::Frame) {
      EXPECT_FALSE(style & WS_TABSTOP);
    }
  }
  RECT client;
  GetClientRect(w.form->hwnd(), &client);
  EXPECT_EQ(client.right, Px(kClientWidthTwips, dpi));
  EXPECT_EQ(client.bottom, Px(kClientHeightTwips, dpi));
}

TEST(Form1Layout, EveryControlAtItsPlaceAtTheSystemDpi) {
  Window w;
  const std::wstring expected = Env(L"QUORVANE_EXPECT_DPI");
  CheckLayoutAt(w, expected.empty() ? 96 : std::stoi(expected));
}

TEST(Form1Layout, ScaledAt144Dpi) {
  const DWORD dpi = 144;
  UserSetting logPixels{L"Control Panel\\Desktop", L"LogPixels", REG_DWORD,
                        std::vector<BYTE>(reinterpret_cast<const BYTE*>(&dpi),
                                          reinterpret_cast<const BYTE*>(&dpi) + 4)};
  EXPECT_EQ(RunSelfWith(logPixels, L"Form1Layout.EveryControlAtItsPlaceAtTheSystemDpi",
                        L"QUORVANE_EXPECT_DPI", L"144"),
            0u);
}

TEST(Form1Layout, LaysOutAgainWhenTheDpiChanges) {
  Window w;
  // The size asked first is the window framed as Windows frames it at 144
  // dpi, with its menu bar, around the client area at its designed size.
  SIZE asked{};
  ChangeDpi(w.form->hwnd(), 144, &asked);
  const SIZE framed =
      FramedAt(w.form->hwnd(), Px(kClientWidthTwips, 144), Px(kClientHeightTwips, 144), true, 144);
  EXPECT_EQ(asked.cx, framed.cx);
  EXPECT_EQ(asked.cy, framed.cy);
  for (const ControlRow& c : kForm1Controls) {
    const RECT r = RectInParent(w[c.id]);
    EXPECT_EQ(r.left, Px(c.left, 144)) << c.name;
    EXPECT_EQ(r.right - r.left, Px(c.width, 144)) << c.name;
  }
  EXPECT_EQ(w.form->Dpi(), 144);
}

// Pixel height of a font row at a dpi, rounded to nearest.
int FontHeight(const FontRow& f, int dpi) {
  return -static_cast<int>(std::floor(f.pointsX100 / 100.0 * dpi / 72 + 0.5));
}

TEST(Form1Layout, NoControlHoldsADeletedFontAcrossDpiChanges) {
  Window w;
  for (int dpi : {144, 120, 96}) {
    const Handover h = ChangeDpi(w.form->hwnd(), dpi);
    EXPECT_EQ(h.given, kControlCount) << dpi;
    EXPECT_EQ(h.stale, 0) << dpi;
    for (const ControlRow& c : kForm1Controls) {
      LOGFONTW lf{};
      const auto font = reinterpret_cast<HFONT>(SendMessageW(w[c.id], WM_GETFONT, 0, 0));
      ASSERT_EQ(GetObjectW(font, sizeof lf, &lf), static_cast<int>(sizeof lf)) << c.name;
      EXPECT_EQ(lf.lfHeight, FontHeight(kFonts[static_cast<int>(c.font)], dpi)) << c.name;
    }
  }
}

TEST(Form1Layout, WindowCaptionFrameAndMenus) {
  Window w;
  EXPECT_EQ(TextOf(w.form->hwnd()), L"Quorvane");
  const LONG style = GetWindowLongW(w.form->hwnd(), GWL_STYLE);
  for (LONG bit : {WS_CAPTION, WS_SYSMENU, WS_THICKFRAME, WS_MINIMIZEBOX, WS_MAXIMIZEBOX})
    EXPECT_EQ(style & bit, bit);

  HMENU bar = GetMenu(w.form->hwnd());
  ASSERT_TRUE(bar);
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  const std::vector<std::pair<std::wstring, std::vector<std::pair<std::wstring, UINT>>>> menus = {
      {L"File", {{L"Exit", 201}}},
      {L"Help", {{L"Help Contents", 202}, {L"About Quorvane", 203}}},
  };
  for (int i = 0; i < 2; ++i) {
    wchar_t text[64] = {};
    GetMenuStringW(bar, i, text, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(text), menus[i].first);
    HMENU popup = GetSubMenu(bar, i);
    ASSERT_TRUE(popup);
    ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(menus[i].second.size()));
    for (int j = 0; j < GetMenuItemCount(popup); ++j) {
      GetMenuStringW(popup, j, text, 64, MF_BYPOSITION);
      EXPECT_EQ(std::wstring(text), menus[i].second[j].first);
      EXPECT_EQ(GetMenuItemID(popup, j), menus[i].second[j].second);
      EXPECT_EQ(GetMenuState(popup, j, MF_BYPOSITION) & (MF_GRAYED | MF_CHECKED | MF_SEPARATOR),
                0u);
    }
  }
}

// The colour a box is drawn with, read back from the screen.
COLORREF InsideColour(HWND box) {
  RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  GdiFlush();
  RECT r;
  GetClientRect(box, &r);
  HDC dc = GetDC(box);
  const COLORREF c = GetPixel(dc, r.right - 3, r.bottom / 2);
  ReleaseDC(box, dc);
  return c;
}

// Whether any pixel of a box is drawn in the given colour.
bool DrawsIn(HWND box, COLORREF colour) {
  RECT r;
  GetClientRect(box, &r);
  HDC dc = GetDC(box);
  bool found = false;
  for (int y = 0; y < r.bottom && !found; ++y) {
    for (int x = 0; x < r.right && !found; ++x) found = GetPixel(dc, x, y) == colour;
  }
  ReleaseDC(box, dc);
  return found;
}

// The label above A's frame reaches into its top edge; the frame's etched
// line stays whole along it all the same.
TEST(Form1Layout, AFramesTopLineIsWhole) {
  Window w;
  RedrawWindow(w.form->hwnd(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  // Painted again on its own, the label lies beneath the frame all the same.
  RedrawWindow(w[ControlId::Label7], nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  GdiFlush();
  HWND frame = w[ControlId::Frame1];
  RECT r;
  GetClientRect(frame, &r);
  HDC dc = GetDC(frame);
  int shown = 0;
  for (int x = 0; x < r.right; ++x) shown += GetPixel(dc, x, 0) == GetSysColor(COLOR_3DSHADOW);
  ReleaseDC(frame, dc);
  EXPECT_GE(shown, r.right - 1) << "of " << r.right << " pixels";  // the last is the right edge's
}

TEST(Form1Layout, ResultBoxesAreGreyWithMenuTextAndInputsKeepTheWindowColours) {
  {
    // With the system's own colours, as Windows 10 and 11 and the prepared
    // Wine prefix have them: the menu colour is a grey, the window colour white.
    Window w;
    const COLORREF input = InsideColour(w[ControlId::txtRealA]);
    const COLORREF result = InsideColour(w[ControlId::txtQuotientReal]);
    EXPECT_NE(result, input) << "a result box looks like an input";
  }
  // Menu text and window text are both black; a colour of its own tells them apart.
  const int elements[] = {COLOR_MENUTEXT};
  const COLORREF before[] = {GetSysColor(COLOR_MENUTEXT)};
  const COLORREF menuText[] = {RGB(0, 0, 192)};
  SetSysColors(1, elements, menuText);
  const Restore sessionColours([&] { SetSysColors(1, elements, before); });
  Window w;
  for (const ControlRow& c : kForm1Controls) {
    if (c.kind != Kind::TextBox) continue;
    w.Type(c.id, L"-888.888");
    EXPECT_EQ(InsideColour(w[c.id]), GetSysColor(c.grey ? COLOR_MENU : COLOR_WINDOW)) << c.name;
    EXPECT_EQ(DrawsIn(w[c.id], menuText[0]), c.grey) << c.name;
    EXPECT_EQ(DrawsIn(w[c.id], GetSysColor(COLOR_WINDOWTEXT)), !c.grey) << c.name;
  }
}

const std::vector<ControlId> kTabWalk = {
    ControlId::txtRealA,
    ControlId::txtImagA,
    ControlId::txtRealB,
    ControlId::txtImagB,
    ControlId::optA0,
    ControlId::optB0,
    ControlId::cmdClearInput,
    ControlId::cmdExecute,
    ControlId::txtQuotientReal,
    ControlId::txtQuotientImag,
    ControlId::txtQuotientMag,
    ControlId::txtQuotientAngle,
    ControlId::cmdCopyQuotient,
    ControlId::txtProductReal,
    ControlId::txtProductImag,
    ControlId::txtProductMag,
    ControlId::txtProductAngle,
    ControlId::txtSumReal,
    ControlId::txtSumImag,
    ControlId::txtSumMag,
    ControlId::txtSumAngle,
    ControlId::txtDifferenceReal,
    ControlId::txtDifferenceImag,
    ControlId::txtDifferenceMag,
    ControlId::txtDifferenceAngle,
    ControlId::cmdCopyProduct,
    ControlId::cmdCopySum,
    ControlId::cmdCopyDifference,
    ControlId::txtRealA,
};

TEST(Form1Keyboard, TabVisitsTheControlsInOrderAndOnlyTheSelectedOption) {
  Window w;  // the focus starts in the first box
  std::vector<ControlId> walk = {w.FocusId()};
  for (size_t i = 1; i < kTabWalk.size(); ++i) {
    w.Key(VK_TAB);
    walk.push_back(w.FocusId());
  }
  EXPECT_EQ(walk, kTabWalk);

  // With Polar chosen for A, Tab reaches the Polar button of A instead.
  w.Click(ControlId::optA1);
  SetFocus(w[ControlId::txtImagB]);
  w.Key(VK_TAB);
  EXPECT_EQ(w.FocusId(), ControlId::optA1);
  w.Key(VK_TAB);
  EXPECT_EQ(w.FocusId(), ControlId::optB0);

  // Shift+Tab walks back.
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  w.Key(VK_TAB);
  const ControlId back = w.FocusId();
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(back, ControlId::optA1);
}

// Shown without being activated, the window leaves the focus where it was.
TEST(Form1Keyboard, ShownInactiveItTakesNoFocus) {
  Window w;
  Form1Window quiet(L".");
  ASSERT_TRUE(quiet.Create(GetModuleHandleW(nullptr), SW_SHOWNOACTIVATE, nullptr, false));
  w.Drain();
  EXPECT_EQ(GetActiveWindow(), w.form->hwnd());
  EXPECT_EQ(w.FocusId(), ControlId::txtRealA);
  w.Key(VK_TAB);
  // Activated later, it gives its first box the focus.
  SetActiveWindow(quiet.hwnd());
  EXPECT_EQ(GetFocus(), quiet.Control(ControlId::txtRealA));
  // The first window, activated by a click on its face (WA_CLICKACTIVE),
  // gives the focus back to the box that had it.
  RECT client;
  GetClientRect(w.form->hwnd(), &client);
  POINT at{client.right - 2, client.bottom - 2};
  ClientToScreen(w.form->hwnd(), &at);
  SetWindowPos(quiet.hwnd(), nullptr, at.x + 10, at.y + 10, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  ASSERT_EQ(WindowFromPoint(at), w.form->hwnd());
  INPUT click[2] = {};
  click[0].type = click[1].type = INPUT_MOUSE;
  click[0].mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  click[0].mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  click[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ASSERT_EQ(SendInput(2, click, sizeof(INPUT)), 2u);
  ASSERT_TRUE(WaitFor(
      [&] {
        w.Drain();
        return GetActiveWindow() == w.form->hwnd();
      },
      "the click to activate the window"));
  EXPECT_EQ(w.FocusId(), ControlId::txtImagA);
}

// With the program attached: Escape reaches it as a command no menu has.
TEST(Form1Keyboard, EnterAndEscapeStartNothing) {
  MessageBoxWatcher boxes;
  Window w(L".", true);
  w.Inputs(L"3", L"4", L"1", L"1");
  for (ControlId at : {ControlId::txtRealA, ControlId::txtImagB, ControlId::txtSumMag}) {
    SetFocus(w[at]);
    w.Key(VK_RETURN);
    w.Key(VK_ESCAPE);
  }
  EXPECT_TRUE(IsWindow(w.form->hwnd()));
  EXPECT_TRUE(IsWindowVisible(w.form->hwnd()));
  EXPECT_EQ(w.Text(ControlId::txtQuotientReal), L"");
  EXPECT_EQ(w.Text(ControlId::txtRealA), L"3");
  EXPECT_TRUE(boxes.Seen().empty());
  EXPECT_EQ(w.ends, 0);

  // Enter on a focused button presses it, as anywhere in Windows.
  SetFocus(w[ControlId::cmdExecute]);
  w.Key(VK_RETURN);
  EXPECT_EQ(w.Text(ControlId::txtQuotientReal), L"3.5");
}

// Every arrow on either option of a frame selects and focuses the other one,
// as a click does, and leaves the other frame's choice as it was.
TEST(Form1Options, ArrowsMoveToTheOtherOptionOfTheirFrame) {
  using C = ControlId;
  const struct {
    C from, to, otherFrame;
  } rows[] = {{C::optA0, C::optA1, C::optB1},
              {C::optA1, C::optA0, C::optB0},
              {C::optB0, C::optB1, C::optA1},
              {C::optB1, C::optB0, C::optA0}};
  Window w;
  const auto checked = [&](C id) { return SendMessageW(w[id], BM_GETCHECK, 0, 0) == BST_CHECKED; };
  for (const auto& r : rows) {
    for (UINT vk : {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT}) {
      SCOPED_TRACE(::testing::Message() << RowOf(r.from).name << " key " << vk);
      w.Click(r.otherFrame);
      w.Click(r.from);
      SetFocus(w[r.from]);
      w.Key(vk);
      EXPECT_EQ(w.FocusId(), r.to);
      EXPECT_TRUE(checked(r.to) && !checked(r.from) && checked(r.otherFrame));
      EXPECT_TRUE(GetWindowLongW(w[r.to], GWL_STYLE) & WS_TABSTOP);  // the window was told
    }
  }
}

TEST(Form1Options, GroupsAreIndependent) {
  struct Step {
    ControlId click;
    bool aRect, bRect;
  };
  const Step steps[] = {
      {ControlId::optA1, false, true},  {ControlId::optA1, false, true},
      {ControlId::optB1, false, false}, {ControlId::optA0, true, false},
      {ControlId::optB0, true, true},   {ControlId::optB0, true, true},
  };
  Window w;
  EXPECT_TRUE(w.form->IsSelected(OptionGroup::optA, 0));
  EXPECT_TRUE(w.form->IsSelected(OptionGroup::optB, 0));
  for (const Step& s : steps) {
    w.Click(s.click);
    EXPECT_EQ(w.form->IsSelected(OptionGroup::optA, 0), s.aRect);
    EXPECT_EQ(w.form->IsSelected(OptionGroup::optA, 1), !s.aRect);
    EXPECT_EQ(w.form->IsSelected(OptionGroup::optB, 0), s.bRect);
    EXPECT_EQ(w.form->IsSelected(OptionGroup::optB, 1), !s.bRect);
  }
}

// A control that cannot be made ends the window's creation, with no window
// left half made.
TEST(Form1Layout, AControlThatCannotBeMadeEndsCreation) {
  const HHOOK refuse = SetWindowsHookExW(
      WH_CBT,
      [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
        const auto* cs =
            code == HCBT_CREATEWND ? reinterpret_cast<CBT_CREATEWNDW*>(lp)->lpcs : nullptr;
        if (cs && (cs->style & WS_CHILD) &&
            cs->hMenu == reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId::cmdExecute))) {
          return 1;
        }
        return CallNextHookEx(nullptr, code, wp, lp);
      },
      nullptr, GetCurrentThreadId());
  Form1Window form(L".");
  EXPECT_FALSE(form.Create(GetModuleHandleW(nullptr), SW_SHOWNORMAL, nullptr, false));
  UnhookWindowsHookEx(refuse);
  EXPECT_EQ(form.hwnd(), nullptr);
  EXPECT_EQ(FindProcessWindow(GetCurrentProcessId(), Form1Window::kClassName, nullptr), nullptr);
}

TEST(Form1Layout, ResizingMovesNothing) {
  Window w;
  std::map<ControlId, RECT> before;
  for (const ControlRow& c : kForm1Controls) before[c.id] = RectInParent(w[c.id]);
  auto same = [&](const char* when) {
    for (const ControlRow& c : kForm1Controls) {
      const RECT r = RectInParent(w[c.id]);
      const RECT& b = before[c.id];
      EXPECT_TRUE(r.left == b.left && r.top == b.top && r.right == b.right && r.bottom == b.bottom)
          << when << " " << c.name;
    }
  };
  SetWindowPos(w.form->hwnd(), nullptr, 0, 0, 1200, 900, SWP_NOMOVE | SWP_NOZORDER);
  same("enlarged");
  ShowWindow(w.form->hwnd(), SW_MAXIMIZE);
  same("maximised");
  ShowWindow(w.form->hwnd(), SW_RESTORE);
  SetWindowPos(w.form->hwnd(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
  same("shrunk");
}

TEST(Form1Commands, ExecuteFillsTheSixteenBoxes) {
  MessageBoxWatcher boxes;
  Window w;
  w.Inputs(L"3", L"4", L"1", L"1");
  w.Click(ControlId::cmdExecute);
  const std::map<ControlId, std::wstring> expected = {
      {ControlId::txtQuotientReal, L"3.5"},    {ControlId::txtQuotientImag, L".5"},
      {ControlId::txtQuotientMag, L"3.536"},   {ControlId::txtQuotientAngle, L"8.13"},
      {ControlId::txtProductReal, L"-1.0"},    {ControlId::txtProductImag, L"7.0"},
      {ControlId::txtProductMag, L"7.071"},    {ControlId::txtProductAngle, L"98.13"},
      {ControlId::txtSumReal, L"4.0"},         {ControlId::txtSumImag, L"5.0"},
      {ControlId::txtSumMag, L"6.403"},        {ControlId::txtSumAngle, L"51.34"},
      {ControlId::txtDifferenceReal, L"2.0"},  {ControlId::txtDifferenceImag, L"3.0"},
      {ControlId::txtDifferenceMag, L"3.606"}, {ControlId::txtDifferenceAngle, L"56.31"},
  };
  for (const auto& [id, text] : expected) EXPECT_EQ(w.Text(id), text) << RowOf(id).name;
  EXPECT_TRUE(boxes.Seen().empty());

  // Polar B shows its rectangular form under its inputs.
  w.Click(ControlId::optB1);
  w.Inputs(L"3", L"4", L"5", L"90");
  w.Click(ControlId::cmdExecute);
  EXPECT_EQ(w.Text(ControlId::lblDisplayReal2), L".0");
  EXPECT_EQ(w.Text(ControlId::lblDisplayImag2), L"5.0");
}

TEST(Form1Commands, EachMessageIsARealBoxWithItsPromptAndTitle) {
  struct Case {
    const char* name;
    const wchar_t *ra, *ia, *rb, *ib;
    std::vector<std::pair<std::wstring, std::wstring>> boxes;  // title, prompt
  };
  const Case cases[] = {
      {"data entry",
       L"abc",
       L"2",
       L"3",
       L"4",
       {{L"Data Entry Error",
         L"Data in one or more of the required fields either invalid or missing!"}}},
      {"division by zero",
       L"3",
       L"4",
       L"0",
       L"0",
       {{L"Complex Arithmetic Module in Routine CQuotient",
         L"Division by Zero Error Occurred - I was dividing 0 by 0"}}},
      {"unknown error",
       L"1E200",
       L"0",
       L"1E200",
       L"0",
       {{L"Error in cmdExecute_Click",
         L"Unknown Error occurred while trying to process the inputs!"}}},
  };
  MessageBoxWatcher watcher;
  Window w;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    watcher.Clear();
    w.Inputs(c.ra, c.ia, c.rb, c.ib);
    w.Click(ControlId::cmdExecute);  // returns once every box is answered
    const std::vector<SeenBox> seen = watcher.Seen();
    ASSERT_EQ(seen.size(), c.boxes.size());
    for (size_t i = 0; i < seen.size(); ++i) {
      EXPECT_EQ(seen[i].title, c.boxes[i].first);
      EXPECT_EQ(seen[i].prompt, c.boxes[i].second);
      EXPECT_TRUE(seen[i].hasOk);
      EXPECT_FALSE(seen[i].hasCancel);
      EXPECT_FALSE(seen[i].hasIcon);
      EXPECT_EQ(seen[i].owner, w.form->hwnd());
    }
  }
}

TEST(Form1Commands, UntitledBoxShowsTheProgramsTitle) {
  MessageBoxWatcher watcher;
  Window w;
  w.form->Show(L"Some prompt", 0, L"");
  const std::vector<SeenBox> seen = watcher.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, L"Quorvane");
  EXPECT_EQ(seen[0].prompt, L"Some prompt");
}

TEST(Form1Locale, CommaSeparatorReadsAndShowsCommas) {
  const std::wstring comma = L",";
  UserSetting sDecimal{L"Control Panel\\International", L"sDecimal", REG_SZ,
                       std::vector<BYTE>(reinterpret_cast<const BYTE*>(comma.c_str()),
                                         reinterpret_cast<const BYTE*>(comma.c_str() + 2))};
  EXPECT_EQ(RunSelfWith(sDecimal, L"Form1Locale.InTheUsersLocale", L"QUORVANE_EXPECT_SEP", L","),
            0u);
}

TEST(Form1Locale, InTheUsersLocale) {
  const std::wstring sep = win32::UserDecimalSeparator();
  const std::wstring expected = Env(L"QUORVANE_EXPECT_SEP");
  EXPECT_EQ(sep, expected.empty() ? L"." : expected);
  const wchar_t* half = sep == L"," ? L"2,5" : L"2.5";
  Window w(sep);
  w.Inputs(half, L"0", L"2", L"0");
  w.Click(ControlId::cmdExecute);
  EXPECT_EQ(w.Text(ControlId::txtQuotientReal), sep == L"," ? L"1,25" : L"1.25");
  EXPECT_EQ(w.Text(ControlId::txtSumReal), sep == L"," ? L"4,5" : L"4.5");
}

// The separator changed while the window is open, as the regional settings
// do it: stored for the user, then announced to every window as "intl". In
// this process, since Wine keeps the user's settings per process and only
// that process's SetLocaleInfoW updates them; on Windows the change reaches
// every program.
TEST(Form1Locale, FollowsTheRegionalSettingsWhileOpen) {
  wchar_t original[8] = {};
  ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, original, 8), 0);
  const Restore userSeparator(
      [&] { SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, original); });
  struct Step {
    const wchar_t* announced;
    const wchar_t* sep;
    const wchar_t* realA;
    const wchar_t* quotient;  // "" when the press is refused
  };
  const Step steps[] = {
      {L"Environment", L",", L"2,5", L""},  // not a regional change: "." stays
      {L"intl", L",", L"2,5", L"1,25"},
      {L"intl", L".", L"2,5", L""},
      {L"intl", L".", L"2.5", L"1.25"},
  };
  MessageBoxWatcher watcher;
  Window w;
  for (const Step& s : steps) {
    SCOPED_TRACE(
        ::testing::PrintToString(std::wstring(s.announced) + L" " + s.sep + L" " + s.realA));
    watcher.Clear();
    ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, s.sep));
    wchar_t stored[8] = {};
    DWORD size = sizeof stored;
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\International", L"sDecimal",
                           RRF_RT_REG_SZ, nullptr, stored, &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(stored, s.sep);
    const std::wstring shown = w.Text(ControlId::txtQuotientReal);
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(s.announced),
                        SMTO_ABORTIFHUNG, DeadlineMs(), nullptr);
    w.Drain();
    EXPECT_EQ(w.Text(ControlId::txtQuotientReal), shown);  // nothing on screen changes
    w.Inputs(s.realA, L"0", L"2", L"0");
    w.Click(ControlId::cmdExecute);
    if (*s.quotient) {
      EXPECT_EQ(w.Text(ControlId::txtQuotientReal), s.quotient);
      EXPECT_TRUE(watcher.Seen().empty());
    } else {
      EXPECT_EQ(w.Text(ControlId::txtQuotientReal), shown);
      ASSERT_EQ(watcher.Seen().size(), 1u);
      EXPECT_EQ(watcher.Seen()[0].title, L"Data Entry Error");
    }
  }
}

TEST(Form1Commands, ClearAndCopyThroughTheWindow) {
  Window w;
  w.Click(ControlId::optA1);
  w.Inputs(L"1", L"0", L"3", L"0");
  w.Click(ControlId::cmdExecute);
  ASSERT_EQ(w.Text(ControlId::lblDisplayReal1), L"1.0");
  const std::wstring quotient = w.Text(ControlId::txtQuotientReal);

  w.Click(ControlId::cmdClearInput);
  for (ControlId id : {ControlId::txtRealA, ControlId::txtImagA, ControlId::txtRealB,
                       ControlId::txtImagB, ControlId::lblDisplayReal1, ControlId::lblDisplayImag1,
                       ControlId::lblDisplayReal2, ControlId::lblDisplayImag2})
    EXPECT_EQ(w.Text(id), L"") << RowOf(id).name;
  EXPECT_EQ(w.Text(ControlId::txtQuotientReal), quotient);
  EXPECT_FALSE(w.form->IsSelected(OptionGroup::optA, 0));

  struct Copy {
    ControlId button, real, imag;
  };
  const Copy copies[] = {
      {ControlId::cmdCopyQuotient, ControlId::txtQuotientReal, ControlId::txtQuotientImag},
      {ControlId::cmdCopyProduct, ControlId::txtProductReal, ControlId::txtProductImag},
      {ControlId::cmdCopySum, ControlId::txtSumReal, ControlId::txtSumImag},
      {ControlId::cmdCopyDifference, ControlId::txtDifferenceReal, ControlId::txtDifferenceImag},
  };
  // A text typed into a result box stays and is copied as typed.
  w.Type(ControlId::txtSumImag, L"abc");
  for (const Copy& c : copies) {
    w.Type(ControlId::lblDisplayReal2, L"stale");
    w.Click(c.button);
    EXPECT_EQ(w.Text(ControlId::txtRealA), w.Text(c.real)) << RowOf(c.button).name;
    EXPECT_EQ(w.Text(ControlId::txtImagA), w.Text(c.imag));
    EXPECT_EQ(w.Text(ControlId::txtRealB), w.Text(c.real));
    EXPECT_EQ(w.Text(ControlId::txtImagB), w.Text(c.imag));
    EXPECT_EQ(w.Text(ControlId::lblDisplayReal2), L"");
  }
  w.Click(ControlId::cmdCopySum);
  EXPECT_EQ(w.Text(ControlId::txtImagA), L"abc");
}

TEST(Form1Commands, TextBoxesHoldLongTexts) {
  Window w;
  // A megabyte, well past the edit control's default limit of 30,000.
  const std::wstring longText(1 << 20, L'x');
  w.form->SetText(Field::txtRealA, longText);
  EXPECT_EQ(w.form->GetText(Field::txtRealA), longText);
}

TEST(Form1Menus, AboutShowsOneBoxModallyEachTime) {
  std::unique_ptr<Form1Window> form = std::make_unique<Form1Window>(L".");
  int ends = 0;
  Form1Program program(*form, [&] { ++ends; });
  ASSERT_TRUE(form->Create(GetModuleHandleW(nullptr), SW_SHOWNORMAL, &program, false));
  HWND main = form->hwnd();
  IAboutBox* first = nullptr;
  for (int showing = 0; showing < 2; ++showing) {
    bool mainWasDisabled = false;
    EXPECT_TRUE(WhileModal(
        [&] { SendMessageW(main, WM_COMMAND, static_cast<WPARAM>(MenuId::mnuAbout), 0); },
        [] {
          return FindProcessWindow(GetCurrentProcessId(), L"QuorvaneAbout", L"About Quorvane");
        },
        [&](HWND about) {
          mainWasDisabled = !IsWindowEnabled(main);
          EXPECT_EQ(GetWindow(about, GW_OWNER), main);
          PostMessageW(about, WM_CLOSE, 0, 0);
        }));
    EXPECT_TRUE(mainWasDisabled);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(GetActiveWindow(), main);
    if (showing == 0) first = program.menu().aboutBox();
    EXPECT_NE(program.menu().aboutBox(), nullptr);
    EXPECT_EQ(program.menu().aboutBox(), first);
  }
  EXPECT_EQ(ends, 0);
}

// A question that cannot be shown (a hook refuses its box here) is no
// answer: a close is refused, and the end of the session goes on, since
// Windows ends it whatever a program answers.
TEST(Form1Program, UnshownQuestionKeepsTheWindowButLetsTheSessionEnd) {
  Window w(L".", true);
  const HHOOK hook = SetWindowsHookExW(
      WH_CBT,
      [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
        if (code == HCBT_CREATEWND && ClassOf(reinterpret_cast<HWND>(wp)) == L"#32770") return 1;
        return CallNextHookEx(nullptr, code, wp, lp);
      },
      nullptr, GetCurrentThreadId());
  const Restore unhook([&] { UnhookWindowsHookEx(hook); });
  EXPECT_EQ(SendMessageW(w.form->hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
  SendMessageW(w.form->hwnd(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(w.form->hwnd()));
  EXPECT_EQ(w.ends, 0);
}

TEST(Form1Menus, ExitAnsweredOkEndsAtOnceWithoutAClose) {
  MessageBoxWatcher watcher(IDOK);
  std::unique_ptr<Form1Window> form = std::make_unique<Form1Window>(L".");
  int ends = 0;
  Form1Program program(*form, [&] { ++ends; });
  ASSERT_TRUE(form->Create(GetModuleHandleW(nullptr), SW_SHOWNORMAL, &program, false));
  SendMessageW(form->hwnd(), WM_COMMAND, static_cast<WPARAM>(MenuId::mnuFileExit), 0);
  EXPECT_EQ(ends, 1);
  ASSERT_EQ(watcher.Seen().size(), 1u);
  EXPECT_EQ(watcher.Seen()[0].title, L"Quorvane Shutting Down");
  EXPECT_TRUE(IsWindow(form->hwnd()));  // no close request reached the window
}

// Ctrl+V and Shift+Insert through the program's own loop: one complex number
// fills the focused box's input and selects its form; anything else, a
// clipboard without text or held by another program, and every result box,
// paste as always, at once.
TEST(Form1Clipboard, PasteFillsAnInputOrPastesAsAlways) {
  using C = ControlId;
  const std::wstring megabyte(1 << 20, L'7'), thousand(1000, L'7'), held = L"(held)";
  const struct {
    C box;
    std::wstring clipboard;  // empty: no text
    bool shiftInsert;
    std::wstring shown;  // the four inputs and the focused box
    bool aPolar, bPolar;
  } cases[] = {
      {C::txtImagB, L"3+4j", false, L",,3,4,4", true, false},
      {C::txtRealA, L"(1.5-2.25j)", true, L"1.5,-2.25,,,1.5", false, true},
      {C::txtImagA, L"5\u222053.13\u00b0", false, L"5,53.13,,,53.13", true, true},
      {C::txtRealB, L"12 < -30", true, L",,12,-30,12", true, true},
      {C::txtRealA, L"42", false, L"42,,,,42", true, true},
      {C::txtRealA, L"3+4", true, L"3+4,,,,3+4", true, true},
      {C::txtImagA, L"", false, L",,,,", true, true},
      {C::txtImagA, held, false, L",,,,", true, true},
      {C::txtRealB, megabyte, true, L",," + thousand + L",," + thousand, true, true},
      {C::txtSumReal, L"3+4j", false, L",,,,3+4j", true, true},
  };
  Window w;
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.clipboard.substr(0, 20)));
    w.Inputs(L"", L"", L"", L"");
    w.Click(C::optA1);
    w.Click(C::optB1);
    const wchar_t* text = c.clipboard.empty() ? nullptr : c.clipboard.c_str();
    ASSERT_TRUE(PutClipboardText(c.clipboard == held ? L"3+4j" : text));
    std::atomic<int> holding{c.clipboard == held ? 0 : 2};  // 1 while another thread holds it
    std::thread holder([&] {
      if (holding == 2) return;
      holding = OpenClipboard(nullptr) ? 1 : 2;
      WaitFor([&] { return holding == 2; }, "the paste to end");
      CloseClipboard();
    });
    ASSERT_TRUE(WaitFor([&] { return holding != 0; }, "the clipboard held"));
    SetFocus(w[c.box]);
    // A megabyte is pasted up to the box's limit, as an edit control does.
    SendMessageW(w[c.box], EM_SETLIMITTEXT, c.clipboard == megabyte ? 1000 : 0, 0);
    // Ctrl+V as TranslateMessage makes it, or Shift+Insert.
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = c.shiftInsert ? 0x80 : 0;
    SetKeyboardState(keys);
    const auto start = std::chrono::steady_clock::now();
    if (c.shiftInsert) {
      PostMessageW(w[c.box], WM_KEYDOWN, VK_INSERT, 1);
    } else {
      PostMessageW(w[c.box], WM_CHAR, 0x16, 1);
    }
    w.Drain();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    holding = 2;
    holder.join();
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    std::wstring shown;
    for (C id : {C::txtRealA, C::txtImagA, C::txtRealB, C::txtImagB}) shown += w.Text(id) + L",";
    EXPECT_EQ(shown + w.Text(c.box), c.shown);
    EXPECT_EQ(w.form->IsSelected(OptionGroup::optA, 1), c.aPolar);
    EXPECT_EQ(w.form->IsSelected(OptionGroup::optB, 1), c.bPolar);
  }
}

}  // namespace
}  // namespace quorvane::testing
