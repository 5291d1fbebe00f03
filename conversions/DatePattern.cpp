#include "DatePattern.h"

#include "Characters.h"
#include "LocaleSettings.h"

namespace quorvane {

bool DatePatternTokens::Next(DatePatternToken& token) {
  if (at_ >= pattern_.size())
    return false;
  const char16_t c = pattern_[at_];
  const char16_t letter = AsciiLower(c);
  if (fieldLetters_.find(letter) != std::u16string_view::npos) {
    std::size_t run = 1;
    while (at_ + run < pattern_.size() && AsciiLower(pattern_[at_ + run]) == letter)
      ++run;
    token = {letter, run, pattern_.substr(at_, run), false};
    at_ += run;
  } else if (c == u'\'' || c == u'"') {
    const std::size_t close = pattern_.find(c, at_ + 1);
    const std::size_t stop = close == std::u16string_view::npos ? pattern_.size() : close;
    token = {0, 0, pattern_.substr(at_ + 1, stop - at_ - 1), true};
    at_ = stop == pattern_.size() ? stop : stop + 1;
  } else {
    token = {0, 0, pattern_.substr(at_, 1), false};
    ++at_;
  }
  return true;
}

ShortDateElements::ShortDateElements(const LocaleSettings& settings)
    : settings_(settings),
      frames_{DatePatternTokens(settings.ShortDateFormat),
              DatePatternTokens(settings.LongDateFormat)} {}

bool ShortDateElements::Next(DateElement& element) {
  using Kind = DateElement::Kind;
  DatePatternToken token;
  while (depth_ > 0) {
    if (!frames_[depth_ - 1].Next(token)) {
      --depth_;
      continue;
    }
    if (token.letter == 0) {
      if (!token.quoted && token.text == u"/")
        element = {Kind::Text, 0, {&settings_.DateSeparator, 1}};
      else if (!token.quoted && token.text == u":")
        element = {Kind::Text, 0, {&settings_.TimeSeparator, 1}};
      else if (token.text.empty())
        continue;  // an empty quote
      else
        element = {Kind::Text, 0, token.text};
      return true;
    }
    if (token.letter == u'd' && token.run >= 5) {
      // ddddd names the short pattern, which is always being expanded (it is the outer one); more
      // d name the long pattern, expanded unless it is being expanded already.
      if (token.run > 5 && depth_ == 1) {
        frames_[1] = DatePatternTokens(settings_.LongDateFormat);
        depth_ = 2;
      }
      continue;
    }
    if (token.letter == u'd')
      element = {token.run <= 2 ? Kind::Day : Kind::DayName, token.run, {}};
    else if (token.letter == u'm')
      element = {token.run <= 2 ? Kind::Month : Kind::MonthName, token.run, {}};
    else
      element = {Kind::Year, token.run, {}};
    return true;
  }
  return false;
}

DateOrder DateOrderOf(std::u16string_view pattern) {
  for (char16_t c : pattern) {
    switch (AsciiLower(c)) {
      case u'd':
        return DateOrder::DayMonthYear;
      case u'm':
        return DateOrder::MonthDayYear;
      case u'y':
      case u'e':
        return DateOrder::YearMonthDay;
      default:
        break;
    }
  }
  return DateOrder::MonthDayYear;
}

std::u16string SeparatorOf(std::u16string_view pattern, std::u16string_view fieldLetters) {
  DatePatternTokens tokens(pattern, fieldLetters);
  DatePatternToken token;
  bool afterField = false;
  char16_t first = 0;  // the first character after the first field
  while (tokens.Next(token)) {
    if (token.letter != 0) {
      if (afterField)
        return first == 0 ? std::u16string() : std::u16string(1, first);
      afterField = true;
    } else if (afterField && first == 0 && !token.quoted && !IsFormatMark(token.text[0])) {
      first = token.text[0];
    }
  }
  return {};
}

}  // namespace quorvane
