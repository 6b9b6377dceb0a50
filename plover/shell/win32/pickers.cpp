#include "plover/shell/win32/pickers.h"

#include <commdlg.h>
#include <shlobj.h>

#include <optional>

#include "common/win32/com.h"
#include "common/win32/late_bound.h"
#include "common/win32/wide.h"

namespace plover::shell {

namespace {
// Room for thousands of chosen names at once.
constexpr size_t kFileBufferChars = 1 << 17;
}  // namespace

std::string BrowseFolder(HWND owner, const std::string& prompt) {
  const auto title = win::Wide(prompt);
  if (!title) return {};
  BROWSEINFOW bi{};
  bi.hwndOwner = owner;
  bi.lpszTitle = title->c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS;
  win::NeedCom();
  static const auto browse =
      win::LateBound<decltype(&SHBrowseForFolderW)>(L"shell32.dll", "SHBrowseForFolderW");
  static const auto pathOf =
      win::LateBound<decltype(&SHGetPathFromIDListW)>(L"shell32.dll", "SHGetPathFromIDListW");
  static const auto release =
      win::LateBound<decltype(&CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree");
  if (!browse || !pathOf || !release) return {};
  for (;;) {
    PIDLIST_ABSOLUTE pidl = browse(&bi);
    if (!pidl) return {};
    wchar_t path[MAX_PATH + 1] = {};
    const bool ok = pathOf(pidl, path) != FALSE;
    release(pidl);
    if (!ok) return {};
    if (auto chosen = win::Utf8(path)) return *chosen;
    // A folder whose name cannot reach the program: the player chooses again.
    MessageBeep(MB_ICONWARNING);
  }
}

UINT_PTR CALLBACK OpenFileHook(HWND, UINT, WPARAM, LPARAM) {
  return 0;
}

ui::OpenFileResult ShowOpenFile(HWND owner, const std::string& filterDescription,
                                const std::string& filterPattern, const std::string& initialDir,
                                const std::string& title, DWORD flags, const std::string& preset) {
  const auto description = win::Wide(filterDescription);
  const auto pattern = win::Wide(filterPattern);
  const auto dir = win::Wide(initialDir);
  const auto caption = win::Wide(title);
  const auto presetWide = win::Wide(preset);
  // Nothing the program hands in fails to convert; if it did, the dialog
  // would not open and the answer would be a cancel.
  if (!description || !pattern || !dir || !caption || !presetWide) return {false, preset};
  std::wstring filter = *description;
  filter.push_back(L'\0');
  filter += *pattern;
  filter.push_back(L'\0');
  filter.push_back(L'\0');

  std::wstring file(kFileBufferChars, L'\0');
  presetWide->copy(file.data(), std::min(presetWide->size(), file.size() - 2));
  std::wstring fileTitle(MAX_PATH, L'\0');

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.hInstance = GetModuleHandleW(nullptr);
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrFileTitle = fileTitle.data();
  ofn.nMaxFileTitle = static_cast<DWORD>(fileTitle.size());
  ofn.lpstrInitialDir = dir->empty() ? nullptr : dir->c_str();
  ofn.lpstrTitle = caption->c_str();
  ofn.Flags = flags;
  if (flags & OFN_ENABLEHOOK) ofn.lpfnHook = OpenFileHook;

  win::NeedCom();
  static const auto open =
      win::LateBound<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
  const bool confirmed = open && open(&ofn) != FALSE;
  // A single choice (or a cancelled dialog) ends at the first NUL; a multiple
  // selection ends at the double NUL after the last name.
  size_t end = file.find(L'\0');
  if (confirmed && (flags & OFN_ALLOWMULTISELECT)) {
    while (end + 1 < file.size() && file[end + 1] != L'\0') end = file.find(L'\0', end + 1);
  }
  auto buffer = win::Utf8(std::wstring_view(file.data(), end));
  if (!buffer) {
    // A chosen name that cannot reach the program: taken as a cancel.
    MessageBeep(MB_ICONWARNING);
    return {false, preset};
  }
  return {confirmed, std::move(*buffer)};
}

}  // namespace plover::shell
