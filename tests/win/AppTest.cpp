// The program as a user runs it: Quorvane.exe started as its own process and
// driven from here, for the questions that end it and the menu commands.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "tests/soak/ProcessProbe.h"
#include "tests/win/ChmHandlerLog.h"
#include "tests/win/WinTestSupport.h"

namespace quorvane::testing {
namespace {

constexpr int kTxtRealA = 100, kTxtImagA = 101, kTxtRealB = 102, kTxtImagB = 103;
constexpr int kFrame1 = 104, kOptA0 = 105, kOptA1 = 106, kFrame2 = 107, kOptB1 = 108, kOptB0 = 109;
constexpr int kCmdExecute = 111, kTxtQuotientReal = 115;
constexpr int kMnuFileExit = 201, kMnuHelpContents = 202, kMnuAbout = 203;

class Program : public ChildProcess {
 public:
  explicit Program(const std::wstring& exe = ThisFolder() + L"\\Quorvane.exe") {
    EXPECT_TRUE(Start(exe));
    EXPECT_TRUE(WaitFor(
        [&] { return (form = FindProcessWindow(pid(), L"QuorvaneForm1", L"Quorvane")) != nullptr; },
        "the main window"));
  }
  HWND Item(int id) const { return GetDlgItem(form, id); }
  HWND Option(int frame, int id) const { return GetDlgItem(Item(frame), id); }
  // The program's focus and active window, as its thread has them.
  GUITHREADINFO Input() const {
    GUITHREADINFO gti{};
    gti.cbSize = sizeof gti;
    GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &gti);
    return gti;
  }
  HWND Focus() const { return Input().hwndFocus; }
  // A key as the user presses it: queued for the focused control, taken by
  // the program's own loop, and handled once a marker behind it comes through.
  void Press(UINT vk) {
    const HWND focus = Focus();
    PostMessageW(focus, WM_KEYDOWN, vk, 1);
    PostMessageW(focus, WM_KEYUP, vk, 0xC0000001);
    EXPECT_TRUE(QueueRoundTrip(Item(kTxtRealA)));
  }
  void Calculate() {
    const std::pair<int, const wchar_t*> inputs[] = {
        {kTxtRealA, L"3"}, {kTxtImagA, L"4"}, {kTxtRealB, L"1"}, {kTxtImagB, L"1"}};
    for (auto [id, text] : inputs) {
      SendMessageW(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }
    SendMessageW(Item(kCmdExecute), BM_CLICK, 0, 0);
  }
  // The boxes shown once the program has handled all that was posted to it.
  std::vector<SeenBox> Settled(MessageBoxWatcher& watcher) {
    return watcher.Settled(Item(kTxtRealA));
  }
  HWND form = nullptr;
};

void ExpectShutdownQuestion(const SeenBox& box) {
  EXPECT_EQ(box.title, L"Quorvane Shutting Down");
  EXPECT_EQ(box.prompt, L"Shut down Quorvane?");
  EXPECT_TRUE(box.hasOk);
  EXPECT_TRUE(box.hasCancel);
  EXPECT_FALSE(box.hasIcon);
}

struct CloseRequest {
  const char* name;
  UINT msg;
  WPARAM wp;
};
const CloseRequest kCloseRequests[] = {
    {"WM_CLOSE", WM_CLOSE, 0},
    {"system menu Close", WM_SYSCOMMAND, SC_CLOSE},
};

TEST(Shutdown, CancelKeepsTheWindowAndItsTexts) {
  for (const CloseRequest& r : kCloseRequests) {
    SCOPED_TRACE(r.name);
    Program p;
    p.Calculate();
    MessageBoxWatcher watcher(IDCANCEL, p.pid());
    PostMessageW(p.form, r.msg, r.wp, 0);
    const std::vector<SeenBox> seen = p.Settled(watcher);
    ASSERT_EQ(seen.size(), 1u);
    ExpectShutdownQuestion(seen[0]);
    EXPECT_TRUE(p.Running());
    EXPECT_TRUE(IsWindow(p.form));
    EXPECT_EQ(RemoteText(p.Item(kTxtRealA)), L"3");
    EXPECT_EQ(RemoteText(p.Item(kTxtQuotientReal)), L"3.5");
  }
}

TEST(Shutdown, OkEndsTheProgram) {
  for (const CloseRequest& r : kCloseRequests) {
    SCOPED_TRACE(r.name);
    Program p;
    MessageBoxWatcher watcher(IDOK, p.pid());
    PostMessageW(p.form, r.msg, r.wp, 0);
    DWORD code = 1;
    ASSERT_TRUE(p.WaitExit(&code));
    EXPECT_EQ(code, 0u);
    ASSERT_EQ(watcher.Seen().size(), 1u);
    ExpectShutdownQuestion(watcher.Seen()[0]);
  }
}

TEST(Shutdown, EndOfSessionAsksTheSameQuestion) {
  for (int answer : {IDCANCEL, IDOK}) {
    Program p;
    MessageBoxWatcher watcher(answer, p.pid());
    DWORD_PTR result = 99;
    ASSERT_TRUE(SendMessageTimeoutW(p.form, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, 0,
                                    DeadlineMs(), &result));
    ASSERT_EQ(watcher.Seen().size(), 1u);
    ExpectShutdownQuestion(watcher.Seen()[0]);
    EXPECT_EQ(result, answer == IDOK ? 1u : 0u);
    if (answer == IDOK) {
      SendMessageTimeoutW(p.form, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, 0, DeadlineMs(), nullptr);
      EXPECT_TRUE(p.WaitExit());
    } else {
      EXPECT_TRUE(p.Running());
    }
  }
}

TEST(FileExit, OkEndsAtOnceAfterOneQuestionAndCancelChangesNothing) {
  for (int answer : {IDCANCEL, IDOK}) {
    Program p;
    p.Calculate();
    MessageBoxWatcher watcher(answer, p.pid());
    PostMessageW(p.form, WM_COMMAND, kMnuFileExit, 0);
    if (answer == IDOK) {
      DWORD code = 1;
      ASSERT_TRUE(p.WaitExit(&code));
      EXPECT_EQ(code, 0u);
    } else {
      p.Settled(watcher);
      EXPECT_TRUE(p.Running());
      EXPECT_EQ(RemoteText(p.Item(kTxtQuotientReal)), L"3.5");
    }
    ASSERT_EQ(watcher.Seen().size(), 1u);
    ExpectShutdownQuestion(watcher.Seen()[0]);
  }
}

// Through the program's own loop: the focus starts in the first box, Tab
// reaches A's selected option, and in either frame an arrow selects and
// focuses the other option without leaving the frame. A question answered
// Cancel gives the focus back where it was.
TEST(Keyboard, TabAndArrowsInsideEachFrame) {
  Program p;
  const HWND a0 = p.Option(kFrame1, kOptA0), a1 = p.Option(kFrame1, kOptA1);
  const HWND b0 = p.Option(kFrame2, kOptB0), b1 = p.Option(kFrame2, kOptB1);
  const auto checked = [](HWND option) {
    DWORD_PTR state = 0;
    SendMessageTimeoutW(option, BM_GETCHECK, 0, 0, SMTO_NORMAL, DeadlineMs(), &state);
    return state == BST_CHECKED;
  };
  ASSERT_TRUE(WaitFor([&] { return p.Focus() == p.Item(kTxtRealA); }, "the focus in txtRealA"));
  for (int i = 0; i < 4; ++i) p.Press(VK_TAB);
  EXPECT_EQ(p.Focus(), a0);
  const struct {
    UINT vk;
    HWND to, from;
  } steps[] = {{VK_DOWN, a1, a0}, {VK_TAB, b0, b1}, {VK_DOWN, b1, b0}, {VK_UP, b0, b1}};
  for (const auto& s : steps) {
    SCOPED_TRACE(::testing::Message() << "key " << s.vk);
    p.Press(s.vk);
    EXPECT_EQ(p.Focus(), s.to);
    EXPECT_TRUE(checked(s.to));
    EXPECT_FALSE(checked(s.from));
  }
  EXPECT_TRUE(checked(a1));
  MessageBoxWatcher watcher(IDCANCEL, p.pid());
  PostMessageW(p.form, WM_COMMAND, kMnuFileExit, 0);
  ASSERT_EQ(p.Settled(watcher).size(), 1u);
  EXPECT_EQ(p.Focus(), b0);
  EXPECT_EQ(p.Input().hwndActive, p.form);
}

// Asks for Help Contents and returns the message boxes it brought.
std::vector<SeenBox> BoxesAfterHelpContents(Program& p, MessageBoxWatcher& watcher) {
  PostMessageW(p.form, WM_COMMAND, kMnuHelpContents, 0);
  return p.Settled(watcher);
}

TEST(HelpContents, MissingHelpFileIsReportedWithItsFullPath) {
  // The program alone in a folder of its own, with characters past the code page.
  const std::wstring dir = ThisFolder() + L"\\alone \u00e9\u03a9\u7535";
  CreateDirectoryW(dir.c_str(), nullptr);
  const std::wstring exe = dir + L"\\Quorvane.exe";
  const std::wstring help = dir + L"\\QuorvaneHelp.chm";
  const Restore removed([&] {
    DeleteFileW(help.c_str());
    DeleteFileW(exe.c_str());
    RemoveDirectoryW(dir.c_str());
  });
  ASSERT_TRUE(CopyFileW((ThisFolder() + L"\\Quorvane.exe").c_str(), exe.c_str(), FALSE));
  {
    ChmHandlerLog log;  // before the program starts, which inherits it
    Program p(exe);
    p.Calculate();
    MessageBoxWatcher watcher(IDOK, p.pid());
    const std::vector<SeenBox> seen = BoxesAfterHelpContents(p, watcher);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, L"Quorvane");
    EXPECT_EQ(seen[0].prompt, L"HTML Help File Not Found \r\n" + dir + L"\\QuorvaneHelp.chm");
    EXPECT_FALSE(seen[0].hasCancel);
    EXPECT_EQ(seen[0].owner, p.form);
    EXPECT_EQ(RemoteText(p.Item(kTxtQuotientReal)), L"3.5");

    // With the help file put beside it, the same folder opens it: under Wine
    // the prepared prefix's handler gets its full path and shows its start
    // page; on Windows the system's viewer opens it.
    ASSERT_TRUE(CopyFileW((ThisFolder() + L"\\QuorvaneHelp.chm").c_str(), help.c_str(), FALSE));
    ASSERT_TRUE(HelpViewers().empty());
    watcher.Clear();
    PostMessageW(p.form, WM_COMMAND, kMnuHelpContents, 0);
    ExpectHelpOpened(log, help);
    EXPECT_TRUE(p.Settled(watcher).empty());
  }
}

// The root of a drive of the test's own, never a real drive's root. On
// Windows, a folder of this test's made a drive as subst does; under Wine,
// whose DefineDosDeviceW does not reach the files, the prepared prefix's
// empty drive (QUORVANE_ROOT_DRIVE, scripts/wine-prefix.sh).
TEST(HelpContents, AtADriveRootThePathHasTwoBackslashes) {
  const std::wstring dir = ThisFolder() + L"\\drive root";
  std::wstring drive = Env(L"QUORVANE_ROOT_DRIVE");
  const bool defined = drive.empty();
  if (defined) {
    CreateDirectoryW(dir.c_str(), nullptr);
    const DWORD used = GetLogicalDrives();
    wchar_t letter = L'Q';
    while (letter <= L'Y' && (used & (1u << (letter - L'A'))) != 0) ++letter;
    ASSERT_LE(letter, L'Y') << "no free drive letter";
    drive = {letter, L':'};
    ASSERT_TRUE(DefineDosDeviceW(0, drive.c_str(), dir.c_str())) << GetLastError();
  }
  const std::wstring root = drive + L"\\";
  const std::wstring exe = root + L"Quorvane.exe";
  const Restore removed([&] {
    DeleteFileW(exe.c_str());
    if (!defined) return;
    DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, drive.c_str(), dir.c_str());
    RemoveDirectoryW(dir.c_str());
  });
  ASSERT_TRUE(CopyFileW((ThisFolder() + L"\\Quorvane.exe").c_str(), exe.c_str(), FALSE));
  Program p(exe);
  MessageBoxWatcher watcher(IDOK, p.pid());
  const std::vector<SeenBox> seen = BoxesAfterHelpContents(p, watcher);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].prompt, L"HTML Help File Not Found \r\n" + root + L"\\QuorvaneHelp.chm");
}

