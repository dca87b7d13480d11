// A control's accessible name, the words a screen reader says for it. Windows
// names a text box after the static text before it in the z-order, which fits
// a dialog laid out label, box, label, box; a window whose labels sit apart
// from their boxes gives each box its name here.
#pragma once

#include <windows.h>

namespace quorvane::win32 {

// The role argument that keeps the role Windows reports for the control.
constexpr LONG kRoleAsWindows = 0;

// From now until the control is destroyed, its client object answers with
// name (kept, not copied: it must outlive the control) and, unless it is
// kRoleAsWindows, with role (a ROLE_SYSTEM_ value); every other property, its
// value among them, stays what Windows reports for the control. At the first
// accessibility request the control is annotated with both where the system
// takes annotations, which UI Automation reads too; elsewhere its client
// object is Windows' own wrapped. Called once for a control.
bool SetAccessibleName(HWND control, const wchar_t* name, LONG role = kRoleAsWindows);

}  // namespace quorvane::win32
