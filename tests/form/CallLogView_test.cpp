// The call log window's rules: a row's cells, the summary line, the file format by the name, and
// the rows following the log across threads, a clearing and the capacity.

#include "CallLogView.h"

#include <gtest/gtest.h>

#include <thread>

namespace quorvane {
namespace {

LoggedCall Failed() {
  LoggedCall call;
  call.number = 12;
  call.started = std::chrono::sys_days(std::chrono::year(2026) / 5 / 15) + std::chrono::hours(9) +
                 std::chrono::milliseconds(250);
  call.operation = "GetMinimumWageList";
  call.arguments = u"Atlantis";
  call.status = static_cast<HRESULT>(0x80040201);
  call.errorDescription = u"Unknown country \"Atlantis\"";
  call.elapsed = std::chrono::microseconds(1500);
  return call;
}

TEST(CallLogView, EachCellOfARow) {
  const LoggedCall call = Failed();
  const std::pair<CallLogColumn, std::u16string> cells[] = {
      {CallLogColumn::Number, u"12"},
      {CallLogColumn::Time, u"2026-05-15T09:00:00.250Z"},
      {CallLogColumn::Operation, u"GetMinimumWageList"},
      {CallLogColumn::Arguments, u"Atlantis"},
      {CallLogColumn::Status, u"0x80040201"},
      {CallLogColumn::Description, u"Unknown country \"Atlantis\""},
      {CallLogColumn::ReplyLength, u"0"},
      {CallLogColumn::Milliseconds, u"1.500"},
  };
  for (const auto& [column, text] : cells)
    EXPECT_EQ(CallLogCell(call, column), text) << static_cast<int>(column);
}

TEST(CallLogView, TheSummaryLine) {
  CallLogSummary summary;
  LoggedCall ok = Failed();
  ok.status = S_OK;
  summary.Add(ok);
  EXPECT_EQ(CallLogSummaryText(summary, 0, true), u"1 call, 0 failed, 1.500 ms in all");
  summary.Add(Failed());
  EXPECT_EQ(CallLogSummaryText(summary, 7, false),
            u"2 calls, 1 failed, 3.000 ms in all, 7 older calls dropped, logging off");
  summary.Add(ok, -1);
  EXPECT_EQ(CallLogSummaryText(summary, 0, true), u"1 call, 1 failed, 1.500 ms in all");
}

TEST(CallLogView, TheFormatByTheFilesName) {
  const std::pair<std::u16string_view, CallLogFormat> names[] = {
      {u"calls.json", CallLogFormat::Json},
      {u"C:\\Logs\\CALLS.JSON", CallLogFormat::Json},  // any case
      {u"calls.csv", CallLogFormat::Csv},
      {u"calls", CallLogFormat::Csv},           // no extension
      {u"calls.json.txt", CallLogFormat::Csv},  // only the last one counts
      {u"json", CallLogFormat::Csv},            // a name that is no extension
      {u"", CallLogFormat::Csv},
  };
  for (const auto& [name, format] : names)
    EXPECT_EQ(CallLogFormatOf(name), format) << std::string(name.begin(), name.end());
  EXPECT_EQ(CallLogFileBytes(u"x.json", {Failed()}), CallLogJson({Failed()}));
  EXPECT_EQ(CallLogFileBytes(u"x.csv", {Failed()}), CallLogCsv({Failed()}));
}

class CallLogRowsTest : public testing::Test {
 protected:
  void SetUp() override {
    log.SetEnabled(true);
    log.Clear();
  }
  void Add(int count) {
    ObservedCall call;
    call.operation = "GetCountryList";
    for (int i = 0; i < count; ++i)
      log.Add(call);
  }
  CallLog log;
};

// Calls made before the window opened are its first rows; each later one is added once, however
// many calls came between two takes, and the view is woken once per batch.
TEST_F(CallLogRowsTest, CallsFromAnyThreadAreTakenOncePerBatch) {
  Add(2);
  int wakes = 0;
  CallLogRows rows(log, [&] { ++wakes; });
  EXPECT_EQ(rows.Size(), 2u);
  std::thread other([&] { Add(3); });
  other.join();
  Add(1);
  EXPECT_EQ(wakes, 1);
  CallLogRows::Batch batch = rows.Take();
  EXPECT_FALSE(batch.reset);
  EXPECT_EQ(batch.calls.size(), 4u);
  rows.Apply(std::move(batch));
  ASSERT_EQ(rows.Size(), 6u);
  EXPECT_EQ(rows.Row(5).number, rows.Row(0).number + 5);
  Add(1);
  EXPECT_EQ(wakes, 2);
  EXPECT_EQ(rows.Csv({0, 6}), CallLogCsv({rows.Row(0)}));  // an index past the rows is left out
}

TEST_F(CallLogRowsTest, AClearingEmptiesTheRowsAndTheSummary) {
  Add(3);
  CallLogRows rows(log, {});
  rows.Clear();
  Add(1);
  CallLogRows::Batch batch = rows.Take();
  EXPECT_TRUE(batch.cleared && batch.reset);
  rows.Apply(std::move(batch));
  EXPECT_EQ(rows.Size(), 1u);
  EXPECT_EQ(rows.Summary().calls, 1u);
}

TEST_F(CallLogRowsTest, BeyondTheCapacityTheOldestRowsGo) {
  Add(static_cast<int>(kCallLogCapacity));
  CallLogRows rows(log, {});
  Add(2);
  CallLogRows::Batch batch = rows.Take();
  EXPECT_TRUE(batch.reset && !batch.cleared);
  rows.Apply(std::move(batch));
  EXPECT_EQ(rows.Size(), kCallLogCapacity);
  EXPECT_EQ(rows.Summary().calls, kCallLogCapacity);
  EXPECT_NE(rows.SummaryText().find(u", 2 older calls dropped"), std::u16string::npos);
}

}  // namespace
}  // namespace quorvane
