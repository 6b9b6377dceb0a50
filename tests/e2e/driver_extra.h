// What the tests of the main window's commands, the new-version wizard and
// the version editor add to the driver: typing into another process's
// controls, the common file dialogs, running a batch file with cmd and
// folder listings. Every wait has a timeout.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/e2e/driver.h"

namespace e2e {

// ---- Controls ---------------------------------------------------------------

// WM_SETTEXT through SendMessageTimeout (the text is carried across the
// process boundary by the system); false when the window did not answer.
bool SetText(HWND hwnd, std::string_view utf8);
// Clicks item `index` of a list box with Ctrl held, as a hand adds an item
// to a selection of several.
bool CtrlClickListItem(HWND list, int index);
// The number of selected items of a list box of several selections.
int ListSelectedCount(HWND list);

// ---- Common file dialogs ----------------------------------------------------

// The edit of a file dialog where the file name is typed: the combo box with
// ID 0x47C (or its edit), else the edit with ID 0x480.
HWND FileNameEdit(HWND dialog);
// Types `text` into the dialog's file-name field and presses Open (IDOK).
bool SubmitFileName(HWND dialog, std::string_view text);
// Clicks into `edit` as a hand would, types `utf8` with the keyboard where
// the caret then is (over the whole text, selected, with `replaceAll`), and
// presses Enter.
bool TypeAndEnter(HWND edit, std::string_view utf8, bool replaceAll = false);
// Types a folder into the file-name field and presses Open; waits until the
// dialog shows that folder's contents (its file-name field is emptied or the
// dialog has closed).
bool EnterFolder(HWND dialog, const std::string& folder, int timeoutMs = 8000);

// A visible top-level window of process `pid` with this class and caption.
HWND WindowOfProcess(DWORD pid, std::string_view cls, std::string_view caption);
HWND WaitWindowOfProcess(DWORD pid, std::string_view cls, std::string_view caption, int timeoutMs);
// Every visible message box of the process (a "#32770" holding the static
// 0xFFFF) whose title is `title`; the first one found.
std::optional<Dialog> WaitMessageBoxTitled(PloverProcess& process, std::string_view title,
                                           int timeoutMs);

// ---- Processes ----------------------------------------------------------------

struct RunResult {
  std::optional<DWORD> exitCode;  // nullopt: stopped after the timeout
  bool allEnded = false;          // it and every process it started ended in time
  std::string output;             // standard output and error together
};

// Runs `commandLine` with `currentDir` as its current directory, standard
// output and error going to a pipe that is read to the end. Waits until the
// process and everything it started have ended, or `timeoutMs` has passed;
// they are in a job object that is ended before the call returns.
// `whileRunning`, when given, is called with the job every few milliseconds
// while waiting.
RunResult RunAndCapture(const std::string& commandLine, const std::string& currentDir,
                        int timeoutMs,
                        const std::function<void(HANDLE job)>& whileRunning = nullptr);
// Posts WM_CLOSE to every visible top-level window of class `cls` that
// belongs to a process of `job`; the number of windows closed.
int CloseWindowsOfJob(HANDLE job, std::string_view cls);
// Wine's cmd.exe (from the system directory).
std::string CmdExePath();

// ---- Files --------------------------------------------------------------------

// The names of the files (not folders) in `dir`, sorted; empty when missing.
std::vector<std::string> FileNamesIn(const std::string& dir);
// The file's size, or nullopt when missing.
std::optional<unsigned long long> FileSize(const std::string& path);

}  // namespace e2e
