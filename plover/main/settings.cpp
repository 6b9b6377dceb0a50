#include "plover/main/settings.h"

#include "common/text/codepage.h"
#include "plover/versions/version_file.h"

namespace plover {

std::optional<Settings> ParseSettings(std::string_view bytes) {
  const auto lines = versions::SplitLines(bytes);
  Settings s;
  if (!lines.empty()) {
    auto game = text::GbkToUtf8(lines[0]);
    if (!game) return std::nullopt;
    s.gameDir = std::move(*game);
  }
  if (lines.size() > 1) {
    auto replay = text::GbkToUtf8(lines[1]);
    if (!replay) return std::nullopt;
    s.replayDir = std::move(*replay);
  }
  return s;
}

std::optional<std::string> SerializeSettings(const Settings& settings) {
  auto game = text::Utf8ToGbk(settings.gameDir);
  auto replay = text::Utf8ToGbk(settings.replayDir);
  if (!game || !replay) return std::nullopt;
  return *game + "\r\n" + *replay + "\r\n";
}

}  // namespace plover
