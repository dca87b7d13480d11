// Fills the running program's inputs and presses Execute Operations, as a user
// would, so a screenshot shows the window after a calculation.
// Usage: quorvane_shot_driver realA imagA realB imagB [about]
// With "about", the About box is opened afterwards.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  if (argc != 5 && argc != 6) {
    std::fwprintf(stderr, L"usage: quorvane_shot_driver realA imagA realB imagB\n");
    return 2;
  }
  HWND form = nullptr;
  for (int i = 0; i < 300 && !form; ++i) {
    form = FindWindowW(L"QuorvaneForm1", L"Quorvane");
    if (!form) Sleep(100);
  }
  if (!form) {
    std::fwprintf(stderr, L"the Quorvane window did not appear\n");
    return 1;
  }
  // Control ids of the four inputs and of Execute Operations.
  const int inputs[] = {100, 101, 102, 103};
  for (int i = 0; i < 4; ++i) {
    SendMessageW(GetDlgItem(form, inputs[i]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[i + 1]));
  }
  SendMessageW(GetDlgItem(form, 111), BM_CLICK, 0, 0);
  if (argc == 6) PostMessageW(form, WM_COMMAND, 203, 0);
  return 0;
}
