#pragma once
// How texts are appended to the memo: each starts a new line, and the memo's text is seen as
// lines ended by a carriage return and line feed. A view lays out a very long line as pieces, so
// that a line of a million characters shows at once; the pieces stay one line of the log.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// What goes at the end of the memo's text to append `texts`, each as a new line. A text goes
// after the end when the memo is empty or ends with a line break, with a line break after it;
// otherwise a line break comes first and none after. A line break inside a text starts a new
// line of its own.
std::u16string MemoInsertion(bool emptyOrEndsWithBreak, const std::vector<std::u16string>& texts);

// A text with every line break as a carriage return and line feed: a lone carriage return, a lone
// line feed and a paragraph separator each become one.
std::u16string WithCrLfBreaks(std::u16string_view text);

// The pieces of one line (a text without line breaks) for a view to lay out one by one: pieces of
// `pieceLength` characters, the last one shorter; a piece never splits a surrogate pair. A line
// of at most `pieceLength` characters, the empty one too, is one piece.
std::vector<std::u16string_view> MemoPieces(std::u16string_view line, std::size_t pieceLength);
// The same with each piece as long as `pieceLength` says for the rest of the line (at least one
// character), for a view that fits each piece to its width.
std::vector<std::u16string_view> MemoPieces(
    std::u16string_view line,
    const std::function<std::size_t(std::u16string_view rest)>& pieceLength);

// The message of a log that could not be saved to the file.
std::u16string SaveLogFailure(std::u16string_view path, std::u16string_view reason);

}  // namespace quorvane
