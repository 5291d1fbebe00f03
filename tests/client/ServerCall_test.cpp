// The status check after a server operation, its message rules, and the BSTR wrappers.
#include "ServerCall.h"

#include <gtest/gtest.h>

#include "ComPtr.h"
#include "RuntimeTrace.h"

namespace {

// The UTF-16 text as the runtime's character type (the same on every backend, by size).
LPOLESTR Ole(const char16_t* text) {
  return const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(text));
}

using quorvane::CheckStatus;
using quorvane::EServerCallError;

struct Info {
  const char16_t* description;
  const char16_t* source = u"";
  const char16_t* helpFile = u"";
  DWORD helpContext = 0;
};

void SetThreadErrorInfo(const Info& info) {
  platform::ComPtr<ICreateErrorInfo> create;
  ASSERT_EQ(CreateErrorInfo(create.Put()), S_OK);
  create->SetDescription(Ole(info.description));
  create->SetSource(Ole(info.source));
  create->SetHelpFile(Ole(info.helpFile));
  create->SetHelpContext(info.helpContext);
  platform::ComPtr<IErrorInfo> errorInfo;
  create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(errorInfo.Put()));
  SetErrorInfo(0, errorInfo.Get());
}

bool ThreadHasErrorInfo() {
  IErrorInfo* info = nullptr;
  const HRESULT hr = GetErrorInfo(0, &info);
  if (info != nullptr)
    info->Release();
  return hr == S_OK;
}

TEST(TrimMessage, RemovesTrailingBlanksAndFullStopsOnly) {
  struct Case {
    std::u16string_view text, trimmed;
  };
  const Case cases[] = {
      {u"Unknown country. ", u"Unknown country"},
      {u"Unspecified error.\r\n", u"Unspecified error"},
      {u"Stops . . .\t", u"Stops"},                // alternating full stops and blanks
      {u". . .  ", u""},                           // nothing but full stops and blanks
      {u"v1.2 done", u"v1.2 done"},                // inner full stops stay
      {u"(remote).", u"(remote)"},                 // a closing parenthesis is no blank
      {u"No-break\u00A0", u"No-break\u00A0"},      // code 160 is not a blank
      {std::u16string_view(u"nul\0", 4), u"nul"},  // code 0 counts as a blank
      {u"x\x01\x1F ", u"x"},                       // control characters
      {u"", u""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(quorvane::TrimMessage(c.text), c.trimmed);
}

TEST(StatusMessage, SystemTextElseEightUpperCaseHexDigits) {
  struct Case {
    HRESULT status;
    std::u16string_view message;
  };
  const Case cases[] = {
      {E_FAIL, u"Unspecified error"},
      {REGDB_E_CLASSNOTREG, u"Class not registered"},
      {MakeHresult(0x8ABCDEF0), u"OLE error 8ABCDEF0"},  // upper case, read as unsigned
      {MakeHresult(0x80000ABC), u"OLE error 80000ABC"},
      {MakeHresult(0xFFFFFFFF), u"OLE error FFFFFFFF"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(quorvane::StatusMessage(c.status), c.message);
}

TEST(CheckStatus, SuccessCodesPassAndLeaveTheErrorInformation) {
  SetThreadErrorInfo({u"stale"});
  for (HRESULT status : {S_OK, S_FALSE, MakeHresult(0x7FFFFFFF)})
    EXPECT_NO_THROW(CheckStatus(status));
  EXPECT_TRUE(ThreadHasErrorInfo());  // not asked for on success
}

TEST(CheckStatus, FailureMessages) {
  struct Case {
    const char* why;
    HRESULT status;
    std::optional<Info> info;
    std::u16string_view message;
  };
  const Case cases[] = {
      {"the description, its full stop and blank removed", E_FAIL, Info{u"Unknown country. "},
       u"Unknown country"},
      {"a description of full stops and blanks counts as none", E_ACCESSDENIED, Info{u" . .\r\n"},
       u"Access is denied"},
      {"an empty description counts as none", MakeHresult(0x8ABCDEF0), Info{u""},
       u"OLE error 8ABCDEF0"},
      {"no error information: the system's text", E_INVALIDARG, std::nullopt,
       u"The parameter is incorrect"},
      {"no error information, no system text", MakeHresult(0x80041234), std::nullopt,
       u"OLE error 80041234"},
      {"format marks in a description are plain text", E_FAIL, Info{u"%s and %d"}, u"%s and %d"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    SetErrorInfo(0, nullptr);
    if (c.info)
      SetThreadErrorInfo(*c.info);
    try {
      CheckStatus(c.status);
      ADD_FAILURE() << "no error raised";
    } catch (const EServerCallError& e) {
      EXPECT_EQ(e.Message(), c.message);
      EXPECT_EQ(e.ErrorCode(), c.status);
    }
    EXPECT_FALSE(ThreadHasErrorInfo());  // taken over by the check
  }
}

TEST(CheckStatus, CarriesSourceHelpFileAndContext) {
  SetThreadErrorInfo({u"", u"Quorvane.Server", u"quorvane.hlp", 17});
  try {
    CheckStatus(E_NOTIMPL);
    FAIL() << "no error raised";
  } catch (const EServerCallError& e) {
    EXPECT_EQ(e.Message(), u"Not implemented");
    EXPECT_EQ(e.Source(), u"Quorvane.Server");
    EXPECT_EQ(e.HelpFile(), u"quorvane.hlp");
    EXPECT_EQ(e.HelpContext(), 17u);
    EXPECT_STREQ(e.what(), "Not implemented");
  }
  try {
    CheckStatus(E_NOTIMPL);  // without information: empty fields and context 0
    FAIL() << "no error raised";
  } catch (const EServerCallError& e) {
    EXPECT_EQ(e.Source(), u"");
    EXPECT_EQ(e.HelpFile(), u"");
    EXPECT_EQ(e.HelpContext(), 0u);
  }
}

TEST(BStrWrappers, EmptyGoesAsNullAndEverythingIsFreed) {
  const long before = platform::LiveBstrCount();
  {
    quorvane::BStrArg empty(u"");
    EXPECT_EQ(empty.Get(), nullptr);
    quorvane::BStrArg text(u"United Kingdom");
    EXPECT_EQ(platform::BstrText(text.Get()), u"United Kingdom");

    quorvane::BStrResult result;
    EXPECT_EQ(result.Text(), u"");
    *result.Put() = platform::AllocBstr(u"first");
    *result.Put() = platform::AllocBstr(std::u16string_view(u"a\0b", 3));  // frees "first"
    EXPECT_EQ(result.Text(), std::u16string_view(u"a\0b", 3));  // the whole length, NUL and all
    EXPECT_EQ(platform::LiveBstrCount(), before + 2);
  }
  EXPECT_EQ(platform::LiveBstrCount(), before);
}

}  // namespace