// However the box is closed, the main window is active again with the focus
// where it was.
TEST(About, ShownModallyAndEveryCloseGivesTheFocusBack) {
  Program p;
  ASSERT_TRUE(WaitFor([&] { return p.Focus() == p.Item(kTxtRealA); }, "the focus in txtRealA"));
  p.Press(VK_TAB);
  const HWND before = p.Focus();
  ASSERT_EQ(before, p.Item(kTxtImagA));
  for (const char* way : {"OK", "Escape", "close box", "Alt+F4"}) {
    SCOPED_TRACE(way);
    PostMessageW(p.form, WM_COMMAND, kMnuAbout, 0);
    HWND about = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] { return (about = FindProcessWindow(p.pid(), nullptr, L"About Quorvane")) != nullptr; },
        "the About box"));
    EXPECT_FALSE(IsWindowEnabled(p.form));
    EXPECT_EQ(GetWindow(about, GW_OWNER), p.form);
    // The box's OK button takes the focus, as in a dialog.
    ASSERT_TRUE(WaitFor([&] { return p.Focus() && GetParent(p.Focus()) == about; },
                        "the focus in the About box"));
    const HWND focus = p.Focus();
    if (way[0] == 'O') PostMessageW(focus, BM_CLICK, 0, 0);
    if (way[0] == 'E') PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 1);
    if (way[0] == 'c') PostMessageW(about, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (way[0] == 'A') PostMessageW(focus, WM_SYSKEYDOWN, VK_F4, 1 << 29);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(about); }, "the About box to close"));
    EXPECT_TRUE(QueueRoundTrip(p.Item(kTxtRealA)));
    EXPECT_TRUE(IsWindowEnabled(p.form));
    EXPECT_EQ(p.Input().hwndActive, p.form);
    EXPECT_EQ(p.Focus(), before);
  }
}

