// Drives the running program for the README's and the help's pictures, as a
// user would: fills the inputs, selects Polar for B if asked, and presses
// Execute Operations, then, as asked, opens the About box or waits for the
// message the inputs bring. It prints the screen rectangle to photograph,
// "x y width height": the main window, the About box, or the main window with
// the message over it.
// Usage: quorvane_shot_driver realA imagA realB imagB [about|message|polarB]
#include <windows.h>

#include <cwchar>
#include <string>

#include "tests/win/WinTestSupport.h"
#include "ui/Form1Layout.h"

namespace {

using quorvane::ControlId;

constexpr ControlId kInputs[] = {ControlId::txtRealA, ControlId::txtImagA, ControlId::txtRealB,
                                 ControlId::txtImagB};

HWND Item(HWND form, ControlId id) { return GetDlgItem(form, static_cast<int>(id)); }

// A visible top-level window of process `pid` with this class and caption,
// waited for.
HWND WaitForWindow(DWORD pid, const wchar_t* cls, const wchar_t* caption) {
  HWND found = nullptr;
  quorvane::testing::WaitFor(
      [&] { return (found = quorvane::testing::FindProcessWindow(pid, cls, caption)) != nullptr; },
      "a window");
  return found;
}

void PrintRect(RECT r) {
  std::wprintf(L"%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc == 6 ? argv[5] : L"";
  if ((argc != 5 && argc != 6) ||
      (argc == 6 && mode != L"about" && mode != L"message" && mode != L"polarB")) {
    std::fwprintf(stderr,
                  L"usage: quorvane_shot_driver realA imagA realB imagB [about|message|polarB]\n");
    return 2;
  }
  HWND form = WaitForWindow(0, L"QuorvaneForm1", L"Quorvane");
  if (!form) {
    std::fwprintf(stderr, L"the Quorvane window did not appear\n");
    return 1;
  }
  DWORD pid = 0;
  GetWindowThreadProcessId(form, &pid);
  for (int i = 0; i < 4; ++i) {
    SendMessageW(Item(form, kInputs[i]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[i + 1]));
  }
  if (mode == L"polarB") {  // B's option buttons lie in their frame
    SendMessageW(Item(Item(form, ControlId::Frame2), ControlId::optB1), BM_CLICK, 0, 0);
  }
  // Posted: a press that brings a message box returns only when it closes.
  PostMessageW(Item(form, ControlId::cmdExecute), BM_CLICK, 0, 0);
  RECT shot;
  GetWindowRect(form, &shot);
  if (mode == L"about") {
    PostMessageW(form, WM_COMMAND, static_cast<WPARAM>(quorvane::MenuId::mnuAbout), 0);
    HWND about = WaitForWindow(pid, L"QuorvaneAbout", L"About Quorvane");
    if (!about) {
      std::fwprintf(stderr, L"the About box did not appear\n");
      return 1;
    }
    GetWindowRect(about, &shot);
  } else if (mode == L"message") {
    HWND box = WaitForWindow(pid, L"#32770", nullptr);
    if (!box) {
      std::fwprintf(stderr, L"no message box appeared\n");
      return 1;
    }
    RECT r;
    GetWindowRect(box, &r);
    UnionRect(&shot, &shot, &r);
  } else {
    // Wait until the press has been handled.
    quorvane::testing::QueueRoundTrip(Item(form, ControlId::txtRealA));
  }
  PrintRect(shot);
  return 0;
}
