// Recordings: what the writer writes the reader reads back exactly; a malformed or oversized file
// is refused with an error that names its line; and the replay answers what was recorded, in the
// recorded order, and says so of a call the recording lacks.
#include "Recording.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "ComPtr.h"
#include "Digits.h"
#include "QuorvaneInterface.h"
#include "ReplayServer.h"
#include "ServerCall.h"
#include "Utf.h"

namespace {

using quorvane::server::ReadRecording;
using quorvane::server::RecordedArgument;
using quorvane::server::RecordedCall;
using quorvane::server::Recording;
using quorvane::server::RecordingError;
using quorvane::server::RecordingLimits;
using Kind = quorvane::server::RecordedArgument::Kind;

const std::string kHeader =
    R"({"format": "quorvane-recording", "version": 1, "server": {"class_id": "{9470904C-EAB4-4BD4-8724-274F79A89FC0}", "module": "embedded"}, "recorded": "2026-01-01T00:00:00.000Z"})";
const std::string kLocale =
    R"("locale": {"short_date": "m/d/yy", "date_separator": "/", "decimal_separator": ".", "thousand_separator": ","})";
const std::string kCall = R"({"operation": "GetCountryList", "arguments": [], )" + kLocale +
                          R"(, "status": "0x00000000", "reply": "|Russia"})";

Recording Sample() {
  Recording recording;
  recording.header = {u"{9470904C-EAB4-4BD4-8724-274F79A89FC0}", u"embedded", u"1.0.0",
                      "2026-12-11T15:00:00.000Z"};
  RecordedCall rate;
  rate.operation = "GetExchangeRate";
  rate.arguments = {{Kind::Text, u"RUB"}, {Kind::Text, u"USD"}, {Kind::Date, {}, 40459.75}};
  rate.reply = u"NRUB per USD as of 2010-10-08=0.0337";
  RecordedCall hostile;
  hostile.operation = "GetMinimumWageList";
  // Quotes, a backslash, a NUL, a line end, Cyrillic, a pair and a lone surrogate.
  hostile.arguments = {{Kind::Text, std::u16string(u"\"\\\0\n\u0420\U0001F600\xD800x", 9)}};
  hostile.locale = {u',', u'\u00A0', u'.', u"dd.MM.yyyy"};
  hostile.status = static_cast<std::int32_t>(0x80040201u);
  hostile.errorInfo = true;
  hostile.description = u"No country \"\u0420\"";
  hostile.source = u"Quorvane.ReferenceServer";
  RecordedCall visible;
  visible.operation = "Get_Visible";
  visible.truth = true;
  RecordedCall set;
  set.operation = "Set_Visible";
  set.arguments = {{Kind::Truth, {}, 0, true}};
  RecordedCall empty;
  empty.operation = "GetFundsRateList";
  empty.arguments = {{Kind::Text, u""}};
  RecordedCall odd;  // days that are no calendar day travel exactly
  odd.operation = "GetExchangeRate";
  odd.arguments = {{Kind::Text, u"A"}, {Kind::Text, u"B"}, {Kind::Date, {}, -0.0}};
  odd.reply = u"";
  RecordedCall nan = odd;
  nan.arguments[2].date = std::numeric_limits<double>::quiet_NaN();
  recording.calls = {rate, hostile, visible, set, empty, odd, nan};
  return recording;
}

TEST(Recording, ReadsBackWhatItWrites) {
  const Recording written = Sample();
  const Recording read = ReadRecording(quorvane::server::RecordingText(written));
  EXPECT_EQ(read.header.classId, written.header.classId);
  EXPECT_EQ(read.header.module, written.header.module);
  EXPECT_EQ(read.header.serverVersion, written.header.serverVersion);
  EXPECT_EQ(read.header.recorded, written.header.recorded);
  ASSERT_EQ(read.calls.size(), written.calls.size());
  for (std::size_t i = 0; i < read.calls.size(); ++i) {
    const RecordedCall &a = read.calls[i], &b = written.calls[i];
    SCOPED_TRACE(b.operation + " " + std::to_string(i));
    EXPECT_EQ(a.operation, b.operation);
    EXPECT_EQ(a.arguments, b.arguments);
    EXPECT_EQ(a.locale, b.locale);
    EXPECT_EQ(a.status, b.status);
    EXPECT_EQ(a.errorInfo, b.errorInfo);
    EXPECT_EQ(a.description, b.description);
    EXPECT_EQ(a.source, b.source);
    EXPECT_EQ(a.reply, b.reply);
    EXPECT_EQ(a.truth, b.truth);
  }
  // -0 stays -0, and the date a person reads stands beside the number.
  EXPECT_TRUE(std::signbit(read.calls[5].arguments[2].date));
  EXPECT_NE(quorvane::server::RecordedCallLine(written.calls[0])
                .find(R"({"date": 40459.75, "iso": "2010-10-08T18:00:00"})"),
            std::string::npos);
}

TEST(Recording, EditedWithCrLfAndBlankLinesReadsTheSame) {
  const Recording read = ReadRecording(kHeader + "\r\n\r\n" + kCall + "\r\n");
  ASSERT_EQ(read.calls.size(), 1u);
  EXPECT_EQ(read.calls[0].reply, u"|Russia");
}

struct Malformed {
  const char* why;
  std::string text;
  std::size_t line;
  const char* says;
};

void PrintTo(const Malformed& m, std::ostream* out) {
  *out << m.why;
}

class MalformedRecording : public testing::TestWithParam<Malformed> {};

TEST_P(MalformedRecording, IsRefusedNamingTheLine) {
  const Malformed& m = GetParam();
  const RecordingLimits limits{1 << 20, 600, 4};
  try {
    ReadRecording(m.text, limits);
    FAIL() << "read";
  } catch (const RecordingError& e) {
    EXPECT_EQ(e.Line(), m.line);
    EXPECT_NE(std::string(e.what()).find(m.says), std::string::npos) << e.what();
    if (m.line != 0) {
      EXPECT_EQ(std::string(e.what()).rfind("line " + std::to_string(m.line) + ": ", 0), 0u)
          << e.what();
    }
  }
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    Reader, MalformedRecording,
    testing::Values(
        Malformed{"empty", "", 0, "no header line"},
        Malformed{"not JSON", kHeader + "\n{\"operation\": \n", 2, "not JSON at column 15"},
        Malformed{"a trailing comma", kHeader + "\n" + Replace(kCall, "}", ",}"), 2,
                  "expected a member name"},
        Malformed{"text after the object", kHeader + "\n" + kCall + " x", 2,
                  "text after the value"},
        Malformed{"not UTF-8", kHeader + "\n" + Replace(kCall, "Russia", "Russ\xC3("), 2,
                  "not UTF-8"},
        Malformed{"nested too deep", kHeader + "\n" + std::string(20, '[') + std::string(20, ']'),
                  2, "nested too deep"},
        Malformed{"another format", "{\"format\": \"csv\"}", 1, "not a recording"},
        Malformed{"a version of the future", Replace(kHeader, "\"version\": 1", "\"version\": 2"),
                  1, "version 2 is not one this reader knows"},
        Malformed{"a header without its server", Replace(kHeader, "\"server\"", "\"host\""), 1,
                  "unknown field \"host\""},
        Malformed{"a call without its status",
                  kHeader + "\n" + Replace(kCall, "\"status\": \"0x00000000\", ", ""), 2,
                  "the field \"status\" is missing"},
        Malformed{"a call without its locale",
                  kHeader + "\n" + kCall + "\n" + Replace(kCall, kLocale + ", ", ""), 3,
                  "the field \"locale\" is missing"},
        Malformed{"a success without its reply",
                  kHeader + "\n" + Replace(kCall, ", \"reply\": \"|Russia\"", ""), 2,
                  "the field \"reply\" is missing"},
        Malformed{"a status that is a number",
                  kHeader + "\n" + Replace(kCall, "\"0x00000000\"", "0"), 2,
                  "the field \"status\" must be a string"},
        Malformed{"a status of seven digits",
                  kHeader + "\n" + Replace(kCall, "0x00000000", "0x0000000"), 2,
                  "0x and eight hexadecimal digits"},
        Malformed{"a reply that is a number", kHeader + "\n" + Replace(kCall, "\"|Russia\"", "7"),
                  2, "must be a string or null"},
        Malformed{
            "a separator of two characters",
            kHeader + "\n" +
                Replace(kCall, "\"decimal_separator\": \".\"", "\"decimal_separator\": \"..\""),
            2, "must be one character"},
        Malformed{"an operation the interface lacks",
                  kHeader + "\n" + Replace(kCall, "GetCountryList", "GetWeather"), 2,
                  "no operation \"GetWeather\""},
        Malformed{"an argument too many",
                  kHeader + "\n" + Replace(kCall, "[]", "[{\"text\": \"x\"}]"), 2,
                  "takes 0 argument(s), not 1"},
        Malformed{
            "a date that is a text",
            kHeader + "\n" +
                R"({"operation": "GetExchangeRate", "arguments": [{"text": "A"}, {"text": "B"}, {"date": "2010-10-08"}], )" +
                kLocale + R"(, "status": "0x00000000", "reply": "F"})",
            2, "a date must be a number"},
        Malformed{"a failure with a reply",
                  kHeader + "\n" + Replace(kCall, "0x00000000", "0x80040201"), 2,
                  "a failed call has no reply"},
        Malformed{"a line longer than the cap",
                  kHeader + "\n" + Replace(kCall, "|Russia", std::string(600, 'x')), 2,
                  "longer than 600 bytes"},
        Malformed{"more lines than the cap",
                  kHeader + "\n" + kCall + "\n" + kCall + "\n" + kCall + "\n" + kCall, 5,
                  "more than 4 lines"}));

TEST(Recording, LargerThanTheCapIsRefusedBeforeReading) {
  try {
    ReadRecording(kHeader + "\n" + kCall, RecordingLimits{100, 600, 4});
    FAIL() << "read";
  } catch (const RecordingError& e) {
    EXPECT_EQ(e.Line(), 0u);
    EXPECT_STREQ(e.what(), "the recording is larger than 100 bytes");
  }
}

// The recordable operations are the interface's, with their argument kinds.
TEST(Recording, HoldsEveryOperationOfTheInterface) {
  std::vector<std::string> interface, recordable;
  for (const quorvane::OperationEntry& entry : quorvane::kOperations)
    if (entry.kind != quorvane::OperationKind::Reserved)
      interface.push_back(entry.name);
  for (const auto& operation : quorvane::server::RecordableOperations())
    recordable.push_back(operation.name);
  std::sort(interface.begin(), interface.end());
  std::sort(recordable.begin(), recordable.end());
  EXPECT_EQ(recordable, interface);
}

class Replay : public testing::Test {
 protected:
  void SetUp() override {
    auto recording = std::make_shared<Recording>(Sample());
    RecordedCall later = recording->calls[0];
    later.reply = u"NRUB per USD as of 2010-10-08=0.0338";
    recording->calls.push_back(later);
    ASSERT_EQ(quorvane::server::CreateReplayServer(
                  recording, [] { return quorvane::CurrentLocaleSettings(); },
                  quorvane::IID_IQuorvaneAutomation, reinterpret_cast<void**>(server_.Put())),
              S_OK);
  }

