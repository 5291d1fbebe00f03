#pragma once
// What the error box shows under "Show Details": the kind of the error and, for a failed server
// operation, what the client holds of it (the status in hex, the error source, the help file and
// its context); and the cut that keeps a very long message from stalling the box.

#include <QString>
#include <exception>

namespace quorvane {

// The details of an error, one item a line.
QString ErrorDetailsOf(const std::exception_ptr& error);

// The box shows at most this many characters of a message; the whole message goes to the details.
inline constexpr qsizetype kShownMessageLength = 1024;
// The message as the box shows it: whole when it is short, else its start and an ellipsis.
QString ShownMessage(const QString& text);
// The details with a cut message added whole, in lines of a bounded length so that the details
// view lays it out quickly.
QString DetailsWithMessage(const QString& details, const QString& text);

}  // namespace quorvane
