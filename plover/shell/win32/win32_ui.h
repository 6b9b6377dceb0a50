// The logic's interfaces to the outside world on Windows: message boxes, the
// folder picker, the text prompt and the file-open dialog, each belonging to
// the topmost modal window that runs or else the main window; the program
// launcher and the list of running processes.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "plover/base/ui.h"
#include "plover/base/virtual_store.h"

namespace plover::shell {

// What belongs to the main window, or to the modal window over it.
class OwnedWindowPart {
 protected:
  explicit OwnedWindowPart(HWND mainWindow) : main_(mainWindow) {}
  HWND Owner() const;

 private:
  HWND main_;
};

// Text that cannot convert shows no box; the answer is then no button (0).
class Win32Prompts final : public ui::Prompts, OwnedWindowPart {
 public:
  explicit Win32Prompts(HWND mainWindow) : OwnedWindowPart(mainWindow) {}
  int MsgBox(const std::string& text, const std::string& title, unsigned style) override;
};

class Win32FolderPicker final : public ui::FolderPicker, OwnedWindowPart {
 public:
  explicit Win32FolderPicker(HWND mainWindow) : OwnedWindowPart(mainWindow) {}
  std::string BrowseFolder(const std::string& prompt) override;
};

class Win32TextPrompt final : public ui::TextPrompt, OwnedWindowPart {
 public:
  explicit Win32TextPrompt(HWND mainWindow) : OwnedWindowPart(mainWindow) {}
  std::string Ask(const std::string& prompt, const std::string& title,
                  const std::string& defaultText) override;
};

class Win32FilePicker final : public ui::FilePicker, OwnedWindowPart {
 public:
  explicit Win32FilePicker(HWND mainWindow) : OwnedWindowPart(mainWindow) {}
  ui::OpenFileResult ShowOpenFile(const std::string& filterDescription,
                                  const std::string& filterPattern, const std::string& initialDir,
                                  const std::string& title, unsigned flags,
                                  const std::string& preset) override;
};

// Elevation through the system's prompt (ShellExecuteEx with "runas"); the
// wait draws the windows and lets no input through.
class Win32Elevation final : public ui::Elevation {
 public:
  explicit Win32Elevation(std::string exePath) : exePath_(std::move(exePath)) {}
  bool Elevated() override;
  std::optional<int> RunElevated(const std::string& arguments) override;

 private:
  std::string exePath_;
};

// The system's folders from the environment, as Windows sets it for every
// program.
KnownFolders KnownFoldersFromEnvironment();

// The running processes, from a snapshot of the system's process list; the
// processes whose program file cannot be queried are left out.
class Win32ProcessList final : public ui::ProcessList {
 public:
  std::vector<std::string> ImagePaths() override;
};

// A program or argument text that cannot convert is not started (false).
class Win32Launcher final : public ui::Launcher {
 public:
  bool Start(const std::string& program, const std::string& arguments, int showState) override;
};

}  // namespace plover::shell
