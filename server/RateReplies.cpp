// Exchange-rate histories and the rate on a day.

#include <cmath>
#include <cstdio>

#include "Calendar.h"
#include "ExchangeRates.h"
#include "IsoDate.h"
#include "Replies.h"
#include "ReplyText.h"
#include "Utf.h"

namespace quorvane::server {

namespace {

// The whole day of a date-time number, the time of day dropped.
int DayOf(double date) {
  if (date == kNullDate)
    throw ReplyFailure{Failure::NoDate, u"No date given (the date editor holds no date)"};
  if (!std::isfinite(date) || std::trunc(date) < kFirstDayNumber ||
      std::trunc(date) > kLastDayNumber) {
    char number[32];
    std::snprintf(number, sizeof number, "%.17g", date);
    throw ReplyFailure{Failure::NoDate, u"The date number " + FromUtf8(number) +
                                            u" is no day from the year 1 to the year 9999"};
  }
  return static_cast<int>(std::trunc(date));
}

// The first of a few delimiters that no date or number of the reply can hold.
char16_t HistoryDelimiter(const LocaleSettings& settings) {
  for (char16_t candidate : {u';', u'|', u'#'})
    if (candidate != settings.DateSeparator && candidate != settings.DecimalSeparator)
      return candidate;
  return u';';  // not reached: two separators cannot rule out three candidates
}

}  // namespace

Reply ExchangeHistoryReply(const ServerData& data, std::u16string_view from, std::u16string_view to,
                           const LocaleSettings& settings) {
  return Answer([&] {
    RatePair pair = ResolvePair(data, from, to);
    if (pair.Same())
      throw ReplyFailure{Failure::NoRates, u"The rate of " + pair.From +
                                               u" with itself is always 1; it has no history"};
    Series history = RateHistory(pair);
    if (history.empty())
      throw ReplyFailure{Failure::NoRates, u"The data hold no day on which both " + pair.From +
                                               u" and " + pair.To + u" are quoted"};
    ReplyWriter writer(settings);
    char16_t delimiter = HistoryDelimiter(settings);
    const std::u16string dateReserved = {delimiter, u'='}, valueReserved = {delimiter};
    std::u16string text(1, delimiter);
    for (const Observation& entry : history) {
      if (text.size() > 1)
        text += delimiter;
      std::size_t at = text.size();
      writer.AppendDate(text, entry.Day);
      writer.CheckField(text, at, dateReserved, u"date");
      text += u'=';
      at = text.size();
      writer.AppendNumber(text, entry.Value);
      writer.CheckField(text, at, valueReserved, u"number");
    }
    return text;
  });
}

Reply ExchangeRateReply(const ServerData& data, std::u16string_view from, std::u16string_view to,
                        double day, const LocaleSettings& settings) {
  return Answer([&] {
    RatePair pair = ResolvePair(data, from, to);
    int whole = DayOf(day);
    if (pair.Same())
      return std::u16string(u"F");
    RateOnDay rate = RateOn(pair, whole);
    // The words between the letter and the number hold neither "=" nor ":".
    std::u16string text = rate.Kind == RateKind::Direct ? u"N" : u"C";
    text += pair.To + u" per " + pair.From;
    if (rate.Kind == RateKind::Computed)
      text += u" through " + rate.Through;
    text += u" as of " + FromUtf8(IsoDateText(rate.ObservedDay));
    text += rate.Kind == RateKind::Direct ? u'=' : u':';
    ReplyWriter(settings).AppendNumber(text, rate.Value);
    return text;
  });
}

}  // namespace quorvane::server
