// The fast path of number reading and money rounding against the general path, bit for bit, with
// the same errors and messages, over random and adversarial texts: long digit runs, many decimals,
// big exponents, ties and near-ties of the fourth decimal, the edges of the fast path's conditions,
// and several decimal separators. QV_IDENTITY_TEXTS sets the number of texts
// (scripts/number-identity runs 100 million).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

#include "Errors.h"
#include "Sanitized.h"
#include "TextToValue.h"
#include "Utf.h"

namespace quorvane {
namespace {

constexpr long kDefaultTexts = kSanitizedBuild ? 100000 : 1000000;

long TextCount() {
  const char* wanted = std::getenv("QV_IDENTITY_TEXTS");
  return wanted && std::atol(wanted) > 0 ? std::atol(wanted) : kDefaultTexts;
}

// What one reading gave: the bits of the value or the count, or the error kind and message.
struct Outcome {
  std::string kind;
  bool negative = false;
  std::uint16_t exponent = 0;
  std::uint64_t bits = 0;
  std::u16string message;
  friend bool operator==(const Outcome&, const Outcome&) = default;
};

template <typename Read>
Outcome OutcomeOf(Read read) {
  Outcome o;
  try {
    read(o);
    o.kind = "value";
  } catch (const EConvertError& e) {
    o = {"EConvertError", false, 0, 0, e.Message()};
  } catch (const EInvalidOp& e) {
    o = {"EInvalidOp", false, 0, 0, e.Message()};
  } catch (const EOverflow& e) {
    o = {"EOverflow", false, 0, 0, e.Message()};
  }
  return o;
}

Outcome NumberOutcome(bool fast, std::u16string_view text, char16_t separator) {
  return OutcomeOf([&](Outcome& o) {
    const Extended x = fast ? ReadNumber(text, separator) : ReadNumberGeneral(text, separator);
    o.negative = x.Negative();
    o.exponent = x.BiasedExponent();
    o.bits = x.Significand();
  });
}

Outcome MoneyOutcome(bool fast, std::u16string_view text, char16_t separator) {
  return OutcomeOf([&](Outcome& o) {
    const Currency c = fast ? ReadMoney(text, separator) : ReadMoneyGeneral(text, separator);
    o.bits = static_cast<std::uint64_t>(c.Count);
  });
}

std::string Show(const Outcome& o) {
  return o.kind + " " + (o.negative ? "-" : "+") + std::to_string(o.exponent) + ":" +
         std::to_string(o.bits) + " " + ToUtf8(o.message);
}

class TextMaker {
 public:
  explicit TextMaker(std::uint64_t seed) : random_(seed) {}

  // One text for the separator, by one of several shapes.
  std::u16string Next(char16_t separator) {
    std::u16string digits;
    int fraction = 0;
    std::string exponent;
    switch (random_() % 6) {
      case 0:  // anything: up to 30 digits, the separator anywhere, any exponent
        digits = Digits(static_cast<int>(random_() % 31));
        fraction = static_cast<int>(random_() % (digits.size() + 1));
        exponent = RandomExponent();
        break;
      case 1:  // long runs around 19 and 20 digits, leading zeros, near 2^64
        digits = LongRun();
        fraction = static_cast<int>(random_() % (digits.size() + 1));
        if (random_() % 2)
          exponent = RandomExponent();
        break;
      case 2:  // a tie or near-tie of the fourth decimal, sometimes written with an exponent
        Tie(digits, fraction, exponent);
        break;
      case 3:  // the edge of the fast money path: the integer near 2^62 / 10^Q
        FastMoneyEdge(digits, fraction);
        break;
      case 4:  // the edge of the exact powers: 10^+-27 and one beyond
        digits = Digits(1 + static_cast<int>(random_() % 19));
        fraction = static_cast<int>(random_() % (digits.size() + 1));
        exponent = std::to_string(static_cast<int>(random_() % 9) - 4 + (random_() % 2 ? 27 : -27) +
                                  fraction);
        break;
      default:  // money-like: few digits, up to eight decimals
        digits = Digits(1 + static_cast<int>(random_() % 16));
        fraction = static_cast<int>(random_() % std::min<std::size_t>(9, digits.size() + 1));
        break;
    }
    return Write(digits, fraction, exponent, separator);
  }

 private:
  std::u16string Digits(int count) {
    std::u16string d;
    for (int k = 0; k < count; ++k)
      d += static_cast<char16_t>(u'0' + random_() % 10);
    return d;
  }

  std::string RandomExponent() {
    switch (random_() % 5) {
      case 0:
        return std::to_string(static_cast<int>(random_() % 81) - 40);
      case 1:
        return std::to_string(static_cast<int>(random_() % 9999) - 4999);
      case 2:
        return random_() % 2 ? "5000" : "-00000000000031";  // stops at 500; leading zeros
      case 3:
        return std::string("+").append(std::to_string(random_() % 30));
      default:
        return "";
    }
  }

