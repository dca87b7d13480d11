// Where the help file is looked for (beside the executable, never in the
// current directory or on a search path) and the launcher's two messages.
// No Windows headers, so the rules are tested on every platform.
#pragma once

#include <string>
#include <string_view>

namespace quorvane {

inline constexpr std::wstring_view kHelpFileName = L"QuorvaneHelp.chm";

// The executable's directory as the runtime reports it, from the
// executable's full path: everything before the last backslash, except that
// a drive root keeps its backslash ("C:\Quorvane.exe" gives "C:\").
inline std::wstring ExecutableDirectory(std::wstring_view modulePath) {
  const std::size_t cut = modulePath.rfind(L'\\');
  if (cut == std::wstring_view::npos) return {};
  const bool driveRoot = cut == 2 && modulePath[1] == L':';
  return std::wstring(modulePath.substr(0, driveRoot ? cut + 1 : cut));
}

// The directory, a backslash and the file name. A drive root, which already
// ends in a backslash, so gets two in a row; the path is left that way.
inline std::wstring HelpFilePath(std::wstring_view executableDirectory) {
  std::wstring path(executableDirectory);
  path += L'\\';
  path += kHelpFileName;
  return path;
}

// The message for a help file the shell did not find: two lines, the first
// with its trailing blank, the second the path as it was passed.
inline std::wstring HelpNotFoundPrompt(std::wstring_view path) {
  std::wstring prompt = L"HTML Help File Not Found \r\n";
  prompt += path;
  return prompt;
}

// The message for any failure on the way to the shell, with its number.
inline std::wstring HelpErrorPrompt(int number) {
  return L"Error in Invoking Help!\r\nError Code = " + std::to_wstring(number);
}

}  // namespace quorvane
