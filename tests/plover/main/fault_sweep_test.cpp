// Every operation that writes files, run again and again on the in-memory
// file system: once with each of its file-system calls failing in turn (each
// kind of error, and a write cut off half-way), and once stopped at each call
// as a kill or a power loss would stop it, followed by the next start, which
// is itself stopped at each of its calls in turn. After each run: every game
// file holds its own old or new content, every version is wholly old or
// wholly new and listed as the window said, no store folder is left that no
// version owns, no temporary of Plover's is left, and what the operation
// reported is what happened. Recovery with a part of it left out must fail
// these checks.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <optional>

#include "plover/base/functions.h"
#include "plover/base/journal.h"
#include "plover/base/strings.h"
#include "plover/main/commands.h"
#include "plover/main/recovery.h"
#include "plover/main/replay_watch.h"
#include "plover/main/startup.h"
#include "plover/main/switch_engine.h"
#include "plover/versions/editor.h"
#include "plover/versions/version_file.h"
#include "plover/versions/wizard.h"
#include "tests/support/fakes.h"

namespace plover::testing {
namespace {

using versions::kAutoGenerateList;

const std::string kApp = "C:\\P\\";
const std::string kGame = "D:\\War3\\";
const std::string kReplays = "C:\\P\\replays\\";
const std::string kImportFile = "D:\\share\\x.w3v";
const std::string kImportBytes = "Game.dll\r\nStorm.dll\r\n";
const std::string kEntries = "Game.dll\r\nWar3.exe\r\nMaps\\(4)LostTemple.w3m\r\n";
const std::string kAdded = kEntries + "extra.dll\r\n";
const std::string kRemoved = "Game.dll\r\nWar3.exe\r\n";
const std::string kOldSettings = "D:\\War3\\\r\n\r\n";
const std::string kNewSettings = "D:\\War3\\\r\nE:\\R\\\r\n";

class FixedClock : public Clock {
 public:
  LocalTime Now() override { return {2007, 3, 16, 14, 5, 9}; }
};

struct World : TestWorld {
  Journal journal{fs, kApp};
  versions::VersionEditor editor{services, view};
  FakeWizardView wiz;
  versions::NewVersionWizard wizard{services, view, wiz};
  FixedClock clock;
  ReplayWatch watch;

