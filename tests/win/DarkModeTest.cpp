// Both windows in the app mode the user chose, read back from the screen:
// dark faces with light text when the user chose dark, light again when the
// choice changes while they are open.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "about/frmAbout.h"
#include "tests/win/WinTestSupport.h"
#include "ui/win32/Form1Window.h"

namespace quorvane::testing {
namespace {

constexpr wchar_t kPersonalize[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

// The user's app mode, as Windows keeps it, and Windows' notice of the
// change to every top-level window of this thread, as the broadcast brings it.
void ChooseAppMode(DWORD light) {
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kPersonalize, L"AppsUseLightTheme", REG_DWORD,
                            &light, sizeof light),
            ERROR_SUCCESS);
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM) {
        SendMessageW(h, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
        return TRUE;
      },
      0);
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
  void TearDown() override {
    form.reset();
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kPersonalize, L"AppsUseLightTheme");
  }
  HWND operator[](ControlId id) const { return form->Control(id); }

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

  ChooseAppMode(1);
  EXPECT_GT(Luminance(LookAt(form->hwnd()).back), 160) << "light again";
  ChooseAppMode(0);
  EXPECT_LT(Luminance(LookAt(form->hwnd()).back), 96) << "dark again";
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
}

// A menu of this thread's as a screen reader names its lines, by their
// MSAAMENUINFO, each followed by " (off)" when disabled and by " | ".
std::wstring MenuText(HMENU menu) {
  std::wstring text;
  for (UINT i = 0; i < static_cast<UINT>(GetMenuItemCount(menu)); ++i) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_STATE | MIIM_DATA;
    GetMenuItemInfoW(menu, i, TRUE, &mii);
    const auto* named = reinterpret_cast<const MSAAMENUINFO*>(mii.dwItemData);
    if (named && named->dwMSAASignature == MSAA_MENU_SIG)
      text.append(named->pszWText, named->cchWText);
    text += (mii.fState & MFS_GRAYED) ? L" (off) | " : L" | ";
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
          text = MenuText(reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0)));
          look = LookAt(menu);
          // The key's character, as TranslateMessage makes it: a disabled
          // line's does nothing, and Escape then closes the menu.
          PostMessageW(box, WM_CHAR, c.key, 1);
          PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 1);
        }));
    EXPECT_EQ(text, c.rowLines + edit);
    EXPECT_EQ(ClipboardText(), c.clipboard);
    EXPECT_LT(Luminance(look.back), 96);
    EXPECT_GT(look.lightInk, 100);
  }
}

}  // namespace
}  // namespace quorvane::testing
