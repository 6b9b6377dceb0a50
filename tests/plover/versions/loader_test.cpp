// The loader batch file's text, and names that cmd must not cut or change.
#include "plover/versions/loader.h"

#include <gtest/gtest.h>

namespace plover {
namespace {

TEST(Loader, ThreeLinesEachEndingInCrLf) {
  EXPECT_EQ(LoaderText("sw", "1.20"),
            "@echo off\r\n"
            "echo 正在进行转换并运行魔兽。。。请稍候。。。。\r\n"
            "sw.exe 1.20\r\n");
  EXPECT_EQ(LoaderPath("C:\\P\\", "1.20"), "C:\\P\\1.20loader.bat");
  EXPECT_EQ(LoaderPath("C:\\P", "1.20"), "C:\\P\\1.20loader.bat");
}

TEST(Loader, ExecutableNamesThatCmdWouldCutAreQuoted) {
  const struct {
    const char* stem;
    const char* line3;
  } cases[] = {
      {"Plover 2.0", "\"Plover 2.0.exe\" 1.20"},
      {"a,b", "\"a,b.exe\" 1.20"},
      {"a;b", "\"a;b.exe\" 1.20"},
      {"a=b", "\"a=b.exe\" 1.20"},
      // cmd would take a leading @ for "do not echo" and start "x.exe".
      {"@x", "\"@x.exe\" 1.20"},
      // Quoted, the other characters need no caret; % is still doubled.
      {"50% & (co)", "\"50%% & (co).exe\" 1.20"},
      // Without a separator the line stays as it always was.
      {"Plover", "Plover.exe 1.20"},
      {"a&b(1)", "a^&b^(1^).exe 1.20"},
      {"魔兽", "魔兽.exe 1.20"},
  };
  for (const auto& c : cases) {
    const std::string text = LoaderText(c.stem, "1.20");
    const size_t line3 = text.find("\r\n", text.find("\r\n") + 2) + 2;
    EXPECT_EQ(text.substr(line3), std::string(c.line3) + "\r\n") << c.stem;
  }
}

TEST(Loader, NamesReachThePlayerUnchangedThroughCmd) {
  struct Case {
    const char* name;
    const char* escaped;
  };
  const Case cases[] = {
      {"1.20", "1.20"},
      {"1.20 & echo pwned", "1.20 ^& echo pwned"},
      {"50%off", "50%%off"},
      {"a|b<c>d^e", "a^|b^<c^>d^^e"},
      {"(x)!", "^(x^)^!"},
      // Inside quotation marks cmd takes the characters as they are, so a
      // caret there would become part of the name; % is still expanded.
      {"\"a & b\" & c", "\"a & b\" ^& c"},
      {"\"%PATH%\"", "\"%%PATH%%\""},
      {"魔兽 1.20", "魔兽 1.20"},
  };
  for (const auto& c : cases) EXPECT_EQ(EscapeForBatch(c.name), c.escaped) << c.name;
}

}  // namespace
}  // namespace plover
