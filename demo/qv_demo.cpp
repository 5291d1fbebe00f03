// Splits a sample price-index reply and reads its dates and values under two locale conventions,
// the way the client decodes a server's reply, and prints what it finds as UTF-8 lines.
#include <iostream>
#include <string>
#include <string_view>

#include "Errors.h"
#include "LocaleSettings.h"
#include "StringList.h"
#include "TextToValue.h"
#include "Utf.h"
#include "ValueToText.h"

namespace {

using namespace quorvane;

struct Observation {
  int year, month, day;
  std::u16string_view index;  // written with "." and put into the locale's decimal separator
};

constexpr Observation kPriceIndex[] = {
    {2008, 1, 1, u"100"},
    {2009, 1, 1, u"113.3"},
    {2010, 1, 1, u"122.45"},
    {2010, 10, 8, u"131.0625"},
};

void Print(std::u16string_view line) {
  std::cout << ToUtf8(line) << '\n';
}

// Writes the reply as the server does for this client: dates by its short date pattern, numbers
// with its decimal separator, entries joined by the vertical bar.
std::u16string WriteReply() {
  std::u16string reply;
  for (const Observation& o : kPriceIndex) {
    if (!reply.empty())
      reply += u'|';
    reply += ShortDateText(EncodeDay(o.year, o.month, o.day));
    reply += u'&';
    for (char16_t c : o.index)
      reply += c == u'.' ? CurrentLocaleSettings().DecimalSeparator : c;
  }
  return reply;
}

void Decode(std::u16string_view reply) {
  StringList entries;
  entries.SetDelimiter(u'|');
  entries.SetDelimitedText(reply);
  for (int i = 0; i < entries.Count(); ++i) {
    const std::u16string& entry = entries.Get(i);
    const std::size_t cut = entry.find(u'&');
    const std::u16string_view dateText = std::u16string_view(entry).substr(0, cut);
    const std::u16string_view valueText = cut == std::u16string::npos
                                              ? std::u16string_view()
                                              : std::u16string_view(entry).substr(cut + 1);
    try {
      const TDate date = ReadDate(dateText);
      const CalendarDay day = DecodeDay(date);
      const Currency value = ReadMoney(valueText);
      Print(u"  " + entry + u"  ->  day " + FromUtf8(std::to_string(static_cast<long>(date))) +
            u" (" + CurrentLocaleSettings().LongDayNames[day.DayOfWeek] + u"), index " +
            FourDecimalText(value));
    } catch (const Exception& e) {
      Print(u"  " + entry + u"  ->  error: " + e.Message());
    }
  }
}

struct Convention {
  std::u16string_view title;
  LocaleSettings settings;
  std::u16string reply;
};

}  // namespace

int main() {
  Convention dayFirst{u"Day first", {}, {}};
  dayFirst.settings.ShortDateFormat = u"dd.MM.yyyy";
  dayFirst.settings.DateSeparator = u'.';
  dayFirst.settings.DecimalSeparator = u',';
  dayFirst.settings.ThousandSeparator = u'\u00a0';
  dayFirst.settings.LongDayNames = {u"Sonntag",    u"Montag",  u"Dienstag", u"Mittwoch",
                                    u"Donnerstag", u"Freitag", u"Samstag"};
  Convention monthFirst{u"Month first", {}, {}};
  monthFirst.settings.ShortDateFormat = u"M/d/yyyy";
  monthFirst.settings.DateSeparator = u'/';
  monthFirst.settings.DecimalSeparator = u'.';

  for (Convention* c : {&dayFirst, &monthFirst}) {
    ScopedLocaleSettings scoped(c->settings);
    c->reply = WriteReply();
  }
  for (const Convention* c : {&dayFirst, &monthFirst}) {
    const Convention* other = c == &dayFirst ? &monthFirst : &dayFirst;
    ScopedLocaleSettings scoped(c->settings);
    const LocaleSettings& s = CurrentLocaleSettings();
    Print(std::u16string(c->title) + u": short date pattern " + s.ShortDateFormat +
          u", date separator " + s.DateSeparator + u", decimal separator " + s.DecimalSeparator);
    Print(u"reply " + c->reply);
    Decode(c->reply);
    // A reply written for the other convention, ending with a delimiter, does not read here.
    const std::u16string foreign = other->reply.substr(0, other->reply.find(u'|') + 1);
    Print(u"reply " + foreign);
    Decode(foreign);
    Print(u"");
  }
  return 0;
}
