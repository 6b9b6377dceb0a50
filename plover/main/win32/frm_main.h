// The main window: the version list, the game directory and the commands
// around them.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "common/win32/owned.h"
#include "plover/base/main_view.h"
#include "plover/controls/win32/skinned_window.h"
#include "plover/main/play_replay.h"
#include "plover/main/replay_watch.h"
#include "plover/main/startup.h"
#include "plover/main/win32/taskbar_progress.h"
#include "plover/main/win32/version_list.h"
#include "plover/shell/menu_model.h"
#include "plover/shell/win32/frm_menu.h"

namespace plover {

// Control identifiers; the window text of every control is its caption.
enum ControlId : int {
  kLbPath = 1001,
  kLbInfo = 1002,
  kTxtPath = 1003,
  kBtnPath = 1004,
  kLstVer = 1005,
  kBtnTran = 1006,
  kBtnTranmore = 1007,
  kBtnMake = 1008,
  kBtnMin = 1009,
  kBtnKill = 1010,
  kBtnRun = 1011,
  kBtnHelp = 1012,
  kChkSave = 1013,
  kBtnSavePath = 1014,
  kBtnAdd = 1015,
  kBtnEdit = 1016,
  kBtnDel = 1017,
  kTxtSavePath = 1018,
};

class FrmMain final : public controls::SkinnedWindow, public MainView, public shell::MenuHost {
 public:
  static constexpr const wchar_t* kClassName = L"PloverMain";
  static constexpr UINT_PTR kTimer1 = 1;
  static constexpr UINT kTimer1Interval = 5000;
  // What start-up leaves until the window is shown runs in slices on this
  // timer, which comes only when no input or painting waits.
  static constexpr UINT_PTR kStartupTailTimer = 2;
  // Sent to the main window, this registered message answers the index of the
  // version-list item last drawn with the installed mark, -1 when none is.
  static constexpr const wchar_t* kMarkedItemQuery = L"Plover.MarkedVersionItem";

  FrmMain();
  ~FrmMain() override;

  // Creates the window and its controls, hidden.
  bool Create();
  // Connects the commands to the program's services (set before Show).
  void Attach(Services* services) { services_ = services; }
  // Shows the window; what start-up left for later then runs in slices.
  void Show();
  // Runs what start-up left for later at once (a start that ends without
  // showing the window).
  void FinishStartupNow();
  // Runs the message loop until the window has closed.
  int RunMessageLoop();
  // Closing: saves the settings and destroys the window.
  void Close();
  // The message another start of the program sends to bring this window
  // back (0: none).
  void SetBringBackMessage(UINT message) { bringBackMessage_ = message; }
  // The identifier of the WM_COPYDATA by which another start of the program
  // hands its command line over (0: none); the window answers TRUE when it
  // takes the command and runs it.
  void SetHandOverId(UINT id) { handOverId_ = id; }

  // MainView
  std::string GamePath() const override;
  void SetGamePath(const std::string& path) override;
  std::string ReplayPath() const override;
  void SetReplayPath(const std::string& path) override;
  std::string Status() const override;
  void SetStatus(const std::string& text) override;
  void EnableInput(bool enabled) override;
  void SwitchProgress(size_t done, size_t total) override;
  std::vector<std::string> Versions() const override;
  void ListVersions(const std::vector<std::string>& names) override;
  void AddVersion(const std::string& name) override;
  void RemoveVersion(int index) override;
  void RenameVersion(int index, const std::string& name) override;
  int SelectedIndex() const override;
  void SelectVersion(int index) override;
  void MarkInstalled(const std::string& name) override;
  void ShowNewVersionWizard(const std::string& caption) override;

  // The version editor for `name`, modally.
  void ShowEditor(const std::string& caption, const std::string& name);

  // shell::MenuHost: chkSave and mReplay stay in step; mExit.
  bool ReplayWatchOn() const override;
  void SetReplayWatchOn(bool on) override;
  void ExitProgram() override;
  void RunMenuCommand(const shell::MenuCommand& command) override;
  bool Busy() const override;

 private:
  static LRESULT CALLBACK PathEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data);
  void OnCreate() override;
  void OnClose() override;
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // Line1 and Line2, drawn over the frame.
  void PaintContent(HDC dc, UINT dpi) override;
  void OnCommand(int id, int code);
  void OnDpiChanged(UINT dpi) override;
  // A replay dropped on the window is played.
  void OnDropFiles(HDROP drop);
  // One slice of what start-up left until the window showed.
  void StartupTailStep();
  // The buttons that run no command of the logic.
  void ShowHelpWindow();        // btnHelp
  void MinimiseToTray();        // btnMin
  void PopUpTranB();            // btnTranmore
  void AddVersionWithWizard();  // btnAdd
  void EditSelectedVersion();   // btnEdit
  void FollowReplayCheckBox();  // chkSave
  // Logging off or shutting down.
  void EndSession();
  // Another start of the program asks for the window: it comes back as a
  // left click on the icon brings it, or, while a switch, a modal window or
  // a message box waits for the player, that comes to the front.
  void BringBack();
  // The window of this thread that waits for the player while the main
  // window takes no input; nullptr when there is none.
  HWND WaitingWindow() const;
  // A command line handed over by another start: taken when the window is
  // idle and it names a command, then run from the message loop.
  bool TakeHandOver(const COPYDATASTRUCT& data);
  void RunHandOver();
  void SetReplayWatch(bool on);
  shell::MainMenus& Menus();

  class SystemClock final : public Clock {
   public:
    LocalTime Now() override;
  };

  DWORD lastPaint_ = 0;  // when a switch last let paint through
  TaskbarProgress taskbar_{nullptr};
  VersionList versionList_;  // lstVer
  Services* services_ = nullptr;
  win::UniqueIcon tranPicture_, makePicture_;  // on btnTran and btnMake
  bool closing_ = false;
  UINT bringBackMessage_ = 0;
  UINT handOverId_ = 0;
  std::string handedOver_;  // taken, not yet run
  SystemClock clock_;
  ReplayWatch replayWatch_;
  std::unique_ptr<shell::MainMenus> menus_;  // the pop-up menus and the icon
  UINT markedItemQuery_ = 0;
  VersionPatches patches_;  // the versions' patches, read once
  StartupTail startupTail_;
};

}  // namespace plover
