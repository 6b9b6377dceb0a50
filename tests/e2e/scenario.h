// A test's world on disk: a program folder holding a copy of Plover.exe,
// versions (NAME.w3v plus the store folder NAME) and ver.dat, and a game
// installation whose War3.exe is the fake game. Files are made by
// plover_install_gen: each carries a tag naming its entry and a "flavour"
// (the game is flavour 1.24, a version's store copies have the version's
// name), so a test can tell where a game file came from.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

// The fifteen entries of a full version, in version-file order.
const std::vector<std::string>& FullEntries();
// Entries of the full version by their place in the version file.
inline constexpr size_t kWar3Patch = 4;  // War3Patch.mpq
inline constexpr size_t kEchoIsles = 9;  // Maps\FrozenThrone\(2)EchoIsles.w3x
// The game's flavour before any switch.
inline constexpr const char* kGameFlavour = "1.24";

class Scenario {
 public:
  // An empty work folder <build>\e2e-work\<testName> with prog\Plover.exe;
  // the game goes into the folder `gameFolder` beside prog, or where a full
  // path (emptied first) says.
  explicit Scenario(std::string_view testName, std::string_view gameFolder = "game");

  const std::string& root() const { return root_; }
  const std::string& prog() const { return prog_; }  // no trailing "\"
  const std::string& game() const { return game_; }  // no trailing "\"
  const std::string& exe() const { return exe_; }
  std::string settings() const;    // prog\ver.dat
  std::string startedLog() const;  // game\war3-started.txt, written by the fake game

  // The game folder with every entry of flavour kGameFlavour; War3.exe runs
  // (the fake game). Without Maps, the folder Maps is left out.
  void MakeGame(bool withMaps = true);
  // One more game file of the given flavour (its folders are created).
  void PutGameFile(std::string_view entry, std::string_view flavour);
  // ver.dat as Plover writes it: two GBK lines, CR LF after each.
  void WriteSettings(std::string_view gameDir, std::string_view replayDir);
  // A ready version of all fifteen entries, flavour `name`.
  void AddVersion(std::string_view name);
  // NAME.w3v listing `entries` (GBK, CR LF after each) and, unless
  // `storeFolder` is empty, the store folder of that name with a copy of
  // each entry of flavour `name`.
  void AddVersion(std::string_view name, const std::vector<std::string>& entries,
                  std::string_view storeFolder);

  std::string GameFile(std::string_view entry) const;
  std::string StoreCopy(std::string_view storeFolder, std::string_view entry) const;
  // True when the game file is exactly the one generated for the entry in
  // that flavour.
  bool GameHolds(std::string_view entry, std::string_view flavour) const;
  // The same for the store copy of `entry` in `storeFolder`.
  bool StoreHolds(std::string_view storeFolder, std::string_view entry,
                  std::string_view flavour) const;
  // The flavour of a game file ("" when missing or untagged).
  std::string GameFlavour(std::string_view entry) const;
  // Starts of the fake game noted in war3-started.txt.
  size_t GameStarts() const;

  // Sets a file's last-write time far into the past.
  void MakeOld(const std::string& path) const;
  // The file's last-write time (0 when missing).
  unsigned long long WriteTime(const std::string& path) const;

 private:
  std::string root_, prog_, game_, exe_;
};

}  // namespace e2e
