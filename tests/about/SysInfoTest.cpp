// The system information lookup through Wine's real registry, with a stand-in
// tool that records its start.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "about/SysInfo.h"
#include "core/Failure.h"
#include "tests/win/WinTestSupport.h"
#include "win32/LateBound.h"

namespace quorvane {
namespace {

constexpr wchar_t kFirstKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr wchar_t kSecondKey[] = L"SOFTWARE\\Microsoft\\Shared Tools Location";

struct RecordingBox : IMessageBox {
  int Show(std::wstring_view prompt, unsigned style, std::wstring_view title) override {
    shown.push_back(std::wstring(prompt));
    EXPECT_EQ(style, 0u);
    EXPECT_EQ(title, L"");
    return kAnswerOk;
  }
  std::vector<std::wstring> shown;
};

// Opens and closes counted, with the access asked for; passed on to the
// real functions.
std::vector<REGSAM> g_masks;
int g_opens = 0, g_closes = 0;
LSTATUS WINAPI CountingOpen(HKEY root, LPCWSTR name, DWORD options, REGSAM mask, PHKEY out) {
  g_masks.push_back(mask);
  const LSTATUS r = RegOpenKeyExW(root, name, options, mask, out);
  if (r == ERROR_SUCCESS) ++g_opens;
  return r;
}
LSTATUS WINAPI CountingClose(HKEY key) {
  ++g_closes;
  return RegCloseKey(key);
}

// The processes this test program starts, itself or through the code under
// test, seen through a job that it joins: each start and each end arrives as
// a message on a completion port.
class StartedProcesses {
 public:
  StartedProcesses() {
    JOBOBJECT_ASSOCIATE_COMPLETION_PORT port{job_, port_};
    EXPECT_TRUE(SetInformationJobObject(job_, JobObjectAssociateCompletionPortInformation, &port,
                                        sizeof port));
    EXPECT_TRUE(AssignProcessToJobObject(job_, GetCurrentProcess()));
  }
  // The processes started since the last call: a start is reported before
  // CreateProcess returns.
  std::vector<DWORD> Started() {
    while (Take(0)) {
    }
    return std::exchange(started_, {});
  }
  // Waits until every process started has ended.
  bool AllEnded() {
    while (!running_.empty()) {
      if (!Take(testing::DeadlineMs())) return testing::GaveUp("a started tool to end");
    }
    return true;
  }

