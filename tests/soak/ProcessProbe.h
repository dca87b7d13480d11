// Another process seen from outside: started and awaited, its windows found
// and counted, its memory and handles measured by means that work under Wine
// as well as on Windows.
#pragma once

#include <windows.h>
// After windows.h, whose types it uses.
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace quorvane::testing {

// A started program; terminated on destruction if it still runs.
class ChildProcess {
 public:
  ChildProcess() = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess() { Close(); }

  bool Start(const std::wstring& exe) {
    std::wstring cmd = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    return CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &si, &pi_) != FALSE;
  }
  bool Running() const {
    return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
  }
  // Waits for the end; false if it still runs after the given time.
  bool WaitExit(DWORD milliseconds, DWORD* code = nullptr) {
    if (WaitForSingleObject(pi_.hProcess, milliseconds) != WAIT_OBJECT_0) return false;
    if (code) GetExitCodeProcess(pi_.hProcess, code);
    return true;
  }
  void Terminate() {
    if (Running()) {
      TerminateProcess(pi_.hProcess, 99);
      WaitForSingleObject(pi_.hProcess, 10000);
    }
  }
  void Close() {
    Terminate();
    if (pi_.hProcess) CloseHandle(pi_.hProcess);
    if (pi_.hThread) CloseHandle(pi_.hThread);
    pi_ = PROCESS_INFORMATION{};
  }
  HANDLE handle() const { return pi_.hProcess; }
  DWORD pid() const { return pi_.dwProcessId; }

 private:
  PROCESS_INFORMATION pi_{};
};

// The first visible top-level window of pid with the given class (any if
// null), or null.
inline HWND VisibleWindowOf(DWORD pid, const wchar_t* cls) {
  struct Query {
    DWORD pid;
    const wchar_t* cls;
    HWND found;
  } q{pid, cls, nullptr};
  EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* q = reinterpret_cast<Query*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (owner != q->pid || !IsWindowVisible(h)) return TRUE;
        wchar_t cls[64] = {};
        GetClassNameW(h, cls, 64);
        if (q->cls && lstrcmpW(cls, q->cls) != 0) return TRUE;
        q->found = h;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&q));
  return q.found;
}

// Every window of pid, top-level and child, visible or not: the USER objects
// a leak of windows would add to.
inline int CountWindowsOf(DWORD pid) {
  struct Count {
    DWORD pid;
    int n;
  } c{pid, 0};
  EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* c = reinterpret_cast<Count*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        if (owner != c->pid) return TRUE;
        ++c->n;
        EnumChildWindows(
            h,
            [](HWND, LPARAM lp2) -> BOOL {
              ++*reinterpret_cast<int*>(lp2);
              return TRUE;
            },
            reinterpret_cast<LPARAM>(&c->n));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&c));
  return c.n;
}

// Committed private memory: the sum of the MEM_COMMIT, MEM_PRIVATE regions of
// the address space, walked region by region. Works where the process
// counters report no private usage (Wine).
inline std::uint64_t CommittedPrivateBytes(HANDLE process) {
  std::uint64_t total = 0;
  auto* at = static_cast<unsigned char*>(nullptr);
  MEMORY_BASIC_INFORMATION mbi;
  while (VirtualQueryEx(process, at, &mbi, sizeof mbi) == sizeof mbi) {
    if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE) total += mbi.RegionSize;
    auto* next = static_cast<unsigned char*>(mbi.BaseAddress) + mbi.RegionSize;
    if (next <= at) break;
    at = next;
  }
  return total;
}

// Kernel handles held by pid, counted in the system's handle list. Works where
// GetProcessHandleCount reports 0 for every process (Wine); -1 if the list
// cannot be read.
inline long KernelHandleCount(DWORD pid) {
  struct Entry {
    void* object;
    ULONG_PTR process;
    ULONG_PTR handle;
    ULONG access;
    USHORT backTrace;
    USHORT type;
    ULONG attributes;
    ULONG reserved;
  };
  struct List {
    ULONG_PTR count;
    ULONG_PTR reserved;
    Entry entries[1];
  };
  using Query = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
  constexpr ULONG kExtendedHandleInformation = 64;
  constexpr LONG kLengthMismatch = static_cast<LONG>(0xC0000004);
  static const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return -1;
  std::vector<unsigned char> buffer(1 << 16);
  for (;;) {
    ULONG needed = 0;
    const LONG status = query(kExtendedHandleInformation, buffer.data(),
                              static_cast<ULONG>(buffer.size()), &needed);
    if (status == kLengthMismatch) {
      buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
      continue;
    }
    if (status != 0) return -1;
    break;
  }
  const auto* list = reinterpret_cast<const List*>(buffer.data());
  long n = 0;
  for (ULONG_PTR i = 0; i < list->count; ++i) {
    if (list->entries[i].process == pid) ++n;
  }
  return n;
}

struct Footprint {
  int windows = 0;
  DWORD handles = 0;       // GetProcessHandleCount; 0 under Wine
  long kernelHandles = 0;  // from the system's handle list
  DWORD userObjects = 0;   // GetGuiResources; 0 under Wine
  DWORD gdiObjects = 0;    // GetGuiResources; 0 under Wine
  std::uint64_t privateBytes = 0;
  std::uint64_t workingSet = 0;
  std::uint64_t peakWorkingSet = 0;
};

inline Footprint Measure(HANDLE process, DWORD pid) {
  Footprint f;
  f.windows = CountWindowsOf(pid);
  GetProcessHandleCount(process, &f.handles);
  f.kernelHandles = KernelHandleCount(pid);
  f.userObjects = GetGuiResources(process, GR_USEROBJECTS);
  f.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
  f.privateBytes = CommittedPrivateBytes(process);
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  if (GetProcessMemoryInfo(process, &pmc, sizeof pmc)) {
    f.workingSet = pmc.WorkingSetSize;
    f.peakWorkingSet = pmc.PeakWorkingSetSize;
  }
  return f;
}

inline double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

// The folder of this program, where the program under test lies beside it.
inline std::wstring ThisProgramFolder() {
  std::wstring self(MAX_PATH * 4, L'\0');
  self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
  return self.substr(0, self.rfind(L'\\'));
}

// The text of a control of another process; empty if it does not answer
// within the given time (ok then false).
inline std::wstring RemoteText(HWND h, bool* ok = nullptr, UINT timeoutMs = 2000) {
  DWORD_PTR length = 0;
  bool answered =
      SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &length) != 0;
  std::wstring text;
  if (answered) {
    text.assign(length + 1, L'\0');
    DWORD_PTR got = 0;
    answered =
        SendMessageTimeoutW(h, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                            SMTO_ABORTIFHUNG, timeoutMs, &got) != 0;
    text.resize(answered && got <= length ? got : 0);
  }
  if (ok) *ok = answered;
  return text;
}

// Puts a text on this desktop's clipboard.
inline bool PutOnClipboard(const std::wstring& text) {
  for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt) Sleep(10);
  if (!EmptyClipboard()) {
    CloseClipboard();
    return false;
  }
  const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool ok = false;
  if (mem) {
    std::memcpy(GlobalLock(mem), text.c_str(), bytes);
    GlobalUnlock(mem);
    ok = SetClipboardData(CF_UNICODETEXT, mem) != nullptr;
    if (!ok) GlobalFree(mem);
  }
  CloseClipboard();
  return ok;
}

}  // namespace quorvane::testing
