// How Plover's work grows with the number of files in one folder: a switch, a
// switch with nothing to do, a switch with half to do and a start after a
// switch killed half-way, each against plain Win32 calls doing the same.
//
// For each count N of --entries it lays out, in its own folder of the work
// folder, a game folder whose N files all lie in one folder
// (Maps\Many\f00000.w3x, ..., 1 to 4 KB each) beside a stand-in War3.exe, and
// a program folder with three versions listing all N entries: A and B, whose
// store copies differ from each other in contents and in size, and C, whose
// every other store copy is a copy of A's (CopyFileW keeps its time, so a
// game file holding A's is in place) and the others copies of B's. The game
// folder holds A to begin with. Then it times, --runs times each, the
// contenders taking turns at going first:
//
//   full switch    plover::ApplyVersion from A to B or back, against
//                    the copy loop: CopyFileW of each store copy over its game
//                    file, and
//                    the safe loop: CopyFileW to a temporary name in a folder
//                    of the game folder, FlushFileBuffers on it and
//                    MoveFileExW(MOVEFILE_REPLACE_EXISTING |
//                    MOVEFILE_WRITE_THROUGH) over the game file
//   no-op switch   ApplyVersion to the version the game folder holds, against
//                    the look-up loop: GetFileAttributesExW of each store copy
//                    and of its game file
//   half-changed switch
//                  ApplyVersion from A to C or back, against the safe loop
//                    over the half that differs
//   start after a kill
//                  Plover.exe (copied into the program folder, with ver.dat
//                    naming the game folder) from CreateProcess until its main
//                    window is shown and it waits for input, with the journal
//                    record and the half-written temporary that a switch to B
//                    killed half-way leaves, against a start of the same
//                    layout without them
//
// Every run that writes takes the game folder from the version it holds to
// the other one, so that each replaces every file it is meant to. Before each
// timed run the files the last one wrote are put on the disk and their sizes
// checked. A switch must complete without a message box and copy exactly the
// files that differ, a start after a kill must leave neither journal nor
// temporary: anything else ends the benchmark with an error.
//
// The switch runs as in Plover.exe, with the journal in the program folder
// (its record written before the first copy and removed after the last), and
// a main window that ignores the progress it is told.
//
// Under Wine the names of the large folders are made first, empty, by the
// Linux shell (see MakeNamesUnderWine): made one by one they would take
// hours for 100,000 files. The timed runs only ever write names that are
// there, or new names in small folders.
//
//   bench_scale [--runs N] [--entries N,N,...] [--work FOLDER] [--keep]
//
// --runs defaults to 5, --entries to 1000,10000,100000, --work to
// plover-scale-bench in the temporary folder. Each count's layout
// (<work>\n<N>) is made afresh and removed once measured, unless --keep.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <exception>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "bench/bench_support.h"
#include "bench/timed_start.h"
#include "common/win32/wide.h"
#include "common/win32/win32_util.h"
#include "plover/base/journal.h"
#include "plover/base/services.h"
#include "plover/base/ui.h"
#include "plover/main/switch_engine.h"
#include "plover/versions/win32/win32_file_system.h"
#include "tests/support/fake_main_view.h"
#include "tests/support/install_gen.h"

