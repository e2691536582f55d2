#pragma once
// One owner for one operating-system handle: released in the destructor,
// never copied. `Invalid` is the value that means "no handle".

#include <utility>

template <typename Handle, auto Release, Handle Invalid = Handle{}>
class Owned {
public:
  Owned() = default;
  explicit Owned(Handle handle) : handle_(handle) {}
  Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, Invalid)) {}
  Owned& operator=(Owned&& other) noexcept {
    reset(std::exchange(other.handle_, Invalid));
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Invalid; }
  // Gives the handle up without releasing it.
  Handle release() { return std::exchange(handle_, Invalid); }
  void reset(Handle handle = Invalid) {
    if (handle_ != Invalid) Release(handle_);
    handle_ = handle;
  }

private:
  Handle handle_ = Invalid;
};
