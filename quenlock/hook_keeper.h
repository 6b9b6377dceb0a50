// The one keyboard hook Quenlock keeps while it blocks, apart from how a hook
// is made and removed (the system does that in the program, a fake in the
// tests). A fresh hook always goes in before the old one comes out, so that
// no keystroke goes by unfiltered, and one that cannot be made leaves the old
// one in place.
#pragma once

namespace quenlock {

class HookKeeper {
 public:
  using Hook = void*;
  // Returns nullptr when the system refuses.
  using MakeFn = Hook (*)();
  using DropFn = void (*)(Hook);

  HookKeeper(MakeFn make, DropFn drop) : make_(make), drop_(drop) {}
  ~HookKeeper() { Remove(); }
  HookKeeper(const HookKeeper&) = delete;
  HookKeeper& operator=(const HookKeeper&) = delete;

  // Makes a hook when none is kept; installing twice keeps the first.
  bool Install();
  // Puts a fresh hook in front of the kept one and only then drops the old
  // one. Nothing happens when none is kept; when the fresh one cannot be
  // made, the old one stays (false).
  bool Refresh();
  void Remove();
  bool installed() const { return hook_ != nullptr; }
  // How many hooks have been made so far: each refresh that took adds one.
  unsigned made() const { return made_; }

 private:
  Hook Make();

  MakeFn make_;
  DropFn drop_;
  Hook hook_ = nullptr;
  unsigned made_ = 0;
};

}  // namespace quenlock
