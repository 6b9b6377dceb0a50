#include "plover/shell/win32/frm_help.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "common/win32/com.h"
#include "common/win32/common_controls.h"
#include "common/win32/late_bound.h"
#include "common/win32/wide.h"
#include "plover/controls/win32/skinned_window.h"
#include "plover/shell/help_text.h"

namespace plover::shell {

namespace {

using controls::FontKind;
using controls::kChildStyle;

constexpr controls::ControlSpec kControls[] = {
    {kHelpText, L"EDIT", "", 180, 360, 4335, 2175,
     kChildStyle | WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL},
    {kHelpOk, nullptr, help::kOk.data(), 1080, 2640, 1215, 375, kChildStyle | WS_TABSTOP},
    {kHelpConnect, nullptr, help::kConnect.data(), 2400, 2640, 1215, 375, kChildStyle | WS_TABSTOP,
     FontKind::kLink},
};

constexpr controls::WindowLook kLook{controls::kModalClass, controls::kModalStyle, 4680, 3150,
                                     kControls};

class FrmHelp final : public controls::SkinnedWindow {
 public:
  FrmHelp() : SkinnedWindow(kLook) {}
  void Run(HWND owner) { RunModal(owner, std::string(help::kCaption)); }

 private:
  static LRESULT CALLBACK TextProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR data);
  void OnCreate() override;
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

void FrmHelp::OnCreate() {
  ShowProgramIcon();
  SetItemText(kHelpText, help::UsageText());
  win::Subclass(Item(kHelpText), TextProc, 1, reinterpret_cast<DWORD_PTR>(Item(kHelpOk)));
  SetFocus(Item(kHelpOk));
}

LRESULT CALLBACK FrmHelp::TextProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR data) {
  switch (msg) {
    case WM_SETFOCUS: {
      // The text is only read: the focus goes on to the OK button.
      const LRESULT r = win::DefSubclass(hwnd, msg, wParam, lParam);
      SetFocus(reinterpret_cast<HWND>(data));
      return r;
    }
    case WM_CHAR:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_DELETE) return 0;
      break;
    case WM_NCDESTROY:
      win::Unsubclass(hwnd, TextProc, 1);
      break;
    default:
      break;
  }
  return win::DefSubclass(hwnd, msg, wParam, lParam);
}

bool FrmHelp::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) return false;
      if (LOWORD(wParam) == kHelpOk) {
        EndModal();
      } else if (LOWORD(wParam) == kHelpConnect) {
        // Whatever the shell answers, the window stays.
        if (const auto url = win::Wide(help::kProjectUrl)) {
          win::NeedCom();
          static const auto open =
              win::LateBound<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
          if (open) open(nullptr, nullptr, url->c_str(), nullptr, L"C:\\", SW_SHOWNORMAL);
        }
      } else {
        return false;
      }
      result = 0;
      return true;
    case WM_CTLCOLOREDIT:
      if (reinterpret_cast<HWND>(lParam) != Item(kHelpText)) return false;
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
      SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
      result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      return true;
    default:
      return false;
  }
}

}  // namespace

void ShowHelp(HWND owner) {
  FrmHelp help;
  help.Run(owner);
}

}  // namespace plover::shell