// A WM_QUIT from outside ends the program with its code, also while the
// About box runs its own loop.
TEST(Shutdown, AQuitFromOutsideEndsWithItsCode) {
  for (const bool aboutOpen : {false, true}) {
    Program p;
    if (aboutOpen) {
      PostMessageW(p.form, WM_COMMAND, kMnuAbout, 0);
      ASSERT_TRUE(WaitFor([&] { return FindProcessWindow(p.pid(), nullptr, L"About Quorvane"); },
                          "the About box"));
    }
    PostThreadMessageW(GetWindowThreadProcessId(p.form, nullptr), WM_QUIT, 7, 0);
    DWORD code = 0;
    ASSERT_TRUE(p.WaitExit(&code));
    EXPECT_EQ(code, 7u) << aboutOpen;
  }
}

// The count of GDI objects sees each one a process makes and frees.
TEST(GdiObjectCount, SeesEveryBrushOfAProcess) {
  const long before = GdiObjectCount(GetCurrentProcess());
  std::vector<HBRUSH> brushes;
  for (int i = 0; i < 100; ++i) brushes.push_back(CreateSolidBrush(RGB(i, 0, 0)));
  EXPECT_EQ(GdiObjectCount(GetCurrentProcess()), before + 100);
  for (HBRUSH b : brushes) DeleteObject(b);
  EXPECT_EQ(GdiObjectCount(GetCurrentProcess()), before);
}

