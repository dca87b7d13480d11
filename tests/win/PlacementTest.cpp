// Both windows open whole inside the desktop's work area, at the dpi of the
// run, on a screen that would not hold them at their designed places.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "about/frmAbout.h"
#include "tests/win/WinTestSupport.h"
#include "ui/win32/Form1Window.h"

namespace quorvane::testing {
namespace {

void ExpectInside(HWND window, const RECT& work, int dpi) {
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_TRUE(r.left >= work.left && r.top >= work.top && r.right <= work.right &&
              r.bottom <= work.bottom)
      << r.left << "," << r.top << " - " << r.right << "," << r.bottom << " in " << work.right
      << " x " << work.bottom;
  EXPECT_EQ(static_cast<int>(GetDpiForWindow(window)), dpi);
}

TEST(Placement, BothWindowsInsideTheWorkArea) {
  const std::wstring expected = Env(L"QUORVANE_EXPECT_DPI");
  const int dpi = expected.empty() ? 96 : std::stoi(expected);
  RECT work;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  win32::Form1Window form(L".");
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr), SW_SHOWNORMAL, nullptr, false));
  ExpectInside(form.hwnd(), work, dpi);
  frmAbout box;
  EXPECT_TRUE(WhileModal(
      [&] { box.Show(1, nullptr); },
      [] { return FindProcessWindow(GetCurrentProcessId(), frmAbout::kClassName, nullptr); },
      [&](HWND about) {
        ExpectInside(about, work, dpi);
        PostMessageW(about, WM_CLOSE, 0, 0);
      }));
}

// 175%: on the 1280 x 1024 desktop of the test runs, the main window at its
// designed place would end 77 pixels below the screen.
TEST(Placement, BothWindowsInsideTheWorkAreaAt168Dpi) {
  const DWORD dpi = 168;
  const UserSetting logPixels{L"Control Panel\\Desktop", L"LogPixels", REG_DWORD,
                              std::vector<BYTE>(reinterpret_cast<const BYTE*>(&dpi),
                                                reinterpret_cast<const BYTE*>(&dpi) + 4)};
  EXPECT_EQ(RunSelfWith(logPixels, L"Placement.BothWindowsInsideTheWorkArea",
                        L"QUORVANE_EXPECT_DPI", L"168"),
            0u);
}

}  // namespace
}  // namespace quorvane::testing
