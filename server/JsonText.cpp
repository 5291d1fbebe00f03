#include "JsonText.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "Utf.h"

namespace quorvane::server {

const JsonValue* JsonValue::Find(std::string_view name) const {
  for (const auto& [key, value] : members)
    if (key == name)
      return &value;
  return nullptr;
}

namespace {

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  JsonValue Document() {
    JsonValue value = Value(0);
    Blanks();
    if (at_ != text_.size())
      Fail("text after the value");
    return value;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const { throw JsonError(what, at_ + 1); }

  bool More() const { return at_ < text_.size(); }
  char Peek() const { return More() ? text_[at_] : '\0'; }

  void Blanks() {
    while (More() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\r' || Peek() == '\n'))
      ++at_;
  }

  void Expect(char c, const char* what) {
    Blanks();
    if (Peek() != c)
      Fail(std::string("expected ") + what);
    ++at_;
  }

  void Word(std::string_view word) {
    if (text_.substr(at_, word.size()) != word)
      Fail("not a JSON value");
    at_ += word.size();
  }

  JsonValue Value(std::size_t depth) {
    if (depth == kJsonDepth)
      Fail("nested too deep");
    Blanks();
    JsonValue value;
    switch (Peek()) {
      case '{':
        value.kind = JsonValue::Kind::Object;
        ++at_;
        Blanks();
        if (Peek() == '}') {
          ++at_;
          return value;
        }
        for (;;) {
          Blanks();
          if (Peek() != '"')
            Fail("expected a member name in double quotes");
          const std::string name = ToUtf8(String());
          if (value.Find(name) != nullptr)
            Fail("the member \"" + name + "\" twice");
          Expect(':', "\":\" after a member name");
          value.members.push_back({name, Value(depth + 1)});
          Blanks();
          if (Peek() == ',') {
            ++at_;
            continue;
          }
          Expect('}', "\",\" or \"}\" in an object");
          return value;
        }
      case '[':
        value.kind = JsonValue::Kind::Array;
        ++at_;
        Blanks();
        if (Peek() == ']') {
          ++at_;
          return value;
        }
        for (;;) {
          value.items.push_back(Value(depth + 1));
          Blanks();
          if (Peek() == ',') {
            ++at_;
            continue;
          }
          Expect(']', "\",\" or \"]\" in an array");
          return value;
        }
      case '"':
        value.kind = JsonValue::Kind::String;
        value.string = String();
        return value;
      case 't':
        Word("true");
        value.kind = JsonValue::Kind::Boolean;
        value.boolean = true;
        return value;
      case 'f':
        Word("false");
        value.kind = JsonValue::Kind::Boolean;
        return value;
      case 'n':
        Word("null");
        return value;
      default:
        value.kind = JsonValue::Kind::Number;
        value.number = Number();
        return value;
    }
  }

  static bool Digit(char c) { return c >= '0' && c <= '9'; }

  double Number() {
    const std::size_t start = at_;
    if (Peek() == '-')
      ++at_;
    if (Peek() == '0') {
      ++at_;
    } else if (Digit(Peek())) {
      while (Digit(Peek()))
        ++at_;
    } else {
      Fail(at_ == start ? "not a JSON value" : "a minus sign without digits");
    }
    if (Peek() == '.') {
      ++at_;
      if (!Digit(Peek()))
        Fail("a decimal point without digits after it");
      while (Digit(Peek()))
        ++at_;
    }
    if (Peek() == 'e' || Peek() == 'E') {
      ++at_;
      if (Peek() == '+' || Peek() == '-')
        ++at_;
      if (!Digit(Peek()))
        Fail("an exponent without digits");
      while (Digit(Peek()))
        ++at_;
    }
    double number = 0;
    const char* first = text_.data() + start;
    const auto [end, error] = std::from_chars(first, text_.data() + at_, number);
    if (error != std::errc() || end != text_.data() + at_) {
      at_ = start;
      Fail("a number out of range");
    }
    return number;
  }

  unsigned Hex4() {
    unsigned value = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = Peek();
      unsigned digit = 0;
      if (c >= '0' && c <= '9')
        digit = static_cast<unsigned>(c - '0');
      else if (c >= 'a' && c <= 'f')
        digit = static_cast<unsigned>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        digit = static_cast<unsigned>(c - 'A' + 10);
      else
        Fail("\\u without four hexadecimal digits");
      value = value * 16 + digit;
      ++at_;
    }
    return value;
  }

  // One well-formed UTF-8 sequence, appended as UTF-16.
  void Utf8Sequence(std::u16string& out) {
    const auto byte = [&](std::size_t i) {
      return static_cast<unsigned char>(at_ + i < text_.size() ? text_[at_ + i] : 0);
    };
    const unsigned lead = byte(0);
    std::size_t length = 0;
    std::uint32_t code = 0, least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, code = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, code = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, code = lead & 0x07, least = 0x10000;
    } else {
      Fail("text that is not UTF-8");
    }
    for (std::size_t i = 1; i < length; ++i) {
      const unsigned next = byte(i);
      if ((next & 0xC0) != 0x80)
        Fail("text that is not UTF-8");
      code = code << 6 | (next & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
      Fail("text that is not UTF-8");
    at_ += length;
    if (code >= 0x10000) {
      code -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (code >> 10));
      out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      out += static_cast<char16_t>(code);
    }
  }

  std::u16string String() {
    ++at_;  // the opening quote
    std::u16string out;
    for (;;) {
      if (!More())
        Fail("a string without its closing quote");
      const auto c = static_cast<unsigned char>(Peek());
      if (c == '"') {
        ++at_;
        return out;
      }
      if (c < 0x20)
        Fail("a control character in a string (write it as \\u00XX)");
      if (c == '\\') {
        ++at_;
        const char escape = Peek();
        ++at_;
        switch (escape) {
          case '"':
          case '\\':
          case '/':
            out += static_cast<char16_t>(escape);
            break;
          case 'b':
            out += u'\b';
            break;
          case 'f':
            out += u'\f';
            break;
          case 'n':
            out += u'\n';
            break;
          case 'r':
            out += u'\r';
            break;
          case 't':
            out += u'\t';
            break;
          case 'u':
            out += static_cast<char16_t>(Hex4());
            break;
          default:
            --at_;
            Fail("an unknown escape in a string");
        }
      } else if (c < 0x80) {
        out += static_cast<char16_t>(c);
        ++at_;
      } else {
        Utf8Sequence(out);
      }
    }
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

void AppendEscape(std::string& out, unsigned unit) {
  static const char kHex[] = "0123456789abcdef";
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4)
    out += kHex[(unit >> shift) & 0xF];
}

}  // namespace

JsonValue ParseJson(std::string_view text) {
  return Parser(text).Document();
}

std::string JsonQuoted(std::u16string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'"' || c == u'\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      AppendEscape(out, c);
    } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
               text[i + 1] <= 0xDFFF) {
      out += ToUtf8(text.substr(i, 2));
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      // A lone surrogate has no UTF-8; the escape keeps it.
      AppendEscape(out, c);
    } else {
      out += ToUtf8(text.substr(i, 1));
    }
  }
  return out + '"';
}

std::string JsonQuoted(std::string_view utf8) {
  return JsonQuoted(FromUtf8(utf8));
}

std::string JsonNumber(double value) {
  if (std::isnan(value))
    return "\"NaN\"";
  if (std::isinf(value))
    return value > 0 ? "\"Infinity\"" : "\"-Infinity\"";
  char text[40];
  const auto [end, error] = std::to_chars(text, text + sizeof text, value);
  return error == std::errc() ? std::string(text, end) : "0";
}

}  // namespace quorvane::server
