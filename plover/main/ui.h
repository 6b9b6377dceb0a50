// What the program's logic needs from the outside world, as small interfaces
// that the Win32 layer implements and tests replace.
#pragma once

#include <string>

namespace plover::ui {

// Message box buttons and icons, with the values Windows uses.
inline constexpr unsigned kOkOnly = 0x0;
inline constexpr unsigned kYesNo = 0x4;
inline constexpr unsigned kIconError = 0x10;
inline constexpr unsigned kIconQuestion = 0x20;
inline constexpr unsigned kIconExclamation = 0x30;

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

class Prompts {
 public:
  virtual ~Prompts() = default;
  // A modal message box owned by the main window; returns the button chosen.
  virtual int MsgBox(const std::string& text, const std::string& title, unsigned style) = 0;
};

class FolderPicker {
 public:
  virtual ~FolderPicker() = default;
  // The shell's folder browser; the chosen directory, or "" on cancel.
  virtual std::string BrowseFolder(const std::string& prompt) = 0;
};

class Launcher {
 public:
  virtual ~Launcher() = default;
  // Starts a program without waiting for it. `showState` is the window show
  // state (2: minimised with focus). False when it could not be started.
  virtual bool Start(const std::string& program, const std::string& arguments, int showState) = 0;
};

}  // namespace plover::ui
