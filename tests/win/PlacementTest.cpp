// Both windows open inside the desktop's work area, also at 168 dpi, where
// the main window at its designed place ends 77 pixels below the screen.
#include <gtest/gtest.h>
#include <windows.h>

#include "about/frmAbout.h"
#include "tests/win/WinTestSupport.h"
#include "ui/win32/Form1Window.h"

namespace quorvane::testing {
namespace {

void ExpectInsideTheWorkArea(HWND window) {
  RECT work, r;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(window, &r);
  EXPECT_TRUE(r.left >= work.left && r.top >= work.top && r.right <= work.right &&
              r.bottom <= work.bottom)
      << r.left << "," << r.top << " to " << r.right << "," << r.bottom;
  EXPECT_EQ(GetDpiForWindow(window), Env(L"QUORVANE_EXPECT_DPI").empty() ? 96u : 168u);
}

TEST(Placement, BothWindowsInsideTheWorkArea) {
  win32::Form1Window form(L".");
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr), SW_SHOWNORMAL, nullptr, false));
  ExpectInsideTheWorkArea(form.hwnd());
  frmAbout box;
  EXPECT_TRUE(WhileModal(
      [&] { box.Show(1, nullptr); },
      [] { return FindProcessWindow(GetCurrentProcessId(), frmAbout::kClassName, nullptr); },
      [](HWND about) {
        ExpectInsideTheWorkArea(about);
        PostMessageW(about, WM_CLOSE, 0, 0);
      }));
}

TEST(Placement, BothWindowsInsideTheWorkAreaAt168Dpi) {
  EXPECT_EQ(RunSelfWith({L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, {168, 0, 0, 0}},
                        L"Placement.BothWindowsInsideTheWorkArea", L"QUORVANE_EXPECT_DPI", L"168"),
            0u);
}

}  // namespace
}  // namespace quorvane::testing
