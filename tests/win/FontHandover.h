// What the controls of a window hold at the moment each is given a new font
// on a dpi change: the font they had must still be alive and unchanged then,
// not deleted (nor its handle reused for another font).
#pragma once

#include <windows.h>

#include <map>

namespace quorvane::testing {

struct Handover {
  int given = 0;  // WM_SETFONT messages seen
  int stale = 0;  // of those, to a control whose font was gone or changed
};

class FontHandoverWatch {
 public:
  explicit FontHandoverWatch(HWND window) {
    EnumChildWindows(window, Record, reinterpret_cast<LPARAM>(this));
    current_ = this;
    // On the window's own thread, which may not be this one.
    hook_ = SetWindowsHookExW(WH_CALLWNDPROC, Watch, nullptr,
                              GetWindowThreadProcessId(window, nullptr));
  }
  ~FontHandoverWatch() {
    UnhookWindowsHookEx(hook_);
    current_ = nullptr;
  }
  FontHandoverWatch(const FontHandoverWatch&) = delete;
  FontHandoverWatch& operator=(const FontHandoverWatch&) = delete;
  Handover result() const { return result_; }

 private:
  struct Held {
    HFONT font;
    LOGFONTW lf;
  };
  static bool Describe(HFONT font, LOGFONTW& lf) {
    return font && GetObjectW(font, sizeof lf, &lf) == static_cast<int>(sizeof lf);
  }
  static HFONT FontOf(HWND control) {
    return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  }
  static BOOL CALLBACK Record(HWND control, LPARAM lp) {
    Held held{FontOf(control), {}};
    if (Describe(held.font, held.lf))
      reinterpret_cast<FontHandoverWatch*>(lp)->before_[control] = held;
    return TRUE;
  }
  static LRESULT CALLBACK Watch(int code, WPARAM wp, LPARAM lp) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
    FontHandoverWatch* self = current_;
    if (code == HC_ACTION && self && m->message == WM_SETFONT) {
      const auto it = self->before_.find(m->hwnd);
      if (it != self->before_.end()) {
        ++self->result_.given;
        const HFONT font = FontOf(m->hwnd);
        LOGFONTW now{};
        const bool alive = font == it->second.font && Describe(font, now) &&
                           now.lfHeight == it->second.lf.lfHeight &&
                           now.lfWeight == it->second.lf.lfWeight &&
                           lstrcmpW(now.lfFaceName, it->second.lf.lfFaceName) == 0;
        self->result_.stale += !alive;
        // Later changes compare with what this control holds from now on.
        self->before_.erase(it);
      }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
  }

  static inline FontHandoverWatch* current_ = nullptr;
  HHOOK hook_ = nullptr;
  std::map<HWND, Held> before_;
  Handover result_;
};

// The size Windows gives a window of this style whose client area is
// `width` x `height` pixels at `dpi`, with or without a menu bar.
inline SIZE FramedAt(HWND window, int width, int height, bool menu, int dpi) {
  RECT r{0, 0, width, height};
  AdjustWindowRectExForDpi(&r, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), menu,
                           static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)),
                           static_cast<UINT>(dpi));
  return {r.right - r.left, r.bottom - r.top};
}

// Tells `window` its dpi is now `dpi`, as Windows does when it moves to
// another monitor: it asks the window's size at that dpi, suggests a
// rectangle of that size where the window is, and reports the font handovers
// that followed.
inline Handover ChangeDpi(HWND window, int dpi, SIZE* answered = nullptr) {
  RECT suggested;
  GetWindowRect(window, &suggested);
  SIZE size{};
  if (SendMessageW(window, WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(&size))) {
    suggested.right = suggested.left + size.cx;
    suggested.bottom = suggested.top + size.cy;
  }
  if (answered) *answered = size;
  FontHandoverWatch watch(window);
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  return watch.result();
}

}  // namespace quorvane::testing
