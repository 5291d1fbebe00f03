// Reads arbitrary text as a date under one of a few short date conventions, as the date reading and
// as the date editors read typed text, and writes arbitrary date numbers by arbitrary patterns. A
// reading gives a valid whole day or the conversion error (or nothing); nothing else may happen.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "Errors.h"
#include "FuzzInput.h"
#include "LocaleSettings.h"
#include "TextToValue.h"
#include "TypedDate.h"
#include "ValueToText.h"

namespace {

using fuzzinput::Check;

struct Convention {
  const char16_t* pattern;
  char16_t separator;
};

constexpr Convention kConventions[] = {
    {u"dd.MM.yyyy", u'.'}, {u"M/d/yyyy", u'/'},        {u"yyyy-MM-dd", u'-'},
    {u"ddd d/m/yy", u' '}, {u"dddd, dd.mm.yy", u'.'},  {u"", u'\0'},
    {u"ee/mm/dd", u'0'},   {u"dd.mm.yyyy", u'\u00b7'},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  quorvane::SetCurrentYearSource([] { return 2010; });
  const Convention& convention = input.PickValueInArray(kConventions);
  quorvane::LocaleSettings settings;
  settings.ShortDateFormat = convention.pattern;
  settings.DateSeparator = convention.separator;
  settings.TimeAMString = input.ConsumeBool() ? u"" : u"AM";
  settings.TimePMString = input.ConsumeBool() ? u"" : u"\u041f\u041f";
  settings.TwoDigitYearCenturyWindow = input.ConsumeIntegralInRange(0, 63);
  const double date = fuzzinput::ConsumeAnyDouble(input);
  const std::u16string text = fuzzinput::ConsumeRemainingUtf16(input);

  {
    quorvane::ScopedLocaleSettings scoped(settings);
    try {
      const double day = quorvane::ReadDate(text);
      Check(day == std::trunc(day) && day >= -693593 && day <= 2958465);
      const quorvane::CalendarDay d = quorvane::DecodeDay(day);
      Check(quorvane::EncodeDay(d.Year, d.Month, d.Day) == day);
    } catch (const quorvane::EConvertError& e) {
      Check(e.Message().compare(2, text.size(), text) == 0);
    }
    // The date editor's reading: a valid whole day or nothing.
    if (const std::optional<double> typed = quorvane::ReadTypedDate(text))
      Check(*typed == std::trunc(*typed) && *typed >= -693593 && *typed <= 2958465);
  }

  // The text as both date patterns, which may name each other.
  settings.ShortDateFormat = text;
  settings.LongDateFormat = text.substr(text.size() / 2) + u"ddddd";
  quorvane::ScopedLocaleSettings scoped(settings);
  const std::u16string written = quorvane::ShortDateText(date);
  Check(written.size() <= quorvane::kMaxDateTextLength);
  // The date editor reads the text under those patterns, as typed: no crash, no runaway.
  if (const std::optional<double> typed = quorvane::ReadTypedDate(written))
    Check(*typed == std::trunc(*typed));
  return 0;
}
