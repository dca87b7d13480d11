// The program starts by creating and showing its main window; everything after
// happens in the window's event handlers until it closes.
#include <windows.h>

#include "app/Form1Program.h"
#include "app/resource.h"
#include "ui/win32/Form1Window.h"
#include "win32/ComApartment.h"
#include "win32/WindowMessageBox.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  using namespace quorvane;
  using namespace quorvane::win32;
  // Before the first window and left after the last: declared first, so it
  // outlives the windows and the About box.
  const ComApartment apartment;
  Form1Window form(UserDecimalSeparator());
  Form1Program program(form);
  if (!form.Create(instance, showCommand, &program, true,
                   LoadIconW(instance, MAKEINTRESOURCEW(IDI_QUORVANE)))) {
    // A window or control that was not made would fail every later press.
    ShowMessageBox(nullptr, L"Quorvane could not create its window and has to end.", MB_ICONERROR,
                   L"");
    return 1;
  }
  return RunMessageLoop(form);
}
