// Small helpers for the Win32 layer: the DPI a window is shown at, fonts, and
// where the running program lies.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "common/win32/owned.h"

namespace plover::win {

// The DPI a window is shown at (96 when the system cannot tell).
UINT DpiOf(HWND hwnd);
// A font of `tenthsOfPoint` size for `dpi`, in the Chinese character set.
UniqueFont MakeFont(const wchar_t* face, int tenthsOfPoint, bool bold, UINT dpi,
                    bool underline = false);

// The running executable's full path, and its directory with a trailing "\";
// nullopt when the path cannot convert to UTF-8.
std::optional<std::string> ExecutablePath();
std::optional<std::string> ExecutableDirectory();

}  // namespace plover::win
