#include "plover/shell/win32/text_prompt.h"

#include "common/win32/wide.h"

namespace plover::shell {
namespace {

using controls::kChildStyle;
using controls::kPushButtonStyle;

enum : int { kPrompt = 100, kText = 101 };

constexpr controls::ControlSpec kControls[] = {
    {kPrompt, L"STATIC", "", 240, 500, 4575, 1200, kChildStyle | SS_LEFT | SS_NOPREFIX},
    {kText, L"EDIT", "", 240, 1800, 4575, 300,
     kChildStyle | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL},
    {IDOK, nullptr, "确定", 2400, 2350, 1095, 375, kPushButtonStyle | BS_DEFPUSHBUTTON},
    {IDCANCEL, nullptr, "取消", 3720, 2350, 1095, 375, kPushButtonStyle},
};

constexpr controls::WindowLook kLook{controls::kModalClass, controls::kModalStyle, 5055, 2985,
                                     kControls};

}  // namespace

TextPromptWindow::TextPromptWindow(std::string prompt, std::string text)
    : SkinnedWindow(kLook), prompt_(std::move(prompt)), text_(std::move(text)) {}

std::string TextPromptWindow::Ask(HWND owner, const std::string& prompt, const std::string& title,
                                  const std::string& defaultText) {
  TextPromptWindow w(prompt, defaultText);
  w.RunModal(owner, title);
  return w.answer_;
}

void TextPromptWindow::OnCreate() {
  SetItemText(kPrompt, prompt_);
  SetItemText(kText, text_);
  SendMessageW(Item(kText), EM_SETSEL, 0, -1);
}

bool TextPromptWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
  if (msg == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) {
    SetFocus(Item(kText));
    result = 0;
    return true;
  }
  if (msg != WM_COMMAND) return false;
  const int id = LOWORD(wParam);
  if (id == IDOK) {
    answer_ = ItemText(kText);
    EndModal();
  } else if (id == IDCANCEL) {
    answer_.clear();
    EndModal();
  } else {
    return false;
  }
  result = 0;
  return true;
}

}  // namespace plover::shell
