// What the benchmarks share: medians, folders, paths, and the stand-ins for
// the prompts, the picker and the launcher of a switch that runs unattended.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/win32/wide.h"
#include "common/win32/win32_util.h"
#include "plover/base/ui.h"
#include "tests/support/install_gen.h"

namespace plover::bench {

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

inline std::string Utf8(const wchar_t* text) {
  return plover::testing::Utf8Of(std::filesystem::path(text));
}

// The folder of the running benchmark.
inline std::filesystem::path ExecutableFolder() {
  const auto path = plover::win::ExecutablePath();
  return path ? std::filesystem::path(*plover::win::Wide(*path)).parent_path()
              : std::filesystem::path();
}

// `name` in the temporary folder.
inline std::filesystem::path DefaultWorkFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH + 1];
  const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
  return std::filesystem::path(std::wstring(temp, n)) / name;
}

inline std::string WithBackslash(const std::filesystem::path& folder) {
  std::string text = plover::testing::Utf8Of(folder);
  if (text.empty() || text.back() != '\\') text += '\\';
  return text;
}

// Any message box means the switch did not go as planned: note it, say no.
class CountingPrompts : public plover::ui::Prompts {
 public:
  int shown = 0;
  int MsgBox(const std::string& text, const std::string& title, unsigned) override {
    ++shown;
    std::fprintf(stderr, "message box: %s: %s\n", title.c_str(), text.c_str());
    return plover::ui::kIdNo;
  }
};

class NoPicker : public plover::ui::FolderPicker {
 public:
  std::string BrowseFolder(const std::string&) override { return std::string(); }
};

class NoLauncher : public plover::ui::Launcher {
 public:
  bool Start(const std::string&, const std::string&, int) override { return false; }
};

}  // namespace plover::bench
