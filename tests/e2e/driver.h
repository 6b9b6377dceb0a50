// Drives Plover.exe from the outside as a player would: starts it in a
// program folder of its own, finds its windows, clicks with the mouse, reads
// what the windows show, answers message boxes and the folder picker, and
// reads the files it leaves behind. Every wait has a timeout, so a test that
// goes wrong fails instead of hanging.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

// ---- Text -----------------------------------------------------------------

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);
// Code page 936 (GBK), converted explicitly, never through the ANSI code page.
// FromGbk returns nullopt for bytes that are not valid GBK.
std::optional<std::string> FromGbk(std::string_view bytes);
std::string ToGbk(std::string_view utf8);

// ---- Paths and files (UTF-8 paths, Windows style) --------------------------

// "/work/x" (a path given by the build on the Linux side) -> "Z:\work\x";
// anything else only has its slashes turned into backslashes.
std::string WindowsPath(std::string_view path);
// Joins with exactly one backslash between the parts.
std::string Join(std::string_view dir, std::string_view name);

// The build's outputs, from compile definitions (overridable through the
// environment variables PLOVER_E2E_EXE, PLOVER_E2E_FAKE_GAME, PLOVER_E2E_ROOT).
std::string PloverExePath();
std::string FakeGameExePath();
std::string BuildRoot();      // the build directory
std::string ScreenshotDir();  // <build>\e2e-screens
// <build>\e2e-work\<name> (e2e-work-laneN in Wine lane N), made empty.
std::string WorkDir(std::string_view testName);

bool FileExists(const std::string& path);
bool DirExists(const std::string& path);
void MakeDirs(const std::string& path);
void RemoveTree(const std::string& path);
std::optional<std::string> ReadBytes(const std::string& path);
// Creates the parent folders.
void WriteBytes(const std::string& path, std::string_view bytes);
void CopyInto(const std::string& from, const std::string& to);
// Lines of a GBK text file with CR LF after each line (the last one too).
// nullopt when the file is missing, is not GBK or is not terminated that way.
std::optional<std::vector<std::string>> ReadGbkLines(const std::string& path);

// Keeps a file open with share mode 0, as a running game would.
class FileHolder {
 public:
  explicit FileHolder(const std::string& path);
  ~FileHolder();
  FileHolder(const FileHolder&) = delete;
  FileHolder& operator=(const FileHolder&) = delete;
  bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// ---- Waiting --------------------------------------------------------------

// Polls `done` until it returns true or `timeoutMs` passes. Pumps this
// thread's messages meanwhile.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs, int pollMs = 20);
// Waits until the last click of the driver is longer ago than the
// double-click time: a click now is a click of its own, wherever it lands.
void WaitPastDoubleClick();
// Waits until the window is drawn on the screen: nothing of it waits to be
// painted, and two pictures of it a moment apart are alike.
bool WaitDrawn(HWND window, int timeoutMs = 8000);

// ---- Windows ----------------------------------------------------------------

std::string ClassOf(HWND hwnd);
// WM_GETTEXT through SendMessageTimeout; nullopt when the window does not answer.
std::optional<std::string> TextOf(HWND hwnd, int timeoutMs = 2000);
HWND ChildById(HWND parent, int id);
HWND ChildByText(HWND parent, std::string_view text);
// The first child of `parent`, at any depth, of class `cls`.
HWND ChildOfClass(HWND parent, std::string_view cls);
std::vector<HWND> Children(HWND parent);
// The window's children with their classes, IDs and texts, for failure
// messages.
std::string DescribeChildren(HWND parent);
// The visible top-level windows of process `pid`.
std::vector<HWND> VisibleWindowsOf(DWORD pid);
// The text of a message box: its static with ID 0xFFFF (nullptr when the
// dialog has none).
HWND MessageBoxTextOf(HWND dialog);
// The window with the keyboard focus, and the active window, in the thread
// of `window`.
HWND FocusOf(HWND window);
HWND ActiveOf(HWND window);
// Makes the top-level `window` the foreground window and waits until its
// thread has made it its active window and it is drawn again.
bool BringToFront(HWND window, int timeoutMs = 8000);

// Clicks the window at its centre with real mouse input (SendInput, absolute
// coordinates); falls back to posted WM_LBUTTONDOWN/UP when the point is not
// on the window (covered or off screen). PLOVER_E2E_POST_CLICKS=1 forces the
// fallback.
bool Click(HWND control);
// Double-clicks item `index` of a list box.
bool DoubleClickListItem(HWND list, int index);
bool ClickListItem(HWND list, int index);

// Item `index` of a list box, in its client coordinates.
bool ListItemRect(HWND list, int index, RECT& rc);
std::optional<std::vector<std::string>> ListItems(HWND list);
int ListSelection(HWND list);
bool IsChecked(HWND checkbox);

// Waits until the window's text equals `expected`; returns the last text read.
std::string WaitForText(HWND hwnd, std::string_view expected, int timeoutMs);

// The window's client area as the screen shows it, into a 24-bit BMP.
bool SaveScreenshot(HWND hwnd, const std::string& bmpPath);

// ---- Plover, the process ------------------------------------------------------

struct Dialog {
  HWND hwnd = nullptr;
  std::string title;
  std::string text;  // a message box's text (the static with ID 0xFFFF)
};

class PloverProcess {
 public:
  PloverProcess() = default;
  ~PloverProcess();  // kills a Plover still running
  PloverProcess(const PloverProcess&) = delete;
  PloverProcess& operator=(const PloverProcess&) = delete;