namespace {

using namespace plover::bench;

namespace stdfs = std::filesystem;
namespace gen = plover::testing;
using Clock = std::chrono::steady_clock;

// The class of Plover's main window (plover/main/win32/frm_main.h).
constexpr const wchar_t* kPloverClass = L"PloverMain";

// The folder of the safe loop's temporaries in the game folder.
constexpr const wchar_t* kLoopTempFolder = L".loop-tmp";

// Anything that does not go as planned ends the benchmark.
[[noreturn]] void Fail(const std::string& what) {
  throw std::runtime_error(what);
}

std::string LastErrorText() {
  return "error " + std::to_string(GetLastError());
}

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// A main window nobody looks at, which does nothing with the progress.
class QuietView : public gen::FakeMainView {
 public:
  void SwitchProgress(size_t, size_t) override {}
};

// The real file system, counting the files it copies.
class CountingFileSystem : public plover::fs::Win32FileSystem {
 public:
  size_t copies = 0;
  plover::fs::Status Copy(const std::string& from, const std::string& to) override {
    ++copies;
    return Win32FileSystem::Copy(from, to);
  }
};

// Version A's file of entry `i` is 1 to 4 KB, B's always of another size; C
// has A's files at the even entries and B's at the odd ones.
size_t SizeOf(char version, size_t i) {
  if (version == 'C') version = i % 2 ? 'B' : 'A';
  const size_t offset = version == 'A' ? 0 : 1536;
  return 1024 + (i * 37 + offset) % 3072;
}

std::string Contents(char version, size_t i) {
  std::string bytes =
      "scale bench version " + std::string(1, version) + " entry " + std::to_string(i) + "\r\n";
  const size_t size = SizeOf(version, i);
  bytes.reserve(size);
  for (size_t k = bytes.size(); k < size; ++k) {
    bytes += static_cast<char>('a' + (k * 7 + i + static_cast<size_t>(version)) % 26);
  }
  return bytes;
}

// Writes `bytes` to `path`, replacing what is there.
void PutFile(const stdfs::path& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) Fail("cannot write " + gen::Utf8Of(path) + ": " + LastErrorText());
  DWORD wrote = 0;
  const bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
  CloseHandle(h);
  if (!ok || wrote != bytes.size()) Fail("cannot write " + gen::Utf8Of(path));
}

void CopyOver(const stdfs::path& from, const stdfs::path& to) {
  if (!CopyFileW(from.c_str(), to.c_str(), FALSE)) {
    Fail("CopyFileW to " + gen::Utf8Of(to) + " failed: " + LastErrorText());
  }
}

bool UnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// The Linux path of a Windows path under Wine; "" when there is none.
std::string UnixPathOf(const stdfs::path& path) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  const auto unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(kernel32, "wine_get_unix_file_name")));
  if (!unixName) return std::string();
  char* name = unixName(path.c_str());
  if (!name) return std::string();
  std::string text = name;
  HeapFree(GetProcessHeap(), 0, name);
  return text;
}

// Under Wine a name that is not in a folder yet is looked for among all the
// names of the folder before it is made, so that filling a folder one new
// file at a time takes a time that grows with the square of its size (hours
// for 100,000 files). A name that is there is found at once. So under Wine
// the Linux shell (which Wine starts for a Linux program's path) makes every
// name of `folders` first as an empty file, and the files are then written
// over; true when it did. `scratch` holds its script and list meanwhile.
// Elsewhere, or when the shell does not report back, the files are made one
// by one as they are written.
bool MakeNamesUnderWine(const std::vector<stdfs::path>& folders,
                        const std::vector<std::wstring>& names, const stdfs::path& scratch) {
  if (!UnderWine()) return false;
  const stdfs::path list = scratch / L"names.txt";
  const stdfs::path script = scratch / L"make-names.sh";
  const stdfs::path done = scratch / L"names-made";
  const stdfs::path failed = scratch / L"names-failed";
  std::string text;
  for (const auto& name : names) text += gen::Utf8Of(name) + "\n";
  PutFile(list, text);
  std::string commands = "cd / || exit 1\n";
  const auto quoted = [](const std::string& unixPath) { return "'" + unixPath + "'"; };
  std::vector<std::string> paths;
  for (const auto& folder : folders) paths.push_back(UnixPathOf(folder));
  paths.push_back(UnixPathOf(list));
  paths.push_back(UnixPathOf(done));
  paths.push_back(UnixPathOf(failed));
  for (const auto& p : paths) {
    if (p.empty() || p.find('\'') != std::string::npos) return false;
  }
  const std::string& listPath = paths[folders.size()];
  for (size_t k = 0; k < folders.size(); ++k) {
    commands += "(cd " + quoted(paths[k]) + " && xargs touch -- < " + quoted(listPath) +
                ") || { : > " + quoted(paths.back()) + "; exit 1; }\n";
  }
  commands += ": > " + quoted(paths[folders.size() + 1]) + "\n";
  PutFile(script, commands);
  const std::string scriptPath = UnixPathOf(script);
  if (scriptPath.empty()) return false;
  // Wine splits a Linux program's command line as Windows does.
  if (scriptPath.find('"') != std::string::npos) return false;
  std::wstring commandLine = L"/bin/sh \"" + gen::PathFromUtf8(scriptPath).wstring() + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &pi)) {
    return false;
  }
  // Wine hands back no handle of a Linux process: the script tells its end
  // by the file it makes.
  if (pi.hThread) CloseHandle(pi.hThread);
  if (pi.hProcess) CloseHandle(pi.hProcess);
  const auto from = Clock::now();
  bool made = false;
  while (Milliseconds(Clock::now() - from) < 600000) {
    if (GetFileAttributesW(done.c_str()) != INVALID_FILE_ATTRIBUTES) {
      made = true;
      break;
    }
    if (GetFileAttributesW(failed.c_str()) != INVALID_FILE_ATTRIBUTES) break;
    Sleep(20);
  }
  for (const auto& file : {list, script, done, failed}) DeleteFileW(file.c_str());
  return made;
}

