#include "plover/main/win32/version_list.h"

#include <commctrl.h>

#include <algorithm>

#include "common/win32/common_controls.h"
#include "common/win32/owned.h"
#include "common/win32/scoped.h"
#include "common/win32/wide.h"

namespace plover {

void VersionList::Attach(HWND owner, HWND list) {
  owner_ = owner;
  list_ = list;
  win::Subclass(list_, TipProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

void VersionList::FitItemHeight() {
  // The height a list of plain strings gives its items in that font.
  HWND list = list_;
  HDC dc = GetDC(list);
  if (!dc) return;
  TEXTMETRICW tm{};
  {
    const win::SelectScope font(dc,
                                reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
    GetTextMetricsW(dc, &tm);
  }
  ReleaseDC(list, dc);
  if (tm.tmHeight > 0) SendMessageW(list, LB_SETITEMHEIGHT, 0, MAKELPARAM(tm.tmHeight, 0));
}

void VersionList::Draw(const DRAWITEMSTRUCT& d) {
  HDC dc = d.hDC;
  RECT r = d.rcItem;
  // An empty list draws only the focus.
  if (d.itemID == static_cast<UINT>(-1)) {
    if (d.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
    return;
  }
  const int index = static_cast<int>(d.itemID);
  if (d.itemAction == ODA_FOCUS) {
    DrawFocusRect(dc, &r);
    return;
  }
  // The list's own colours, as a list of plain strings draws them.
  const bool selected = (d.itemState & ODS_SELECTED) != 0;
  const COLORREF ink = GetSysColor((d.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT
                                   : selected                   ? COLOR_HIGHLIGHTTEXT
                                                                : COLOR_WINDOWTEXT);
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));

  const int len = static_cast<int>(SendMessageW(d.hwndItem, LB_GETTEXTLEN, d.itemID, 0));
  std::wstring text(static_cast<size_t>(len > 0 ? len : 0) + 1, L'\0');
  SendMessageW(d.hwndItem, LB_GETTEXT, d.itemID, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(len > 0 ? len : 0));
  SetTextColor(dc, ink);
  SetBkMode(dc, TRANSPARENT);
  ExtTextOutW(dc, r.left + 1, r.top, ETO_CLIPPED, &r, text.c_str(), static_cast<UINT>(text.size()),
              nullptr);

  const auto wide = win::Wide(installed_);
  const bool marked = !installed_.empty() && wide && *wide == text;
  if (marked) {
    // A small check just after the name, as tall as half the item.
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    const int top = static_cast<int>(r.top);
    const int h = static_cast<int>(r.bottom) - top;
    const int size = std::max(6, h / 2);
    const int x = std::min(static_cast<int>(r.left + 1 + extent.cx) + h / 3,
                           static_cast<int>(r.right) - size - 2);
    const int y = top + (h - size) / 2;
    const win::UniquePen pen(CreatePen(PS_SOLID, std::max(1, size / 5), ink));
    const win::SelectScope select(dc, pen.get());
    const POINT tick[] = {{x, y + size / 2}, {x + size / 3, y + size - 1}, {x + size, y}};
    Polyline(dc, tick, 3);
    drawnMark_ = index;
  } else if (drawnMark_ == index) {
    drawnMark_ = -1;
  }
  if (d.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

void VersionList::Mark(const std::string& name) {
  installed_ = name;
  HWND list = list_;
  if (!list) return;
  // No item is marked until the items are drawn again.
  if (name.empty()) drawnMark_ = -1;
  InvalidateRect(list, nullptr, TRUE);
  UpdateWindow(list);
}

void VersionList::MakeTip(const MSG& firstMove) {
  if (tooltip_ || !win::NeedCommonControls()) return;
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner_,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!tooltip_) return;
  std::wstring tip = L"双击转换";
  win::AddTip(tooltip_, owner_, list_, tip.data());
  // From now on the tooltip watches the list itself.
  MSG move = firstMove;
  SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
}

LRESULT CALLBACK VersionList::TipProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR self) {
  if (msg == WM_MOUSEMOVE) {
    win::Unsubclass(hwnd, TipProc, 1);
    const DWORD pos = GetMessagePos();
    const MSG move{hwnd,
                   msg,
                   wParam,
                   lParam,
                   static_cast<DWORD>(GetMessageTime()),
                   POINT{static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))}};
    reinterpret_cast<VersionList*>(self)->MakeTip(move);
  } else if (msg == WM_NCDESTROY) {
    win::Unsubclass(hwnd, TipProc, 1);
  }
  return win::DefSubclass(hwnd, msg, wParam, lParam);
}

void VersionList::Set(const std::vector<std::string>& names) {
  // The list shows about ten items: the first screenful and more come now.
  constexpr size_t kFirstItems = 16;
  SendMessageW(list_, LB_RESETCONTENT, 0, 0);
  names_.clear();
  // Only names that reach the list box are listed, so that each item is
  // the name of the same index.
  for (const auto& n : names) {
    if (win::Wide(n)) names_.push_back(n);
  }
  filled_ = 0;
  drawnMark_ = -1;
  FillMore(kFirstItems);
}

bool VersionList::FillMore(size_t count) {
  for (; count > 0 && filled_ < names_.size(); --count, ++filled_) {
    AddItem(LB_ADDSTRING, 0, names_[filled_]);
  }
  return filled_ < names_.size();
}

bool VersionList::AddItem(UINT message, int index, const std::string& name) {
  const auto w = win::Wide(name);
  if (!w) return false;
  SendMessageW(list_, message, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(w->c_str()));
  return true;
}

void VersionList::Add(const std::string& name) {
  if (!win::Wide(name)) return;
  // Behind names not in the list box yet, it comes with them.
  if (filled_ == names_.size() && AddItem(LB_ADDSTRING, 0, name)) ++filled_;
  names_.push_back(name);
}

void VersionList::Remove(int index) {
  if (index < 0 || static_cast<size_t>(index) >= names_.size()) return;
  names_.erase(names_.begin() + index);
  if (static_cast<size_t>(index) < filled_) {
    SendMessageW(list_, LB_DELETESTRING, index, 0);
    --filled_;
  }
  // The items below moved up; they are drawn again.
  drawnMark_ = -1;
  InvalidateRect(list_, nullptr, TRUE);
}

void VersionList::Rename(int index, const std::string& name) {
  HWND list = list_;
  const int selected = Selected();
  if (!win::Wide(name) || index < 0 || static_cast<size_t>(index) >= names_.size()) return;
  // The renamed version holds the same files: the mark goes with it.
  std::string& old = names_[static_cast<size_t>(index)];
  if (old == installed_) installed_ = name;
  old = name;
  if (static_cast<size_t>(index) >= filled_) return;
  SendMessageW(list, LB_DELETESTRING, index, 0);
  AddItem(LB_INSERTSTRING, index, name);
  if (selected == index) SendMessageW(list, LB_SETCURSEL, index, 0);
}

int VersionList::Selected() const {
  const auto i = SendMessageW(list_, LB_GETCURSEL, 0, 0);
  return i == LB_ERR ? -1 : static_cast<int>(i);
}

void VersionList::Select(int index) {
  if (index >= 0 && static_cast<size_t>(index) >= filled_) {
    FillMore(static_cast<size_t>(index) + 1 - filled_);
  }
  SendMessageW(list_, LB_SETCURSEL, index, 0);
}
}  // namespace plover
