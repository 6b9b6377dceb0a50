#include "quenlock/hook_keeper.h"

namespace quenlock {

HookKeeper::Hook HookKeeper::Make() {
  const Hook fresh = make_();
  if (fresh) ++made_;
  return fresh;
}

bool HookKeeper::Install() {
  if (!hook_) hook_ = Make();
  return installed();
}

bool HookKeeper::Refresh() {
  if (!hook_) return false;
  const Hook fresh = Make();
  if (!fresh) return false;
  // The fresh hook is in place before the old one is removed.
  drop_(hook_);
  hook_ = fresh;
  return true;
}

void HookKeeper::Remove() {
  if (!hook_) return;
  drop_(hook_);
  hook_ = nullptr;
}

}  // namespace quenlock
