#include "plover/main/win32/frm_main.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "common/tray/win32/tray.h"
#include "common/win32/common_controls.h"
#include "common/win32/late_bound.h"
#include "common/win32/scoped.h"
#include "common/win32/wide.h"
#include "plover/base/functions.h"
#include "plover/base/strings.h"
#include "plover/controls/art.h"
#include "plover/controls/geometry.h"
#include "plover/controls/win32/gdi.h"
#include "plover/controls/win32/qq_button.h"
#include "plover/main/command_line.h"
#include "plover/main/commands.h"
#include "plover/main/menu_commands.h"
#include "plover/shell/win32/frm_help.h"
#include "plover/versions/win32/frm_edit.h"
#include "plover/versions/win32/frm_new.h"

namespace plover {

namespace {

using controls::ControlSpec;
using controls::FontKind;
using controls::kChildStyle;
using controls::kPushButtonStyle;
using controls::TwipsToPixels;

// The main window's controls, at their places in twips (1440 an inch). Every
// push button is the skinned QQButton.
constexpr ControlSpec kControls[] = {
    {kLbPath, L"STATIC", "选择魔兽目录：", 160, 470, 1575, 255, kChildStyle | SS_LEFT},
    {kLbInfo, L"STATIC", text_of::kIdle, 1560, 465, 3120, 180, kChildStyle | SS_LEFT | SS_NOPREFIX},
    {kTxtPath, L"EDIT", "", 120, 720, 4095, 270,
     kChildStyle | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL},
    {kBtnPath, nullptr, "...", 4320, 720, 375, 255, kPushButtonStyle},
    {kLstVer, L"LISTBOX", "", 120, 1200, 2055, 2370,
     kChildStyle | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
         LBS_OWNERDRAWFIXED | LBS_HASSTRINGS,
     FontKind::kList},
    {kBtnTran, nullptr, "  转 换     ", 2400, 1200, 2055, 495, kPushButtonStyle},
    {kBtnTranmore, nullptr, "", 4440, 1200, 255, 495, kPushButtonStyle},
    {kBtnMake, nullptr, "生成 Loader 文件", 2400, 1755, 2295, 495, kPushButtonStyle},
    {kBtnMin, nullptr, "最小化到系统托盘", 2400, 2310, 2295, 375, kPushButtonStyle},
    {kBtnKill, nullptr, "屏蔽WinKey", 2400, 2760, 2295, 375, kPushButtonStyle},
    {kBtnRun, nullptr, "运行魔兽", 2400, 3200, 1095, 375, kPushButtonStyle},
    {kBtnHelp, nullptr, "使用说明", 3600, 3200, 1095, 375, kPushButtonStyle, FontKind::kHelp},
    {kChkSave, L"BUTTON", "监视并保存录象", 2400, 3630, 1815, 255,
     kChildStyle | WS_TABSTOP | BS_AUTOCHECKBOX},
    {kBtnSavePath, nullptr, "...", 4320, 3630, 375, 255, kPushButtonStyle},
    {kBtnAdd, nullptr, "添加", 120, 3650, 615, 255, kPushButtonStyle},
    {kBtnEdit, nullptr, "编辑", 840, 3650, 615, 255, kPushButtonStyle},
    {kBtnDel, nullptr, "删除", 1560, 3650, 615, 255, kPushButtonStyle},
    {kTxtSavePath, L"EDIT", "", 0, 0, 0, 0, WS_CHILD | ES_AUTOHSCROLL},
};

// No frame of its own: QQForm1 draws the border, the title bar and its buttons.
constexpr controls::WindowLook kLook{FrmMain::kClassName, WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX,
                                     4935, 4110, kControls};

constexpr COLORREF kLineColour = RGB(192, 192, 192);

// Posted to the main window to run a command line that another start handed
// over, once that start has had its answer.
constexpr UINT kRunHandOverMessage = WM_APP + 1;
constexpr COLORREF kStatusColour = RGB(255, 0, 0);

struct LineSpec {
  int x1, y1, x2, y2;
};
constexpr LineSpec kLines[] = {{120, 1080, 4680, 1080}, {2280, 1200, 2280, 3900}};

}  // namespace

FrmMain::FrmMain() : SkinnedWindow(kLook) {}

FrmMain::~FrmMain() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool FrmMain::Create() {
  markedItemQuery_ = RegisterWindowMessageW(kMarkedItemQuery);
  if (!SkinnedWindow::Create(nullptr, text_of::kCaption)) return false;
  // The list's font is set once the window is laid out.
  versionList_.FitItemHeight();
  return true;
}

void FrmMain::OnDpiChanged(UINT) {
  versionList_.FitItemHeight();
}

void FrmMain::MarkInstalled(const std::string& name) {
  versionList_.Mark(name);
}

void FrmMain::OnDropFiles(HDROP drop) {
  // shell32 is loaded by the first drop.
  static const auto query =
      win::LateBound<decltype(&DragQueryFileW)>(L"shell32.dll", "DragQueryFileW");
  static const auto finish = win::LateBound<decltype(&DragFinish)>(L"shell32.dll", "DragFinish");
  if (!query || !finish) return;
  std::vector<std::string> paths;
  const UINT count = query(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    const UINT len = query(drop, i, nullptr, 0);
    std::wstring path(len + 1, L'\0');
    query(drop, i, path.data(), len + 1);
    path.resize(len);
    // A name that does not convert names no file Plover can open.
    paths.push_back(win::Utf8(path).value_or(std::string()));
  }
  finish(drop);
  if (!services_) return;
  if (const auto replay = DroppedReplay(*services_, paths)) {
    PlayReplay(*services_, *this, patches_, *replay);
  }
}

void FrmMain::OnCreate() {
  taskbar_ = TaskbarProgress(hwnd_);
  win::Subclass(Item(kTxtPath), PathEditProc, 1, 0);
  // A replay dropped on the window is played with the version it needs.
  // (What DragAcceptFiles does, without loading shell32 at start.)
  SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, GetWindowLongPtrW(hwnd_, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);

  versionList_.Attach(hwnd_, Item(kLstVer));

  // The icon and the pictures of btnTran and btnMake are drawn by the program.
  ShowProgramIcon();
  tranPicture_ = controls::gdi::MakeIcon(controls::art::SwitchPicture());
  makePicture_ = controls::gdi::MakeIcon(controls::art::LoaderPicture());
  controls::SetPicture(Item(kBtnTran), tranPicture_.get());
  controls::SetPicture(Item(kBtnMake), makePicture_.get());
}

void FrmMain::Show() {
  // Shown first without erasing at once: the controls are then erased with
  // their first painting, not each on its own before it.
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW | SWP_DEFERERASE);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
  SetTimer(hwnd_, kStartupTailTimer, USER_TIMER_MINIMUM, nullptr);
}

