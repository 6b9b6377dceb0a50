// How a system DLL is loaded late: never by a bare name that the program's
// folder could answer.
#include "common/win32/load_plan.h"

#include <gtest/gtest.h>

namespace plover::win {
namespace {

TEST(LoadPlan, TheSystemFolderAlwaysAnswers) {
  EXPECT_EQ(HowToLoad(true, false), LoadWay::kSearchSystem32);
  EXPECT_EQ(HowToLoad(true, true), LoadWay::kSearchSystem32);
  EXPECT_EQ(HowToLoad(false, false), LoadWay::kFullPath) << "Windows 7 without KB2533623";
  EXPECT_EQ(HowToLoad(false, true), LoadWay::kByName) << "the manifest's comctl32";

  wchar_t path[32];
  ASSERT_TRUE(SystemDllPath(L"C:\\Windows\\system32", L"version.dll", path, 32));
  EXPECT_STREQ(path, L"C:\\Windows\\system32\\version.dll");
  ASSERT_TRUE(SystemDllPath(L"C:\\", L"a.dll", path, 32));
  EXPECT_STREQ(path, L"C:\\a.dll");
  EXPECT_FALSE(SystemDllPath(L"C:\\Windows\\system32", L"version.dll", path, 31));
}

}  // namespace
}  // namespace plover::win