  // Starts `exePath` with `arguments` in the exe's folder.
  bool Start(const std::string& exePath, const std::string& arguments = "");
  DWORD pid() const { return pid_; }
  bool Running() const;
  // The exit code, or nullopt if it did not end in time.
  std::optional<DWORD> WaitExit(int timeoutMs);
  void Kill();

  // The visible top-level window of class "PloverMain".
  HWND MainWindow() const;
  HWND WaitMainWindow(int timeoutMs);
  // True when a window of the process was ever seen visible by this object
  // (WaitExit looks every few milliseconds).
  bool EverShowedWindow() const { return everShowed_; }

  // A visible top-level window of the process with this class and caption.
  HWND WindowNow(std::string_view windowClass, std::string_view caption) const;
  HWND WaitWindow(std::string_view windowClass, std::string_view caption, int timeoutMs);

  // A visible message box of the process (a "#32770" holding a static 0xFFFF).
  std::optional<Dialog> MessageBoxNow() const;
  std::optional<Dialog> WaitMessageBox(int timeoutMs);
  // The folder picker (a "#32770" holding a tree view).
  HWND FolderPickerNow() const;
  HWND WaitFolderPicker(int timeoutMs);

  // Presses button `id` of a dialog and waits for the dialog to close.
  bool Answer(const Dialog& box, int id, int timeoutMs = 5000);
  // Selects `folder` in the picker and presses OK; waits for it to close.
  // The tree of the picker fills in slowly under Wine (the root of the Linux
  // file system lies on the way to every folder), the more so on a busy machine.
  bool ChooseFolder(HWND picker, const std::string& folder, int timeoutMs = 30000);
  bool CancelPicker(HWND picker, int timeoutMs = 5000);

  // The visible windows of the process with their classes and texts, for
  // failure messages.
  std::string Describe() const;

  // Drops files on `window` of the process as Explorer would: a DROPFILES
  // block with the wide paths, written into the process's own memory (a
  // handle of this process would mean nothing there), is posted with
  // WM_DROPFILES. The receiver's DragFinish lets go of it.
  bool DropFiles(HWND window, const std::vector<std::string>& paths);

  // WM_CLOSE to the main window, then waits for the process to end.
  std::optional<DWORD> CloseMainWindow(int timeoutMs);

 private:
  std::vector<HWND> VisibleWindows() const;
  void Observe();

  HANDLE process_ = nullptr;
  HANDLE job_ = nullptr;
  DWORD pid_ = 0;
  mutable bool everShowed_ = false;  // set by every look at the windows
};

}  // namespace e2e
