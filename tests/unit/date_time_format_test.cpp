#include "core/date_time_format.h"

#include <gtest/gtest.h>

namespace quolvi {
namespace {

DateTimeLocale Japanese() {
  DateTimeLocale locale;
  locale.shortDatePattern = "yyyy/MM/dd";
  locale.dateSeparator = "/";
  locale.timeSeparator = ":";
  locale.hourLeadingZero = false;
  locale.twentyFourHour = true;
  locale.amDesignator = "午前";
  locale.pmDesignator = "午後";
  return locale;
}

constexpr LocalTime kEarly{2026, 12, 6, 0, 1, 9, 37};
constexpr LocalTime kMidnight{2026, 12, 6, 0, 0, 0, 0};
constexpr LocalTime kAfternoon{2026, 3, 4, 3, 13, 5, 0};

TEST(DateTimeFormatTest, TheExamplesOfTheJapaneseLocale) {
  EXPECT_EQ(FormatDateTime(Japanese(), kEarly), "2026/12/06 1:09:37");
  EXPECT_EQ(FormatDateTime(Japanese(), kMidnight), "2026/12/06");
  EXPECT_EQ(FormatDateTime(Japanese(), LocalTime{2026, 12, 6, 0, 0, 0, 1}), "2026/12/06 0:00:01");
}

TEST(DateTimeFormatTest, LeadingZeroAndTwelveHourClock) {
  DateTimeLocale locale = Japanese();
  locale.hourLeadingZero = true;
  EXPECT_EQ(FormatTime(locale, kEarly), "01:09:37");
  locale.twentyFourHour = false;
  EXPECT_EQ(FormatTime(locale, kAfternoon), "01:05:00 午後");
  EXPECT_EQ(FormatTime(locale, LocalTime{2026, 1, 1, 4, 0, 30, 0}), "12:30:00 午前");
  locale.designatorFirst = true;
  locale.hourLeadingZero = false;
  EXPECT_EQ(FormatTime(locale, kAfternoon), "午後 1:05:00");
  EXPECT_EQ(FormatTime(locale, LocalTime{2026, 1, 1, 4, 12, 0, 0}), "午後 12:00:00");
}

TEST(DateTimeFormatTest, SeparatorsComeFromTheLocale) {
  DateTimeLocale locale = Japanese();
  locale.shortDatePattern = "dd/MM/yy";
  locale.dateSeparator = ".";
  locale.timeSeparator = "時";
  EXPECT_EQ(FormatDateTime(locale, kEarly), "06.12.26 1時09時37");
}

TEST(DateTimeFormatTest, MissingSettingsFallBackToDefaults) {
  DateTimeLocale none;
  EXPECT_EQ(FormatDateTime(none, kAfternoon), "3/4/26 13:05:00");
}

TEST(DateTimeFormatTest, PatternsWithNamesQuotesAndDoubleByteText) {
  DateTimeLocale locale = Japanese();
  locale.shortMonthNames[2] = "Mar";
  locale.longMonthNames[2] = "March";
  locale.shortDayNames[3] = "Wed";
  locale.longDayNames[3] = "水曜日";
  locale.shortDatePattern = "ddd, d MMM yyyy 'd/m' dddd MMMM";
  EXPECT_EQ(FormatDate(locale, kAfternoon), "Wed, 4 Mar 2026 d/m 水曜日 March");
  locale.shortDatePattern = "yyyy年M月d日";
  EXPECT_EQ(FormatDate(locale, kAfternoon), "2026年3月4日");
}

}  // namespace
}  // namespace quolvi
