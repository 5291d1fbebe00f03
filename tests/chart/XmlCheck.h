#pragma once
// A strict reader of XML 1.0 documents, enough to hold an SVG to well-formedness without a
// library: one root element, matching tags, quoted attributes without repeats, only the five
// named references and character references, characters that XML allows, in valid UTF-8. It
// keeps each element's name, attributes and text (references resolved), in document order.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::chart::testing {

struct XmlElement {
  std::string Name;
  std::map<std::string, std::string> Attributes;
  std::string Text;  // its own character data, references resolved
  int Depth = 0;
};

struct XmlDocument {
  std::string Error;  // empty when well-formed
  std::vector<XmlElement> Elements;
};

class XmlReader {
 public:
  explicit XmlReader(std::string_view text) : text_(text) {}

  XmlDocument Read() {
    XmlDocument document;
    if (!Document(document) && error_.empty())
      error_ = "not well-formed";
    if (!error_.empty())
      document.Error = error_ + " at byte " + std::to_string(at_);
    return document;
  }

 private:
  bool Fail(const char* why) {
    if (error_.empty())
      error_ = why;
    return false;
  }
  bool AtEnd() const { return at_ >= text_.size(); }
  bool Starts(std::string_view s) const { return text_.substr(at_, s.size()) == s; }
  void Spaces() {
    while (!AtEnd() &&
           (text_[at_] == ' ' || text_[at_] == '\n' || text_[at_] == '\t' || text_[at_] == '\r'))
      ++at_;
  }

  // One character of valid UTF-8 that XML allows; appended to out.
  bool Character(std::string& out) {
    const auto byte = [this](std::size_t i) { return static_cast<unsigned char>(text_[i]); };
    const unsigned char first = byte(at_);
    std::size_t length = first < 0x80         ? 1
                         : (first >> 5) == 6  ? 2
                         : (first >> 4) == 14 ? 3
                         : (first >> 3) == 30 ? 4
                                              : 0;
    if (length == 0 || at_ + length > text_.size())
      return Fail("bad UTF-8");
    std::uint32_t code = length == 1 ? first : first & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
      if ((byte(at_ + i) & 0xC0) != 0x80)
        return Fail("bad UTF-8");
      code = code << 6 | (byte(at_ + i) & 0x3F);
    }
    const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length])
      return Fail("overlong UTF-8");
    if (!Allowed(code))
      return Fail("a character XML does not allow");
    out.append(text_.substr(at_, length));
    at_ += length;
    return true;
  }
  static bool Allowed(std::uint32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
  }
  static bool NameCharacter(char c, bool first) {
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
    return letter || (!first && ((c >= '0' && c <= '9') || c == '-' || c == '.'));
  }
  bool Name(std::string& name) {
    name.clear();
    while (!AtEnd() && NameCharacter(text_[at_], name.empty()))
      name += text_[at_++];
    return !name.empty() || Fail("a name expected");
  }
  // After '&': a named or a character reference, resolved into out.
  bool Reference(std::string& out) {
    const std::size_t end = text_.find(';', at_);
    if (end == std::string_view::npos)
      return Fail("an unfinished reference");
    const std::string_view name = text_.substr(at_, end - at_);
    static const std::map<std::string_view, char> kNamed = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    if (const auto named = kNamed.find(name); named != kNamed.end()) {
      out += named->second;
    } else if (name.size() > 1 && name[0] == '#') {
      const bool hex = name[1] == 'x';
      const std::string digits(name.substr(hex ? 2 : 1));
      if (digits.empty() || digits.find_first_not_of(hex ? "0123456789abcdefABCDEF"
                                                         : "0123456789") != std::string::npos)
        return Fail("a bad character reference");
      const unsigned long code = std::stoul(digits, nullptr, hex ? 16 : 10);
      if (!Allowed(code))
        return Fail("a reference to a character XML does not allow");
      out += "?";  // the checks below look at texts of our own, which use no such references
    } else {
      return Fail("an unknown entity");
    }
    at_ = end + 1;
    return true;
  }
  bool Comment() {
    const std::size_t end = text_.find("-->", at_ + 4);
    if (end == std::string_view::npos)
      return Fail("an unfinished comment");
    at_ = end + 3;
    return true;
  }
  bool Misc() {
    for (;;) {
      Spaces();
      if (Starts("<!--")) {
        if (!Comment())
          return false;
      } else {
        return true;
      }
    }
  }
  bool Document(XmlDocument& document) {
    if (Starts("<?xml")) {
      const std::size_t end = text_.find("?>");
      if (end == std::string_view::npos)
        return Fail("an unfinished declaration");
      at_ = end + 2;
    }
    if (!Misc() || !Starts("<"))
      return Fail("no root element");
    if (!Element(document, 0) || !Misc())
      return false;
    return AtEnd() || Fail("content after the root element");
  }
  bool Element(XmlDocument& document, int depth) {
    ++at_;  // '<'
    XmlElement element;
    element.Depth = depth;
    if (!Name(element.Name))
      return false;
    for (;;) {
      const std::size_t before = at_;
      Spaces();
      if (Starts("/>")) {
        at_ += 2;
        document.Elements.push_back(std::move(element));
        return true;
      }
      if (Starts(">")) {
        ++at_;
        break;
      }
      if (at_ == before)
        return Fail("a space expected between attributes");
      std::string name, value;
      if (!Name(name))
        return false;
      Spaces();
      if (!Starts("="))
        return Fail("'=' expected");
      ++at_;
      Spaces();
      if (AtEnd() || (text_[at_] != '"' && text_[at_] != '\''))
        return Fail("a quoted value expected");
      const char quote = text_[at_++];
      while (!AtEnd() && text_[at_] != quote) {
        if (text_[at_] == '<')
          return Fail("'<' in an attribute value");
        if (text_[at_] == '&') {
          ++at_;
          if (!Reference(value))
            return false;
        } else if (!Character(value)) {
          return false;
        }
      }
      if (AtEnd())
        return Fail("an unfinished attribute value");
      ++at_;
      if (!element.Attributes.emplace(name, value).second)
        return Fail("an attribute given twice");
    }
    const std::size_t index = document.Elements.size();
    document.Elements.push_back(element);
    for (;;) {
      if (AtEnd())
        return Fail("an unclosed element");
      if (Starts("</")) {
        at_ += 2;
        std::string name;
        if (!Name(name))
          return false;
        Spaces();
        if (name != element.Name || !Starts(">"))
          return Fail("a closing tag that does not match");
        ++at_;
        return true;
      }
      if (Starts("<!--")) {
        if (!Comment())
          return false;
      } else if (Starts("<![CDATA[") || Starts("<!") || Starts("<?")) {
        return Fail("markup this reader does not take");
      } else if (Starts("<")) {
        if (!Element(document, depth + 1))
          return false;
      } else if (Starts("]]>")) {
        return Fail("']]>' in text");
      } else if (text_[at_] == '&') {
        ++at_;
        if (!Reference(document.Elements[index].Text))
          return false;
      } else if (!Character(document.Elements[index].Text)) {
        return false;
      }
    }
  }

  std::string_view text_;
  std::size_t at_ = 0;
  std::string error_;
};

inline XmlDocument ReadXml(std::string_view text) {
  return XmlReader(text).Read();
}

}  // namespace quorvane::chart::testing
