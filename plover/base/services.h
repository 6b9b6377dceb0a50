// What the program's logic reaches the outside world through: the file
// system, message boxes, pickers, prompts and the program launcher, and the
// program directory. The Win32 layer fills it in; tests hand in stand-ins.
#pragma once

#include <string>

#include "plover/base/file_system.h"
#include "plover/base/installed_mark.h"
#include "plover/base/journal.h"
#include "plover/base/ui.h"
#include "plover/base/virtual_store.h"

namespace plover {

struct Services {
  fs::FileSystem& fs;
  ui::Prompts& prompts;
  ui::FolderPicker& picker;
  ui::Launcher& launcher;
  std::string appDir;  // always ends in "\"
  // The running executable's file name without its extension.
  std::string exeStem = "Plover";
  ui::TextPrompt* textPrompt = nullptr;
  ui::FilePicker* filePicker = nullptr;
  ui::FileVersionReader* versionReader = nullptr;
  // Where work that changes several files records itself; none in tests
  // that do not look at interrupted work.
  Journal* journal = nullptr;
  // The running processes; without it no game is ever seen running.
  ui::ProcessList* processes = nullptr;
  // Whether the program is elevated, and an elevated run of it; without it
  // a game folder that refuses writes is reported as any other failure.
  ui::Elevation* elevation = nullptr;
  // The system's folders, for the game folder's mirror in VirtualStore.
  KnownFolders known{};
  // False once start-up found the program directory refusing writes (the
  // player was told): nothing else tells it again.
  bool programDirWritable = true;
  // Set while a switch runs, its questions included (see ApplyVersion).
  bool switching = false;
  // The version marked as installed, and what is known of the others.
  InstalledMark mark{};
};

}  // namespace plover