void FrmMain::StartupTailStep() {
  // The rest of the version list comes first, then the work that waited.
  constexpr size_t kItemsPerStep = 16;
  if (versionList_.FillMore(kItemsPerStep)) return;
  if (!services_ || !startupTail_.Step(*services_, *this)) KillTimer(hwnd_, kStartupTailTimer);
}

void FrmMain::FinishStartupNow() {
  while (versionList_.FillMore(SIZE_MAX)) {
  }
  while (services_ && startupTail_.Step(*services_, *this)) {
  }
}

int FrmMain::RunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(hwnd_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return static_cast<int>(msg.wParam);
}

void FrmMain::Close() {
  if (closing_) return;
  closing_ = true;
  if (services_) SaveSettings(*services_, *this);
  KillTimer(hwnd_, kTimer1);
  DestroyWindow(hwnd_);
}

void FrmMain::OnClose() {
  // No quitting while a switch runs.
  if (!Busy()) Close();
}

void FrmMain::EndSession() {
  // The settings are saved as closing saves them, and the icon goes.
  tray::TrayRemove();
  if (!Busy()) {
    Close();
  } else if (!closing_) {
    // The switch that runs still holds the window: it goes with the process.
    closing_ = true;
    if (services_) SaveSettings(*services_, *this);
  }
}

