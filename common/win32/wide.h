// Text at the Win32 call: UTF-8 inside the programs, UTF-16 for Windows. The
// conversion is strict both ways and built on common/text: text that cannot
// convert (malformed UTF-8, a lone surrogate in what Windows hands back) is
// reported as an empty optional or a false result, never replaced.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "common/text/codepage.h"

namespace plover::win {

std::optional<std::wstring> Wide(std::string_view utf8);
std::optional<std::string> Utf8(std::wstring_view wide);
// Into a buffer of `capacity` characters, terminated, without allocating;
// false (and `out` empty) when `utf8` cannot convert or does not fit.
inline bool WideInto(std::string_view utf8, wchar_t* out, std::size_t capacity) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 units");
  if (capacity == 0) return false;
  const std::size_t n = text::Utf8ToUtf16(utf8, reinterpret_cast<char16_t*>(out), capacity - 1);
  out[n == text::kNoFit ? 0 : n] = L'\0';
  return n != text::kNoFit;
}
template <std::size_t N>
bool WideInto(std::string_view utf8, wchar_t (&out)[N]) {
  return WideInto(utf8, out, N);
}

// The window's text as UTF-8; nullopt when it cannot convert.
std::optional<std::string> WindowText(HWND hwnd);
// Sets the window's text; false (and nothing set) when `utf8` cannot convert.
bool SetWindowText(HWND hwnd, std::string_view utf8);

}  // namespace plover::win
