// ver.dat read and written: two lines of code page 936, missing or
// malformed lines read as empty.
#include "plover/main/settings.h"

#include <gtest/gtest.h>

#include <string>

namespace plover {
namespace {

constexpr const char* kGameGbk = "D:\\\xC4\xA7\xCA\xDE\xD5\xF9\xB0\xD4\\";  // D:\魔兽争霸\ .

TEST(SettingsTest, ParseTakesTwoLinesAndMissingOnesAreEmpty) {
  struct Case {
    std::string bytes;
    std::string game;
    std::string replay;
  };
  const Case cases[] = {
      {"", "", ""},
      {"\r\n\r\n", "", ""},
      {"D:\\War3\\", "D:\\War3\\", ""},
      {"D:\\War3\\\r\n", "D:\\War3\\", ""},
      {"D:\\War3\\\r\nE:\\Rep\\\r\n", "D:\\War3\\", "E:\\Rep\\"},
      {"D:\\War3\\\r\nE:\\Rep\\", "D:\\War3\\", "E:\\Rep\\"},
      {"\r\nE:\\Rep\\\r\n", "", "E:\\Rep\\"},
      {"D:\\War3\\\r\nE:\\Rep\\\r\nF:\\Extra\\\r\n", "D:\\War3\\", "E:\\Rep\\"},
      {std::string(kGameGbk) + "\r\nE:\\\xC2\xBC\xCF\xF1\\\r\n", "D:\\魔兽争霸\\", "E:\\录像\\"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.bytes));
    const Settings s = ParseSettings(c.bytes);
    EXPECT_EQ(s.gameDir, c.game);
    EXPECT_EQ(s.replayDir, c.replay);
  }
}

TEST(SettingsTest, LinesThatAreNotGbkReadAsEmpty) {
  struct Case {
    std::string bytes;
    std::string game;
    std::string replay;
  };
  const Case cases[] = {
      {"D:\\War3\x81\r\nE:\\Rep\\\r\n", "", "E:\\Rep\\"},
      {"D:\\War3\\\r\nE:\\Rep\x81\r\n", "D:\\War3\\", ""},
      {"\xFF\r\n\xFF\r\n", "", ""},
      // A third line is never read, so it cannot spoil the first two.
      {"D:\\War3\\\r\nE:\\Rep\\\r\n\xFF\r\n", "D:\\War3\\", "E:\\Rep\\"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.bytes));
    const Settings s = ParseSettings(c.bytes);
    EXPECT_EQ(s.gameDir, c.game);
    EXPECT_EQ(s.replayDir, c.replay);
  }
}

TEST(SettingsTest, SerializeWritesBothLinesInGbk) {
  EXPECT_EQ(SerializeSettings({"D:\\War3\\", "E:\\Rep\\"}), "D:\\War3\\\r\nE:\\Rep\\\r\n");
  EXPECT_EQ(SerializeSettings({"", ""}), std::string(kEmptySettings));
  EXPECT_EQ(SerializeSettings({"D:\\魔兽争霸\\", ""}), std::string(kGameGbk) + "\r\n\r\n");

  const Settings chinese{"D:\\魔兽争霸\\運\\", "E:\\录像\\"};
  const auto bytes = SerializeSettings(chinese);
  ASSERT_TRUE(bytes.has_value());
  const Settings back = ParseSettings(*bytes);
  EXPECT_EQ(back.gameDir, chinese.gameDir);
  EXPECT_EQ(back.replayDir, chinese.replayDir);
}

TEST(SettingsTest, SerializeRejectsDirectoriesWithoutGbkForm) {
  EXPECT_EQ(SerializeSettings({"D:\\\xEA\xB0\x80\\", "E:\\Rep\\"}), std::nullopt);
  EXPECT_EQ(SerializeSettings({"D:\\War3\\", "E:\\\xF0\x9F\x98\x80\\"}), std::nullopt);
}

}  // namespace
}  // namespace plover
