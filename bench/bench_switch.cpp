// How long a switch takes against the plain way of writing the same files.
//
// Lays out a game installation of realistic size (~300 MB, flavour 1.24) and
// two ready versions, 1.20 and 1.24, in a work folder, then times in turn:
//   baseline  CopyFileW of the fifteen store copies of 1.20 over the game files
//   switch    plover::ApplyVersion to 1.24 on the real file system
// so that every timed run replaces every file with different contents.
// Then it times a switch to the version already installed against a full
// switch, and counts the bytes a switch copies to a version that shares its
// maps with the installed one.
//
//   bench_switch [--runs N] [--work FOLDER] [--keep] [--small] [--many N]
//
// --many N times instead a full switch of N small entries in one folder
// (the layout is made once under the work folder and kept for later runs).
//
// --work defaults to plover-bench in the temporary folder; it is emptied
// first and removed at the end unless --keep is given. --small uses files of
// a few hundred bytes (a quick check that everything works).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "plover/base/main_view.h"
#include "plover/base/ui.h"
#include "plover/main/switch_engine.h"
#include "plover/versions/quick_check.h"
#include "plover/versions/version_file.h"
#include "plover/versions/win32/win32_file_system.h"
#include "tests/support/fake_main_view.h"
#include "tests/support/install_gen.h"

namespace {

using namespace plover::bench;

namespace stdfs = std::filesystem;
using plover::testing::InstallOptions;
using Clock = std::chrono::steady_clock;

// A main window nobody looks at.
using QuietView = plover::testing::FakeMainView;

// The real file system, counting the bytes it copies.
class CountingFileSystem : public plover::fs::Win32FileSystem {
 public:
  uint64_t bytesCopied = 0;
  plover::fs::Status Copy(const std::string& from, const std::string& to) override {
    plover::fs::FileInfo info;
    if (GetFile(from, &info).ok()) bytesCopied += info.size;
    return Win32FileSystem::Copy(from, to);
  }
};

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

int Run(int runs, const stdfs::path& work, bool small) {
  const stdfs::path game = work / L"game";
  const stdfs::path program = work / L"program";
  const auto& entries = plover::testing::FullVersionEntries();

  InstallOptions installed;
  installed.flavour = "1.24";
  installed.realisticSizes = !small;
  InstallOptions older = installed;
  older.flavour = "1.20";

  std::printf("work folder: %s\n", plover::testing::Utf8Of(work).c_str());
  const auto madeFrom = Clock::now();
  std::error_code ec;
  stdfs::remove_all(work, ec);
  plover::testing::CreateGameInstallation(game, installed);
  plover::testing::CreateReadyVersion(program, "1.20", older);
  plover::testing::CreateReadyVersion(program, "1.24", installed);
  uint64_t bytes = 0;
  for (const auto& entry : entries)
    bytes += stdfs::file_size(plover::testing::EntryPath(game, entry));
  std::printf("made the installation and two versions (%.1f MB each) in %.1f s\n", bytes / 1e6,
              Milliseconds(Clock::now() - madeFrom) / 1000);

  CountingFileSystem fileSystem;
  CountingPrompts prompts;
  NoPicker picker;
  NoLauncher launcher;
  plover::Services services{fileSystem, prompts, picker, launcher, WithBackslash(program)};
  QuietView view;
  view.gamePath = WithBackslash(game);
  view.versions = {"1.20", "1.24"};

  std::vector<double> baseline;
  std::vector<double> switched;
  std::vector<double> ratios;
  // The two ways take turns going first, so that neither always inherits
  // the other's unfinished write-back.
  const auto plainCopy = [&]() -> double {
    const auto from = Clock::now();
    for (const auto& entry : entries) {
      const stdfs::path source =
          program / L"1.20" / plover::testing::PathFromUtf8(plover::testing::StoreCopyName(entry));
      const stdfs::path target = plover::testing::EntryPath(game, entry);
      if (!CopyFileW(source.c_str(), target.c_str(), FALSE)) {
        std::fprintf(stderr, "CopyFileW %s failed: error %lu\n",
                     plover::testing::Utf8Of(target).c_str(), GetLastError());
        return -1;
      }
    }
    return Milliseconds(Clock::now() - from);
  };
  const auto switchTo = [&](const std::string& name) -> double {
    const auto from = Clock::now();
    const plover::SwitchReport report =
        plover::ApplyVersion(services, view, name, plover::Scope::kAll);
    const double ms = Milliseconds(Clock::now() - from);
    if (report.outcome != plover::SwitchOutcome::kCompleted || prompts.shown != 0) {
      std::fprintf(stderr, "the switch did not complete (%zu entries not written)\n",
                   report.notWritten.size());
      return -1;
    }
    return ms;
  };
  const auto programSwitch = [&] { return switchTo("1.24"); };
  // A player switches an installation that has sat still for a while: each
  // timed run starts with everything written out to the disk, so that
  // neither way gains from dropping the other's unwritten data.
  const auto settle = [&] {
    for (const auto& entry : entries) {
      const stdfs::path target = plover::testing::EntryPath(game, entry);
      HANDLE h = CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, 0, nullptr);
      if (h != INVALID_HANDLE_VALUE) {
        FlushFileBuffers(h);
        CloseHandle(h);
      }
    }
    Sleep(200);
  };
  for (int run = 1; run <= runs; ++run) {
    double copyMs = 0, switchMs = 0;
    if (run % 2 == 1) {
      settle();
      copyMs = plainCopy();
      settle();
      switchMs = programSwitch();
    } else {
      // The game holds 1.24 from the run before: 1.20 goes back first, so
      // that the switch has every file to copy.
      if (plainCopy() < 0) return 1;
      settle();
      switchMs = programSwitch();
      settle();
      copyMs = plainCopy();
    }
    if (copyMs < 0 || switchMs < 0) return 1;
    baseline.push_back(copyMs);
    switched.push_back(switchMs);
    ratios.push_back(switchMs / copyMs);
    std::printf("run %2d: baseline %9.1f ms   switch %9.1f ms   ratio %.2f\n", run, copyMs,
                switchMs, switchMs / copyMs);
    std::fflush(stdout);
  }

