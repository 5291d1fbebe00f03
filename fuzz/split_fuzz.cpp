// Splits arbitrary UTF-16 text under a delimiter and quote taken from the input. Checks that every
// split is one change, that no entry holds a NUL or more text than was given, and that splitting
// again into a list that holds entries gives the same entries as a fresh list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzInput.h"
#include "StringList.h"

namespace {

class CountingObserver : public quorvane::StringListObserver {
 public:
  void Changing() override { ++changing; }
  void Changed() override { ++changed; }
  int changing = 0, changed = 0;
};

using fuzzinput::Check;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  static constexpr char16_t kDelimiters[] = {u',', u'|', u' ', u'\t', u'"', u'\'', u'\0', u'a'};
  static constexpr char16_t kQuotes[] = {u'"', u'\'', u',', u' '};
  const char16_t delimiter = input.PickValueInArray(kDelimiters);
  const char16_t quote = input.PickValueInArray(kQuotes);
  const std::u16string text = fuzzinput::ConsumeRemainingUtf16(input);
  const std::size_t used =
      text.find(u'\0') == std::u16string::npos ? text.size() : text.find(u'\0');

  quorvane::StringList fresh;
  CountingObserver observer;
  fresh.SetObserver(&observer);
  fresh.SetDelimiter(delimiter);
  fresh.SetQuoteChar(quote);
  fresh.SetDelimitedText(text);
  Check(observer.changing == 1 && observer.changed == 1);
  Check(static_cast<std::size_t>(fresh.Count()) <= used + 1);
  std::size_t total = 0;
  for (const std::u16string& entry : fresh.Items()) {
    Check(entry.find(u'\0') == std::u16string::npos);
    total += entry.size();
  }
  Check(total <= used);

  // The same text into a list that already holds other entries.
  quorvane::StringList reused;
  reused.SetDelimiter(delimiter);
  reused.SetQuoteChar(quote);
  reused.SetDelimitedText(text.substr(used / 2) + u",x,\"y\"");
  reused.SetDelimitedText(text);
  Check(reused.Items() == fresh.Items());
  return 0;
}
