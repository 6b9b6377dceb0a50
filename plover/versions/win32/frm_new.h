// The new-version wizard's window.
#pragma once

#include <string>

#include "plover/base/services.h"
#include "plover/controls/win32/skinned_window.h"
#include "plover/versions/wizard.h"

namespace plover::versions {

class FrmNew final : public controls::SkinnedWindow, public WizardView {
 public:
  static constexpr const char* kDefaultCaption = "制作新的转换版本";

  FrmNew(Services& services, MainView& main);

  // Shows the wizard modally with `caption`; returns when it has closed.
  void Run(HWND owner, const std::string& caption);

  // Set when expert mode asked for the editor.
  bool editorRequested = false;
  std::string editorCaption;
  std::string editorName;

  // WizardView
  std::string Caption() const override;
  std::string VersionText() const override;
  std::string FileText() const override;
  std::string Info() const override;
  WizardMode Mode() const override;
  void SetVersionText(const std::string& text) override;
  void SetFileText(const std::string& text) override;
  void SetInfo(const std::string& text) override;
  void EnableInput(bool enabled) override;
  void SetNextEnabled(bool enabled) override;
  void SetCancelCaption(const std::string& text) override;
  void Close() override;
  void OpenEditorAfterClose(const std::string& caption, const std::string& name) override;

 private:
  void OnCreate() override;
  void OnShown() override;
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // Line1, the separator above the buttons.
  void PaintContent(HDC dc, UINT dpi) override;

  NewVersionWizard wizard_;
};

}  // namespace plover::versions
