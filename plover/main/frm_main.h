// The main window: the version list, the game directory and the commands
// around them. It is also the owner of every message box and picker, so it
// implements the logic's interfaces for them.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "common/win32/win32_util.h"
#include "plover/base/main_view.h"
#include "plover/base/ui.h"
#include "plover/controls/qq_form.h"
#include "plover/main/app.h"
#include "plover/main/replay.h"
#include "plover/shell/frm_menu.h"
#include "plover/shell/menu_model.h"

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

class FrmMain final : public MainView,
                      public ui::Prompts,
                      public ui::FolderPicker,
                      public ui::TextPrompt,
                      public ui::FilePicker,
                      public shell::MenuHost {
 public:
  static constexpr const wchar_t* kClassName = L"PloverMain";
  static constexpr UINT_PTR kTimer1 = 1;
  static constexpr UINT kTimer1Interval = 5000;

  explicit FrmMain(HINSTANCE instance);
  ~FrmMain() override;
  FrmMain(const FrmMain&) = delete;
  FrmMain& operator=(const FrmMain&) = delete;

  // Creates the window and its controls, hidden.
  bool Create();
  // Connects the commands to the program's services (set before Show).
  void Attach(Services* services) { services_ = services; }
  void Show();
  // Runs the message loop until the window has closed.
  int RunMessageLoop();
  // Closing: saves the settings and destroys the window.
  void Close();
  HWND hwnd() const { return hwnd_; }

  // MainView
  std::string GamePath() const override;
  void SetGamePath(const std::string& path) override;
  std::string ReplayPath() const override;
  void SetReplayPath(const std::string& path) override;
  std::string Status() const override;
  void SetStatus(const std::string& text) override;
  void EnableInput(bool enabled) override;
  std::vector<std::string> Versions() const override;
  void ClearVersions() override;
  void AddVersion(const std::string& name) override;
  void RemoveVersion(int index) override;
  void RenameVersion(int index, const std::string& name) override;
  int SelectedIndex() const override;
  void SelectVersion(int index) override;
  void ShowNewVersionWizard(const std::string& caption) override;

  // ui::Prompts
  int MsgBox(const std::string& text, const std::string& title, unsigned style) override;
  // ui::FolderPicker
  std::string BrowseFolder(const std::string& prompt) override;
  // ui::TextPrompt
  std::string Ask(const std::string& prompt, const std::string& title,
                  const std::string& defaultText) override;
  // ui::FilePicker
  ui::OpenFileResult ShowOpenFile(const std::string& filterDescription,
                                  const std::string& filterPattern, const std::string& initialDir,
                                  const std::string& title, unsigned flags,
                                  const std::string& preset) override;

  // The version editor for `name`, modally.
  void ShowEditor(const std::string& caption, const std::string& name);

  // shell::MenuHost: chkSave and mReplay stay in step; mExit.
  bool ReplayWatchOn() const override;
  void SetReplayWatchOn(bool on) override;
  void ExitProgram() override;
  void RunMenuCommand(const shell::MenuCommand& command) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK PathEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data);
  LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void ApplyLayout(UINT dpi);
  void OnCommand(int id, int code);
  // Line1 and Line2, drawn over the frame.
  void PaintLines(HDC dc, UINT dpi) const;
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  void SetReplayWatch(bool on);
  shell::MainMenus& Menus();

  class SystemClock final : public Clock {
   public:
    LocalTime Now() override;
  };

  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  HWND tooltip_ = nullptr;
  Services* services_ = nullptr;
  UINT dpi_ = 96;
  win::UniqueFont font_;      // 宋体 9 pt
  win::UniqueFont helpFont_;  // 新宋体 9 pt
  win::UniqueFont listFont_;  // 宋体 10.5 pt bold
  win::UniqueIcon icon_, smallIcon_;
  win::UniqueIcon tranPicture_, makePicture_;  // on btnTran and btnMake
  controls::QQForm form_;                      // QQForm1
  bool closing_ = false;
  SystemClock clock_;
  ReplayWatch replayWatch_;
  std::unique_ptr<shell::MainMenus> menus_;  // the pop-up menus and the icon
};

}  // namespace plover
