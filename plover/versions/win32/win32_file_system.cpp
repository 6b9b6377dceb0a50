#include "plover/versions/win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>

#include "common/win32/owned.h"
#include "common/win32/wide.h"
#include "plover/base/functions.h"

namespace plover::fs {

int ErrorNumberOf(unsigned long e) {
  switch (e) {
    case ERROR_SUCCESS:
      return kOk;
    case ERROR_FILE_NOT_FOUND:
      return kFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
      return kPathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return kAccessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
      return kPermissionDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return kDiskFull;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return kFileAlreadyExists;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
      return kBadFileName;
    case ERROR_NOT_READY:
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
      return kDeviceIoError;
    default:
      return kPathFileAccessError;
  }
}

namespace {

Status LastError() {
  return {ErrorNumberOf(GetLastError())};
}

// A path as Windows takes it; nullopt when it cannot convert, which the
// operations report as a bad file name.
std::optional<std::wstring> Wide(const std::string& path) {
  return win::Wide(path);
}
constexpr Status kBadName{kBadFileName};

DWORD AttributesOf(const std::string& path) {
  const auto w = Wide(path);
  return w ? GetFileAttributesW(w->c_str()) : INVALID_FILE_ATTRIBUTES;
}

bool IsFile(const std::string& path) {
  const DWORD a = AttributesOf(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::string& path) {
  const DWORD a = AttributesOf(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ParentOf(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

// Names in `dir` matching `pattern`; folders or files as asked.
// The files of `dir` matching `pattern` into `files`, and its sub-folders
// into `folders`; either may be null when it is not wanted.
Status List(const std::string& dir, std::string_view pattern, std::vector<std::string>* files,
            std::vector<std::string>* folders) {
  if (files) files->clear();
  if (folders) folders->clear();
  if (!IsFolder(dir)) return {kPathNotFound};
  const auto all = Wide(AddBackslash(dir) + "*");
  if (!all) return kBadName;
  WIN32_FIND_DATAW fd;
  win::UniqueFind find(FindFirstFileW(all->c_str(), &fd));
  if (!find) {
    const DWORD e = GetLastError();
    return e == ERROR_FILE_NOT_FOUND || e == ERROR_NO_MORE_FILES ? Status{}
                                                                 : Status{ErrorNumberOf(e)};
  }
  do {
    const bool isFolder = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    std::vector<std::string>* names = isFolder ? folders : files;
    if (!names) continue;
    // A name that cannot convert is left out: no path the program builds
    // can name that file.
    const auto converted = win::Utf8(fd.cFileName);
    if (!converted) continue;
    const std::string& name = *converted;
    if (name == "." || name == "..") continue;
    // The pattern is matched against the long name only: the system's own
    // matching also looks at short 8.3 names, so "*.w3v" would find "a.w3vx".
    if (isFolder || MatchesPattern(name, pattern)) names->push_back(name);
  } while (FindNextFileW(find.get(), &fd));
  const auto sorted = [](std::vector<std::string>* names) {
    if (names) {
      std::sort(names->begin(), names->end(),
                [](const auto& a, const auto& b) { return LessNoCase(a, b); });
    }
  };
  sorted(files);
  sorted(folders);
  return {};
}

}  // namespace

Status Win32FileSystem::GetFile(const std::string& path, FileInfo* info) {
  const auto w = Wide(path);
  if (!w) return kBadName;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(w->c_str(), GetFileExInfoStandard, &data)) {
    const Status s = LastError();
    return s.is(kPathNotFound) ? Status{kFileNotFound} : s;
  }
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return {kFileNotFound};
  if (info) {
    info->size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    info->lastWrite =
        static_cast<int64_t>((static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                             data.ftLastWriteTime.dwLowDateTime);
  }
  return {};
}

bool Win32FileSystem::FolderExists(const std::string& path) {
  return IsFolder(path);
}

namespace {

// Opens an existing file for reading, as every reader here does; a missing
// folder on the way is a missing file.
Status OpenForReading(const std::string& path, win::UniqueFile& file) {
  const auto w = Wide(path);
  if (!w) return kBadName;
  file.reset(CreateFileW(w->c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const Status s = LastError();
    return s.is(kPathNotFound) ? Status{kFileNotFound} : s;
  }
  return {};
}

// Appends at most `limit` bytes of `file` to `bytes`, stopping at its end.
Status ReadUpTo(HANDLE file, size_t limit, std::string& bytes) {
  char buf[64 * 1024];
  while (limit > 0) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(limit, sizeof buf));
    if (!::ReadFile(file, buf, want, &got, nullptr)) return LastError();
    if (got == 0) break;
    bytes.append(buf, got);
    limit -= got;
  }
  return {};
}

}  // namespace

Status Win32FileSystem::ReadAll(const std::string& path, std::string& bytes) {
  win::UniqueFile file;
  if (const Status s = OpenForReading(path, file); !s.ok()) return s;
  bytes.clear();
  return ReadUpTo(file.get(), SIZE_MAX, bytes);
}

Status Win32FileSystem::ReadPrefix(const std::string& path, size_t count, std::string& bytes) {
  win::UniqueFile file;
  if (const Status s = OpenForReading(path, file); !s.ok()) return s;
  bytes.clear();
  return ReadUpTo(file.get(), count, bytes);
}

Status Win32FileSystem::WriteAll(const std::string& path, std::string_view bytes) {
  const auto w = Wide(path);
  if (!w) return kBadName;
  win::UniqueFile file(CreateFileW(w->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return LastError();
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
    DWORD wrote = 0;
    if (!::WriteFile(file.get(), bytes.data() + done, chunk, &wrote, nullptr)) return LastError();
    done += wrote;
  }
  if (!FlushFileBuffers(file.get())) return LastError();
  return {};
}

Status Win32FileSystem::Copy(const std::string& from, const std::string& to) {
  const auto wFrom = Wide(from);
  const auto wTo = Wide(to);
  if (!wFrom || !wTo) return kBadName;
  if (::CopyFileW(wFrom->c_str(), wTo->c_str(), FALSE)) return {};
  const Status s = LastError();
  if (!IsFile(from)) return {kFileNotFound};
  // The copy creates no folders: a missing target folder is reported as 58.
  if (!IsFolder(ParentOf(to))) return {kFileAlreadyExists};
  return s.is(kFileNotFound) || s.is(kPathNotFound) ? Status{kPathFileAccessError} : s;
}

Status Win32FileSystem::Move(const std::string& from, const std::string& to, bool replace) {
  const auto wFrom = Wide(from);
  const auto wTo = Wide(to);
  if (!wFrom || !wTo) return kBadName;
  // A read-only file is never replaced (some systems would let a rename
  // replace it silently).
  if (replace) {
    const DWORD a = AttributesOf(to);
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY)) return {kPermissionDenied};
  }
  // The move is on the disk before the call returns, so that a power loss
  // never undoes it after later steps relied on it.
  const DWORD flags =
      (replace ? MOVEFILE_REPLACE_EXISTING : 0) | MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH;
  if (MoveFileExW(wFrom->c_str(), wTo->c_str(), flags)) return {};
  const Status s = LastError();
  if (!IsFile(from)) return {kFileNotFound};
  return s;
}

Status Win32FileSystem::Flush(const std::string& path) {
  const auto w = Wide(path);
  if (!w) return kBadName;
  // A read-only file (a copy from a CD) cannot be opened for writing: its
  // attribute is lifted for the flush and then put back.
  const DWORD a = AttributesOf(path);
  const bool readOnly = a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
  if (readOnly && !SetFileAttributesW(w->c_str(), a & ~DWORD{FILE_ATTRIBUTE_READONLY})) {
    return LastError();
  }
  Status s;
  {
    win::UniqueFile file(CreateFileW(w->c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || !FlushFileBuffers(file.get())) s = LastError();
  }
  if (readOnly) (void)SetFileAttributesW(w->c_str(), a);
  return s;
}

Status Win32FileSystem::FlushCopy(const std::string& path) {
  const auto w = Wide(path);
  if (!w) return kBadName;
  // Nearly every copy is writable: the handle opened for the flush tells so
  // without another look-up by name. A read-only one is refused (or, where
  // the system lets its administrator open it, shows the attribute) and
  // then has the attribute taken off first.
  {
    const win::UniqueFile file(CreateFileW(w->c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    // The basic information alone: the full one costs a look at the volume.
    FILE_BASIC_INFO info{};
    if (file && GetFileInformationByHandleEx(file.get(), FileBasicInfo, &info, sizeof info) &&
        !(info.FileAttributes & FILE_ATTRIBUTE_READONLY)) {
      return FlushFileBuffers(file.get()) ? Status{} : LastError();
    }
    if (!file && GetLastError() != ERROR_ACCESS_DENIED) return LastError();
  }
  return FileSystem::FlushCopy(path);
}

Status Win32FileSystem::Delete(const std::string& path) {
  const auto w = Wide(path);
  if (!w) return kBadName;
  if (::DeleteFileW(w->c_str())) return {};
  const Status s = LastError();
  return s.is(kPathNotFound) ? Status{kFileNotFound} : s;
}

Status Win32FileSystem::ClearReadOnly(const std::string& path) {
  const auto w = Wide(path);
  if (!w) return kBadName;
  const DWORD a = GetFileAttributesW(w->c_str());
  if (a == INVALID_FILE_ATTRIBUTES) {
    const Status s = LastError();
    return s.is(kPathNotFound) ? Status{kFileNotFound} : s;
  }
  if (a & FILE_ATTRIBUTE_DIRECTORY) return {kFileNotFound};
  if (!(a & FILE_ATTRIBUTE_READONLY)) return {};
  // No attributes at all must be asked for as "normal".
  const DWORD rest = a & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
  if (SetFileAttributesW(w->c_str(), rest ? rest : FILE_ATTRIBUTE_NORMAL)) return {};
  return LastError();
}

Status Win32FileSystem::CreateFolder(const std::string& path) {
  const auto w = Wide(path);
  if (!w) return kBadName;
  if (CreateDirectoryW(w->c_str(), nullptr)) return {};
  return LastError();
}

Status Win32FileSystem::DeleteFolder(const std::string& path) {
  const auto w = Wide(path);
  if (!w) return kBadName;
  if (!IsFolder(path)) return {kPathNotFound};
  Status first;
  std::vector<std::string> files, folders;
  if (List(path, "*", &files, &folders).ok()) {
    for (const auto& n : files) {
      const Status s = Delete(AddBackslash(path) + n);
      if (!s.ok() && first.ok()) first = s;
    }
    for (const auto& n : folders) {
      const Status s = DeleteFolder(AddBackslash(path) + n);
      if (!s.ok() && first.ok()) first = s;
    }
  }
  if (!RemoveDirectoryW(w->c_str()) && first.ok()) first = LastError();
  return first;
}

Status Win32FileSystem::MoveFolder(const std::string& from, const std::string& to) {
  const auto wFrom = Wide(from);
  const auto wTo = Wide(to);
  if (!wFrom || !wTo) return kBadName;
  if (!IsFolder(from)) return {kPathNotFound};
  if (MoveFileExW(wFrom->c_str(), wTo->c_str(), MOVEFILE_WRITE_THROUGH)) return {};
  return LastError();
}

Status Win32FileSystem::ListFiles(const std::string& dir, std::string_view pattern,
                                  std::vector<std::string>& names) {
  return List(dir, pattern, &names, nullptr);
}

Status Win32FileSystem::ListFolders(const std::string& dir, std::vector<std::string>& names) {
  return List(dir, "*", nullptr, &names);
}

Status Win32FileSystem::ListFilesAndFolders(const std::string& dir, std::string_view pattern,
                                            std::vector<std::string>& files,
                                            std::vector<std::string>& folders) {
  return List(dir, pattern, &files, &folders);
}

std::string Win32FileSystem::FullPathOf(const std::string& path) {
  const auto wide = Wide(path);
  if (!wide) return path;
  const DWORD n = GetFullPathNameW(wide->c_str(), 0, nullptr, nullptr);
  if (n == 0) return path;
  std::wstring full(n, L'\0');
  const DWORD got = GetFullPathNameW(wide->c_str(), n, full.data(), nullptr);
  if (got == 0 || got >= n) return path;
  full.resize(got);
  return win::Utf8(full).value_or(path);
}

}  // namespace plover::fs
