// Both windows in the app mode the user chose, read back from the screen:
// dark faces with light text when the user chose dark, light again when the
// choice changes while they are open, whichever of Windows' notices brings
// it. The user's own choice is put back after each test.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "about/frmAbout.h"
#include "tests/win/FontHandover.h"
#include "tests/win/WinTestSupport.h"
#include "ui/win32/Form1Window.h"

namespace quorvane::testing {
namespace {

constexpr wchar_t kPersonalize[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

// The user's app mode, as Windows keeps it, and Windows' notice of it to
// every top-level window of this thread, as the broadcast brings it (or, as
// a theme or colour scheme change brings it, `notice` alone), handled by the
// program's loop.
void ChooseAppMode(DWORD light, UINT notice = WM_SETTINGCHANGE) {
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kPersonalize, L"AppsUseLightTheme", REG_DWORD,
                            &light, sizeof light),
            ERROR_SUCCESS);
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM notice) {
        const auto msg = static_cast<UINT>(notice);
        SendMessageW(h, msg, 0,
                     msg == WM_SETTINGCHANGE ? reinterpret_cast<LPARAM>(L"ImmersiveColorSet") : 0);
        return TRUE;
      },
      notice);
  Drain();
}

// Whether Windows draws each item of `menu` and its submenus itself: none,
// or all owner-drawn.
bool AllOwnerDrawn(HMENU menu, bool owner) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_SUBMENU;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii);
    if (((mii.fType & MFT_OWNERDRAW) != 0) != owner) return false;
    if (mii.hSubMenu && !AllOwnerDrawn(mii.hSubMenu, owner)) return false;
  }
  return true;
}

int Luminance(COLORREF c) {
  return (2126 * GetRValue(c) + 7152 * GetGValue(c) + 722 * GetBValue(c)) / 10000;
}

// What a window shows once its paint is done: its most common colour and how
// many of its pixels stand out from it as light ink.
struct Look {
  COLORREF back;
  int lightInk;
};

Look LookAt(HWND h) {
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
  RECT r;
  GetClientRect(h, &r);
  HDC dc = GetDC(h);
  std::map<COLORREF, int> count;
  for (LONG i = 0; i < r.right * r.bottom; ++i) ++count[GetPixel(dc, i % r.right, i / r.right)];
  ReleaseDC(h, dc);
  Look look{0, 0};
  int most = 0;
  for (const auto& [c, n] : count) {
    if (n > most) most = n, look.back = c;
  }
  for (const auto& [c, n] : count) {
    if (Luminance(c) > Luminance(look.back) + 96) look.lightInk += n;
  }
  return look;
}

class DarkMode : public ::testing::Test {
 protected:
  void SetUp() override {
    ChooseAppMode(0);
    form = std::make_unique<win32::Form1Window>(L".");
    ASSERT_TRUE(form->Create(GetModuleHandleW(nullptr), SW_SHOWNORMAL, nullptr, false));
    Drain();
  }
  HWND operator[](ControlId id) const { return form->Control(id); }

  // Put back after the window has gone.
  KeptUserValue userChoice{kPersonalize, L"AppsUseLightTheme"};
  std::unique_ptr<win32::Form1Window> form;
};