LRESULT CALLBACK FrmMain::PathEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR) {
  // The game directory is chosen with the folder browser, never typed: every
  // typed character, Backspace included, is dropped.
  if (msg == WM_CHAR) return 0;
  if (msg == WM_NCDESTROY) win::Unsubclass(hwnd, PathEditProc, 1);
  return win::DefSubclass(hwnd, msg, wParam, lParam);
}

namespace {

// The enabled, visible window of this thread other than the main window and
// the tooltips (the list's, the frame's, the buttons'): a modal window or a
// message box.
struct WindowSearch {
  HWND main;
  HWND found;
};

bool IsTooltip(HWND hwnd) {
  wchar_t name[32];
  const int n = GetClassNameW(hwnd, name, static_cast<int>(std::size(name)));
  return n > 0 && CompareStringOrdinal(name, n, TOOLTIPS_CLASSW, -1, TRUE) == CSTR_EQUAL;
}

BOOL CALLBACK FindWaitingWindow(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<WindowSearch*>(lp);
  if (hwnd == s->main || IsTooltip(hwnd)) return TRUE;
  if (!IsWindowVisible(hwnd) || !IsWindowEnabled(hwnd)) return TRUE;
  s->found = hwnd;
  return FALSE;
}

}  // namespace

void FrmMain::BringBack() {
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  // A pop-up menu that is up is in front already and stays the player's.
  if (GetGUIThreadInfo(GetCurrentThreadId(), &thread) && (thread.flags & GUI_INMENUMODE)) return;
  if (Busy() || !IsWindowEnabled(hwnd_)) {
    if (HWND waiting = WaitingWindow()) SetForegroundWindow(waiting);
    return;
  }
  tray::TrayRemove();
  Menus().LeftClick();
}

bool FrmMain::TakeHandOver(const COPYDATASTRUCT& data) {
  if (!services_ || handOverId_ == 0 || data.dwData != handOverId_ || !handedOver_.empty()) {
    return false;
  }
  const auto* chars = static_cast<const wchar_t*>(data.lpData);
  const size_t count = chars ? data.cbData / sizeof(wchar_t) : 0;
  const auto text = win::Utf8(std::wstring_view(chars, count));
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  const bool inMenu =
      GetGUIThreadInfo(GetCurrentThreadId(), &thread) && (thread.flags & GUI_INMENUMODE);
  const bool idle = !Busy() && !inMenu && IsWindowEnabled(hwnd_) && !WaitingWindow();
  if (!text || !TakesHandOver(*services_, *this, idle, *text)) return false;
  handedOver_ = *text;
  PostMessageW(hwnd_, kRunHandOverMessage, 0, 0);
  return true;
}

void FrmMain::RunHandOver() {
  const std::string text = std::exchange(handedOver_, std::string());
  if (services_ && !text.empty()) RunCommandLine(*services_, *this, patches_, text);
}

HWND FrmMain::WaitingWindow() const {
  const HWND popup = GetLastActivePopup(hwnd_);
  if (popup && popup != hwnd_ && IsWindowVisible(popup) && IsWindowEnabled(popup)) return popup;
  WindowSearch search{hwnd_, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindWaitingWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool FrmMain::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (bringBackMessage_ != 0 && msg == bringBackMessage_) {
    BringBack();
    result = 0;
    return true;
  }
  if (msg == markedItemQuery_ && markedItemQuery_ != 0) {
    result = versionList_.MarkedItem();
    return true;
  }
  if (msg == tray::TaskbarCreatedMessage() && menus_) {
    menus_->TaskbarCreated();
    return false;
  }
  if (msg == kRunHandOverMessage) {
    RunHandOver();
    return true;
  }
  switch (msg) {
    case WM_DRAWITEM:
      if (wParam != kLstVer) return false;
      versionList_.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      result = TRUE;
      return true;
    case WM_COPYDATA:
      result = TakeHandOver(*reinterpret_cast<const COPYDATASTRUCT*>(lParam)) ? TRUE : FALSE;
      return true;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return true;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return true;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) != Item(kLbInfo)) return false;
      SetTextColor(reinterpret_cast<HDC>(wParam), kStatusColour);
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      return true;
    case WM_TIMER:
      if (wParam == kStartupTailTimer) StartupTailStep();
      if (wParam == kTimer1 && services_) {
        ReplayTick(services_->fs, clock_, replayWatch_, GamePath(), ReplayPath(),
                   services_->journal, VirtualStoreOf(AddBackslash(GamePath()), services_->known));
      }
      return true;
    case WM_QUERYENDSESSION:
      result = TRUE;
      return true;
    case WM_ENDSESSION:
      if (wParam) EndSession();
      return true;
    case WM_DESTROY:
      PostQuitMessage(0);
      return true;
    default:
      return false;
  }
}