 private:
  bool Take(DWORD ms) {
    DWORD message;
    ULONG_PTR key;
    LPOVERLAPPED data;
    if (!GetQueuedCompletionStatus(port_, &message, &key, &data, ms)) return false;
    const auto pid = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(data));
    if (message == JOB_OBJECT_MSG_NEW_PROCESS && pid != GetCurrentProcessId()) {
      started_.push_back(pid);
      running_.insert(pid);
    } else if (message == JOB_OBJECT_MSG_EXIT_PROCESS ||
               message == JOB_OBJECT_MSG_ABNORMAL_EXIT_PROCESS) {
      running_.erase(pid);
    }
    return true;
  }
  HANDLE job_ = CreateJobObjectW(nullptr, nullptr);
  HANDLE port_ = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
  std::vector<DWORD> started_;
  std::set<DWORD> running_;
};

// One for the test program, which stays in its job to the end.
StartedProcesses& Processes() {
  static StartedProcesses processes;
  return processes;
}

// One registry value: absent (nullopt) or these bytes of this type. The last
// `beyond` bytes are not stored: they stand after the data in memory.
struct Value {
  DWORD type;
  std::vector<BYTE> bytes;
  size_t beyond = 0;
};

// A text value; without its closing NUL, followed in memory by a non-NUL.
Value Text(const std::wstring& s, bool withNul = true) {
  const std::wstring data = withNul ? s : s + L"X";
  const BYTE* p = reinterpret_cast<const BYTE*>(data.c_str());
  return {REG_SZ, std::vector<BYTE>(p, p + (data.size() + 1) * sizeof(wchar_t)),
          withNul ? 0 : 2 * sizeof(wchar_t)};
}

class SysInfo : public ::testing::Test {
 protected:
  void SetUp() override {
    Save(kFirstKey, L"PATH", first_);
    Save(kSecondKey, L"MSINFO", second_);
    Put(kFirstKey, L"PATH", std::nullopt);
    Put(kSecondKey, L"MSINFO", std::nullopt);
    dir_ = testing::ThisFolder() + L"\\tool \u00e9\u03a9\u7535";
    CreateDirectoryW(dir_.c_str(), nullptr);
    log_ = dir_ + L"\\started.log";
    SetEnvironmentVariableW(L"QUORVANE_FAKE_MSINFO_LOG", log_.c_str());
    g_masks.clear();
    g_opens = g_closes = 0;
    win32::ReplaceForTest(win32::Api::RegOpenKeyExW, reinterpret_cast<void*>(&CountingOpen));
    win32::ReplaceForTest(win32::Api::RegCloseKey, reinterpret_cast<void*>(&CountingClose));
  }
  void TearDown() override {
    win32::ReplaceForTest(win32::Api::RegOpenKeyExW, nullptr);
    win32::ReplaceForTest(win32::Api::RegCloseKey, nullptr);
    Put(kFirstKey, L"PATH", first_);
    Put(kSecondKey, L"MSINFO", second_);
    // Every tool started has ended: nothing holds these files.
    for (const std::wstring& file : installed_) {
      SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
      EXPECT_TRUE(DeleteFileW(file.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND);
    }
    EXPECT_TRUE(RemoveDirectoryW(dir_.c_str()));
    EXPECT_EQ(g_opens, g_closes) << "every key opened is closed";
    for (REGSAM m : g_masks) EXPECT_EQ(m, static_cast<REGSAM>(KEY_READ));
  }
  static void Save(const wchar_t* key, const wchar_t* name, std::optional<Value>& out) {
    HKEY h;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &h) != ERROR_SUCCESS) return;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(h, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
      Value v{type, std::vector<BYTE>(size)};
      RegQueryValueExW(h, name, nullptr, &type, v.bytes.data(), &size);
      out = v;
    }
    RegCloseKey(h);
  }
  // Stores v (or removes the value) and reads back the bytes stored.
  static void Put(const wchar_t* key, const wchar_t* name, const std::optional<Value>& v) {
    HKEY h;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h,
                              nullptr),
              ERROR_SUCCESS);
    if (v) {
      // Written from v's own bytes, so that what stands beyond is what follows.
      const std::vector<BYTE> data(v->bytes.begin(), v->bytes.end() - v->beyond);
      EXPECT_EQ(
          RegSetValueExW(h, name, 0, v->type, v->bytes.data(), static_cast<DWORD>(data.size())),
          ERROR_SUCCESS);
      std::vector<BYTE> stored(data.size() + 16);
      DWORD size = static_cast<DWORD>(stored.size());
      EXPECT_EQ(RegQueryValueExW(h, name, nullptr, nullptr, stored.data(), &size), ERROR_SUCCESS);
      stored.resize(size);
      EXPECT_EQ(stored, data) << "the registry stored other bytes";
    } else {
      RegDeleteValueW(h, name);
    }
    RegCloseKey(h);
  }
  // A fresh copy of the stand-in tool, under its own name when `name` is
  // null.
  std::wstring Install(const wchar_t* name = nullptr, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    const std::wstring path =
        dir_ + L"\\" + (name ? name : L"tool" + std::to_wstring(installed_.size()) + L".exe");
    EXPECT_TRUE(CopyFileW((testing::ThisFolder() + L"\\quorvane_fake_msinfo.exe").c_str(),
                          path.c_str(), TRUE))
        << "a file of that name is there already";
    EXPECT_TRUE(SetFileAttributesW(path.c_str(), attributes));
    installed_.push_back(path);
    return path;
  }
  // Presses System Info; returns the starts the tools recorded, once every
  // process the press started has ended.
  std::vector<std::wstring> Press() {
    Processes().AllEnded();
    Processes().Started();  // not this press's
    StartSysInfo(box_);
    const size_t processes = Processes().Started().size();
    EXPECT_TRUE(Processes().AllEnded());
    std::vector<std::wstring> lines;
    if (FILE* file = _wfopen(log_.c_str(), L"r, ccs=UTF-8")) {
      wchar_t line[2048];
      while (fgetws(line, 2048, file)) {
        std::wstring s(line);
        if (!s.empty() && s.back() == L'\n') s.pop_back();
        lines.push_back(s);
      }
      fclose(file);
      EXPECT_TRUE(DeleteFileW(log_.c_str()));
    }
    EXPECT_EQ(processes, lines.size()) << "each process started is a tool that records its start";
    return lines;
  }
  std::optional<Value> first_, second_;
  std::wstring dir_, log_;
  std::vector<std::wstring> installed_;
  RecordingBox box_;
};

