#include "help/HelpHTML.h"

#include <windows.h>

#include <new>

#include "core/Failure.h"
#include "help/HelpPath.h"
#include "win32/LateBound.h"

namespace quorvane {
namespace {

// Longer than any path Windows can hand out, so the buffer stops growing.
constexpr std::size_t kModulePathLimit = std::size_t{1} << 16;

std::wstring RunningExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw RuntimeError{kErrInternal};
    // A path that fills the buffer may have been cut short.
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    if (path.size() >= kModulePathLimit) throw RuntimeError{kErrInternal};
    path.resize(path.size() * 2);
  }
}

const wchar_t* OrNull(const std::optional<std::wstring>& text) {
  return text ? text->c_str() : nullptr;
}

std::optional<std::wstring> Copy(std::optional<std::wstring_view> text) {
  if (!text) return std::nullopt;
  return std::wstring(*text);
}

}  // namespace

std::wstring RunningExecutableDirectory() { return ExecutableDirectory(RunningExecutablePath()); }

void ShellDocument(std::wstring_view verb, std::wstring_view file,
                   std::optional<std::wstring_view> parameters,
                   std::optional<std::wstring_view> directory, int showCommand, IMessageBox& box) {
  const HWND owner = win32::late::GetDesktopWindow();
  const std::wstring verbText(verb);
  const std::wstring fileText(file);
  const std::optional<std::wstring> parametersText = Copy(parameters);
  const std::optional<std::wstring> directoryText = Copy(directory);
  // In the thread's COM apartment (win32/ComApartment.h), which the shell
  // extensions the request may load need.
  const HINSTANCE result =
      win32::late::ShellExecuteW(owner, verbText.c_str(), fileText.c_str(), OrNull(parametersText),
                                 OrNull(directoryText), showCommand);
  if (reinterpret_cast<INT_PTR>(result) == SE_ERR_FNF) {
    box.Show(HelpNotFoundPrompt(fileText), kMbOkOnly, L"");
  }
}

void OpenHelpFile(IMessageBox& box) noexcept {
  int number = kErrInternal;
  try {
    const std::wstring path = HelpFilePath(RunningExecutableDirectory());
    ShellDocument(L"Open", path, std::nullopt, std::nullopt, SW_SHOWNORMAL, box);
    return;
  } catch (const RuntimeError& e) {
    number = e.number;
  } catch (const std::bad_alloc&) {
    number = kErrOutOfMemory;
  } catch (...) {
    number = kErrInternal;
  }
  try {
    box.Show(HelpErrorPrompt(number), kMbOkOnly, L"");
  } catch (...) {
    // Nothing is left to report with; the command ends quietly.
  }
}

}  // namespace quorvane