void FrmMain::PaintContent(HDC dc, UINT dpi) {
  const win::UniquePen pen(CreatePen(PS_SOLID, 1, kLineColour));
  const win::SelectScope select(dc, pen.get());
  for (const auto& l : kLines) {
    MoveToEx(dc, TwipsToPixels(l.x1, dpi), TwipsToPixels(l.y1, dpi), nullptr);
    // LineTo leaves out the last point; one more pixel covers it.
    const int x2 = TwipsToPixels(l.x2, dpi) + (l.x1 == l.x2 ? 0 : 1);
    const int y2 = TwipsToPixels(l.y2, dpi) + (l.y1 == l.y2 ? 0 : 1);
    LineTo(dc, x2, y2);
  }
}

void FrmMain::OnCommand(int id, int code) {
  if (!services_) return;
  if (id == kLstVer) {
    if (code == LBN_SELCHANGE) OnVersionClicked(*this);
    if (code == LBN_DBLCLK) CmdSwitchSelected(*services_, *this);
    return;
  }
  if (code != BN_CLICKED) return;
  // What a click on each button runs: a command of the logic, or the
  // window's own.
  using Logic = void (*)(Services&, MainView&);
  using Own = void (FrmMain::*)();
  static constexpr struct {
    int id;
    Logic logic;
    Own own;
  } kCommands[] = {
      {kBtnTran, CmdSwitchSelected, nullptr},
      {kBtnRun, [](Services& s, MainView& v) { CmdRunGame(s, v); }, nullptr},
      {kBtnPath, CmdChooseGameDir, nullptr},
      {kBtnMake, CmdMakeLoader, nullptr},
      {kBtnDel, CmdDeleteVersion, nullptr},
      {kBtnSavePath, CmdChooseReplayDir, nullptr},
      {kBtnKill, [](Services& s, MainView&) { CmdStartKeyBlocker(s); }, nullptr},
      {kBtnHelp, nullptr, &FrmMain::ShowHelpWindow},
      {kBtnMin, nullptr, &FrmMain::MinimiseToTray},
      {kBtnTranmore, nullptr, &FrmMain::PopUpTranB},
      {kBtnAdd, nullptr, &FrmMain::AddVersionWithWizard},
      {kBtnEdit, nullptr, &FrmMain::EditSelectedVersion},
      {kChkSave, nullptr, &FrmMain::FollowReplayCheckBox},
  };
  for (const auto& c : kCommands) {
    if (c.id != id) continue;
    if (c.logic) c.logic(*services_, *this);
    if (c.own) (this->*c.own)();
    return;
  }
}

void FrmMain::ShowHelpWindow() {
  shell::ShowHelp(hwnd_);
}

void FrmMain::MinimiseToTray() {
  Menus().MinimiseToTray();
}

void FrmMain::PopUpTranB() {
  Menus().PopUpTranB(dpi());
}

void FrmMain::AddVersionWithWizard() {
  ShowNewVersionWizard(versions::FrmNew::kDefaultCaption);
}

void FrmMain::EditSelectedVersion() {
  const std::string name = SelectedOrTell(*services_, *this);
  if (!name.empty()) ShowEditor(versions::VersionEditor::kEditCaption, name);
}

void FrmMain::FollowReplayCheckBox() {
  SetReplayWatch(IsDlgButtonChecked(hwnd_, kChkSave) == BST_CHECKED);
}

