#include "StringList.h"

#include <algorithm>
#include <cstddef>

#include "Errors.h"

namespace quorvane {

namespace {

// Codes 1..32: the space and the control characters. Code 0 never reaches here, the text is cut
// at it first.
bool IsBlank(char16_t c) {
  return c <= 32;
}

std::u16string DecimalText(int value) {
  std::u16string digits;
  long long v = value;
  const bool negative = v < 0;
  unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(v) : v;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative)
    digits.insert(digits.begin(), u'-');
  return digits;
}

// Hands out the entries of one split in order, reusing the strings (and their buffers) that the
// list already holds before appending new ones.
class EntrySlots {
 public:
  explicit EntrySlots(std::vector<std::u16string>& items) : items_(items) {}
  std::u16string& Next() {
    if (used_ < items_.size())
      return items_[used_++];
    ++used_;
    return items_.emplace_back();
  }
  void Finish() { items_.resize(used_); }

 private:
  std::vector<std::u16string>& items_;
  std::size_t used_ = 0;
};

// The quoted entry that starts behind the opening quote at pos; returns the position behind the
// closing quote, or the end when there is none. Doubled quotes stand for one quote.
std::size_t ReadQuoted(std::u16string_view text, std::size_t pos, char16_t quote,
                       std::u16string& entry) {
  entry.clear();
  for (;;) {
    const std::size_t q = text.find(quote, pos);
    if (q == std::u16string_view::npos) {
      entry.append(text.substr(pos));
      return text.size();
    }
    entry.append(text.substr(pos, q - pos));
    if (q + 1 < text.size() && text[q + 1] == quote) {
      entry.push_back(quote);
      pos = q + 2;
      continue;
    }
    return q + 1;
  }
}

}  // namespace

void StringList::SetDelimitedText(std::u16string_view text) {
  // Nothing behind the first NUL is ever looked at.
  text = text.substr(0, std::min(text.find(u'\0'), text.size()));
  const char16_t delimiter = delimiter_;
  const char16_t quote = quoteChar_;
  const std::size_t end = text.size();

  Changing();
  // One entry per delimiter is the common shape of a reply; quoted delimiters only overestimate.
  const std::size_t estimate =
      static_cast<std::size_t>(std::count(text.begin(), text.end(), delimiter)) + 1;
  if (!text.empty() && items_.capacity() < estimate)
    items_.reserve(estimate);

  EntrySlots slots(items_);
  std::size_t pos = 0;
  auto skipBlanks = [&] {
    while (pos < end && IsBlank(text[pos]))
      ++pos;
  };
  skipBlanks();
  while (pos < end) {
    std::u16string& entry = slots.Next();
    if (text[pos] == quote) {
      pos = ReadQuoted(text, pos + 1, quote, entry);
    } else {
      const std::size_t start = pos;
      while (pos < end && !IsBlank(text[pos]) && text[pos] != delimiter)
        ++pos;
      entry.assign(text.substr(start, pos - start));
    }
    skipBlanks();
    // A blank delimiter was passed over above, so it never stands here: it only separates.
    if (pos < end && text[pos] == delimiter) {
      if (pos + 1 == end)
        slots.Next().clear();
      ++pos;
      skipBlanks();
    }
  }
  slots.Finish();
  // A text of quoted delimiters would otherwise keep a vastly overestimated capacity.
  if (items_.capacity() > 2 * items_.size() + 64)
    items_.shrink_to_fit();
  Changed();
}

const std::u16string& StringList::Get(int index) const {
  CheckIndex(index);
  return items_[static_cast<std::size_t>(index)];
}

void StringList::Put(int index, std::u16string text) {
  CheckIndex(index);
  Changing();
  items_[static_cast<std::size_t>(index)] = std::move(text);
  Changed();
}

void StringList::Delete(int index) {
  CheckIndex(index);
  Changing();
  items_.erase(items_.begin() + index);
  Changed();
}

void StringList::Add(std::u16string text) {
  Changing();
  items_.push_back(std::move(text));
  Changed();
}

void StringList::Clear() {
  Changing();
  items_.clear();
  Changed();
}

void StringList::CheckIndex(int index) const {
  if (index < 0 || index >= Count())
    throw EStringListError(FillTemplate(u"List index out of bounds (%d)", {DecimalText(index)}));
}

void StringList::Changing() {
  if (observer_)
    observer_->Changing();
}

void StringList::Changed() {
  if (observer_)
    observer_->Changed();
}

}  // namespace quorvane
