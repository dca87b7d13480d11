// The user-interface thread's one COM apartment. The program joins COM once,
// as a single-threaded apartment, before its first window and leaves it when
// its message loop has ended (File > Exit ends the process, COM with it).
// What needs COM on that thread relies on it and never starts or stops COM
// itself: decoding the About box's picture, the annotation service that
// names the controls and the objects handed to accessibility clients (served
// by the message loop), and the shell's open request for the help file, which
// Windows documents as needing COM for the shell extensions it may load. When
// joining fails the program runs on, and each of those fails as any of its
// calls can: no picture, the controls' own accessibility objects, or the help
// launcher's report.
#pragma once

#include <objbase.h>

namespace quorvane::win32 {

class ComApartment {
 public:
  ComApartment()
      : joined_(
            SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {
  }
  ~ComApartment() {
    if (joined_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool joined_;
};

}  // namespace quorvane::win32
