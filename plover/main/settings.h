// ver.dat: two lines in code page 936, the game directory and the replay
// directory, each followed by CR LF.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace plover {

struct Settings {
  std::string gameDir;    // UTF-8; empty means "not set"
  std::string replayDir;  // UTF-8; empty means "not set"
};

inline constexpr const char* kSettingsFileName = "ver.dat";
// What a missing settings file is created as: two empty lines.
inline constexpr std::string_view kEmptySettings = "\r\n\r\n";

// Reads what it can: a line that is missing, or that is not valid code page
// 936, reads as empty, as if it had not been set.
Settings ParseSettings(std::string_view bytes);

// Empty optional when a directory has no code page 936 form.
std::optional<std::string> SerializeSettings(const Settings& settings);

}  // namespace plover
