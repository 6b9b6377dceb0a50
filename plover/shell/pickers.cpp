#include "plover/shell/pickers.h"

#include <commdlg.h>
#include <shlobj.h>

#include "common/win32/win32_util.h"

namespace plover::shell {

namespace {
// Room for thousands of chosen names at once.
constexpr size_t kFileBufferChars = 1 << 17;
}  // namespace

std::string BrowseFolder(HWND owner, const std::string& prompt) {
  const std::wstring title = win::Wide(prompt);
  BROWSEINFOW bi{};
  bi.hwndOwner = owner;
  bi.lpszTitle = title.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS;
  PIDLIST_ABSOLUTE pidl = SHBrowseForFolderW(&bi);
  if (!pidl) return {};
  wchar_t path[MAX_PATH + 1] = {};
  const bool ok = SHGetPathFromIDListW(pidl, path) != FALSE;
  CoTaskMemFree(pidl);
  return ok ? win::Utf8(path) : std::string();
}

UINT_PTR CALLBACK OpenFileHook(HWND, UINT, WPARAM, LPARAM) {
  return 0;
}

ui::OpenFileResult ShowOpenFile(HWND owner, const std::string& filterDescription,
                                const std::string& filterPattern, const std::string& initialDir,
                                const std::string& title, DWORD flags, const std::string& preset) {
  std::wstring filter = win::Wide(filterDescription);
  filter.push_back(L'\0');
  filter += win::Wide(filterPattern);
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  const std::wstring dir = win::Wide(initialDir);
  const std::wstring caption = win::Wide(title);

  std::wstring file(kFileBufferChars, L'\0');
  const std::wstring presetWide = win::Wide(preset);
  presetWide.copy(file.data(), std::min(presetWide.size(), file.size() - 2));
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
  ofn.lpstrInitialDir = dir.empty() ? nullptr : dir.c_str();
  ofn.lpstrTitle = caption.c_str();
  ofn.Flags = flags;
  if (flags & OFN_ENABLEHOOK) ofn.lpfnHook = OpenFileHook;

  ui::OpenFileResult result;
  result.confirmed = GetOpenFileNameW(&ofn) != FALSE;
  // A single choice (or a cancelled dialog) ends at the first NUL; a multiple
  // selection ends at the double NUL after the last name.
  size_t end = file.find(L'\0');
  if (result.confirmed && (flags & OFN_ALLOWMULTISELECT)) {
    while (end + 1 < file.size() && file[end + 1] != L'\0') end = file.find(L'\0', end + 1);
  }
  result.buffer = win::Utf8(std::wstring_view(file.data(), end));
  return result;
}

}  // namespace plover::shell
