#pragma once
// An ordered, unsorted list of texts with the splitting settings of delimited lists. Assigning a
// text to the delimited text is the one tokenizer of every list reply.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// Told once before and once after each change of a list; a whole split is one change, and so is
// every run of changes made inside an update (BeginUpdate to EndUpdate).
class StringListObserver {
 public:
  virtual ~StringListObserver() = default;
  virtual void Changing() = 0;
  virtual void Changed() = 0;
};

inline constexpr char16_t kDefaultDelimiter = u',';
inline constexpr char16_t kDefaultQuoteChar = u'"';

// The entries of a delimited text one by one, as views: of the text itself for a plain entry, of
// an inner buffer for a quoted one (its doubled quotes made single), valid until the next call.
// The one tokenizer of every list reply: the string list splits with it too.
class DelimitedEntries {
 public:
  DelimitedEntries(std::u16string_view text, char16_t delimiter, char16_t quote);
  // The next entry; false at the end of the text.
  bool Next(std::u16string_view& entry);

 private:
  bool AtEnd() const { return p_ == end_ || *p_ == u'\0'; }
  void SkipBlanks();

  const char16_t* p_;
  const char16_t* end_;
  char16_t delimiter_, quote_;
  bool trailingEmpty_ = false;  // a delimiter ended the text: one empty entry follows
  std::u16string unquoted_;
};

class StringList {
 public:
  char16_t Delimiter() const { return delimiter_; }
  void SetDelimiter(char16_t delimiter) { delimiter_ = delimiter; }
  char16_t QuoteChar() const { return quoteChar_; }
  void SetQuoteChar(char16_t quote) { quoteChar_ = quote; }

  // Replaces every entry by the entries of the text, split at Delimiter with QuoteChar quoting.
  void SetDelimitedText(std::u16string_view text);
  // The same, leaving out every entry before the last one that `leaveOut` selects (the last entry
  // always stays): the result of splitting and then removing those entries, in one pass, without
  // ever holding the entries left out.
  void SetDelimitedTextLeavingOut(std::u16string_view text,
                                  const std::function<bool(std::u16string_view)>& leaveOut);

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

  // Changes between the first BeginUpdate and the matching last EndUpdate reach the observer as
  // one change, so that a view of the list is rebuilt once for a loader's many single changes.
  void BeginUpdate();
  void EndUpdate();
  // BeginUpdate for the life of the object; EndUpdate also when an error leaves the scope.
  class Update {
   public:
    explicit Update(StringList& list) : list_(list) { list_.BeginUpdate(); }
    ~Update() { list_.EndUpdate(); }
    Update(const Update&) = delete;
    Update& operator=(const Update&) = delete;

   private:
    StringList& list_;
  };

 private:
  void Split(std::u16string_view text, const std::function<bool(std::u16string_view)>* leaveOut);
  void CheckIndex(int index) const;
  void Changing();
  void Changed();

  std::vector<std::u16string> items_;
  char16_t delimiter_ = kDefaultDelimiter;
  char16_t quoteChar_ = kDefaultQuoteChar;
  StringListObserver* observer_ = nullptr;
  int updateDepth_ = 0;
};

}  // namespace quorvane
