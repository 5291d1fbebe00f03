#pragma once
// What a date editor makes of a typed text, under a short date pattern and date separator (the
// other settings their defaults, the clock's year 2010): the table of the reading's own test and of
// the Qt editor's test, which types each text into the real widget.

#include <string_view>

namespace quorvane::test {

struct TypedDateCase {
  const char* why;
  std::u16string_view pattern;
  char16_t separator;
  std::u16string_view typed;
  int year, month, day;  // all 0: refused
};

inline constexpr TypedDateCase kTypedDateCases[] = {
    // A quoted suffix, as the editor shows it, and with the suffix left out.
    {"quoted suffix", u"d.mm.yy '\u0433'.", u'.', u"17.06.15 \u0433.", 2015, 6, 17},
    {"quoted suffix, another day", u"d.mm.yy '\u0433'.", u'.', u"9.10.10 \u0433.", 2010, 10, 9},
    {"quoted suffix left out", u"d.mm.yy '\u0433'.", u'.', u"17.06.15", 2015, 6, 17},
    {"quoted suffix, four-digit year", u"d.mm.yy '\u0433'.", u'.', u"17.06.2015 \u0433.", 2015, 6,
     17},
    {"quoted suffix, wrong day", u"d.mm.yy '\u0433'.", u'.', u"31.06.15 \u0433.", 0, 0, 0},
    {"quoted suffix, other text after", u"d.mm.yy '\u0433'.", u'.', u"17.06.15 \u0433.x", 0, 0, 0},
    // Year first with blanks and a final full stop.
    {"year first with blanks", u"yyyy. mm. dd.", u'.', u"2010. 10. 08.", 2010, 10, 8},
    {"year first, blanks left out", u"yyyy. mm. dd.", u'.', u"2010.10.08", 2010, 10, 8},
    // A pattern whose separators differ: only the first one is the date separator.
    {"two separators", u"dd/mm yyyy", u'/', u"08/10 2010", 2010, 10, 8},
    // Letters that are no date field are literal text.
    {"letters that are no field", u"yyyy-mm-ddTx", u'-', u"2010-10-08Tx", 2010, 10, 8},
    {"literal letters in another case", u"yyyy-mm-ddTx", u'-', u"2010-10-08tX", 2010, 10, 8},
    // Direction marks around the separators are invisible and optional.
    {"direction marks", u"d\u200f/m\u200f/yyyy", u'/', u"8\u200f/10\u200f/2010", 2010, 10, 8},
    {"direction marks left out", u"d\u200f/m\u200f/yyyy", u'/', u"8/10/2010", 2010, 10, 8},
    {"direction marks typed where the pattern has none", u"dd.mm.yyyy", u'.',
     u"08\u200f.10\u200f.2010", 2010, 10, 8},
    // Names of months and days.
    {"month name", u"d mmmm yyyy", u' ', u"8 October 2010", 2010, 10, 8},
    {"month name, short and in another case", u"d mmmm yyyy", u' ', u"8 oct 2010", 2010, 10, 8},
    {"month name in capitals", u"d mmmm yyyy", u' ', u"8 OCTOBER 2010", 2010, 10, 8},
    {"day and month names", u"dddd, mmmm d, yyyy", u' ', u"Friday, October 8, 2010", 2010, 10, 8},
    {"unknown month name", u"d mmmm yyyy", u' ', u"8 Octember 2010", 0, 0, 0},
    // Blanks of any width match the pattern's blanks, as locales write no-break spaces.
    {"no-break spaces", u"d mmmm yyyy", u' ', u"8\u00a0October\u202f2010", 2010, 10, 8},
    // The short pattern may name the long one (six d), read as it is written.
    {"the long pattern named", u"dddddd", u'/', u"October 8, 2010", 2010, 10, 8},
    // Digits run together keep to the widths of their fields.
    {"no separators", u"yyyymmdd", u'/', u"20101008", 2010, 10, 8},
    {"no separators, a digit too many", u"yyyymmdd", u'/', u"201010081", 0, 0, 0},
    // Two-digit years fall in the window from 1960 to 2059.
    {"two-digit year, last of the window", u"dd.mm.yy", u'.', u"08.10.59", 2059, 10, 8},
    {"two-digit year, first of the window", u"dd.mm.yy", u'.', u"08.10.60", 1960, 10, 8},
    {"four digits where the pattern has two", u"dd.mm.yy", u'.', u"08.10.2010", 2010, 10, 8},
    {"a leap day", u"dd.mm.yyyy", u'.', u"29.02.2008", 2008, 2, 29},
    {"no leap day", u"dd.mm.yyyy", u'.', u"29.02.2010", 0, 0, 0},
    {"no year 0", u"dd.mm.yyyy", u'.', u"08.10.0000", 0, 0, 0},
    // Shorter entries still read by the general reading: day and month of the current year.
    {"day and month alone", u"dd.mm.yyyy", u'.', u"8.10", 2010, 10, 8},
    {"no date", u"dd.mm.yyyy", u'.', u"soon", 0, 0, 0},
};

}  // namespace quorvane::test
