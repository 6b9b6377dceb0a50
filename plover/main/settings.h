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

// Lines that are missing read as empty. Empty optional when the bytes are
// not valid code page 936.
std::optional<Settings> ParseSettings(std::string_view bytes);

// Empty optional when a directory has no code page 936 form.
std::optional<std::string> SerializeSettings(const Settings& settings);

}  // namespace plover
