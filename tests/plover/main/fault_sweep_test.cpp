// Every operation that writes files, run again and again on the in-memory
// file system: once with each of its file-system calls failing in turn (each
// kind of error, and a write cut off half-way), and once stopped at each call
// as a kill or a power loss would stop it, followed by the next start. After
// each run: every game file and store copy is whole, every version is whole
// and listed as the window said, no temporary of Plover's is left, and what
// the operation reported is what happened.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iostream>
#include <memory>
#include <set>

#include "plover/base/functions.h"
#include "plover/base/journal.h"
#include "plover/base/strings.h"
#include "plover/main/app.h"
#include "plover/main/replay.h"
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
  std::set<std::string> whole;  // every file content of the set-up

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
  void Put(const std::string& path, const std::string& bytes) {
    fs.PutFile(path, bytes);
    whole.insert(bytes);
  }
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

// The checks that hold after any run; violations are appended to `out`.
// A temporary may stay until the next start only when it was its own
// deletion that failed.
void CheckDisk(World& w, const std::string& where, std::vector<std::string>& out,
               bool restarted = true) {
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
      if (c && !w.whole.count(*c)) out.push_back(where + ": damaged " + path);
    }
  }
}

void CheckVersions(World& w, const std::vector<std::string>& listed, const std::string& where,
                   std::vector<std::string>& out) {
  const std::set<std::string> texts = {
      kEntries, kAdded, kRemoved, kImportBytes, "extra.dll\r\n", versions::AutoGenerateFileBytes(),
      ""};
  for (const auto& v : listed) {
    const auto bytes = w.fs.Contents(kApp + v + ".w3v");
    if (!bytes || !texts.count(*bytes)) {
      out.push_back(where + ": version file of " + v + " damaged");
      continue;
    }
    for (const auto& line : versions::SplitLines(*bytes)) {
      const auto c = w.fs.Contents(versions::StoreCopyPath(kApp, v, line));
      if (!c || !w.whole.count(*c)) out.push_back(where + ": " + v + " lost or damaged " + line);
    }
  }
}

// The next start, on the disk as the run left it.
std::vector<std::string> Restart(World& w) {
  ScriptedPrompts prompts;
  FakeMainView view;
  Services s{w.fs, prompts, w.picker, w.launcher, kApp, "Plover", &w.textPrompt, &w.filePicker};
  RunStartup(s, view, "");
  return view.versions;
}

TEST(FaultSweepTest, EveryFailureAndEveryKillLeavesEverythingWhole) {
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
  std::vector<std::string> violations;
  int runs = 0, points = 0;
  const auto ops = Operations();
  for (const auto& op : ops) {
    int calls = 0;
    {
      auto w = std::make_unique<World>();
      const int before = w->fs.TotalCalls();
      const std::string said = op.run(*w);
      calls = w->fs.TotalCalls() - before;
      if (!said.empty()) violations.push_back(op.name + ": fails without a fault: " + said);
      std::vector<std::string> listed = Restart(*w);
      if (Sorted(listed) != Sorted(op.after)) violations.push_back(op.name + ": wrong list");
      CheckDisk(*w, op.name + " clean", violations);
    }
    points += calls;
    for (int i = 0; i < calls; ++i) {
      for (const auto& k : kinds) {
        auto w = std::make_unique<World>();
        w->fs.FailCall(w->fs.TotalCalls() + i, k.code, k.half);
        const std::string where = op.name + " call " + std::to_string(i) + " " + k.name;
        const std::string said = op.run(*w);
        ++runs;
        if (said.starts_with("!")) violations.push_back(where + ": " + said);
        CheckDisk(*w, where, violations, /*restarted=*/false);
        const std::vector<std::string> shown = w->view.versions;
        const std::vector<std::string> listed = Restart(*w);
        if (Sorted(listed) != Sorted(shown)) {
          violations.push_back(where + ": the window listed other versions than the disk holds");
        }
        if (Sorted(listed) != Sorted(op.after) && Sorted(listed) != Sorted({"1.20", "1.21"})) {
          violations.push_back(where + ": neither before nor after");
        }
        CheckVersions(*w, listed, where, violations);
        CheckDisk(*w, where + " after restart", violations);
      }
      auto w = std::make_unique<World>();
      w->fs.KillAt(w->fs.TotalCalls() + i);
      const std::string where = op.name + " killed at call " + std::to_string(i);
      (void)op.run(*w);
      w->fs.Revive();
      ++runs;
      const std::vector<std::string> listed = Restart(*w);
      if (Sorted(listed) != Sorted(op.after) && Sorted(listed) != Sorted({"1.20", "1.21"})) {
        violations.push_back(where + ": neither before nor after");
      }
      CheckVersions(*w, listed, where, violations);
      CheckDisk(*w, where, violations);
      const auto settings = w->fs.Contents(kApp + "ver.dat");
      if (settings != kOldSettings && settings != kNewSettings) {
        violations.push_back(where + ": ver.dat damaged");
      }
    }
  }
  std::cout << "fault sweep: " << ops.size() << " operations, " << points << " call points, "
            << runs << " runs (" << std::size(kinds) << " error kinds and a kill at each point), "
            << violations.size() << " violations\n";
  for (size_t i = 0; i < violations.size() && i < 400; ++i)
    std::cout << "  " << violations[i] << "\n";
  EXPECT_EQ(violations.size(), 0u);
}

}  // namespace
}  // namespace plover::testing
