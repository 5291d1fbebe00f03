// The Windows backend on its own: system message texts, the status check over the system's error
// objects, BSTRs from the system's allocator, GUID text, and the thread-locale source.

#include "Cases.h"

#include <string>
#include <string_view>
#include <utility>

#include "Check.h"
#include "Com.h"
#include "ComPtr.h"
#include "LocaleSettings.h"
#include "Quorvane_TLB.h"
#include "ServerCall.h"
#include "SystemLocaleItems.h"
#include "Utf.h"

namespace contract {

namespace {

// The oracle: the system's whole text, however long, with inserts left as written.
std::u16string WholeSystemText(HRESULT status) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(status), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::u16string result(text, text + length);
  LocalFree(text);
  return result;
}

// Sets the thread's error information from the system's own error object.
void SetSystemErrorInfo(const wchar_t* description, const wchar_t* source, const wchar_t* helpFile,
                        DWORD helpContext) {
  platform::ComPtr<ICreateErrorInfo> create;
  Expect(SUCCEEDED(CreateErrorInfo(create.Put())), "CreateErrorInfo succeeds");
  create->SetDescription(const_cast<LPOLESTR>(description));
  create->SetSource(const_cast<LPOLESTR>(source));
  create->SetHelpFile(const_cast<LPOLESTR>(helpFile));
  create->SetHelpContext(helpContext);
  platform::ComPtr<IErrorInfo> info;
  Expect(SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(info.Put()))),
         "the error object gives IErrorInfo");
  SetErrorInfo(0, info.Get());
}

// Runs the status check and gives the error it raises.
quorvane::EServerCallError CheckFailure(HRESULT status) {
  try {
    quorvane::CheckStatus(status);
  } catch (const quorvane::EServerCallError& error) {
    return error;
  }
  throw CheckFailed{"CheckStatus(" + Hex(status) + ") raised nothing"};
}

// Sets a thread locale for the life of the object.
class ThreadLocale {
 public:
  explicit ThreadLocale(LCID locale) : saved_(GetThreadLocale()) { SetThreadLocale(locale); }
  ~ThreadLocale() { SetThreadLocale(saved_); }

 private:
  LCID saved_;
};

}  // namespace