void FrmMain::SetReplayWatch(bool on) {
  // The watch keeps running while the window is hidden in the notification
  // area; the last replay seen is remembered across off and on.
  if (on) {
    SetTimer(hwnd_, kTimer1, kTimer1Interval, nullptr);
  } else {
    KillTimer(hwnd_, kTimer1);
  }
}

bool FrmMain::ReplayWatchOn() const {
  return IsDlgButtonChecked(hwnd_, kChkSave) == BST_CHECKED;
}

void FrmMain::SetReplayWatchOn(bool on) {
  CheckDlgButton(hwnd_, kChkSave, on ? BST_CHECKED : BST_UNCHECKED);
  SetReplayWatch(on);
}

void FrmMain::ExitProgram() {
  tray::TrayRemove();
  Close();
}

void FrmMain::RunMenuCommand(const shell::MenuCommand& command) {
  if (services_) plover::RunMenuCommand(command, *services_, *this, *this);
}

bool FrmMain::Busy() const {
  return services_ && services_->switching;
}

shell::MainMenus& FrmMain::Menus() {
  if (!menus_) menus_ = std::make_unique<shell::MainMenus>(hwnd_, *this, *this);
  return *menus_;
}

LocalTime FrmMain::SystemClock::Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return LocalTime{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::string FrmMain::GamePath() const {
  return ItemText(kTxtPath);
}
void FrmMain::SetGamePath(const std::string& path) {
  SetItemText(kTxtPath, path);
}
std::string FrmMain::ReplayPath() const {
  return ItemText(kTxtSavePath);
}
void FrmMain::SetReplayPath(const std::string& path) {
  SetItemText(kTxtSavePath, path);
}
std::string FrmMain::Status() const {
  return ItemText(kLbInfo);
}

void FrmMain::SetStatus(const std::string& text) {
  ShowStatus(kLbInfo, text);
}

void FrmMain::EnableInput(bool enabled) {
  EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

void FrmMain::SwitchProgress(size_t done, size_t total) {
  if (total == 0) {
    taskbar_.Show(0, 0);
    ShowProgress(-1);
    return;
  }
  // A few times a second is enough to keep the window drawn and Windows
  // from taking it for hung.
  constexpr DWORD kIntervalMs = 100;
  const DWORD now = GetTickCount();
  if (done != 0 && now - lastPaint_ < kIntervalMs) return;
  lastPaint_ = now;
  taskbar_.Show(done, total);
  ShowProgress(static_cast<int>(static_cast<uint64_t>(done) * 1000 / total));
  // Only paint goes through: input stays queued until the switch ends, and
  // the switch's busy mark refuses any command a sent message could start.
  // Looking at the queue also delivers the messages other threads send.
  MSG msg;
  for (int i = 0; i < 64 && PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE); ++i) {
    DispatchMessageW(&msg);
  }
}

std::vector<std::string> FrmMain::Versions() const {
  return versionList_.Names();
}
void FrmMain::ListVersions(const std::vector<std::string>& names) {
  versionList_.Set(names);
}
void FrmMain::AddVersion(const std::string& name) {
  versionList_.Add(name);
}
void FrmMain::RemoveVersion(int index) {
  versionList_.Remove(index);
}
void FrmMain::RenameVersion(int index, const std::string& name) {
  versionList_.Rename(index, name);
}
int FrmMain::SelectedIndex() const {
  return versionList_.Selected();
}
void FrmMain::SelectVersion(int index) {
  versionList_.Select(index);
}

void FrmMain::ShowNewVersionWizard(const std::string& caption) {
  if (!services_) return;
  versions::FrmNew wizard(*services_, *this);
  wizard.Run(hwnd_, caption);
  // Expert mode hands its new, empty version to the editor.
  if (wizard.editorRequested) ShowEditor(wizard.editorCaption, wizard.editorName);
}

void FrmMain::ShowEditor(const std::string& caption, const std::string& name) {
  if (!services_) return;
  versions::FrmEdit editor(*services_, *this);
  editor.Run(hwnd_, caption, name);
}

}  // namespace plover
