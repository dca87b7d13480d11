// Start-up and footprint of Quorvane.exe beside a small native program of the
// platform (its own notepad.exe), started alternately in the same run: time
// from launch to the first idle with the main window found, peak working set
// and private memory at that point; then the size of Quorvane.exe and how
// long a press takes with a long text in an input, at several lengths, so
// that work that grows faster than the text shows.
//
//   quorvane_startup_bench [runs]      (default 15)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/soak/ProcessProbe.h"
#include "tests/win/WinTestSupport.h"
#include "ui/Form1Layout.h"

namespace quorvane::testing {
namespace {

struct Start {
  double milliseconds = 0;
  double peakWorkingSetKiB = 0;
  double privateKiB = 0;
};

struct Candidate {
  std::wstring name;
  std::wstring exe;
  const wchar_t* windowClass;
  std::vector<Start> starts;
};

bool StartOnce(Candidate& c) {
  const auto launched = std::chrono::steady_clock::now();
  ChildProcess p;
  if (!p.Start(c.exe)) return false;
  WaitForInputIdle(p.handle(), 30000);
  HWND window = nullptr;
  if (!WaitFor(
          [&] { return (window = FindProcessWindow(p.pid(), c.windowClass, nullptr)) != nullptr; },
          "the window")) {
    return false;
  }
  Start s;
  s.milliseconds = MillisecondsSince(launched);
  const Footprint f = Measure(p.handle(), p.pid());
  s.peakWorkingSetKiB = static_cast<double>(f.peakWorkingSet) / 1024;
  s.privateKiB = static_cast<double>(f.privateBytes) / 1024;
  c.starts.push_back(s);
  // Closed as a user closes it, the shutdown question answered.
  MessageBoxWatcher watcher(IDOK, p.pid());
  PostMessageW(window, WM_CLOSE, 0, 0);
  if (!p.WaitExit()) p.Terminate();
  return true;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

template <class Field>
double MedianOf(const Candidate& c, Field field) {
  std::vector<double> v;
  for (const Start& s : c.starts) v.push_back(s.*field);
  return Median(v);
}

// One press of Execute Operations with `text` in the first input, the other
// inputs valid; the time from the click to its end, message answered.
struct PressTiming {
  double setTextMs = 0;
  double pressMs = 0;
  std::wstring message;
};

PressTiming TimePress(const std::wstring& exe, const std::wstring& text) {
  PressTiming t;
  ChildProcess p;
  if (!p.Start(exe)) return t;
  WaitForInputIdle(p.handle(), 30000);
  HWND form = nullptr;
  WaitFor([&] { return (form = FindProcessWindow(p.pid(), L"QuorvaneForm1", nullptr)) != nullptr; },
          "the main window");
  auto item = [&](ControlId id) { return GetDlgItem(form, static_cast<int>(id)); };
  DWORD_PTR ignored;
  for (auto [id, value] :
       {std::pair{ControlId::txtImagA, L"4"}, std::pair{ControlId::txtRealB, L"1"},
        std::pair{ControlId::txtImagB, L"1"}}) {
    SendMessageTimeoutW(item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value), SMTO_NORMAL,
                        10000, &ignored);
  }
  auto start = std::chrono::steady_clock::now();
  SendMessageTimeoutW(item(ControlId::txtRealA), WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, 120000, &ignored);
  t.setTextMs = MillisecondsSince(start);
  MessageBoxWatcher watcher(IDOK, p.pid());
  start = std::chrono::steady_clock::now();
  SendMessageTimeoutW(item(ControlId::cmdExecute), BM_CLICK, 0, 0, SMTO_NORMAL, 120000, &ignored);
  t.pressMs = MillisecondsSince(start);
  const std::vector<SeenBox> seen = watcher.Seen();
  t.message = seen.empty() ? L"(results)" : seen[0].title;
  p.Terminate();
  return t;
}

int Run(int runs) {
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring quorvane = ThisFolder() + L"\\Quorvane.exe";
  Candidate candidates[] = {{L"Quorvane.exe", quorvane, L"QuorvaneForm1", {}},
                            {L"notepad.exe", std::wstring(system) + L"\\notepad.exe", nullptr, {}}};
  // A window of this program's own keeps Wine's desktop process running for
  // the whole run, so that no start pays for starting the desktop again.
  HWND keeper = CreateWindowExW(0, L"STATIC", L"quorvane startup bench", WS_OVERLAPPED, 0, 0, 10,
                                10, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  // One start of each first, not counted: the first start in a new prefix
  // pays for setting up its caches.
  for (Candidate& c : candidates) {
    if (!StartOnce(c)) {
      std::fprintf(stderr, "cannot start %ls\n", c.exe.c_str());
      return 1;
    }
    c.starts.clear();
  }
  for (int run = 0; run < runs; ++run) {
    // Alternating which goes first, so neither profits from the other's caches.
    for (int i = 0; i < 2; ++i) {
      Candidate& c = candidates[(run + i) % 2];
      if (!StartOnce(c)) return 1;
    }
  }
  const Candidate& q = candidates[0];
  const Candidate& n = candidates[1];
  std::printf("start-up over %d runs each, medians\n", runs);
  std::printf("%-14s %14s %18s %14s\n", "", "to idle (ms)", "peak working set", "private");
  for (const Candidate& c : candidates) {
    std::printf("%-14ls %14.1f %14.0f KiB %10.0f KiB\n", c.name.c_str(),
                MedianOf(c, &Start::milliseconds), MedianOf(c, &Start::peakWorkingSetKiB),
                MedianOf(c, &Start::privateKiB));
  }
  std::printf("%-14s %14.2f %18.2f %14.2f\n", "ratio",
              MedianOf(q, &Start::milliseconds) / MedianOf(n, &Start::milliseconds),
              MedianOf(q, &Start::peakWorkingSetKiB) / MedianOf(n, &Start::peakWorkingSetKiB),
              MedianOf(q, &Start::privateKiB) / MedianOf(n, &Start::privateKiB));

  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  GetFileAttributesExW(quorvane.c_str(), GetFileExInfoStandard, &attributes);
  std::printf("Quorvane.exe: %lu bytes (%.0f KiB)\n", attributes.nFileSizeLow,
              attributes.nFileSizeLow / 1024.0);

  std::printf("\na press of Execute Operations with a long text in the first input\n");
  std::printf("%-34s %10s %14s %12s  %s\n", "text", "chars", "set text (ms)", "press (ms)",
              "outcome");
  for (std::size_t length : {125000, 250000, 500000, 1000000}) {
    const std::pair<const char*, std::wstring> texts[] = {
        {"letters", std::wstring(length, L'x')},
        {"a number and blanks", L"1" + std::wstring(length - 1, L' ')}};
    for (const auto& [kind, text] : texts) {
      const PressTiming t = TimePress(quorvane, text);
      std::printf("%-34s %10zu %14.1f %12.1f  %ls\n", kind, length, t.setTextMs, t.pressMs,
                  t.message.c_str());
    }
  }
  DestroyWindow(keeper);
  return 0;
}

}  // namespace
}  // namespace quorvane::testing

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  return quorvane::testing::Run(runs);
}