  World() {
    services.journal = &journal;
    for (int i = 0; i < 40; ++i) prompts.answers.push_back(ui::kIdYes);
    Put(kApp + "ver.dat", kOldSettings);
    for (const auto& e : kAutoGenerateList) Put(kGame + e.entry, "game " + std::string(e.entry));
    Put(kGame + "war3.exe", "game war3.exe");
    Put(kGame + "extra.dll", "game extra.dll");
    Put(kGame + "replay\\LastReplay.w3g", "a replay of some length");
    for (const std::string v : {"1.20", "1.21"}) {
      Put(kApp + v + ".w3v", kEntries);
      for (const std::string f : {"Game.dll", "War3.exe", "(4)LostTemple.w3m"}) {
        Put(kApp + v + "\\" + f, "store " + v + " " + f);
      }
    }
    Put(kApp + "1.20loader.bat", "loader");
    Put(kImportFile, kImportBytes);
    fs.MakeFolders(kReplays);
    view.gamePath = kGame;
    view.replayPath = kReplays;
    view.versions = {"1.20", "1.21"};
    view.selected = 0;
  }
  void Put(const std::string& path, const std::string& bytes) { fs.PutFile(path, bytes); }
};

struct Operation {
  std::string name;
  std::vector<std::string> after;  // the versions listed once it succeeded
  // Runs the operation; returns what it says went wrong ("" when it says it
  // succeeded... or a violation of its own truth, prefixed "!").
  std::function<std::string(World&)> run;
};

std::string Auto(World& w, const std::string& name) {
  w.wiz.versionText = name;
  w.wiz.mode = versions::WizardMode::kAutoGenerate;
  w.wizard.OnNext();
  return w.wiz.info.ends_with("完成") ? "" : "failed: " + w.wiz.info;
}

std::string Import(World& w, const std::string& name) {
  w.wiz.versionText = name;
  w.wiz.fileText = kImportFile;
  w.wiz.mode = versions::WizardMode::kImport;
  w.wizard.OnNext();
  return w.wiz.info.ends_with("完成") ? "" : "failed: " + w.wiz.info;
}

// What a wizard that says it is done must have made.
std::string BuiltTruth(World& w, const std::string& name, const std::string& bytes,
                       const std::string& said) {
  if (w.wiz.info == "正在制作中....请稍侯") return "!wizard left at work in progress";
  if (!said.empty()) return said;
  if (w.fs.Contents(kApp + name + ".w3v") != bytes) return "!said done, version file differs";
  for (const auto& line : versions::SplitLines(bytes)) {
    const auto c = w.fs.Contents(versions::StoreCopyPath(kApp, name, line));
    const std::string source = line == "War3.exe" ? "war3.exe" : line;
    if (c != w.fs.Contents(kGame + source)) return "!said done, store copy differs: " + line;
  }
  return "";
}

// A version file that seemed missing gives an empty list that saving writes
// anew: the editor then says nothing of what it held.
std::string EditorSave(World& w) {
  const bool loadFailed = !w.prompts.boxes.empty();
  const bool saved = w.editor.Save();
  if (loadFailed) return saved ? "load failed" : "failed after a failed load";
  if (!saved) return "failed";
  for (const auto& b : w.prompts.boxes) {
    if (b.text.starts_with("以下文件未能复制")) return "not copied";
  }
  return "";
}

std::vector<Operation> Operations() {
  std::vector<Operation> ops;
  ops.push_back({"switch", {"1.20", "1.21"}, [](World& w) -> std::string {
                   const SwitchReport r = ApplyVersion(w.services, w.view, "1.21", Scope::kAll);
                   if (r.outcome != SwitchOutcome::kCompleted) {
                     return w.view.status == text_of::kSwitched ? "!incomplete, said done"
                                                                : "incomplete";
                   }
                   if (w.view.status != text_of::kSwitched) return "!done, not said";
                   for (const std::string e : {"Game.dll", "War3.exe", "Maps\\(4)LostTemple.w3m"}) {
                     // The player agreed to go on without a missing store copy.
                     const std::string asked =
                         text_of::kMissingFileBefore + FileNameOf(e) + text_of::kMissingFileAfter;
                     if (std::any_of(w.prompts.boxes.begin(), w.prompts.boxes.end(),
                                     [&](const Box& b) { return b.text == asked; })) {
                       if (w.fs.Exists(versions::StoreCopyPath(kApp, "1.21", e)) &&
                           w.fs.FailedOp() != Op::kGetFile) {
                         return "!asked about a store copy that is there: " + e;
                       }
                       continue;
                     }
                     if (w.fs.Contents(kGame + e) !=
                         w.fs.Contents(versions::StoreCopyPath(kApp, "1.21", e))) {
                       return "!said switched, game file differs: " + e;
                     }
                   }
                   return "";
                 }});
  ops.push_back({"auto-generate new", {"1.20", "1.21", "1.30"}, [](World& w) {
                   return BuiltTruth(w, "1.30", versions::AutoGenerateFileBytes(), Auto(w, "1.30"));
                 }});
  ops.push_back({"auto-generate overwrite", {"1.20", "1.21"}, [](World& w) {
                   return BuiltTruth(w, "1.20", versions::AutoGenerateFileBytes(), Auto(w, "1.20"));
                 }});
  ops.push_back({"import new", {"1.20", "1.21", "1.40"}, [](World& w) {
                   return BuiltTruth(w, "1.40", kImportBytes, Import(w, "1.40"));
                 }});
  ops.push_back({"import overwrite", {"1.20", "1.21"}, [](World& w) {
                   return BuiltTruth(w, "1.20", kImportBytes, Import(w, "1.20"));
                 }});
  ops.push_back({"expert mode", {"1.20", "1.21", "1.50"}, [](World& w) -> std::string {
                   w.wiz.versionText = "1.50";
                   w.wiz.mode = versions::WizardMode::kExpert;
                   w.wizard.OnNext();
                   return "";
                 }});
  ops.push_back({"editor add", {"1.20", "1.21"}, [](World& w) -> std::string {
                   w.editor.Open(versions::VersionEditor::kEditCaption, "1.20");
                   w.editor.Load();
                   w.filePicker.answers = {kGame + "extra.dll", kGame + "x"};
                   w.editor.AddFiles();
                   const std::string said = EditorSave(w);
                   if (said == "failed" && w.fs.Contents(kApp + "1.20.w3v") != kEntries) {
                     return "!save failed, version file changed";
                   }
                   if (said.empty() && (w.fs.Contents(kApp + "1.20.w3v") != kAdded ||
                                        w.fs.Contents(kApp + "1.20\\extra.dll") !=
                                            w.fs.Contents(kGame + "extra.dll"))) {
                     return "!saved, but the added file is not stored";
                   }
                   return said;
                 }});
  ops.push_back({"editor remove", {"1.20", "1.21"}, [](World& w) -> std::string {
                   w.editor.Open(versions::VersionEditor::kEditCaption, "1.20");
                   w.editor.Load();
                   w.editor.RemoveEntries({2});
                   const std::string said = EditorSave(w);
                   if (said.empty() && w.fs.Contents(kApp + "1.20.w3v") != kRemoved) {
                     return "!saved, version file differs";
                   }
                   if (said == "failed" && w.fs.Contents(kApp + "1.20.w3v") != kEntries) {
                     return "!save failed, version file changed";
                   }
                   return said;
                 }});
  ops.push_back({"editor rename", {"1.21", "1.22"}, [](World& w) -> std::string {
                   w.editor.Open(versions::VersionEditor::kEditCaption, "1.20");
                   w.editor.Load();
                   w.textPrompt.answers = {"1.22"};
                   w.editor.Rename();
                   const std::string said = EditorSave(w);
                   // The loader follows quietly, when it can.
                   if (said.empty() && !w.fs.Exists(kApp + "1.20loader.bat") &&
                       !w.fs.Exists(kApp + "1.22loader.bat")) {
                     return "!renamed, the loader is gone";
                   }
                   return said;
                 }});
  ops.push_back({"delete", {"1.21"}, [](World& w) -> std::string {
                   CmdDeleteVersion(w.services, w.view);
                   return "";
                 }});
  ops.push_back({"ver.dat save", {"1.20", "1.21"}, [](World& w) -> std::string {
                   w.view.replayPath = "E:\\R\\";
                   const bool saved = SaveSettings(w.services, w.view);
                   const auto now = w.fs.Contents(kApp + "ver.dat");
                   if (saved && now != kNewSettings) return "!said saved, ver.dat differs";
                   if (!saved && now != kOldSettings) return "!not saved, ver.dat changed";
                   if (!saved && w.prompts.boxes.empty()) return "!not saved, not told";
                   return saved ? "" : "failed";
                 }});
  ops.push_back({"replay tick", {"1.20", "1.21"}, [](World& w) -> std::string {
                   const std::string saved = ReplayCopyName(kReplays, w.clock.Now());
                   if (ReplayTick(w.fs, w.clock, w.watch, kGame, kReplays, &w.journal)) {
                     return w.fs.Contents(saved) == w.fs.Contents(kGame + "replay\\LastReplay.w3g")
                                ? ""
                                : "!said saved, replay differs";
                   }
                   // A replay that could not be saved is tried again.
                   w.fs.ClearFailures();
                   w.fs.FailCall(-1, 0);
                   if (w.fs.Killed()) return "failed";
                   if (!ReplayTick(w.fs, w.clock, w.watch, kGame, kReplays, &w.journal)) {
                     return "!a replay not saved is not tried again";
                   }
                   return "failed once";
                 }});
  return ops;
}

bool IsTemporary(const std::string& path) {
  const std::string up = fs::UpperAscii(path);
  return up.ends_with(".PLOVER-TMP") || up.ends_with(".PLOVER-NEW") ||
         up.ends_with(".PLOVER-OLD") || up.ends_with("\\PLOVER.JOURNAL");
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

using Files = std::map<std::string, std::optional<std::string>>;

// A version as it stands: its version file and the store copy of each line.
using VersionState = std::optional<std::pair<std::string, std::vector<std::optional<std::string>>>>;

VersionState StateOf(World& w, const std::string& name) {
  const auto bytes = w.fs.Contents(kApp + name + ".w3v");
  if (!bytes) return std::nullopt;
  std::vector<std::optional<std::string>> copies;
  for (const auto& line : versions::SplitLines(*bytes)) {
    copies.push_back(w.fs.Contents(versions::StoreCopyPath(kApp, name, line)));
  }
  return std::make_pair(*bytes, copies);
}

// What the disk holds before an operation, or after it ran without a fault:
// the game's and the replays' files, and every version that exists.
struct Picture {
  Files files;
  std::map<std::string, VersionState> versions;
};

Picture PictureOf(World& w) {
  Picture p;
  for (const std::string& dir : {kGame, kReplays}) {
    for (const auto& path : w.fs.Below(dir)) p.files[fs::UpperAscii(path)] = w.fs.Contents(path);
  }
  std::vector<std::string> names;
  if (w.fs.ListFiles(kApp, "*.w3v", names).ok()) {
    for (const auto& n : names) {
      const std::string v = VersionNameOf(n);
      p.versions[v] = StateOf(w, v);
    }
  }
  return p;
}

std::optional<std::string> Get(const Files& files, const std::string& path) {
  const auto it = files.find(fs::UpperAscii(path));
  return it == files.end() ? std::nullopt : it->second;
}

// The checks that hold after any run; violations are appended to `out`.
// A temporary may stay until the next start only when it was its own
// deletion that failed. Every file of the game and of the replays holds its
// own content from before or from after the operation, never another's.
void CheckDisk(World& w, const Picture& before, const Picture& after, const std::string& where,
               std::vector<std::string>& out, bool restarted = true) {
  const auto failed = w.fs.FailedOp();
  const bool cleanupFailed = failed == Op::kDelete || failed == Op::kDeleteFolder;
  for (const std::string root : {"C:\\", "D:\\", "E:\\"}) {
    for (const auto& path : w.fs.Below(root)) {
      if (IsTemporary(path) && (restarted || !cleanupFailed))
        out.push_back(where + ": left " + path);
    }
  }
  for (const std::string& dir : {kGame, kReplays}) {
    for (const auto& path : w.fs.Below(dir)) {
      const auto c = w.fs.Contents(path);
      if (c && c != Get(before.files, path) && c != Get(after.files, path) && !IsTemporary(path)) {
        out.push_back(where + ": damaged " + path);
      }
    }
  }
}

// Every listed version is whole as it was before, or whole as the operation
// makes it; after the editor told that it could not find the version file,
// the version holds what the editor then showed, every line with its store
// copy (`told`). No store folder stays that no version owns.
void CheckVersions(World& w, const std::vector<std::string>& listed, const Picture& before,
                   const Picture& after, bool told, const std::string& where,
                   std::vector<std::string>& out) {
  for (const auto& v : listed) {
    const VersionState now = StateOf(w, v);
    const auto was = before.versions.find(v);
    const auto will = after.versions.find(v);
    const bool asBefore = was != before.versions.end() && was->second == now;
    const bool asAfter = will != after.versions.end() && will->second == now;
    const bool shown = told && now &&
                       std::all_of(now->second.begin(), now->second.end(),
                                   [](const auto& c) { return c.has_value(); });
    if (!asBefore && !asAfter && !shown) {
      out.push_back(where + ": " + v + " is neither old nor new");
    }
  }
  std::vector<std::string> folders;
  if (!w.fs.ListFolders(kApp, folders).ok()) return;
  for (const auto& f : folders) {
    const bool owned = fs::EqualsNoCase(f, "replays") ||
                       std::any_of(listed.begin(), listed.end(),
                                   [&](const std::string& v) { return fs::EqualsNoCase(v, f); });
    if (!owned) out.push_back(where + ": store folder " + f + " that no version owns");
  }
}

// The next start, on the disk as the run left it.
std::vector<std::string> Restart(World& w, const RecoverySteps& recovery = {}) {
  ScriptedPrompts prompts;
  FakeMainView view;
  Services s{w.fs, prompts, w.picker, w.launcher, kApp, "Plover", &w.textPrompt, &w.filePicker};
  StartFully(s, view, "", recovery);
  return view.versions;
}

// What a sweep found.
struct Sweep {
  int runs = 0;
  int points = 0;
  int recoveryPoints = 0;
  std::vector<std::string> violations;
};

// Runs every operation failed at each call with each kind of error (unless
// `killsOnly`), and killed at each call followed by the next start; with
// `killRecovery`, that start is itself killed at each of its calls and the
// one after it checked. Recovery does what `recovery` lets it.
Sweep RunSweep(const RecoverySteps& recovery, bool killsOnly, bool killRecovery) {
  struct Kind {
    const char* name;
    int code;
    bool half;
  };
  // A sharing violation comes back as the same number as access denied.
  const Kind kinds[] = {{"access denied or sharing violation", fs::kPermissionDenied, false},
                        {"disk full", fs::kDiskFull, false},
                        {"not found", fs::kFileNotFound, false},
                        {"half-written", fs::kDiskFull, true}};
  Sweep sweep;
  auto& violations = sweep.violations;
  const std::vector<std::string> initial = {"1.20", "1.21"};
  for (const auto& op : Operations()) {
    int calls = 0;
    Picture before, after;
    {
      auto w = std::make_unique<World>();
      before = PictureOf(*w);
      const int first = w->fs.TotalCalls();
      const std::string said = op.run(*w);
      calls = w->fs.TotalCalls() - first;
      if (!said.empty()) violations.push_back(op.name + ": fails without a fault: " + said);
      const std::vector<std::string> listed = Restart(*w);
      if (Sorted(listed) != Sorted(op.after)) violations.push_back(op.name + ": wrong list");
      after = PictureOf(*w);
      CheckDisk(*w, before, after, op.name + " clean", violations);
    }
    const auto checkRestarted = [&](World& w, const std::vector<std::string>& listed, bool told,
                                    const std::string& where) {
      if (Sorted(listed) != Sorted(op.after) && Sorted(listed) != Sorted(initial)) {
        violations.push_back(where + ": neither before nor after");
      }
      CheckVersions(w, listed, before, after, told, where, violations);
      CheckDisk(w, before, after, where, violations);
      const auto settings = w.fs.Contents(kApp + "ver.dat");
      if (settings != kOldSettings && settings != kNewSettings) {
        violations.push_back(where + ": ver.dat damaged");
      }
    };
    sweep.points += calls;
    for (int i = 0; i < calls; ++i) {
      for (const auto& k : kinds) {
        if (killsOnly) break;
        auto w = std::make_unique<World>();
        w->fs.FailCall(w->fs.TotalCalls() + i, k.code, k.half);
        const std::string where = op.name + " call " + std::to_string(i) + " " + k.name;
        const std::string said = op.run(*w);
        ++sweep.runs;
        if (said.starts_with("!")) violations.push_back(where + ": " + said);
        CheckDisk(*w, before, after, where, violations, /*restarted=*/false);
        const std::vector<std::string> shown = w->view.versions;
        const std::vector<std::string> listed = Restart(*w, recovery);
        if (Sorted(listed) != Sorted(shown)) {
          violations.push_back(where + ": the window listed other versions than the disk holds");
        }
        checkRestarted(*w, listed, said.starts_with("load failed"), where + " after restart");
      }
      const auto killed = [&] {
        auto w = std::make_unique<World>();
        w->fs.KillAt(w->fs.TotalCalls() + i);
        (void)op.run(*w);
        w->fs.Revive();
        return w;
      };
      const std::string where = op.name + " killed at call " + std::to_string(i);
      auto w = killed();
      ++sweep.runs;
      const bool interrupted = w->fs.Exists(Journal::PathIn(kApp));
      const int first = w->fs.TotalCalls();
      checkRestarted(*w, Restart(*w, recovery), false, where);
      // Recovery itself killed at each of its calls: the start after it
      // finishes the work.
      if (!killRecovery || !interrupted) continue;
      const int recoveryCalls = w->fs.TotalCalls() - first;
      sweep.recoveryPoints += recoveryCalls;
      for (int j = 0; j < recoveryCalls; ++j) {
        auto again = killed();
        again->fs.KillAt(again->fs.TotalCalls() + j);
        (void)Restart(*again, recovery);
        again->fs.Revive();
        ++sweep.runs;
        checkRestarted(*again, Restart(*again, recovery), false,
                       where + ", its recovery killed at call " + std::to_string(j));
      }
    }
  }
  return sweep;
}

TEST(FaultSweepTest, EveryFailureAndEveryKillLeavesEverythingWhole) {
  const Sweep sweep = RunSweep({}, /*killsOnly=*/false, /*killRecovery=*/true);
  std::cout << "fault sweep: " << Operations().size() << " operations, " << sweep.points
            << " call points and " << sweep.recoveryPoints << " in recovery, " << sweep.runs
            << " runs (4 error kinds and a kill at each point), " << sweep.violations.size()
            << " violations\n";
  for (size_t i = 0; i < sweep.violations.size() && i < 400; ++i)
    std::cout << "  " << sweep.violations[i] << "\n";
  EXPECT_EQ(sweep.violations.size(), 0u);
}

// The sweep sees each kind of interrupted work that recovery would leave
// unfinished.
TEST(FaultSweepTest, SeesEveryPartOfRecoveryThatIsLeftOut) {
  struct Mutant {
    const char* name;
    RecoverySteps steps;
  };
  const Mutant mutants[] = {{"no build roll-forward", {true, false, true, true}},
                            {"no rename roll-forward", {true, true, false, true}},
                            {"no delete roll-forward", {true, true, true, false}},
                            {"journal ignored", {false, true, true, true}}};
  for (const auto& m : mutants) {
    const Sweep sweep = RunSweep(m.steps, /*killsOnly=*/true, /*killRecovery=*/false);
    std::cout << "fault sweep with " << m.name << ": " << sweep.violations.size()
              << " violations in " << sweep.runs << " runs\n";
    EXPECT_GT(sweep.violations.size(), 0u) << m.name;
  }
}

}  // namespace
}  // namespace plover::testing
