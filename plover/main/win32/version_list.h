// lstVer, the main window's version list: an owner-drawn list box of the
// version names, with a small check beside the version the game directory
// holds, and its tooltip "双击转换", made when the pointer first comes over it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace plover {

class VersionList {
 public:
  // The list box `list`, a child of `owner`, which hands it WM_DRAWITEM.
  void Attach(HWND owner, HWND list);
  // The items as tall as a list of plain strings makes them in its font.
  void FitItemHeight();
  void Draw(const DRAWITEMSTRUCT& item);
  // Marks the item named `name` ("" none) and draws the list again.
  void Mark(const std::string& name);
  // The item last drawn with the mark, -1 when none is.
  int MarkedItem() const { return drawnMark_; }

  std::vector<std::string> Names() const { return names_; }
  // Replaces every item with `names`. The list box takes the first of them
  // at once, as many as it shows and more; FillMore adds the others.
  void Set(const std::vector<std::string>& names);
  // Adds up to `count` of the names the list box does not hold yet; false
  // once it holds them all. (Under Wine each item costs a call to the
  // server: hundreds would hold up the first showing of the window.)
  bool FillMore(size_t count);
  void Add(const std::string& name);
  void Remove(int index);
  // The renamed version holds the same files: the mark goes with it.
  void Rename(int index, const std::string& name);
  int Selected() const;  // -1 none
  void Select(int index);

 private:
  static LRESULT CALLBACK TipProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                  DWORD_PTR self);
  void MakeTip(const MSG& firstMove);
  bool AddItem(UINT message, int index, const std::string& name);

  HWND owner_ = nullptr;
  HWND list_ = nullptr;
  HWND tooltip_ = nullptr;
  std::string installed_;  // the marked version; "" none
  int drawnMark_ = -1;     // the item last drawn with the mark
  // The names in list order; the list box holds the first `filled_`.
  std::vector<std::string> names_;
  size_t filled_ = 0;
};

}  // namespace plover
