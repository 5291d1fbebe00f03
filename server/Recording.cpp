#include "Recording.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <system_error>

#include "IsoDate.h"
#include "JsonText.h"
#include "Utf.h"

namespace quorvane::server {

bool RecordedArgument::operator==(const RecordedArgument& other) const {
  if (kind != other.kind)
    return false;
  switch (kind) {
    case Kind::Text:
      return text == other.text;
    case Kind::Date:
      // The number exactly: NaN equals NaN, 0 and -0 stay apart.
      return std::memcmp(&date, &other.date, sizeof date) == 0;
    case Kind::Truth:
      return truth == other.truth;
  }
  return false;
}

RecordedLocale RecordedLocaleOf(const LocaleSettings& settings) {
  return {settings.DecimalSeparator, settings.ThousandSeparator, settings.DateSeparator,
          settings.ShortDateFormat};
}

LocaleSettings WithRecordedLocale(LocaleSettings settings, const RecordedLocale& locale) {
  settings.DecimalSeparator = locale.DecimalSeparator;
  settings.ThousandSeparator = locale.ThousandSeparator;
  settings.DateSeparator = locale.DateSeparator;
  settings.ShortDateFormat = locale.ShortDateFormat;
  return settings;
}

std::u16string RecordedLocaleText(const RecordedLocale& locale) {
  return locale.ShortDateFormat + u' ' + locale.DateSeparator + u' ' + locale.DecimalSeparator +
         u' ' + locale.ThousandSeparator;
}

RecordingError::RecordingError(std::size_t line, const std::string& what)
    : std::runtime_error(line == 0 ? what : "line " + std::to_string(line) + ": " + what),
      line_(line) {}

const std::vector<RecordableOperation>& RecordableOperations() {
  using Kind = RecordedArgument::Kind;
  static const std::vector<RecordableOperation> operations = {
      {"Get_Visible", {}, false},
      {"Set_Visible", {Kind::Truth}, false},
      {"GetCountryList", {}, true},
      {"GetMinimumWageList", {Kind::Text}, true},
      {"GetPriceIndexList", {Kind::Text}, true},
      {"GetFundsRateList", {Kind::Text}, true},
      {"GetFieldValueList", {Kind::Text}, true},
      {"GetListOfExchangeRate", {Kind::Text, Kind::Text}, true},
      {"GetLIDCurrency", {Kind::Text, Kind::Text}, true},
      {"GetExchangeRate", {Kind::Text, Kind::Text, Kind::Date}, true},
  };
  return operations;
}

namespace {

const RecordableOperation* OperationNamed(std::string_view name) {
  for (const RecordableOperation& operation : RecordableOperations())
    if (operation.name == name)
      return &operation;
  return nullptr;
}

std::string DateText(double date) {
  if (!std::isfinite(date))
    return JsonNumber(date);
  const std::string time = IsoTimeOfDayText(date);
  return IsoDateText(date) + (time.empty() ? "" : "T" + time);
}

std::string StatusText(std::int32_t status) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(status));
  return text;
}

std::string ArgumentJson(const RecordedArgument& argument) {
  switch (argument.kind) {
    case RecordedArgument::Kind::Text:
      return "{\"text\": " + JsonQuoted(argument.text) + "}";
    case RecordedArgument::Kind::Date:
      return "{\"date\": " + JsonNumber(argument.date) +
             ", \"iso\": " + JsonQuoted(std::string_view(DateText(argument.date))) + "}";
    case RecordedArgument::Kind::Truth:
      return std::string("{\"truth\": ") + (argument.truth ? "true" : "false") + "}";
  }
  return "{}";
}

// Reads the members of one line's objects, each named in what it says is wrong.
class LineReader {
 public:
  explicit LineReader(std::size_t line) : line_(line) {}

  [[noreturn]] void Fail(const std::string& what) const { throw RecordingError(line_, what); }