void RunSystemCases() {
  RunCase("system message text: the table's text when it fits in 256 characters, else none", [] {
    int withText = 0;
    auto compare = [&](HRESULT status) {
      const std::u16string whole = WholeSystemText(status);
      const std::u16string expected = whole.size() < 256 ? whole : std::u16string();
      const std::u16string actual = platform::SystemMessageText(status);
      Expect(actual == expected, "text of " + Hex(status) + ": got \"" + Utf8(actual) +
                                     "\", expected \"" + Utf8(expected) + "\"");
      withText += actual.empty() ? 0 : 1;
    };
    for (DWORD code = 0; code < 16000; ++code)
      compare(HRESULT_FROM_WIN32(code));
    for (HRESULT status : {E_NOTIMPL, E_NOINTERFACE, E_POINTER, E_FAIL, E_UNEXPECTED,
                           REGDB_E_CLASSNOTREG, CO_E_NOTINITIALIZED, DISP_E_EXCEPTION})
      compare(status);
    Expect(withText > 100, "the system table gives texts (" + std::to_string(withText) + ")");
  });

  RunCase("status check: without error information the system's text, trimmed", [] {
    SetErrorInfo(0, nullptr);
    const quorvane::EServerCallError error = CheckFailure(E_NOTIMPL);
    const std::u16string expected = quorvane::TrimMessage(platform::SystemMessageText(E_NOTIMPL));
    Expect(!expected.empty(), "the system has a text for E_NOTIMPL");
    Expect(error.Message() == expected, "message \"" + Utf8(error.Message()) + "\"");
    Expect(error.ErrorCode() == E_NOTIMPL && error.Source().empty() && error.HelpFile().empty() &&
               error.HelpContext() == 0,
           "status kept, no source, help file or help context");
  });

  RunCase("status check: a status the system has no text for gives OLE error and 8 hex digits", [] {
    // A failure code of a facility with no messages; the first one the system has no text for.
    HRESULT status = static_cast<HRESULT>(0xA00FBEE0);
    while (!platform::SystemMessageText(status).empty())
      ++status;
    SetErrorInfo(0, nullptr);
    const quorvane::EServerCallError error = CheckFailure(status);
    Expect(error.Message() == u"OLE error " + quorvane::FromUtf8(Hex(status)),
           "message \"" + Utf8(error.Message()) + "\"");
  });

  RunCase("status check: the system's error object gives description, source and help", [] {
    SetSystemErrorInfo(L"Rate missing for that day. . ", L"Quorvane.Automation", L"rates.hlp", 7);
    const quorvane::EServerCallError error = CheckFailure(E_FAIL);
    Expect(error.Message() == u"Rate missing for that day",
           "message \"" + Utf8(error.Message()) + "\"");
    Expect(error.Source() == u"Quorvane.Automation" && error.HelpFile() == u"rates.hlp" &&
               error.HelpContext() == 7,
           "source, help file and help context from the error object");
    IErrorInfo* left = nullptr;
    Expect(GetErrorInfo(0, &left) == S_FALSE && left == nullptr,
           "the status check took the error information");

    // A description of full stops and blanks only counts as none.
    SetSystemErrorInfo(L" . .", L"", L"", 0);
    const quorvane::EServerCallError blank = CheckFailure(E_FAIL);
    Expect(blank.Message() == quorvane::TrimMessage(platform::SystemMessageText(E_FAIL)) &&
               !blank.Message().empty(),
           "blank description: message \"" + Utf8(blank.Message()) + "\"");
    Expect(SUCCEEDED(S_FALSE), "S_FALSE is a success");
    quorvane::CheckStatus(S_FALSE);
  });

  RunCase("BSTR texts on the system's allocator", [] {
    Expect(platform::AllocBstr(u"") == nullptr, "the empty text is a null BSTR");
    Expect(platform::BstrText(nullptr).empty(), "a null BSTR is the empty text");
    // An embedded NUL and a surrogate pair survive: the length prefix, not the terminator, counts.
    const std::u16string text = u"Kurs\u0000\u20BD \U0001F4B1 end";
    BSTR value = platform::AllocBstr(text);
    Expect(value != nullptr, "allocated");
    Expect(SysStringLen(value) == text.size() && SysStringByteLen(value) == 2 * text.size(),
           "length prefix " + std::to_string(SysStringLen(value)));
    Expect(value[text.size()] == 0, "terminated");
    Expect(platform::BstrText(value) == text, "read back unchanged");
    SysFreeString(value);
  });

  RunCase("GUID text is the system's registry form, both ways", [] {
    const auto systemText = [](REFGUID guid) {
      wchar_t text[40];
      const int length = StringFromGUID2(guid, text, 40);
      return std::u16string(text, text + (length > 0 ? length - 1 : 0));
    };
    const std::pair<const GUID*, std::u16string_view> ids[] = {
        {&quorvane::CLASS_CoQuorvaneAutomation, quorvane::kClassIdText},
        {&quorvane::IID_IQuorvaneAutomation, quorvane::kInterfaceIdText},
        {&quorvane::LIBID_Quorvane, quorvane::kLibraryIdText}};
    for (const auto& [guid, text] : ids) {
      const std::u16string system = systemText(*guid);
      Expect(platform::GuidToString(*guid) == system, "braced upper-case form " + Utf8(system));
      // The structure made from the id's text at compile time is the GUID the text names.
      Expect(system == text, "the id " + Utf8(text) + " reads as " + Utf8(system));
    }
  });

  RunCase("program resources: icon MAINICON, common controls 6, run as the invoking user", [] {
    // The contract test carries the window program's icon and manifest.
    // The icon group MAINICON and the image the system would pick from it for 32 pixels.
    HRSRC group = FindResourceW(nullptr, L"MAINICON", MAKEINTRESOURCEW(14));
    Expect(group != nullptr, "icon group MAINICON");
    auto* directory = static_cast<BYTE*>(LockResource(LoadResource(nullptr, group)));
    const int image = LookupIconIdFromDirectoryEx(directory, TRUE, 32, 32, LR_DEFAULTCOLOR);
    Expect(image != 0 && FindResourceW(nullptr, MAKEINTRESOURCEW(image), MAKEINTRESOURCEW(3)),
           "a 32-pixel image of MAINICON");
    ACTCTX_SECTION_KEYED_DATA found = {};
    found.cbSize = sizeof found;
    Expect(FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                    L"comctl32.dll", &found),
           "the manifest brings the common controls of version 6");
    HRSRC manifest = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    Expect(manifest != nullptr, "the manifest is resource 1");
    const auto* text = static_cast<const char*>(LockResource(LoadResource(nullptr, manifest)));
    const std::string_view xml(text, SizeofResource(nullptr, manifest));
    Expect(xml.find("level=\"asInvoker\"") != std::string_view::npos, "execution level asInvoker");
  });

  RunCase("locale source: the thread locale's items, day names from Sunday", [] {
    {
      ThreadLocale english(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT));
      const quorvane::LocaleSettings s =
          quorvane::MakeLocaleSettings(quorvane::ReadThreadLocaleItems());
      Expect(s.DecimalSeparator == u'.' && s.ThousandSeparator == u',' && s.DateSeparator == u'/',
             "English separators");
      Expect(s.LongDayNames[0] == u"Sunday" && s.LongDayNames[6] == u"Saturday" &&
                 s.ShortDayNames[1] == u"Mon" && s.LongMonthNames[0] == u"January" &&
                 s.ShortMonthNames[11] == u"Dec",
             "English names, Sunday first: " + Utf8(s.LongDayNames[0]));
      Expect(s.ShortDateFormat.find(u'M') != std::u16string::npos &&
                 s.ShortDateFormat.find(u'M') < s.ShortDateFormat.find(u'd'),
             "English short date pattern puts the month first: " + Utf8(s.ShortDateFormat));
    }
    {
      ThreadLocale german(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT));
      const quorvane::LocaleItems items = quorvane::ReadThreadLocaleItems();
      const quorvane::LocaleSettings s = quorvane::MakeLocaleSettings(items);
      Expect(items.DecimalSeparator == u"," && s.DecimalSeparator == u',' &&
                 s.ThousandSeparator == u'.' && s.DateSeparator == u'.',
             "German separators");
      Expect(s.LongDayNames[0] == u"Sonntag" && s.LongMonthNames[2] == u"M\u00E4rz",
             "German names: " + Utf8(s.LongDayNames[0]) + ", " + Utf8(s.LongMonthNames[2]));
      Expect(s.ShortDateFormat.find(u'd') < s.ShortDateFormat.find(u'M'),
             "German short date pattern puts the day first: " + Utf8(s.ShortDateFormat));
    }
  });
}

}  // namespace contract
