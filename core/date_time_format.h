// The text that the Date and time command inserts: the date in the user's
// short date format and, unless the time is exactly midnight, one blank and
// the time in the long time format.
#pragma once

#include <array>
#include <string>

namespace quolvi {

// The user's regional settings that the formats are made of. Empty strings
// stand for settings the system does not give.
struct DateTimeLocale {
  std::string shortDatePattern;  // LOCALE_SSHORTDATE, such as "yyyy/MM/dd"
  std::string dateSeparator;     // LOCALE_SDATE
  std::string timeSeparator;     // LOCALE_STIME
  bool hourLeadingZero = false;  // LOCALE_ITLZERO != 0
  bool twentyFourHour = true;    // LOCALE_ITIME != 0
  bool designatorFirst = false;  // LOCALE_ITIMEMARKPOSN != 0
  std::string amDesignator;      // LOCALE_S1159
  std::string pmDesignator;      // LOCALE_S2359
  std::array<std::string, 12> shortMonthNames, longMonthNames;
  std::array<std::string, 7> shortDayNames, longDayNames;  // Sunday first
};

struct LocalTime {
  int year, month, day;  // month 1-12, day 1-31
  int dayOfWeek;         // 0 = Sunday
  int hour, minute, second;
};

// The date alone, in the short date pattern. Letters are taken regardless of
// case: d, dd, ddd, dddd (day, two digits, short and long name); m, mm, mmm,
// mmmm (month likewise); yy and yyyy (year in two or four digits). "/" is the
// date separator; quoted text ('...' or "...") and every other character are
// written as they are.
std::string FormatDate(const DateTimeLocale& locale, const LocalTime& time);

// The time alone, in the long time format: h or hh, then :mm:ss with the
// time separator, and the AM/PM designator on the 12-hour clock.
std::string FormatTime(const DateTimeLocale& locale, const LocalTime& time);

// The date, and the time after one blank unless it is 00:00:00.
std::string FormatDateTime(const DateTimeLocale& locale, const LocalTime& time);

}  // namespace quolvi
