// Subclassing and tooltips through comctl32 loaded on first use, and system
// DLLs loaded late from the system folder.
#include "common/win32/common_controls.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "common/win32/late_bound.h"

namespace plover::win {
namespace {

struct Seen {
  int setText = 0;
  bool swallow = false;
};

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR data) {
  auto* seen = reinterpret_cast<Seen*>(data);
  if (msg == WM_SETTEXT) {
    ++seen->setText;
    if (seen->swallow) return TRUE;
  }
  return DefSubclass(hwnd, msg, wParam, lParam);
}

std::wstring TextOf(HWND hwnd) {
  wchar_t text[64] = {};
  GetWindowTextW(hwnd, text, 64);
  return text;
}

TEST(CommonControls, SubclassSeesMessagesPassesThemOnAndCanBeRemoved) {
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(edit, nullptr);
  Seen seen;
  ASSERT_TRUE(Subclass(edit, CountingProc, 7, reinterpret_cast<DWORD_PTR>(&seen)));

  SetWindowTextW(edit, L"passed on");
  EXPECT_EQ(seen.setText, 1);
  EXPECT_EQ(TextOf(edit), L"passed on");

  seen.swallow = true;
  SetWindowTextW(edit, L"swallowed");
  EXPECT_EQ(seen.setText, 2);
  EXPECT_EQ(TextOf(edit), L"passed on");

  ASSERT_TRUE(Unsubclass(edit, CountingProc, 7));
  EXPECT_FALSE(Unsubclass(edit, CountingProc, 7));
  SetWindowTextW(edit, L"after");
  EXPECT_EQ(seen.setText, 2);
  EXPECT_EQ(TextOf(edit), L"after");
  DestroyWindow(edit);
}

TEST(CommonControls, TooltipsCanBeMadeOnceTheClassesAreRegisteredAndTakeATip) {
  ASSERT_TRUE(NeedCommonControls());
  EXPECT_TRUE(NeedCommonControls());
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND tool = CreateWindowExW(0, L"STATIC", L"tool", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, owner,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(tip, nullptr);
  wchar_t text[] = L"双击转换";
  AddTip(tip, owner, tool, text);
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  wchar_t got[32] = {};
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = owner;
  ti.uId = reinterpret_cast<UINT_PTR>(tool);
  ti.lpszText = got;
  SendMessageW(tip, TTM_GETTEXTW, std::size(got), reinterpret_cast<LPARAM>(&ti));
  EXPECT_EQ(std::wstring(got), L"双击转换");
  DestroyWindow(tip);
  DestroyWindow(owner);
}

// Where LOAD_LIBRARY_SEARCH_SYSTEM32 is unknown (Windows 7 as installed),
// a DLL still comes from the system folder, by its full path.
TEST(LateBound, WithoutTheSearchFlagTheSystemFoldersCopyIsLoaded) {
  HMODULE module = LoadSystemDllWithoutSearchFlag(L"version.dll");
  ASSERT_NE(module, nullptr);
  wchar_t path[MAX_PATH] = {};
  wchar_t dir[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameW(module, path, MAX_PATH), 0u);
  ASSERT_GT(GetSystemDirectoryW(dir, MAX_PATH), 0u);
  EXPECT_EQ(CompareStringOrdinal(path, static_cast<int>(wcslen(dir)), dir,
                                 static_cast<int>(wcslen(dir)), TRUE),
            CSTR_EQUAL);
  EXPECT_EQ(LoadSystemDllWithoutSearchFlag(L"no such library.dll"), nullptr);
  EXPECT_NE(GetProcAddress(module, "GetFileVersionInfoSizeW"), nullptr);
}

}  // namespace
}  // namespace plover::win
