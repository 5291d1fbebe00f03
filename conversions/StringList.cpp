#include "StringList.h"

#include <algorithm>
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
  const std::u16string& Last() const { return items_[used_ - 1]; }
  // Gives the last entry back; its string stays for reuse.
  void DropLast() { --used_; }
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

DelimitedEntries::DelimitedEntries(std::u16string_view text, char16_t delimiter, char16_t quote)
    : p_(text.data()), end_(text.data() + text.size()), delimiter_(delimiter), quote_(quote) {
  SkipBlanks();
}

void DelimitedEntries::SkipBlanks() {
  while (p_ != end_ && IsBlank(*p_))
    ++p_;
}

bool DelimitedEntries::Next(std::u16string_view& entry) {
  if (trailingEmpty_) {
    trailingEmpty_ = false;
    entry = {};
    return true;
  }
  if (AtEnd())
    return false;
  if (*p_ == quote_) {
    p_ = ReadQuoted(p_ + 1, end_, quote_, unquoted_);
    entry = unquoted_;
  } else {
    // NUL and the blanks are the codes up to 32: one test stops at either.
    const char16_t* start = p_;
    while (p_ != end_ && *p_ > 32 && *p_ != delimiter_)
      ++p_;
    entry = std::u16string_view(start, static_cast<std::size_t>(p_ - start));
  }
  SkipBlanks();
  // A blank delimiter was passed over above, so it never stands here: it only separates.
  if (!AtEnd() && *p_ == delimiter_) {
    ++p_;
    trailingEmpty_ = AtEnd();
    SkipBlanks();
  }
  return true;
}

void StringList::SetDelimitedText(std::u16string_view text) {
  Split(text, nullptr);
}

void StringList::SetDelimitedTextLeavingOut(
    std::u16string_view text, const std::function<bool(std::u16string_view)>& leaveOut) {
  Split(text, &leaveOut);
}

void StringList::Split(std::u16string_view text,
                       const std::function<bool(std::u16string_view)>* leaveOut) {
  Changing();
  // One entry per delimiter is the common shape of a reply. Quoted delimiters or text behind a
  // NUL only overestimate, and an overestimate well beyond the need is given back below. When
  // entries are left out the estimate may be far too high, so the list grows as it goes.
  const std::size_t estimate = CountOf(text.data(), text.data() + text.size(), delimiter_) + 1;
  if (!leaveOut && !text.empty() && items_.capacity() < estimate)
    items_.reserve(estimate);
  EntrySlots slots(items_);
  DelimitedEntries entries(text, delimiter_, quoteChar_);
  std::u16string_view entry;
  bool any = false;
  while (entries.Next(entry)) {
    // Whether an entry is the last one shows only when the next one comes.
    if (leaveOut && any && (*leaveOut)(slots.Last()))
      slots.DropLast();
    slots.Put(entry.data(), entry.data() + entry.size());
    any = true;
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

void StringList::BeginUpdate() {
  Changing();
  ++updateDepth_;
}

void StringList::EndUpdate() {
  if (updateDepth_ > 0 && --updateDepth_ == 0)
    Changed();
}

void StringList::Changing() {
  if (observer_ && updateDepth_ == 0)
    observer_->Changing();
}

void StringList::Changed() {
  if (observer_ && updateDepth_ == 0)
    observer_->Changed();
}

}  // namespace quorvane
