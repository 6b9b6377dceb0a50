#include "quenlock/form1.h"

#include <cstring>
#include <string>

#include "common/text/codepage.h"
#include "quenlock/icon_art.h"
#include "quenlock/menu.h"

namespace quenlock {
namespace {

std::wstring Wide(const std::string& utf8) {
  const auto u16 = plover::text::Utf8ToUtf16(utf8).value_or(std::u16string());
  return std::wstring(u16.begin(), u16.end());
}

}  // namespace

UniqueIcon MakeIcon(int size) {
  const auto pixels = DrawIcon(size);
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof header;
  header.bV5Width = size;
  header.bV5Height = -size;  // rows from the top
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_BITFIELDS;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  UniqueBitmap colour(CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                       DIB_RGB_COLORS, &bits, nullptr, 0));
  ReleaseDC(nullptr, screen);
  if (!colour || !bits) return UniqueIcon();
  std::memcpy(bits, pixels.data(), pixels.size() * sizeof pixels[0]);
  // The alpha channel decides what is seen; the mask only has to exist.
  UniqueBitmap mask(CreateBitmap(size, size, 1, 1, nullptr));
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = static_cast<HBITMAP>(mask.get());
  info.hbmColor = static_cast<HBITMAP>(colour.get());
  return UniqueIcon(CreateIconIndirect(&info));
}

Form1::Form1(HINSTANCE instance) : instance_(instance) {}

Form1::~Form1() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool Form1::Load() {
  // Blocking starts first: once the window exists, keys are being kept back.
  hook_.Install();

  bigIcon_ = MakeIcon(GetSystemMetrics(SM_CXICON));
  smallIcon_ = MakeIcon(GetSystemMetrics(SM_CXSMICON));
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance_;
  wc.hIcon = bigIcon_.get();
  wc.hIconSm = smallIcon_.get();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  // Never shown: no window stays on the screen, only the icon.
  hwnd_ = CreateWindowExW(0, kClassName, Wide(kCaption).c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                          CW_USEDEFAULT, 240, 120, nullptr, nullptr, instance_, this);
  if (!hwnd_) return false;
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));

  plover::tray::TrayInstall(hwnd_, *this);
  plover::tray::TraySetTip(kTip);
  return true;
}

HMENU Form1::MenuToPopUp() {
  menu_.reset(CreatePopupMenu());
  for (const auto& item : Form1Menu(blocking())) {
    UINT flags = MF_STRING;
    if (!item.enabled) flags |= MF_GRAYED;
    if (item.checked) flags |= MF_CHECKED;
    AppendMenuW(menu_.get(), flags, item.id, Wide(item.caption).c_str());
  }
  return menu_.get();
}

void Form1::RunMenuCommand(UINT id) {
  if (id != kChkDisable) return;
  if (hook_.installed()) {
    hook_.Remove();
  } else {
    hook_.Install();
  }
}

void Form1::AfterMenu() {
  menu_.reset();
}

void Form1::LeftClick() {
  // Closing the only window ends the program, and the blocking with it.
  PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

LRESULT CALLBACK Form1::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Form1* self;
  if (msg == WM_NCCREATE) {
    self = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Form1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
  return self->Handle(msg, wParam, lParam);
}

LRESULT Form1::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CLOSE:
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      plover::tray::TrayRemove();
      hook_.Remove();
      hwnd_ = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd_, msg, wParam, lParam);
  }
}

}  // namespace quenlock