  const JsonValue& Member(const JsonValue& object, const char* name, JsonValue::Kind kind,
                          const char* kindName) const {
    const JsonValue* value = object.Find(name);
    if (value == nullptr)
      Fail(std::string("the field \"") + name + "\" is missing");
    if (value->kind != kind)
      Fail(std::string("the field \"") + name + "\" must be " + kindName);
    return *value;
  }
  const std::u16string& Text(const JsonValue& object, const char* name) const {
    return Member(object, name, JsonValue::Kind::String, "a string").string;
  }
  // A text that may be left out; null also means none.
  std::u16string OptionalText(const JsonValue& object, const char* name) const {
    const JsonValue* value = object.Find(name);
    if (value == nullptr || value->kind == JsonValue::Kind::Null)
      return {};
    if (value->kind != JsonValue::Kind::String)
      Fail(std::string("the field \"") + name + "\" must be a string");
    return value->string;
  }
  void OnlyFields(const JsonValue& object, std::initializer_list<std::string_view> names,
                  const char* where) const {
    for (const auto& [name, value] : object.members) {
      bool known = false;
      for (std::string_view allowed : names)
        known = known || name == allowed;
      if (!known)
        Fail("unknown field \"" + name + "\" in " + where);
    }
  }
  char16_t Character(const JsonValue& object, const char* name) const {
    const std::u16string& text = Text(object, name);
    if (text.size() != 1)
      Fail(std::string("the field \"") + name + "\" must be one character");
    return text.front();
  }

 private:
  std::size_t line_;
};

JsonValue ParseLine(std::string_view line, std::size_t number) {
  try {
    JsonValue value = ParseJson(line);
    if (value.kind != JsonValue::Kind::Object)
      throw RecordingError(number, "a line must be a JSON object");
    return value;
  } catch (const JsonError& e) {
    throw RecordingError(number,
                         "not JSON at column " + std::to_string(e.Column()) + ": " + e.what());
  }
}

RecordingHeader ReadHeader(const JsonValue& line, const LineReader& read) {
  const JsonValue* format = line.Find("format");
  if (format == nullptr || format->kind != JsonValue::Kind::String ||
      ToUtf8(format->string) != kRecordingFormat)
    read.Fail(std::string("not a recording: the first line must name the format \"") +
              kRecordingFormat + "\"");
  const JsonValue& version = read.Member(line, "version", JsonValue::Kind::Number, "a number");
  if (version.number != kRecordingVersion)
    read.Fail("version " + JsonNumber(version.number) + " is not one this reader knows (it reads " +
              std::to_string(kRecordingVersion) + ")");
  read.OnlyFields(line, {"format", "version", "server", "recorded"}, "the header");
  RecordingHeader header;
  const JsonValue& server = read.Member(line, "server", JsonValue::Kind::Object, "an object");
  read.OnlyFields(server, {"class_id", "module", "version"}, "the server");
  header.classId = read.Text(server, "class_id");
  header.module = read.OptionalText(server, "module");
  header.serverVersion = read.OptionalText(server, "version");
  header.recorded = ToUtf8(read.Text(line, "recorded"));
  return header;
}

std::int32_t ReadStatus(const std::u16string& text, const LineReader& read) {
  std::uint32_t status = 0;
  bool ok = text.size() == 10 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X');
  for (std::size_t i = 2; ok && i < text.size(); ++i) {
    const char16_t c = text[i];
    const int digit = c >= u'0' && c <= u'9'   ? c - u'0'
                      : c >= u'A' && c <= u'F' ? c - u'A' + 10
                      : c >= u'a' && c <= u'f' ? c - u'a' + 10
                                               : -1;
    ok = digit >= 0;
    status = status * 16 + static_cast<std::uint32_t>(digit);
  }
  if (!ok)
    read.Fail("the field \"status\" must be 0x and eight hexadecimal digits, not \"" +
              ToUtf8(text) + "\"");
  return static_cast<std::int32_t>(status);
}

double ReadDate(const JsonValue& argument, const LineReader& read) {
  const JsonValue* date = argument.Find("date");
  if (date->kind == JsonValue::Kind::Number)
    return date->number;
  if (date->kind == JsonValue::Kind::String) {
    if (date->string == u"NaN")
      return std::numeric_limits<double>::quiet_NaN();
    if (date->string == u"Infinity")
      return std::numeric_limits<double>::infinity();
    if (date->string == u"-Infinity")
      return -std::numeric_limits<double>::infinity();
  }
  read.Fail("a date must be a number (or \"NaN\", \"Infinity\", \"-Infinity\")");
}

