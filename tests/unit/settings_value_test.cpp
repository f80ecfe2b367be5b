#include "core/settings_value.h"

#include <gtest/gtest.h>

namespace quolvi {
namespace {

constexpr std::int32_t kDefault = -7;

std::int32_t Read(std::string_view value) { return ReadSettingsInteger(value, kDefault); }

TEST(SettingsValueTest, DecimalWithinThe32BitRange) {
  EXPECT_EQ(Read("0"), 0);
  EXPECT_EQ(Read("+5"), 5);
  EXPECT_EQ(Read("   -42"), -42);
  EXPECT_EQ(Read("007"), 7);
  EXPECT_EQ(Read("2147483647"), 2147483647);
  EXPECT_EQ(Read("-2147483648"), INT32_MIN);
  EXPECT_EQ(Read("-000000000002147483648"), INT32_MIN);
  EXPECT_EQ(Read("2147483648"), kDefault);
  EXPECT_EQ(Read("-2147483649"), kDefault);
  EXPECT_EQ(Read("99999999999999999999999"), kDefault);
}

TEST(SettingsValueTest, HexadecimalIsA32BitPatternOfAtMostEightSignificantDigits) {
  EXPECT_EQ(Read("$80000005"), -2147483643);
  EXPECT_EQ(Read("0x80000005"), -2147483643);
  EXPECT_EQ(Read("0X1"), 1);
  EXPECT_EQ(Read("$00FF0000"), 0x00FF0000);
  EXPECT_EQ(Read("  $ffFFffFF"), -1);
  EXPECT_EQ(Read("$000000000000FFFFFFFF"), -1);  // leading zeros do not count
  EXPECT_EQ(Read("$100000000"), kDefault);       // nine significant digits
  EXPECT_EQ(Read("0x100000000"), kDefault);
  EXPECT_EQ(Read("$0"), 0);
}

TEST(SettingsValueTest, AnythingElseGivesTheDefault) {
  for (const char* value : {"",   " ",   "abc",  "- 5",  "5 x", "5 ",  "-$5", "+$5", "$",   "-", "+",
                            "0x", "0x ", "0x-5", " 0x5", "$ 5", "$5g", "1.5", "1e3", "\t5", "５"}) {
    EXPECT_EQ(Read(value), kDefault) << value;
  }
}

TEST(SettingsValueTest, TheFileIsBesideTheExecutable) {
  EXPECT_EQ(SettingsFilePath("C:\\Tools\\app.exe"), "C:\\Tools\\vessaro.ini");
  EXPECT_EQ(SettingsFilePath("C:\\app.exe"), "C:\\\\vessaro.ini");  // a drive's root keeps its backslash
  // 表 ends in 0x5C, which is no backslash of its own.
  EXPECT_EQ(SettingsFilePath("C:\\表\\app.exe"), "C:\\表\\vessaro.ini");
  EXPECT_EQ(SettingsFilePath("C:\\ソ表\\app.exe"), "C:\\ソ表\\vessaro.ini");
}

}  // namespace
}  // namespace quolvi
