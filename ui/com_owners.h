#pragma once
// Owners for COM resources: one interface pointer, one BSTR.

#include <windows.h>
#include <oleauto.h>

#include <utility>

#include "host/owned.h"

// Holds one reference to a COM interface and releases it in the destructor.
template <typename Interface>
class ComPtr {
public:
  ComPtr() = default;
  // Adopts a reference the caller already holds.
  explicit ComPtr(Interface* adopted) : pointer_(adopted) {}
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    reset(std::exchange(other.pointer_, nullptr));
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() { reset(); }

  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

  void reset(Interface* adopted = nullptr) {
    if (Interface* old = std::exchange(pointer_, adopted)) old->Release();
  }
  // For an out-parameter that hands over a new reference.
  Interface** put() {
    reset();
    return &pointer_;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  template <typename Other>
  ComPtr<Other> Query(REFIID iid) const {
    ComPtr<Other> other;
    if (pointer_) pointer_->QueryInterface(iid, other.put_void());
    return other;
  }

private:
  Interface* pointer_ = nullptr;
};

using OwnedBstr = Owned<BSTR, SysFreeString>;
