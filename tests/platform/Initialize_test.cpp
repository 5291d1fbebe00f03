// Initialisation counts per thread, their answers, and the order the observer sees.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "Com.h"
#include "RuntimeTrace.h"

namespace {

class Initialize : public testing::Test {
 protected:
  void SetUp() override {
    platform::SetRuntimeCallObserver([this](std::string_view call) { calls.emplace_back(call); });
  }
  void TearDown() override {
    platform::SetRuntimeCallObserver(nullptr);
    EXPECT_EQ(platform::ThreadInitializeCount(), 0);
  }
  std::vector<std::string> calls;
};

TEST_F(Initialize, TheProgramsStartAndEndOrder) {
  // The application initialises OLE, then the runtime joins the same apartment.
  EXPECT_EQ(OleInitialize(nullptr), S_OK);
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
  EXPECT_EQ(platform::ThreadInitializeCount(), 2);
  CoUninitialize();
  EXPECT_EQ(platform::ThreadInitializeCount(), 1);
  OleUninitialize();
  EXPECT_EQ(calls, (std::vector<std::string>{"OleInitialize", "CoInitialize", "CoUninitialize",
                                             "OleUninitialize"}));
}

TEST_F(Initialize, FirstCallSOkThenSFalseUntilBalanced) {
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
  EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
  EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
  OleUninitialize();
  CoUninitialize();
  CoUninitialize();
  EXPECT_EQ(CoInitialize(nullptr), S_OK);  // balanced again: a fresh start
  CoUninitialize();
}

TEST_F(Initialize, UnmatchedUninitialisationsUndoNothing) {
  CoUninitialize();
  OleUninitialize();
  EXPECT_EQ(platform::ThreadInitializeCount(), 0);
  EXPECT_EQ(CoInitialize(nullptr), S_OK);
  OleUninitialize();  // no OLE initialisation to undo: the runtime's count stays
  EXPECT_EQ(platform::ThreadInitializeCount(), 1);
  CoUninitialize();
}

TEST_F(Initialize, EachThreadCountsForItself) {
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  HRESULT elsewhere = E_FAIL;
  std::thread([&] {
    elsewhere = CoInitialize(nullptr);
    CoUninitialize();
  }).join();
  EXPECT_EQ(elsewhere, S_OK);
  CoUninitialize();
}

}  // namespace
