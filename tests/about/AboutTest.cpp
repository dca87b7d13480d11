// The About box through its real window under Wine: the load step at every
// showing, the keyboard, modality, layout and picture.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <string>

#include "about/frmAbout.h"
#include "tests/win/FontHandover.h"
#include "tests/win/WinTestSupport.h"

namespace quorvane {
namespace {

using testing::WaitFor;

using testing::TextOf;

HWND FindAbout() {
  return testing::FindProcessWindow(GetCurrentProcessId(), frmAbout::kClassName, nullptr);
}

HWND FocusOf(HWND about) {
  GUITHREADINFO gti{};
  gti.cbSize = sizeof gti;
  GetGUIThreadInfo(GetWindowThreadProcessId(about, nullptr), &gti);
  return gti.hwndFocus;
}

void Press(HWND about, UINT vk) {
  HWND focus = FocusOf(about);
  PostMessageW(focus, WM_KEYDOWN, vk, 1);
  PostMessageW(focus, WM_KEYUP, vk, 1);
}

// Shows the box modally on this thread while `drive` works it from another;
// `drive` must close it. Fails instead of hanging when the box stays open.
void WithBox(frmAbout& box, const std::function<void(HWND)>& drive, HWND owner = nullptr) {
  EXPECT_TRUE(testing::WhileModal([&] { box.Show(1, owner); }, FindAbout, drive));
}

TEST(AboutBox, EveryShowingLoadsTheSameTexts) {
  frmAbout box;
  for (int showing = 0; showing < 2; ++showing) {
    WithBox(box, [&](HWND about) {
      EXPECT_EQ(TextOf(about), L"About Quorvane");
      EXPECT_EQ(TextOf(box.Control(AboutId::lblVersion)), L"Version " QUORVANE_PROJECT_VERSION);
      EXPECT_EQ(TextOf(box.Control(AboutId::lblTitle)), L"Quorvane\r\nby its engineers");
      EXPECT_EQ(TextOf(box.Control(AboutId::cmdSysInfo)), L"&System Info...");
      EXPECT_EQ(TextOf(box.Control(AboutId::cmdOK)), L"OK");
      EXPECT_EQ(TextOf(box.Control(AboutId::lblDescription)),
                L"Quorvane calculates and displays the Quotient, Product, Sum and Difference of "
                L"two Vectors entered by the User.");
      // Changed now, set again by the next showing's load step.
      SetWindowTextW(box.Control(AboutId::lblVersion), L"changed");
      SetWindowTextW(about, L"changed");
      Press(about, VK_ESCAPE);
    });
  }
}

TEST(AboutBox, EnterOnSystemInfoStartsItAndEnterElsewhereCloses) {
  frmAbout box;
  std::atomic<int> calls{0};
  box.SetSysInfoHandler([&](IMessageBox&) { ++calls; });
  WithBox(box, [&](HWND about) {
    EXPECT_EQ(FocusOf(about), box.Control(AboutId::cmdOK));
    Press(about, VK_TAB);
    ASSERT_TRUE(WaitFor([&] { return FocusOf(about) == box.Control(AboutId::cmdSysInfo); },
                        "the focus on System Info"));
    Press(about, VK_RETURN);
    Press(about, VK_TAB);
    // The Tab came after the Enter: once it has moved the focus, the Enter
    // has been handled, and the box is still open.
    ASSERT_TRUE(WaitFor([&] { return FocusOf(about) == box.Control(AboutId::cmdOK); },
                        "the focus back on OK"));
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(IsWindowVisible(about));
    Press(about, VK_RETURN);
  });
  EXPECT_EQ(calls, 1);
}

TEST(AboutBox, EscapeCloseBoxAndAltSWork) {
  struct Way {
    const char* name;
    std::function<void(HWND)> close;
  };
  const Way ways[] = {
      {"Escape", [](HWND about) { Press(about, VK_ESCAPE); }},
      {"close box", [](HWND about) { PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"OK clicked", [](HWND) {}},
  };
  frmAbout box;  // System Info as the program has it
  for (const Way& w : ways) {
    SCOPED_TRACE(w.name);
    WithBox(box, [&](HWND about) {
      if (std::string(w.name) == "OK clicked") {
        PostMessageW(box.Control(AboutId::cmdOK), BM_CLICK, 0, 0);
      } else {
        w.close(about);
      }
    });
    EXPECT_EQ(box.hwnd(), nullptr);
  }
  // Alt+S starts the system information tool of the desktop, with no message.
  testing::MessageBoxWatcher watcher;
  const std::vector<DWORD> before = testing::ProcessesNamed(L"msinfo32.exe");
  std::vector<DWORD> started;
  WithBox(box, [&](HWND about) {
    PostMessageW(FocusOf(about), WM_SYSCHAR, 's', 1 << 29);
    EXPECT_TRUE(WaitFor(
        [&] {
          started = testing::ProcessesNamed(L"msinfo32.exe");
          std::erase_if(started, [&](DWORD pid) { return std::ranges::count(before, pid) > 0; });
          return !started.empty();
        },
        "the system information tool to start"));
    Press(about, VK_ESCAPE);
  });
  testing::EndProcesses(started);
  EXPECT_TRUE(watcher.Seen().empty());
}

TEST(AboutBox, OtherWindowsAreInertWhileItIsOpen) {
  HWND other = CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200,
                               100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(other);
  frmAbout box;
  WithBox(
      box,
      [&](HWND about) {
        EXPECT_FALSE(IsWindowEnabled(other));
        const LONG style = GetWindowLongW(about, GWL_STYLE);
        EXPECT_TRUE(style & WS_CAPTION);
        EXPECT_TRUE(style & WS_SYSMENU);
        EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
        EXPECT_FALSE(GetWindowLongW(about, GWL_EXSTYLE) & WS_EX_APPWINDOW);  // no taskbar entry
        EXPECT_EQ(GetWindow(about, GW_OWNER), other);
        Press(about, VK_ESCAPE);
      },
      other);
  EXPECT_TRUE(IsWindowEnabled(other));
  DestroyWindow(other);
}

int Px(int twips, int dpi) { return static_cast<int>(std::floor(twips * dpi / 1440.0 + 0.5)); }

TEST(AboutBox, ControlsFontsRuleAndPictureWhereTheyBelong) {
  frmAbout box;
  WithBox(box, [&](HWND about) {
    const int dpi = box.Dpi();
    RECT client;
    GetClientRect(about, &client);
    EXPECT_EQ(client.right, Px(5790, dpi));
    EXPECT_EQ(client.bottom, Px(4185, dpi));
    for (const AboutControlRow& c : kAboutControls) {
      SCOPED_TRACE(std::string(c.name, c.name + wcslen(c.name)));
      HWND h = box.Control(c.id);
      RECT r;
      GetWindowRect(h, &r);
      MapWindowPoints(HWND_DESKTOP, about, reinterpret_cast<POINT*>(&r), 2);
      EXPECT_EQ(r.left, Px(c.left, dpi));
      EXPECT_EQ(r.top, Px(c.top, dpi));
      EXPECT_EQ(r.right - r.left, Px(c.width, dpi));
      EXPECT_EQ(r.bottom - r.top, Px(c.height, dpi));
      LOGFONTW lf{};
      GetObjectW(reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)), sizeof lf, &lf);
      const FontRow& f = kAboutFonts[static_cast<int>(c.font)];
      if (c.kind != Kind::Picture) {
        EXPECT_STREQ(lf.lfFaceName, f.face);
        EXPECT_EQ(lf.lfHeight,
                  -static_cast<int>(std::floor(f.pointsX100 / 100.0 * dpi / 72 + 0.5)));
        EXPECT_EQ(lf.lfWeight, f.bold ? FW_BOLD : FW_NORMAL);
      }
    }
    EXPECT_TRUE(GetWindowLongW(box.Control(AboutId::cmdOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
    // The picture box: 100 x 125 pixels inside a 2-pixel sunken border.
    HWND pic = box.Control(AboutId::picIcon);
    EXPECT_TRUE(GetWindowLongW(pic, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    RECT inner;
    GetClientRect(pic, &inner);
    if (dpi == 96) {
      EXPECT_EQ(inner.right, 100);
      EXPECT_EQ(inner.bottom, 125);
    }
    // Painted now by the box's thread, which the call waits for.
    RedrawWindow(about, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    // The system's decoding against ImageMagick's, 4 bytes a pixel, RGBA.
    HRSRC res = FindResourceW(nullptr, MAKEINTRESOURCEW(102), RT_RCDATA);
    ASSERT_TRUE(res);
    const auto* rgba = static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, res)));
    ASSERT_EQ(SizeofResource(nullptr, res), 100u * 125 * 4);
    HDC dc = GetDC(pic);
    int mismatches = 0;
    for (auto [x, y] : {std::pair{5, 5}, {50, 40}, {30, 100}, {90, 120}, {60, 20}}) {
      const std::uint8_t* p = rgba + 4 * (y * 100 + x);
      const COLORREF expected = RGB(p[0], p[1], p[2]);
      mismatches += GetPixel(dc, x, y) != expected;
    }
    ReleaseDC(pic, dc);
    EXPECT_EQ(mismatches, 0);
    // The etched rule: shadow over highlight at the rule's height.
    HDC boxDc = GetDC(about);
    const int y = Px(2940, dpi);
    EXPECT_EQ(GetPixel(boxDc, Px(2000, dpi), y), GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(GetPixel(boxDc, Px(2000, dpi), y + 1), GetSysColor(COLOR_3DHILIGHT));
    ReleaseDC(about, boxDc);
    Press(about, VK_ESCAPE);
  });
}

TEST(AboutBox, NoControlHoldsADeletedFontAcrossDpiChanges) {
  int withText = 0;
  for (const AboutControlRow& c : kAboutControls) withText += c.kind != Kind::Picture;
  frmAbout box;
  WithBox(box, [&](HWND about) {
    for (int dpi : {144, 96}) {
      const testing::Handover h = testing::ChangeDpi(about, dpi);
      EXPECT_EQ(h.given, withText) << dpi;
      EXPECT_EQ(h.stale, 0) << dpi;
      EXPECT_EQ(box.Dpi(), dpi);
    }
    Press(about, VK_ESCAPE);
  });
}

// Moved to a monitor of another scale, the box goes where Windows suggests;
// the next showing starts at the designed place again.
TEST(AboutBox, TakesTheRectangleSuggestedOnADpiChange) {
  frmAbout box;
  RECT shown[2], now{};
  for (RECT& r : shown) {
    WithBox(box, [&](HWND about) {
      GetWindowRect(about, &r);
      // As Windows does: the size asked first, the box's client area at its
      // designed size framed at 144 dpi, and then a place.
      SIZE size{};
      ASSERT_TRUE(SendMessageTimeoutW(about, WM_GETDPISCALEDSIZE, 144,
                                      reinterpret_cast<LPARAM>(&size), SMTO_NORMAL,
                                      testing::DeadlineMs(), nullptr));
      const SIZE framed = testing::FramedAt(about, Px(5790, 144), Px(4185, 144), false, 144);
      EXPECT_EQ(size.cx, framed.cx);
      EXPECT_EQ(size.cy, framed.cy);
      RECT to{r.left + 300, r.top - 16, r.left + 300 + size.cx, r.top - 16 + size.cy};
      EXPECT_TRUE(SendMessageTimeoutW(about, WM_DPICHANGED, MAKEWPARAM(144, 144),
                                      reinterpret_cast<LPARAM>(&to), SMTO_NORMAL,
                                      testing::DeadlineMs(), nullptr));
      GetWindowRect(about, &now);
      EXPECT_TRUE(EqualRect(&now, &to)) << now.left << "," << now.top;
      Press(about, VK_ESCAPE);
    });
  }
  EXPECT_TRUE(EqualRect(&shown[0], &shown[1]));
}

// White text on black faces, as in Windows' High Contrast Black: every label's
// text stands out from its background.
TEST(AboutBox, EveryLabelStandsOutInAHighContrastScheme) {
  const int index[] = {COLOR_BTNTEXT, COLOR_BTNFACE};
  const COLORREF scheme[] = {RGB(255, 255, 255), 0},
                 old[] = {GetSysColor(index[0]), GetSysColor(index[1])};
  SetSysColors(2, index, scheme);
  const testing::Restore sessionColours([&] { SetSysColors(2, index, old); });
  frmAbout box;
  WithBox(box, [&](HWND about) {
    RedrawWindow(about, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    HDC boxDc = GetDC(about);
    const COLORREF face = GetPixel(boxDc, 2, 2);  // beside the picture
    ReleaseDC(about, boxDc);
    for (AboutId id : {AboutId::lblTitle, AboutId::lblVersion, AboutId::lblDescription,
                       AboutId::lblDisclaimer}) {
      RECT rc;
      GetClientRect(box.Control(id), &rc);
      HDC dc = GetDC(box.Control(id));
      int lit = 0;
      for (int i = 0; i < rc.right * rc.bottom; ++i) {
        lit += GetPixel(dc, i % rc.right, i / rc.right) != 0;
      }
      // Its background is the box's own, seen past its last line.
      const COLORREF background = GetPixel(dc, rc.right - 1, rc.bottom - 1);
      ReleaseDC(box.Control(id), dc);
      EXPECT_GT(lit, 50) << static_cast<int>(id);
      EXPECT_EQ(background, face) << static_cast<int>(id);
    }
    Press(about, VK_ESCAPE);
  });
}

}  // namespace
}  // namespace quorvane
