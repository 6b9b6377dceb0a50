#include "plover/base/installed_mark.h"

#include <algorithm>

namespace plover {

void InstalledMark::VersionChanged(const std::string& name) {
  ++generation_;
  known_.erase(name);
  known_.erase(marked_);
}

void InstalledMark::VersionRenamed(const std::string& from, const std::string& to) {
  ++generation_;
  known_.erase(from);
  known_.erase(to);
  known_.erase(marked_);
  if (marked_ == from) marked_ = to;
  if (lastSwitched_ == from) lastSwitched_ = to;
}

void InstalledMark::VersionDeleted(const std::string& name) {
  VersionChanged(name);
  if (lastSwitched_ == name) lastSwitched_.clear();
}

void InstalledMark::GameChanged() {
  ++generation_;
  known_.clear();
}

void InstalledMark::Switched(const std::string& name, std::optional<bool> whole) {
  ++generation_;
  known_.clear();
  lastSwitched_ = name;
  if (whole) known_[name] = *whole;
}

std::optional<std::string> InstalledMark::Choose(
    const std::vector<std::string>& listed,
    const std::function<std::optional<bool>(const std::string&)>& isWhole) {
  const auto whole = [&](const std::string& name) -> std::optional<bool> {
    if (const auto it = known_.find(name); it != known_.end()) return it->second;
    const std::optional<bool> seen = isWhole(name);
    if (seen) known_[name] = *seen;
    return seen;
  };
  const auto decide = [&](const std::string& name) { return marked_ = name; };
  if (!lastSwitched_.empty() &&
      std::find(listed.begin(), listed.end(), lastSwitched_) != listed.end()) {
    const auto w = whole(lastSwitched_);
    if (!w) return std::nullopt;
    if (*w) return decide(lastSwitched_);
  }
  for (const auto& name : listed) {
    const auto w = whole(name);
    if (!w) return std::nullopt;
    if (*w) return decide(name);
  }
  return decide("");
}

}  // namespace plover