bool Exists(const stdfs::path& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// One count's layout: the game folder, the program folder and its versions.
// The paths of every file are made once, so that the loops timed against
// Plover spend their time in the calls they make and nowhere else.
class Layout {
 public:
  Layout(const stdfs::path& root, size_t count) : root_(root), count_(count) {
    const size_t width = std::max<size_t>(5, std::to_string(count - 1).size());
    const std::wstring many = (Game() / L"Maps" / L"Many").wstring() + L"\\";
    const std::wstring temp = (Game() / kLoopTempFolder).wstring() + L"\\";
    const std::wstring program = Program().wstring() + L"\\";
    for (auto* list : {&names_, &gameFiles_, &loopTemps_, &store_[0], &store_[1], &store_[2]}) {
      list->reserve(count);
    }
    for (size_t i = 0; i < count; ++i) {
      const std::wstring digits = std::to_wstring(i);
      const std::wstring name = L"f" + std::wstring(width - digits.size(), L'0') + digits + L".w3x";
      names_.push_back(name);
      gameFiles_.push_back(many + name);
      loopTemps_.push_back(temp + name + L".tmp");
      for (int v = 0; v < 3; ++v) {
        store_[v].push_back(program + static_cast<wchar_t>(L'A' + v) + L"\\" + name);
      }
    }
  }

  size_t count() const { return count_; }
  const stdfs::path& root() const { return root_; }
  stdfs::path Game() const { return root_ / L"game"; }
  stdfs::path Program() const { return root_ / L"program"; }
  const std::wstring& Name(size_t i) const { return names_[i]; }
  const std::wstring& GameFile(size_t i) const { return gameFiles_[i]; }
  // Version A's, B's or C's store copy of entry `i`.
  const std::wstring& StoreCopy(char version, size_t i) const { return store_[version - 'A'][i]; }
  // The safe loop's temporary for entry `i`.
  const std::wstring& LoopTemp(size_t i) const { return loopTemps_[i]; }

  // Makes the layout afresh, with A in the game folder, and puts it all on
  // the disk; returns the seconds each took.
  std::pair<double, double> Make() const {
    const auto from = Clock::now();
    std::error_code ec;
    stdfs::remove_all(root_, ec);
    stdfs::create_directories(Game() / L"Maps" / L"Many");
    for (const wchar_t* version : {L"A", L"B", L"C"})
      stdfs::create_directories(Program() / version);
    if (MakeNamesUnderWine(
            {Game() / L"Maps" / L"Many", Program() / L"A", Program() / L"B", Program() / L"C"},
            names_, root_)) {
      std::printf("  (the %zu names of each folder made empty by the Linux shell first)\n", count_);
    }
    // Plover takes a game folder only where it finds War3.exe.
    PutFile(Game() / L"War3.exe", "stands in for the game; no version lists it\r\n");
    std::string list;
    for (size_t i = 0; i < count_; ++i) {
      PutFile(StoreCopy('A', i), Contents('A', i));
      PutFile(StoreCopy('B', i), Contents('B', i));
      CopyOver(StoreCopy(i % 2 ? 'B' : 'A', i), StoreCopy('C', i));
      CopyOver(StoreCopy('A', i), GameFile(i));
      list += "Maps\\Many\\" + gen::Utf8Of(names_[i]) + "\r\n";
    }
    for (const wchar_t* version : {L"A.w3v", L"B.w3v", L"C.w3v"}) {
      PutFile(Program() / version, list);
    }
    const auto written = Clock::now();
    for (size_t i = 0; i < count_; ++i) {
      for (char version : {'A', 'B', 'C'}) Flush(StoreCopy(version, i), SizeOf(version, i));
    }
    Settle('A', 0, 1);
    return {Milliseconds(written - from) / 1000, Milliseconds(Clock::now() - written) / 1000};
  }

  // Puts the game files first, first + step, ... on the disk, and checks
  // that each has the size of its file in version `versionOf(i)`; a moment
  // to rest after.
  void Settle(const std::function<char(size_t)>& versionOf, size_t first, size_t step) const {
    for (size_t i = first; i < count_; i += step) Flush(GameFile(i), SizeOf(versionOf(i), i));
    Sleep(100);
  }
  void Settle(char version, size_t first, size_t step) const {
    Settle([version](size_t) { return version; }, first, step);
  }

 private:
  static void Flush(const stdfs::path& file, size_t size) {
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
      Fail("cannot open " + gen::Utf8Of(file) + ": " + LastErrorText());
    LARGE_INTEGER actual{};
    const bool ok = FlushFileBuffers(h) && GetFileSizeEx(h, &actual);
    CloseHandle(h);
    if (!ok) Fail("cannot flush " + gen::Utf8Of(file) + ": " + LastErrorText());
    if (static_cast<uint64_t>(actual.QuadPart) != size) {
      Fail(gen::Utf8Of(file) + " holds " + std::to_string(actual.QuadPart) + " bytes, not " +
           std::to_string(size));
    }
  }

  stdfs::path root_;
  size_t count_;
  std::vector<std::wstring> names_;
  std::vector<std::wstring> gameFiles_;
  std::vector<std::wstring> loopTemps_;
  std::vector<std::wstring> store_[3];
};

// CopyFileW of each store copy of `version` over its game file, for the
// entries first, first + step, ...
double CopyLoop(const Layout& l, char version, size_t first, size_t step) {
  const auto from = Clock::now();
  for (size_t i = first; i < l.count(); i += step) {
    if (!CopyFileW(l.StoreCopy(version, i).c_str(), l.GameFile(i).c_str(), FALSE)) {
      Fail("copy loop: CopyFileW to " + gen::Utf8Of(l.GameFile(i)) + ": " + LastErrorText());
    }
  }
  return Milliseconds(Clock::now() - from);
}

// The same, each copy made under a temporary name in a folder of the game
// folder, put on the disk and then moved over its game file.
double SafeLoop(const Layout& l, char version, size_t first, size_t step) {
  const stdfs::path folder = l.Game() / kLoopTempFolder;
  const auto from = Clock::now();
  if (!CreateDirectoryW(folder.c_str(), nullptr)) {
    Fail("safe loop: cannot make " + gen::Utf8Of(folder) + ": " + LastErrorText());
  }
  for (size_t i = first; i < l.count(); i += step) {
    const std::wstring& temp = l.LoopTemp(i);
    const std::wstring& target = l.GameFile(i);
    if (!CopyFileW(l.StoreCopy(version, i).c_str(), temp.c_str(), FALSE)) {
      Fail("safe loop: CopyFileW to " + gen::Utf8Of(temp) + ": " + LastErrorText());
    }
    HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) Fail("safe loop: cannot open " + gen::Utf8Of(temp));
    const bool flushed = FlushFileBuffers(h);
    CloseHandle(h);
    if (!flushed) Fail("safe loop: cannot flush " + gen::Utf8Of(temp) + ": " + LastErrorText());
    if (!MoveFileExW(temp.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      Fail("safe loop: MoveFileExW to " + gen::Utf8Of(target) + ": " + LastErrorText());
    }
  }
  if (!RemoveDirectoryW(folder.c_str())) {
    Fail("safe loop: cannot remove " + gen::Utf8Of(folder) + ": " + LastErrorText());
  }
  return Milliseconds(Clock::now() - from);
}

// GetFileAttributesExW of each store copy of `version` and of its game
// file, which must have the same size and time (the version is in place).
double LookUpLoop(const Layout& l, char version) {
  size_t inPlace = 0;
  const auto from = Clock::now();
  for (size_t i = 0; i < l.count(); ++i) {
    WIN32_FILE_ATTRIBUTE_DATA store, game;
    if (!GetFileAttributesExW(l.StoreCopy(version, i).c_str(), GetFileExInfoStandard, &store) ||
        !GetFileAttributesExW(l.GameFile(i).c_str(), GetFileExInfoStandard, &game)) {
      Fail("look-up loop: " + gen::Utf8Of(l.GameFile(i)) + ": " + LastErrorText());
    }
    if (store.nFileSizeLow == game.nFileSizeLow && store.nFileSizeHigh == game.nFileSizeHigh &&
        CompareFileTime(&store.ftLastWriteTime, &game.ftLastWriteTime) == 0) {
      ++inPlace;
    }
  }
  const double ms = Milliseconds(Clock::now() - from);
  if (inPlace != l.count()) {
    Fail("look-up loop: " + std::to_string(l.count() - inPlace) + " game files differ from " +
         std::string(1, version));
  }
  return ms;
}

// A way of doing one measurement's work, and its times.
struct Contender {
  std::string name;
  std::function<double()> run;
  std::vector<double> ms;
};

// Runs the contenders once a round, `runs` rounds, in turn, the order
// reversed every other round; `before` runs untimed before each run.
void TakeTurns(int runs, const char* what, std::vector<Contender>& contenders,
               const std::function<void()>& before) {
  for (int round = 0; round < runs; ++round) {
    std::string line = "  " + std::string(what) + ", round " + std::to_string(round + 1) + ":";
    for (size_t k = 0; k < contenders.size(); ++k) {
      Contender& c = contenders[round % 2 ? contenders.size() - 1 - k : k];
      before();
      c.ms.push_back(c.run());
      char figure[64];
      std::snprintf(figure, sizeof figure, " %s %.1f ms", c.name.c_str(), c.ms.back());
      line += figure;
    }
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
  }
}

// What one count's measurements came to, as lines to print.
std::vector<std::string> Measure(const stdfs::path& work, size_t count, int runs) {
  Layout l(work / (L"n" + std::to_wstring(count)), count);
  std::printf("\n%zu entries in one folder: %s\n", count, gen::Utf8Of(l.root()).c_str());
  std::fflush(stdout);
  const auto [written, flushed] = l.Make();
  std::printf(
      "  laid out (game folder, versions A, B and C) in %.1f s, put on the disk in %.1f s\n",
      written, flushed);
  std::fflush(stdout);

  CountingFileSystem fileSystem;
  CountingPrompts prompts;
  NoPicker picker;
  NoLauncher launcher;
  plover::Services services{fileSystem, prompts, picker, launcher, WithBackslash(l.Program())};
  plover::Journal journal(fileSystem, services.appDir);
  services.journal = &journal;
  QuietView view;
  view.gamePath = WithBackslash(l.Game());
  view.versions = {"A", "B", "C"};

  // ApplyVersion to `version`, which must copy `copies` files.
  const auto switchTo = [&](char version, size_t copies) -> double {
    const size_t copiedBefore = fileSystem.copies;
    const auto from = Clock::now();
    const plover::SwitchReport report =
        plover::ApplyVersion(services, view, std::string(1, version), plover::Scope::kAll);
    const double ms = Milliseconds(Clock::now() - from);
    if (report.outcome != plover::SwitchOutcome::kCompleted || prompts.shown != 0) {
      Fail("the switch to " + std::string(1, version) + " did not complete (" +
           std::to_string(report.notWritten.size()) + " entries not written, " +
           std::to_string(prompts.shown) + " message boxes)");
    }
    if (fileSystem.copies - copiedBefore != copies) {
      Fail("the switch to " + std::string(1, version) + " copied " +
           std::to_string(fileSystem.copies - copiedBefore) + " files, not " +
           std::to_string(copies));
    }
    if (Exists(l.Game() / plover::testing::PathFromUtf8(plover::fs::kTempSuffix)) ||
        Exists(plover::testing::PathFromUtf8(plover::Journal::PathIn(services.appDir)))) {
      Fail("the switch to " + std::string(1, version) + " left its temporaries or its journal");
    }
    return ms;
  };

  std::vector<std::string> lines;
  char line[512];
  const std::string head = std::to_string(count) + " entries";
  // Each measurement's line is printed now and kept for the summary.
  const auto say = [&] {
    lines.push_back(line);
    std::printf("%s\n", line);
  };

  // The game folder holds `held`; each run takes it to `other(held)`, and
  // the files it wrote are checked before the next.
  char held = 'A';
  size_t first = 0, step = 1;
  const auto settle = [&] { l.Settle(held, first, step); };
  const auto next = [&](char a, char b) {
    const char to = held == a ? b : a;
    held = to;
    return to;
  };

  // Full switches, between A and B.
  {
    std::vector<Contender> c;
    c.push_back({"switch", [&] { return switchTo(next('A', 'B'), count); }, {}});
    c.push_back({"copy loop", [&] { return CopyLoop(l, next('A', 'B'), 0, 1); }, {}});
    c.push_back({"safe loop", [&] { return SafeLoop(l, next('A', 'B'), 0, 1); }, {}});
    TakeTurns(runs, "full switch", c, settle);
    settle();
    const double sw = Median(c[0].ms), copy = Median(c[1].ms), safe = Median(c[2].ms);
    std::snprintf(line, sizeof line,
                  "%s, full switch: switch %.1f ms, copy loop %.1f ms, safe loop %.1f ms; "
                  "switch/copy loop %.2f, switch/safe loop %.2f",
                  head.c_str(), sw, copy, safe, sw / copy, sw / safe);
    say();
  }

  // Switches to the version installed, which find every file in place.
  {
    std::vector<Contender> c;
    c.push_back({"no-op switch", [&] { return switchTo(held, 0); }, {}});
    c.push_back({"look-up loop", [&] { return LookUpLoop(l, held); }, {}});
    TakeTurns(runs, "no-op switch", c, [] {});
    const double sw = Median(c[0].ms), look = Median(c[1].ms);
    std::snprintf(line, sizeof line,
                  "%s, no-op switch: no-op switch %.1f ms, look-up loop %.1f ms; "
                  "no-op/look-up loop %.2f",
                  head.c_str(), sw, look, sw / look);
    say();
  }

  // Half switches, between A and C: the odd entries change.
  {
    if (held != 'A') {
      CopyLoop(l, 'A', 0, 1);
      held = 'A';
      settle();
    }
    first = 1;
    step = 2;
    const size_t changed = count / 2;
    std::vector<Contender> c;
    c.push_back({"switch", [&] { return switchTo(next('A', 'C'), changed); }, {}});
    c.push_back(
        {"safe loop over the changed half", [&] { return SafeLoop(l, next('A', 'C'), 1, 2); }, {}});
    TakeTurns(runs, "half-changed switch", c, settle);
    settle();
    const double sw = Median(c[0].ms), safe = Median(c[1].ms);
    std::snprintf(line, sizeof line,
                  "%s, half-changed switch: switch %.1f ms, safe loop over the changed half "
                  "%.1f ms; switch/safe loop %.2f",
                  head.c_str(), sw, safe, sw / safe);
    say();
  }

  // Starts of Plover.exe, after a switch to B was killed half-way and
  // without one. The first half of the game files hold B, the rest A; the
  // entry between is the temporary, half written.
  {
    const stdfs::path plover = l.Program() / L"Plover.exe";
    CopyOver(ExecutableFolder() / L"Plover.exe", plover);
    // Two lines, CR LF after each; the paths are ASCII, as code page 936
    // keeps them.
    PutFile(l.Program() / L"ver.dat",
            WithBackslash(l.Game()) + "\r\n" + WithBackslash(l.Program() / L"replays") + "\r\n");
    const size_t cut = count / 2;
    for (size_t i = 0; i < count; ++i) CopyOver(l.StoreCopy(i < cut ? 'B' : 'A', i), l.GameFile(i));
    l.Settle([cut](size_t i) { return i < cut ? 'B' : 'A'; }, 0, 1);

    const stdfs::path journalFile = l.Program() / gen::PathFromUtf8(plover::kJournalFileName);
    const stdfs::path tempFolder = l.Game() / gen::PathFromUtf8(plover::fs::kTempSuffix);
    const std::string record = std::string(plover::kJournalHeader) + "\r\n" +
                               plover::journal_kind::kSwitch + "\t" + WithBackslash(l.Game()) +
                               "\tB\t" + plover::journal_kind::kInFolder + "\r\n";
    const auto killed = [&] {
      PutFile(journalFile, record);
      if (!CreateDirectoryW(tempFolder.c_str(), nullptr)) {
        Fail("cannot make " + gen::Utf8Of(tempFolder) + ": " + LastErrorText());
      }
      const std::string whole = Contents('B', cut);
      PutFile(tempFolder / (l.Name(cut) + gen::PathFromUtf8(plover::fs::kTempSuffix).wstring()),
              whole.substr(0, whole.size() / 2));
    };
    const auto start = [&](const char* what) {
      const double ms = plover::bench::TimeStart(plover, kPloverClass);
      if (ms < 0) Fail(std::string("Plover.exe did not start to its window (") + what + ")");
      if (Exists(journalFile) || Exists(tempFolder)) {
        Fail(std::string("Plover.exe left the journal or the temporary folder (") + what + ")");
      }
      return ms;
    };
    // One start of each that is not counted warms the file cache and Wine.
    killed();
    start("after a kill");
    start("normal");

    std::vector<Contender> c;
    c.push_back({"after a kill",
                 [&] {
                   killed();
                   return start("after a kill");
                 },
                 {}});
    c.push_back({"normal start", [&] { return start("normal"); }, {}});
    TakeTurns(runs, "start", c, [] {});
    const double afterKill = Median(c[0].ms), normal = Median(c[1].ms);
    std::snprintf(line, sizeof line,
                  "%s, start after a kill: after a kill %.1f ms, normal start %.1f ms; "
                  "after kill/normal %.2f",
                  head.c_str(), afterKill, normal, afterKill / normal);
    say();
  }
  std::fflush(stdout);
  return lines;
}

// "1000,10000" as counts; empty when the list is not made of positive numbers.
std::vector<size_t> ParseCounts(const std::wstring& text) {
  std::vector<size_t> counts;
  size_t from = 0;
  while (from <= text.size()) {
    size_t comma = text.find(L',', from);
    if (comma == std::wstring::npos) comma = text.size();
    const std::wstring part = text.substr(from, comma - from);
    if (part.empty() || part.find_first_not_of(L"0123456789") != std::wstring::npos ||
        part.size() > 9) {
      return {};
    }
    const size_t n = std::wcstoul(part.c_str(), nullptr, 10);
    if (n == 0) return {};
    counts.push_back(n);
    from = comma + 1;
  }
  return counts;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int runs = 5;
  std::vector<size_t> counts = {1000, 10000, 100000};
  bool keep = false;
  stdfs::path work;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--runs" && i + 1 < argc) {
      runs = std::max(1, _wtoi(argv[++i]));
    } else if (arg == L"--entries" && i + 1 < argc) {
      counts = ParseCounts(argv[++i]);
      if (counts.empty()) {
        std::fprintf(stderr, "--entries wants positive numbers separated by commas\n");
        return 2;
      }
    } else if (arg == L"--work" && i + 1 < argc) {
      work = stdfs::path(argv[++i]);
    } else if (arg == L"--keep") {
      keep = true;
    } else {
      std::fprintf(stderr,
                   "usage: bench_scale [--runs N] [--entries N,N,...] [--work FOLDER] [--keep]\n"
                   "unknown argument %s\n",
                   Utf8(argv[i]).c_str());
      return 2;
    }
  }
  if (work.empty()) work = DefaultWorkFolder(L"plover-scale-bench");
  std::printf("work folder: %s\n", gen::Utf8Of(work).c_str());

  int result = 0;
  std::vector<std::string> lines;
  for (const size_t count : counts) {
    try {
      const auto measured = Measure(work, count, runs);
      lines.insert(lines.end(), measured.begin(), measured.end());
    } catch (const std::exception& e) {
      std::fprintf(stderr, "bench_scale: %zu entries: %s\n", count, e.what());
      result = 1;
    }
    if (!keep) {
      std::error_code ec;
      stdfs::remove_all(work / (L"n" + std::to_wstring(count)), ec);
    }
    if (result != 0) break;
  }
  if (!keep) {
    // The work folder goes only when nothing else is in it.
    std::error_code ec;
    stdfs::remove(work, ec);
  }
  if (!lines.empty()) {
    std::printf("\nsummary (medians of %d run%s, ratios of the medians):\n", runs,
                runs == 1 ? "" : "s");
    for (const auto& l : lines) std::printf("%s\n", l.c_str());
  }
  return result;
}
