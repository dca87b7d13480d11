#include "win32/Clipboard.h"

#include <cwchar>

#include "win32/Owned.h"

namespace quorvane::win32 {
namespace {

constexpr int kTries = 5;
constexpr DWORD kPauseMs = 25;

void FreeGlobal(HGLOBAL memory) { GlobalFree(memory); }
using OwnedGlobal = Owned<HGLOBAL, FreeGlobal>;

// Memory of the clipboard's locked for reading or writing, as one scope.
class Locked {
 public:
  explicit Locked(HGLOBAL memory)
      : memory_(memory), data_(static_cast<wchar_t*>(memory ? GlobalLock(memory) : nullptr)) {}
  ~Locked() {
    if (data_) GlobalUnlock(memory_);
  }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;
  wchar_t* data() const { return data_; }

 private:
  HGLOBAL memory_;
  wchar_t* data_;
};

}  // namespace

Clipboard::Clipboard(HWND window) {
  for (int i = 0; i < kTries && !(open_ = OpenClipboard(window) != FALSE); ++i) {
    if (i + 1 < kTries) Sleep(kPauseMs);
  }
}

Clipboard::~Clipboard() {
  if (open_) CloseClipboard();
}

std::optional<std::wstring> Clipboard::Text(std::size_t limit) const {
  if (!open_) return std::nullopt;
  const auto memory = static_cast<HGLOBAL>(GetClipboardData(CF_UNICODETEXT));
  const Locked text(memory);
  if (!text.data()) return std::nullopt;
  // The text ends at its first null, or with its memory.
  const std::size_t room = GlobalSize(memory) / sizeof(wchar_t);
  const std::size_t length = wcsnlen(text.data(), room < limit + 1 ? room : limit + 1);
  if (length > limit) return std::nullopt;
  return std::wstring(text.data(), length);
}

bool Clipboard::SetText(std::wstring_view text) {
  if (!open_ || !EmptyClipboard()) return false;
  OwnedGlobal memory(GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t)));
  {
    const Locked copy(memory.get());
    if (!copy.data()) return false;
    text.copy(copy.data(), text.size());
    copy.data()[text.size()] = L'\0';
  }
  // The clipboard owns the memory once it has taken it.
  if (!SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
  memory.Forget();
  return true;
}

}  // namespace quorvane::win32
