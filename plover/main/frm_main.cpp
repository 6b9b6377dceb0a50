#include "plover/main/frm_main.h"

#include <commctrl.h>

#include "plover/base/functions.h"
#include "plover/base/strings.h"
#include "plover/controls/art.h"
#include "plover/controls/gdi.h"
#include "plover/controls/qq_button.h"
#include "plover/controls/window_base.h"
#include "plover/main/menu_commands.h"
#include "plover/shell/frm_help.h"
#include "plover/shell/pickers.h"
#include "plover/shell/text_prompt.h"
#include "plover/versions/frm_edit.h"
#include "plover/versions/frm_new.h"

namespace plover {

namespace {

enum class Font { kNormal, kHelp, kList };

struct ControlSpec {
  int id;
  const wchar_t* windowClass;
  const char* text;
  int left, top, width, height;  // twips
  DWORD style;
  Font font;
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;
// Every push button is the skinned QQButton.
constexpr const wchar_t* kQQButton = controls::kQQButtonClass;

// The main window's controls, at their places in twips (1440 an inch).
constexpr ControlSpec kControls[] = {
    {kLbPath, L"STATIC", "选择魔兽目录：", 160, 470, 1575, 255, kChild | SS_LEFT, Font::kNormal},
    {kLbInfo, L"STATIC", text_of::kIdle, 1560, 465, 3120, 180, kChild | SS_LEFT | SS_NOPREFIX,
     Font::kNormal},
    {kTxtPath, L"EDIT", "", 120, 720, 4095, 270, kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL,
     Font::kNormal},
    {kBtnPath, kQQButton, "...", 4320, 720, 375, 255, kButton, Font::kNormal},
    {kLstVer, L"LISTBOX", "", 120, 1200, 2055, 2370,
     kChild | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, Font::kList},
    {kBtnTran, kQQButton, "  转 换     ", 2400, 1200, 2055, 495, kButton, Font::kNormal},
    {kBtnTranmore, kQQButton, "", 4440, 1200, 255, 495, kButton, Font::kNormal},
    {kBtnMake, kQQButton, "生成 Loader 文件", 2400, 1755, 2295, 495, kButton, Font::kNormal},
    {kBtnMin, kQQButton, "最小化到系统托盘", 2400, 2310, 2295, 375, kButton, Font::kNormal},
    {kBtnKill, kQQButton, "屏蔽WinKey", 2400, 2760, 2295, 375, kButton, Font::kNormal},
    {kBtnRun, kQQButton, "运行魔兽", 2400, 3200, 1095, 375, kButton, Font::kNormal},
    {kBtnHelp, kQQButton, "使用说明", 3600, 3200, 1095, 375, kButton, Font::kHelp},
    {kChkSave, L"BUTTON", "监视并保存录象", 2400, 3630, 1815, 255,
     kChild | WS_TABSTOP | BS_AUTOCHECKBOX, Font::kNormal},
    {kBtnSavePath, kQQButton, "...", 4320, 3630, 375, 255, kButton, Font::kNormal},
    {kBtnAdd, kQQButton, "添加", 120, 3650, 615, 255, kButton, Font::kNormal},
    {kBtnEdit, kQQButton, "编辑", 840, 3650, 615, 255, kButton, Font::kNormal},
    {kBtnDel, kQQButton, "删除", 1560, 3650, 615, 255, kButton, Font::kNormal},
    {kTxtSavePath, L"EDIT", "", 0, 0, 0, 0, WS_CHILD | ES_AUTOHSCROLL, Font::kNormal},
};

constexpr int kClientWidth = 4935;
constexpr int kClientHeight = 4110;
constexpr COLORREF kLineColour = RGB(192, 192, 192);
constexpr COLORREF kStatusColour = RGB(255, 0, 0);

struct LineSpec {
  int x1, y1, x2, y2;
};
constexpr LineSpec kLines[] = {{120, 1080, 4680, 1080}, {2280, 1200, 2280, 3900}};

// No frame of its own: QQForm1 draws the border, the title bar and its buttons.
constexpr DWORD kWindowStyle = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX;

SIZE OuterSizeFor(UINT dpi) {
  return win::OuterSizeForClient(kClientWidth, kClientHeight, kWindowStyle, 0, dpi);
}

}  // namespace

FrmMain::FrmMain(HINSTANCE instance) : instance_(instance) {}

FrmMain::~FrmMain() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool FrmMain::Create() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance_;
  wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(1));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

