// The tooltip of a notification-area icon is at most 63 bytes in its code
// page 936 form. The cut is made here, without any Win32 call, so that it can
// be checked on any platform.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace plover::tray {

inline constexpr std::size_t kTipBytes = 63;

// The longest beginning of `utf8` whose code page 936 form takes at most
// `limit` bytes, made of whole characters: a double-byte character that would
// straddle the limit is left out entirely. A character that has no code page
// 936 form counts as two bytes. Malformed UTF-8 ends the tip where it starts.
// The length in bytes of that beginning.
std::size_t TipLength(std::string_view utf8, std::size_t limit = kTipBytes);
inline std::string CutTip(std::string_view utf8, std::size_t limit = kTipBytes) {
  return std::string(utf8.data(), TipLength(utf8, limit));
}

}  // namespace plover::tray
