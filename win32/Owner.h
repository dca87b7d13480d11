// A handle's one owner: it releases the handle when it goes out of scope,
// failure or not, and can be moved but not copied. An owner that holds
// nothing (the null handle) releases nothing. Free of Windows headers, so
// that what it releases, and when, is tested natively.
#pragma once

#include <utility>

namespace quorvane::win32 {

template <class Handle, void (*Release)(Handle)>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  ~Owned() { Reset(); }
  Owned(Owned&& other) noexcept : handle_(other.Forget()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) Reset(other.Forget());
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{}; }
  // Releases what is held and takes `handle` instead.
  void Reset(Handle handle = Handle{}) {
    if (handle_ != Handle{}) Release(handle_);
    handle_ = handle;
  }
  // For a call that writes a new handle: whatever was held is released first.
  Handle* out() {
    Reset();
    return &handle_;
  }
  // Gives the handle up without releasing it.
  Handle Forget() { return std::exchange(handle_, Handle{}); }

 private:
  Handle handle_{};
};

}  // namespace quorvane::win32
