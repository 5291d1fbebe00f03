#include "MemoText.h"

namespace quorvane {

std::u16string MemoInsertion(bool emptyOrEndsWithBreak, const std::vector<std::u16string>& texts) {
  std::size_t size = 0;
  for (const std::u16string& text : texts)
    size += text.size() + 2;
  std::u16string insertion;
  insertion.reserve(size);
  for (const std::u16string& text : texts) {
    if (emptyOrEndsWithBreak) {
      insertion += text;
      insertion += u"\r\n";
    } else {
      insertion += u"\r\n";
      insertion += text;
    }
    // A text that ends in a line break leaves the memo ending with one.
    emptyOrEndsWithBreak = true;
    if (insertion.size() < 2 || insertion.compare(insertion.size() - 2, 2, u"\r\n") != 0)
      emptyOrEndsWithBreak = false;
  }
  return insertion;
}

}  // namespace quorvane
