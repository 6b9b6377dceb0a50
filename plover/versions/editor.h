// The version editor: a version's entry list, the files added to and removed
// from its store, and its name. Nothing reaches the disk until Save.
//
// Entries are kept as the bytes of their line: a line read from the version
// file goes back unchanged, even one that is not valid code page 936 (it is
// shown with "?" for what cannot be shown).
#pragma once

#include <string>
#include <vector>

#include "plover/base/main_view.h"
#include "plover/base/services.h"

namespace plover::versions {

class VersionEditor {
 public:
  static constexpr const char* kEditCaption = "编辑版本转换文件";

  VersionEditor(Services& services, MainView& main) : s_(services), main_(main) {}

  // Opening: `caption` is the window's caption, `name` the version's name
  // (the caption of optFiles). Nothing is read yet.
  void Open(const std::string& caption, const std::string& name);
  // Reads the version file when the caption is an edit caption; a file that
  // is missing or cannot be read is reported. Called once the window shows.
  void Load();

  // The entries as shown, in list order.
  std::vector<std::string> Entries() const;
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
  // btnOk: renames, copies the added files, writes the version file and
  // then deletes the removed entries' store copies. False when the editor
  // must stay open: the load was incomplete, the rename or the version file
  // failed (each with its message). A failed rename changes nothing.
  bool Save();

 private:
  struct Entry {
    std::string shown;   // UTF-8
    std::string bytes;   // the line as the version file holds it
    bool decoded;        // `shown` is exactly `bytes` in code page 936
    std::string source;  // the file added for it in this session, or ""
  };
  void Append(Entry entry);
  bool MoveVersion();
  void MoveLoader(const std::string& from, const std::string& to);
  std::vector<std::string> CopyAdded();
  void DeleteRemoved(const std::vector<std::string>& copied);

  Services& s_;
  MainView& main_;
  std::string caption_;
  std::string openedAs_;
  std::string name_;
  bool readWhole_ = true;
  std::vector<Entry> entries_;
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
