#pragma once
// A counted interface reference: AddRef on copy, Release when emptied or replaced.

#include <utility>

#include "Com.h"

namespace platform {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Takes a reference that the caller already counted.
  static ComPtr Adopt(T* raw) {
    ComPtr p;
    p.raw_ = raw;
    return p;
  }
  ComPtr(const ComPtr& other) : raw_(other.raw_) {
    if (raw_)
      raw_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : raw_(std::exchange(other.raw_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    // Counted up first (by the copy), the former reference released last.
    std::swap(raw_, other.raw_);
    return *this;
  }
  ~ComPtr() { Reset(); }

  void Reset() {
    if (T* old = std::exchange(raw_, nullptr))
      old->Release();
  }
  T* Get() const { return raw_; }
  T* operator->() const { return raw_; }
  explicit operator bool() const { return raw_ != nullptr; }
  // For out-parameters: empties this and gives the slot to write a counted reference into.
  T** Put() {
    Reset();
    return &raw_;
  }

 private:
  T* raw_ = nullptr;
};

}  // namespace platform
