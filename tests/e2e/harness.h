// What the end-to-end tests share beyond the driver: their waits, the control
// identifiers and texts of Plover's windows they look for, the running
// test's name and scenario, starting Plover to its main window, the replay
// watch, and a time limit per test.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/e2e/driver.h"
#include "tests/e2e/scenario.h"

namespace e2e {

using Lines = std::vector<std::string>;

// ---- Waits ------------------------------------------------------------------

inline constexpr int kStartMs = 15000;  // Wine's first window of a process can be slow
inline constexpr int kStepMs = 8000;

// Waits until the thread of `window` has done what it was busy with: a
// message sent to it is answered only once the thread takes messages again,
// in its own loop or in that of a window it shows (a message box is shown
// before its loop runs). False when it did not answer in time.
bool WaitHandled(HWND window, int timeoutMs = kStepMs);

// ---- Controls ---------------------------------------------------------------

// The main window.
inline constexpr int kLbPath = 1001;
inline constexpr int kLbInfo = 1002;
inline constexpr int kTxtPath = 1003;
inline constexpr int kBtnPath = 1004;
inline constexpr int kLstVer = 1005;
inline constexpr int kBtnTran = 1006;
inline constexpr int kBtnTranmore = 1007;
inline constexpr int kBtnMake = 1008;
inline constexpr int kBtnMin = 1009;
inline constexpr int kBtnKill = 1010;
inline constexpr int kBtnRun = 1011;
inline constexpr int kBtnHelp = 1012;
inline constexpr int kChkSave = 1013;
inline constexpr int kBtnSavePath = 1014;
inline constexpr int kBtnAdd = 1015;
inline constexpr int kBtnEdit = 1016;
inline constexpr int kBtnDel = 1017;
inline constexpr int kTxtSavePath = 1018;
// The new-version wizard: its text boxes and status line.
inline constexpr int kWizardTxtVer = 204;
inline constexpr int kWizardTxtFile = 206;
inline constexpr int kWizardLbInfo = 208;
// The version editor: its name button, entry list and status line.
inline constexpr int kEditorOptFiles = 300;
inline constexpr int kEditorList = 302;
inline constexpr int kEditorLbInfo = 303;
// The help window: its text and its OK button.
inline constexpr int kHelpText = 1101;
inline constexpr int kHelpOk = 1102;

// ---- Windows and texts --------------------------------------------------------

// The class of every window Plover shows modally (wizard, editor, help,
// prompts).
inline constexpr const char* kModalClass = "PloverModal";
inline constexpr const char* kWizardCaption = "制作新的转换版本";
// The wizard at the first start, and the name prompt on top of it.
inline constexpr const char* kWelcomeCaption = "欢迎使用";
inline constexpr const char* kWelcomePromptCaption = "欢迎使用-您是第一次使用本软件";
inline constexpr const char* kSwitched = "转换完成！- Created by Velmor";
inline constexpr const char* kSwitching = "转换中...！- Created by Velmor";
// The version editor, and the file dialogs of the wizard and the editor.
inline constexpr const char* kEditCaption = "编辑版本转换文件";
inline constexpr const char* kFileDialogClass = "#32770";
inline constexpr const char* kAddFilesTitle = "添加文件";
inline constexpr const char* kChooserTitle = "选择文件转换后存放目录，该目录必须在设定的魔兽目录内";
inline constexpr const char* kChooserPreset = "选择目录必须进入你选择的目录在按打开";

// ---- The running test ---------------------------------------------------------

// `prefix` and the running test's "Suite.Test": the name of its work folder.
std::string TestName(std::string_view prefix = "");

std::string WithBackslash(const std::string& dir);
// Where ver.dat of a ready scenario sends replays: prog\replays\.
std::string ReplayDirOf(const Scenario& s);
// prog\NAME.w3v.
std::string VersionFile(const Scenario& s, std::string_view name);

// The game, ver.dat pointing at it and at ReplayDirOf(s), and `versions`
// ready, made in that order.
void MakeReady(Scenario& s, std::initializer_list<std::string_view> versions = {"1.20"});
// A scenario for the running test, made ready with version 1.20.
Scenario ReadyScenario(std::string_view gameFolder = "game");

// ---- Plover's windows -----------------------------------------------------------

// Starts Plover and waits for its main window (nullptr, with a failure, when
// it did not come).
HWND StartToWindow(PloverProcess& plover, const Scenario& s, const std::string& args = "");
// The same, and waits until the window is drawn on the screen.
HWND StartToDrawnWindow(PloverProcess& plover, const Scenario& s);
// The child `id` of `window` (nullptr, with a failure naming the children
// there are, when missing).
HWND Control(HWND window, int id);
// Clicks the child of `window` whose text is `text` (false, with a failure,
// when there is none).
bool ClickText(HWND window, std::string_view text);
// Waits until `window` is gone or hidden.
bool WaitGone(HWND window, int timeoutMs = kStepMs);
// Closes the main window as its close box would; Plover ends with code 0.
void ExpectClosesCleanly(PloverProcess& plover);
// Opens the new-version wizard with the main window's add button (nullptr,
// with a failure, when it did not come).
HWND OpenWizard(PloverProcess& plover, HWND main);
// Opens the editor for the selected version with the main window's edit
// button (nullptr, with a failure, when it did not come).
HWND OpenEditor(PloverProcess& plover, HWND main);
// Waits for Plover's file dialog titled `title` (nullptr, with a failure,
// when it did not come).
HWND WaitFileDialog(PloverProcess& plover, std::string_view title);
// The first start's welcome: the wizard, with its name prompt on top (each
// nullptr, with a failure, when it did not come).
struct Welcome {
  HWND wizard = nullptr;
  HWND prompt = nullptr;
};
Welcome WaitWelcome(PloverProcess& plover);
// Saves what `hwnd` shows as <build>\e2e-screens\<name>.bmp, to look at.
void Screenshot(HWND hwnd, const std::string& name);
// Starts Plover of `s` a second time, with `args`, while the first one runs:
// it tells "Plover2.0已经运行", `whileTold` runs while that message box is up,
// the box is answered, and the second Plover ends with code 0 without
// touching ver.dat (made old first, so that a rewrite would show).
void ExpectSecondStartTellsAndEnds(const Scenario& s,
                                   const std::function<void()>& whileTold = nullptr,
                                   const std::string& args = "");

// The item of lstVer drawn with the installed mark (-1 none), asked through
// the main window's registered message; -2 when it does not answer. And a
// wait until it is `index`.
int MarkedItem(HWND main);
bool WaitMarked(HWND main, int index);

// The main window's version list, and a wait until it shows `expected`.
Lines Listed(HWND main);
bool WaitListed(HWND main, const Lines& expected);
// Selects item `index` of a list box with a click and waits until it is the
// selection.
bool SelectItem(HWND list, int index);
// Selects the listed version `name` with a click (false, with a failure,
// when it is not listed).
bool SelectVersion(HWND main, const std::string& name);

// Every one of `entries` in the game folder is of `flavour`.
void ExpectFlavour(const Scenario& s, const Lines& entries, const std::string& flavour);

// ---- The replay watch ---------------------------------------------------------------

// While 监视并保存录象 is on, the main window looks for a new replay this often.
inline constexpr int kReplayTickMs = 5000;

// The replays saved in `dir` so far (*.w3g); a copy still being written
// under its temporary name, which Plover renames once complete, does not
// count yet.
Lines SavedReplays(const std::string& dir);
// Writes the replay as the game does, trying again while Plover has it open.
bool WriteReplay(const std::string& path, std::string_view bytes);
// A tick of the watch that finds nothing new leaves no trace, so a tick that
// must not save is waited for by the clock: polls `saved` until a tick
// period and a margin have passed since `tickedBy` (GetTickCount64 at a
// moment by which the watch's timer had been set, or had last ticked), and
// returns whether `saved` came true meanwhile.
bool SavedBeforeTheNextTick(ULONGLONG tickedBy, const std::function<bool()>& saved);

// ---- Time limit -------------------------------------------------------------------

// Ends the test program when one test runs longer than `limitMs` (every wait
// has its own timeout; this is the last resort). Programs started through
// the driver go with it: they are in job objects that kill on close. Returns
// true, so that a test file can install it as it starts:
//   const bool kTimeLimit = InstallTestTimeLimit(120000);
bool InstallTestTimeLimit(DWORD limitMs);

}  // namespace e2e
