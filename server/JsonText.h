#pragma once
// A small strict JSON reader and the writing of JSON strings and numbers, for the recordings'
// lines. Strict: one value and nothing after it but blanks, no trailing commas, no leading zeros,
// no duplicate member names, UTF-8 that is well formed, nesting at most kJsonDepth deep. Strings
// are UTF-16 as the server's texts are: a \u escape is one code unit, so a lone surrogate that a
// reply held travels unchanged.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::server {

inline constexpr std::size_t kJsonDepth = 16;

struct JsonMember;

struct JsonValue {
  enum class Kind { Null, Boolean, Number, String, Array, Object };
  Kind kind = Kind::Null;
  bool boolean = false;
  double number = 0;
  std::u16string string;
  std::vector<JsonValue> items;
  std::vector<JsonMember> members;

  // The member of that name, or null when there is none (or this is no object).
  const JsonValue* Find(std::string_view name) const;
};

struct JsonMember {
  std::string name;
  JsonValue value;
};

// What is wrong and at which byte of the text (counted from 1).
class JsonError : public std::runtime_error {
 public:
  JsonError(const std::string& what, std::size_t column)
      : std::runtime_error(what), column_(column) {}
  std::size_t Column() const { return column_; }

 private:
  std::size_t column_;
};

JsonValue ParseJson(std::string_view text);

// A JSON string in double quotes: UTF-8, with quotes, backslashes, control characters and lone
// surrogates escaped.
std::string JsonQuoted(std::u16string_view text);
std::string JsonQuoted(std::string_view utf8);
// The shortest text that reads back as the same double; a number that is not finite has no JSON
// number, and is written as the string "NaN", "Infinity" or "-Infinity".
std::string JsonNumber(double value);

}  // namespace quorvane::server
