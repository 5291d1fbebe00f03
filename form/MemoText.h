#pragma once
// How texts are appended to the memo: each starts a new line, and the memo's text is seen as
// lines ended by a carriage return and line feed. A view lays out a very long line as pieces, so
// that a line of a million characters shows at once; the pieces stay one line of the log.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// What goes at the end of the memo's text to append `texts`, each as a new line. A text goes
// after the end when the memo is empty or ends with a line break, with a line break after it;
// otherwise a line break comes first and none after. A line break inside a text starts a new
// line of its own.
std::u16string MemoInsertion(bool emptyOrEndsWithBreak, const std::vector<std::u16string>& texts);

// The pieces of one line (a text without line breaks) for a view to lay out one by one: pieces of
// `pieceLength` characters, the last one shorter; a piece never splits a surrogate pair. A line
// of at most `pieceLength` characters, the empty one too, is one piece.
std::vector<std::u16string_view> MemoPieces(std::u16string_view line, std::size_t pieceLength);

// The message of a log that could not be saved to the file.
std::u16string SaveLogFailure(std::u16string_view path, std::u16string_view reason);

}  // namespace quorvane
