// The thread's error information: handed over once, per thread, with the fields it was made with.
#include <gtest/gtest.h>

#include <thread>

#include "Com.h"
#include "ComPtr.h"
#include "RuntimeTrace.h"

namespace {

// The UTF-16 text as the runtime's character type (the same on every backend, by size).
LPOLESTR Ole(const char16_t* text) {
  return const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(text));
}

using platform::BstrText;
using platform::ComPtr;

ComPtr<IErrorInfo> MakeInfo(const char16_t* description) {
  ComPtr<ICreateErrorInfo> create;
  EXPECT_EQ(CreateErrorInfo(create.Put()), S_OK);
  create->SetDescription(Ole(description));
  ComPtr<IErrorInfo> info;
  EXPECT_EQ(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(info.Put())), S_OK);
  return info;
}

std::u16string Description(IErrorInfo* info) {
  BSTR text = nullptr;
  EXPECT_EQ(info->GetDescription(&text), S_OK);
  std::u16string result = BstrText(text);
  SysFreeString(text);
  return result;
}

TEST(ErrorInfo, NoneGivesSFalseAndNull) {
  IErrorInfo* info = reinterpret_cast<IErrorInfo*>(1);
  EXPECT_EQ(GetErrorInfo(0, &info), S_FALSE);
  EXPECT_EQ(info, nullptr);
}

TEST(ErrorInfo, GetHandsTheObjectOverAndClearsIt) {
  ASSERT_EQ(SetErrorInfo(0, MakeInfo(u"first").Get()), S_OK);
  ASSERT_EQ(SetErrorInfo(0, MakeInfo(u"second").Get()), S_OK);  // replaces, releasing the first
  IErrorInfo* raw = nullptr;
  ASSERT_EQ(GetErrorInfo(0, &raw), S_OK);
  auto info = ComPtr<IErrorInfo>::Adopt(raw);
  EXPECT_EQ(Description(info.Get()), u"second");
  IErrorInfo* again = nullptr;
  EXPECT_EQ(GetErrorInfo(0, &again), S_FALSE);
  EXPECT_EQ(again, nullptr);
}

TEST(ErrorInfo, SettingNullClears) {
  SetErrorInfo(0, MakeInfo(u"x").Get());
  SetErrorInfo(0, nullptr);
  IErrorInfo* info = nullptr;
  EXPECT_EQ(GetErrorInfo(0, &info), S_FALSE);
}

TEST(ErrorInfo, EachThreadHasItsOwn) {
  SetErrorInfo(0, MakeInfo(u"main").Get());
  HRESULT seenElsewhere = S_OK;
  std::thread([&] {
    IErrorInfo* info = nullptr;
    seenElsewhere = GetErrorInfo(0, &info);
    SetErrorInfo(0, MakeInfo(u"left behind").Get());  // released when the thread ends
  }).join();
  EXPECT_EQ(seenElsewhere, S_FALSE);
  IErrorInfo* raw = nullptr;
  ASSERT_EQ(GetErrorInfo(0, &raw), S_OK);
  auto info = ComPtr<IErrorInfo>::Adopt(raw);
  EXPECT_EQ(Description(info.Get()), u"main");
}

TEST(ErrorInfo, CarriesEveryFieldAndAnswersBothInterfaces) {
  const long bstrsBefore = platform::LiveBstrCount();
  {
    ComPtr<ICreateErrorInfo> create;
    ASSERT_EQ(CreateErrorInfo(create.Put()), S_OK);
    const GUID guid = IID_IDispatch;
    create->SetGUID(guid);
    create->SetSource(Ole(u"Quorvane.Server"));
    create->SetDescription(Ole(u"Unknown country"));
    create->SetHelpFile(Ole(u"help.hlp"));
    create->SetHelpContext(42);

    ComPtr<IErrorInfo> info;
    ASSERT_EQ(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(info.Put())), S_OK);
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(info->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(unknown.Put())), S_OK);
    ComPtr<ICreateErrorInfo> back;
    EXPECT_EQ(info->QueryInterface(IID_ICreateErrorInfo, reinterpret_cast<void**>(back.Put())),
              S_OK);
    EXPECT_EQ(static_cast<void*>(back.Get()), static_cast<void*>(create.Get()));
    void* none = &none;
    EXPECT_EQ(info->QueryInterface(IID_IDispatch, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);

    GUID readGuid{};
    info->GetGUID(&readGuid);
    EXPECT_EQ(readGuid, IID_IDispatch);
    BSTR source = nullptr, helpFile = nullptr;
    info->GetSource(&source);
    info->GetHelpFile(&helpFile);
    EXPECT_EQ(BstrText(source), u"Quorvane.Server");
    EXPECT_EQ(BstrText(helpFile), u"help.hlp");
    SysFreeString(source);
    SysFreeString(helpFile);
    EXPECT_EQ(Description(info.Get()), u"Unknown country");
    DWORD context = 0;
    info->GetHelpContext(&context);
    EXPECT_EQ(context, 42u);

    // A null text is the empty text, which reads back as a null BSTR.
    create->SetDescription(nullptr);
    BSTR description = reinterpret_cast<BSTR>(&context);
    info->GetDescription(&description);
    EXPECT_EQ(description, nullptr);
  }
  EXPECT_EQ(platform::LiveBstrCount(), bstrsBefore);
}

}  // namespace
