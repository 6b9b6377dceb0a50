#include "plover/shell/win32/frm_menu.h"

#include "common/win32/wide.h"
#include "plover/base/strings.h"
#include "plover/controls/geometry.h"

namespace plover::shell {
namespace {

// Where mTranB appears, in twips of the main window's client area: just below
// the switch button.
constexpr int kTranBLeft = 3160;
constexpr int kTranBTop = 1690;

}  // namespace

FrmMenu::FrmMenu(const std::vector<std::string>& versions, bool replayOn)
    : main_(Build(BuildMainMenu(versions, replayOn))), tranB_(Build(BuildTranBMenu())) {}

win::UniqueMenu FrmMenu::Build(const MenuItem& menu) {
  win::UniqueMenu popup(CreatePopupMenu());
  for (const auto& item : menu.items) {
    // Captions are the program's own texts and version names that were
    // listed, so they convert; an item whose caption did not would be left out.
    const auto wide = win::Wide(item.caption);
    if (!wide) continue;
    const std::wstring& caption = *wide;
    UINT flags = MF_STRING;
    if (!item.enabled) flags |= MF_GRAYED;
    if (item.checked) flags |= MF_CHECKED;
    if (item.IsSubmenu()) {
      win::UniqueMenu submenu = Build(item);
      // The submenu now belongs to its parent, which destroys it.
      AppendMenuW(popup.get(), flags | MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.release()),
                  caption.c_str());
    } else if (item.command.action == MenuAction::kNone) {
      // A heading: identifier 0, which stands for "nothing chosen".
      AppendMenuW(popup.get(), flags, 0, caption.c_str());
    } else {
      commands_.push_back(item.command);
      AppendMenuW(popup.get(), flags, commands_.size(), caption.c_str());
    }
  }
  return popup;
}

const MenuCommand* FrmMenu::CommandOf(UINT id) const {
  if (id == 0 || id > commands_.size()) return nullptr;
  return &commands_[id - 1];
}

MainMenus::MainMenus(HWND mainWindow, MainView& view, MenuHost& host)
    : main_(mainWindow), view_(view), host_(host) {}

void MainMenus::MinimiseToTray() {
  // The window hides only behind an icon that is there, which is all that
  // brings it back. One the shell refuses is tried again when the taskbar
  // starts.
  retryMinimise_ = false;
  if (!tray::TrayInstall(main_, *this)) {
    retryMinimise_ = !tray::TrayInstalled();
    return;
  }
  tray::TraySetTip(text_of::kCaption);
  ShowWindow(main_, SW_MINIMIZE);
  ShowWindow(main_, SW_HIDE);
}

void MainMenus::TaskbarCreated() {
  if (retryMinimise_) MinimiseToTray();
}

void MainMenus::PopUpTranB(UINT dpi) {
  frmMenu_ = std::make_unique<FrmMenu>(view_.Versions(), host_.ReplayWatchOn());
  POINT at{controls::TwipsToPixels(kTranBLeft, dpi), controls::TwipsToPixels(kTranBTop, dpi)};
  ClientToScreen(main_, &at);
  const UINT id = static_cast<UINT>(
      TrackPopupMenuEx(frmMenu_->mTranB(),
                       TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                       at.x, at.y, main_, nullptr));
  RunMenuCommand(id);
  frmMenu_.reset();
}

HMENU MainMenus::MenuToPopUp() {
  frmMenu_ = std::make_unique<FrmMenu>(view_.Versions(), host_.ReplayWatchOn());
  return frmMenu_->mMain();
}

void MainMenus::RunMenuCommand(UINT id) {
  if (!frmMenu_) return;
  if (const MenuCommand* command = frmMenu_->CommandOf(id)) {
    // A copy: the command may end the program, and the menu with it.
    const MenuCommand chosen = *command;
    host_.RunMenuCommand(chosen);
  }
}

void MainMenus::AfterMenu() {
  frmMenu_.reset();
}

void MainMenus::LeftClick() {
  ShowWindow(main_, SW_RESTORE);
  SetForegroundWindow(main_);
}

}  // namespace plover::shell
