// Plover's entry point: one instance per executable, start-up, then the main
// window's message loop.
#include <windows.h>

#include <cstdint>
#include <string>

#include "common/win32/com.h"
#include "common/win32/owned.h"
#include "common/win32/wide.h"
#include "common/win32/win32_util.h"
#include "plover/base/functions.h"
#include "plover/base/strings.h"
#include "plover/main/command_line.h"
#include "plover/main/elevated_switch.h"
#include "plover/main/startup.h"
#include "plover/main/switch_engine.h"
#include "plover/main/win32/frm_main.h"
#include "plover/shell/win32/pickers.h"
#include "plover/shell/win32/win32_ui.h"
#include "plover/versions/win32/file_version.h"
#include "plover/versions/win32/win32_file_system.h"

namespace {

// One running instance per executable: the instance is named after the
// executable's full path, so that copies in other folders stay independent.
std::wstring InstanceName(const std::string& exePath) {
  const std::string path = plover::fs::UpperAscii(exePath);
  uint32_t hash = 2166136261u;
  for (unsigned char c : path) hash = (hash ^ c) * 16777619u;
  wchar_t name[64];
  wsprintfW(name, L"Plover2.0-%08lx", static_cast<unsigned long>(hash));
  return name;
}

plover::win::UniqueHandle TakeInstanceLock(const std::wstring& instance) {
  plover::win::UniqueHandle lock(CreateMutexW(nullptr, FALSE, (L"Local\\" + instance).c_str()));
  if (lock && GetLastError() == ERROR_ALREADY_EXISTS) return {};
  return lock;
}

// The message that asks the running instance for its window; only the
// instance of the same executable knows it.
UINT BringBackMessage(const std::wstring& instance) {
  return RegisterWindowMessageW((instance + L"-BringBack").c_str());
}

// True when `hwnd` is the main window of another running Plover, which may
// then take the foreground from this process, as the player has just used
// this one.
bool IsOtherPloverLetToFront(HWND hwnd) {
  wchar_t cls[32];
  if (GetClassNameW(hwnd, cls, 32) == 0 || lstrcmpW(cls, plover::FrmMain::kClassName) != 0) {
    return false;
  }
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == GetCurrentProcessId()) return false;
  AllowSetForegroundWindow(pid);
  return true;
}

// Asks the main windows of the other running Plovers for their window; the
// one of this executable answers.
BOOL CALLBACK AskIfOtherPlover(HWND hwnd, LPARAM lp) {
  if (IsOtherPloverLetToFront(hwnd)) PostMessageW(hwnd, static_cast<UINT>(lp), 0, 0);
  return TRUE;
}

void AskRunningInstanceForItsWindow(UINT message) {
  EnumWindows(AskIfOtherPlover, static_cast<LPARAM>(message));
}

// The identifier under which a command line is handed to the running
// instance; as with the message above, only that instance knows it.
UINT HandOverId(const std::wstring& instance) {
  return RegisterWindowMessageW((instance + L"-HandOver").c_str());
}

struct HandOver {
  UINT id;
  std::wstring text;
  bool taken;
};

// Offers the command line to the main windows of the other running Plovers;
// the one of this executable answers TRUE when it takes it.
BOOL CALLBACK OfferToOtherPlover(HWND hwnd, LPARAM lp) {
  auto* offer = reinterpret_cast<HandOver*>(lp);
  // Its questions and the game it starts may take the foreground.
  if (!IsOtherPloverLetToFront(hwnd)) return TRUE;
  COPYDATASTRUCT data{offer->id, static_cast<DWORD>(offer->text.size() * sizeof(wchar_t)),
                      offer->text.data()};
  DWORD_PTR answer = FALSE;
  if (SendMessageTimeoutW(hwnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                          5000, &answer) &&
      answer) {
    offer->taken = true;
    return FALSE;
  }
  return TRUE;
}

// True when the running instance took the command line and runs it.
bool HandOverToRunningInstance(UINT id, const std::string& arguments) {
  if (id == 0 || arguments.empty()) return false;
  plover::fs::Win32FileSystem fileSystem;
  const auto text = plover::win::Wide(plover::HandOverText(fileSystem, arguments));
  if (!text) return false;
  HandOver offer{id, *text, false};
  EnumWindows(OfferToOtherPlover, reinterpret_cast<LPARAM>(&offer));
  return offer.taken;
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
  const std::wstring instance = InstanceName(*exePath);
  const UINT bringBack = BringBackMessage(instance);
  const UINT handOver = HandOverId(instance);
  // A command line that cannot convert names no version: the window is
  // shown, as for any name that is not listed.
  const std::string arguments = ArgumentsOf(win::Utf8(GetCommandLineW()).value_or(std::string()));
  // An administrator's run of one switch, started by a Plover that runs:
  // it is no second instance.
  const auto elevated = ParseElevatedSwitch(arguments);
  win::UniqueHandle lock;
  if (!elevated) lock = TakeInstanceLock(instance);
  if (!elevated && !lock) {
    // A loader or a replay opened while Plover runs: the running Plover
    // switches and starts the game, when it is idle.
    if (HandOverToRunningInstance(handOver, arguments)) return 0;
    // The running instance's window may be hidden behind its icon: once
    // the player has read this, it comes back. Nothing else is touched.
    Tell(text_of::kAlreadyRunning);
    if (bringBack != 0) AskRunningInstanceForItsWindow(bringBack);
    return 0;
  }

  // COM waits for the first picker, the help link or the taskbar's progress
  // (win::NeedCom).
  const win::ComOnDemand com;

  FrmMain frmMain;
  if (!frmMain.Create()) return 1;
  frmMain.SetBringBackMessage(bringBack);
  frmMain.SetHandOverId(handOver);

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
  services.known = shell::KnownFoldersFromEnvironment();
  if (elevated) {
    // No window, no game, no settings: the switch alone, with its own
    // questions and report. The Plover that waits asked about the game
    // running already. The mirror is the asking player's, whose account
    // this run need not be.
    services.known.localAppData = elevated->localAppData;
    frmMain.SetGamePath(elevated->gameDir);
    const SwitchReport report = ApplyVersion(services, frmMain, elevated->name, elevated->scope);
    return ExitCodeOf(report, frmMain.Status());
  }
  shell::Win32Elevation elevation(*exePath);
  services.elevation = &elevation;
  shell::Win32ProcessList processes;
  services.processes = &processes;
  frmMain.Attach(&services);

  if (RunStartup(services, frmMain, arguments) == StartupResult::kClose) {
    frmMain.FinishStartupNow();
    frmMain.Close();
  } else {
    frmMain.Show();
  }
  return frmMain.RunMessageLoop();
}