// The app mode switched dark and light again and again while the program
// runs, as Windows tells it: the value written, the notice broadcast, and
// every window's answer awaited. The program's GDI objects stay as many as
// after the first round, with the About box open or not.
TEST(DarkMode, LiveSwitchesLeakNoGdiObject) {
  KeptUserValue choice(L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                       L"AppsUseLightTheme");
  for (const bool aboutOpen : {false, true}) {
    SCOPED_TRACE(aboutOpen ? "About box open" : "main window alone");
    Program p;
    if (aboutOpen) {
      PostMessageW(p.form, WM_COMMAND, kMnuAbout, 0);
      ASSERT_TRUE(WaitFor([&] { return FindProcessWindow(p.pid(), nullptr, L"About Quorvane"); },
                          "the About box"));
    }
    const auto round = [&] {
      for (DWORD light : {0u, 1u}) {
        ASSERT_TRUE(choice.Set(REG_DWORD, &light, sizeof light));
        SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0,
                            reinterpret_cast<LPARAM>(L"ImmersiveColorSet"), SMTO_NORMAL,
                            DeadlineMs(), nullptr);
        ASSERT_TRUE(QueueRoundTrip(p.Item(kTxtRealA)));
      }
    };
    // The fewest of a few looks, each after a round trip: what a paint in
    // progress holds for a moment (its device context, a region) is left out.
    const auto settled = [&] {
      long fewest = LONG_MAX;
      for (int look = 0; look < 5 && QueueRoundTrip(p.Item(kTxtRealA)); ++look) {
        fewest = std::min(fewest, GdiObjectCount(p.handle()));
      }
      return fewest;
    };
    round();
    const long first = settled();
    ASSERT_GT(first, 0);
    for (int i = 0; i < 50; ++i) round();
    // A brush leaked at each switch would add a hundred.
    EXPECT_LE(settled(), first + 8);
  }
}