  dpi_ = win::DpiOf(nullptr);
  const SIZE size = OuterSizeFor(dpi_);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int x = work.left + (work.right - work.left - size.cx) / 2;
  const int y = work.top + (work.bottom - work.top - size.cy) / 2;
  hwnd_ = CreateWindowExW(0, kClassName, win::Wide(text_of::kCaption).c_str(), kWindowStyle, x, y,
                          size.cx, size.cy, nullptr, nullptr, instance_, this);
  if (!hwnd_) return false;
  // The window may have been placed on a monitor with another DPI.
  const UINT actual = win::DpiOf(hwnd_);
  if (actual != dpi_) {
    const SIZE s = OuterSizeFor(actual);
    SetWindowPos(hwnd_, nullptr, 0, 0, s.cx, s.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  CreateControls();
  ApplyLayout(actual);

  // The icon and the pictures of btnTran and btnMake are drawn by the program.
  icon_ = controls::gdi::MakeIcon(controls::art::AppIcon(32));
  smallIcon_ = controls::gdi::MakeIcon(controls::art::AppIcon(16));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  tranPicture_ = controls::gdi::MakeIcon(controls::art::SwitchPicture());
  makePicture_ = controls::gdi::MakeIcon(controls::art::LoaderPicture());
  controls::SetPicture(Item(kBtnTran), tranPicture_.get());
  controls::SetPicture(Item(kBtnMake), makePicture_.get());
  form_.onPaint = [this](HDC dc, UINT dpi) { PaintLines(dc, dpi); };
  form_.Attach(hwnd_);
  return true;
}

void FrmMain::CreateControls() {
  controls::RegisterControls(instance_);
  for (const auto& c : kControls) {
    HWND h =
        CreateWindowExW(0, c.windowClass, win::Wide(c.text).c_str(), c.style, 0, 0, 0, 0, hwnd_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance_, nullptr);
    (void)h;
  }
  SetWindowSubclass(Item(kTxtPath), PathEditProc, 1, 0);

  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                             nullptr, instance_, nullptr);
  std::wstring tip = win::Wide("双击转换");
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = hwnd_;
  ti.uId = reinterpret_cast<UINT_PTR>(Item(kLstVer));
  ti.lpszText = tip.data();
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void FrmMain::ApplyLayout(UINT dpi) {
  dpi_ = dpi;
  font_ = win::MakeFont(L"宋体", 90, false, dpi);
  helpFont_ = win::MakeFont(L"新宋体", 90, false, dpi);
  listFont_ = win::MakeFont(L"宋体", 105, true, dpi);
  for (const auto& c : kControls) {
    HWND h = Item(c.id);
    MoveWindow(h, win::TwipsToPixels(c.left, dpi), win::TwipsToPixels(c.top, dpi),
               win::TwipsToPixels(c.width, dpi), win::TwipsToPixels(c.height, dpi), FALSE);
    HFONT f = c.font == Font::kHelp   ? helpFont_.get()
              : c.font == Font::kList ? listFont_.get()
                                      : font_.get();
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(f), FALSE);
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void FrmMain::Show() {
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
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

LRESULT CALLBACK FrmMain::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  FrmMain* self;
  if (msg == WM_NCCREATE) {
    self = static_cast<FrmMain*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<FrmMain*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  return self->Handle(msg, wParam, lParam);
}

LRESULT CALLBACK FrmMain::PathEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR) {
  // The game directory is chosen with the folder browser, never typed: every
  // typed character, Backspace included, is dropped.
  if (msg == WM_CHAR) return 0;
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, PathEditProc, 1);
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

LRESULT FrmMain::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == Item(kLbInfo)) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, kStatusColour);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    case WM_TIMER:
      if (wParam == kTimer1 && services_) {
        ReplayTick(services_->fs, clock_, replayWatch_, GamePath(), ReplayPath());
      }
      return 0;
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      ApplyLayout(HIWORD(wParam));
      return 0;
    }
    case WM_CLOSE:
      Close();
      return 0;
    case WM_DESTROY:
      hwnd_ = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

void FrmMain::PaintLines(HDC dc, UINT dpi) const {
  win::UniquePen pen(CreatePen(PS_SOLID, 1, kLineColour));
  HGDIOBJ old = SelectObject(dc, pen.get());
  for (const auto& l : kLines) {
    MoveToEx(dc, win::TwipsToPixels(l.x1, dpi), win::TwipsToPixels(l.y1, dpi), nullptr);
    // LineTo leaves out the last point; one more pixel covers it.
    const int x2 = win::TwipsToPixels(l.x2, dpi) + (l.x1 == l.x2 ? 0 : 1);
    const int y2 = win::TwipsToPixels(l.y2, dpi) + (l.y1 == l.y2 ? 0 : 1);
    LineTo(dc, x2, y2);
  }
  SelectObject(dc, old);
}