RecordedCall ReadCall(const JsonValue& line, const LineReader& read) {
  RecordedCall call;
  read.OnlyFields(line, {"operation", "arguments", "locale", "status", "error", "reply"}, "a call");
  call.operation = ToUtf8(read.Text(line, "operation"));
  const RecordableOperation* operation = OperationNamed(call.operation);
  if (operation == nullptr)
    read.Fail("no operation \"" + call.operation + "\"");
  const JsonValue& arguments = read.Member(line, "arguments", JsonValue::Kind::Array, "an array");
  if (arguments.items.size() != operation->arguments.size())
    read.Fail(call.operation + " takes " + std::to_string(operation->arguments.size()) +
              " argument(s), not " + std::to_string(arguments.items.size()));
  for (std::size_t i = 0; i < arguments.items.size(); ++i) {
    const JsonValue& argument = arguments.items[i];
    RecordedArgument recorded;
    recorded.kind = operation->arguments[i];
    const std::string which = "argument " + std::to_string(i + 1) + " of " + call.operation;
    if (argument.kind != JsonValue::Kind::Object)
      read.Fail(which + " must be an object");
    switch (recorded.kind) {
      case RecordedArgument::Kind::Text:
        read.OnlyFields(argument, {"text"}, which.c_str());
        recorded.text = read.Text(argument, "text");
        break;
      case RecordedArgument::Kind::Date:
        read.OnlyFields(argument, {"date", "iso"}, which.c_str());
        if (argument.Find("date") == nullptr)
          read.Fail(which + " must be a date: the field \"date\" is missing");
        recorded.date = ReadDate(argument, read);
        read.OptionalText(argument, "iso");  // for people; the number is what counts
        break;
      case RecordedArgument::Kind::Truth:
        read.OnlyFields(argument, {"truth"}, which.c_str());
        recorded.truth =
            read.Member(argument, "truth", JsonValue::Kind::Boolean, "true or false").boolean;
        break;
    }
    call.arguments.push_back(std::move(recorded));
  }
  const JsonValue& locale = read.Member(line, "locale", JsonValue::Kind::Object, "an object");
  read.OnlyFields(locale,
                  {"short_date", "date_separator", "decimal_separator", "thousand_separator"},
                  "the locale");
  call.locale.ShortDateFormat = read.Text(locale, "short_date");
  call.locale.DateSeparator = read.Character(locale, "date_separator");
  call.locale.DecimalSeparator = read.Character(locale, "decimal_separator");
  call.locale.ThousandSeparator = read.Character(locale, "thousand_separator");
  call.status = ReadStatus(read.Text(line, "status"), read);
  if (const JsonValue* error = line.Find("error")) {
    if (error->kind != JsonValue::Kind::Object)
      read.Fail("the field \"error\" must be an object");
    read.OnlyFields(*error, {"description", "source"}, "the error");
    call.errorInfo = true;
    call.description = read.OptionalText(*error, "description");
    call.source = read.OptionalText(*error, "source");
  }
  const JsonValue* reply = line.Find("reply");
  const bool succeeded = call.status >= 0;
  if (!succeeded || call.operation == "Set_Visible") {
    if (reply != nullptr)
      read.Fail(succeeded ? "Set_Visible has no reply" : "a failed call has no reply");
  } else if (!operation->textReply) {
    if (reply == nullptr)
      read.Fail("the field \"reply\" is missing");
    if (reply->kind != JsonValue::Kind::Boolean)
      read.Fail("the field \"reply\" of " + call.operation + " must be true or false");
    call.truth = reply->boolean;
  } else {
    if (reply == nullptr)
      read.Fail("the field \"reply\" is missing (null for a null reply)");
    if (reply->kind == JsonValue::Kind::String)
      call.reply = reply->string;
    else if (reply->kind != JsonValue::Kind::Null)
      read.Fail("the field \"reply\" must be a string or null");
  }
  return call;
}

}  // namespace

Recording ReadRecording(std::string_view text, const RecordingLimits& limits) {
  if (text.size() > limits.maxFileBytes)
    throw RecordingError(
        0, "the recording is larger than " + std::to_string(limits.maxFileBytes) + " bytes");
  Recording recording;
  bool headerRead = false;
  std::size_t number = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    ++number;
    if (number > limits.maxLines)
      throw RecordingError(number, "more than " + std::to_string(limits.maxLines) + " lines");
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos)
      end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (line.size() > limits.maxLineBytes)
      throw RecordingError(
          number, "the line is longer than " + std::to_string(limits.maxLineBytes) + " bytes");
    // A file edited where lines end with CR LF reads the same.
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    if (line.find_first_not_of(" \t") == std::string_view::npos)
      continue;
    const JsonValue value = ParseLine(line, number);
    const LineReader read(number);
    if (!headerRead) {
      recording.header = ReadHeader(value, read);
      headerRead = true;
    } else {
      recording.calls.push_back(ReadCall(value, read));
    }
  }
  if (!headerRead)
    throw RecordingError(0, "the recording is empty: it has no header line");
  return recording;
}

