// The country list and the dated series of a country.

#include "Replies.h"
#include "ReplyText.h"
#include "TextMatch.h"

namespace quorvane::server {

namespace {

// Country names match without regard to case, an underscore standing for a space.
std::u16string CountryKey(std::u16string_view name) {
  std::u16string key = FoldCase(name);
  for (char16_t& c : key)
    if (c == u'_')
      c = u' ';
  return key;
}

const Country& FindCountry(const ServerData& data, std::u16string_view name) {
  std::u16string key = CountryKey(name);
  for (const Country& country : data.Countries)
    if (CountryKey(country.Name) == key)
      return country;
  std::u16string known;
  for (const Country& country : data.Countries)
    AppendToList(known, country.Name);
  throw ReplyFailure{Failure::UnknownCountry, u"Unknown country " + Quoted(name) +
                                                  u"; the server has data for " +
                                                  (known.empty() ? u"no country" : known)};
}

[[noreturn]] void NoSeries(const Country& country, std::u16string_view what) {
  throw ReplyFailure{Failure::NoSeries,
                     u"The server has no " + std::u16string(what) + u" data for " + country.Name};
}

// One "date&value" entry per observation, in the given order.
template <typename Iterator>
std::u16string DateValueEntries(Iterator first, Iterator last, const LocaleSettings& settings) {
  ReplyWriter writer(settings);
  std::u16string text;
  for (Iterator it = first; it != last; ++it) {
    if (!text.empty())
      text += u'|';
    std::size_t at = text.size();
    writer.AppendDate(text, it->Day);
    writer.CheckField(text, at, u"|&", u"date");
    text += u'&';
    at = text.size();
    writer.AppendNumber(text, it->Value);
    writer.CheckField(text, at, u"|", u"number");
  }
  return text;
}

}  // namespace

Reply CountryListReply(const ServerData& data) {
  std::u16string text = u"|";
  bool first = true;
  for (const Country& country : data.Countries) {
    if (!country.MinimumWages && !country.PriceIndex && !country.FundsRate)
      continue;
    if (!first)
      text += u'|';
    first = false;
    for (char16_t c : country.Name)
      text += c == u' ' ? u'_' : c;
  }
  return Reply::Success(text);
}

Reply MinimumWageReply(const ServerData& data, std::u16string_view country,
                       const LocaleSettings& settings) {
  return Answer([&] {
    const Country& found = FindCountry(data, country);
    if (!found.MinimumWages || found.MinimumWages->empty())
      NoSeries(found, u"minimum wage");
    ReplyWriter writer(settings);
    std::u16string text;
    for (const MinimumWage& wage : *found.MinimumWages) {
      if (!text.empty())
        text += u'|';
      std::size_t at = text.size();
      writer.AppendDate(text, wage.Day);
      writer.CheckField(text, at, u"|&", u"date");
      text += u'&';
      at = text.size();
      writer.AppendNumber(text, wage.Statutory);
      writer.CheckField(text, at, u"|&", u"number");
      text += u'&';
      at = text.size();
      writer.AppendNumber(text, wage.MonthlyFullTime);
      writer.CheckField(text, at, u"|", u"number");
    }
    return text;
  });
}

Reply PriceIndexReply(const ServerData& data, std::u16string_view country,
                      const LocaleSettings& settings) {
  return Answer([&] {
    const Country& found = FindCountry(data, country);
    if (!found.PriceIndex || found.PriceIndex->empty())
      NoSeries(found, u"consumer price index");
    return DateValueEntries(found.PriceIndex->begin(), found.PriceIndex->end(), settings);
  });
}

Reply FundsRateReply(const ServerData& data, std::u16string_view country,
                     const LocaleSettings& settings) {
  return Answer([&] {
    const Country& found = FindCountry(data, country);
    if (!found.FundsRate || found.FundsRate->empty())
      NoSeries(found, u"funds rate");
    return DateValueEntries(found.FundsRate->rbegin(), found.FundsRate->rend(), settings);
  });
}

}  // namespace quorvane::server