  std::u16string LongRun() {
    static const std::u16string_view edges[] = {
        u"18446744073709551615", u"18446744073709551616", u"18446744073709551617",
        u"1844674407370955161",  u"9999999999999999999",  u"99999999999999999999",
        u"4611686018427387903",  u"4611686018427387904",  u"9223372036854775807",
        u"9223372036854775808",  u"10000000000000000000", u"0000000000000000000000001"};
    if (random_() % 3 == 0)
      return std::u16string(edges[random_() % std::size(edges)]);
    std::u16string run(random_() % 8, u'0');
    return run + Digits(15 + static_cast<int>(random_() % 8));
  }

  void Tie(std::u16string& digits, int& fraction, std::string& exponent) {
    static const char16_t* const tails[] = {
        u"5",  u"50", u"500000", u"49999", u"50001", u"4999999999999999", u"5000000000000001",
        u"51", u"49"};
    digits = Digits(static_cast<int>(random_() % 16)) + Digits(4);
    if (random_() % 50 == 0)
      digits = u"4611686018427387";  // a count near 2^62
    const std::u16string tail = tails[random_() % std::size(tails)];
    digits += tail;
    fraction = 4 + static_cast<int>(tail.size());
    if (random_() % 4 == 0) {  // the same value with the point moved into the exponent
      const int shift = static_cast<int>(random_() % 4);
      fraction = std::max(0, fraction - shift);
      exponent = std::to_string(-shift);
    }
  }

  void FastMoneyEdge(std::u16string& digits, int& fraction) {
    const int q = static_cast<int>(random_() % 40) - 20;  // Q = P + 4
    const int power = q - 4;
    std::uint64_t limit = std::uint64_t{1} << 62;
    for (int k = 0; k < q && limit > 0; ++k)
      limit /= 10;
    const std::int64_t delta = static_cast<std::int64_t>(random_() % 7) - 3;
    const std::uint64_t n = limit + static_cast<std::uint64_t>(delta);
    digits = FromUtf8(std::to_string(n));
    if (power < 0) {
      fraction = -power;
      if (static_cast<std::size_t>(fraction) > digits.size())
        digits.insert(0, static_cast<std::size_t>(fraction) - digits.size(), u'0');
    } else {
      digits += std::u16string(static_cast<std::size_t>(power), u'0');
      fraction = 0;
    }
  }

  std::u16string Write(const std::u16string& digits, int fraction, const std::string& exponent,
                       char16_t separator) {
    std::u16string text(random_() % 8 == 0 ? 1 : 0, u' ');
    const auto sign = random_() % 6;
    text += sign == 0 ? u"-" : sign == 1 ? u"+" : u"";
    const std::size_t integerDigits = digits.size() - static_cast<std::size_t>(fraction);
    text += digits.substr(0, integerDigits);
    if (fraction > 0 || random_() % 4 == 0)
      text += separator + digits.substr(integerDigits);
    if (!exponent.empty() || random_() % 16 == 0)
      text += (random_() % 2 ? u"E" : u"e") + FromUtf8(exponent);
    switch (random_() % 32) {
      case 0:
        text += u"  ";
        break;
      case 1:
        text += u'x';  // does not read
        break;
      case 2:
        text += std::u16string(
            u"\0"
            u"1,5",
            4);  // nothing behind a NUL counts
        break;
      case 3:
        text += separator;  // a second separator
        break;
      default:
        break;
    }
    return text;
  }