TEST_F(DarkMode, MainWindowIsDarkWithLightTextAndFollowsTheChoiceLive) {
  for (ControlId id :
       {ControlId::txtRealA, ControlId::txtImagA, ControlId::txtRealB, ControlId::txtImagB}) {
    SetWindowTextW((*this)[id], L"3");
  }
  SendMessageW((*this)[ControlId::cmdExecute], BM_CLICK, 0, 0);
  Drain();
  struct Row {
    const char* what;
    HWND h;
  } rows[] = {{"window", form->hwnd()},
              {"input", (*this)[ControlId::txtRealA]},
              {"result", (*this)[ControlId::txtQuotientReal]},
              {"button", (*this)[ControlId::cmdExecute]},
              {"option", (*this)[ControlId::optA0]}};
  std::vector<Look> looks;
  for (const Row& row : rows) {
    looks.push_back(LookAt(row.h));
    EXPECT_LT(Luminance(looks.back().back), 96) << row.what;
    EXPECT_GT(looks.back().lightInk, 10) << row.what;
  }
  EXPECT_NE(looks[1].back, looks[2].back) << "input and result alike";
  // The option's dot, at the middle of its circle, only where it is selected.
  const auto dot = [](HWND option) {
    LookAt(option);
    RECT r;
    GetClientRect(option, &r);
    HDC dc = GetDC(option);
    const COLORREF c = GetPixel(dc, MulDiv(13, win32::DpiOf(option), 96) / 2, r.bottom / 2);
    ReleaseDC(option, dc);
    return Luminance(c);
  };
  EXPECT_GT(dot((*this)[ControlId::optA0]), 160) << "selected";
  EXPECT_LT(dot((*this)[ControlId::optA1]), 96) << "not selected";

  HMENU bar = GetMenu(form->hwnd());
  for (UINT notice : {UINT{WM_SETTINGCHANGE}, UINT{WM_THEMECHANGED}, UINT{WM_SYSCOLORCHANGE}}) {
    ChooseAppMode(1, notice);
    EXPECT_GT(Luminance(LookAt(form->hwnd()).back), 160) << "light again " << notice;
    EXPECT_TRUE(AllOwnerDrawn(bar, false)) << "menus Windows' own again " << notice;
    ChooseAppMode(0, notice);
    EXPECT_LT(Luminance(LookAt(form->hwnd()).back), 96) << "dark again " << notice;
    EXPECT_TRUE(AllOwnerDrawn(bar, true)) << notice;
  }
}

// Moved to a monitor of another dpi, the menu bar's titles are measured
// again at that dpi: wider at 144 dpi, as wide again back at 96.
TEST_F(DarkMode, MenusAreMeasuredAgainAtANewDpi) {
  const auto width = [&] {
    RECT r{};
    GetMenuItemRect(form->hwnd(), GetMenu(form->hwnd()), 0, &r);
    return r.right - r.left;
  };
  const int before = width();
  ASSERT_GT(before, 0);
  ChangeDpi(form->hwnd(), 144);
  Drain();
  EXPECT_GT(width(), before * 5 / 4);
  ChangeDpi(form->hwnd(), 96);
  Drain();
  EXPECT_EQ(width(), before);
}

TEST_F(DarkMode, AboutBoxIsDarkWithLightLabels) {
  frmAbout box;
  box.Show(0, form->hwnd());
  Drain();
  const Look face = LookAt(box.hwnd());
  EXPECT_LT(Luminance(face.back), 96);
  for (AboutId id : {AboutId::lblTitle, AboutId::lblVersion, AboutId::lblDescription}) {
    const Look label = LookAt(box.Control(id));
    EXPECT_LT(Luminance(label.back), 96) << static_cast<int>(id);
    EXPECT_GT(label.lightInk, 10) << static_cast<int>(id);
  }
  EXPECT_GT(LookAt(box.Control(AboutId::cmdOK)).lightInk, 10);
  // The access letter of System Info underlined once the keyboard is used,
  // hidden while Windows says so. Wine keeps no such state (it
  // answers WM_QUERYUISTATE with 0 whatever it was told): the button here
  // keeps it as Windows does.
  static LONG_PTR wineProc;
  static LRESULT uiState;
  const HWND button = box.Control(AboutId::cmdSysInfo);
  uiState = UISF_HIDEACCEL | UISF_HIDEFOCUS;
  wineProc = SetWindowLongPtrW(
      button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND h, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_QUERYUISTATE) return uiState;
        if (msg == WM_UPDATEUISTATE) {
          uiState = LOWORD(wp) == UIS_SET ? uiState | HIWORD(wp) : uiState & ~HIWORD(wp);
        }
        return CallWindowProcW(reinterpret_cast<WNDPROC>(wineProc), h, msg, wp, lp);
      }));
  const auto ink = [&](WORD action) {
    SendMessageW(button, WM_UPDATEUISTATE, MAKEWPARAM(action, UISF_HIDEACCEL), 0);
    return LookAt(button).lightInk;
  };
  const int hidden = ink(UIS_SET);
  EXPECT_GT(ink(UIS_CLEAR), hidden + 2) << "underlined once the keyboard is used";
  SetWindowLongPtrW(button, GWLP_WNDPROC, wineProc);
}

