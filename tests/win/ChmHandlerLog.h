// What the prepared Wine prefix's handler for .chm files was given and
// showed, for the tests of Help Contents.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/win/WinTestSupport.h"

namespace quorvane::testing {

// Under Wine, the prepared prefix opens .chm files with its own handler
// (scripts/wine-chm-open.sh), which writes the path it is given, then the page
// it shows, to the file named by QUORVANE_CHM_LOG, and shows the page with
// QUORVANE_CHM_VIEWER. While this lives, the programs started from this one
// get both: a fresh file, and "true" for a viewer that shows nothing.
class ChmHandlerLog {
 public:
  ChmHandlerLog() {
    using UnixName = char*(CDECL*)(LPCWSTR);
    const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) return;  // not under Wine: the system's viewer opens the file
    wchar_t folder[MAX_PATH], file[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    if (!GetTempFileNameW(folder, L"chm", 0, file)) return;
    path_ = file;
    char* name = unixName(file);
    if (!name) return;
    const std::wstring unixPath = FromUtf8(name);
    HeapFree(GetProcessHeap(), 0, name);
    SetEnvironmentVariableW(L"QUORVANE_CHM_LOG", unixPath.c_str());
    SetEnvironmentVariableW(L"QUORVANE_CHM_VIEWER", L"true");
    active_ = true;
  }
  ~ChmHandlerLog() {
    SetEnvironmentVariableW(L"QUORVANE_CHM_LOG", nullptr);
    SetEnvironmentVariableW(L"QUORVANE_CHM_VIEWER", nullptr);
    if (!path_.empty()) DeleteFileW(path_.c_str());
  }
  ChmHandlerLog(const ChmHandlerLog&) = delete;
  ChmHandlerLog& operator=(const ChmHandlerLog&) = delete;

  // True under Wine, where the prefix's handler writes the log.
  bool Active() const { return active_; }
  // The lines written so far.
  std::vector<std::wstring> Lines() const {
    std::vector<std::wstring> lines;
    std::ifstream file(path_.c_str());
    for (std::string line; std::getline(file, line);) lines.push_back(FromUtf8(line));
    return lines;
  }

 private:
  static std::wstring FromUtf8(const std::string& text) {
    if (text.empty()) return {};
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
  }
  std::wstring path_;
  bool active_ = false;
};

// Checks what the prefix's .chm handler was given and what it showed: the
// help file's full path, then its start page, unpacked.
inline void ExpectHandlerOpened(const ChmHandlerLog& log, const std::wstring& helpPath) {
  std::vector<std::wstring> lines;
  EXPECT_TRUE(WaitFor([&] { return (lines = log.Lines()).size() >= 2; }, "the help handler"));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], helpPath);
  EXPECT_TRUE(lines[1].starts_with(L"page: ") && lines[1].ends_with(L"/Welcome.htm")) << lines[1];
}

// Help Contents reached the help file at helpPath: under Wine the prefix's
// handler was given it, on Windows a viewer started (and is ended here).
inline void ExpectHelpOpened(const ChmHandlerLog& log, const std::wstring& helpPath) {
  if (log.Active()) {
    ExpectHandlerOpened(log, helpPath);
    return;
  }
  std::vector<DWORD> viewers;
  EXPECT_TRUE(WaitFor([&] { return !(viewers = HelpViewers()).empty(); }, "a help viewer"));
  EndProcesses(viewers);
}

}  // namespace quorvane::testing
