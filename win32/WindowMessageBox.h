// The real modal message box, owned by a window: no icon, and a box given no
// title shows the application's title.
#pragma once

#include <windows.h>

#include <string>

#include "core/MessageBox.h"

namespace quorvane::win32 {

inline constexpr wchar_t kAppTitle[] = L"Quorvane";

inline int ShowMessageBox(HWND owner, std::wstring_view prompt, unsigned style,
                          std::wstring_view title) {
  const std::wstring p(prompt);
  const std::wstring t = title.empty() ? std::wstring(kAppTitle) : std::wstring(title);
  // A box that could not be shown is no answer: 0, as Windows reports it;
  // Wine reports -1, as its dialog box would.
  const int answer = MessageBoxW(owner, p.c_str(), t.c_str(), style | MB_APPLMODAL);
  return answer > 0 ? answer : 0;
}

class WindowMessageBox : public IMessageBox {
 public:
  explicit WindowMessageBox(HWND owner) : owner_(owner) {}
  int Show(std::wstring_view prompt, unsigned style, std::wstring_view title) override {
    return ShowMessageBox(owner_, prompt, style, title);
  }

 private:
  HWND owner_;
};

}  // namespace quorvane::win32
