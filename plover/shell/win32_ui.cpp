#include "plover/shell/win32_ui.h"

#include "common/win32/owned.h"
#include "common/win32/wide.h"
#include "plover/controls/skinned_window.h"
#include "plover/shell/pickers.h"
#include "plover/shell/text_prompt.h"

namespace plover::shell {

HWND OwnedWindowPart::Owner() const {
  return controls::CurrentOwner(main_);
}

int Win32Prompts::MsgBox(const std::string& text, const std::string& title, unsigned style) {
  const auto wideText = win::Wide(text);
  const auto wideTitle = win::Wide(title);
  if (!wideText || !wideTitle) return 0;
  return MessageBoxW(Owner(), wideText->c_str(), wideTitle->c_str(), style);
}

std::string Win32FolderPicker::BrowseFolder(const std::string& prompt) {
  return shell::BrowseFolder(Owner(), prompt);
}

std::string Win32TextPrompt::Ask(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) {
  return TextPromptWindow::Ask(Owner(), prompt, title, defaultText);
}

ui::OpenFileResult Win32FilePicker::ShowOpenFile(const std::string& filterDescription,
                                                 const std::string& filterPattern,
                                                 const std::string& initialDir,
                                                 const std::string& title, unsigned flags,
                                                 const std::string& preset) {
  return shell::ShowOpenFile(Owner(), filterDescription, filterPattern, initialDir, title, flags,
                             preset);
}

bool Win32Launcher::Start(const std::string& program, const std::string& arguments, int showState) {
  const auto app = win::Wide(program);
  const auto args = win::Wide(arguments);
  if (!app || !args) return false;
  std::wstring commandLine = L"\"" + *app + L"\"";
  if (!args->empty()) commandLine += L" " + *args;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = static_cast<WORD>(showState);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(app->c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &si, &pi)) {
    return false;
  }
  // Not waited for: the handles go at once.
  const win::UniqueHandle thread(pi.hThread);
  const win::UniqueHandle process(pi.hProcess);
  return true;
}

}  // namespace plover::shell
