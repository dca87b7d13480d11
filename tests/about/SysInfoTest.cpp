// The system information lookup through Wine's real registry, with a stand-in
// tool that records its start.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
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

std::wstring Folder() {
  wchar_t self[MAX_PATH * 4];
  GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
  std::wstring s(self);
  return s.substr(0, s.rfind(L'\\'));
}

// Tries `attempt` until it succeeds, for at most five seconds.
template <class Attempt>
bool Eventually(Attempt attempt) {
  for (int i = 0; i < 500; ++i) {
    if (attempt()) return true;
    Sleep(10);
  }
  return false;
}

// One registry value: absent (nullopt) or these bytes of this type.
struct Value {
  DWORD type;
  std::vector<BYTE> bytes;
};

Value Text(const std::wstring& s, bool withNul = true) {
  const BYTE* p = reinterpret_cast<const BYTE*>(s.c_str());
  return {REG_SZ, std::vector<BYTE>(p, p + (s.size() + (withNul ? 1 : 0)) * sizeof(wchar_t))};
}

class SysInfo : public ::testing::Test {
 protected:
  void SetUp() override {
    Save(kFirstKey, L"PATH", first_);
    Save(kSecondKey, L"MSINFO", second_);
    Put(kFirstKey, L"PATH", std::nullopt);
    Put(kSecondKey, L"MSINFO", std::nullopt);
    dir_ = Folder() + L"\\tool \u00e9\u03a9\u7535";
    CreateDirectoryW(dir_.c_str(), nullptr);
    log_ = dir_ + L"\\started.log";
    DeleteFileW(log_.c_str());
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
    for (const std::wstring& file : {log_, dir_ + L"\\MSINFO32.EXE", dir_ + L"\\other.exe"}) {
      SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
      Eventually(
          [&] { return DeleteFileW(file.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; });
    }
    RemoveDirectoryW(dir_.c_str());
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
  static void Put(const wchar_t* key, const wchar_t* name, const std::optional<Value>& v) {
    HKEY h;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h,
                              nullptr),
              ERROR_SUCCESS);
    if (v) {
      RegSetValueExW(h, name, 0, v->type, v->bytes.data(), static_cast<DWORD>(v->bytes.size()));
    } else {
      RegDeleteValueW(h, name);
    }
    RegCloseKey(h);
  }
  std::wstring Install(const wchar_t* name, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    const std::wstring path = dir_ + L"\\" + name;
    // A stand-in started by the test before may still be ending, holding the file.
    EXPECT_TRUE(Eventually([&] {
      return CopyFileW((Folder() + L"\\quorvane_fake_msinfo.exe").c_str(), path.c_str(), FALSE);
    }));
    SetFileAttributesW(path.c_str(), attributes);
    return path;
  }
  // The starts the stand-in recorded, waited for a moment.
  std::vector<std::wstring> Started(size_t expected) {
    std::vector<std::wstring> lines;
    for (int i = 0; i < 300; ++i) {
      lines.clear();
      std::wifstream f(std::string(log_.begin(), log_.end()).c_str());
      FILE* file = _wfopen(log_.c_str(), L"r, ccs=UTF-8");
      if (file) {
        wchar_t line[2048];
        while (fgetws(line, 2048, file)) {
          std::wstring s(line);
          if (!s.empty() && s.back() == L'\n') s.pop_back();
          lines.push_back(s);
        }
        fclose(file);
      }
      if (lines.size() >= expected && (expected > 0 || i >= 50)) break;
      Sleep(10);
    }
    return lines;
  }
  std::optional<Value> first_, second_;
  std::wstring dir_, log_;
  RecordingBox box_;
};

TEST_F(SysInfo, PathValueIsStartedAsItStandsWithOrWithoutClosingNul) {
  for (bool withNul : {true, false}) {
    const std::wstring tool = Install(L"other.exe");
    Put(kFirstKey, L"PATH", Text(tool, withNul));
    Put(kSecondKey, L"MSINFO", Text(dir_));  // would also work; not looked at
    Install(L"MSINFO32.EXE");
    StartSysInfo(box_);
    EXPECT_TRUE(box_.shown.empty());
    EXPECT_EQ(Started(1), std::vector<std::wstring>{tool + L"|1"}) << withNul;
    DeleteFileW(log_.c_str());
  }
}

TEST_F(SysInfo, SecondLocationGivesTheFolderOfTheTool) {
  Put(kSecondKey, L"MSINFO", Text(dir_));
  const std::wstring tool = Install(L"MSINFO32.EXE");
  StartSysInfo(box_);
  EXPECT_TRUE(box_.shown.empty());
  EXPECT_EQ(Started(1), std::vector<std::wstring>{tool + L"|1"});
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
    if (c.install) Install(c.install, c.attributes);
    box_.shown.clear();
    StartSysInfo(box_);
    StartSysInfo(box_);  // each press: one message
    EXPECT_EQ(box_.shown,
              (std::vector<std::wstring>{L"System Information Is Unavailable At This Time",
                                         L"System Information Is Unavailable At This Time"}));
    EXPECT_TRUE(Started(0).empty());
    if (c.install) {
      const std::wstring file = dir_ + L"\\" + c.install;
      SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(file.c_str());
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
  WaitForSingleObject(pi.hProcess, 30000);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  StartSysInfo(box_);
  EXPECT_TRUE(box_.shown.empty());
  EXPECT_EQ(Started(1), std::vector<std::wstring>{tool + L"|1"});
}

TEST_F(SysInfo, RegistryFunctionThatCannotBeBoundShowsTheMessage) {
  Put(kSecondKey, L"MSINFO", Text(dir_));
  Install(L"MSINFO32.EXE");
  win32::ReplaceForTest(win32::Api::RegQueryValueExW, nullptr);
  win32::RenameForTest(win32::Api::RegQueryValueExW, nullptr, "RegQueryValueExQuorvane");
  StartSysInfo(box_);
  win32::RenameForTest(win32::Api::RegQueryValueExW, nullptr, nullptr);
  EXPECT_EQ(box_.shown,
            std::vector<std::wstring>{L"System Information Is Unavailable At This Time"});
  EXPECT_TRUE(Started(0).empty());
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

  ASSERT_TRUE(testing::ProcessesNamed(L"msinfo32.exe").empty());
  RecordingBox box;
  StartSysInfo(box);
  EXPECT_TRUE(box.shown.empty());
  std::vector<DWORD> tools;
  EXPECT_TRUE(
      Eventually([&] { return !(tools = testing::ProcessesNamed(L"msinfo32.exe")).empty(); }));
  testing::EndProcesses(tools);
}

}  // namespace
}  // namespace quorvane
