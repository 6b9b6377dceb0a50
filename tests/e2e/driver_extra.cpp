#include "tests/e2e/driver_extra.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "tests/support/input.h"

namespace e2e {
namespace {

constexpr int kFileNameCombo = 0x47C;           // cmb13
constexpr int kFileNameEdit = 0x480;            // edt1
constexpr UINT kGetFolderPath = WM_USER + 102;  // CDM_GETFOLDERPATH

bool IsMessageBox(HWND dialog) {
  HWND text = MessageBoxTextOf(dialog);
  return text && ClassOf(text) == "Static";
}

// The folder a file dialog shows, asked of the dialog itself.
std::optional<std::string> DialogFolder(HWND dialog) {
  DWORD pid = 0;
  GetWindowThreadProcessId(dialog, &pid);
  HANDLE process = OpenProcess(
      PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE,
      pid);
  if (!process) return std::nullopt;
  constexpr SIZE_T kChars = 1024;
  void* remote =
      VirtualAllocEx(process, nullptr, kChars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE);
  std::optional<std::string> out;
  if (remote) {
    DWORD_PTR got = 0;
    if (SendMessageTimeoutW(dialog, kGetFolderPath, kChars, reinterpret_cast<LPARAM>(remote),
                            SMTO_ABORTIFHUNG, 2000, &got) &&
        static_cast<LONG_PTR>(got) > 0) {
      std::wstring text(kChars, L'\0');
      SIZE_T read = 0;
      if (ReadProcessMemory(process, remote, text.data(), kChars * sizeof(wchar_t), &read)) {
        text.resize(wcsnlen(text.c_str(), kChars));
        out = Utf8(text);
      }
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return out;
}

std::string WithoutTrailingBackslash(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

bool SamePathNoCase(const std::string& a, const std::string& b) {
  const std::wstring wa = Wide(WithoutTrailingBackslash(a));
  const std::wstring wb = Wide(WithoutTrailingBackslash(b));
  return CompareStringOrdinal(wa.c_str(), -1, wb.c_str(), -1, TRUE) == CSTR_EQUAL;
}

struct PipeReader {
  HANDLE pipe;
  std::string output;
};

DWORD WINAPI ReadPipe(void* p) {
  auto* r = static_cast<PipeReader*>(p);
  char buf[4096];
  DWORD got = 0;
  while (ReadFile(r->pipe, buf, sizeof buf, &got, nullptr) && got > 0) r->output.append(buf, got);
  return 0;
}

}  // namespace

// ---- Controls ---------------------------------------------------------------

bool SetText(HWND hwnd, std::string_view utf8) {
  const std::wstring w = Wide(utf8);
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()),
                             SMTO_ABORTIFHUNG, 3000, &result) != 0;
}

bool CtrlClickListItem(HWND list, int index) {
  // The list box reads the state of Ctrl from the click's own key flags; they
  // are given with the click, whatever the keyboard's state on the display.
  RECT rc{};
  if (!ListItemRect(list, index, rc)) return false;
  const LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
  WaitPastDoubleClick();  // not a double-click with the last one
  return PostMessageW(list, WM_MOUSEMOVE, MK_CONTROL, at) &&
         PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, at) &&
         PostMessageW(list, WM_LBUTTONUP, MK_CONTROL, at);
}

int ListSelectedCount(HWND list) {
  DWORD_PTR count = 0;
  if (!SendMessageTimeoutW(list, LB_GETSELCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count)) return -2;
  return static_cast<int>(static_cast<LONG_PTR>(count));
}

// ---- Common file dialogs ----------------------------------------------------

HWND FileNameEdit(HWND dialog) {
  for (HWND c : Children(dialog)) {
    const LONG_PTR id = GetWindowLongPtrW(c, GWLP_ID);
    if (id != kFileNameCombo) continue;
    const std::string cls = ClassOf(c);
    if (cls == "Edit") return c;
    if (HWND edit = ChildOfClass(c, "Edit")) return edit;
  }
  for (HWND c : Children(dialog)) {
    if (GetWindowLongPtrW(c, GWLP_ID) == kFileNameEdit && ClassOf(c) == "Edit") return c;
  }
  return nullptr;
}

bool SubmitFileName(HWND dialog, std::string_view text) {
  HWND edit = FileNameEdit(dialog);
  if (!edit || !SetText(edit, text)) return false;
  HWND ok = GetDlgItem(dialog, IDOK);
  return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                      reinterpret_cast<LPARAM>(ok)) != 0;
}

bool TypeAndEnter(HWND edit, std::string_view utf8, bool replaceAll) {
  // Keys go to the foreground window: the edit's dialog must be it, with the
  // edit focused, before anything is typed.
  HWND dialog = GetAncestor(edit, GA_ROOT);
  const auto ready = [&] { return GetForegroundWindow() == dialog && FocusOf(edit) == edit; };
  if (!Click(edit) || !WaitUntil(ready, 5000)) return false;
  std::vector<INPUT> keys;
  if (replaceAll) {
    // Home, then Shift+End: all of the text selected, as a hand selects it.
    using plover::testing::KeyInput;
    keys = {KeyInput(VK_HOME, false), KeyInput(VK_HOME, true), KeyInput(VK_SHIFT, false),
            KeyInput(VK_END, false),  KeyInput(VK_END, true),  KeyInput(VK_SHIFT, true)};
  }
  for (wchar_t c : Wide(utf8)) {
    for (const DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT in{};
      in.type = INPUT_KEYBOARD;
      in.ki.wScan = c;
      in.ki.dwFlags = KEYEVENTF_UNICODE | up;
      keys.push_back(in);
    }
  }
  if (SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT)) != keys.size()) {
    return false;
  }
  // Enter only once the edit shows all of it, so that it confirms that.
  if (WaitForText(edit, utf8, 10000) != utf8) return false;
  INPUT enter[] = {plover::testing::KeyInput(VK_RETURN, false),
                   plover::testing::KeyInput(VK_RETURN, true)};
  return SendInput(2, enter, sizeof(INPUT)) == 2;
}

