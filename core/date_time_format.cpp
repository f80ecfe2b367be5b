#include "core/date_time_format.h"

#include <cctype>

#include "core/cp932.h"

namespace quolvi {
namespace {

constexpr char kDefaultShortDate[] = "m/d/yy";

std::string Number(int value, int minDigits) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < minDigits) digits.insert(0, minDigits - digits.size(), '0');
  return digits;
}

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

}  // namespace

std::string FormatDate(const DateTimeLocale& locale, const LocalTime& time) {
  const std::string& pattern = locale.shortDatePattern.empty() ? kDefaultShortDate : locale.shortDatePattern;
  const std::string separator = locale.dateSeparator.empty() ? "/" : locale.dateSeparator;
  std::string out;
  for (std::size_t i = 0; i < pattern.size();) {
    char c = pattern[i];
    char letter = Lower(c);
    if (letter == 'd' || letter == 'm' || letter == 'y') {
      std::size_t run = 1;
      while (i + run < pattern.size() && Lower(pattern[i + run]) == letter) ++run;
      i += run;
      if (letter == 'd') {
        if (run <= 2) out += Number(time.day, static_cast<int>(run));
        else out += (run == 3 ? locale.shortDayNames : locale.longDayNames)[time.dayOfWeek % 7];
      } else if (letter == 'm') {
        if (run <= 2) out += Number(time.month, static_cast<int>(run));
        else out += (run == 3 ? locale.shortMonthNames : locale.longMonthNames)[(time.month + 11) % 12];
      } else {
        out += run <= 2 ? Number(time.year % 100, 2) : Number(time.year, 4);
      }
    } else if (c == '/') {
      out += separator;
      ++i;
    } else if (c == '\'' || c == '"') {
      std::size_t end = pattern.find(c, i + 1);
      if (end == std::string::npos) end = pattern.size();
      out.append(pattern, i + 1, end - i - 1);
      i = end + 1;
    } else {
      // Any other character, a double-byte one whole.
      std::size_t length = cp932::CharLength(pattern, i);
      out.append(pattern, i, length);
      i += length;
    }
  }
  return out;
}

std::string FormatTime(const DateTimeLocale& locale, const LocalTime& time) {
  const std::string separator = locale.timeSeparator.empty() ? ":" : locale.timeSeparator;
  int hour = time.hour;
  if (!locale.twentyFourHour) {
    hour %= 12;
    if (hour == 0) hour = 12;
  }
  std::string clock = Number(hour, locale.hourLeadingZero ? 2 : 1) + separator + Number(time.minute, 2) + separator +
                      Number(time.second, 2);
  if (locale.twentyFourHour) return clock;
  const std::string& designator = time.hour < 12 ? locale.amDesignator : locale.pmDesignator;
  return locale.designatorFirst ? designator + " " + clock : clock + " " + designator;
}

std::string FormatDateTime(const DateTimeLocale& locale, const LocalTime& time) {
  std::string text = FormatDate(locale, time);
  if (time.hour != 0 || time.minute != 0 || time.second != 0) text += " " + FormatTime(locale, time);
  return text;
}

}  // namespace quolvi
