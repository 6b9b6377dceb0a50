// A plain modal text prompt: a question, a text box and OK / Cancel.
#pragma once

#include <string>

#include "plover/controls/win32/skinned_window.h"

namespace plover::shell {

class TextPromptWindow final : public controls::SkinnedWindow {
 public:
  // The answer, or "" when the player cancels.
  static std::string Ask(HWND owner, const std::string& prompt, const std::string& title,
                         const std::string& defaultText);

 private:
  TextPromptWindow(std::string prompt, std::string text);
  void OnCreate() override;
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  std::string prompt_;
  std::string text_;
  std::string answer_;
};

}  // namespace plover::shell
