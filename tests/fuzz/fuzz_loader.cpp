// The loader batch file. Its third line is read back here the way cmd.exe
// reads a batch line (a plain model written here: "%%" gives "%" and a lone
// "%" would expand a variable; a leading "@" is taken off; outside quotation
// marks a caret takes the next character as it is, and & | < > ( ) would be
// operators; the program name ends at a blank, tab, "," ";" or "=" outside
// quotation marks). The invariant: cmd starts the running executable and
// passes it a command line whose arguments, as Plover takes them, are the
// version's name unchanged.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/text/codepage.h"
#include "plover/base/functions.h"
#include "plover/versions/loader.h"
#include "plover/versions/version_name.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using namespace plover;

struct CmdLine {
  std::string program;      // without quotation marks
  std::string commandLine;  // what the program is started with
};

bool IsDelimiter(char c) {
  return c == ' ' || c == '\t' || c == ',' || c == ';' || c == '=';
}

std::optional<CmdLine> ReadAsCmd(std::string_view line) {
  std::string expanded;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] != '%') {
      expanded.push_back(line[i]);
    } else if (i + 1 < line.size() && line[i + 1] == '%') {
      expanded.push_back('%');
      ++i;
    } else {
      return std::nullopt;  // a variable would be expanded
    }
  }
  size_t start = 0;
  while (start < expanded.size() && (IsDelimiter(expanded[start]) || expanded[start] == '@')) {
    ++start;
  }
  std::string text;
  bool quoted = false;
  for (size_t i = start; i < expanded.size(); ++i) {
    const char c = expanded[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && c == '^') {
      if (++i == expanded.size()) return std::nullopt;  // would join the next line
      text.push_back(expanded[i]);
      continue;
    } else if (!quoted && std::string_view("&|<>()").find(c) != std::string_view::npos) {
      return std::nullopt;  // an operator
    }
    text.push_back(c);
  }
  CmdLine cmd;
  quoted = false;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
      continue;
    }
    if (!quoted && IsDelimiter(c)) break;
    cmd.program.push_back(c);
  }
  cmd.commandLine = text;
  return cmd;
}

// A file name as Windows allows it (the stem of the executable).
bool IsFileStem(std::string_view stem) {
  if (stem.empty() || !text::IsValidUtf8(stem)) return false;
  for (char c : stem) {
    if (static_cast<uint8_t>(c) < 0x20 ||
        std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string exeStem = in.ConsumeRandomLengthString(40);
  const std::string name = in.ConsumeRemainingBytesAsString();
  // Only names the program stores get a loader. A name that begins with a
  // blank cannot come through any command line: the blanks after the program
  // name are separators.
  if (!IsFileStem(exeStem) || !versions::IsStorableName(name, "C:\\P\\") || name.front() == ' ') {
    return 0;
  }

  const std::string text = LoaderText(exeStem, name);
  const size_t first = text.find("\r\n");
  const size_t second = text.find("\r\n", first + 2);
  FUZZ_CHECK(text.substr(0, first) == "@echo off");
  FUZZ_CHECK(text.ends_with("\r\n") && text.find("\r\n", second + 2) == text.size() - 2);
  const std::string line3 = text.substr(second + 2, text.size() - 2 - (second + 2));
  FUZZ_CHECK(line3.find_first_of("\r\n") == std::string::npos);

  const auto cmd = ReadAsCmd(line3);
  FUZZ_CHECK(cmd.has_value());
  FUZZ_CHECK(cmd->program == exeStem + ".exe");
  FUZZ_CHECK(ArgumentsOf(cmd->commandLine) == name);

  // The file is written in code page 936 whenever both names have a form.
  if (text::Utf8ToGbk(exeStem) && text::Utf8ToGbk(name)) FUZZ_CHECK(text::Utf8ToGbk(text));
  return 0;
}
