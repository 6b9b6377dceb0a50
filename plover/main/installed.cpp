#include "plover/main/installed.h"

#include "plover/base/file_system.h"
#include "plover/versions/quick_check.h"

namespace plover {

std::string InstalledVersion(fs::FileSystem& fs, const std::string& appDir,
                             const std::string& gameDir, const std::vector<std::string>& names,
                             const std::string& preferred) {
  // The version just switched to is nearly always the one installed: it is
  // looked at first, and the others only when it is not.
  const auto isPreferred = [&](const std::string& name) {
    return !preferred.empty() && fs::EqualsNoCase(name, preferred);
  };
  for (const auto& name : names) {
    if (!isPreferred(name)) continue;
    if (versions::VersionInstalled(fs, appDir, name, gameDir)) return name;
    break;
  }
  for (const auto& name : names) {
    if (!isPreferred(name) && versions::VersionInstalled(fs, appDir, name, gameDir)) return name;
  }
  return "";
}

void ShowInstalledVersion(Services& s, MainView& view, const std::string& preferred) {
  view.MarkInstalled(InstalledVersion(s.fs, s.appDir, view.GamePath(), view.Versions(), preferred));
}

SwitchReport SwitchVersion(Services& s, MainView& view, const std::string& name, Scope scope) {
  const SwitchReport report = ApplyVersion(s, view, name, scope);
  if (report.outcome != SwitchOutcome::kRefused) ShowInstalledVersion(s, view, name);
  return report;
}

}  // namespace plover
