#include "win32/MessageLoop.h"

namespace quorvane::win32 {

std::optional<int> RunMessages(const std::function<HWND()>& keyWindow,
                               const std::function<bool()>& done) {
  MSG msg;
  while (!done()) {
    // A message sent to a window of this thread is handled inside
    // PeekMessageW without being returned, and it may be what ends the loop:
    // done() is asked again after every look, not only after a posted message.
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!done()) {
        MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      }
      continue;
    }
    if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
    HWND keys = keyWindow();
    if (keys && IsDialogMessageW(keys, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return std::nullopt;
}

OtherWindowsDisabled::OtherWindowsDisabled(HWND except) : except_(except) {
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM lp) -> BOOL {
        auto* self = reinterpret_cast<OtherWindowsDisabled*>(lp);
        if (h != self->except_ && IsWindowEnabled(h) && IsWindowVisible(h)) {
          EnableWindow(h, FALSE);
          self->disabled_.push_back(h);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(this));
}

void OtherWindowsDisabled::Restore() {
  for (HWND h : disabled_) {
    if (IsWindow(h)) EnableWindow(h, TRUE);
  }
  disabled_.clear();
}

}  // namespace quorvane::win32
