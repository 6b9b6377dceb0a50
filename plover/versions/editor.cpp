#include "plover/versions/editor.h"

#include <algorithm>

#include "common/text/codepage.h"
#include "plover/base/functions.h"
#include "plover/base/strings.h"
#include "plover/versions/version_file.h"
#include "plover/versions/version_name.h"

namespace plover::versions {
namespace {

constexpr const char* kLoadFailed = "找不到配置文件或者配置文件出错。";
constexpr const char* kRenamePrompt = "请输入一个版本名称";
constexpr const char* kRenameTitle = "更改版本名称";
constexpr const char* kNameTaken = "你输入的版本名称已经存在，请换一个名称。";
constexpr const char* kUnsavableName = "文件名含有无法保存的字符：";
constexpr const char* kOutsideBefore = "你选择的目录：";
constexpr const char* kOutsideAfter = " 不在设定的魔兽目录内！请从新选择！";
constexpr const char* kChooserTitle = "选择文件转换后存放目录，该目录必须在设定的魔兽目录内";
constexpr const char* kChooserPreset = "选择目录必须进入你选择的目录在按打开";
constexpr int kPixelsPerCharacter = 8;

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

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

void VersionEditor::Append(const std::string& entry) {
  entries_.push_back(entry);
  widest_ = std::max(widest_, kPixelsPerCharacter * CharacterCount(entry));
}

void VersionEditor::Open(const std::string& caption, const std::string& name) {
  caption_ = caption;
  openedAs_ = name;
  name_ = name;
  entries_.clear();
  pendingAdds_.clear();
  pendingDels_.clear();
  leaveStoreAlone_ = false;
}

void VersionEditor::Load() {
  if (!caption_.starts_with("编辑")) return;
  std::string bytes;
  bool ok = s_.fs.ReadAll(VersionFilePath(s_.appDir, openedAs_), bytes).ok();
  if (ok) {
    for (const auto& line : SplitLines(bytes)) {
      auto entry = text::GbkToUtf8(line);
      if (!entry) {
        ok = false;
        break;
      }
      Append(*entry);
    }
  }
  if (!ok) s_.prompts.MsgBox(kLoadFailed, text_of::kTitleError, ui::kOkOnly | ui::kIconError);
}

std::string VersionEditor::InfoFor(int index) const {
  if (index < 0 || index >= static_cast<int>(entries_.size())) return {};
  return FileNameOf(entries_[static_cast<size_t>(index)]);
}

bool VersionEditor::AddFiles() {
  if (!s_.filePicker) return false;
  const std::string gameDir = AddBackslash(main_.GamePath());
  const auto picked = s_.filePicker->ShowOpenFile("所有文件 (*.*)", "*.*", gameDir, "添加文件",
                                                  ui::kOpenMultiple, std::string(254, ' '));
  const std::vector<std::string> paths = ParseOpenFileBuffer(picked.buffer);
  if (paths.empty()) return false;

  std::string dir;
  for (;;) {
    const auto chosen = s_.filePicker->ShowOpenFile(
        "目录或所有文件", "*.*", gameDir, kChooserTitle, ui::kOpenSingle,
        std::string(kChooserPreset) + std::string(218, ' '));
    dir = DirectoryOfChoice(chosen.buffer);
    if (dir.empty()) dir = gameDir;
    if (dir.size() >= gameDir.size() && fs::EqualsNoCase(dir.substr(0, gameDir.size()), gameDir)) {
      break;
    }
    s_.prompts.MsgBox(std::string(kOutsideBefore) + dir + kOutsideAfter, text_of::kTitleError,
                      ui::kOkOnly);
  }
  const std::string relative = dir.substr(gameDir.size());

  bool changed = false;
  for (const auto& path : paths) {
    const std::string entry = relative + FileNameOf(path);
    if (!text::Utf8ToGbk(entry)) {
      s_.prompts.MsgBox(std::string(kUnsavableName) + FileNameOf(path), text_of::kTitleError,
                        ui::kOkOnly | ui::kIconError);
      continue;
    }
    pendingAdds_.push_back(path);
    if (!ListedNoCase(entries_, entry)) {
      Append(entry);
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
    pendingDels_.push_back(FileNameOf(entries_[static_cast<size_t>(i)]));
    entries_.erase(entries_.begin() + i);
  }
}

void VersionEditor::Rename() {
  if (!s_.textPrompt) return;
  const std::string answer = s_.textPrompt->Ask(kRenamePrompt, kRenameTitle, openedAs_);
  if (answer.empty() || answer == name_) return;
  if (!IsStorableName(answer)) {
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
    s_.prompts.MsgBox(kNameTaken, text_of::kTitleOops, ui::kOkOnly | ui::kIconError);
    return;
  }
  name_ = answer;
}

void VersionEditor::Save() {
  // Every step is tried; a failed one does not stop the next.
  if (name_ != openedAs_) {
    (void)s_.fs.MoveFolder(StoreFolderPath(s_.appDir, openedAs_),
                           StoreFolderPath(s_.appDir, name_));
    (void)s_.fs.Move(VersionFilePath(s_.appDir, openedAs_), VersionFilePath(s_.appDir, name_),
                     /*replace=*/false);
  }
  if (!leaveStoreAlone_) {
    const std::string store = StoreFolderPath(s_.appDir, name_) + "\\";
    for (const auto& path : pendingAdds_) (void)fs::SafeCopy(s_.fs, path, store + FileNameOf(path));
    for (const auto& fileName : pendingDels_) {
      // Store copies are shared by file name: one that a listed entry or a
      // file added in this session still uses stays.
      const bool stillUsed =
          std::any_of(entries_.begin(), entries_.end(),
                      [&](const auto& e) { return fs::EqualsNoCase(FileNameOf(e), fileName); }) ||
          std::any_of(pendingAdds_.begin(), pendingAdds_.end(),
                      [&](const auto& p) { return fs::EqualsNoCase(FileNameOf(p), fileName); });
      if (!stillUsed) (void)s_.fs.Delete(store + fileName);
    }
  }
  const bool written = WriteEntries(s_.fs, s_.appDir, name_, entries_).ok();
  if (name_ != openedAs_ && written) {
    const auto listed = main_.Versions();
    for (size_t i = 0; i < listed.size(); ++i) {
      if (listed[i] == openedAs_) {
        main_.RenameVersion(static_cast<int>(i), name_);
        break;
      }
    }
  }
}

}  // namespace plover::versions
