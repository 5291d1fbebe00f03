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

std::u16string WithCrLfBreaks(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
      continue;  // the line feed that follows writes the break
    if (c == u'\n' || c == u'\r' || c == u'\u2029')
      out += u"\r\n";
    else
      out += c;
  }
  return out;
}

std::vector<std::u16string_view> MemoPieces(std::u16string_view line, std::size_t pieceLength) {
  if (pieceLength == 0 || line.size() <= pieceLength)
    return {line};
  return MemoPieces(line, [pieceLength](std::u16string_view) { return pieceLength; });
}

std::vector<std::u16string_view> MemoPieces(
    std::u16string_view line,
    const std::function<std::size_t(std::u16string_view rest)>& pieceLength) {
  std::vector<std::u16string_view> pieces;
  if (line.empty())
    pieces.push_back(line);
  while (!line.empty()) {
    std::size_t end = std::clamp<std::size_t>(pieceLength(line), 1, line.size());
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