// A menu of this thread's as a screen reader names its lines, by their
// MSAAMENUINFO, each followed by " (off)" when disabled and by " | ".
std::wstring MenuText(HMENU menu) {
  std::wstring text;
  for (UINT i = 0; i < static_cast<UINT>(GetMenuItemCount(menu)); ++i) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_DATA;
    GetMenuItemInfoW(menu, i, TRUE, &mii);
    const auto* named = reinterpret_cast<const MSAAMENUINFO*>(mii.dwItemData);
    if (named && named->dwMSAASignature == MSAA_MENU_SIG)
      text.append(named->pszWText, named->cchWText);
    const bool off = (mii.fState & MFS_GRAYED) && !(mii.fType & MFT_SEPARATOR);
    text += off ? L" (off) | " : L" | ";
  }
  return text;
}

// A result box's context menu, opened by the menu key: drawn in the dark
// palette with light captions, each line named for screen readers, and a
// line chosen by its access key puts the row on the clipboard.
TEST_F(DarkMode, ResultMenuIsDarkNamedAndChosenByAccessKeys) {
  const std::wstring edit =
      L" |  | &Undo (off) |  | Cu&t | &Copy | &Paste | &Delete |  | Select &All (off) | ";
  const struct {
    ControlId box;
    UINT key;
    const wchar_t *rowLines, *clipboard;
  } cases[] = {
      {ControlId::txtQuotientReal, 'r',
       L"Copy Quotient as &Rectangular: 0.28 - j0.04 | "
       L"Copy Quotient as P&olar: 0.283 \u2220 -8.13\u00b0",
       L"0.28 - j0.04"},
      {ControlId::txtProductImag, 'c',
       L"Copy Product as &Rectangular: -1.0 + j7.0 | "
       L"Copy Product as P&olar: 7.071 \u2220 98.13\u00b0",
       L"7.0"},
      {ControlId::txtSumReal, 'r',
       L"Copy Sum as &Rectangular (off) | "
       L"Copy Sum as P&olar: 6.403 \u2220 51.34\u00b0",
       L"before"},
  };
  const wchar_t* inputs[] = {L"1", L"1", L"3", L"4"};
  for (int i = 0; i < 4; ++i) SetWindowTextW((*this)[static_cast<ControlId>(100 + i)], inputs[i]);
  SendMessageW((*this)[ControlId::cmdExecute], BM_CLICK, 0, 0);
  SetWindowTextW((*this)[ControlId::txtSumImag], L"abc");
  for (const auto& c : cases) {
    const HWND box = (*this)[c.box];
    SetFocus(box);
    SendMessageW(box, EM_SETSEL, 0, -1);
    ASSERT_TRUE(PutClipboardText(L"before"));
    Look look{};
    std::wstring text;
    DWORD_PTR polar = 0;
    EXPECT_TRUE(WhileModal(
        [&] {
          PostMessageW(box, WM_KEYDOWN, VK_APPS, 1);
          PostMessageW(box, WM_KEYUP, VK_APPS, 0xC0000001);
          Drain();
        },
        // By class alone: asking this thread's windows their text while it
        // waits for the driver would never be answered.
        [] {
          const HWND menu = FindWindowW(L"#32768", nullptr);
          return menu && IsWindowVisible(menu) ? menu : nullptr;
        },
        [&](HWND menu) {
          const auto popup = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
          text = MenuText(popup);
          look = LookAt(menu);
          // The window answers for the letters of the lines it draws.
          SendMessageTimeoutW(form->hwnd(), WM_MENUCHAR, MAKEWPARAM(L'o', MF_POPUP),
                              reinterpret_cast<LPARAM>(popup), SMTO_NORMAL, DeadlineMs(), &polar);
          // The key's character, as TranslateMessage makes it: a disabled
          // line's does nothing, and Escape then closes the menu.
          PostMessageW(box, WM_CHAR, c.key, 1);
          PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 1);
        }));
    EXPECT_EQ(text, c.rowLines + edit);
    EXPECT_EQ(polar, MAKELRESULT(1, MNC_EXECUTE));
    EXPECT_EQ(ClipboardText(), c.clipboard);
    EXPECT_LT(Luminance(look.back), 96);
    EXPECT_GT(look.lightInk, 100);
  }
}

}  // namespace
}  // namespace quorvane::testing
