// The thread's message loop, for the main window and for a modal box alike.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

namespace quorvane::win32 {

// Dispatches this thread's messages until done() holds or WM_QUIT arrives.
// Keys pass first through the dialog keyboard (Tab, arrows, Enter, Escape)
// of keyWindow(), which may be null. Returns WM_QUIT's code when it came.
std::optional<int> RunMessages(const std::function<HWND()>& keyWindow,
                               const std::function<bool()>& done);

// Every visible, enabled window of this thread but one, disabled for as long
// as a modal box is shown and enabled again by Restore or at the end.
class OtherWindowsDisabled {
 public:
  explicit OtherWindowsDisabled(HWND except);
  ~OtherWindowsDisabled() { Restore(); }
  OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
  OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;
  void Restore();

 private:
  HWND except_;
  std::vector<HWND> disabled_;
};

}  // namespace quorvane::win32
