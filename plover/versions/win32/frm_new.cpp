#include "plover/versions/win32/frm_new.h"

#include "common/win32/owned.h"
#include "common/win32/scoped.h"
#include "common/win32/wide.h"
#include "plover/controls/geometry.h"

namespace plover::versions {
namespace {

using controls::kChildStyle;
using controls::kPushButtonStyle;
using controls::TwipsToPixels;

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

constexpr DWORD kRadio = kChildStyle | WS_TABSTOP | BS_AUTORADIOBUTTON;
constexpr DWORD kText = kChildStyle | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;

constexpr controls::ControlSpec kControls[] = {
    {kOptDef, L"BUTTON", "自动生成（第一次使用推荐）", 240, 480, 4320, 270, kRadio | WS_GROUP},
    {kOptFile, L"BUTTON", "从配置文件导入（*.w3v）", 240, 780, 4320, 270, kRadio},
    {kOptPro, L"BUTTON", "专家模式", 240, 1080, 4320, 270, kRadio},
    {kLabel2, L"STATIC", "版本名称：", 240, 1530, 1000, 255, kChildStyle | WS_GROUP},
    {kTxtVer, L"EDIT", "在这里输入一个名称", 1260, 1500, 3300, 285, kText},
    {kLabel1, L"STATIC", "位置：", 240, 1890, 1000, 255, kChildStyle},
    {kTxtFile, L"EDIT", "", 1260, 1860, 2820, 285, kText},
    {kBtnFile, nullptr, "...", 4140, 1860, 420, 285, kPushButtonStyle},
    {kLbInfo, L"STATIC", "", 240, 2280, 4320, 420, kChildStyle | SS_NOPREFIX},
    {kBtnOK, nullptr, "下一步", 2160, 2940, 1095, 375,
     kPushButtonStyle | BS_DEFPUSHBUTTON | WS_GROUP},
    {kBtnCancel, nullptr, "取消", 3465, 2940, 1095, 375, kPushButtonStyle},
};

constexpr controls::WindowLook kLook{controls::kModalClass, controls::kModalStyle, 4800, 3510,
                                     kControls};

// Line1: from (240, 2820) to (4560, 2820) twips, light grey.
constexpr int kLineLeft = 240;
constexpr int kLineRight = 4560;
constexpr int kLineTop = 2820;
constexpr COLORREF kLineColour = RGB(192, 192, 192);

}  // namespace

FrmNew::FrmNew(Services& services, MainView& main)
    : SkinnedWindow(kLook), wizard_(services, main, *this) {}

void FrmNew::Run(HWND owner, const std::string& caption) {
  RunModal(owner, caption);
}

void FrmNew::OnCreate() {
  CheckRadioButton(hwnd_, kOptDef, kOptPro, kOptDef);
  SetInfo(NewVersionWizard::InstructionFor(WizardMode::kAutoGenerate));
}

void FrmNew::OnShown() {
  // The welcome question comes once the window is on the screen.
  wizard_.OnActivate();
}

void FrmNew::PaintContent(HDC dc, UINT dpi) {
  const win::UniquePen pen(CreatePen(PS_SOLID, 1, kLineColour));
  const win::SelectScope select(dc, pen.get());
  const int y = TwipsToPixels(kLineTop, dpi);
  MoveToEx(dc, TwipsToPixels(kLineLeft, dpi), y, nullptr);
  LineTo(dc, TwipsToPixels(kLineRight, dpi), y);
}

bool FrmNew::OnMessage(UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (msg) {
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
  // The caption is the program's own text: it always converts.
  return win::WindowText(hwnd_).value_or(std::string());
}
std::string FrmNew::VersionText() const {
  return ItemText(kTxtVer);
}
std::string FrmNew::FileText() const {
  return ItemText(kTxtFile);
}
std::string FrmNew::Info() const {
  return ItemText(kLbInfo);
}

WizardMode FrmNew::Mode() const {
  if (IsDlgButtonChecked(hwnd_, kOptFile) == BST_CHECKED) return WizardMode::kImport;
  if (IsDlgButtonChecked(hwnd_, kOptPro) == BST_CHECKED) return WizardMode::kExpert;
  return WizardMode::kAutoGenerate;
}

void FrmNew::SetVersionText(const std::string& text) {
  SetItemText(kTxtVer, text);
}
void FrmNew::SetFileText(const std::string& text) {
  SetItemText(kTxtFile, text);
}
void FrmNew::SetInfo(const std::string& text) {
  ShowStatus(kLbInfo, text);
}

void FrmNew::EnableInput(bool enabled) {
  EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}
void FrmNew::SetNextEnabled(bool enabled) {
  EnableWindow(Item(kBtnOK), enabled ? TRUE : FALSE);
}
void FrmNew::SetCancelCaption(const std::string& text) {
  SetItemText(kBtnCancel, text);
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
