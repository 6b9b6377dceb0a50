// How long Plover takes to start against a bare window with the same controls
// (bare_window.exe), and how much private memory each holds once idle.
//
// Lays out a program folder in a work folder: a copy of Plover.exe, ver.dat
// naming a small synthetic game installation (of flavour 1.24), and
// --versions ready versions (2 unless told), v001, v002, ..., of flavours
// 1.20 and 1.24 in turn; in it, beside Plover.exe, a copy of bare_window.exe
// (under Wine a program started from a folder of many entries pays for that
// folder before its first line runs, whatever it does). Each program
// is started once to warm the file cache and Wine, then the two take turns
// (each going first every other round). A start is timed from CreateProcess
// until the process waits for input (WaitForInputIdle) with its main window
// shown (timed_start.h); the window is then given a moment, its idle private
// memory read, and it is closed (WM_CLOSE) and waited for.
//
//   bench_startup [--runs N] [--versions N] [--work FOLDER] [--keep]
//
// Private memory is the process's anonymous resident memory (RssAnon of
// /proc/<pid>/status) under Wine, where PrivateUsage only repeats the
// virtual size; on Windows it is PrivateUsage.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/timed_start.h"
#include "common/win32/wide.h"
#include "common/win32/win32_util.h"
#include "tests/support/install_gen.h"

