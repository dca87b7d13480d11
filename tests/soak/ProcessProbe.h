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

#include "tests/win/WinTestSupport.h"

namespace quorvane::testing {

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

// The live GDI objects of a process: GetGuiResources where it answers (on
// Windows), else counted in the GDI handle table that the process
// environment block points to (GdiSharedHandleTable), read from outside:
// the entries, in the layout Windows uses, that have a type and belong to
// no other process. Wine 8 keeps that table and answers GetGuiResources
// with 0. -1 if neither can be read.
inline long GdiObjectCount(HANDLE process) {
  if (const DWORD n = GetGuiResources(process, GR_GDIOBJECTS)) return static_cast<long>(n);
  struct BasicInformation {
    LONG_PTR exitStatus;
    ULONG_PTR peb;
    ULONG_PTR affinity, priority, pid, parent;
  } info{};
  struct Entry {  // 24 bytes
    std::uint64_t object;
    std::uint16_t processId, count;
    std::uint16_t unique;
    std::uint8_t type, flags;
    std::uint64_t user;
  };
  static_assert(sizeof(Entry) == 24);
  constexpr std::size_t kPebGdiTable = 0xF8, kEntries = 0x10000;
  using Query = LONG(WINAPI*)(HANDLE, ULONG, void*, ULONG, ULONG*);
  static const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  ULONG_PTR table = 0;
  std::vector<Entry> entries(kEntries);
  SIZE_T got = 0;
  if (!query || query(process, 0, &info, sizeof info, nullptr) != 0 ||
      !ReadProcessMemory(process, reinterpret_cast<void*>(info.peb + kPebGdiTable), &table,
                         sizeof table, nullptr) ||
      !table ||
      !ReadProcessMemory(process, reinterpret_cast<void*>(table), entries.data(),
                         entries.size() * sizeof(Entry), &got)) {
    return -1;
  }
  const auto pid = static_cast<std::uint16_t>(info.pid);
  return static_cast<long>(std::count_if(entries.begin(), entries.end(), [&](const Entry& e) {
    return e.type != 0 && (e.processId == 0 || e.processId == pid);
  }));
}

struct Footprint {
  int windows = 0;
  DWORD handles = 0;       // GetProcessHandleCount; 0 under Wine
  long kernelHandles = 0;  // from the system's handle list
  DWORD userObjects = 0;   // GetGuiResources; 0 under Wine
  long gdiObjects = 0;     // GdiObjectCount
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
  f.gdiObjects = GdiObjectCount(process);
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

// Puts a text on this desktop's clipboard.
inline bool PutOnClipboard(const std::wstring& text) {
  if (!WaitFor([] { return OpenClipboard(nullptr) != FALSE; }, "the clipboard")) return false;
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
