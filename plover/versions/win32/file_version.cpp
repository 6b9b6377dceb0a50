#include "plover/versions/win32/file_version.h"

#include <windows.h>

#include <vector>

#include "common/win32/late_bound.h"
#include "common/win32/wide.h"

namespace plover::versions {
namespace {

// version.dll is needed only when a replay is played: it is loaded then, not
// at start-up.
struct VersionApi {
  using SizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
  using InfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
  using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
  SizeFn size = nullptr;
  InfoFn info = nullptr;
  QueryFn query = nullptr;

  static const VersionApi& Get() {
    static const VersionApi api = [] {
      VersionApi a;
      a.size = win::LateBound<SizeFn>(L"version.dll", "GetFileVersionInfoSizeW");
      a.info = win::LateBound<InfoFn>(L"version.dll", "GetFileVersionInfoW");
      a.query = win::LateBound<QueryFn>(L"version.dll", "VerQueryValueW");
      return a;
    }();
    return api;
  }
};

}  // namespace

std::optional<ui::FileVersion> ReadFileVersion(const std::string& path) {
  const VersionApi& api = VersionApi::Get();
  if (!api.size || !api.info || !api.query) return std::nullopt;
  const auto wide = win::Wide(path);
  if (!wide) return std::nullopt;
  DWORD ignored = 0;
  const DWORD size = api.size(wide->c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<unsigned char> data(size);
  if (!api.info(wide->c_str(), 0, size, data.data())) return std::nullopt;
  void* fixed = nullptr;
  UINT length = 0;
  if (!api.query(data.data(), L"\\", &fixed, &length) || !fixed ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return std::nullopt;
  }
  const auto* f = static_cast<const VS_FIXEDFILEINFO*>(fixed);
  if (f->dwSignature != 0xFEEF04BD) return std::nullopt;
  return ui::FileVersion{HIWORD(f->dwFileVersionMS), LOWORD(f->dwFileVersionMS),
                         HIWORD(f->dwFileVersionLS), LOWORD(f->dwFileVersionLS)};
}

}  // namespace plover::versions
