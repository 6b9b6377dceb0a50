// The version editor's window.
#pragma once

#include <string>

#include "plover/base/services.h"
#include "plover/controls/win32/skinned_window.h"
#include "plover/versions/editor.h"

namespace plover::versions {

class FrmEdit final : public controls::SkinnedWindow {
 public:
  FrmEdit(Services& services, MainView& main);

  // Shows the editor modally for version `name`; the caption says whether
  // the version file is loaded ("编辑..." ) or the list starts empty. The
  // file is read once the window is on the screen.
  void Run(HWND owner, const std::string& caption, const std::string& name);

 private:
  void OnCreate() override;
  void OnShown() override;
  void OnDpiChanged(UINT dpi) override;
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void ShowEntries();

  VersionEditor editor_;
};

}  // namespace plover::versions
