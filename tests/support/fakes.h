// Stand-ins for the outside world of the program's logic: a main window that
// records what it was told, message boxes answered from a script, a folder
// picker, a program launcher, a text prompt, a file-open dialog and the
// wizard window. TestWorld bundles them with an in-memory file system and the
// program directory "C:\P\".
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/text/codepage.h"
#include "plover/base/ui.h"
#include "plover/main/startup.h"
#include "plover/versions/wizard.h"
#include "tests/support/fake_main_view.h"
#include "tests/support/memory_fs.h"

namespace plover::testing {

struct Box {
  std::string text;
  std::string title;
  unsigned style = 0;
  bool operator==(const Box&) const = default;
  friend std::ostream& operator<<(std::ostream& os, const Box& b) {
    return os << "{\"" << b.text << "\", \"" << b.title << "\", 0x" << std::hex << b.style
              << std::dec << "}";
  }
};

// Records every message box. Boxes with a choice (any style but OK only)
// take their answer from `answers`; an unscripted question fails the test
// and is answered No.
class ScriptedPrompts : public ui::Prompts {
 public:
  std::vector<Box> boxes;
  std::deque<int> answers;
  std::function<void(const Box&)> onShow;

  int MsgBox(const std::string& text, const std::string& title, unsigned style) override {
    boxes.push_back({text, title, style});
    if (onShow) onShow(boxes.back());
    if ((style & 0xF) == ui::kOkOnly) return ui::kIdOk;
    if (answers.empty()) {
      ADD_FAILURE() << "unscripted question: " << boxes.back();
      return ui::kIdNo;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

// Answers from `answers` in turn; "" (cancel) once they run out.
class ScriptedFolderPicker : public ui::FolderPicker {
 public:
  std::deque<std::string> answers;
  std::vector<std::string> prompts;
  std::function<void()> onBrowse;

  std::string BrowseFolder(const std::string& prompt) override {
    prompts.push_back(prompt);
    if (onBrowse) onBrowse();
    if (answers.empty()) return std::string();
    std::string chosen = answers.front();
    answers.pop_front();
    return chosen;
  }
};

struct Started {
  std::string program;
  std::string arguments;
  int showState = 0;
  bool operator==(const Started&) const = default;
  friend std::ostream& operator<<(std::ostream& os, const Started& s) {
    return os << "{\"" << s.program << "\", \"" << s.arguments << "\", " << s.showState << "}";
  }
};

class RecordingLauncher : public ui::Launcher {
 public:
  std::vector<Started> starts;
  bool succeeds = true;

  bool Start(const std::string& program, const std::string& arguments, int showState) override {
    starts.push_back({program, arguments, showState});
    return succeeds;
  }
};

struct Asked {
  std::string prompt;
  std::string title;
  std::string defaultText;
  bool operator==(const Asked&) const = default;
  friend std::ostream& operator<<(std::ostream& os, const Asked& a) {
    return os << "{\"" << a.prompt << "\", \"" << a.title << "\", \"" << a.defaultText << "\"}";
  }
};

// The modal text prompt: answers from `answers` in turn; "" (cancel) once
// they run out.
class ScriptedTextPrompt : public ui::TextPrompt {
 public:
  std::deque<std::string> answers;
  std::vector<Asked> asked;

  std::string Ask(const std::string& prompt, const std::string& title,
                  const std::string& defaultText) override {
    asked.push_back({prompt, title, defaultText});
    if (answers.empty()) return std::string();
    std::string answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

struct FileDialogCall {
  std::string filterDescription;
  std::string filterPattern;
  std::string initialDir;
  std::string title;
  unsigned flags = 0;
  std::string preset;
  bool operator==(const FileDialogCall&) const = default;
  friend std::ostream& operator<<(std::ostream& os, const FileDialogCall& c) {
    return os << "{\"" << c.filterDescription << "\", \"" << c.filterPattern << "\", \""
              << c.initialDir << "\", \"" << c.title << "\", 0x" << std::hex << c.flags << std::dec
              << ", preset of " << c.preset.size() << " bytes}";
  }
};

// The file-open dialog: each answer is the buffer of a confirmed dialog, or
// nullopt for a cancelled one (which hands back the preset). Cancelled once
// the answers run out.
class ScriptedFilePicker : public ui::FilePicker {
 public:
  std::deque<std::optional<std::string>> answers;
  std::vector<FileDialogCall> calls;

  ui::OpenFileResult ShowOpenFile(const std::string& filterDescription,
                                  const std::string& filterPattern, const std::string& initialDir,
                                  const std::string& title, unsigned flags,
                                  const std::string& preset) override {
    calls.push_back({filterDescription, filterPattern, initialDir, title, flags, preset});
    std::optional<std::string> answer;
    if (!answers.empty()) {
      answer = answers.front();
      answers.pop_front();
    }
    if (!answer) return {false, preset};
    return {true, *answer};
  }
};

// The wizard window as its logic sees it, recording what it was told.
class FakeWizardView : public versions::WizardView {
 public:
  struct EditorRequest {
    std::string caption;
    std::string name;
    bool operator==(const EditorRequest&) const = default;
  };

  std::string caption = "制作新的转换版本";
  std::string versionText = "在这里输入一个名称";
  std::string fileText;
  std::string info;
  std::vector<std::string> infos;  // every SetInfo text, in order
  versions::WizardMode mode = versions::WizardMode::kAutoGenerate;
  bool enabled = true;
  std::vector<bool> enableCalls;  // every EnableInput call, in order
  bool nextEnabled = true;
  std::string cancelCaption = "取消";
  bool closed = false;
  std::optional<EditorRequest> editor;

  std::string Caption() const override { return caption; }
  std::string VersionText() const override { return versionText; }
  void SetVersionText(const std::string& text) override { versionText = text; }
  std::string FileText() const override { return fileText; }
  void SetFileText(const std::string& text) override { fileText = text; }
  std::string Info() const override { return info; }
  void SetInfo(const std::string& text) override {
    info = text;
    infos.push_back(text);
  }
  versions::WizardMode Mode() const override { return mode; }
  void EnableInput(bool on) override {
    enabled = on;
    enableCalls.push_back(on);
  }
  void SetNextEnabled(bool on) override { nextEnabled = on; }
  void SetCancelCaption(const std::string& text) override { cancelCaption = text; }
  void Close() override { closed = true; }
  void OpenEditorAfterClose(const std::string& editorCaption, const std::string& name) override {
    editor = EditorRequest{editorCaption, name};
  }
};

// The running processes: a fixed list of program files.
class FixedProcessList : public ui::ProcessList {
 public:
  std::vector<std::string> paths;
  int reads = 0;

  std::vector<std::string> ImagePaths() override {
    ++reads;
    return paths;
  }
};

struct TestWorld {
  MemoryFileSystem fs;
  ScriptedPrompts prompts;
  ScriptedFolderPicker picker;
  RecordingLauncher launcher;
  ScriptedTextPrompt textPrompt;
  ScriptedFilePicker filePicker;
  FakeMainView view;
  Services services{fs, prompts, picker, launcher, "C:\\P\\", "Plover", &textPrompt, &filePicker};
};

// Start-up with what it leaves until the window is shown done as well.
inline StartupResult StartFully(Services& s, MainView& view, const std::string& arguments = "",
                                const RecoverySteps& recovery = {}) {
  const StartupResult result = RunStartup(s, view, arguments, recovery);
  StartupTail tail;
  while (tail.Step(s, view)) {
  }
  return result;
}

// Text in code page 936 for setting up files; the text must have a GBK form.
inline std::string Gbk(std::string_view utf8) {
  auto gbk = text::Utf8ToGbk(utf8);
  EXPECT_TRUE(gbk.has_value()) << "no GBK form: " << utf8;
  return gbk.value_or(std::string());
}

// Paths of files written or replaced, in order: the target of every copy and
// move except those to a temporary name.
inline std::vector<std::string> FilesWritten(const MemoryFileSystem& fs) {
  std::vector<std::string> out;
  for (const auto& line : fs.Log()) {
    if (!line.starts_with("copy ") && !line.starts_with("move ") && !line.starts_with("write ")) {
      continue;
    }
    const size_t arrow = line.find(" -> ");
    const std::string target =
        arrow == std::string::npos ? line.substr(line.find(' ') + 1) : line.substr(arrow + 4);
    if (!target.ends_with(".plover-tmp")) out.push_back(target);
  }
  return out;
}

// Every file and folder below `folder` by its stored path, with the bytes of
// each file (nullopt for a folder): two equal snapshots mean nothing changed.
inline std::map<std::string, std::optional<std::string>> Snapshot(const MemoryFileSystem& fs,
                                                                  const std::string& folder) {
  std::map<std::string, std::optional<std::string>> out;
  for (const auto& path : fs.Below(folder)) out[path] = fs.Contents(path);
  return out;
}

// Temporary files left behind anywhere.
inline std::vector<std::string> TempFilesLeft(const MemoryFileSystem& fs) {
  std::vector<std::string> out;
  for (char drive = 'A'; drive <= 'Z'; ++drive) {
    for (const auto& path : fs.Below(std::string(1, drive) + ":\\")) {
      if (fs::UpperAscii(path).ends_with(".PLOVER-TMP")) out.push_back(path);
    }
  }
  return out;
}

}  // namespace plover::testing
