// Helpers for tests that drive real windows under Wine: one way to wait, a
// watcher thread that reads and answers message boxes, started programs, and
// a way to run this test program again with a registry setting changed (dpi,
// locale).
#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <oleacc.h>
#include <tlhelp32.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace quorvane::testing {

// Every wait of the tests is for an event and ends at one deadline, generous
// since a slow machine is not a failure: QUORVANE_WAIT_SECONDS, 120 by default.
inline DWORD DeadlineMs() {
  static const DWORD ms = [] {
    const char* text = std::getenv("QUORVANE_WAIT_SECONDS");
    const long seconds = text && *text ? std::strtol(text, nullptr, 10) : 0;
    return static_cast<DWORD>(seconds > 0 ? seconds : 120) * 1000;
  }();
  return ms;
}

// Says what a wait gave up on; false, for the caller's assertion.
inline bool GaveUp(const char* what) {
  std::fprintf(stderr, "gave up after %lu s waiting for %s\n", DeadlineMs() / 1000, what);
  return false;
}

// The one pause of the tests: between two looks at something awaited.
inline void PauseBetweenLooks() { Sleep(10); }

// Waits until pred() holds; false after the deadline, with a message that
// names `what`.
template <class Pred>
bool WaitFor(Pred pred, const char* what) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(DeadlineMs());
  while (!pred()) {
    if (std::chrono::steady_clock::now() > end) return pred() || GaveUp(what);
    PauseBetweenLooks();
  }
  return true;
}

// Waits for a process (or any waitable handle) to be signalled.
inline bool WaitForHandle(HANDLE h, const char* what) {
  return WaitForSingleObject(h, DeadlineMs()) == WAIT_OBJECT_0 || GaveUp(what);
}

// A started program; terminated on destruction if it still runs.
class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess() {
    Terminate();
    if (pi_.hProcess) CloseHandle(pi_.hProcess);
    if (pi_.hThread) CloseHandle(pi_.hThread);
  }

  bool Start(const std::wstring& exe, const std::wstring& arguments = L"") {
    std::wstring cmd = L"\"" + exe + L"\"" + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                       &pi_)) {
      return true;
    }
    error_ = GetLastError();
    return false;
  }
  bool Running() const {
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
  }
  // Waits for the end; false if it still runs at the deadline.
  bool WaitExit(DWORD* code = nullptr) {
    if (!WaitForHandle(pi_.hProcess, "a started program to end")) return false;
    if (code) GetExitCodeProcess(pi_.hProcess, code);
    return true;
  }
  void Terminate() {
    if (Running()) {
      TerminateProcess(pi_.hProcess, 99);
      WaitForHandle(pi_.hProcess, "a terminated program to end");
    }
  }
  HANDLE handle() const { return pi_.hProcess; }
  DWORD pid() const { return pi_.dwProcessId; }
  DWORD error() const { return error_; }  // of the last start that failed

 private:
  PROCESS_INFORMATION pi_{};
  DWORD error_ = 0;
};

// The text of a window of this process.
inline std::wstring TextOf(HWND h) {
  std::wstring s(static_cast<size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
  s.resize(static_cast<size_t>(GetWindowTextW(h, s.data(), static_cast<int>(s.size()))));
  return s;
}

// The folder of this program, where the program under test lies beside it.
inline std::wstring ThisFolder() {
  std::wstring self(MAX_PATH * 4, L'\0');
  self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
  return self.substr(0, self.rfind(L'\\'));
}

// The text of a control of another process; empty if it does not answer
// by the deadline (ok then false).
inline std::wstring RemoteText(HWND h, bool* ok = nullptr, DWORD timeoutMs = DeadlineMs()) {
  DWORD_PTR length = 0;
  bool answered =
      SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, timeoutMs, &length) != 0;
  std::wstring text;
  if (answered) {
    text.assign(length + 1, L'\0');
    DWORD_PTR got = 0;
    answered =
        SendMessageTimeoutW(h, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                            SMTO_NORMAL, timeoutMs, &got) != 0;
    text.resize(answered && got <= length ? got : 0);
  }
  if (ok) *ok = answered;
  return text;
}

