// Text at the Win32 call: UTF-8 inside the programs, UTF-16 for Windows. The
// conversion is strict both ways and built on common/text: text that cannot
// convert (malformed UTF-8, a lone surrogate in what Windows hands back) is
// reported as an empty optional or a false result, never replaced.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace plover::win {

std::optional<std::wstring> Wide(std::string_view utf8);
std::optional<std::string> Utf8(std::wstring_view wide);

// The window's text as UTF-8; nullopt when it cannot convert.
std::optional<std::string> WindowText(HWND hwnd);
// Sets the window's text; false (and nothing set) when `utf8` cannot convert.
bool SetWindowText(HWND hwnd, std::string_view utf8);

}  // namespace plover::win