// The clipboard through the running program: Ctrl+V, as TranslateMessage
// makes it, fills the focused box's input from one complex number and
// selects its form; the menu key on a result box and an access key put the
// row on the clipboard.
TEST(Clipboard, PastedIntoTheInputsAndARowCopiedOut) {
  Program p;
  ASSERT_TRUE(WaitFor([&] { return p.Focus() == p.Item(kTxtRealA); }, "the focus in txtRealA"));
  const auto paste = [&](const wchar_t* text) {
    ASSERT_TRUE(PutClipboardText(text));
    PostMessageW(p.Focus(), WM_CHAR, 0x16, 1);
    EXPECT_TRUE(QueueRoundTrip(p.Item(kTxtRealA)));
  };
  paste(L"(1.5-2.25j)");
  p.Press(VK_TAB);
  p.Press(VK_TAB);
  paste(L"12 < -30");
  const std::pair<int, const wchar_t*> shown[] = {
      {kTxtRealA, L"1.5"}, {kTxtImagA, L"-2.25"}, {kTxtRealB, L"12"}, {kTxtImagB, L"-30"}};
  for (auto [id, text] : shown) EXPECT_EQ(RemoteText(p.Item(id)), text);
  EXPECT_EQ(SendMessageW(p.Option(kFrame2, kOptB1), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(p.Option(kFrame1, kOptA0), BM_GETCHECK, 0, 0), BST_CHECKED);

  SendMessageW(p.Item(kCmdExecute), BM_CLICK, 0, 0);
  p.Press(VK_TAB);
  ASSERT_EQ(p.Focus(), p.Item(kTxtQuotientReal));
  PostMessageW(p.Focus(), WM_KEYDOWN, VK_APPS, 1);
  PostMessageW(p.Focus(), WM_KEYUP, VK_APPS, 0xC0000001);
  ASSERT_TRUE(WaitFor([&] { return FindProcessWindow(p.pid(), L"#32768", nullptr); },
                      "the result box's context menu"));
  PostMessageW(p.Focus(), WM_KEYDOWN, 'O', 1);
  ASSERT_TRUE(WaitFor([&] { return !FindProcessWindow(p.pid(), L"#32768", nullptr); },
                      "the context menu to close"));
  EXPECT_TRUE(QueueRoundTrip(p.Item(kTxtRealA)));
  EXPECT_EQ(ClipboardText(), L"0.225 \u2220 -26.31\u00b0");
}

}  // namespace
}  // namespace quorvane::testing
