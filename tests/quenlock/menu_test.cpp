// Form1's menu: the check mark of chkDisable is the blocking state, so a
// hook that could not be installed shows as "not blocking".
#include "quenlock/menu.h"

#include <gtest/gtest.h>

namespace quenlock {
namespace {

// The menu the player sees, in either state: the same items with the same
// captions (the Alt item's trailing blank included); only the check moves.
TEST(Form1Menu, CheckMarkFollowsBlockingAndNothingElseChanges) {
  for (bool blocking : {true, false}) {
    const auto items = Form1Menu(blocking);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].id, kChkDisable);
    EXPECT_EQ(items[0].caption, "屏蔽Winkey");
    EXPECT_EQ(items[0].checked, blocking);
    EXPECT_TRUE(items[0].enabled);
    EXPECT_EQ(items[1].caption, "自动按下 Alt ");
    EXPECT_FALSE(items[1].checked);
    EXPECT_FALSE(items[1].enabled) << "mAlt cannot be chosen";
    EXPECT_EQ(items[2].caption, "Created by Velmor");
    EXPECT_FALSE(items[2].checked);
    EXPECT_TRUE(items[2].enabled);
  }
}

TEST(Form1Menu, IdentifiersAreDistinctAndNeverZero) {
  const auto items = Form1Menu(true);
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_NE(items[i].id, 0u) << "0 means nothing was chosen";
    for (size_t j = i + 1; j < items.size(); ++j) EXPECT_NE(items[i].id, items[j].id);
  }
}

}  // namespace
}  // namespace quenlock
