#include "ReplyText.h"

#include <string>

#include "Characters.h"
#include "Digits.h"
#include "Errors.h"
#include "Extended.h"
#include "IsoDate.h"
#include "TextToValue.h"
#include "Utf.h"

namespace quorvane::server {

namespace {

// The letters of the pattern's first field of the letter (d, m or y), 0 when it has none.
std::size_t FirstRun(std::u16string_view pattern, char16_t letter) {
  DatePatternTokens tokens(pattern);
  for (DatePatternToken token; tokens.Next(token);) {
    if (token.letter == letter)
      return token.run;
  }
  return 0;
}

void AppendNumberPadded(std::u16string& out, int value, int width) {
  out += DecimalText(value, static_cast<std::size_t>(width));
}

}  // namespace

std::u16string ShowCharacter(char16_t c) {
  if (c > 32 && c != 0x7F && c != 0xA0)
    return Quoted(std::u16string(1, c));
  return u"(code " + FromUtf8(std::to_string(static_cast<int>(c))) + u")";
}

DateStyle DateStyleOf(const LocaleSettings& settings) {
  DateStyle style;
  const std::u16string& pattern = settings.ShortDateFormat;
  style.Order = DateOrderOf(pattern);
  style.TwoDigitDay = FirstRun(pattern, u'd') != 1;
  style.TwoDigitMonth = FirstRun(pattern, u'm') != 1;
  style.Separator = settings.DateSeparator;
  return style;
}

ReplyWriter::ReplyWriter(const LocaleSettings& settings)
    : settings_(settings), style_(DateStyleOf(settings_)) {}

void ReplyWriter::AppendDate(std::u16string& out, int day) const {
  std::size_t start = out.size();
  const CalendarDay date = CalendarDayOf(day);
  int dayWidth = style_.TwoDigitDay ? 2 : 1, monthWidth = style_.TwoDigitMonth ? 2 : 1;
  auto part = [&](int index) {
    if (index > 0)
      out += style_.Separator;
    static constexpr int kParts[3][3] = {
        {0, 1, 2}, {1, 0, 2}, {2, 1, 0}};  // 0 day, 1 month, 2 year
    switch (kParts[static_cast<int>(style_.Order)][index]) {
      case 0:
        AppendNumberPadded(out, date.Day, dayWidth);
        break;
      case 1:
        AppendNumberPadded(out, date.Month, monthWidth);
        break;
      default:
        AppendNumberPadded(out, date.Year, 4);
        break;
    }
  };
  part(0);
  part(1);
  part(2);
  std::u16string_view written = std::u16string_view(out).substr(start);
  bool readsBack = false;
  try {
    readsBack = ReadDate(written, settings_) == static_cast<double>(day);
  } catch (const Exception&) {
  }
  if (!readsBack)
    throw ReplyFailure{
        Failure::LocaleSettings,
        u"Dates cannot be written for the client's locale settings (short date pattern " +
            Quoted(settings_.ShortDateFormat) + u", date separator " +
            ShowCharacter(settings_.DateSeparator) + u"): the day " + FromUtf8(IsoDateText(day)) +
            u" would be written " + Quoted(written) + u", which does not read back as that day"};
}

void ReplyWriter::AppendNumber(std::u16string& out, Figure figure) const {
  std::size_t start = out.size();
  AppendFigure(out, figure, settings_.DecimalSeparator);
  std::u16string_view written = std::u16string_view(out).substr(start);
  Extended meant = Extended::FromInt64(figure.Digits).ScaledByPowerOfTen(-figure.Scale);
  bool readsBack = false;
  try {
    readsBack = ReadNumber(written, settings_) == meant;
  } catch (const Exception&) {
  }
  if (!readsBack)
    throw ReplyFailure{Failure::LocaleSettings,
                       u"Numbers cannot be written for the client's decimal separator " +
                           ShowCharacter(settings_.DecimalSeparator) + u": the figure " +
                           FromUtf8(FigureText(figure)) + u" would be written " + Quoted(written) +
                           u", which does not read back as that figure"};
}

void ReplyWriter::CheckField(const std::u16string& out, std::size_t from,
                             std::u16string_view reserved, std::u16string_view role) const {
  for (std::size_t i = from; i < out.size(); ++i) {
    char16_t c = out[i];
    if (c > 32 && reserved.find(c) == std::u16string_view::npos)
      continue;
    std::u16string_view field = std::u16string_view(out).substr(from);
    throw ReplyFailure{
        Failure::LocaleSettings,
        u"The reply cannot be written for the client's locale settings: the " +
            std::u16string(role) + u" " + Quoted(field) + u" would hold the character " +
            ShowCharacter(c) +
            (c <= 32 ? u", which ends an entry of a list reply"
                     : u", which this reply uses to separate its entries or fields")};
  }
}

}  // namespace quorvane::server
