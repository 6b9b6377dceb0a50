// Code page 936 through the system's own tables. The code page is named
// explicitly, so the result does not depend on the user's ANSI code page.
#include <windows.h>

#include "common/text/codepage.h"
#include "common/text/codepage_platform.h"

namespace plover::text::platform {
namespace {
constexpr UINT kGbk = 936;
}

std::optional<std::string> EncodeGbk(std::string_view utf8) {
  if (utf8.empty()) return std::string();
  auto wide = Utf8ToUtf16(utf8);
  if (!wide) return std::nullopt;
  const auto* w = reinterpret_cast<const wchar_t*>(wide->data());
  const int wn = static_cast<int>(wide->size());
  BOOL usedDefault = FALSE;
  const int n =
      WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, w, wn, nullptr, 0, nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return std::nullopt;
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, w, wn, out.data(), n, nullptr, &usedDefault);
  if (usedDefault) return std::nullopt;
  return out;
}

std::optional<std::string> DecodeGbk(std::string_view gbk) {
  if (gbk.empty()) return std::string();
  const int gn = static_cast<int>(gbk.size());
  const int n = MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, gbk.data(), gn, nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::u16string wide(static_cast<size_t>(n), u'\0');
  MultiByteToWideChar(kGbk, MB_ERR_INVALID_CHARS, gbk.data(), gn,
                      reinterpret_cast<wchar_t*>(wide.data()), n);
  return Utf16ToUtf8(wide);
}

}  // namespace plover::text::platform