  std::mt19937_64 random_;
};

TEST(NumberFastPath, GivesTheGeneralPathsBitsErrorsAndMessages) {
  // The separators of the locales, one that no C locale has, and two that collide with the syntax.
  const char16_t separators[] = {u',', u'.', u'\u066B', u'E', u'\0'};
  TextMaker maker(20261210);
  const long count = TextCount();
  for (long i = 0; i < count; ++i) {
    const char16_t separator = separators[i % 16 < 7 ? 0 : i % 16 < 12 ? 1 : 2 + i % 3];
    const std::u16string text = maker.Next(separator);
    const Outcome fastNumber = NumberOutcome(true, text, separator);
    const Outcome generalNumber = NumberOutcome(false, text, separator);
    ASSERT_EQ(fastNumber, generalNumber)
        << ToUtf8(text) << ": " << Show(fastNumber) << " vs " << Show(generalNumber);
    const Outcome fastMoney = MoneyOutcome(true, text, separator);
    const Outcome generalMoney = MoneyOutcome(false, text, separator);
    ASSERT_EQ(fastMoney, generalMoney)
        << ToUtf8(text) << ": " << Show(fastMoney) << " vs " << Show(generalMoney);
  }
}

// Short texts over a small alphabet that mixes digits with every unit the short scan must tell
// apart (signs, separators, letters of the exponent, blanks, NUL, digits of other scripts), at
// every length around its limits of 4 and 16 units.
TEST(NumberFastPath, ShortTextsOverAMixedAlphabet) {
  const char16_t separators[] = {u',', u'.', u'\u066B', u'E', u'-', u'\0'};
  const std::u16string_view others = u"+-,.Ee \u066B\uFF11\u0661x";
  std::mt19937_64 random(4);
  for (int i = 0; i < (kSanitizedBuild ? 20000 : 200000); ++i) {
    const char16_t separator = separators[i % std::size(separators)];
    const std::size_t length = random() % 19;
    std::u16string text;
    for (std::size_t k = 0; k < length; ++k) {
      const auto pick = random() % 16;
      text += pick < 11           ? static_cast<char16_t>(u'0' + random() % 10)
              : pick < 13         ? separator
              : random() % 8 == 0 ? u'\0'
                                  : others[random() % others.size()];
    }
    ASSERT_EQ(NumberOutcome(true, text, separator), NumberOutcome(false, text, separator))
        << ToUtf8(text) << " with " << static_cast<int>(separator);
    ASSERT_EQ(MoneyOutcome(true, text, separator), MoneyOutcome(false, text, separator))
        << ToUtf8(text) << " with " << static_cast<int>(separator);
  }
}

// Every exact half of the count against the general path: the closed form of a tie depends on the
// odd number a = 2 * count + 1 through its bit length and its residue modulo 625, so each bit
// length meets every odd residue modulo 1250, with the half written at several decimals.
TEST(NumberFastPath, TiesOfEveryBitLengthAndResidue) {
  for (int k = 1; k <= 3; ++k) {
    std::uint64_t scale = 1;
    for (int i = 0; i < k; ++i)
      scale *= 10;
    for (int length = 2; length <= 62; ++length) {
      const std::uint64_t low = std::uint64_t{1} << (length - 1);
      const std::uint64_t high = low * 2;
      const std::uint64_t base = (low + 1249) / 1250 * 1250;
      for (std::uint64_t residue = 1; residue < 1250; residue += 2) {
        std::uint64_t a = base + residue;
        if (a >= high)
          a = low + residue % low;  // short bit lengths: every odd number of the length
        if (a < low || a >= high || a % 2 == 0)
          continue;
        const std::uint64_t m = (a - 1) / 2;
        if (m >= ((std::uint64_t{1} << 62) - scale / 2) / scale)
          continue;  // the integer of the text must stay below 2^62
        std::string digits = std::to_string(m * scale + scale / 2);
        const std::size_t fraction = static_cast<std::size_t>(k) + 4;
        if (digits.size() <= fraction)
          digits.insert(0, fraction + 1 - digits.size(), '0');
        digits.insert(digits.size() - fraction, 1, ',');
        const std::u16string text = FromUtf8(digits);
        ASSERT_EQ(MoneyOutcome(true, text, u','), MoneyOutcome(false, text, u',')) << digits;
      }
    }
  }
}

// Cases where a shortcut would be tempting and wrong, each against the general path.
TEST(NumberFastPath, HandPickedEdges) {
  const std::u16string_view texts[] = {
      u"0,00005",                 // a tie at zero
      u"0,00015",                 // a tie up to the even count
      u"0,00025",                 // a tie down to the even count
      u"-0,00015",                //
      u"461168601842,73875",      // a tie just below 2^62 ten-thousandths
      u"461168601842,73885",      // a tie just above: the general path
      u"761900026501372,7261",    // above 2^62 the two roundings move an odd count
      u"922337203685477,5807",    // the largest count
      u"922337203685477,5808",    // one beyond
      u"4611686018427387903E-4",  // the largest integer of the fast money path
      u"4611686018427387904E-4",  // 2^62: the general path
      u"1E-27", u"1E-28", u"1E27",
      u"1E28",                            // the edges of the exact powers
      u"9999999999999999999E-27",         // 19 digits at the smallest exact power
      u"18446744073709551615",            // 2^64 - 1: exact, 20 digits
      u"18446744073709551616",            // 2^64: the accumulator rounds
      u"0000000000000000000000000001,5",  // leading zeros keep the integer exact
      u"0,000000000000000000000000000000000001", u"-0", u"-,", u",", u"5,", u"1E", u"1e+",
      // Units next to the codes of the digits, and digit runs of several lengths.
      u"12:5", u"1/25", u"1\uFFFF2,5", u"\uFFFA1,5",
      u"12\u0663",  // an Arabic-Indic digit is no digit here
      u"1234,5678", u"12345,678", u"1,2345", u"123", u"-1,5",
      u"1234567890123456789",    // 19 digits
      u"123456789012345678,9",   //
      u"1234567890123456789,0",  // 20 digits
  };
  for (std::u16string_view text : texts) {
    EXPECT_EQ(NumberOutcome(true, text, u','), NumberOutcome(false, text, u',')) << ToUtf8(text);
    EXPECT_EQ(MoneyOutcome(true, text, u','), MoneyOutcome(false, text, u',')) << ToUtf8(text);
  }
}

}  // namespace
}  // namespace quorvane
