#pragma once
// How texts are appended to the memo: each starts a new line, and the memo's text is seen as
// lines ended by a carriage return and line feed.

#include <string>
#include <vector>

namespace quorvane {

// What goes at the end of the memo's text to append `texts`, each as a new line. A text goes
// after the end when the memo is empty or ends with a line break, with a line break after it;
// otherwise a line break comes first and none after. A line break inside a text starts a new
// line of its own.
std::u16string MemoInsertion(bool emptyOrEndsWithBreak, const std::vector<std::u16string>& texts);

}  // namespace quorvane
