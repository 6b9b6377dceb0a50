#include "plover/main/settings.h"

#include "common/text/codepage.h"
#include "plover/versions/version_file.h"

namespace plover {

Settings ParseSettings(std::string_view bytes) {
  const auto lines = versions::SplitLines(bytes);
  auto line = [&lines](size_t i) {
    return i < lines.size() ? text::GbkToUtf8(lines[i]).value_or(std::string()) : std::string();
  };
  return {line(0), line(1)};
}

std::optional<std::string> SerializeSettings(const Settings& settings) {
  auto game = text::Utf8ToGbk(settings.gameDir);
  auto replay = text::Utf8ToGbk(settings.replayDir);
  if (!game || !replay) return std::nullopt;
  return *game + "\r\n" + *replay + "\r\n";
}

}  // namespace plover
