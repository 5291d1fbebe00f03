#include "MemoText.h"

#include <algorithm>

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

std::vector<std::u16string_view> MemoPieces(std::u16string_view line, std::size_t pieceLength) {
  std::vector<std::u16string_view> pieces;
  if (pieceLength == 0 || line.size() <= pieceLength) {
    pieces.push_back(line);
    return pieces;
  }
  pieces.reserve(line.size() / pieceLength + 1);
  while (!line.empty()) {
    std::size_t end = std::min(line.size(), pieceLength);
    if (end < line.size() && line[end - 1] >= 0xD800 && line[end - 1] <= 0xDBFF)
      ++end;
    pieces.push_back(line.substr(0, end));
    line.remove_prefix(end);
  }
  return pieces;
}

std::u16string SaveLogFailure(std::u16string_view path, std::u16string_view reason) {
  std::u16string message = u"Cannot save the log to ";
  message += path;
  message += u": ";
  message += reason;
  return message;
}

}  // namespace quorvane
