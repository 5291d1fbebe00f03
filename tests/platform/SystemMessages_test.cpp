// The system's texts for status codes.
#include <gtest/gtest.h>

#include "Com.h"

namespace {

TEST(SystemMessageText, KnownCodesGiveTheSystemsText) {
  struct Case {
    HRESULT status;
    const char16_t* text;
  };
  const Case cases[] = {
      {E_FAIL, u"Unspecified error.\r\n"},
      {E_NOTIMPL, u"Not implemented.\r\n"},
      {E_NOINTERFACE, u"No such interface supported.\r\n"},
      {E_INVALIDARG, u"The parameter is incorrect.\r\n"},
      {E_ACCESSDENIED, u"Access is denied.\r\n"},
      {E_POINTER, u"Invalid pointer.\r\n"},
      {E_UNEXPECTED, u"Catastrophic failure.\r\n"},
      {E_ABORT, u"Operation aborted.\r\n"},
      {REGDB_E_CLASSNOTREG, u"Class not registered.\r\n"},
      {CO_E_NOTINITIALIZED, u"CoInitialize has not been called.\r\n"},
      {DISP_E_MEMBERNOTFOUND, u"Member not found.\r\n"},
      {E_OUTOFMEMORY, u"Not enough memory resources are available to complete this operation.\r\n"},
      // Its own full stop inside parentheses: only the trailing one is the sentence's end.
      {CLASS_E_NOAGGREGATION,
       u"Class does not support aggregation (or class object is remote).\r\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(platform::SystemMessageText(c.status), c.text) << std::hex << c.status;
}

TEST(SystemMessageText, UnknownCodesHaveNone) {
  for (HRESULT status :
       {MakeHresult(0x8ABCDEF0), MakeHresult(0x80040200), MakeHresult(0xFFFFFFFF), S_FALSE})
    EXPECT_EQ(platform::SystemMessageText(status), u"") << std::hex << status;
}

}  // namespace
