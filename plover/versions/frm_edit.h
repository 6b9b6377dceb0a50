// The version editor's window.
#pragma once

#include <string>

#include "plover/base/services.h"
#include "plover/controls/window_base.h"
#include "plover/versions/editor.h"

namespace plover::versions {

class FrmEdit final : public win::ModalWindow {
 public:
  FrmEdit(Services& services, MainView& main) : editor_(services, main) {}

  // Shows the editor modally for version `name`; the caption says whether
  // the version file is loaded ("编辑..." ) or the list starts empty.
  void Run(HWND owner, const std::string& caption, const std::string& name);

 private:
  void OnCreate() override;
  void OnDpiChanged(UINT dpi) override;
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void ShowEntries();

  VersionEditor editor_;
  std::string caption_;
  std::string name_;
  win::Fonts fonts_;
};

}  // namespace plover::versions
