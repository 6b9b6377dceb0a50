// ver.dat, read at every start:
// - each of the first two lines reads as itself when it is code page 936 and
//   as empty otherwise (a missing line reads as empty too), agreeing with a
//   plain reading written here;
// - what was read is written back unchanged: two lines, CR LF after each;
// - start-up reads what it can: whatever the file holds, it never ends in
//   "程序错误！", and it uses the directories the file gives (the program
//   directory and its "replays\" for the empty ones);
// - with no game directory anywhere and the folder picker cancelled, it shows
//   the window and opens no wizard.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/text/codepage.h"
#include "plover/base/strings.h"
#include "plover/main/settings.h"
#include "plover/main/startup.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/support/fake_main_view.h"
#include "tests/support/memory_fs.h"

namespace {

using namespace plover;

// The first `count` lines, each ended by CR LF, a lone CR or a lone LF.
std::vector<std::string> FirstLines(std::string_view bytes, size_t count) {
  std::vector<std::string> lines;
  std::string line;
  size_t i = 0;
  while (i < bytes.size() && lines.size() < count) {
    const char c = bytes[i++];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i < bytes.size() && bytes[i] == '\n') ++i;
      lines.push_back(line);
      line.clear();
    } else {
      line.push_back(c);
    }
  }
  if (lines.size() < count && !line.empty()) lines.push_back(line);
  while (lines.size() < count) lines.emplace_back();
  return lines;
}

class Prompts : public ui::Prompts {
 public:
  std::vector<std::string> texts;
  int MsgBox(const std::string& text, const std::string&, unsigned) override {
    texts.push_back(text);
    return ui::kIdOk;
  }
};

class Picker : public ui::FolderPicker {
 public:
  std::string BrowseFolder(const std::string&) override { return ""; }  // cancelled
};

class Launcher : public ui::Launcher {
 public:
  bool Start(const std::string&, const std::string&, int) override { return true; }
};

using View = plover::testing::FakeMainView;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const Settings read = ParseSettings(bytes);
  const std::vector<std::string> lines = FirstLines(bytes, 2);
  FUZZ_CHECK(read.gameDir == text::GbkToUtf8(lines[0]).value_or(""));
  FUZZ_CHECK(read.replayDir == text::GbkToUtf8(lines[1]).value_or(""));

  const auto written = SerializeSettings(read);
  FUZZ_CHECK(written.has_value());
  const Settings again = ParseSettings(*written);
  FUZZ_CHECK(again.gameDir == read.gameDir && again.replayDir == read.replayDir);
  if (text::GbkToUtf8(lines[0]) && text::GbkToUtf8(lines[1])) {
    FUZZ_CHECK(*written == lines[0] + "\r\n" + lines[1] + "\r\n");
  }

  testing::MemoryFileSystem fs;
  fs.PutFile("C:\\P\\war3.exe", "exe");
  fs.PutFile("C:\\P\\ver.dat", bytes);
  Prompts prompts;
  Picker picker;
  Launcher launcher;
  Services s{fs, prompts, picker, launcher, "C:\\P\\"};
  View view;
  const StartupResult result = RunStartup(s, view, "");
  FUZZ_CHECK(result == StartupResult::kShowWindow);
  for (const auto& text : prompts.texts) FUZZ_CHECK(text != text_of::kProgramError);
  FUZZ_CHECK(view.gamePath == (read.gameDir.empty() ? "C:\\P\\" : read.gameDir));
  FUZZ_CHECK(view.replayPath == (read.replayDir.empty() ? "C:\\P\\replays\\" : read.replayDir));

  (void)fs.Delete("C:\\P\\war3.exe");
  fs.PutFile("C:\\P\\ver.dat", bytes);
  View cancelled;
  FUZZ_CHECK(RunStartup(s, cancelled, "") == StartupResult::kShowWindow);
  FUZZ_CHECK(cancelled.wizardCaptions.empty());
  return 0;
}
