// What the prepared Wine prefix's handler for .chm files was given and
// showed, for the tests of Help Contents.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

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
    HANDLE h = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return lines;
    std::string bytes;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
    CloseHandle(h);
    size_t start = 0;
    for (size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
      lines.push_back(FromUtf8(bytes.substr(start, end - start)));
    }
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
  EXPECT_TRUE(WaitFor([&] { return (lines = log.Lines()).size() >= 2; }, 20000));
  ASSERT_GE(lines.size(), 1u);
  EXPECT_EQ(lines[0], helpPath);
  ASSERT_EQ(lines.size(), 2u);
  const std::wstring page = L"page: ";
  ASSERT_EQ(lines[1].compare(0, page.size(), page), 0) << lines[1];
  const std::wstring start = L"/Welcome.htm";
  EXPECT_TRUE(lines[1].size() > start.size() &&
              lines[1].compare(lines[1].size() - start.size(), start.size(), start) == 0)
      << lines[1];
}

}  // namespace quorvane::testing
