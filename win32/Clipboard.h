// The clipboard, opened for one read or one write and closed again when the
// owner goes. Another program that holds it open is waited for a moment only
// (a few tries over about a tenth of a second); the clipboard then stays
// closed, and nothing is read or written.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::win32 {

class Clipboard {
 public:
  // `window` becomes the clipboard's owner if this writes.
  explicit Clipboard(HWND window);
  ~Clipboard();
  Clipboard(const Clipboard&) = delete;
  Clipboard& operator=(const Clipboard&) = delete;

  bool IsOpen() const { return open_; }
  // Its text (CF_UNICODETEXT) when it holds text of at most `limit`
  // characters; nothing when it holds none, or more, or is not open.
  std::optional<std::wstring> Text(std::size_t limit) const;
  // Replaces what it holds with `text`; false when it cannot.
  bool SetText(std::wstring_view text);

 private:
  bool open_ = false;
};

// Whether the clipboard holds text, asked without opening it.
inline bool ClipboardHasText() { return IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE; }

}  // namespace quorvane::win32
