#pragma once
// A recording of a server: who it was, when, and every call asked of it with the locale settings
// it was asked under and what it answered, exactly. Kept as JSON Lines (docs/recordings.md): a
// header line, then a line per call. A recording is someone else's file: the reader refuses one
// that is malformed or too large with an error that names the line.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "LocaleSettings.h"

namespace quorvane::server {

inline constexpr const char* kRecordingFormat = "quorvane-recording";
inline constexpr int kRecordingVersion = 1;

// The status of a call that the recording lacks: negative, in the interface range, apart from the
// reference server's own.
inline constexpr std::int32_t kNotRecordedStatus = static_cast<std::int32_t>(0x80040210u);

struct RecordedArgument {
  enum class Kind { Text, Date, Truth };
  Kind kind = Kind::Text;
  std::u16string text;  // Text
  double date = 0;      // Date: the date number exactly as passed
  bool truth = false;   // Truth

  bool operator==(const RecordedArgument&) const;
};

// The locale settings that replies are written under and read by.
struct RecordedLocale {
  char16_t DecimalSeparator = u'.';
  char16_t ThousandSeparator = u',';
  char16_t DateSeparator = u'/';
  std::u16string ShortDateFormat = u"m/d/yy";

  bool operator==(const RecordedLocale&) const = default;
};
RecordedLocale RecordedLocaleOf(const LocaleSettings& settings);
// The settings with the recorded fields put in.
LocaleSettings WithRecordedLocale(LocaleSettings settings, const RecordedLocale& locale);
// "dd.MM.yyyy . , ." : the pattern, then the date, decimal and thousand separators.
std::u16string RecordedLocaleText(const RecordedLocale& locale);

struct RecordedCall {
  std::string operation;  // the function-table name: "GetCountryList", "Get_Visible", ...
  std::vector<RecordedArgument> arguments;
  RecordedLocale locale;
  std::int32_t status = 0;
  // Whether the server left error information, and what it said.
  bool errorInfo = false;
  std::u16string description, source;
  // The text reply as received (none for a failure, for Set_Visible, or a null reply); for
  // Get_Visible its answer.
  std::optional<std::u16string> reply;
  bool truth = false;
};

struct RecordingHeader {
  std::u16string classId;
  std::u16string module;  // the server's file, "embedded" for one in the client; may be empty
  std::u16string serverVersion;  // may be empty
  std::string recorded;          // when: ISO date and time, UTC
};

struct Recording {
  RecordingHeader header;
  std::vector<RecordedCall> calls;
};

// The caps a reader holds a file to; the defaults are documented.
struct RecordingLimits {
  std::size_t maxFileBytes = std::size_t{256} << 20;
  std::size_t maxLineBytes = std::size_t{16} << 20;
  std::size_t maxLines = 200000;
};

// What is wrong and on which line (counted from 1; 0 for the file as a whole).
class RecordingError : public std::runtime_error {
 public:
  RecordingError(std::size_t line, const std::string& what);
  std::size_t Line() const { return line_; }

 private:
  std::size_t line_;
};

Recording ReadRecording(std::string_view text, const RecordingLimits& limits = {});
// Raises RecordingError also for a file that cannot be read or is larger than the cap.
Recording ReadRecordingFile(const std::filesystem::path& file, const RecordingLimits& limits = {});

std::string RecordingHeaderLine(const RecordingHeader& header);
std::string RecordedCallLine(const RecordedCall& call);
// The whole file: the header line and a line per call, each ended by "\n".
std::string RecordingText(const Recording& recording);

// The operations a recording may hold, and the kinds of their arguments.
struct RecordableOperation {
  const char* name;
  std::vector<RecordedArgument::Kind> arguments;
  bool textReply;  // false: Get_Visible's truth, or Set_Visible's nothing
};
const std::vector<RecordableOperation>& RecordableOperations();

// What a replay finds a call by: the operation, the arguments exactly, the locale settings.
std::string RecordedCallKey(std::string_view operation,
                            const std::vector<RecordedArgument>& arguments,
                            const RecordedLocale& locale);

// A call as a person reads it: GetExchangeRate("RUB", "USD", 2010-10-08T18:00:00).
std::u16string RecordedCallText(std::string_view operation,
                                const std::vector<RecordedArgument>& arguments);

}  // namespace quorvane::server