  if (programSwitch() < 0) return 1;
  for (const auto& entry : entries) {
    if (!plover::testing::HoldsEntry(plover::testing::EntryPath(game, entry), entry, installed)) {
      std::fprintf(stderr, "after the switches %s does not hold version 1.24\n", entry.c_str());
      return 1;
    }
  }
  std::printf("median: baseline %.1f ms, switch %.1f ms, median ratio switch/baseline %.2f\n",
              Median(baseline), Median(switched), Median(ratios));

  // 1.24 is installed: a switch to it again finds every file in place.
  std::vector<double> again;
  const uint64_t copiedBefore = fileSystem.bytesCopied;
  for (int run = 0; run < std::max(runs, 5); ++run) {
    const double ms = programSwitch();
    if (ms < 0) return 1;
    again.push_back(ms);
  }
  std::printf(
      "installed version: switch %.2f ms (median), %llu bytes copied, ratio to a full switch "
      "%.4f\n",
      Median(again), static_cast<unsigned long long>(fileSystem.bytesCopied - copiedBefore),
      Median(again) / Median(switched));

  // Version 1.20m: the files of 1.20 with the maps of 1.24, as a store
  // builder copying the same map files makes them (a copy keeps the time).
  {
    const stdfs::path shared = program / L"1.20m";
    stdfs::create_directories(shared);
    std::string list;
    uint64_t mapBytes = 0;
    for (const auto& entry : entries) {
      const bool map = plover::versions::IsMapEntry(entry);
      const stdfs::path name = plover::testing::PathFromUtf8(plover::testing::StoreCopyName(entry));
      const stdfs::path source = program / (map ? L"1.24" : L"1.20") / name;
      if (!CopyFileW(source.c_str(), (shared / name).c_str(), FALSE)) return 1;
      if (map) mapBytes += stdfs::file_size(source);
      list += entry + "\r\n";
    }
    if (!plover::fs::SafeWrite(fileSystem, WithBackslash(program) + "1.20m.w3v", list).ok()) {
      return 1;
    }
    const uint64_t from = fileSystem.bytesCopied;
    const double ms = switchTo("1.20m");
    if (ms < 0) return 1;
    std::printf(
        "shared maps: switch to 1.20m copied %llu of %llu bytes (the maps, %llu bytes, stayed) "
        "in %.1f ms\n",
        static_cast<unsigned long long>(fileSystem.bytesCopied - from),
        static_cast<unsigned long long>(bytes), static_cast<unsigned long long>(mapBytes), ms);
  }
  return 0;
}

