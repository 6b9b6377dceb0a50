#include "plover/versions/editor.h"

#include <algorithm>

#include "common/text/codepage.h"
#include "plover/base/functions.h"
#include "plover/base/strings.h"
#include "plover/versions/loader.h"
#include "plover/versions/quick_check.h"
#include "plover/versions/version_file.h"
#include "plover/versions/version_name.h"

namespace plover::versions {
namespace {

constexpr int kPixelsPerCharacter = 8;

int CharacterCount(const std::string& utf8) {
  const auto wide = text::Utf8ToUtf16(utf8);
  return wide ? static_cast<int>(wide->size()) : static_cast<int>(utf8.size());
}

bool ListedNoCase(const std::vector<std::string>& list, std::string_view item) {
  return std::any_of(list.begin(), list.end(),
                     [&](const std::string& e) { return fs::EqualsNoCase(e, item); });
}

}  // namespace

std::vector<std::string> ParseOpenFileBuffer(const std::string& buffer) {
  std::string_view b = TrimBlanks(buffer);
  while (!b.empty() && b.back() == '\0') b.remove_suffix(1);
  b = TrimBlanks(b);
  if (b.empty() || b.front() == '\0') return {};
  std::vector<std::string_view> parts;
  size_t start = 0;
  while (start <= b.size()) {
    size_t end = b.find('\0', start);
    if (end == std::string_view::npos) end = b.size();
    parts.push_back(b.substr(start, end - start));
    start = end + 1;
  }
  if (parts.size() == 1) return {std::string(parts[0])};
  const std::string dir = AddBackslash(parts[0]);
  std::vector<std::string> paths;
  for (size_t i = 1; i < parts.size(); ++i) {
    if (!parts[i].empty()) paths.push_back(dir + std::string(parts[i]));
  }
  return paths;
}

std::string DirectoryOfChoice(const std::string& buffer) {
  std::string_view b = TrimBlanks(buffer);
  b = b.substr(0, b.find('\0'));
  const size_t slash = b.rfind('\\');
  return slash == std::string_view::npos ? std::string() : std::string(b.substr(0, slash + 1));
}

void VersionEditor::Append(Entry entry) {
  widest_ = std::max(widest_, kPixelsPerCharacter * CharacterCount(entry.shown));
  entries_.push_back(std::move(entry));
}

std::vector<std::string> VersionEditor::Entries() const {
  std::vector<std::string> shown;
  shown.reserve(entries_.size());
  for (const auto& e : entries_) shown.push_back(e.shown);
  return shown;
}

void VersionEditor::Open(const std::string& caption, const std::string& name) {
  caption_ = caption;
  openedAs_ = name;
  name_ = name;
  readWhole_ = true;
  entries_.clear();
  pendingAdds_.clear();
  pendingDels_.clear();
  leaveStoreAlone_ = false;
}

void VersionEditor::Load() {
  if (!caption_.starts_with("编辑")) return;
  entries_.clear();
  std::string bytes;
  const fs::Status read = s_.fs.ReadAll(VersionFilePath(s_.appDir, openedAs_), bytes);
  if (!read.ok()) {
    // A missing file gives an empty list that saving writes anew; one that
    // exists but cannot be read must not be replaced by what little we hold.
    readWhole_ = read.is(fs::kFileNotFound) || read.is(fs::kPathNotFound);
    s_.prompts.MsgBox(text_of::kLoadFailed, text_of::kTitleError, ui::kOkOnly | ui::kIconError);
    return;
  }
  for (auto& line : SplitLines(bytes)) {
    auto text = text::GbkToUtf8(line);
    const bool decoded = text.has_value();
    Append({decoded ? std::move(*text) : ShownLine(line), std::move(line), decoded, {}});
  }
}

std::string VersionEditor::InfoFor(int index) const {
  if (index < 0 || index >= static_cast<int>(entries_.size())) return {};
  return FileNameOf(entries_[static_cast<size_t>(index)].shown);
}

bool VersionEditor::AddFiles() {
  if (!s_.filePicker) return false;
  const std::string gameDir = AddBackslash(main_.GamePath());
  // The name box opens empty: a preset that the player types after can
  // overflow the dialog's own buffer.
  const auto picked = s_.filePicker->ShowOpenFile("所有文件 (*.*)", "*.*", gameDir, "添加文件",
                                                  ui::kOpenMultiple, "");
  const std::vector<std::string> paths = ParseOpenFileBuffer(picked.buffer);
  if (paths.empty()) return false;

  std::string dir;
  for (;;) {
    const auto chosen =
        s_.filePicker->ShowOpenFile("目录或所有文件", "*.*", gameDir, text_of::kChooserTitle,
                                    ui::kOpenSingle, text_of::kChooserPreset);
    dir = DirectoryOfChoice(chosen.buffer);
    if (dir.empty()) dir = gameDir;
    if (dir.size() >= gameDir.size() && fs::EqualsNoCase(dir.substr(0, gameDir.size()), gameDir)) {
      break;
    }
    s_.prompts.MsgBox(
        std::string(text_of::kOutsideBefore) + CutForBox(dir) + text_of::kOutsideAfter,
        text_of::kTitleError, ui::kOkOnly);
  }
  const std::string relative = dir.substr(gameDir.size());

  bool changed = false;
  for (const auto& path : paths) {
    const std::string entry = relative + FileNameOf(path);
    auto bytes = text::Utf8ToGbk(entry);
    if (!bytes) {
      s_.prompts.MsgBox(std::string(text_of::kUnsavableName) + CutForBox(FileNameOf(path)),
                        text_of::kTitleError, ui::kOkOnly | ui::kIconError);
      continue;
    }
    pendingAdds_.push_back(path);
    // A line that is not valid code page 936 is never the same entry as a
    // new one, which always is.
    const bool listed = std::any_of(entries_.begin(), entries_.end(), [&](const Entry& e) {
      return e.decoded && fs::EqualsNoCase(e.shown, entry);
    });
    if (!listed) {
      Append({entry, std::move(*bytes), true, path});
      changed = true;
    }
  }
  return changed;
}

void VersionEditor::RemoveEntries(std::vector<int> selected) {
  std::sort(selected.begin(), selected.end());
  selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
  for (auto it = selected.rbegin(); it != selected.rend(); ++it) {
    const int i = *it;
    if (i < 0 || i >= static_cast<int>(entries_.size())) continue;
    // A line that cannot be decoded names no store copy we could find.
    const Entry& e = entries_[static_cast<size_t>(i)];
    if (e.decoded) pendingDels_.push_back(FileNameOf(e.shown));
    entries_.erase(entries_.begin() + i);
  }
}

void VersionEditor::Rename() {
  if (!s_.textPrompt) return;
  const std::string answer =
      s_.textPrompt->Ask(text_of::kRenamePrompt, text_of::kRenameTitle, openedAs_);
  if (answer.empty() || answer == name_) return;
  if (!IsStorableName(answer, s_.appDir)) {
    s_.prompts.MsgBox(kBadNameMessage, text_of::kTitleOops, ui::kOkOnly | ui::kIconError);
    return;
  }
  // Windows names ignore letter case, so "1.20A" would land on "1.20a".
  bool taken = false;
  if (!fs::EqualsNoCase(answer, openedAs_)) {
    for (const auto& v : main_.Versions()) taken = taken || fs::EqualsNoCase(v, answer);
    taken = taken || s_.fs.FolderExists(StoreFolderPath(s_.appDir, answer)) ||
            s_.fs.GetFile(VersionFilePath(s_.appDir, answer)).ok();
  }
  if (taken) {
    s_.prompts.MsgBox(text_of::kNameTaken, text_of::kTitleOops, ui::kOkOnly | ui::kIconError);
    return;
  }
  name_ = answer;
}

// The store folder moves first and the version file only after it; when the
// file cannot follow, the folder goes back, so that the version keeps one
// name. A missing store folder or version file has nothing to move.
bool VersionEditor::MoveVersion() {
  const std::string fromStore = StoreFolderPath(s_.appDir, openedAs_);
  const std::string toStore = StoreFolderPath(s_.appDir, name_);
  const bool storeMoves = s_.fs.FolderExists(fromStore);
  if (storeMoves && !s_.fs.MoveFolder(fromStore, toStore).ok()) return false;
  const fs::Status file = s_.fs.Move(VersionFilePath(s_.appDir, openedAs_),
                                     VersionFilePath(s_.appDir, name_), /*replace=*/false);
  if (!file.ok() && !file.is(fs::kFileNotFound)) {
    if (storeMoves) (void)s_.fs.MoveFolder(toStore, fromStore);
    return false;
  }
  return true;
}

// A loader made for the old name would switch to a version that is gone:
// it is made anew for the new name.
void VersionEditor::MoveLoader(const std::string& from, const std::string& to) {
  const std::string oldPath = LoaderPath(s_.appDir, from);
  if (!s_.fs.GetFile(oldPath).ok()) return;
  const auto bytes = text::Utf8ToGbk(LoaderText(s_.exeStem, to));
  if (!bytes) return;
  const std::string newPath = LoaderPath(s_.appDir, to);
  if (!fs::SafeWrite(s_.fs, newPath, *bytes).ok()) return;
  if (!fs::EqualsNoCase(oldPath, newPath)) (void)s_.fs.Delete(oldPath);
}

// Copies every added file into the store. Entries whose file could not be
// copied leave the list; the files copied are returned.
std::vector<std::string> VersionEditor::CopyAdded() {
  const std::string store = StoreFolderPath(s_.appDir, name_) + "\\";
  std::vector<std::string> copied;
  std::vector<std::string> failed;
  for (const auto& path : pendingAdds_) {
    if (ListedNoCase(copied, path) || ListedNoCase(failed, path)) continue;
    if (fs::SafeCopy(s_.fs, path, store + FileNameOf(path)).ok()) {
      copied.push_back(path);
    } else {
      failed.push_back(path);
    }
  }
  if (failed.empty()) return copied;
  std::erase_if(entries_, [&](const Entry& e) {
    return !e.source.empty() && ListedNoCase(failed, e.source);
  });
  std::erase_if(pendingAdds_, [&](const std::string& p) { return ListedNoCase(failed, p); });
  std::string text = text_of::kNotCopied;
  for (const auto& path : failed) text += "\n" + CutForBox(path);
  s_.prompts.MsgBox(text, text_of::kTitleError, ui::kOkOnly | ui::kIconExclamation);
  return copied;
}

// Store copies are shared by file name: one that a listed entry or a file
// copied in this session still uses stays.
void VersionEditor::DeleteRemoved(const std::vector<std::string>& copied) {
  const std::string store = StoreFolderPath(s_.appDir, name_) + "\\";
  std::vector<std::string> deleted;
  for (const auto& fileName : pendingDels_) {
    const bool stillUsed =
        std::any_of(
            entries_.begin(), entries_.end(),
            [&](const Entry& e) { return fs::EqualsNoCase(FileNameOf(e.shown), fileName); }) ||
        std::any_of(copied.begin(), copied.end(),
                    [&](const auto& p) { return fs::EqualsNoCase(FileNameOf(p), fileName); });
    if (stillUsed || ListedNoCase(deleted, fileName)) continue;
    (void)s_.fs.Delete(store + fileName);
    deleted.push_back(fileName);
  }
}

bool VersionEditor::Save() {
  if (!readWhole_) {
    s_.prompts.MsgBox(text_of::kReadIncomplete, text_of::kTitleError, ui::kOkOnly | ui::kIconError);
    return false;
  }
  if (name_ != openedAs_) {
    // A rename takes several moves: the journal lets the next start finish
    // them if the program is stopped in between.
    JournalEntry entry(s_.journal, {journal_kind::kRename, openedAs_, name_});
    if ((s_.journal && !entry.Written()) || !MoveVersion()) {
      entry.End();
      s_.prompts.MsgBox(text_of::kCannotRename, text_of::kTitleError, ui::kOkOnly | ui::kIconError);
      return false;
    }
    // The disk holds the new name from here on, whatever happens next.
    const std::string from = openedAs_;
    openedAs_ = name_;
    MoveLoader(from, name_);
    entry.End();
    s_.mark.VersionRenamed(from, name_);
    const auto listed = main_.Versions();
    for (size_t i = 0; i < listed.size(); ++i) {
      if (listed[i] == from) {
        main_.RenameVersion(static_cast<int>(i), name_);
        break;
      }
    }
  }
  // Whatever the save changes of the version, the mark looks at it again.
  struct Remark {
    Services& s;
    MainView& main;
    const std::string& name;
    ~Remark() {
      s.mark.VersionChanged(name);
      ShowInstalledVersion(s, main);
    }
  } remark{s_, main_, name_};
  std::vector<std::string> copied;
  if (!leaveStoreAlone_) copied = CopyAdded();

  // The version file is replaced whole before any store copy goes, so that
  // it never lists a copy that is no longer there.
  std::string bytes;
  for (const auto& e : entries_) bytes += e.bytes + "\r\n";
  if (!fs::SafeWrite(s_.fs, VersionFilePath(s_.appDir, name_), bytes).ok()) {
    s_.prompts.MsgBox(text_of::kCannotWrite, text_of::kTitleError, ui::kOkOnly | ui::kIconError);
    return false;
  }
  if (!leaveStoreAlone_) DeleteRemoved(copied);
  pendingAdds_.clear();
  pendingDels_.clear();
  return true;
}

}  // namespace plover::versions
