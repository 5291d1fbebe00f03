// The locale source on POSIX systems: what the C library's locales answer (nl_langinfo), made
// into items by PosixLocale.h.
#include "SystemLocale.h"

#include <langinfo.h>
#include <locale.h>

#include <cuchar>
#include <utility>

#include "PosixLocale.h"

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

// What the C library answers for the locale.
PosixLocaleAnswers AnswersOf(locale_t locale) {
  PosixLocaleAnswers answers;
  answers.radixChar = Item(locale, RADIXCHAR);
  answers.thousandsSeparator = Item(locale, THOUSEP);
  answers.dateFormat = Item(locale, D_FMT);
  answers.timeFormat = Item(locale, T_FMT);
  answers.amString = Item(locale, AM_STR);
  answers.pmString = Item(locale, PM_STR);
  for (int month = 0; month < 12; ++month) {
    answers.abbreviatedMonths[month] = Item(locale, ABMON_1 + month);
    answers.months[month] = Item(locale, MON_1 + month);
  }
  for (int day = 0; day < 7; ++day) {
    answers.abbreviatedDays[day] = Item(locale, ABDAY_1 + day);
    answers.days[day] = Item(locale, DAY_1 + day);
  }
  return answers;
}

class PosixLocale final : public UserLocale {
 public:
  explicit PosixLocale(PosixLocaleAnswers answers) : answers_(std::move(answers)) {}

  std::optional<std::u16string> Text(LocaleText item, int index) const override {
    return PosixLocaleText(answers_, item, index);
  }

 private:
  PosixLocaleAnswers answers_;
};

}  // namespace

std::unique_ptr<UserLocale> UserLocale::Open(std::string_view name) {
  const std::string wanted(name);
  // An empty name takes the environment's locale, category by category.
  locale_t locale =
      newlocale(LC_CTYPE_MASK | LC_NUMERIC_MASK | LC_TIME_MASK, wanted.c_str(), nullptr);
  if (locale == nullptr)
    return nullptr;
  auto opened = std::make_unique<PosixLocale>(AnswersOf(locale));
  freelocale(locale);
  return opened;
}

}  // namespace platform
