#include "Errors.h"

#include "Utf.h"

namespace quorvane {

Exception::Exception(std::u16string message)
    : message_(std::move(message)), utf8_(ToUtf8(message_)) {}

std::u16string FillTemplate(std::u16string_view pattern,
                            std::initializer_list<std::u16string_view> inserts) {
  std::u16string out;
  auto next = inserts.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const bool isInsert = pattern[i] == u'%' && i + 1 < pattern.size() &&
                          (pattern[i + 1] == u's' || pattern[i + 1] == u'd');
    if (isInsert && next != inserts.end()) {
      out += *next++;
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

}  // namespace quorvane
