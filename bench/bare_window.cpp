// The start-up benchmark's baseline: a bare Win32 window with the controls of
// Plover's main window (twelve push buttons, a list box, two labels, two edits
// and a check box) at the same places, in the same 宋体 fonts, with the same
// manifest (common controls 6). Nothing is skinned or drawn by the program.
//
//   bare_window
//
// It closes on WM_CLOSE, as Plover does.
#include <windows.h>

#include <cwchar>

namespace {

struct Control {
  const wchar_t* windowClass;
  const wchar_t* text;
  int left, top, width, height;
  DWORD style;
  int font;  // 0 normal, 1 the list's, 2 the help button's
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kPush = kChild | WS_TABSTOP | BS_PUSHBUTTON;

// Places in twips, as Plover's main window has them.
constexpr Control kControls[] = {
    {L"STATIC", L"选择魔兽目录：", 160, 470, 1575, 255, kChild | SS_LEFT, 0},
    {L"STATIC", L"Created by Velmor", 1560, 465, 3120, 180, kChild | SS_LEFT | SS_NOPREFIX, 0},
    {L"EDIT", L"", 120, 720, 4095, 270, kChild | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0},
    {L"BUTTON", L"...", 4320, 720, 375, 255, kPush, 0},
    {L"LISTBOX", L"", 120, 1200, 2055, 2370,
     kChild | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 1},
    {L"BUTTON", L"  转 换     ", 2400, 1200, 2055, 495, kPush, 0},
    {L"BUTTON", L"", 4440, 1200, 255, 495, kPush, 0},
    {L"BUTTON", L"生成 Loader 文件", 2400, 1755, 2295, 495, kPush, 0},
    {L"BUTTON", L"最小化到系统托盘", 2400, 2310, 2295, 375, kPush, 0},
    {L"BUTTON", L"屏蔽WinKey", 2400, 2760, 2295, 375, kPush, 0},
    {L"BUTTON", L"运行魔兽", 2400, 3200, 1095, 375, kPush, 0},
    {L"BUTTON", L"使用说明", 3600, 3200, 1095, 375, kPush, 2},
    {L"BUTTON", L"监视并保存录象", 2400, 3630, 1815, 255, kChild | WS_TABSTOP | BS_AUTOCHECKBOX, 0},
    {L"BUTTON", L"...", 4320, 3630, 375, 255, kPush, 0},
    {L"BUTTON", L"添加", 120, 3650, 615, 255, kPush, 0},
    {L"BUTTON", L"编辑", 840, 3650, 615, 255, kPush, 0},
    {L"BUTTON", L"删除", 1560, 3650, 615, 255, kPush, 0},
    {L"EDIT", L"", 0, 0, 0, 0, WS_CHILD | ES_AUTOHSCROLL, 0},
};

constexpr int kClientWidth = 4935;
constexpr int kClientHeight = 4110;

int Pixels(int twips, int dpi) {
  return MulDiv(twips, dpi, 1440);
}

HFONT MakeFont(const wchar_t* face, int tenthsOfPoint, bool bold, int dpi) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(tenthsOfPoint, dpi, 720);
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = GB2312_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirectW(&lf);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"PloverBareWindow";
  if (!RegisterClassExW(&wc)) return 1;

  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  const HFONT fonts[] = {MakeFont(L"宋体", 90, false, dpi), MakeFont(L"宋体", 105, true, dpi),
                         MakeFont(L"新宋体", 90, false, dpi)};

  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT r{0, 0, Pixels(kClientWidth, dpi), Pixels(kClientHeight, dpi)};
  AdjustWindowRectEx(&r, style, FALSE, 0);
  RECT area{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HWND hwnd = CreateWindowExW(
      0, wc.lpszClassName, L"Plover 2.0", style, area.left + (area.right - area.left - w) / 2,
      area.top + (area.bottom - area.top - h) / 2, w, h, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
  int id = 1;
  for (const auto& c : kControls) {
    HWND child =
        CreateWindowExW(0, c.windowClass, c.text, c.style, Pixels(c.left, dpi), Pixels(c.top, dpi),
                        Pixels(c.width, dpi), Pixels(c.height, dpi), hwnd,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance, nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[c.font]), FALSE);
    // The two versions of the benchmark's installation.
    if (c.style & LBS_NOTIFY) {
      SendMessageW(child, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"1.20"));
      SendMessageW(child, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"1.24"));
    }
  }
  ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(hwnd, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  for (HFONT f : fonts) DeleteObject(f);
  return static_cast<int>(msg.wParam);
}