// Dispatches everything queued for this thread now.
inline void Drain() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// A round trip through the queue of the thread that owns `edit`, an edit
// control maybe in another process: a marker posted behind everything posted
// to that thread before comes through. Then each of those messages has been
// handled, or its handler waits in a modal loop whose window exists.
inline bool QueueRoundTrip(HWND edit) {
  DWORD_PTR marked = 0;
  if (!SendMessageTimeoutW(edit, EM_SETMODIFY, FALSE, 0, SMTO_NORMAL, DeadlineMs(), nullptr)) {
    return GaveUp("a window to answer");
  }
  PostMessageW(edit, EM_SETMODIFY, TRUE, 0);
  return WaitFor(
      [&] {
        return SendMessageTimeoutW(edit, EM_GETMODIFY, 0, 0, SMTO_NORMAL, DeadlineMs(), &marked) &&
               marked;
      },
      "a posted message to come through the window's queue");
}

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
  std::vector<SeenBox> Seen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
  }
  void Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    seen_.clear();
  }
  // The boxes seen once the program has handled all that was posted to it
  // before: every box answered, then a round trip through its queue (through
  // `edit`, one of its edit controls), and still no box open.
  std::vector<SeenBox> Settled(HWND edit) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(DeadlineMs());
    while (std::chrono::steady_clock::now() < end &&
           WaitFor([&] { return !AnyBox(); }, "the message boxes to be answered") &&
           QueueRoundTrip(edit) && AnyBox()) {
    }
    return Seen();
  }

 private:
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
  // A message box of the process: visible only, or any (still being made).
  HWND FindBox(bool visibleOnly) const {
    struct Query {
      DWORD pid;
      bool visibleOnly;
      HWND found;
    } q{pid_, visibleOnly, nullptr};
    EnumWindows(
        [](HWND h, LPARAM lp) -> BOOL {
          auto* q = reinterpret_cast<Query*>(lp);
          DWORD pid = 0;
          GetWindowThreadProcessId(h, &pid);
          wchar_t cls[16] = {};
          GetClassNameW(h, cls, 16);
          if (pid == q->pid && lstrcmpW(cls, L"#32770") == 0 &&
              (!q->visibleOnly || (IsWindowVisible(h) && GetDlgItem(h, 0xFFFF)))) {
            q->found = h;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&q));
    return q.found;
  }
  bool AnyBox() const { return FindBox(false) != nullptr; }
  void Run() {
    while (!stop_) {
      found_ = FindBox(true);
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
      PauseBetweenLooks();
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

// Runs `show`, which shows a modal window on this thread and returns when it
// closes, while `drive` works that window (found by `find`) from another
// thread and closes it. Should the window not appear or not close, it is
// closed here all the same, so that no test stays in its modal loop; then
// false.
template <class Show, class Find, class Drive>
bool WhileModal(Show show, Find find, Drive drive) {
  std::atomic<bool> closed{false};
  bool asDriven = true;
  std::thread driver([&] {
    HWND window = nullptr;
    asDriven = WaitFor([&] { return (window = find()) != nullptr; }, "a modal window to open");
    if (asDriven) drive(window);
    if (asDriven && WaitFor([&] { return closed.load(); }, "a modal window to close")) return;
    asDriven = false;
    WaitFor(
        [&] {
          if (HWND w = find()) PostMessageW(w, WM_CLOSE, 0, 0);
          return closed.load();
        },
        "a modal window to close when told to");
  });
  show();
  closed = true;
  driver.join();
  return asDriven;
}

// Runs `undo` at scope exit. What a test changes for the whole session (a
// registry value, a system colour, the user's locale) is put back by one of
// these, so that a failed assertion, which leaves the test early, leaves
// nothing changed for the tests after it.
template <class Undo>
class Restore {
 public:
  explicit Restore(Undo undo) : undo_(std::move(undo)) {}
  ~Restore() { undo_(); }
  Restore(const Restore&) = delete;
  Restore& operator=(const Restore&) = delete;

 private:
  Undo undo_;
};

// A value of HKEY_CURRENT_USER as the user had it, put back when this goes:
// the same data of the same type if it was there, no value if it was not.
class KeptUserValue {
 public:
  KeptUserValue(const wchar_t* key, const wchar_t* name) : key_(key), name_(name) {
    DWORD size = 0;
    had_ = RegGetValueW(HKEY_CURRENT_USER, key, name, kAny, &type_, nullptr, &size) == 0;
    old_.resize(size);
    if (had_) RegGetValueW(HKEY_CURRENT_USER, key, name, kAny, &type_, old_.data(), &size);
  }
  ~KeptUserValue() {
    if (!had_) RegDeleteKeyValueW(HKEY_CURRENT_USER, key_, name_);
    if (had_) Set(type_, old_.data(), static_cast<DWORD>(old_.size()));
  }
  bool Set(DWORD type, const void* data, DWORD size) const {
    return RegSetKeyValueW(HKEY_CURRENT_USER, key_, name_, type, data, size) == ERROR_SUCCESS;
  }

 private:
  static constexpr DWORD kAny = RRF_RT_ANY | RRF_NOEXPAND;
  const wchar_t *key_, *name_;
  bool had_ = false;
  DWORD type_ = 0;
  std::vector<BYTE> old_;
};

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
  KeptUserValue kept(setting.key, setting.name);
  if (!kept.Set(setting.type, setting.data.data(), static_cast<DWORD>(setting.data.size()))) {
    return 1000;
  }
  wchar_t self[MAX_PATH * 4];
  GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
  SetEnvironmentVariableW(envName, envValue);
  DWORD code = 1001;
  ChildProcess child;
  if (child.Start(self, L" --gtest_filter=" + filter) && !child.WaitExit(&code)) code = 1002;
  SetEnvironmentVariableW(envName, nullptr);
  return code;
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

// The clipboard as another program sets and reads it, through a window of
// this thread's, as a writer must; null text empties it.
inline bool PutClipboardText(const wchar_t* text) {
  static const HWND owner =
      CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  const size_t bytes = text ? (wcslen(text) + 1) * sizeof(wchar_t) : 0;
  const HGLOBAL memory = bytes ? GlobalAlloc(GMEM_MOVEABLE, bytes) : nullptr;
  if (memory) memcpy(GlobalLock(memory), text, bytes), GlobalUnlock(memory);
  const bool put = OpenClipboard(owner) && EmptyClipboard() &&
                   (!memory || SetClipboardData(CF_UNICODETEXT, memory));
  CloseClipboard();
  return put;
}
inline std::wstring ClipboardText() {
  std::wstring text = L"(no text)";
  const HANDLE memory = OpenClipboard(nullptr) ? GetClipboardData(CF_UNICODETEXT) : nullptr;
  if (memory) text = static_cast<const wchar_t*>(GlobalLock(memory)), GlobalUnlock(memory);
  CloseClipboard();
  return text;
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
    WaitForHandle(h, "a process to end");
    CloseHandle(h);
  }
}

}  // namespace quorvane::testing
