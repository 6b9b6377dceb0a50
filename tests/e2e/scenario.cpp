#include "tests/e2e/scenario.h"

#include "tests/e2e/driver.h"
#include "tests/support/install_gen.h"

namespace e2e {
namespace {

namespace gen = plover::testing;

gen::InstallOptions Flavour(std::string_view flavour) {
  gen::InstallOptions options;
  options.flavour = std::string(flavour);
  options.war3Exe = gen::PathFromUtf8(FakeGameExePath());
  return options;
}

}  // namespace

const std::vector<std::string>& FullEntries() {
  return gen::FullVersionEntries();
}

Scenario::Scenario(std::string_view testName, std::string_view gameFolder)
    : root_(WorkDir(testName)),
      prog_(Join(root_, "prog")),
      game_(gameFolder.size() > 2 && gameFolder[1] == ':' ? std::string(gameFolder)
                                                          : Join(root_, gameFolder)),
      exe_(Join(prog_, "Plover.exe")) {
  if (!game_.starts_with(root_)) RemoveTree(game_);
  MakeDirs(prog_);
  CopyInto(PloverExePath(), exe_);
}

std::string Scenario::settings() const {
  return Join(prog_, "ver.dat");
}
std::string Scenario::startedLog() const {
  return Join(game_, "war3-started.txt");
}

void Scenario::MakeGame(bool withMaps) {
  gen::CreateGameInstallation(gen::PathFromUtf8(game_), Flavour(kGameFlavour));
  if (!withMaps) RemoveTree(Join(game_, "Maps"));
}

void Scenario::PutGameFile(std::string_view entry, std::string_view flavour) {
  const std::string file = GameFile(entry);
  MakeDirs(file.substr(0, file.find_last_of('\\')));
  gen::WriteEntryFile(gen::PathFromUtf8(file), entry, Flavour(flavour));
}

void Scenario::WriteSettings(std::string_view gameDir, std::string_view replayDir) {
  WriteBytes(settings(), ToGbk(gameDir) + "\r\n" + ToGbk(replayDir) + "\r\n");
}

void Scenario::AddVersion(std::string_view name) {
  gen::CreateReadyVersion(gen::PathFromUtf8(prog_), std::string(name), Flavour(name));
}

void Scenario::AddVersion(std::string_view name, const std::vector<std::string>& entries,
                          std::string_view storeFolder) {
  std::string list;
  for (const auto& entry : entries) list += ToGbk(entry) + "\r\n";
  WriteBytes(Join(prog_, std::string(name) + ".w3v"), list);
  if (storeFolder.empty()) return;
  MakeDirs(Join(prog_, storeFolder));
  for (const auto& entry : entries) {
    gen::WriteEntryFile(gen::PathFromUtf8(StoreCopy(storeFolder, entry)), entry, Flavour(name));
  }
}

std::string Scenario::GameFile(std::string_view entry) const {
  return Join(game_, entry);
}

std::string Scenario::StoreCopy(std::string_view storeFolder, std::string_view entry) const {
  return Join(Join(prog_, storeFolder), gen::StoreCopyName(entry));
}

bool Scenario::GameHolds(std::string_view entry, std::string_view flavour) const {
  return gen::HoldsEntry(gen::PathFromUtf8(GameFile(entry)), entry, Flavour(flavour));
}

bool Scenario::StoreHolds(std::string_view storeFolder, std::string_view entry,
                          std::string_view flavour) const {
  return gen::HoldsEntry(gen::PathFromUtf8(StoreCopy(storeFolder, entry)), entry, Flavour(flavour));
}

std::string Scenario::GameFlavour(std::string_view entry) const {
  return gen::FlavourOf(gen::PathFromUtf8(GameFile(entry)));
}

size_t Scenario::GameStarts() const {
  return gen::ReadGameStarts(gen::PathFromUtf8(game_)).size();
}

void Scenario::MakeOld(const std::string& path) const {
  HANDLE h =
      CreateFileW(Wide(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  SYSTEMTIME st{};
  st.wYear = 2005;
  st.wMonth = 7;
  st.wDay = 1;
  FILETIME ft{};
  SystemTimeToFileTime(&st, &ft);
  SetFileTime(h, nullptr, nullptr, &ft);
  CloseHandle(h);
}

unsigned long long Scenario::WriteTime(const std::string& path) const {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
         data.ftLastWriteTime.dwLowDateTime;
}

}  // namespace e2e
