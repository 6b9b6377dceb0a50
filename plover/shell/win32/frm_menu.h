// frmMenu, the menu window that is never shown: it carries the pop-up menus
// mMain and mTranB. It is loaded when a menu is needed, with the version list
// and the replay check box of that moment, and unloaded after every pop-up.
// MainMenus connects it to the main window: the more-switching button and
// the notification-area icon.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "common/tray/win32/tray.h"
#include "common/win32/owned.h"
#include "plover/base/main_view.h"
#include "plover/shell/menu_model.h"

namespace plover::shell {

class FrmMenu {
 public:
  FrmMenu(const std::vector<std::string>& versions, bool replayOn);
  FrmMenu(const FrmMenu&) = delete;
  FrmMenu& operator=(const FrmMenu&) = delete;

  // The pop-up menus (their own captions are never shown).
  HMENU mMain() const { return main_.get(); }
  HMENU mTranB() const { return tranB_.get(); }
  // The command of the item with identifier `id`; nullptr for none.
  const MenuCommand* CommandOf(UINT id) const;

 private:
  win::UniqueMenu Build(const MenuItem& menu);

  std::vector<MenuCommand> commands_;  // the item with identifier i runs commands_[i - 1]
  win::UniqueMenu main_;
  win::UniqueMenu tranB_;
};

class MainMenus final : public tray::TrayClient {
 public:
  MainMenus(HWND mainWindow, MainView& view, MenuHost& host);
  MainMenus(const MainMenus&) = delete;
  MainMenus& operator=(const MainMenus&) = delete;

  // btnMin: puts up the icon, with the tip "Plover 2.0", then minimises and
  // hides the main window; the icon brings it back. When the shell refuses
  // the icon the window stays, until TaskbarCreated tries again.
  void MinimiseToTray();
  // The shell's taskbar (re)started.
  void TaskbarCreated();
  // btnTranmore: pops up mTranB just below the switch button; the chosen
  // item runs before this returns. `dpi` is the main window's.
  void PopUpTranB(UINT dpi);

  // tray::TrayClient: a right click pops up mMain; a left click shows the
  // main window again; while a switch runs the icon ignores both.
  HMENU MenuToPopUp() override;
  void RunMenuCommand(UINT id) override;
  void AfterMenu() override;
  void LeftClick() override;
  bool AcceptsClicks() const override { return !host_.Busy(); }

 private:
  HWND main_;
  MainView& view_;
  MenuHost& host_;
  std::unique_ptr<FrmMenu> frmMenu_;  // loaded while a menu is up
  bool retryMinimise_ = false;        // the icon was refused
};

}  // namespace plover::shell
