// The user's regional settings for the date and time.
#include <string>

#include "app/lumo_sub1.h"

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

void TFLumoSub1::ReadLocale() {
  SetThreadLocale(GetUserDefaultLCID());
  LCID locale = GetThreadLocale();
  locale_.shortDatePattern = LocaleString(locale, LOCALE_SSHORTDATE);
  locale_.dateSeparator = LocaleString(locale, LOCALE_SDATE);
  locale_.timeSeparator = LocaleString(locale, LOCALE_STIME);
  locale_.hourLeadingZero = LocaleFlag(locale, LOCALE_ITLZERO);
  locale_.twentyFourHour = LocaleFlag(locale, LOCALE_ITIME);
  locale_.designatorFirst = LocaleFlag(locale, kTimeMarkPosition);
  locale_.amDesignator = LocaleString(locale, LOCALE_S1159);
  locale_.pmDesignator = LocaleString(locale, LOCALE_S2359);
  for (int i = 0; i < 12; ++i) {
    locale_.shortMonthNames[i] = LocaleString(locale, LOCALE_SABBREVMONTHNAME1 + i);
    locale_.longMonthNames[i] = LocaleString(locale, LOCALE_SMONTHNAME1 + i);
  }
  // The system counts the days from Monday; the formatter from Sunday.
  for (int i = 0; i < 7; ++i) {
    locale_.shortDayNames[(i + 1) % 7] = LocaleString(locale, LOCALE_SABBREVDAYNAME1 + i);
    locale_.longDayNames[(i + 1) % 7] = LocaleString(locale, LOCALE_SDAYNAME1 + i);
  }
}

}  // namespace quolvi
