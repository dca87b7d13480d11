// Finds the system information tool through two registry values and starts
// it; reports in one message when it cannot be found or started.
#pragma once

#include <windows.h>

#include <string>

#include "about/SysInfoText.h"
#include "core/MessageBox.h"

namespace quorvane {

// Reads value SubKeyRef of key KeyName below KeyRoot into KeyVal: a text
// value as text, a 32-bit number as "&h" and hexadecimal digits; any other
// type leaves KeyVal as it was. False, with KeyVal empty, when the key or the
// value cannot be read (data longer than 1024 bytes included). A value of no
// data at all is a failure (RuntimeError 5) for the caller.
bool GetKeyValue(HKEY KeyRoot, const std::wstring& KeyName, const std::wstring& SubKeyRef,
                 std::wstring& KeyVal);

// Starts the tool without waiting for it, or shows the one failure message.
void StartSysInfo(IMessageBox& box);

}  // namespace quorvane