namespace {

using namespace plover::bench;

namespace stdfs = std::filesystem;
using Clock = std::chrono::steady_clock;
namespace gen = plover::testing;

// The class of Plover's main window (plover/main/win32/frm_main.h).
constexpr const wchar_t* kPloverClass = L"PloverMain";

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

bool IsDigits(const std::wstring& s) {
  return !s.empty() &&
         std::all_of(s.begin(), s.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

std::string ReadAll(const stdfs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// Under Wine: the anonymous resident kilobytes of the live Linux process
// whose first argument is `exe` (a Wine process shows its Windows command
// line), -1 when there is no such process or /proc cannot be read.
long AnonymousResidentKb(const stdfs::path& exe) {
  std::error_code ec;
  const std::string wanted = Lower(gen::Utf8Of(exe));
  long found = -1;
  for (stdfs::directory_iterator it(L"Z:\\proc", ec), end; !ec && it != end; it.increment(ec)) {
    const std::wstring name = it->path().filename().wstring();
    if (!IsDigits(name)) continue;
    const std::string cmdline = ReadAll(it->path() / L"cmdline");
    if (Lower(cmdline.substr(0, cmdline.find('\0'))) != wanted) continue;
    const std::string status = ReadAll(it->path() / L"status");
    if (status.find("State:\tZ") != std::string::npos) continue;
    const size_t at = status.find("RssAnon:");
    if (at == std::string::npos) continue;
    found = std::strtol(status.c_str() + at + 8, nullptr, 10);
  }
  return found;
}

bool UnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

struct Start {
  double ms = -1;
  double privateMb = -1;
};

// Starts `exe`, times it to its shown, idle window (of `windowClass`, any for
// nullptr), reads its idle private memory and closes it.
Start TimeStart(const stdfs::path& exe, const wchar_t* windowClass) {
  Start result;
  result.ms = plover::bench::TimeStart(exe, windowClass, [&](HANDLE process) {
    // Whatever the start left to do in the message loop is done.
    Sleep(300);
    WaitForInputIdle(process, plover::bench::kStartTimeoutMs);
    if (UnderWine()) {
      const long kb = AnonymousResidentKb(exe);
      if (kb >= 0) result.privateMb = kb / 1024.0;
    } else {
      PROCESS_MEMORY_COUNTERS_EX counters{};
      counters.cb = sizeof counters;
      if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                               sizeof counters)) {
        result.privateMb = static_cast<double>(counters.PrivateUsage) / (1024.0 * 1024.0);
      }
    }
  });
  return result;
}

void WriteSettings(const stdfs::path& prog, const stdfs::path& game) {
  // Two lines, CR LF after each; the paths are ASCII, as code page 936 keeps them.
  std::ofstream out(prog / L"ver.dat", std::ios::binary);
  out << WithBackslash(game) << "\r\n" << WithBackslash(prog / L"replays") << "\r\n";
}

// The name of the `index`th version (from 1) of `count`: v001, v002, ...
std::string VersionName(int index, int count) {
  const size_t width = std::max<size_t>(3, std::to_string(count).size());
  std::string digits = std::to_string(index);
  return "v" + std::string(width - std::min(width, digits.size()), '0') + digits;
}

int Run(int runs, int versions, const stdfs::path& work) {
  const stdfs::path here = ExecutableFolder();
  const stdfs::path prog = work / L"prog";
  const stdfs::path game = work / L"game";
  std::printf("work folder: %s\n", gen::Utf8Of(work).c_str());

  std::error_code ec;
  stdfs::remove_all(work, ec);
  stdfs::create_directories(prog);
  stdfs::copy_file(here / L"Plover.exe", prog / L"Plover.exe");
  stdfs::copy_file(here / L"bare_window.exe", prog / L"bare_window.exe");
  gen::InstallOptions installed;
  installed.flavour = "1.24";
  gen::InstallOptions older = installed;
  older.flavour = "1.20";
  gen::CreateGameInstallation(game, installed);
  const auto madeFrom = Clock::now();
  for (int i = 1; i <= versions; ++i) {
    gen::CreateReadyVersion(prog, VersionName(i, versions), i % 2 ? older : installed);
  }
  WriteSettings(prog, game);
  std::printf("laid out %d version%s in %.1f s\n", versions, versions == 1 ? "" : "s",
              Milliseconds(Clock::now() - madeFrom) / 1000);

  const stdfs::path plover = prog / L"Plover.exe";
  const stdfs::path baseline = prog / L"bare_window.exe";
  // One start of each that is not counted: the file cache, the fonts and
  // Wine's own start-up are then warm for both.
  if (TimeStart(baseline, nullptr).ms < 0 || TimeStart(plover, kPloverClass).ms < 0) return 1;

  std::vector<double> bareMs, ploverMs, ratios, bareMb, ploverMb;
  for (int i = 0; i < runs; ++i) {
    Start b, p;
    if (i % 2 == 0) {
      b = TimeStart(baseline, nullptr);
      p = TimeStart(plover, kPloverClass);
    } else {
      p = TimeStart(plover, kPloverClass);
      b = TimeStart(baseline, nullptr);
    }
    if (b.ms < 0 || p.ms < 0) return 1;
    std::printf("run %2d: bare window %6.1f ms %5.2f MB   Plover %6.1f ms %5.2f MB\n", i + 1, b.ms,
                b.privateMb, p.ms, p.privateMb);
    std::fflush(stdout);
    bareMs.push_back(b.ms);
    ploverMs.push_back(p.ms);
    ratios.push_back(p.ms / b.ms);
    if (b.privateMb > 0) bareMb.push_back(b.privateMb);
    if (p.privateMb > 0) ploverMb.push_back(p.privateMb);
  }
  const double bareMedian = Median(bareMs), ploverMedian = Median(ploverMs);
  std::printf("\nstart-up with %d version%s (median of %d): bare window %.1f ms, Plover %.1f ms\n",
              versions, versions == 1 ? "" : "s", runs, bareMedian, ploverMedian);
  std::printf("start-up ratio: %.2f (median of the rounds' ratios %.2f)\n",
              ploverMedian / bareMedian, Median(ratios));
  if (!bareMb.empty() && !ploverMb.empty()) {
    const double bm = Median(bareMb), pm = Median(ploverMb);
    std::printf("idle private memory (%s): bare window %.2f MB, Plover %.2f MB\n",
                UnderWine() ? "anonymous resident" : "private bytes", bm, pm);
    std::printf("memory ratio: %.2f\n", pm / bm);
  } else {
    std::printf("idle private memory: not readable\n");
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int runs = 21;
  int versions = 2;
  stdfs::path work = DefaultWorkFolder(L"plover-startup-bench");
  bool keep = false;
  for (int i = 1; i < argc; ++i) {
    const std::wstring a = argv[i];
    if (a == L"--runs" && i + 1 < argc) {
      runs = std::max(1, _wtoi(argv[++i]));
    } else if (a == L"--versions" && i + 1 < argc) {
      versions = std::max(1, _wtoi(argv[++i]));
    } else if (a == L"--work" && i + 1 < argc) {
      work = argv[++i];
    } else if (a == L"--keep") {
      keep = true;
    } else {
      std::fprintf(stderr,
                   "usage: bench_startup [--runs N] [--versions N] [--work FOLDER] [--keep]\n");
      return 2;
    }
  }
  int code = 1;
  try {
    code = Run(runs, versions, work);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_startup: %s\n", e.what());
  }
  if (!keep) {
    std::error_code ec;
    stdfs::remove_all(work, ec);
  }
  return code;
}