bool EnterFolder(HWND dialog, const std::string& folder, int timeoutMs) {
  if (!SubmitFileName(dialog, folder)) return false;
  return WaitUntil(
      [&] {
        if (!IsWindow(dialog)) return true;
        const auto now = DialogFolder(dialog);
        return now && SamePathNoCase(*now, folder);
      },
      timeoutMs, 50);
}

HWND WindowOfProcess(DWORD pid, std::string_view cls, std::string_view caption) {
  for (HWND w : VisibleWindowsOf(pid)) {
    if (ClassOf(w) == cls && TextOf(w, 1000).value_or("") == caption) return w;
  }
  return nullptr;
}

HWND WaitWindowOfProcess(DWORD pid, std::string_view cls, std::string_view caption, int timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = WindowOfProcess(pid, cls, caption)) != nullptr; }, timeoutMs);
  return found;
}

std::optional<Dialog> WaitMessageBoxTitled(PloverProcess& process, std::string_view title,
                                           int timeoutMs) {
  std::optional<Dialog> found;
  WaitUntil(
      [&] {
        for (HWND w : VisibleWindowsOf(process.pid())) {
          if (ClassOf(w) != "#32770" || !IsMessageBox(w)) continue;
          const std::string t = TextOf(w, 1000).value_or("");
          if (t != title) continue;
          found = Dialog{w, t, TextOf(MessageBoxTextOf(w), 1000).value_or("")};
          return true;
        }
        return !process.Running();
      },
      timeoutMs);
  return found;
}

// ---- Processes ----------------------------------------------------------------

RunResult RunAndCapture(const std::string& commandLine, const std::string& currentDir,
                        int timeoutMs, const std::function<void(HANDLE job)>& whileRunning) {
  RunResult result;
  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) return result;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  HANDLE nul = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                           OPEN_EXISTING, 0, nullptr);

  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = nul;
  si.hStdOutput = writeEnd;
  si.hStdError = writeEnd;
  PROCESS_INFORMATION pi{};
  std::wstring cmd = Wide(commandLine);
  const std::wstring dir = Wide(currentDir);
  const BOOL started =
      CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE,
                     CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, dir.c_str(), &si, &pi);
  CloseHandle(writeEnd);
  if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
  if (!started) {
    CloseHandle(readEnd);
    return result;
  }
  HANDLE job = CreateJobObjectW(nullptr, nullptr);
  if (job) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    AssignProcessToJobObject(job, pi.hProcess);
  }
  ResumeThread(pi.hThread);
  CloseHandle(pi.hThread);

  // The pipe is read on a thread of its own, so that a full pipe never holds
  // the process up while we wait for it.
  PipeReader reader{readEnd, {}};
  HANDLE readerThread = CreateThread(nullptr, 0, ReadPipe, &reader, 0, nullptr);
  // Done when the process has ended and so has everything it started (a
  // batch file's programs may outlive cmd).
  const bool ended = WaitUntil(
      [&] {
        if (whileRunning && job) whileRunning(job);
        if (WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) return false;
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
        return !job ||
               !QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info,
                                          sizeof info, nullptr) ||
               info.ActiveProcesses == 0;
      },
      timeoutMs, 50);
  if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) {
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    result.exitCode = code;
  } else {
    TerminateProcess(pi.hProcess, 259);
  }
  result.allEnded = ended;
  if (job) {
    // Whatever it started and left running ends here, and with it the last
    // writers of the pipe.
    TerminateJobObject(job, 259);
    CloseHandle(job);
  }
  if (readerThread) {
    // A process outside the job could still hold the pipe: stop reading then.
    if (WaitForSingleObject(readerThread, 5000) == WAIT_TIMEOUT) {
      CancelSynchronousIo(readerThread);
      if (WaitForSingleObject(readerThread, 5000) == WAIT_TIMEOUT) TerminateThread(readerThread, 1);
    }
    CloseHandle(readerThread);
  }
  CloseHandle(readEnd);
  CloseHandle(pi.hProcess);
  result.output = reader.output;
  return result;
}

namespace {

struct JobWindows {
  HANDLE job;
  std::string_view cls;
  int closed;
};

BOOL CALLBACK CloseIfOfJob(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<JobWindows*>(lp);
  if (!IsWindowVisible(hwnd) || ClassOf(hwnd) != s->cls) return TRUE;
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
  if (!process) return TRUE;
  BOOL inJob = FALSE;
  if (IsProcessInJob(process, s->job, &inJob) && inJob) {
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    ++s->closed;
  }
  CloseHandle(process);
  return TRUE;
}

}  // namespace

int CloseWindowsOfJob(HANDLE job, std::string_view cls) {
  JobWindows s{job, cls, 0};
  EnumWindows(CloseIfOfJob, reinterpret_cast<LPARAM>(&s));
  return s.closed;
}

std::string CmdExePath() {
  wchar_t dir[MAX_PATH] = {};
  GetSystemDirectoryW(dir, MAX_PATH);
  return Join(Utf8(dir), "cmd.exe");
}

// ---- Files --------------------------------------------------------------------

std::vector<std::string> FileNamesIn(const std::string& dir) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(Wide(Join(dir, "*")).c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(Utf8(fd.cFileName));
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<unsigned long long> FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return std::nullopt;
  }
  return (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace e2e
