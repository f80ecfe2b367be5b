#include "core/folder_rules.h"

#include <gtest/gtest.h>

namespace quolvi {
namespace {

TEST(FolderRulesTest, OneFinalBackslashIsDroppedExceptAtADrivesRoot) {
  EXPECT_EQ(StartFolder("C:\\Users\\me\\"), "C:\\Users\\me");
  EXPECT_EQ(StartFolder("C:\\Users\\me"), "C:\\Users\\me");
  EXPECT_EQ(StartFolder("C:\\"), "C:\\");
  EXPECT_EQ(StartFolder("C:\\a\\\\"), "C:\\a\\");  // only one
  EXPECT_EQ(StartFolder("\\"), "\\");              // shorter than two bytes
  EXPECT_EQ(StartFolder("\\\\"), "\\");
  EXPECT_EQ(StartFolder(""), "");
}

TEST(FolderRulesTest, TheSecondByteOfADoubleByteCharacterIsNoBackslash) {
  EXPECT_EQ(StartFolder("C:\\表"), "C:\\表");  // 表 ends with 0x5C
  EXPECT_EQ(StartFolder("C:\\表\\"), "C:\\表");
  EXPECT_EQ(StartFolder("C:\\ソ"), "C:\\ソ");
}

TEST(FolderRulesTest, FolderOfAPath) {
  EXPECT_EQ(FolderOf("C:\\docs\\a.txt"), "C:\\docs");
  EXPECT_EQ(FolderOf("C:\\a.txt"), "C:\\");
  EXPECT_EQ(FolderOf("C:a.txt"), "C:");
  EXPECT_EQ(FolderOf("a.txt"), "");
  EXPECT_EQ(FolderOf("\\a.txt"), "\\");
  EXPECT_EQ(FolderOf("\\\\server\\share\\a.txt"), "\\\\server\\share");
  EXPECT_EQ(FolderOf("C:\\表\\a.txt"), "C:\\表");  // 表's 0x5C is no delimiter...
  EXPECT_EQ(FolderOf("C:\\ソ.txt"), "C:\\");
  EXPECT_EQ(FolderOf("表\\a.txt"), "表");  // ...nor counts as a backslash before one
}

}  // namespace
}  // namespace quolvi
