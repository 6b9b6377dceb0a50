#include "plover/shell/text_prompt.h"

namespace plover::shell {
namespace {

enum : int { kPrompt = 100, kText = 101 };

constexpr win::ControlSpec kControls[] = {
    {kPrompt, L"STATIC", "", 240, 500, 4575, 1200, win::kChildStyle | SS_LEFT | SS_NOPREFIX},
    {kText, L"EDIT", "", 240, 1800, 4575, 300,
     win::kChildStyle | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL},
    {IDOK, nullptr, "确定", 2400, 2350, 1095, 375, win::kPushButtonStyle | BS_DEFPUSHBUTTON},
    {IDCANCEL, nullptr, "取消", 3720, 2350, 1095, 375, win::kPushButtonStyle},
};

}  // namespace

std::string TextPromptWindow::Ask(HWND owner, const std::string& prompt, const std::string& title,
                                  const std::string& defaultText) {
  TextPromptWindow w(prompt, defaultText);
  w.RunModal(owner, title, 5055, 2985);
  return w.answer_;
}

void TextPromptWindow::OnCreate() {
  win::CreateControls(hwnd_, kControls);
  win::SetWindowText(Item(kPrompt), prompt_);
  win::SetWindowText(Item(kText), text_);
  SendMessageW(Item(kText), EM_SETSEL, 0, -1);
}

void TextPromptWindow::OnDpiChanged(UINT dpi) {
  fonts_.Make(dpi);
  win::LayoutControls(hwnd_, kControls, dpi, fonts_);
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
    answer_ = win::WindowText(Item(kText));
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
