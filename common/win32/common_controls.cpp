#include "common/win32/common_controls.h"

#include "common/win32/late_bound.h"

namespace plover::win {

namespace {

constexpr const wchar_t* kComctl32 = L"comctl32.dll";

template <typename Fn>
Fn Comctl32(const char* name) {
  return LateBound<Fn>(kComctl32, name);
}

}  // namespace

bool Subclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data) {
  static const auto set = Comctl32<decltype(&SetWindowSubclass)>("SetWindowSubclass");
  return set && set(hwnd, proc, id, data);
}

LRESULT DefSubclass(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  static const auto next = Comctl32<decltype(&DefSubclassProc)>("DefSubclassProc");
  return next ? next(hwnd, msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool Unsubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id) {
  static const auto remove = Comctl32<decltype(&RemoveWindowSubclass)>("RemoveWindowSubclass");
  return remove && remove(hwnd, proc, id);
}

bool NeedCommonControls() {
  static const bool registered = [] {
    const auto init = Comctl32<decltype(&InitCommonControlsEx)>("InitCommonControlsEx");
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    return init && init(&icc);
  }();
  return registered;
}

void AddTip(HWND tooltip, HWND owner, HWND tool, wchar_t* text) {
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = owner;
  ti.uId = reinterpret_cast<UINT_PTR>(tool);
  ti.lpszText = text;
  SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

}  // namespace plover::win
