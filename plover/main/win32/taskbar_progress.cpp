#include "plover/main/win32/taskbar_progress.h"

namespace plover {

void TaskbarProgress::Show(size_t done, size_t total) {
  if (total == 0) {
    if (list_) list_->SetProgressState(window_, TBPF_NOPROGRESS);
    return;
  }
  if (!tried_) {
    tried_ = true;
    // Where the taskbar list is missing (older systems, some Wine set-ups)
    // there is simply no progress shown on the button.
    static constexpr CLSID kTaskbarList = {
        0x56fdf344, 0xfd6d, 0x11d0, {0x95, 0x8a, 0x00, 0x60, 0x97, 0xc9, 0xa0, 0x90}};
    static constexpr IID kTaskbarList3 = {
        0xea1afb91, 0x9e28, 0x4b86, {0x90, 0xe9, 0x9e, 0x9f, 0x8a, 0x5e, 0xef, 0xaf}};
    list_ = win::CreateInstance<ITaskbarList3>(kTaskbarList, kTaskbarList3);
    if (list_ && FAILED(list_->HrInit())) list_.Reset();
  }
  if (list_) list_->SetProgressValue(window_, done, total);
}

}  // namespace plover
