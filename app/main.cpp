// The program starts by creating and showing its main window; everything after
// happens in the window's event handlers until it closes.
#include <windows.h>

#include "ui/win32/Form1Window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  quorvane::win32::Form1Window form(quorvane::win32::UserDecimalSeparator());
  if (!form.Create(instance, showCommand, nullptr)) return 1;
  return quorvane::win32::RunMessageLoop(form);
}
