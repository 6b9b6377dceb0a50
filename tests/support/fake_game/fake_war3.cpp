// A stand-in for war3.exe. Every start appends one line to war3-started.txt
// in the folder of the program file:
//
//   <command line> TAB <working directory> TAB <start time> CR LF
//
// in UTF-8, the command line exactly as GetCommandLineW gives it and the time
// as local "YYYY-MM-DD hh:mm:ss.mmm". Then it exits at once with code 0,
// unless the environment asks otherwise:
//
//   FAKE_WAR3_STAY_MS=<n>   stay alive n milliseconds before exiting
//   FAKE_WAR3_HOLD=<a;b>    while staying, hold these files (relative to the
//                           program's folder, or full paths) open the way a
//                           running game does: others may read them, nobody
//                           may write, rename or delete them
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return std::wstring();
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring FolderOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring CurrentDirectory() {
  const DWORD n = GetCurrentDirectoryW(0, nullptr);
  if (n == 0) return std::wstring();
  std::wstring dir(n, L'\0');
  const DWORD got = GetCurrentDirectoryW(n, dir.data());
  dir.resize(got < n ? got : 0);
  return dir;
}

std::wstring Environment(const wchar_t* name) {
  const DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
  if (n == 0) return std::wstring();
  std::wstring value(n, L'\0');
  const DWORD got = GetEnvironmentVariableW(name, value.data(), n);
  value.resize(got < n ? got : 0);
  return value;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::string StartTime() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char buf[32];
  wsprintfA(buf, "%04u-%02u-%02u %02u:%02u:%02u.%03u", t.wYear, t.wMonth, t.wDay, t.wHour,
            t.wMinute, t.wSecond, t.wMilliseconds);
  return buf;
}

// Appends the line in one write; another start at the same moment may hold
// the file for a moment, so try again for a while.
void AppendLine(const std::wstring& file, const std::string& line) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    HANDLE h = CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(h);
      return;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION) return;
    Sleep(20);
  }
}

std::vector<HANDLE> HoldFiles(const std::wstring& folder, const std::wstring& list) {
  std::vector<HANDLE> held;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(L';', start);
    if (end == std::wstring::npos) end = list.size();
    std::wstring name = list.substr(start, end - start);
    start = end + 1;
    if (name.empty()) continue;
    const bool full = name.size() > 1 && (name[1] == L':' || name[0] == L'\\');
    if (!full) name = folder + name;
    HANDLE h = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) held.push_back(h);
  }
  return held;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  const std::wstring folder = FolderOf(ModulePath());
  const std::string line =
      Utf8(GetCommandLineW()) + "\t" + Utf8(CurrentDirectory()) + "\t" + StartTime() + "\r\n";
  AppendLine(folder + L"war3-started.txt", line);

  const std::wstring stay = Environment(L"FAKE_WAR3_STAY_MS");
  if (!stay.empty()) {
    const std::vector<HANDLE> held = HoldFiles(folder, Environment(L"FAKE_WAR3_HOLD"));
    Sleep(static_cast<DWORD>(wcstoul(stay.c_str(), nullptr, 10)));
    for (HANDLE h : held) CloseHandle(h);
  }
  return 0;
}
