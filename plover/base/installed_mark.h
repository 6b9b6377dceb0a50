// Which version the version list marks as the one the game directory holds,
// and what is known of each version being whole there (every game file its
// store copy), so that after a change only what it may have altered is
// looked at again.
//
// The mark goes to the version last switched to when it is whole, else to
// the first whole version in list order, else to none.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace plover {

class InstalledMark {
 public:
  // A version was made, replaced or edited: it, and the marked one, are
  // looked at again.
  void VersionChanged(const std::string& name);
  void VersionRenamed(const std::string& from, const std::string& to);
  void VersionDeleted(const std::string& name);
  // Another game directory, or one whose files changed in ways nobody saw:
  // every version is looked at again.
  void GameChanged();
  // A switch to `name` ended; `whole` is what it saw of the version being
  // whole afterwards (nullopt: it could not tell). Every other version is
  // looked at again when it comes to that.
  void Switched(const std::string& name, std::optional<bool> whole);

  // The version to mark among `listed`. `isWhole` looks at one version; it
  // is called at most `budget` times, and only for versions not known yet.
  // nullopt when the budget ran out before the choice was made: calling
  // again goes on from there.
  std::optional<std::string> Choose(const std::vector<std::string>& listed,
                                    const std::function<bool(const std::string&)>& isWhole,
                                    size_t budget = static_cast<size_t>(-1));

  // The version chosen last ("" none).
  const std::string& Marked() const { return marked_; }

 private:
  std::map<std::string, bool> known_;  // whole or not, by name
  std::string marked_;
  std::string lastSwitched_;
};

}  // namespace plover
