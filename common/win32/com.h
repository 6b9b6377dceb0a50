// COM for the window thread, in one place: started by the first thing that
// needs it (a picker, the help link, the taskbar's progress), with ole32
// loaded then and not at start, and ended with the program. COM pointers are
// owned by ComPtr, which releases them.
#pragma once

#include <windows.h>

#include <unknwn.h>

#include <utility>

namespace plover::win {

// Starts COM (apartment-threaded) on this thread once; false when it could
// not be started.
bool NeedCom();

// Ends COM on the thread when NeedCom started it; the entry point holds one
// for the program's life.
class ComOnDemand {
 public:
  ComOnDemand() = default;
  ComOnDemand(const ComOnDemand&) = delete;
  ComOnDemand& operator=(const ComOnDemand&) = delete;
  ~ComOnDemand();
};

// One reference to a COM object, released with the owner.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() { Reset(); }
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  T* operator->() const { return p_; }
  T* get() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void Reset() {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  // Where a creating call puts the new reference (the old one goes first).
  void** Put() {
    Reset();
    return reinterpret_cast<void**>(&p_);
  }

 private:
  T* p_ = nullptr;
};

// A new in-process object of `clsid` with the interface `iid`, COM started
// first; empty when either fails.
template <typename T>
ComPtr<T> CreateInstance(REFCLSID clsid, REFIID iid);

// The untyped form of CreateInstance.
HRESULT CreateInstanceOf(REFCLSID clsid, REFIID iid, void** out);

template <typename T>
ComPtr<T> CreateInstance(REFCLSID clsid, REFIID iid) {
  ComPtr<T> p;
  if (FAILED(CreateInstanceOf(clsid, iid, p.Put()))) p.Reset();
  return p;
}

}  // namespace plover::win
