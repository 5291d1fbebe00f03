// The console on POSIX systems.
#include "Console.h"

#include <langinfo.h>
#include <locale.h>
#include <stdlib.h>
#include <unistd.h>

#include <cuchar>

namespace platform {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

void PrepareConsoleOutput() {}

bool IsTerminal(Stream stream) {
  return isatty(stream == Stream::Output ? STDOUT_FILENO : STDERR_FILENO) == 1;
}

void SetProcessEnvironment(std::string_view name, std::string_view value) {
  setenv(std::string(name).c_str(), std::string(value).c_str(), 1);
}

namespace {

// The item in UTF-16, converted from the locale's own character set (the calling thread uses the
// locale while the items are read).
std::u16string Item(locale_t locale, nl_item item) {
  const char* text = nl_langinfo_l(item, locale);
  std::u16string result;
  if (text == nullptr)
    return result;
  std::mbstate_t state{};
  const char* end = text + std::char_traits<char>::length(text);
  while (text < end) {
    char16_t unit = 0;
    const std::size_t used =
        std::mbrtoc16(&unit, text, static_cast<std::size_t>(end - text), &state);
    if (used == static_cast<std::size_t>(-3)) {  // the second half of a surrogate pair
      result += unit;
      continue;
    }
    if (used == 0 || used > static_cast<std::size_t>(end - text)) {
      result += u'\uFFFD';  // a byte the character set does not know
      ++text;
      state = {};
      continue;
    }
    result += unit;
    text += used;
  }
  return result;
}

// A strftime date format as a date pattern: %d.%m.%Y gives dd.mm.yyyy. Conversions without a
// pattern letter are dropped; other characters stand as they are.
std::u16string DatePatternOf(std::u16string_view format) {
  std::u16string pattern;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != u'%' || i + 1 == format.size()) {
      pattern += format[i];
      continue;
    }
    char16_t conversion = format[++i];
    // Flags and widths of the GNU extensions (%-d, %Ey) carry no meaning here.
    while ((conversion == u'-' || conversion == u'_' || conversion == u'0' || conversion == u'E' ||
            conversion == u'O') &&
           i + 1 < format.size())
      conversion = format[++i];
    switch (conversion) {
      case u'd':
        pattern += u"dd";
        break;
      case u'e':
        pattern += u"d";
        break;
      case u'm':
        pattern += u"mm";
        break;
      case u'y':
        pattern += u"yy";
        break;
      case u'Y':
        pattern += u"yyyy";
        break;
      case u'b':
      case u'h':
        pattern += u"mmm";
        break;
      case u'B':
        pattern += u"mmmm";
        break;
      case u'a':
        pattern += u"ddd";
        break;
      case u'A':
        pattern += u"dddd";
        break;
      case u'D':
        pattern += u"mm/dd/yy";
        break;
      case u'F':
        pattern += u"yyyy-mm-dd";
        break;
      case u'%':
        pattern += u'%';
        break;
      default:
        break;
    }
  }
  return pattern;
}

// The first character between two fields of a pattern.
std::optional<std::u16string> SeparatorOf(std::u16string_view pattern) {
  const auto isLetter = [](char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
  };
  for (std::size_t i = 1; i < pattern.size(); ++i) {
    if (!isLetter(pattern[i]) && isLetter(pattern[i - 1]))
      return std::u16string(1, pattern[i]);
  }
  return std::nullopt;
}

}  // namespace

std::optional<quorvane::LocaleItems> ReadUserLocaleItems(std::string_view name) {
  const std::string wanted(name);
  // An empty name takes the environment's locale, category by category.
  locale_t locale =
      newlocale(LC_CTYPE_MASK | LC_NUMERIC_MASK | LC_TIME_MASK, wanted.c_str(), nullptr);
  if (locale == nullptr)
    return std::nullopt;
  const locale_t former = uselocale(locale);
  quorvane::LocaleItems items;
  const std::u16string dateFormat = Item(locale, D_FMT);
  const bool posix =
      Item(locale, RADIXCHAR) == u"." && dateFormat == u"%m/%d/%y" && Item(locale, THOUSEP).empty();
  if (!posix) {
    items.DecimalSeparator = Item(locale, RADIXCHAR);
    items.ThousandSeparator = Item(locale, THOUSEP);
    items.ShortDateFormat = DatePatternOf(dateFormat);
    items.DateSeparator = SeparatorOf(*items.ShortDateFormat);
    // The character after the hours of the time format: %H:%M:%S gives ":".
    const std::u16string timeFormat = Item(locale, T_FMT);
    const std::size_t hours = timeFormat.find_first_of(u"HIkl");
    if (hours != std::u16string::npos && hours + 1 < timeFormat.size())
      items.TimeSeparator = std::u16string(1, timeFormat[hours + 1]);
    items.TimeAMString = Item(locale, AM_STR);
    items.TimePMString = Item(locale, PM_STR);
    for (int month = 0; month < 12; ++month) {
      items.ShortMonthNames[month] = Item(locale, ABMON_1 + month);
      items.LongMonthNames[month] = Item(locale, MON_1 + month);
    }
    for (int day = 0; day < 7; ++day) {
      items.ShortDayNames[day] = Item(locale, ABDAY_1 + day);
      items.LongDayNames[day] = Item(locale, DAY_1 + day);
    }
  }
  uselocale(former);
  freelocale(locale);
  return items;
}

}  // namespace platform