Recording ReadRecordingFile(const std::filesystem::path& file, const RecordingLimits& limits) {
  std::error_code error;
  const auto size = std::filesystem::file_size(file, error);
  if (error)
    throw RecordingError(0, "cannot read the recording: " + error.message());
  if (size > limits.maxFileBytes)
    throw RecordingError(
        0, "the recording is larger than " + std::to_string(limits.maxFileBytes) + " bytes");
  std::ifstream in(file, std::ios::binary);
  std::string text(static_cast<std::size_t>(size), '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (!in && !in.eof())
    throw RecordingError(0, "cannot read the recording");
  text.resize(static_cast<std::size_t>(in.gcount()));
  return ReadRecording(text, limits);
}

std::string RecordingHeaderLine(const RecordingHeader& header) {
  std::string server = "{\"class_id\": " + JsonQuoted(header.classId);
  if (!header.module.empty())
    server += ", \"module\": " + JsonQuoted(header.module);
  if (!header.serverVersion.empty())
    server += ", \"version\": " + JsonQuoted(header.serverVersion);
  return std::string("{\"format\": \"") + kRecordingFormat +
         "\", \"version\": " + std::to_string(kRecordingVersion) + ", \"server\": " + server +
         "}, \"recorded\": " + JsonQuoted(std::string_view(header.recorded)) + "}";
}

std::string RecordedCallLine(const RecordedCall& call) {
  std::string line =
      "{\"operation\": " + JsonQuoted(std::string_view(call.operation)) + ", \"arguments\": [";
  for (std::size_t i = 0; i < call.arguments.size(); ++i)
    line += (i == 0 ? "" : ", ") + ArgumentJson(call.arguments[i]);
  line +=
      "], \"locale\": {\"short_date\": " + JsonQuoted(call.locale.ShortDateFormat) +
      ", \"date_separator\": " + JsonQuoted(std::u16string(1, call.locale.DateSeparator)) +
      ", \"decimal_separator\": " + JsonQuoted(std::u16string(1, call.locale.DecimalSeparator)) +
      ", \"thousand_separator\": " + JsonQuoted(std::u16string(1, call.locale.ThousandSeparator)) +
      "}";
  line += ", \"status\": \"" + StatusText(call.status) + "\"";
  if (call.errorInfo)
    line += ", \"error\": {\"description\": " + JsonQuoted(call.description) +
            ", \"source\": " + JsonQuoted(call.source) + "}";
  if (call.status >= 0 && call.operation != "Set_Visible") {
    if (call.operation == "Get_Visible")
      line += std::string(", \"reply\": ") + (call.truth ? "true" : "false");
    else
      line += ", \"reply\": " + (call.reply ? JsonQuoted(*call.reply) : std::string("null"));
  }
  return line + "}";
}

std::string RecordingText(const Recording& recording) {
  std::string text = RecordingHeaderLine(recording.header) + "\n";
  for (const RecordedCall& call : recording.calls)
    text += RecordedCallLine(call) + "\n";
  return text;
}

std::string RecordedCallKey(std::string_view operation,
                            const std::vector<RecordedArgument>& arguments,
                            const RecordedLocale& locale) {
  RecordedCall call;
  call.operation = operation;
  call.arguments = arguments;
  call.locale = locale;
  // The line of a successful call without its reply: exact for texts and date numbers alike.
  call.status = -1;
  return RecordedCallLine(call);
}

std::u16string RecordedCallText(std::string_view operation,
                                const std::vector<RecordedArgument>& arguments) {
  std::u16string text = FromUtf8(operation) + u"(";
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (i > 0)
      text += u", ";
    const RecordedArgument& argument = arguments[i];
    switch (argument.kind) {
      case RecordedArgument::Kind::Text:
        text += u"\"" + argument.text + u"\"";
        break;
      case RecordedArgument::Kind::Date:
        text += FromUtf8(DateText(argument.date));
        break;
      case RecordedArgument::Kind::Truth:
        text += argument.truth ? u"true" : u"false";
        break;
    }
  }
  return text + u")";
}

}  // namespace quorvane::server
