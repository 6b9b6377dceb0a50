// A plain modal text prompt: a question, a text box and OK / Cancel.
#pragma once

#include <string>

#include "plover/controls/window_base.h"

namespace plover::shell {

class TextPromptWindow final : public win::ModalWindow {
 public:
  // The answer, or "" when the player cancels.
  static std::string Ask(HWND owner, const std::string& prompt, const std::string& title,
                         const std::string& defaultText);

 private:
  TextPromptWindow(std::string prompt, std::string text)
      : prompt_(std::move(prompt)), text_(std::move(text)) {}
  void OnCreate() override;
  void OnDpiChanged(UINT dpi) override;
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  std::string prompt_;
  std::string text_;
  std::string answer_;
  win::Fonts fonts_;
};

}  // namespace plover::shell
