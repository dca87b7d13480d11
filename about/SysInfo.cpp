#include "about/SysInfo.h"

#include <optional>

#include "core/Failure.h"
#include "win32/LateBound.h"
#include "win32/Owned.h"

namespace quorvane {
namespace {

namespace late = win32::late;

constexpr wchar_t kFirstKey[] = L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr wchar_t kFirstValue[] = L"PATH";
constexpr wchar_t kSecondKey[] = L"SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr wchar_t kSecondValue[] = L"MSINFO";
constexpr wchar_t kToolFile[] = L"\\MSINFO32.EXE";
constexpr DWORD kBufferBytes = 1024;

// Read rights only: asking for write rights would refuse every account that
// may read the key but not change it.
constexpr REGSAM kAccess = KEY_READ;

// "A directory listing for the exact path, normal files only": hidden and
// system files and folders do not count.
bool NormalFileExists(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  const HANDLE h = FindFirstFileW(path.c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return false;
  const win32::OwnedSearch search(h);
  constexpr DWORD kNotNormal =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  return (found.dwFileAttributes & kNotNormal) == 0;
}

// Starts the program at path in a normal window, without waiting for it.
bool StartProgram(const std::wstring& path) {
  if (path.empty()) return false;
  std::wstring commandLine = L"\"" + path + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &si, &pi)) {
    return false;
  }
  // Not waited for: both handles go at once.
  const win32::OwnedHandle process(pi.hProcess), thread(pi.hThread);
  return true;
}

// The tool's path: "PATH" exactly as read, without a test first, or else the
// "MSINFO" directory with the tool's file name when that file exists.
// Nothing when neither place names one.
std::optional<std::wstring> LocateTool() {
  std::wstring toolPath;
  if (GetKeyValue(HKEY_LOCAL_MACHINE, kFirstKey, kFirstValue, toolPath)) return toolPath;
  if (!GetKeyValue(HKEY_LOCAL_MACHINE, kSecondKey, kSecondValue, toolPath)) return std::nullopt;
  std::wstring candidate = toolPath + kToolFile;
  if (!NormalFileExists(candidate)) return std::nullopt;
  return candidate;
}

}  // namespace

bool GetKeyValue(HKEY KeyRoot, const std::wstring& KeyName, const std::wstring& SubKeyRef,
                 std::wstring& KeyVal) {
  win32::OwnedKey key;
  if (late::RegOpenKeyExW(KeyRoot, KeyName.c_str(), 0, kAccess, key.out()) != ERROR_SUCCESS) {
    KeyVal.clear();
    return false;
  }
  // The buffer holds 1024 bytes, NUL-filled; the data size in and out is in
  // bytes, as the registry counts it.
  wchar_t buffer[kBufferBytes / sizeof(wchar_t)] = {};
  DWORD type = 0;
  DWORD size = kBufferBytes;
  if (late::RegQueryValueExW(key.get(), SubKeyRef.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS) {
    KeyVal.clear();
    return false;
  }
  // The data as characters, cut at its length; an odd last byte still makes
  // a character (its other half is the buffer's NUL). A closing NUL is
  // dropped. No data has no last character to look at: that fails.
  if (size == 0) throw RuntimeError{kErrInvalidCall};
  size_t length = (size + 1) / sizeof(wchar_t);
  if (buffer[length - 1] == L'\0') --length;
  switch (type) {
    case REG_SZ:
      KeyVal.assign(buffer, length);
      break;
    case REG_DWORD: {
      DWORD number = 0;
      memcpy(&number, buffer, sizeof number);
      wchar_t digits[16];
      wsprintfW(digits, L"&h%lX", number);
      KeyVal = digits;
      break;
    }
    default:
      break;  // another type leaves the text as it was
  }
  return true;
}

void StartSysInfo(IMessageBox& box) {
  bool started = false;
  try {
    const std::optional<std::wstring> toolPath = LocateTool();
    started = toolPath && StartProgram(*toolPath);
  } catch (...) {
    // Any failure on the way ends in the one message below.
  }
  if (started) return;
  try {
    box.Show(kSysInfoUnavailable, kMbOkOnly, L"");
  } catch (...) {
    // The box itself failed: nothing more can be said.
  }
}

}  // namespace quorvane
