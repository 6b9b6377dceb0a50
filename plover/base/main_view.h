// The main window's state as the rest of the program sees it: the game
// directory (txtPath), the replay directory (txtSavePath), the version list
// (lstVer), the status line (lbInfo) and whether the window takes input.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace plover {

class MainView {
 public:
  virtual ~MainView() = default;

  virtual std::string GamePath() const = 0;
  virtual void SetGamePath(const std::string& path) = 0;
  virtual std::string ReplayPath() const = 0;
  virtual void SetReplayPath(const std::string& path) = 0;

  virtual std::string Status() const = 0;
  virtual void SetStatus(const std::string& text) = 0;

  virtual void EnableInput(bool enabled) = 0;

  // Called by a switch before each line of the version file: `done` of
  // `total` lines are handled. The window may draw itself and show the
  // progress, but takes no input. (0, 0) ends the progress shown.
  virtual void SwitchProgress(size_t done, size_t total) {
    (void)done;
    (void)total;
  }

  virtual std::vector<std::string> Versions() const = 0;
  // Replaces the whole list with `names`, in order, and selects nothing.
  virtual void ListVersions(const std::vector<std::string>& names) = 0;
  virtual void AddVersion(const std::string& name) = 0;
  virtual void RemoveVersion(int index) = 0;
  virtual void RenameVersion(int index, const std::string& name) = 0;
  // -1 when nothing is selected.
  virtual int SelectedIndex() const = 0;
  virtual void SelectVersion(int index) = 0;
  // Marks the version `name` of the list as the one the game directory
  // holds; "" marks none. The items' texts stay the names.
  virtual void MarkInstalled(const std::string& name) { (void)name; }

  // Opens the new-version wizard modally with the given caption.
  virtual void ShowNewVersionWizard(const std::string& caption) = 0;

  // The selected version's name, or "" when nothing is selected.
  std::string SelectedVersion() const {
    const int i = SelectedIndex();
    const auto names = Versions();
    return (i >= 0 && i < static_cast<int>(names.size())) ? names[static_cast<size_t>(i)]
                                                          : std::string();
  }
};

}  // namespace plover
