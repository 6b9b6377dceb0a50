// The help window's usage text, as the window shows it.
#include "plover/shell/help_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace plover::help {
namespace {

TEST(UsageText, ThirtySixLinesWithTheirBlankAndSpaceLines) {
  ASSERT_EQ(kUsageLines.size(), 36u);
  EXPECT_EQ(kUsageLines[0], "谢谢你使用本软件，希望能带给你方便。");
  EXPECT_EQ(kUsageLines[16], "    ");  // line 17: four spaces
  EXPECT_EQ(kUsageLines[19], "");      // line 20
  EXPECT_EQ(kUsageLines[34], "");      // line 35
  EXPECT_EQ(kUsageLines[35], "Created by Velmor,Orrin。");
  EXPECT_EQ(kUsageLines[2], "    如果你第一次使用，强烈建议在欢迎对话框中");
  for (size_t i = 0; i < kUsageLines.size(); ++i) {
    if (i == 16 || i == 19 || i == 34) continue;
    EXPECT_FALSE(kUsageLines[i].empty()) << "line " << i + 1;
    EXPECT_NE(kUsageLines[i].back(), ' ') << "line " << i + 1;
  }
}

TEST(UsageText, EveryLineEndsWithCrLfTheLastOneToo) {
  const std::string text = UsageText();
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  EXPECT_EQ(start, text.size());  // nothing after the last CR LF
  ASSERT_EQ(lines.size(), 36u);
  for (size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i], kUsageLines[i]) << "line " << i + 1;
    EXPECT_EQ(lines[i].find_first_of("\r\n"), std::string::npos) << "line " << i + 1;
  }
}

}  // namespace
}  // namespace plover::help
