// Which version the version list marks as the one the game directory holds,
// and what is known of each version being whole there (every game file its
// store copy), so that after a change only what it may have altered is
// looked at again.
//
// The mark goes to the version last switched to when it is whole, else to
// the first whole version in list order, else to none.
#pragma once

#include <cstddef>
#include <cstdint>
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

  // The version to mark among `listed`. `isWhole` looks at one version, and
  // is called only for versions not known yet; it may answer nullopt when it
  // could not tell yet (a slice of work ran out), and the choice is then
  // nullopt too: calling again goes on from there.
  std::optional<std::string> Choose(
      const std::vector<std::string>& listed,
      const std::function<std::optional<bool>(const std::string&)>& isWhole);

  // The version chosen last ("" none).
  const std::string& Marked() const { return marked_; }
  // Counts the changes above: what was seen of a version before a change
  // may be stale after it.
  uint64_t Generation() const { return generation_; }

 private:
  std::map<std::string, bool> known_;  // whole or not, by name
  std::string marked_;
  std::string lastSwitched_;
  uint64_t generation_ = 0;
};

}  // namespace plover
