// The code page 936 width of one character through the system's tables,
// without allocating.
#include <windows.h>

#include "common/text/codepage.h"

namespace plover::text {

std::size_t GbkWidthOf(std::string_view character) {
  char16_t units[2];
  std::size_t count = 0;
  if (!OneCharacterUtf16(character, units, count)) return 0;
  char gbk[8];
  BOOL usedDefault = FALSE;
  const int n =
      WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, reinterpret_cast<const wchar_t*>(units),
                          static_cast<int>(count), gbk, sizeof gbk, nullptr, &usedDefault);
  return n > 0 && !usedDefault ? static_cast<std::size_t>(n) : 0;
}

}  // namespace plover::text
