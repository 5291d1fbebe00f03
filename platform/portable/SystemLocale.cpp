// The locale source on POSIX systems: the C library's locales (nl_langinfo).
#include "SystemLocale.h"

#include <langinfo.h>
#include <locale.h>

#include <cuchar>

namespace platform {

// The window reads its toolkit's locale; the thread's locale gives nothing here.
std::optional<std::u16string> ThreadLocaleText(LocaleText, int) {
  return std::nullopt;
}

namespace {

// The item in UTF-16, converted from the locale's own character set (the calling thread uses the
// locale while the item is read).
std::u16string Item(locale_t locale, nl_item item) {
  const locale_t former = uselocale(locale);
  const char* text = nl_langinfo_l(item, locale);
  std::u16string result;
  if (text == nullptr) {
    uselocale(former);
    return result;
  }
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
  uselocale(former);
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

class PosixLocale final : public UserLocale {
 public:
  explicit PosixLocale(locale_t locale) : locale_(locale) {
    posix_ = Item(locale_, RADIXCHAR) == u"." && Item(locale_, D_FMT) == u"%m/%d/%y" &&
             Item(locale_, THOUSEP).empty();
  }
  ~PosixLocale() override { freelocale(locale_); }
  PosixLocale(const PosixLocale&) = delete;
  PosixLocale& operator=(const PosixLocale&) = delete;

  std::optional<std::u16string> Text(LocaleText item, int index) const override {
    // The C and POSIX locales give no items, so the defaults stand.
    if (posix_)
      return std::nullopt;
    switch (item) {
      case LocaleText::DecimalSeparator:
        return Item(locale_, RADIXCHAR);
      case LocaleText::ThousandSeparator:
        return Item(locale_, THOUSEP);
      case LocaleText::ShortDateFormat:
        return DatePatternOf(Item(locale_, D_FMT));
      case LocaleText::DateSeparator:
        return SeparatorOf(DatePatternOf(Item(locale_, D_FMT)));
      case LocaleText::LongDateFormat:
        return std::nullopt;
      case LocaleText::TimeSeparator: {
        // The character after the hours of the time format: %H:%M:%S gives ":".
        const std::u16string timeFormat = Item(locale_, T_FMT);
        const std::size_t hours = timeFormat.find_first_of(u"HIkl");
        if (hours == std::u16string::npos || hours + 1 >= timeFormat.size())
          return std::nullopt;
        return std::u16string(1, timeFormat[hours + 1]);
      }
      case LocaleText::TimeAMString:
        return Item(locale_, AM_STR);
      case LocaleText::TimePMString:
        return Item(locale_, PM_STR);
      case LocaleText::ShortMonthName:
        return Item(locale_, ABMON_1 + index);
      case LocaleText::LongMonthName:
        return Item(locale_, MON_1 + index);
      case LocaleText::ShortDayName:
        return Item(locale_, ABDAY_1 + index);
      case LocaleText::LongDayName:
        return Item(locale_, DAY_1 + index);
    }
    return std::nullopt;
  }

 private:
  locale_t locale_;
  bool posix_ = false;
};

}  // namespace

std::unique_ptr<UserLocale> UserLocale::Open(std::string_view name) {
  const std::string wanted(name);
  // An empty name takes the environment's locale, category by category.
  locale_t locale =
      newlocale(LC_CTYPE_MASK | LC_NUMERIC_MASK | LC_TIME_MASK, wanted.c_str(), nullptr);
  if (locale == nullptr)
    return nullptr;
  return std::make_unique<PosixLocale>(locale);
}

}  // namespace platform
