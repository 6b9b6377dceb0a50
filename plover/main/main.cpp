// Plover's entry point: one instance per executable, start-up, then the main
// window's message loop.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <cstdint>

#include "common/win32/owned.h"
#include "common/win32/wide.h"
#include "common/win32/win32_util.h"
#include "plover/base/functions.h"
#include "plover/base/strings.h"
#include "plover/main/app.h"
#include "plover/main/frm_main.h"
#include "plover/shell/win32_ui.h"
#include "plover/versions/file_version.h"
#include "plover/versions/win32_file_system.h"

namespace {

// One running instance per executable: the lock is named after the
// executable's full path, so that copies in other folders stay independent.
plover::win::UniqueHandle TakeInstanceLock(const std::string& exePath) {
  const std::string path = plover::fs::UpperAscii(exePath);
  uint32_t hash = 2166136261u;
  for (unsigned char c : path) hash = (hash ^ c) * 16777619u;
  wchar_t name[64];
  wsprintfW(name, L"Local\\Plover2.0-%08lx", static_cast<unsigned long>(hash));
  plover::win::UniqueHandle lock(CreateMutexW(nullptr, FALSE, name));
  if (lock && GetLastError() == ERROR_ALREADY_EXISTS) return {};
  return lock;
}

void Tell(const char* text) {
  MessageBoxW(nullptr, plover::win::Wide(text).value_or(std::wstring()).c_str(),
              plover::win::Wide(plover::text_of::kAppTitle).value_or(std::wstring()).c_str(),
              MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace plover;
  // Plover works with files beside itself: a path it cannot name is fatal.
  const auto exePath = win::ExecutablePath();
  const auto appDir = win::ExecutableDirectory();
  if (!exePath || !appDir) {
    Tell(text_of::kProgramError);
    return 1;
  }
  win::UniqueHandle lock = TakeInstanceLock(*exePath);
  if (!lock) {
    Tell(text_of::kAlreadyRunning);
    return 0;
  }

  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);

  FrmMain frmMain;
  if (!frmMain.Create()) return 1;

  fs::Win32FileSystem fileSystem;
  shell::Win32Prompts prompts(frmMain.hwnd());
  shell::Win32FolderPicker picker(frmMain.hwnd());
  shell::Win32TextPrompt textPrompt(frmMain.hwnd());
  shell::Win32FilePicker filePicker(frmMain.hwnd());
  shell::Win32Launcher launcher;
  std::string exeStem = FileNameOf(*exePath);
  if (const size_t dot = exeStem.rfind('.'); dot != std::string::npos) exeStem.resize(dot);
  Services services{fileSystem, prompts, picker, launcher, *appDir, exeStem};
  Journal journal(fileSystem, *appDir);
  services.journal = &journal;
  services.textPrompt = &textPrompt;
  services.filePicker = &filePicker;
  versions::Win32FileVersionReader versionReader;
  services.versionReader = &versionReader;
  frmMain.Attach(&services);

  // A command line that cannot convert names no version: the window is
  // shown, as for any name that is not listed.
  const std::string arguments = ArgumentsOf(win::Utf8(GetCommandLineW()).value_or(std::string()));
  if (RunStartup(services, frmMain, arguments) == StartupResult::kClose) {
    frmMain.Close();
  } else {
    frmMain.Show();
  }
  const int code = frmMain.RunMessageLoop();
  CoUninitialize();
  return code;
}