TEST_F(SysInfo, PathValueIsStartedAsItStandsWithOrWithoutClosingNul) {
  Put(kSecondKey, L"MSINFO", Text(dir_));  // would also work; not looked at
  Install(L"MSINFO32.EXE");
  for (bool withNul : {true, false}) {
    const std::wstring tool = Install();
    Put(kFirstKey, L"PATH", Text(tool, withNul));
    EXPECT_EQ(Press(), std::vector<std::wstring>{tool + L"|1"}) << withNul;
    EXPECT_TRUE(box_.shown.empty());
  }
}

TEST_F(SysInfo, SecondLocationGivesTheFolderOfTheTool) {
  Put(kSecondKey, L"MSINFO", Text(dir_));
  const std::wstring tool = Install(L"MSINFO32.EXE");
  EXPECT_EQ(Press(), std::vector<std::wstring>{tool + L"|1"});
  EXPECT_TRUE(box_.shown.empty());
}

TEST_F(SysInfo, FailuresShowOneMessageAndStartNothing) {
  struct Case {
    const char* name;
    std::optional<Value> path, folder;
    const wchar_t* install;  // a file put into the tool folder
    DWORD attributes;
  };
  const std::wstring missing = L"C:\\nowhere\\MSINFO32.EXE";
  DWORD number = 0x1234;
  const BYTE* n = reinterpret_cast<const BYTE*>(&number);
  const std::vector<Case> cases = {
      {"nothing registered", std::nullopt, std::nullopt, nullptr, 0},
      {"PATH names a missing file; second location not tried", Text(missing), Text(L"@dir"),
       L"MSINFO32.EXE", FILE_ATTRIBUTE_NORMAL},
      {"PATH of another type: an empty path", Value{REG_BINARY, {1, 2, 3}}, Text(L"@dir"),
       L"MSINFO32.EXE", FILE_ATTRIBUTE_NORMAL},
      {"PATH a number: not a path", Value{REG_DWORD, {n, n + 4}}, std::nullopt, nullptr, 0},
      {"PATH of no data; second location not tried", Value{REG_SZ, {}}, Text(L"@dir"),
       L"MSINFO32.EXE", FILE_ATTRIBUTE_NORMAL},
      {"folder without the tool", std::nullopt, Text(L"@dir"), nullptr, 0},
      {"tool hidden", std::nullopt, Text(L"@dir"), L"MSINFO32.EXE", FILE_ATTRIBUTE_HIDDEN},
      {"tool a system file", std::nullopt, Text(L"@dir"), L"MSINFO32.EXE", FILE_ATTRIBUTE_SYSTEM},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto resolve = [&](std::optional<Value> v) {
      if (v && v->type == REG_SZ && v->bytes.size() > 2 &&
          std::wstring(reinterpret_cast<const wchar_t*>(v->bytes.data())) == L"@dir") {
        return std::optional<Value>(Text(dir_));
      }
      return v;
    };
    Put(kFirstKey, L"PATH", resolve(c.path));
    Put(kSecondKey, L"MSINFO", resolve(c.folder));
    const std::wstring tool = c.install ? Install(c.install, c.attributes) : L"";
    box_.shown.clear();
    EXPECT_TRUE(Press().empty());
    EXPECT_TRUE(Press().empty());  // each press: one message
    EXPECT_EQ(box_.shown,
              (std::vector<std::wstring>{L"System Information Is Unavailable At This Time",
                                         L"System Information Is Unavailable At This Time"}));
    if (c.install) {
      ASSERT_TRUE(SetFileAttributesW(tool.c_str(), FILE_ATTRIBUTE_NORMAL));
      ASSERT_TRUE(DeleteFileW(tool.c_str()));
    }
  }
}

TEST_F(SysInfo, ValueOfExactlyTheBufferIsReadAndOneByteMoreIsNot) {
  // 1024 bytes: 511 characters and the closing NUL; one byte more is too long.
  const std::wstring fits(511, L'x');
  Put(kFirstKey, L"PATH", Text(fits));
  std::wstring value = L"earlier";
  EXPECT_TRUE(GetKeyValue(HKEY_LOCAL_MACHINE, kFirstKey, L"PATH", value));
  EXPECT_EQ(value, fits);

  Value tooLong = Text(fits);
  tooLong.bytes.push_back(0);
  Put(kFirstKey, L"PATH", tooLong);
  value = L"earlier";
  EXPECT_FALSE(GetKeyValue(HKEY_LOCAL_MACHINE, kFirstKey, L"PATH", value));
  EXPECT_EQ(value, L"");
}