  // The reply, or the status and description of a failure.
  std::u16string Rate(const char16_t* from, double day) {
    quorvane::BStrArg a(from), b(u"USD");
    quorvane::BStrResult result;
    const HRESULT status = server_->GetExchangeRate(a.Get(), b.Get(), day, result.Put());
    if (SUCCEEDED(status))
      return result.Text();
    try {
      quorvane::CheckStatus(status);
    } catch (const quorvane::EServerCallError& e) {
      return quorvane::FromUtf8(quorvane::StatusHex(static_cast<std::uint32_t>(status))) + u" " +
             e.Message() + u" (" + e.Source() + u")";
    }
    return u"?";
  }

  platform::ComPtr<quorvane::IQuorvaneAutomation> server_;
};

TEST_F(Replay, AnswersInTheRecordedOrderTheLastRepeating) {
  const quorvane::ScopedLocaleSettings defaults{quorvane::LocaleSettings{}};
  EXPECT_EQ(Rate(u"RUB", 40459.75), u"NRUB per USD as of 2010-10-08=0.0337");
  EXPECT_EQ(Rate(u"RUB", 40459.75), u"NRUB per USD as of 2010-10-08=0.0338");
  EXPECT_EQ(Rate(u"RUB", 40459.75), u"NRUB per USD as of 2010-10-08=0.0338");
}

TEST_F(Replay, SaysWhatTheRecordingLacks) {
  const quorvane::ScopedLocaleSettings defaults{quorvane::LocaleSettings{}};
  EXPECT_EQ(Rate(u"EUR", 40459.75),
            u"0x80040210 The recording has no call GetExchangeRate(\"EUR\", \"USD\", "
            u"2010-10-08T18:00:00) under the locale settings m/d/yy / . , (Quorvane.Replay)");
  // The same call under other settings is another call.
  quorvane::LocaleSettings german;
  german.DecimalSeparator = u',';
  const quorvane::ScopedLocaleSettings scoped{german};
  EXPECT_EQ(Rate(u"RUB", 40459.75).substr(0, 10), u"0x80040210");
}

}  // namespace
