// The help launcher in this test program, which lies beside the compiled help
// file as Quorvane.exe does: the shell request it makes, what it does with
// the shell's answer, and failures to bind or to report.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/Failure.h"
#include "help/HelpHTML.h"
#include "help/HelpPath.h"
#include "tests/win/ChmHandlerLog.h"
#include "tests/win/WinTestSupport.h"
#include "win32/LateBound.h"

namespace quorvane {
namespace {

using win32::Api;

struct ShownMessage {
  std::wstring prompt;
  unsigned style;
  std::wstring title;
};

class RecordingBox : public IMessageBox {
 public:
  int Show(std::wstring_view prompt, unsigned style, std::wstring_view title) override {
    shown.push_back({std::wstring(prompt), style, std::wstring(title)});
    if (failures > 0) {
      --failures;
      throw RuntimeError{failureNumber};
    }
    return kAnswerOk;
  }
  std::vector<ShownMessage> shown;
  int failures = 0;
  int failureNumber = 0;
};

struct ShellRequest {
  HWND owner;
  std::wstring verb, file;
  bool nullParameters, nullDirectory;
  INT show;
};

std::vector<ShellRequest> requests;
INT_PTR shellAnswer = 42;

HINSTANCE WINAPI RecordingShell(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                LPCWSTR directory, INT show) {
  requests.push_back({owner, verb ? verb : L"(null)", file ? file : L"(null)",
                      parameters == nullptr, directory == nullptr, show});
  return reinterpret_cast<HINSTANCE>(shellAnswer);
}

class HelpLauncher : public ::testing::Test {
 protected:
  void SetUp() override {
    requests.clear();
    shellAnswer = 42;
  }
  void TearDown() override {
    for (Api api : {Api::ShellExecuteW, Api::GetDesktopWindow}) {
      win32::ReplaceForTest(api, nullptr);
    }
  }
  RecordingBox box;
};

TEST_F(HelpLauncher, AsksTheShellToOpenTheFileBesideTheProgram) {
  win32::ReplaceForTest(Api::ShellExecuteW, reinterpret_cast<void*>(&RecordingShell));
  // A decoy in the current directory is never the one opened.
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring decoyDir = std::wstring(temp) + L"quorvane-decoy";
  CreateDirectoryW(decoyDir.c_str(), nullptr);
  const std::wstring decoy = decoyDir + L"\\QuorvaneHelp.chm";
  CloseHandle(CreateFileW(decoy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  wchar_t previous[MAX_PATH * 4];
  GetCurrentDirectoryW(MAX_PATH * 4, previous);
  SetCurrentDirectoryW(decoyDir.c_str());

  OpenHelpFile(box);
  OpenHelpFile(box);  // nothing is kept from the first request

  SetCurrentDirectoryW(previous);
  DeleteFileW(decoy.c_str());
  RemoveDirectoryW(decoyDir.c_str());
  EXPECT_TRUE(box.shown.empty());
  ASSERT_EQ(requests.size(), 2u);
  for (const ShellRequest& r : requests) {
    EXPECT_EQ(r.owner, GetDesktopWindow());
    EXPECT_EQ(r.verb, L"Open");
    EXPECT_EQ(r.file, testing::ThisFolder() + L"\\QuorvaneHelp.chm");
    EXPECT_TRUE(r.nullParameters);
    EXPECT_TRUE(r.nullDirectory);
    EXPECT_EQ(r.show, SW_SHOWNORMAL);
  }
}

TEST_F(HelpLauncher, OnlyFileNotFoundIsReported) {
  win32::ReplaceForTest(Api::ShellExecuteW, reinterpret_cast<void*>(&RecordingShell));
  const struct {
    INT_PTR answer;
    bool reported;
  } cases[] = {
      {ERROR_FILE_NOT_FOUND, true},
      {0, false},
      {ERROR_PATH_NOT_FOUND, false},
      {SE_ERR_ACCESSDENIED, false},
      {SE_ERR_OOM, false},
      {SE_ERR_NOASSOC, false},
      {32, false},
      {33, false},
      {-2, false},
  };
  for (const auto& c : cases) {
    box.shown.clear();
    shellAnswer = c.answer;
    OpenHelpFile(box);
    if (c.reported) {
      ASSERT_EQ(box.shown.size(), 1u) << c.answer;
      EXPECT_EQ(box.shown[0].prompt,
                L"HTML Help File Not Found \r\n" + testing::ThisFolder() + L"\\QuorvaneHelp.chm");
      EXPECT_EQ(box.shown[0].style, kMbOkOnly);
      EXPECT_EQ(box.shown[0].title, L"");
    } else {
      EXPECT_TRUE(box.shown.empty()) << c.answer;
    }
  }
}

TEST_F(HelpLauncher, ShellDocumentPassesWhatItIsGiven) {
  win32::ReplaceForTest(Api::ShellExecuteW, reinterpret_cast<void*>(&RecordingShell));
  ShellDocument(L"print", L"C:\\\\x \u03a9.chm", L"-a", L"C:\\", 3, box);
  ShellDocument(L"Open", L"C:\\y.chm", std::nullopt, L"", 0, box);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].verb, L"print");
  EXPECT_EQ(requests[0].file, L"C:\\\\x \u03a9.chm");
  EXPECT_FALSE(requests[0].nullParameters);
  EXPECT_FALSE(requests[0].nullDirectory);
  EXPECT_EQ(requests[0].show, 3);
  // An empty directory is given, not absent.
  EXPECT_TRUE(requests[1].nullParameters);
  EXPECT_FALSE(requests[1].nullDirectory);
  EXPECT_EQ(requests[1].show, 0);
}

TEST_F(HelpLauncher, FailuresOnTheWayAreReportedWithTheirNumber) {
  const struct {
    Api api;
    const wchar_t* library;
    const char* entry;
    int number;
  } cases[] = {
      {Api::ShellExecuteW, nullptr, "QuorvaneNoSuchEntry", 453},
      {Api::ShellExecuteW, L"quorvane-no-such-library.dll", nullptr, 48},
      {Api::GetDesktopWindow, nullptr, "QuorvaneNoSuchEntry", 453},
      {Api::GetDesktopWindow, L"quorvane-no-such-library.dll", nullptr, 48},
      // Lies beside this program, but libraries come from the system folder
      // only: not found (48), rather than found without the entry (453).
      {Api::ShellExecuteW, L"quorvane_beside.dll", nullptr, 48},
  };
  for (const auto& c : cases) {
    box.shown.clear();
    win32::RenameForTest(c.api, c.library, c.entry);
    OpenHelpFile(box);
    win32::ReplaceForTest(c.api, nullptr);
    ASSERT_EQ(box.shown.size(), 1u) << c.number;
    EXPECT_EQ(box.shown[0].prompt,
              L"Error in Invoking Help!\r\nError Code = " + std::to_wstring(c.number));
    EXPECT_EQ(box.shown[0].style, kMbOkOnly);
    EXPECT_EQ(box.shown[0].title, L"");
  }
}

TEST_F(HelpLauncher, AFailureToReportTheMissingFileIsReportedInstead) {
  win32::ReplaceForTest(Api::ShellExecuteW, reinterpret_cast<void*>(&RecordingShell));
  shellAnswer = ERROR_FILE_NOT_FOUND;
  box.failures = 1;
  box.failureNumber = 9;
  OpenHelpFile(box);
  ASSERT_EQ(box.shown.size(), 2u);
  EXPECT_EQ(box.shown[1].prompt, L"Error in Invoking Help!\r\nError Code = 9");
  // When even that cannot be shown, the command ends quietly.
  box.shown.clear();
  box.failures = 2;
  OpenHelpFile(box);
  EXPECT_EQ(box.shown.size(), 2u);
}

TEST_F(HelpLauncher, TheRealShellOpensTheHelpFileInItsViewer) {
  const std::wstring help = testing::ThisFolder() + L"\\QuorvaneHelp.chm";
  ASSERT_NE(GetFileAttributesW(help.c_str()), INVALID_FILE_ATTRIBUTES);
  ASSERT_TRUE(testing::HelpViewers().empty());
  testing::ChmHandlerLog log;
  OpenHelpFile(box);
  EXPECT_TRUE(box.shown.empty());
  if (log.Active()) {
    // Under Wine: the prepared prefix's handler, given the full path.
    testing::ExpectHandlerOpened(log, help);
    return;
  }
  std::vector<DWORD> viewers;
  EXPECT_TRUE(testing::WaitFor([&] { return !(viewers = testing::HelpViewers()).empty(); },
                               "a help viewer"));
  testing::EndProcesses(viewers);
}

}  // namespace
}  // namespace quorvane