TEST_F(SysInfo, KeyValueByType) {
  DWORD number = 0x0001A2B3;
  const BYTE* n = reinterpret_cast<const BYTE*>(&number);
  struct Case {
    const char* name;
    std::optional<Value> value;
    bool read;
    std::wstring text;  // from "earlier"
  };
  const std::vector<Case> cases = {
      {"text with NUL", Text(L"C:\\a b\\t.exe"), true, L"C:\\a b\\t.exe"},
      {"text without NUL", Text(L"C:\\t.exe", false), true, L"C:\\t.exe"},
      {"text beyond the code page", Text(L"C:\\\u00e9\u7535.exe"), true, L"C:\\\u00e9\u7535.exe"},
      {"number", Value{REG_DWORD, {n, n + 4}}, true, L"&h1A2B3"},
      {"binary leaves the text", Value{REG_BINARY, {65, 0, 66, 0}}, true, L"earlier"},
      {"expandable text is another type", Value{REG_EXPAND_SZ, Text(L"x").bytes}, true, L"earlier"},
      {"odd byte count", Value{REG_SZ, {65, 0, 66}}, true, L"AB"},
      {"absent", std::nullopt, false, L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Put(kFirstKey, L"PATH", c.value);
    std::wstring value = L"earlier";
    EXPECT_EQ(GetKeyValue(HKEY_LOCAL_MACHINE, kFirstKey, L"PATH", value), c.read);
    EXPECT_EQ(value, c.text);
  }
  std::wstring value = L"earlier";
  EXPECT_FALSE(GetKeyValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Quorvane\\No such key", L"PATH", value));
  EXPECT_EQ(value, L"");
}

TEST_F(SysInfo, ValueOfNoDataIsAFailureForTheCaller) {
  Put(kFirstKey, L"PATH", Value{REG_SZ, {}});
  std::wstring value;
  try {
    GetKeyValue(HKEY_LOCAL_MACHINE, kFirstKey, L"PATH", value);
    ADD_FAILURE() << "no failure";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number, 5);
  }
}

TEST_F(SysInfo, AValueWrittenByRegExeIsFound) {
  const std::wstring tool = Install(L"MSINFO32.EXE");
  std::wstring cmd =
      L"reg.exe add \"HKLM\\SOFTWARE\\Microsoft\\Shared Tools Location\" /v MSINFO "
      L"/t REG_SZ /d \"" +
      dir_ + L"\" /f";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                             nullptr, nullptr, &si, &pi));
  EXPECT_TRUE(testing::WaitForHandle(pi.hProcess, "reg.exe"));
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  EXPECT_EQ(Press(), std::vector<std::wstring>{tool + L"|1"});
  EXPECT_TRUE(box_.shown.empty());
}

TEST_F(SysInfo, RegistryFunctionThatCannotBeBoundShowsTheMessage) {
  Put(kSecondKey, L"MSINFO", Text(dir_));
  Install(L"MSINFO32.EXE");
  win32::ReplaceForTest(win32::Api::RegQueryValueExW, nullptr);
  win32::RenameForTest(win32::Api::RegQueryValueExW, nullptr, "RegQueryValueExQuorvane");
  const std::vector<std::wstring> started = Press();
  win32::RenameForTest(win32::Api::RegQueryValueExW, nullptr, nullptr);
  EXPECT_EQ(box_.shown,
            std::vector<std::wstring>{L"System Information Is Unavailable At This Time"});
  EXPECT_TRUE(started.empty());
}

// The values a Windows desktop has, and the prepared Wine prefix too
// (scripts/wine-prefix.sh): both name a tool that is there, and System Info
// starts it without a message.
TEST(SysInfoOfTheDesktop, BothValuesLocateTheToolAndItStarts) {
  std::wstring path, folder;
  ASSERT_TRUE(GetKeyValue(HKEY_LOCAL_MACHINE, kFirstKey, L"PATH", path));
  EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;
  ASSERT_TRUE(GetKeyValue(HKEY_LOCAL_MACHINE, kSecondKey, L"MSINFO", folder));
  EXPECT_NE(GetFileAttributesW((folder + L"\\MSINFO32.EXE").c_str()), INVALID_FILE_ATTRIBUTES)
      << folder;

  RecordingBox box;
  Processes().Started();  // not this press's
  StartSysInfo(box);
  EXPECT_TRUE(box.shown.empty());
  const std::vector<DWORD> tools = Processes().Started();
  EXPECT_EQ(tools.size(), 1u);
  testing::EndProcesses(tools);
  EXPECT_TRUE(Processes().AllEnded());
}

}  // namespace
}  // namespace quorvane
