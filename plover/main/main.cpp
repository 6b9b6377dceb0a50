// Plover's entry point: one instance per executable, start-up, then the main
// window's message loop.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <cstdint>

#include "common/win32/win32_util.h"
#include "plover/base/functions.h"
#include "plover/base/strings.h"
#include "plover/main/app.h"
#include "plover/main/frm_main.h"
#include "plover/versions/win32_file_system.h"

namespace {

class Win32Launcher final : public plover::ui::Launcher {
 public:
  bool Start(const std::string& program, const std::string& arguments, int showState) override {
    std::wstring commandLine = L"\"" + plover::win::Wide(program) + L"\"";
    if (!arguments.empty()) commandLine += L" " + plover::win::Wide(arguments);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(showState);
    PROCESS_INFORMATION pi{};
    const std::wstring app = plover::win::Wide(program);
    if (!CreateProcessW(app.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi)) {
      return false;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
  }
};

// One running instance per executable: the lock is named after the
// executable's full path, so that copies in other folders stay independent.
plover::win::UniqueHandle TakeInstanceLock() {
  const std::string path = plover::fs::UpperAscii(plover::win::ExecutablePath());
  uint32_t hash = 2166136261u;
  for (unsigned char c : path) hash = (hash ^ c) * 16777619u;
  wchar_t name[64];
  wsprintfW(name, L"Local\\Plover2.0-%08lx", static_cast<unsigned long>(hash));
  HANDLE h = CreateMutexW(nullptr, FALSE, name);
  if (h && GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(h);
    return {};
  }
  return plover::win::UniqueHandle(h);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace plover;
  win::UniqueHandle lock = TakeInstanceLock();
  if (!lock) {
    MessageBoxW(nullptr, win::Wide(text_of::kAlreadyRunning).c_str(),
                win::Wide(text_of::kAppTitle).c_str(), MB_OK | MB_ICONEXCLAMATION);
    return 0;
  }

  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);

  FrmMain frmMain(instance);
  if (!frmMain.Create()) return 1;

  fs::Win32FileSystem fileSystem;
  Win32Launcher launcher;
  std::string exeStem = FileNameOf(win::ExecutablePath());
  if (const size_t dot = exeStem.rfind('.'); dot != std::string::npos) exeStem.resize(dot);
  Services services{fileSystem, frmMain, frmMain, launcher, win::ExecutableDirectory(), exeStem};
  services.textPrompt = &frmMain;
  services.filePicker = &frmMain;
  frmMain.Attach(&services);

  const std::string arguments = ArgumentsOf(win::Utf8(GetCommandLineW()));
  if (RunStartup(services, frmMain, arguments) == StartupResult::kClose) {
    frmMain.Close();
  } else {
    frmMain.Show();
  }
  const int code = frmMain.RunMessageLoop();
  CoUninitialize();
  return code;
}
