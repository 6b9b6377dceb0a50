// An in-memory file system for tests. Names are compared without regard to
// letter case and keep the case they were created with, as on Windows. Any
// operation can be made to fail with a chosen error number, and files can be
// "held open" by another program so that nothing can replace or delete them.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "plover/base/file_system.h"

namespace plover::testing {

enum class Op {
  kGetFile,
  kRead,
  kWrite,
  kCopy,
  kMove,
  kDelete,
  kCreateFolder,
  kDeleteFolder,
  kMoveFolder,
  kListFiles,
  kListFolders,
  kFlush,
  kClearReadOnly,
};

class MemoryFileSystem : public fs::FileSystem {
 public:
  MemoryFileSystem();

  // Test set-up: folders are made with all their parents.
  void MakeFolders(const std::string& path);
  void PutFile(const std::string& path, const std::string& bytes);
  std::optional<std::string> Contents(const std::string& path) const;
  bool Exists(const std::string& path) const;
  // Every path below `folder` (files and folders), in their stored case.
  std::vector<std::string> Below(const std::string& folder) const;

  // The `skip`+1-th matching call of `op` fails with `code`, and so do the
  // next `times`-1 ones (times < 0: every one from then on). An empty path
  // matches every call; otherwise the path given to the call (either side of
  // a copy or move) must equal it, without regard to case.
  void Fail(Op op, const std::string& path, int code, int skip = 0, int times = 1);
  void ClearFailures();
  // The `index`-th call of any operation (counted from 0 over all of them,
  // see TotalCalls) fails with `code`. With `halfWritten`, a write or copy
  // first leaves the first half of its data at its target, as a disk that
  // fills up in the middle of a write does.
  void FailCall(int index, int code, bool halfWritten = false);
  // A kill or a power loss at the `index`-th call: that call and every later
  // one fails (error 57) and changes nothing, except that a write or copy
  // cut off leaves the first half of its data at its target. Revive ends
  // the kill, as the next start of the program would.
  void KillAt(int index);
  bool Killed() const { return killed_; }
  void Revive();
  // The operation of the call that FailCall made fail, once it has failed.
  std::optional<Op> FailedOp() const { return failedOp_; }
  // Calls of every operation so far.
  int TotalCalls() const { return total_; }
  // A file held open by another program: it can be read and copied, but not
  // written, replaced, moved or deleted (error 70).
  void Hold(const std::string& path);
  // The read-only attribute, as a file copied from a CD carries it: such a
  // file can be read, copied and moved, but not written, replaced or deleted
  // (error 70). A copy carries the attribute to its target, as CopyFileW does.
  void SetReadOnly(const std::string& path, bool on = true);
  bool IsReadOnly(const std::string& path) const;

  // Operations that changed something, one line each: "copy A -> B".
  const std::vector<std::string>& Log() const { return log_; }
  int CallCount(Op op) const;
  // Bytes handed out by ReadAll and ReadPrefix so far.
  uint64_t BytesRead() const { return bytesRead_; }

  fs::Status GetFile(const std::string& path, fs::FileInfo* info) override;
  bool FolderExists(const std::string& path) override;
  fs::Status ReadAll(const std::string& path, std::string& bytes) override;
  // Fails as ReadAll does (Op::kRead).
  fs::Status ReadPrefix(const std::string& path, size_t count, std::string& bytes) override;
  fs::Status WriteAll(const std::string& path, std::string_view bytes) override;
  fs::Status Copy(const std::string& from, const std::string& to) override;
  fs::Status Move(const std::string& from, const std::string& to, bool replace) override;
  fs::Status Delete(const std::string& path) override;
  fs::Status CreateFolder(const std::string& path) override;
  fs::Status DeleteFolder(const std::string& path) override;
  fs::Status MoveFolder(const std::string& from, const std::string& to) override;
  fs::Status ListFiles(const std::string& dir, std::string_view pattern,
                       std::vector<std::string>& names) override;
  fs::Status ListFolders(const std::string& dir, std::vector<std::string>& names) override;
  fs::Status Flush(const std::string& path) override;
  fs::Status ClearReadOnly(const std::string& path) override;

  // Advances the clock that stamps written files.
  void Tick() { ++clock_; }
  // Gives a file another last-write time, as a program writing it would.
  void Touch(const std::string& path);

 private:
  struct Node {
    std::string path;  // as created
    bool folder = false;
    std::string data;
    int64_t stamp = 0;
    bool held = false;
    bool readOnly = false;
    // Neither written, replaced nor deleted.
    bool Locked() const { return held || readOnly; }
  };
  struct Rule {
    Op op;
    std::string key;
    int code;
    int skip;
    int times;
  };

  static std::string Key(const std::string& path);
  static std::string ParentKey(const std::string& key);
  std::optional<int> Injected(Op op, const std::string& a, const std::string& b = "");
  // True when the current call (just counted by Injected) is to leave half
  // of its data at its target before it fails.
  bool CutsOffWrite() const { return cutOff_; }
  void LeaveHalf(const std::string& path, const std::string& data);
  Node* Find(const std::string& path);
  const Node* Find(const std::string& path) const;
  bool ParentExists(const std::string& path) const;
  std::vector<std::string> KeysBelow(const std::string& key) const;

  std::map<std::string, Node> nodes_;
  std::vector<Rule> rules_;
  std::vector<std::string> log_;
  std::map<Op, int> calls_;
  int total_ = 0;
  int failAt_ = -1;
  int failAtCode_ = 0;
  bool failAtHalf_ = false;
  std::optional<Op> failedOp_;
  int killAt_ = -1;
  bool killed_ = false;
  bool cutOff_ = false;
  int64_t clock_ = 1;
  uint64_t bytesRead_ = 0;
};

}  // namespace plover::testing
