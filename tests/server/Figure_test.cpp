// Decimal figures, their exact division, and the calendar of the data.
#include "Figure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "TextToValue.h"

namespace {

using quorvane::server::DivideFigures;
using quorvane::server::Figure;
using quorvane::server::FigureText;
using quorvane::server::ParseFigure;

TEST(Figure, ParsesWhatTheDataFilesWrite) {
  struct Case {
    const char* text;
    std::optional<Figure> figure;
  };
  const Case cases[] = {
      {"0.0104335", Figure{104335, 7}},  // leading zeros of the fraction are kept by the scale
      {"0.30", Figure{30, 2}},           // a trailing zero stays, so the text comes back as is
      {"27093", Figure{27093, 0}},
      {"-0.5", Figure{-5, 1}},
      {"999999999999999999", Figure{999999999999999999, 0}},  // 18 digits fit
      {"1999999999999999999", std::nullopt},                  // 19 do not
      {"", std::nullopt},
      {"-", std::nullopt},
      {".5", std::nullopt},
      {"5.", std::nullopt},
      {"1.2.3", std::nullopt},
      {"1e5", std::nullopt},
      {"1,5", std::nullopt},
      {" 1", std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ParseFigure(c.text), c.figure) << c.text;
}

TEST(Figure, TextRoundTripsForRandomFigures) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 20000; ++i) {
    Figure figure{static_cast<std::int64_t>(random() % 1000000000000ULL) * (i % 2 ? 1 : -1),
                  static_cast<int>(random() % 12)};
    if (figure.Digits == 0)
      continue;
    std::string text = FigureText(figure);
    ASSERT_EQ(ParseFigure(text), figure) << text;
  }
  std::u16string text;
  quorvane::server::AppendFigure(text, Figure{-104335, 7}, u',');
  EXPECT_EQ(text, u"-0,0104335");
}

TEST(Figure, DivisionRoundsOnceToSixSignificantDigitsAndAtLeastFourDecimals) {
  struct Case {
    const char *a, *b, *quotient;
  };
  const Case cases[] = {
      {"1", "3", "0.333333"},            // six significant digits below 1
      {"2", "3", "0.666667"},            // rounded up
      {"1", "30.3842", "0.0329118"},     // the first digit in the second decimal place
      {"133.73", "0.7111", "188.0608"},  // never fewer than four decimals
      {"18641.58", "0.8476", "21993.3695"},
      {"1", "8", "0.125"},  // exact quotients lose their trailing zeros
      {"10", "4", "2.5"},
      {"7", "7", "1"},
      {"1.00001", "1", "1.00001"},       // exact at the sixth digit
      {"1.000005", "1", "1"},            // a tie goes to the even digit (0)
      {"1.000015", "1", "1.00002"},      // a tie goes to the even digit (2)
      {"1.0000050001", "1", "1.00001"},  // just above a tie
      {"0.00015", "1", "0.00015"},
      {"-1", "3", "-0.333333"},
      {"9.999996", "1", "10"},
      {"0.000000000000000001", "1", "0.000000000000000001"},  // eighteen decimals
      {"0.123456789012345678", "1", "0.123457"},              // many decimals dropped at once
      {"0.100000500000000000", "1", "0.1"},  // a tie found among the dropped digits
      {"0.100000500000000001", "1",
       "0.100001"},  // just above it  // rounding carries into a new digit
  };
  for (const Case& c : cases)
    EXPECT_EQ(FigureText(DivideFigures(*ParseFigure(c.a), *ParseFigure(c.b))), c.quotient)
        << c.a << " / " << c.b;
  EXPECT_THROW(DivideFigures(Figure{1, 0}, Figure{0, 0}), std::range_error);
  EXPECT_THROW(DivideFigures(Figure{999999999, 0}, Figure{1, 18}), std::range_error);
}

// The quotient lies within half a unit of its last place of the true quotient, for figures like
// those of the rate tables.
TEST(Figure, DivisionStaysWithinHalfAUnitOfTheLastPlace) {
  std::mt19937_64 random(11);
  for (int i = 0; i < 20000; ++i) {
    Figure a{static_cast<std::int64_t>(random() % 999999 + 1), static_cast<int>(random() % 8)};
    Figure b{static_cast<std::int64_t>(random() % 999999 + 1), static_cast<int>(random() % 8)};
    Figure q = DivideFigures(a, b);
    long double exact = (static_cast<long double>(a.Digits) * std::pow(10.0L, b.Scale - a.Scale)) /
                        static_cast<long double>(b.Digits);
    long double got = static_cast<long double>(q.Digits) / std::pow(10.0L, q.Scale);
    // Rounded at the fourth decimal or the sixth significant digit, whichever is finer.
    long double bound = std::min(0.5e-4L, 5e-6L * exact) * (1 + 1e-9L);
    ASSERT_LE(std::fabs(got - exact), bound)
        << FigureText(a) << " / " << FigureText(b) << " = " << FigureText(q);
  }
}

}  // namespace
