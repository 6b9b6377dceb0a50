// The file operations on the real Windows file system.
#pragma once

#include "plover/base/file_system.h"

namespace plover::fs {

class Win32FileSystem : public FileSystem {
 public:
  Status GetFile(const std::string& path, FileInfo* info = nullptr) override;
  bool FolderExists(const std::string& path) override;
  Status ReadAll(const std::string& path, std::string& bytes) override;
  Status ReadPrefix(const std::string& path, size_t count, std::string& bytes) override;
  Status WriteAll(const std::string& path, std::string_view bytes) override;
  Status Copy(const std::string& from, const std::string& to) override;
  Status Move(const std::string& from, const std::string& to, bool replace) override;
  Status Delete(const std::string& path) override;
  Status ClearReadOnly(const std::string& path) override;
  Status CreateFolder(const std::string& path) override;
  Status DeleteFolder(const std::string& path) override;
  Status MoveFolder(const std::string& from, const std::string& to) override;
  Status Flush(const std::string& path) override;
  Status FlushCopy(const std::string& path) override;
  Status ListFiles(const std::string& dir, std::string_view pattern,
                   std::vector<std::string>& names) override;
  Status ListFolders(const std::string& dir, std::vector<std::string>& names) override;
  Status ListFilesAndFolders(const std::string& dir, std::string_view pattern,
                             std::vector<std::string>& files,
                             std::vector<std::string>& folders) override;
  std::string FullPathOf(const std::string& path) override;
};

// The error number for a Win32 error code.
int ErrorNumberOf(unsigned long win32Error);

}  // namespace plover::fs
