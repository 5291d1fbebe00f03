#include "StringList.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "Characters.h"
#include "Digits.h"
#include "Errors.h"

namespace quorvane {

namespace {

// How often c occurs in [p, end), four code units at a time: a lane of x is zero exactly where
// the text holds c, and the sum below sets the top bit of every non-zero lane without carrying into
// the next.
std::size_t CountOf(const char16_t* p, const char16_t* end, char16_t c) {
  constexpr std::uint64_t kLow15 = 0x7FFF7FFF7FFF7FFFULL;
  const std::uint64_t pattern = 0x0001000100010001ULL * c;
  std::size_t count = 0;
  for (; end - p >= 4; p += 4) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    const std::uint64_t x = word ^ pattern;
    const std::uint64_t nonZero = ((x & kLow15) + kLow15) | x;
    // One bit per matching lane, summed into the top lane by the multiplication.
    const std::uint64_t matches = ~(nonZero | kLow15) >> 15;
    count += static_cast<std::size_t>((matches * 0x0001000100010001ULL) >> 48);
  }
  for (; p != end; ++p)
    count += *p == c;
  return count;
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
  // The next entry as a copy of [first, last): built in place, or written over a former entry.
  void Put(const char16_t* first, const char16_t* last) {
    if (used_ < items_.size())
      items_[used_].assign(first, last);
    else
      items_.emplace_back(first, last);
    ++used_;
  }
  void Finish() { items_.resize(used_); }

 private:
  std::vector<std::u16string>& items_;
  std::size_t used_ = 0;
};

// The quoted entry whose content starts at p, behind the opening quote; returns the position
// behind the closing quote, or the end of the text when there is none. Doubled quotes stand for
// one quote.
const char16_t* ReadQuoted(const char16_t* p, const char16_t* end, char16_t quote,
                           std::u16string& entry) {
  entry.clear();
  const char16_t* chunk = p;
  for (; p != end && *p != u'\0'; ++p) {
    if (*p != quote)
      continue;
    entry.append(chunk, p);
    if (p + 1 == end || p[1] != quote)
      return p + 1;
    entry.push_back(quote);
    chunk = ++p + 1;
  }
  entry.append(chunk, p);
  return p;
}

}  // namespace

void StringList::SetDelimitedText(std::u16string_view text) {
  const char16_t delimiter = delimiter_;
  const char16_t quote = quoteChar_;
  const char16_t* p = text.data();
  const char16_t* const end = p + text.size();
  // The end of the text is its end or its first NUL; nothing behind a NUL is looked at.
  auto atEnd = [&] { return p == end || *p == u'\0'; };
  auto skipBlanks = [&] {
    while (p != end && IsBlank(*p))
      ++p;
  };

  Changing();
  // One entry per delimiter is the common shape of a reply. Quoted delimiters or text behind a
  // NUL only overestimate, and an overestimate well beyond the need is given back below.
  const std::size_t estimate = CountOf(p, end, delimiter) + 1;
  if (p != end && items_.capacity() < estimate)
    items_.reserve(estimate);
  EntrySlots slots(items_);
  skipBlanks();
  while (!atEnd()) {
    if (*p == quote) {
      p = ReadQuoted(p + 1, end, quote, slots.Next());
    } else {
      // NUL and the blanks are the codes up to 32: one test stops at either.
      const char16_t* start = p;
      while (p != end && *p > 32 && *p != delimiter)
        ++p;
      slots.Put(start, p);
    }
    skipBlanks();
    // A blank delimiter was passed over above, so it never stands here: it only separates.
    if (!atEnd() && *p == delimiter) {
      ++p;
      if (atEnd())
        slots.Next().clear();
      skipBlanks();
    }
  }
  slots.Finish();
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
