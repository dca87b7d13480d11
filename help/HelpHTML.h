// The help launcher: asks the shell to open the compiled help file that lies
// beside the executable, and reports a missing file or any failure.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/MessageBox.h"

namespace quorvane {

// Opens the help file with the viewer the shell has for it. A missing file,
// and every failure on the way, is reported in `box`; nothing is thrown.
void OpenHelpFile(IMessageBox& box) noexcept;

// Asks the shell, on behalf of the desktop window, to apply `verb` to `file`;
// absent parameters and directory are passed as null. When the shell says the
// file does not exist, shows so in `box`; other refusals pass without a word.
// Failures (a function that cannot be bound, a failing box) go to the caller.
void ShellDocument(std::wstring_view verb, std::wstring_view file,
                   std::optional<std::wstring_view> parameters,
                   std::optional<std::wstring_view> directory, int showCommand, IMessageBox& box);

// The running executable's directory as the runtime reports it.
std::wstring RunningExecutableDirectory();

}  // namespace quorvane
