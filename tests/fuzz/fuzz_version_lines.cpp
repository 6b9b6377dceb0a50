// The lines of a version file, as the switch, the wizard's import and the
// editor read them:
// - the lines put back together with the line ends between them are the file
//   again (CR LF, a lone CR or a lone LF end a line; nothing else is lost);
// - a file whose lines all decode is read as exactly those entries, and
//   writing them gives the file back with CR LF after every line;
// - one line that does not decode makes the read fail, never a shorter list;
// - a line as shown is well-formed UTF-8, and is the decoded line whenever
//   it decodes.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/text/codepage.h"
#include "plover/versions/version_file.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/support/memory_fs.h"

namespace {

using namespace plover;

void CheckSplit(std::string_view bytes, const std::vector<std::string>& lines) {
  size_t at = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
    FUZZ_CHECK(bytes.substr(at, line.size()) == line);
    at += line.size();
    if (at == bytes.size()) {
      FUZZ_CHECK(i + 1 == lines.size());  // a last line without a line end
      break;
    }
    FUZZ_CHECK(bytes[at] == '\r' || bytes[at] == '\n');
    at += bytes.substr(at, 2) == "\r\n" ? 2 : 1;
  }
  FUZZ_CHECK(at == bytes.size());
  FUZZ_CHECK(bytes.empty() == lines.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = versions::SplitLines(bytes);
  CheckSplit(bytes, lines);

  std::vector<std::string> decoded;
  bool all = true;
  for (const auto& line : lines) {
    const auto utf8 = text::GbkToUtf8(line);
    const std::string shown = versions::ShownLine(line);
    FUZZ_CHECK(text::IsValidUtf8(shown));
    FUZZ_CHECK(shown.size() <= 3 * line.size());
    if (utf8) {
      FUZZ_CHECK(shown == *utf8);
      decoded.push_back(*utf8);
    } else {
      all = false;
      FUZZ_CHECK(shown.find('?') != std::string::npos);
    }
    const std::string plain = versions::DisplayableLine(line);
    FUZZ_CHECK(plain.size() == line.size());
    for (char c : plain) FUZZ_CHECK(static_cast<uint8_t>(c) < 0x80);
  }

  testing::MemoryFileSystem fs;
  fs.MakeFolders("C:\\P");
  fs.PutFile("C:\\P\\1.20.w3v", bytes);
  const versions::ReadResult read = versions::ReadEntries(fs, "C:\\P\\", "1.20");
  if (all) {
    FUZZ_CHECK(read.status.ok());
    FUZZ_CHECK(read.entries == decoded);
    std::string expected;
    for (const auto& line : lines) expected += line + "\r\n";
    FUZZ_CHECK(versions::SerializeEntries(read.entries) == expected);
    FUZZ_CHECK(versions::WriteEntries(fs, "C:\\P\\", "1.21", read.entries).ok());
    FUZZ_CHECK(fs.Contents("C:\\P\\1.21.w3v") == expected);
  } else {
    FUZZ_CHECK(!read.status.ok());
    FUZZ_CHECK(read.entries.empty());
  }
  return 0;
}
