#include "plover/shell/win32/win32_ui.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include "common/win32/late_bound.h"
#include "common/win32/owned.h"
#include "common/win32/wide.h"
#include "plover/controls/win32/skinned_window.h"
#include "plover/shell/win32/pickers.h"
#include "plover/shell/win32/text_prompt.h"

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

namespace plover::shell {

std::vector<std::string> Win32ProcessList::ImagePaths() {
  std::vector<std::string> paths;
  const win::UniqueFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return paths;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    const win::UniqueHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
    if (!process) continue;
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
      DWORD size = static_cast<DWORD>(path.size());
      if (QueryFullProcessImageNameW(process.get(), 0, path.data(), &size)) {
        path.resize(size);
        if (auto utf8 = win::Utf8(path)) paths.push_back(std::move(*utf8));
        break;
      }
      if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || path.size() >= 32768) break;
      path.resize(path.size() * 2);
    }
  }
  return paths;
}

}  // namespace plover::shell

namespace plover::shell {

bool Win32Elevation::Elevated() {
  // advapi32 is loaded for this alone, when a game folder refuses writes.
  static const auto open =
      win::LateBound<decltype(&OpenProcessToken)>(L"advapi32.dll", "OpenProcessToken");
  static const auto query =
      win::LateBound<decltype(&GetTokenInformation)>(L"advapi32.dll", "GetTokenInformation");
  HANDLE token = nullptr;
  if (!open || !query || !open(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  const win::UniqueHandle owned(token);
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  return query(token, TokenElevation, &elevation, sizeof elevation, &size) &&
         elevation.TokenIsElevated != 0;
}

std::optional<int> Win32Elevation::RunElevated(const std::string& arguments) {
  static const auto execute =
      win::LateBound<decltype(&ShellExecuteExW)>(L"shell32.dll", "ShellExecuteExW");
  const auto file = win::Wide(exePath_);
  const auto parameters = win::Wide(arguments);
  if (!execute || !file || !parameters) return std::nullopt;
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC;
  info.hwnd = GetActiveWindow();
  info.lpVerb = L"runas";
  info.lpFile = file->c_str();
  info.lpParameters = parameters->c_str();
  info.nShow = SW_SHOWNORMAL;
  // A refused prompt ends the call with ERROR_CANCELLED.
  if (!execute(&info) || !info.hProcess) return std::nullopt;
  const win::UniqueHandle process(info.hProcess);
  // The windows are drawn while the elevated run works; input waits, as
  // during any switch.
  while (MsgWaitForMultipleObjects(1, &info.hProcess, FALSE, INFINITE, QS_PAINT | QS_SENDMESSAGE) ==
         WAIT_OBJECT_0 + 1) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageW(&msg);
  }
  DWORD code = 0;
  if (!GetExitCodeProcess(info.hProcess, &code)) return std::nullopt;
  return static_cast<int>(code);
}

KnownFolders KnownFoldersFromEnvironment() {
  const auto variable = [](const wchar_t* name) {
    wchar_t value[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return std::string();
    return win::Utf8(std::wstring_view(value, n)).value_or(std::string());
  };
  return {variable(L"ProgramFiles"), variable(L"ProgramFiles(x86)"), variable(L"SystemRoot"),
          variable(L"LOCALAPPDATA"), variable(L"ProgramW6432")};
}

}  // namespace plover::shell