void FrmMain::OnCommand(int id, int code) {
  if (!services_) return;
  switch (id) {
    case kLstVer:
      if (code == LBN_SELCHANGE) OnVersionClicked(*this);
      if (code == LBN_DBLCLK) CmdSwitchSelected(*services_, *this);
      break;
    case kBtnTran:
      if (code == BN_CLICKED) CmdSwitchSelected(*services_, *this);
      break;
    case kBtnRun:
      if (code == BN_CLICKED) CmdRunGame(*services_, *this);
      break;
    case kBtnPath:
      if (code == BN_CLICKED) CmdChooseGameDir(*services_, *this);
      break;
    case kBtnMake:
      if (code == BN_CLICKED) CmdMakeLoader(*services_, *this);
      break;
    case kBtnDel:
      if (code == BN_CLICKED) CmdDeleteVersion(*services_, *this);
      break;
    case kBtnSavePath:
      if (code == BN_CLICKED) CmdChooseReplayDir(*services_, *this);
      break;
    case kBtnKill:
      if (code == BN_CLICKED) CmdStartKeyBlocker(*services_);
      break;
    case kBtnHelp:
      if (code == BN_CLICKED) shell::ShowHelp(hwnd_);
      break;
    case kBtnMin:
      if (code == BN_CLICKED) Menus().MinimiseToTray();
      break;
    case kBtnTranmore:
      if (code == BN_CLICKED) Menus().PopUpTranB(dpi_);
      break;
    case kBtnAdd:
      if (code == BN_CLICKED) ShowNewVersionWizard(versions::FrmNew::kDefaultCaption);
      break;
    case kBtnEdit:
      if (code == BN_CLICKED) {
        const std::string name = SelectedVersion();
        if (name.empty()) {
          MsgBox(text_of::kSelectVersion, text_of::kTitleOops, ui::kOkOnly | ui::kIconError);
        } else {
          ShowEditor(versions::VersionEditor::kEditCaption, name);
        }
      }
      break;
    case kChkSave:
      if (code == BN_CLICKED) SetReplayWatch(IsDlgButtonChecked(hwnd_, kChkSave) == BST_CHECKED);
      break;
    default:
      break;
  }
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
  return win::WindowText(Item(kTxtPath));
}
void FrmMain::SetGamePath(const std::string& path) {
  win::SetWindowText(Item(kTxtPath), path);
}
std::string FrmMain::ReplayPath() const {
  return win::WindowText(Item(kTxtSavePath));
}
void FrmMain::SetReplayPath(const std::string& path) {
  win::SetWindowText(Item(kTxtSavePath), path);
}
std::string FrmMain::Status() const {
  return win::WindowText(Item(kLbInfo));
}

void FrmMain::SetStatus(const std::string& text) {
  win::SetWindowText(Item(kLbInfo), text);
  // A switch does not return to the message loop until it ends, so the new
  // status is drawn at once.
  UpdateWindow(Item(kLbInfo));
}

void FrmMain::EnableInput(bool enabled) {
  EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

std::vector<std::string> FrmMain::Versions() const {
  std::vector<std::string> names;
  HWND list = Item(kLstVer);
  const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    const int len = static_cast<int>(SendMessageW(list, LB_GETTEXTLEN, i, 0));
    std::wstring buf(static_cast<size_t>(len > 0 ? len : 0) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buf.data()));
    buf.resize(static_cast<size_t>(len > 0 ? len : 0));
    names.push_back(win::Utf8(buf));
  }
  return names;
}

void FrmMain::ClearVersions() {
  SendMessageW(Item(kLstVer), LB_RESETCONTENT, 0, 0);
}

void FrmMain::AddVersion(const std::string& name) {
  const std::wstring w = win::Wide(name);
  SendMessageW(Item(kLstVer), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(w.c_str()));
}

void FrmMain::RemoveVersion(int index) {
  SendMessageW(Item(kLstVer), LB_DELETESTRING, index, 0);
}

void FrmMain::RenameVersion(int index, const std::string& name) {
  HWND list = Item(kLstVer);
  const int selected = SelectedIndex();
  const std::wstring w = win::Wide(name);
  SendMessageW(list, LB_DELETESTRING, index, 0);
  SendMessageW(list, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(w.c_str()));
  if (selected == index) SendMessageW(list, LB_SETCURSEL, index, 0);
}

int FrmMain::SelectedIndex() const {
  const auto i = SendMessageW(Item(kLstVer), LB_GETCURSEL, 0, 0);
  return i == LB_ERR ? -1 : static_cast<int>(i);
}

void FrmMain::SelectVersion(int index) {
  SendMessageW(Item(kLstVer), LB_SETCURSEL, index, 0);
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

int FrmMain::MsgBox(const std::string& text, const std::string& title, unsigned style) {
  return MessageBoxW(win::CurrentOwner(hwnd_), win::Wide(text).c_str(), win::Wide(title).c_str(),
                     style);
}

std::string FrmMain::BrowseFolder(const std::string& prompt) {
  return shell::BrowseFolder(win::CurrentOwner(hwnd_), prompt);
}

std::string FrmMain::Ask(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) {
  return shell::TextPromptWindow::Ask(win::CurrentOwner(hwnd_), prompt, title, defaultText);
}

ui::OpenFileResult FrmMain::ShowOpenFile(const std::string& filterDescription,
                                         const std::string& filterPattern,
                                         const std::string& initialDir, const std::string& title,
                                         unsigned flags, const std::string& preset) {
  return shell::ShowOpenFile(win::CurrentOwner(hwnd_), filterDescription, filterPattern, initialDir,
                             title, flags, preset);
}

}  // namespace plover