// Writes `bytes` to `path`, replacing what is there.
bool PutFile(const stdfs::path& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD wrote = 0;
  const bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
  CloseHandle(h);
  return ok && wrote == bytes.size();
}

// A full switch of `count` small entries that all live in one folder.
int RunMany(int count, const stdfs::path& work) {
  const stdfs::path root = work / (L"many-" + std::to_wstring(count));
  const stdfs::path game = root / L"game";
  const stdfs::path program = root / L"program";
  const stdfs::path store = program / L"many";
  std::error_code ec;
  stdfs::create_directories(game / L"Many", ec);
  stdfs::create_directories(store, ec);
  std::string list;
  const auto madeFrom = Clock::now();
  for (int i = 0; i < count; ++i) {
    const std::wstring name = L"f" + std::to_wstring(i) + L".dat";
    list += "Many\\f" + std::to_string(i) + ".dat\r\n";
    if (!stdfs::exists(store / name) && !PutFile(store / name, "new contents")) return 1;
    // Every game file differs from its store copy before the timed switch.
    if (!PutFile(game / L"Many" / name, "old")) return 1;
  }
  if (!PutFile(program / L"many.w3v", list)) return 1;
  std::printf("%d entries in one folder, made ready in %.1f s\n", count,
              Milliseconds(Clock::now() - madeFrom) / 1000);

  plover::fs::Win32FileSystem fileSystem;
  CountingPrompts prompts;
  NoPicker picker;
  NoLauncher launcher;
  plover::Services services{fileSystem, prompts, picker, launcher, WithBackslash(program)};
  QuietView view;
  view.gamePath = WithBackslash(game);
  for (const char* what : {"full switch", "installed switch"}) {
    const auto from = Clock::now();
    const plover::SwitchReport report =
        plover::ApplyVersion(services, view, "many", plover::Scope::kAll);
    const double ms = Milliseconds(Clock::now() - from);
    if (report.outcome != plover::SwitchOutcome::kCompleted || prompts.shown != 0) {
      std::fprintf(stderr, "the switch did not complete\n");
      return 1;
    }
    std::printf("%s of %d entries: %.1f s (%.3f ms an entry)\n", what, count, ms / 1000,
                ms / count);
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int runs = 5;
  bool keep = false;
  bool small = false;
  int many = 0;
  stdfs::path work;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--runs" && i + 1 < argc) {
      runs = std::max(1, _wtoi(argv[++i]));
    } else if (arg == L"--work" && i + 1 < argc) {
      work = stdfs::path(argv[++i]);
    } else if (arg == L"--keep") {
      keep = true;
    } else if (arg == L"--small") {
      small = true;
    } else if (arg == L"--many" && i + 1 < argc) {
      many = std::max(1, _wtoi(argv[++i]));
      keep = true;
    } else {
      std::fprintf(stderr,
                   "usage: bench_switch [--runs N] [--work FOLDER] [--keep] [--small] [--many N]\n"
                   "unknown argument %s\n",
                   Utf8(argv[i]).c_str());
      return 2;
    }
  }
  if (work.empty()) work = DefaultWorkFolder(L"plover-bench");

  int result = 1;
  try {
    result = many ? RunMany(many, work) : Run(runs, work, small);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_switch: %s\n", e.what());
  }
  if (!keep) {
    std::error_code ec;
    stdfs::remove_all(work, ec);
  }
  return result;
}
