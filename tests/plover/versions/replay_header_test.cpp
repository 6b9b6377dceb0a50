// Reading a replay's patch from its header, and choosing the version it
// plays with.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plover/versions/replay_header.h"
#include "plover/versions/replay_match.h"
#include "tests/support/replay_bytes.h"

namespace plover::versions {
namespace {

using testing::PutDword;
using testing::Replay;

std::optional<ReplayHeader> Parse(const std::string& file) {
  return ParseReplayHeader(std::string_view(file).substr(0, kReplayHeaderBytes), file.size());
}

TEST(ReplayHeaderTest, ReadsBothHeaderVersions) {
  EXPECT_EQ(Parse(Replay(26, 6401)), (ReplayHeader{ReplayProduct::kFrozenThrone, 26, 6401}));
  EXPECT_EQ(Parse(Replay(20, 6074, 1, "3RAW")),
            (ReplayHeader{ReplayProduct::kReignOfChaos, 20, 6074}));
  EXPECT_EQ(Parse(Replay(6, 4656, 0)), (ReplayHeader{ReplayProduct::kReignOfChaos, 6, 4656}));
  // A version 0 header is complete without the four bytes a version 1 one needs.
  const std::string old = Replay(6, 4656, 0);
  EXPECT_TRUE(ParseReplayHeader(std::string_view(old).substr(0, 0x40), old.size()));
}

TEST(ReplayHeaderTest, RefusesWhatIsNotAPlausibleReplay) {
  const std::string good = Replay(24, 6387);
  auto changed = [&](auto edit) {
    std::string b = good;
    edit(b);
    return Parse(b);
  };
  EXPECT_FALSE(ParseReplayHeader("", 0));
  EXPECT_FALSE(ParseReplayHeader("这不是录像\r\n", 14));
  EXPECT_FALSE(changed([](std::string& b) { b[27] = 'x'; }));              // magic's last byte
  EXPECT_FALSE(changed([](std::string& b) { PutDword(b, 0x24, 2); }));     // unknown version
  EXPECT_FALSE(changed([](std::string& b) { PutDword(b, 0x1C, 0x40); }));  // size of the other one
  EXPECT_FALSE(changed([](std::string& b) { PutDword(b, 0x1C, 0xFFFFFFFF); }));
  EXPECT_FALSE(changed([](std::string& b) { b.replace(0x30, 4, "W3XP"); }));  // not as stored
  EXPECT_FALSE(changed([](std::string& b) { PutDword(b, 0x20, 0x201); }));  // longer than the file
  EXPECT_FALSE(
      changed([](std::string& b) { PutDword(b, 0x20, 0x10); }));  // shorter than the header
  // Cut anywhere inside the header: refused, and never read past the end.
  for (size_t n = 0; n < 0x44; ++n) {
    const std::string cut = good.substr(0, n);
    EXPECT_FALSE(ParseReplayHeader(cut, good.size())) << n;
    EXPECT_FALSE(ParseReplayHeader(good.substr(0, 0x44), n)) << n;
  }
}

TEST(ReplayMatchTest, SameBuildFirstThenSamePatchThenNone) {
  const std::vector<VersionPatch> versions = {
      {"1.20", 20, 6074}, {"1.24e", 24, 6387}, {"1.24b", 24, 6374}, {"1.26", 26, 6401}};
  auto match = [&](uint32_t patch, uint32_t build) {
    return MatchReplay({ReplayProduct::kFrozenThrone, patch, build}, versions);
  };
  EXPECT_EQ(match(26, 6401), "1.26");
  EXPECT_EQ(match(24, 6374), "1.24b");
  EXPECT_EQ(match(24, 6380), "1.24e");  // the nearest build above
  EXPECT_EQ(match(24, 6300), "1.24b");
  EXPECT_EQ(match(24, 6400), "1.24e");  // none above: the nearest below
  EXPECT_EQ(match(21, 6130), std::nullopt);
  // Two versions made from one installation: the first listed.
  EXPECT_EQ(MatchReplay({ReplayProduct::kFrozenThrone, 24, 6387},
                        {{"a", 24, 6374}, {"b", 24, 6387}, {"c", 24, 6387}}),
            "b");
  EXPECT_EQ(NoMatchingVersionText({ReplayProduct::kFrozenThrone, 21, 6130}),
            "没有找到与此录像匹配的版本（1.21，build 6130）。请先添加该版本。");
}

}  // namespace
}  // namespace plover::versions
