// Helpers for tests that drive real windows under Wine: a watcher thread that
// reads and answers message boxes, a message pump, and a way to run this test
// program again with a registry setting changed (dpi, locale).
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quorvane::testing {

struct SeenBox {
  std::wstring title;
  std::wstring prompt;
  bool hasOk = false;
  bool hasCancel = false;
  bool hasIcon = false;
  HWND owner = nullptr;
};

// Finds each message box this process shows, records it and presses answer.
class MessageBoxWatcher {
 public:
  explicit MessageBoxWatcher(int answer = IDOK, DWORD pid = GetCurrentProcessId())
      : answer_(answer), pid_(pid) {
    thread_ = std::thread([this] { Run(); });
  }
  ~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();
  }
  void SetAnswer(int answer) { answer_ = answer; }
  std::vector<SeenBox> Seen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
  }
  void Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    seen_.clear();
  }

 private:
  static std::wstring TextOf(HWND h) {
    std::wstring s(static_cast<size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
    s.resize(static_cast<size_t>(GetWindowTextW(h, s.data(), static_cast<int>(s.size()))));
    return s;
  }
  static BOOL CALLBACK FindIcon(HWND child, LPARAM lp) {
    wchar_t cls[32] = {};
    GetClassNameW(child, cls, 32);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if (lstrcmpiW(cls, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON &&
        IsWindowVisible(child) && SendMessageW(child, STM_GETICON, 0, 0)) {
      *reinterpret_cast<bool*>(lp) = true;
    }
    return TRUE;
  }
  static BOOL CALLBACK FindBox(HWND h, LPARAM lp) {
    auto* self = reinterpret_cast<MessageBoxWatcher*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    wchar_t cls[16] = {};
    GetClassNameW(h, cls, 16);
    if (pid == self->pid_ && lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(h) &&
        GetDlgItem(h, 0xFFFF)) {
      self->found_ = h;
      return FALSE;
    }
    return TRUE;
  }
  void Run() {
    while (!stop_) {
      found_ = nullptr;
      EnumWindows(FindBox, reinterpret_cast<LPARAM>(this));
      if (found_ && found_ != last_) {
        SeenBox box;
        box.title = TextOf(found_);
        box.prompt = TextOf(GetDlgItem(found_, 0xFFFF));
        box.hasOk = GetDlgItem(found_, IDOK) != nullptr;
        box.hasCancel = GetDlgItem(found_, IDCANCEL) != nullptr;
        EnumChildWindows(found_, FindIcon, reinterpret_cast<LPARAM>(&box.hasIcon));
        box.owner = GetWindow(found_, GW_OWNER);
        {
          std::lock_guard<std::mutex> lock(mutex_);
          seen_.push_back(box);
        }
        last_ = found_;
        PostMessageW(found_, WM_COMMAND, MAKEWPARAM(answer_.load(), BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(found_, answer_)));
      } else if (!found_) {
        last_ = nullptr;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

  std::atomic<int> answer_;
  DWORD pid_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::mutex mutex_;
  std::vector<SeenBox> seen_;
  HWND found_ = nullptr;
  HWND last_ = nullptr;
};

// Dispatches what is queued for this thread, for at most the given time.
inline void Pump(int milliseconds = 50) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  } while (std::chrono::steady_clock::now() < end);
}

// A registry value of HKEY_CURRENT_USER changed for one child run and put back.
struct UserSetting {
  const wchar_t* key;
  const wchar_t* name;
  DWORD type;
  std::vector<BYTE> data;
};

// Runs this test program again with only `filter`, with `setting` in force
// and `envName`=`envValue` in its environment; returns its exit code.
inline DWORD RunSelfWith(const UserSetting& setting, const std::wstring& filter,
                         const wchar_t* envName, const wchar_t* envValue) {
  HKEY key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, setting.key, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return 1000;
  }
  DWORD oldType = 0, oldSize = 0;
  const bool had =
      RegQueryValueExW(key, setting.name, nullptr, &oldType, nullptr, &oldSize) == ERROR_SUCCESS;
  std::vector<BYTE> old(oldSize);
  if (had) RegQueryValueExW(key, setting.name, nullptr, &oldType, old.data(), &oldSize);
  RegSetValueExW(key, setting.name, 0, setting.type, setting.data.data(),
                 static_cast<DWORD>(setting.data.size()));

  wchar_t self[MAX_PATH * 4];
  GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
  std::wstring cmd = L"\"" + std::wstring(self) + L"\" --gtest_filter=" + filter;
  SetEnvironmentVariableW(envName, envValue);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  DWORD code = 1001;
  if (CreateProcessW(self, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    if (WaitForSingleObject(pi.hProcess, 120000) == WAIT_OBJECT_0) {
      GetExitCodeProcess(pi.hProcess, &code);
    } else {
      TerminateProcess(pi.hProcess, 1002);
      code = 1002;
    }
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
  }
  SetEnvironmentVariableW(envName, nullptr);
  if (had) {
    RegSetValueExW(key, setting.name, 0, oldType, old.data(), oldSize);
  } else {
    RegDeleteValueW(key, setting.name);
  }
  RegCloseKey(key);
  return code;
}

// Waits until pred() holds, for at most the given time; returns pred().
template <class Pred>
bool WaitFor(Pred pred, int milliseconds = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (!pred()) {
    if (std::chrono::steady_clock::now() > end) return pred();
    Sleep(10);
  }
  return true;
}

// A visible top-level window of a process (pid 0: of any process), found by
// class (or any) and caption.
inline HWND FindProcessWindow(DWORD pid, const wchar_t* cls, const wchar_t* caption) {
  struct Query {
    DWORD pid;
    const wchar_t* cls;
    const wchar_t* caption;
    HWND found;
  } q{pid, cls, caption, nullptr};
  EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* q = reinterpret_cast<Query*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        wchar_t cls[64] = {}, text[128] = {};
        GetClassNameW(h, cls, 64);
        GetWindowTextW(h, text, 128);
        if ((!q->pid || owner == q->pid) && IsWindowVisible(h) &&
            (!q->cls || lstrcmpW(cls, q->cls) == 0) &&
            (!q->caption || lstrcmpW(text, q->caption) == 0)) {
          q->found = h;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&q));
  return q.found;
}

inline std::wstring Env(const wchar_t* name) {
  wchar_t buf[256] = {};
  const DWORD n = GetEnvironmentVariableW(name, buf, 256);
  return n && n < 256 ? std::wstring(buf, n) : std::wstring();
}

// The processes of a program running now, by its file name.
inline std::vector<DWORD> ProcessesNamed(const wchar_t* exe) {
  std::vector<DWORD> pids;
  const HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snap, &entry); more; more = Process32NextW(snap, &entry)) {
    if (lstrcmpiW(entry.szExeFile, exe) == 0) pids.push_back(entry.th32ProcessID);
  }
  CloseHandle(snap);
  return pids;
}

// The help viewer processes running now.
inline std::vector<DWORD> HelpViewers() { return ProcessesNamed(L"hh.exe"); }

inline void EndProcesses(const std::vector<DWORD>& pids) {
  for (DWORD pid : pids) {
    const HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (!h) continue;
    TerminateProcess(h, 0);
    WaitForSingleObject(h, 5000);
    CloseHandle(h);
  }
}

}  // namespace quorvane::testing
