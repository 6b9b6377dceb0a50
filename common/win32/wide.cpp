#include "common/win32/wide.h"

#include "common/text/codepage.h"

namespace plover::win {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");

std::optional<std::wstring> Wide(std::string_view utf8) {
  const auto u16 = text::Utf8ToUtf16(utf8);
  if (!u16) return std::nullopt;
  return std::wstring(u16->begin(), u16->end());
}

std::optional<std::string> Utf8(std::wstring_view wide) {
  return text::Utf16ToUtf8(
      std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

std::optional<std::string> WindowText(HWND hwnd) {
  const int n = GetWindowTextLengthW(hwnd);
  std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, buf.data(), n + 1);
  buf.resize(static_cast<size_t>(got > 0 ? got : 0));
  return Utf8(buf);
}

bool SetWindowText(HWND hwnd, std::string_view utf8) {
  const auto wide = Wide(utf8);
  return wide && SetWindowTextW(hwnd, wide->c_str());
}

}  // namespace plover::win
