// What the program's logic needs from the outside world, as small interfaces
// that the Win32 layer implements and tests replace.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plover::ui {

struct Prompts {
  virtual ~Prompts() = default;
  // A modal message box owned by the main window; returns the button chosen.
  virtual int MsgBox(const std::string& text, const std::string& title, unsigned style) = 0;
};

// Message box buttons and icons, with the values Windows uses.
inline constexpr unsigned kOkOnly = 0x0;
inline constexpr unsigned kYesNo = 0x4;
inline constexpr unsigned kIconError = 0x10;
inline constexpr unsigned kIconQuestion = 0x20;
inline constexpr unsigned kIconExclamation = 0x30;
inline constexpr unsigned kDefaultButton2 = 0x100;

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

struct FolderPicker {
  virtual ~FolderPicker() = default;
  // The shell's folder browser; the chosen directory, or "" on cancel.
  virtual std::string BrowseFolder(const std::string& prompt) = 0;
};

struct Launcher {
  virtual ~Launcher() = default;
  // Starts a program without waiting for it. `showState` is the window show
  // state (2: minimised with focus). False when it could not be started.
  virtual bool Start(const std::string& program, const std::string& arguments, int showState) = 0;
};

struct Elevation {
  virtual ~Elevation() = default;
  // True when the program runs with an administrator's full rights.
  virtual bool Elevated() = 0;
  // Starts this program elevated with `arguments` (the player confirms it
  // in the system's prompt) and waits for it to end, the windows drawn
  // meanwhile but taking no input. Its exit code; nullopt when the player
  // refused or it could not be started.
  virtual std::optional<int> RunElevated(const std::string& arguments) = 0;
};

struct ProcessList {
  virtual ~ProcessList() = default;
  // The full paths of the program files of the running processes, as far as
  // they can be read; a process whose path cannot be read is left out.
  virtual std::vector<std::string> ImagePaths() = 0;
};

// A program file's version a.b.c.d, from its version resource.
struct FileVersion {
  uint16_t a = 0, b = 0, c = 0, d = 0;
  bool operator==(const FileVersion&) const = default;
};

struct FileVersionReader {
  virtual ~FileVersionReader() = default;
  // nullopt when the file is missing or carries no version resource.
  virtual std::optional<FileVersion> Read(const std::string& path) = 0;
};

struct TextPrompt {
  virtual ~TextPrompt() = default;
  // A modal text prompt with OK and Cancel; Cancel answers "".
  virtual std::string Ask(const std::string& prompt, const std::string& title,
                          const std::string& defaultText) = 0;
};

// Flags of the file-open dialog, with the values Windows uses.
inline constexpr unsigned kOpenSingle = 0x0;
inline constexpr unsigned kOpenMultiple = 0x80220;  // explorer style, several files, hook

struct OpenFileResult {
  bool confirmed = false;
  // The file buffer as the dialog left it: one full path, or the directory
  // and each chosen name separated by NUL characters. The preset when the
  // dialog was cancelled.
  std::string buffer;
};

struct FilePicker {
  virtual ~FilePicker() = default;
  virtual OpenFileResult ShowOpenFile(const std::string& filterDescription,
                                      const std::string& filterPattern,
                                      const std::string& initialDir, const std::string& title,
                                      unsigned flags, const std::string& preset) = 0;
};

}  // namespace plover::ui
