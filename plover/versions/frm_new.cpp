#include "plover/versions/frm_new.h"

namespace plover::versions {
namespace {

enum : int {
  kOptDef = 200,
  kOptFile,
  kOptPro,
  kLabel2,
  kTxtVer,
  kLabel1,
  kTxtFile,
  kBtnFile,
  kLbInfo,
  kBtnOK,
  kBtnCancel,
};

constexpr UINT kWelcomeMessage = WM_APP + 1;
constexpr DWORD kRadio = win::kChildStyle | WS_TABSTOP | BS_AUTORADIOBUTTON;
constexpr DWORD kText = win::kChildStyle | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;

constexpr win::ControlSpec kControls[] = {
    {kOptDef, L"BUTTON", "自动生成（第一次使用推荐）", 240, 480, 4320, 270, kRadio | WS_GROUP},
    {kOptFile, L"BUTTON", "从配置文件导入（*.w3v）", 240, 780, 4320, 270, kRadio},
    {kOptPro, L"BUTTON", "专家模式", 240, 1080, 4320, 270, kRadio},
    {kLabel2, L"STATIC", "版本名称：", 240, 1530, 1000, 255, win::kChildStyle | WS_GROUP},
    {kTxtVer, L"EDIT", "在这里输入一个名称", 1260, 1500, 3300, 285, kText},
    {kLabel1, L"STATIC", "位置：", 240, 1890, 1000, 255, win::kChildStyle},
    {kTxtFile, L"EDIT", "", 1260, 1860, 2820, 285, kText},
    {kBtnFile, nullptr, "...", 4140, 1860, 420, 285, win::kPushButtonStyle},
    {kLbInfo, L"STATIC", "", 240, 2280, 4320, 420, win::kChildStyle | SS_NOPREFIX},
    {kBtnOK, nullptr, "下一步", 2160, 2940, 1095, 375,
     win::kPushButtonStyle | BS_DEFPUSHBUTTON | WS_GROUP},
    {kBtnCancel, nullptr, "取消", 3465, 2940, 1095, 375, win::kPushButtonStyle},
};

constexpr int kClientWidth = 4800;
constexpr int kClientHeight = 3510;
constexpr int kLineTop = 2820;

}  // namespace

void FrmNew::Run(HWND owner, const std::string& caption) {
  RunModal(owner, caption, kClientWidth, kClientHeight);
}

void FrmNew::OnCreate() {
  win::CreateControls(hwnd_, kControls);
  CheckRadioButton(hwnd_, kOptDef, kOptPro, kOptDef);
  SetInfo(NewVersionWizard::InstructionFor(WizardMode::kAutoGenerate));
  if (NewVersionWizard::IsWelcome(Caption())) PostMessageW(hwnd_, kWelcomeMessage, 0, 0);
}

void FrmNew::OnDpiChanged(UINT dpi) {
  fonts_.Make(dpi);
  win::LayoutControls(hwnd_, kControls, dpi, fonts_);
}

bool FrmNew::OnMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (msg) {
    case kWelcomeMessage:
      // The welcome question comes once the window is on the screen.
      wizard_.OnActivate();
      return true;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      win::UniquePen pen(CreatePen(PS_SOLID, 1, RGB(192, 192, 192)));
      HGDIOBJ old = SelectObject(dc, pen.get());
      const int y = win::TwipsToPixels(kLineTop, dpi_);
      MoveToEx(dc, win::TwipsToPixels(240, dpi_), y, nullptr);
      LineTo(dc, win::TwipsToPixels(4560, dpi_), y);
      SelectObject(dc, old);
      EndPaint(hwnd_, &ps);
      return true;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (code != BN_CLICKED) return false;
      switch (id) {
        case kOptDef:
        case kOptFile:
        case kOptPro:
          SetInfo(NewVersionWizard::InstructionFor(Mode()));
          break;
        case kBtnFile:
          wizard_.OnPickFile();
          break;
        case kBtnOK:
          wizard_.OnNext();
          break;
        case kBtnCancel:
        case IDCANCEL:
          Close();
          break;
        default:
          return false;
      }
      result = 0;
      return true;
    }
    default:
      return false;
  }
}

std::string FrmNew::Caption() const {
  return win::WindowText(hwnd_);
}
std::string FrmNew::VersionText() const {
  return win::WindowText(Item(kTxtVer));
}
void FrmNew::SetVersionText(const std::string& text) {
  win::SetWindowText(Item(kTxtVer), text);
}
std::string FrmNew::FileText() const {
  return win::WindowText(Item(kTxtFile));
}
void FrmNew::SetFileText(const std::string& text) {
  win::SetWindowText(Item(kTxtFile), text);
}
std::string FrmNew::Info() const {
  return win::WindowText(Item(kLbInfo));
}

void FrmNew::SetInfo(const std::string& text) {
  win::SetWindowText(Item(kLbInfo), text);
  UpdateWindow(Item(kLbInfo));
}

WizardMode FrmNew::Mode() const {
  if (IsDlgButtonChecked(hwnd_, kOptFile) == BST_CHECKED) return WizardMode::kImport;
  if (IsDlgButtonChecked(hwnd_, kOptPro) == BST_CHECKED) return WizardMode::kExpert;
  return WizardMode::kAutoGenerate;
}

void FrmNew::EnableInput(bool enabled) {
  EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}
void FrmNew::SetNextEnabled(bool enabled) {
  EnableWindow(Item(kBtnOK), enabled ? TRUE : FALSE);
}
void FrmNew::SetCancelCaption(const std::string& text) {
  win::SetWindowText(Item(kBtnCancel), text);
}
void FrmNew::Close() {
  EndModal();
}

void FrmNew::OpenEditorAfterClose(const std::string& caption, const std::string& name) {
  editorRequested = true;
  editorCaption = caption;
  editorName = name;
}

}  // namespace plover::versions
