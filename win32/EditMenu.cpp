#include "win32/EditMenu.h"

#include "win32/Clipboard.h"

namespace quorvane::win32 {

std::vector<MenuLine> EditMenuLines(HWND edit) {
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const auto style = GetWindowLongPtrW(edit, GWL_STYLE);
  const bool writable = !(style & ES_READONLY);
  const bool selection = start != end && !(style & ES_PASSWORD);
  const auto length = static_cast<DWORD>(GetWindowTextLengthW(edit));
  return {
      {WM_UNDO, L"&Undo", writable && SendMessageW(edit, EM_CANUNDO, 0, 0) != 0},
      {0, L""},
      {WM_CUT, L"Cu&t", writable && selection},
      {WM_COPY, L"&Copy", selection},
      {WM_PASTE, L"&Paste", writable && ClipboardHasText()},
      {WM_CLEAR, L"&Delete", writable && start != end},
      {0, L""},
      {EM_SETSEL, L"Select &All", length > 0 && (start != 0 || end != length)},
  };
}

bool RunEditMenuCommand(HWND edit, UINT id) {
  switch (id) {
    case WM_UNDO:
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_CLEAR:
      SendMessageW(edit, id, 0, 0);
      return true;
    case EM_SETSEL:
      SendMessageW(edit, EM_SETSEL, 0, -1);
      return true;
    default:
      return false;
  }
}

}  // namespace quorvane::win32
