#pragma once
// An ordered, unsorted list of texts with the splitting settings of delimited lists. Assigning a
// text to the delimited text is the one tokenizer of every list reply.

#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// Told once before and once after each change of a list; a whole split is one change.
class StringListObserver {
 public:
  virtual ~StringListObserver() = default;
  virtual void Changing() = 0;
  virtual void Changed() = 0;
};

class StringList {
 public:
  char16_t Delimiter() const { return delimiter_; }
  void SetDelimiter(char16_t delimiter) { delimiter_ = delimiter; }
  char16_t QuoteChar() const { return quoteChar_; }
  void SetQuoteChar(char16_t quote) { quoteChar_ = quote; }

  // Replaces every entry by the entries of the text, split at Delimiter with QuoteChar quoting.
  void SetDelimitedText(std::u16string_view text);

  int Count() const { return static_cast<int>(items_.size()); }
  // Raises EStringListError "List index out of bounds (%d)" for an index outside 0..Count()-1.
  const std::u16string& Get(int index) const;
  void Put(int index, std::u16string text);
  void Delete(int index);
  void Add(std::u16string text);
  void Clear();
  const std::vector<std::u16string>& Items() const { return items_; }

  // The observer is not owned; nullptr detaches it.
  void SetObserver(StringListObserver* observer) { observer_ = observer; }

 private:
  void CheckIndex(int index) const;
  void Changing();
  void Changed();

  std::vector<std::u16string> items_;
  char16_t delimiter_ = u',';
  char16_t quoteChar_ = u'"';
  StringListObserver* observer_ = nullptr;
};

}  // namespace quorvane
