// The version editor: a version's entry list, the files added to and removed
// from its store, and its name. Nothing reaches the disk until Save.
#pragma once

#include <string>
#include <vector>

#include "plover/base/main_view.h"
#include "plover/base/services.h"

namespace plover::versions {

class VersionEditor {
 public:
  static constexpr const char* kEditCaption = "编辑版本转换文件";
  static constexpr const char* kNewCaption = "制作新的版本转换文件";

  VersionEditor(Services& services, MainView& main) : s_(services), main_(main) {}

  // Opening: `caption` is the window's caption, `name` the version's name
  // (the caption of optFiles). Nothing is read yet.
  void Open(const std::string& caption, const std::string& name);
  // Reads the version file when the caption opened for editing ("编辑..."),
  // once the editor is on the screen; a failure is told in a message box.
  void Load();

  const std::vector<std::string>& Entries() const { return entries_; }
  const std::string& Name() const { return name_; }
  const std::string& NameAtOpening() const { return openedAs_; }
  // The list's horizontal scrolling extent, in pixels at 96 DPI; it grows
  // with the longest entry and never shrinks.
  int WidestExtent() const { return widest_; }
  bool LeaveStoreAlone() const { return leaveStoreAlone_; }
  void SetLeaveStoreAlone(bool on) { leaveStoreAlone_ = on; }

  // lbInfo's text for a clicked entry.
  std::string InfoFor(int index) const;

  // btnAdd: the file dialog, then the directory chooser. Returns true when
  // the list changed.
  bool AddFiles();
  // btnDel: removes the entries at the given (selected) positions.
  void RemoveEntries(std::vector<int> selected);
  // btnEditName: asks for a new name; refused names change nothing.
  void Rename();
  // btnOk: applies everything in order and writes the version file.
  void Save();

 private:
  void Append(const std::string& entry);

  Services& s_;
  MainView& main_;
  std::string caption_;
  std::string openedAs_;
  std::string name_;
  std::vector<std::string> entries_;
  std::vector<std::string> pendingAdds_;  // full source paths
  std::vector<std::string> pendingDels_;  // store file names
  bool leaveStoreAlone_ = false;
  int widest_ = 0;
};

// The file names a file dialog left in its buffer, as full paths: either one
// full path, or the directory followed by each name, all separated by NUL
// characters (trailing NULs and blanks at either end are allowed).
std::vector<std::string> ParseOpenFileBuffer(const std::string& buffer);

// The target directory a directory chooser's buffer names: the text up to
// and including its last "\", or "" when there is none.
std::string DirectoryOfChoice(const std::string& buffer);

}  // namespace plover::versions
