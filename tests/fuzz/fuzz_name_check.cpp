// The check of version names, against a plain reading of the Windows naming
// rules written here on UTF-16, and against the paths the program builds
// from a name it accepts:
// - no character Windows forbids, no control character, no dot or blank at
//   the end;
// - no device (CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM and LPT with 0-9 or
//   ¹ ² ³), whatever the letter case and whatever follows a dot;
// - the version file, the store folder, the store copies of the standard
//   files and the loader, under their temporary names too, all within the
//   path limit.
#include <cstdint>
#include <string>
#include <string_view>

#include "common/text/codepage.h"
#include "plover/base/file_system.h"
#include "plover/base/functions.h"
#include "plover/versions/loader.h"
#include "plover/versions/version_file.h"
#include "plover/versions/version_name.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using namespace plover;

std::u16string Upper(std::u16string s) {
  for (auto& c : s) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  return s;
}

bool ReferenceAccepts(std::string_view name, std::string_view appDir) {
  const auto wide = text::Utf8ToUtf16(name);
  const auto dir = text::Utf8ToUtf16(appDir);
  if (!wide || !dir || wide->empty()) return false;
  for (char16_t c : *wide) {
    if (c < 0x20 || c == 0x7F ||
        std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos) {
      return false;
    }
  }
  if (wide->back() == u'.' || wide->back() == u' ') return false;
  std::u16string stem = Upper(wide->substr(0, wide->find(u'.')));
  while (!stem.empty() && stem.back() == u' ') stem.pop_back();
  for (const char16_t* device : {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"}) {
    if (stem == device) return false;
  }
  for (const char16_t* port : {u"COM", u"LPT"}) {
    for (char16_t digit : u"0123456789\u00B9\u00B2\u00B3") {
      if (digit != 0 && stem == std::u16string(port) + digit) return false;
    }
  }
  std::u16string store = *dir;
  if (store.empty() || store.back() != u'\\') store += u'\\';
  store += *wide;
  return store.size() + versions::kRoomBelowStore <= kPathLimit;
}

bool Fits(const std::string& path) {
  const auto units = Utf16Length(path);
  return units && *units <= kPathLimit;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  // A program directory of any length up to past the limit.
  const char* dirs[] = {"C:\\P\\", "C:\\", "D:\\游戏\\Plover", "\\\\server\\share\\"};
  std::string appDir = dirs[in.ConsumeIntegralInRange<size_t>(0, 3)];
  appDir += std::string(in.ConsumeIntegralInRange<size_t>(0, 300), 'd');
  const std::string name = in.ConsumeRemainingBytesAsString();

  const bool accepted = versions::IsStorableName(name, appDir);
  FUZZ_CHECK(accepted == ReferenceAccepts(name, appDir));
  // Letter case never matters.
  FUZZ_CHECK(versions::IsStorableName(fs::UpperAscii(name), appDir) == accepted);
  if (!accepted) return 0;

  const std::string tmp = ".plover-tmp";
  FUZZ_CHECK(Fits(versions::VersionFilePath(appDir, name) + tmp));
  FUZZ_CHECK(Fits(versions::StoreFolderPath(appDir, name) + ".plover-new"));
  FUZZ_CHECK(Fits(
      versions::StoreCopyPath(appDir, name, "Maps\\FrozenThrone\\(4)TwistedMeadows.w3x") + tmp));
  FUZZ_CHECK(Fits(versions::StoreCopyPath(appDir, name, "War3Patch.mpq") + tmp));
  FUZZ_CHECK(Fits(LoaderPath(appDir, name) + tmp));
  return 0;
}
