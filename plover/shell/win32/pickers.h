// The shell's folder browser and the common file-open dialog.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <string>

#include "plover/base/ui.h"

namespace plover::shell {

// The chosen directory's full path, or "" when the player cancels (or the
// choice has no file-system path).
std::string BrowseFolder(HWND owner, const std::string& prompt);

static_assert(ui::kOpenMultiple == (OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_ENABLEHOOK));

// The file-open dialog. `flags` is 0 for a single file or ui::kOpenMultiple.
// The file buffer holds far more than any selection needs; the result's
// buffer ends where the dialog's text ends (at its closing NUL characters).
ui::OpenFileResult ShowOpenFile(HWND owner, const std::string& filterDescription,
                                const std::string& filterPattern, const std::string& initialDir,
                                const std::string& title, DWORD flags, const std::string& preset);

// The dialog hook that the explorer-style multiple selection asks for; it
// leaves every message to the dialog.
UINT_PTR CALLBACK OpenFileHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace plover::shell
