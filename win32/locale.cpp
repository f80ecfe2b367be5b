#include "win32/locale.h"

#include <windows.h>

#include <string>

namespace quolvi {
namespace {

std::string LocaleString(LCID locale, LCTYPE type) {
  char buffer[128] = "";
  int length = GetLocaleInfoA(locale, type, buffer, sizeof buffer);
  return length > 1 ? std::string(buffer, length - 1) : std::string();
}

bool LocaleFlag(LCID locale, LCTYPE type) {
  std::string value = LocaleString(locale, type);
  return !value.empty() && value != "0";
}

constexpr LCTYPE kTimeMarkPosition = 0x1005;  // LOCALE_ITIMEMARKPOSN

}  // namespace

DateTimeLocale ReadDateTimeLocale() {
  SetThreadLocale(GetUserDefaultLCID());
  LCID locale = GetThreadLocale();
  DateTimeLocale values;
  values.shortDatePattern = LocaleString(locale, LOCALE_SSHORTDATE);
  values.dateSeparator = LocaleString(locale, LOCALE_SDATE);
  values.timeSeparator = LocaleString(locale, LOCALE_STIME);
  values.hourLeadingZero = LocaleFlag(locale, LOCALE_ITLZERO);
  values.twentyFourHour = LocaleFlag(locale, LOCALE_ITIME);
  values.designatorFirst = LocaleFlag(locale, kTimeMarkPosition);
  values.amDesignator = LocaleString(locale, LOCALE_S1159);
  values.pmDesignator = LocaleString(locale, LOCALE_S2359);
  for (int i = 0; i < 12; ++i) {
    values.shortMonthNames[i] = LocaleString(locale, LOCALE_SABBREVMONTHNAME1 + i);
    values.longMonthNames[i] = LocaleString(locale, LOCALE_SMONTHNAME1 + i);
  }
  // The system counts the days from Monday; the formatter from Sunday.
  for (int i = 0; i < 7; ++i) {
    values.shortDayNames[(i + 1) % 7] = LocaleString(locale, LOCALE_SABBREVDAYNAME1 + i);
    values.longDayNames[(i + 1) % 7] = LocaleString(locale, LOCALE_SDAYNAME1 + i);
  }
  return values;
}

}  // namespace quolvi
