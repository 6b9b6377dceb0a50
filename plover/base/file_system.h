// The file operations that all version work rests on. Paths are UTF-8 text
// with "\" separators, exactly as the program builds them; names are found
// without regard to letter case, as on the Windows file system.
//
// Failures carry the classic file-system error numbers. Callers tell apart
// only kFileNotFound (53) and kFileAlreadyExists (58); every other failure is
// "something else went wrong" to them, but keeps its own number for reports.
// A path that is not well-formed UTF-8 names no file: kBadFileName (52).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plover::fs {

inline constexpr int kOk = 0;
inline constexpr int kFileNotFound = 53;
inline constexpr int kDeviceIoError = 57;
inline constexpr int kFileAlreadyExists = 58;
inline constexpr int kDiskFull = 61;
inline constexpr int kPermissionDenied = 70;  // a sharing violation, a file in use or read-only
inline constexpr int kAccessDenied = 77;      // the folder or disk refuses writes
inline constexpr int kPathFileAccessError = 75;
inline constexpr int kPathNotFound = 76;
inline constexpr int kBadFileName = 52;

struct [[nodiscard]] Status {
  int code = kOk;
  constexpr bool ok() const noexcept { return code == kOk; }
  constexpr bool is(int c) const noexcept { return code == c; }
};

struct FileInfo {
  uint64_t size = 0;
  int64_t lastWrite = 0;  // an opaque, comparable time stamp
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Looks up an existing file (not a folder). kFileNotFound when missing.
  virtual Status GetFile(const std::string& path, FileInfo* info = nullptr) = 0;
  // True when a folder exists at `path`.
  virtual bool FolderExists(const std::string& path) = 0;

  // Reads a whole file. kFileNotFound when missing.
  virtual Status ReadAll(const std::string& path, std::string& bytes) = 0;
  // Reads the first `count` bytes of a file, or the whole file when it is
  // shorter; nothing past them is read. kFileNotFound when missing.
  virtual Status ReadPrefix(const std::string& path, size_t count, std::string& bytes) {
    const Status s = ReadAll(path, bytes);
    if (s.ok() && bytes.size() > count) bytes.resize(count);
    return s;
  }
  // Creates or replaces a file with exactly `bytes`. Creates no folders.
  virtual Status WriteAll(const std::string& path, std::string_view bytes) = 0;

  // Copies a file, replacing a file of that name at `to`. Creates no folders:
  // a missing target folder fails with kFileAlreadyExists.
  virtual Status Copy(const std::string& from, const std::string& to) = 0;
  // Renames or moves a file. With `replace`, an existing file at `to` is
  // replaced in one step; without it, an existing target fails with 58.
  virtual Status Move(const std::string& from, const std::string& to, bool replace) = 0;
  virtual Status Delete(const std::string& path) = 0;
  // Takes the read-only attribute off a file; a file without it is left as it
  // is. kFileNotFound when there is no such file.
  virtual Status ClearReadOnly(const std::string& path) = 0;

  // Creates a folder; an existing one fails with kFileAlreadyExists.
  virtual Status CreateFolder(const std::string& path) = 0;
  // Deletes a folder with everything in it.
  virtual Status DeleteFolder(const std::string& path) = 0;
  // Renames or moves a folder with its contents.
  virtual Status MoveFolder(const std::string& from, const std::string& to) = 0;

  // Puts a file's data on the disk itself, so that a power loss after the
  // file has been moved into place cannot leave it short.
  virtual Status Flush(const std::string& path) = 0;
  // A copy just made: its data put on the disk, as Flush does, and its
  // read-only attribute, which it takes from its source, taken off.
  virtual Status FlushCopy(const std::string& path) {
    Status s = ClearReadOnly(path);
    if (s.ok()) s = Flush(path);
    return s;
  }

  // Names (not paths) of the files in `dir` matching a "*.ext" style pattern,
  // sorted without regard to case. A missing folder fails.
  virtual Status ListFiles(const std::string& dir, std::string_view pattern,
                           std::vector<std::string>& names) = 0;
  // Names of the sub-folders of `dir`, sorted without regard to case.
  virtual Status ListFolders(const std::string& dir, std::vector<std::string>& names) = 0;
  // Both at once: a system that can lists the folder only once.
  virtual Status ListFilesAndFolders(const std::string& dir, std::string_view pattern,
                                     std::vector<std::string>& files,
                                     std::vector<std::string>& folders) {
    Status s = ListFiles(dir, pattern, files);
    if (s.ok()) s = ListFolders(dir, folders);
    return s;
  }

  // The full path of a path given relative to the current directory; an
  // absolute path unchanged.
  virtual std::string FullPathOf(const std::string& path) { return path; }
};

// Copies `from` over `to` without ever leaving a damaged target: the data is
// written under a temporary name beside the target and then moved over it,
// so a failed copy leaves the old file whole and no temporary behind. The
// target is never read-only, even when `from` is (a store copy from a CD):
// a read-only game file could not be replaced by the next switch.
//
// With a `tempFolder` (an existing folder on the target's volume) the
// temporary is made there instead. Some file systems look up a name that
// does not exist yet among all the names of its folder, so a new name in a
// folder of its own stays quick however large the target's folder is. A
// missing target folder still fails with kFileAlreadyExists, as Copy does.
Status SafeCopy(FileSystem& fs, const std::string& from, const std::string& to,
                const std::string& tempFolder = std::string());

// The name of the temporaries' suffix, and of a folder for temporaries.
inline constexpr std::string_view kTempSuffix = ".plover-tmp";

// Replaces `path` with `bytes` the same way: all or nothing.
Status SafeWrite(FileSystem& fs, const std::string& path, std::string_view bytes);

// Matches a file name against a pattern of '*' and '?' without regard to case.
bool MatchesPattern(std::string_view name, std::string_view pattern);

// ASCII letters folded to upper case; other bytes unchanged.
std::string UpperAscii(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool LessNoCase(std::string_view a, std::string_view b);

}  // namespace plover::fs
