// BSTR layout and the text helpers above it.
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <stdexcept>

#include "Com.h"
#include "GuidText.h"
#include "RuntimeTrace.h"

namespace {

// The UTF-16 text as the runtime's character type (the same on every backend, by size).
LPOLESTR Ole(const char16_t* text) {
  return const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(text));
}

std::uint32_t PrefixOf(BSTR text) {
  std::uint32_t bytes;
  std::memcpy(&bytes, reinterpret_cast<const char*>(text) - sizeof bytes, sizeof bytes);
  return bytes;
}

TEST(Bstr, LengthPrefixCountsBytesAndTheTextIsTerminated) {
  const char16_t text[] = u"ab\0cd";  // an embedded NUL is part of the text
  BSTR b = SysAllocStringLen(Ole(text), 5);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(PrefixOf(b), 10u);
  EXPECT_EQ(SysStringLen(b), 5u);
  EXPECT_EQ(b[5], 0);
  EXPECT_EQ(platform::BstrText(b), std::u16string(text, 5));
  SysFreeString(b);
}

TEST(Bstr, NullAndEmptyCases) {
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  SysFreeString(nullptr);  // no effect

  // A length with no text gives zeroed room; length 0 is a real, empty BSTR.
  BSTR room = SysAllocStringLen(nullptr, 3);
  ASSERT_NE(room, nullptr);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(room), 4), std::u16string(4, u'\0'));
  BSTR empty = SysAllocStringLen(Ole(u"x"), 0);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(SysStringLen(empty), 0u);
  EXPECT_EQ(empty[0], 0);
  SysFreeString(room);
  SysFreeString(empty);

  // The helpers: the empty text travels as a null BSTR, and a null BSTR reads as empty.
  EXPECT_EQ(platform::AllocBstr(u""), nullptr);
  EXPECT_EQ(platform::BstrText(nullptr), u"");
}

TEST(Bstr, SysAllocStringStopsAtTheFirstNul) {
  BSTR b = SysAllocString(Ole(u"Quorvane\0tail"));
  EXPECT_EQ(platform::BstrText(b), u"Quorvane");
  SysFreeString(b);
}

TEST(Bstr, LiveCountFollowsAllocationAndRelease) {
  const long before = platform::LiveBstrCount();
  BSTR a = platform::AllocBstr(u"\U0001F600 \u0444");  // a surrogate pair and a Cyrillic letter
  BSTR b = SysAllocString(Ole(u"b"));
  EXPECT_EQ(platform::LiveBstrCount(), before + 2);
  EXPECT_EQ(platform::BstrText(a), u"\U0001F600 \u0444");
  SysFreeString(a);
  SysFreeString(b);
  EXPECT_EQ(platform::LiveBstrCount(), before);
}

TEST(Bstr, ALengthBeyondThePrefixFails) {
  EXPECT_EQ(SysAllocStringLen(nullptr, 0x80000000u), nullptr);
}

TEST(GuidText, BracedRegistryFormWithUpperCaseDigits) {
  EXPECT_EQ(platform::GuidToString(IID_IDispatch), u"{00020400-0000-0000-C000-000000000046}");
  const GUID mixed = {0x0A1B2C3D, 0x4E5F, 0x6A7B, {0x8C, 0x9D, 0xAE, 0xBF, 0x01, 0x23, 0x45, 0x67}};
  EXPECT_EQ(platform::GuidToString(mixed), u"{0A1B2C3D-4E5F-6A7B-8C9D-AEBF01234567}");
  const GUID ones = {0xFFFFFFFF, 0xFFFF, 0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}};
  EXPECT_EQ(platform::GuidToString(ones), u"{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}");
}

// The ids are written once as text and read at compile time.
constexpr GUID kDispatchFromText =
    platform::GuidFromText(u"{00020400-0000-0000-C000-000000000046}");
static_assert(kDispatchFromText.Data1 == 0x00020400 && kDispatchFromText.Data3 == 0 &&
              kDispatchFromText.Data4[0] == 0xC0 && kDispatchFromText.Data4[7] == 0x46);

TEST(GuidText, ReadsTheRegistryFormBack) {
  struct Case {
    std::u16string_view text;
    std::u16string_view written;  // GuidToString of what was read
  };
  const Case cases[] = {
      {u"{0A1B2C3D-4E5F-6A7B-8C9D-AEBF01234567}", u"{0A1B2C3D-4E5F-6A7B-8C9D-AEBF01234567}"},
      // Lower-case digits read alike; the registry form writes them upper-case.
      {u"{0a1b2c3d-4e5f-6a7b-8c9d-aebf01234567}", u"{0A1B2C3D-4E5F-6A7B-8C9D-AEBF01234567}"},
      {u"{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}", u"{FFFFFFFF-FFFF-FFFF-FFFF-FFFFFFFFFFFF}"},
      {u"{00000000-0000-0000-0000-000000000000}", u"{00000000-0000-0000-0000-000000000000}"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(platform::GuidToString(platform::GuidFromText(c.text)), c.written);
  EXPECT_TRUE(kDispatchFromText == IID_IDispatch);
}

TEST(GuidText, RefusesAnythingButTheBracedForm) {
  const std::u16string_view texts[] = {
      u"0A1B2C3D-4E5F-6A7B-8C9D-AEBF01234567",         // no braces
      u"{0A1B2C3D-4E5F-6A7B-8C9D-AEBF0123456}",        // a digit short
      u"{0A1B2C3D-4E5F-6A7B-8C9D-AEBF012345678}",      // a digit over
      u"{0A1B2C3D-4E5F-6A7B8C9D-AEBF01234567-}",       // a dash out of place
      u"{0A1B2C3D-4E5F-6A7B-8C9D-AEBF0123456G}",       // a letter past F
      u"{0A1B2C3D-4E5F-6A7B-8C9D-AEBF0123456\u0660}",  // a digit of another script
  };
  for (std::size_t i = 0; i < std::size(texts); ++i)
    EXPECT_THROW(platform::GuidFromText(texts[i]), std::invalid_argument) << "case " << i;
}

}  // namespace
