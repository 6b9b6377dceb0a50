// The new-version wizard: registers a version made from the current
// installation (auto-generate), from someone else's version file (import), or
// empty for the editor (expert mode).
#pragma once

#include <string>
#include <vector>

#include "plover/base/main_view.h"
#include "plover/base/services.h"
#include "plover/versions/store_builder.h"

namespace plover::versions {

enum class WizardMode { kAutoGenerate, kImport, kExpert };

// The wizard window as its logic sees it.
class WizardView {
 public:
  virtual ~WizardView() = default;
  virtual std::string Caption() const = 0;
  virtual std::string VersionText() const = 0;  // txtVer
  virtual void SetVersionText(const std::string& text) = 0;
  virtual std::string FileText() const = 0;  // txtFile
  virtual void SetFileText(const std::string& text) = 0;
  virtual std::string Info() const = 0;  // lbInfo
  virtual void SetInfo(const std::string& text) = 0;
  virtual WizardMode Mode() const = 0;
  virtual void EnableInput(bool enabled) = 0;
  virtual void SetNextEnabled(bool enabled) = 0;  // btnOK
  virtual void SetCancelCaption(const std::string& text) = 0;
  virtual void Close() = 0;
  // Asks the opener to show the editor, with this caption and version name,
  // once the wizard has closed.
  virtual void OpenEditorAfterClose(const std::string& caption, const std::string& name) = 0;
};

// The fifteen files of a full installation, in version-file order.
struct AutoEntry {
  const char* entry;
  const char* storeName;
  int copyOrder;
};
extern const AutoEntry kAutoGenerateList[15];

// The version file that auto-generate writes (342 bytes).
std::string AutoGenerateFileBytes();

class NewVersionWizard {
 public:
  NewVersionWizard(Services& services, MainView& main, WizardView& view)
      : s_(services), main_(main), view_(view) {}

  // The mode's instruction for lbInfo.
  static const char* InstructionFor(WizardMode mode);
  // True when the caption opens the wizard as the first-start welcome.
  static bool IsWelcome(const std::string& caption);

  // The window became active: in welcome mode, asks for the name (once) and
  // auto-generates at once.
  void OnActivate();
  void OnPickFile();  // btnFile
  void OnNext();      // btnOK

 private:
  bool AutoGenerate(const std::string& name, int overwrittenIndex);
  bool Import(const std::string& name, int overwrittenIndex);
  void Expert(const std::string& name, int overwrittenIndex);
  void Finish(const std::string& name, int overwrittenIndex);
  // lbInfo tells the failure; the files missing from the game directory,
  // if that was it, are listed in a box.
  void ShowBuildFailure(BuildResult r, const std::vector<std::string>& missing);
  bool RefuseBadName(const std::string& name);

  Services& s_;
  MainView& main_;
  WizardView& view_;
  bool welcomed_ = false;
};

}  // namespace plover::versions
