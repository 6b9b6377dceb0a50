#include "plover/shell/frm_help.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "common/win32/win32_util.h"
#include "plover/controls/art.h"
#include "plover/controls/gdi.h"
#include "plover/controls/qq_button.h"
#include "plover/controls/qq_form.h"
#include "plover/controls/window_base.h"
#include "plover/shell/frm_help_text.h"

namespace plover::shell {

namespace {

struct ControlSpec {
  int id;
  const wchar_t* windowClass;
  int left, top, width, height;  // twips
  DWORD style;
};

constexpr int kClientWidth = 4680;
constexpr int kClientHeight = 3150;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

constexpr ControlSpec kControls[] = {
    {kHelpText, L"EDIT", 180, 360, 4335, 2175,
     kChild | WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL},
    {kHelpOk, controls::kQQButtonClass, 1080, 2640, 1215, 375, kChild | WS_TABSTOP},
    {kHelpConnect, controls::kQQButtonClass, 2400, 2640, 1215, 375, kChild | WS_TABSTOP},
};

win::UniqueFont MakeSongti(UINT dpi, bool underline) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(90, static_cast<int>(dpi), 720);
  lf.lfWeight = FW_NORMAL;
  lf.lfUnderline = underline ? TRUE : FALSE;
  lf.lfCharSet = GB2312_CHARSET;
  wcsncpy(lf.lfFaceName, L"宋体", LF_FACESIZE - 1);
  return win::UniqueFont(CreateFontIndirectW(&lf));
}

class FrmHelp final : public win::ModalWindow {
 public:
  void Run(HWND owner) {
    RunModal(owner, std::string(help::kCaption), kClientWidth, kClientHeight);
  }

 private:
  static LRESULT CALLBACK TextProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                   DWORD_PTR data);
  void OnCreate() override;
  void OnDpiChanged(UINT dpi) override;
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  win::UniqueFont font_;
  win::UniqueFont underlined_;
  win::UniqueIcon icon_;
  win::UniqueIcon smallIcon_;
};

void FrmHelp::OnCreate() {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
  controls::RegisterControls(instance);
  icon_ = controls::gdi::MakeIcon(controls::art::AppIcon(32));
  smallIcon_ = controls::gdi::MakeIcon(controls::art::AppIcon(16));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));

  for (const auto& c : kControls) {
    CreateWindowExW(0, c.windowClass, L"", c.style, 0, 0, 0, 0, hwnd_,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
  }
  win::SetWindowText(Item(kHelpText), help::UsageText());
  win::SetWindowText(Item(kHelpOk), help::kOk);
  win::SetWindowText(Item(kHelpConnect), help::kConnect);
  SetWindowSubclass(Item(kHelpText), TextProc, 1, reinterpret_cast<DWORD_PTR>(Item(kHelpOk)));
  SetFocus(Item(kHelpOk));
}

void FrmHelp::OnDpiChanged(UINT dpi) {
  // Without a frame of its own the window is as big as its client area.
  SetWindowPos(hwnd_, nullptr, 0, 0, win::TwipsToPixels(kClientWidth, dpi),
               win::TwipsToPixels(kClientHeight, dpi), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  font_ = MakeSongti(dpi, false);
  underlined_ = MakeSongti(dpi, true);
  for (const auto& c : kControls) {
    HWND h = Item(c.id);
    MoveWindow(h, win::TwipsToPixels(c.left, dpi), win::TwipsToPixels(c.top, dpi),
               win::TwipsToPixels(c.width, dpi), win::TwipsToPixels(c.height, dpi), TRUE);
    HFONT f = c.id == kHelpConnect ? underlined_.get() : font_.get();
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
  }
}

LRESULT CALLBACK FrmHelp::TextProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR data) {
  switch (msg) {
    case WM_SETFOCUS: {
      // The text is only read: the focus goes on to the OK button.
      const LRESULT r = DefSubclassProc(hwnd, msg, wParam, lParam);
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
      RemoveWindowSubclass(hwnd, TextProc, 1);
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

bool FrmHelp::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED) return false;
      if (LOWORD(wParam) == kHelpOk) {
        EndModal();
      } else if (LOWORD(wParam) == kHelpConnect) {
        // Whatever the shell answers, the window stays.
        ShellExecuteW(nullptr, nullptr, win::Wide(help::kProjectUrl).c_str(), nullptr, L"C:\\",
                      SW_SHOWNORMAL);
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
