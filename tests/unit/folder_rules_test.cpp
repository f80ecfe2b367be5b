#include "document/folder_rules.h"

#include <gtest/gtest.h>

namespace quolvi {
namespace {

TEST(FolderRulesTest, OneFinalBackslashIsDroppedExceptAtADrivesRoot) {
  EXPECT_EQ(StartFolder("C:\\Users\\me\\"), "C:\\Users\\me");
  EXPECT_EQ(StartFolder("C:\\Users\\me"), "C:\\Users\\me");
  EXPECT_EQ(StartFolder("C:\\"), "C:\\");
  EXPECT_EQ(StartFolder("C:\\a\\\\"), "C:\\a\\");  // only one
  EXPECT_EQ(StartFolder("\\"), "\\");             // shorter than two bytes
  EXPECT_EQ(StartFolder("\\\\"), "\\");
  EXPECT_EQ(StartFolder(""), "");
}

TEST(FolderRulesTest, TheSecondByteOfADoubleByteCharacterIsNoBackslash) {
  EXPECT_EQ(StartFolder("C:\\表"), "C:\\表");  // 表 ends with 0x5C
  EXPECT_EQ(StartFolder("C:\\表\\"), "C:\\表");
  EXPECT_EQ(StartFolder("C:\\ソ"), "C:\\ソ");
}

}  // namespace
}  // namespace quolvi
