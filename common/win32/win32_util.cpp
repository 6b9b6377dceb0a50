#include "common/win32/win32_util.h"

#include "common/win32/late_bound.h"
#include "common/win32/scoped.h"
#include "common/win32/wide.h"

namespace plover::win {

UINT DpiOf(HWND hwnd) {
  // Windows 10 and later only.
  static const auto getDpiForWindow =
      LateBound<UINT(WINAPI*)(HWND)>(L"user32.dll", "GetDpiForWindow");
  if (getDpiForWindow && hwnd) {
    const UINT dpi = getDpiForWindow(hwnd);
    if (dpi) return dpi;
  }
  const int dpi = GetDeviceCaps(ScreenDC().get(), LOGPIXELSY);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

UniqueFont MakeFont(const wchar_t* face, int tenthsOfPoint, bool bold, UINT dpi, bool underline) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(tenthsOfPoint, static_cast<int>(dpi), 720);
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfUnderline = underline ? TRUE : FALSE;
  lf.lfCharSet = GB2312_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return UniqueFont(CreateFontIndirectW(&lf));
}

std::optional<std::string> ExecutablePath() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n < buf.size()) {
      buf.resize(n);
      break;
    }
    buf.resize(buf.size() * 2);
  }
  return Utf8(buf);
}

std::optional<std::string> ExecutableDirectory() {
  auto path = ExecutablePath();
  if (!path) return std::nullopt;
  const size_t slash = path->rfind('\\');
  path->resize(slash == std::string::npos ? 0 : slash);
  path->push_back('\\');
  return path;
}

}  // namespace plover::win
