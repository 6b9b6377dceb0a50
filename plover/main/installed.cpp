#include "plover/main/installed.h"

#include "plover/base/file_system.h"
#include "plover/versions/quick_check.h"

namespace plover {

SwitchReport SwitchVersion(Services& s, MainView& view, const std::string& name, Scope scope) {
  const SwitchReport report = ApplyVersion(s, view, name, scope);
  if (report.outcome == SwitchOutcome::kRefused || report.outcome == SwitchOutcome::kNoVersion ||
      report.outcome == SwitchOutcome::kNoGame) {
    return report;
  }
  // The mark knows the version by its name in the list; a command line may
  // write it in another letter case.
  std::string listed = name;
  for (const auto& v : view.Versions()) {
    if (fs::EqualsNoCase(v, name)) {
      listed = v;
      break;
    }
  }
  s.mark.Switched(listed, report.whole);
  versions::ShowInstalledVersion(s, view);
  return report;
}

}  // namespace plover
