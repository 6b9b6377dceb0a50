#include "plover/main/elevated_switch.h"

#include "plover/base/strings.h"

namespace plover {
namespace {

constexpr std::string_view kCommand = "/switch ";

// The exit codes: 0 as for any program that did its work.
enum ExitCode : int {
  kDone = 0,
  kNotAllWritten = 1,
  kStoppedAtAQuestion = 2,
  kNothingDone = 3,
};

// A quoted text at `at`, which then moves past it.
std::optional<std::string> Quoted(const std::string& text, size_t& at) {
  if (at >= text.size() || text[at] != '"') return std::nullopt;
  const size_t end = text.find('"', at + 1);
  if (end == std::string::npos) return std::nullopt;
  std::string inner = text.substr(at + 1, end - at - 1);
  at = end + 1;
  return inner;
}

}  // namespace

std::string ElevatedSwitchArguments(const ElevatedSwitch& sw) {
  return std::string(kCommand) + std::to_string(static_cast<int>(sw.scope)) + " \"" + sw.gameDir +
         "\" \"" + sw.name + "\" \"" + sw.localAppData + "\"";
}

std::optional<ElevatedSwitch> ParseElevatedSwitch(const std::string& arguments) {
  if (!arguments.starts_with(kCommand) || arguments.size() < kCommand.size() + 2) {
    return std::nullopt;
  }
  size_t at = kCommand.size();
  const char digit = arguments[at++];
  if (digit < '1' || digit > '3' || arguments[at++] != ' ') return std::nullopt;
  ElevatedSwitch sw;
  sw.scope = static_cast<Scope>(digit - '0');
  const auto game = Quoted(arguments, at);
  if (!game || at >= arguments.size() || arguments[at++] != ' ') return std::nullopt;
  const auto name = Quoted(arguments, at);
  if (!name || name->empty() || at >= arguments.size() || arguments[at++] != ' ') {
    return std::nullopt;
  }
  const auto localAppData = Quoted(arguments, at);
  if (!localAppData || at != arguments.size()) return std::nullopt;
  sw.gameDir = *game;
  sw.name = *name;
  sw.localAppData = *localAppData;
  return sw;
}

int ExitCodeOf(const SwitchReport& report, const std::string& status) {
  switch (report.outcome) {
    case SwitchOutcome::kCompleted:
      return kDone;
    case SwitchOutcome::kIncomplete:
      return kNotAllWritten;
    case SwitchOutcome::kStopped:
      return status == text_of::kIdle ? kNothingDone : kStoppedAtAQuestion;
    default:
      return kNothingDone;
  }
}

ElevatedResult ResultOfExitCode(int code) {
  ElevatedResult r{{}, text_of::kSwitchIncomplete};
  switch (code) {
    case kDone:
      r = {{SwitchOutcome::kCompleted, {}, {}}, text_of::kSwitched};
      break;
    case kStoppedAtAQuestion:
      r = {{SwitchOutcome::kStopped, {}, {}}, text_of::kSwitching};
      break;
    case kNothingDone:
      r = {{SwitchOutcome::kStopped, {}, {}}, text_of::kIdle};
      break;
    default:
      // Whatever else ended the run, nothing is claimed of the game files.
      r.report.outcome = SwitchOutcome::kIncomplete;
      break;
  }
  return r;
}

}  // namespace plover
