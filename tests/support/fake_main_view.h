// A main window that records what the program's logic told it, for tests,
// fuzz targets and benchmarks alike: it needs no test framework.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "plover/base/main_view.h"

namespace plover::testing {

class FakeMainView : public MainView {
 public:
  std::string gamePath;
  std::string replayPath;
  std::string status;
  bool enabled = true;
  std::vector<bool> enableCalls;  // every EnableInput call, in order
  std::vector<std::string> versions;
  int selected = -1;
  std::vector<std::string> marked;  // every MarkInstalled call, in order
  std::vector<std::string> wizardCaptions;
  std::function<void()> onWizard;  // runs while the wizard is "open"
  // Every SwitchProgress call, in order, and what runs at each.
  std::vector<std::pair<size_t, size_t>> progress;
  std::function<void(size_t done, size_t total)> onProgress;

  std::string GamePath() const override { return gamePath; }
  void SetGamePath(const std::string& path) override { gamePath = path; }
  std::string ReplayPath() const override { return replayPath; }
  void SetReplayPath(const std::string& path) override { replayPath = path; }
  std::string Status() const override { return status; }
  void SetStatus(const std::string& text) override { status = text; }
  void EnableInput(bool on) override {
    enabled = on;
    enableCalls.push_back(on);
  }
  void SwitchProgress(size_t done, size_t total) override {
    progress.emplace_back(done, total);
    if (onProgress) onProgress(done, total);
  }
  std::vector<std::string> Versions() const override { return versions; }
  void ListVersions(const std::vector<std::string>& names) override {
    versions = names;
    selected = -1;
  }
  void AddVersion(const std::string& name) override { versions.push_back(name); }
  void RemoveVersion(int index) override {
    versions.erase(versions.begin() + index);
    if (selected == index) selected = -1;
    if (selected > index) --selected;
  }
  void RenameVersion(int index, const std::string& name) override {
    versions[static_cast<size_t>(index)] = name;
  }
  int SelectedIndex() const override { return selected; }
  void SelectVersion(int index) override { selected = index; }
  void MarkInstalled(const std::string& name) override { marked.push_back(name); }
  void ShowNewVersionWizard(const std::string& caption) override {
    wizardCaptions.push_back(caption);
    if (onWizard) onWizard();
  }
};

}  // namespace plover::testing
