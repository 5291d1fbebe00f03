// The currency catalogue: the values of a field, and the letter code of a currency by a value.

#include <vector>

#include "Replies.h"
#include "TextMatch.h"

namespace quorvane::server {

namespace {

std::size_t FieldIndex(const ServerData& data, std::u16string_view field) {
  if (data.Catalogue.empty())
    throw ReplyFailure{Failure::NoSeries, u"The server has no currency catalogue"};
  std::u16string key = FoldCase(field);
  for (std::size_t i = 0; i < kCatalogueFields.size(); ++i)
    if (FoldCase(kCatalogueFields[i]) == key)
      return i;
  std::u16string known;
  for (std::u16string_view name : kCatalogueFields)
    AppendToList(known, name);
  throw ReplyFailure{Failure::UnknownField,
                     u"Unknown catalogue field " + Quoted(field) + u"; the fields are " + known};
}

// A value as one entry of a comma-separated list: quoted when a blank or a comma would split it
// or a leading quote would be taken as quoting.
void AppendListValue(std::u16string& out, std::u16string_view value) {
  bool quote = value.empty() || value.front() == u'"';
  for (char16_t c : value)
    quote = quote || c <= 32 || c == u',';
  if (!quote) {
    out += value;
    return;
  }
  out += u'"';
  for (char16_t c : value) {
    if (c == u'"')
      out += u'"';
    out += c;
  }
  out += u'"';
}

std::u16string CodeList(const ServerData& data, const std::vector<std::size_t>& rows) {
  std::u16string list;
  for (std::size_t row : rows)
    AppendToList(list, data.Catalogue[row][0]);
  return list;
}

}  // namespace

Reply FieldValueReply(const ServerData& data, std::u16string_view field) {
  return Answer([&] {
    std::size_t index = FieldIndex(data, field);
    std::u16string text;
    for (const CatalogueRow& row : data.Catalogue) {
      if (!text.empty())
        text += u',';
      AppendListValue(text, row[index]);
    }
    return text;
  });
}

Reply LetterCodeReply(const ServerData& data, std::u16string_view field,
                      std::u16string_view value) {
  return Answer([&] {
    std::size_t index = FieldIndex(data, field);
    std::u16string query = FoldCase(TrimBlanks(value));
    std::vector<std::size_t> exact, byWord;
    for (std::size_t row = 0; row < data.Catalogue.size(); ++row) {
      std::u16string folded = FoldCase(data.Catalogue[row][index]);
      if (folded == query)
        exact.push_back(row);
      else if (ContainsWholeWords(folded, query))
        byWord.push_back(row);
    }
    const std::u16string fieldName(kCatalogueFields[index]);
    if (exact.size() == 1)
      return data.Catalogue[exact.front()][0];
    if (exact.size() > 1)
      throw ReplyFailure{Failure::SeveralMatches, u"Several currencies have the " + fieldName +
                                                      u" " + Quoted(value) + u": " +
                                                      CodeList(data, exact)};
    if (byWord.size() == 1)
      return data.Catalogue[byWord.front()][0];
    if (byWord.size() > 1)
      throw ReplyFailure{Failure::SeveralMatches, u"Several currencies have " + Quoted(value) +
                                                      u" as words of their " + fieldName + u": " +
                                                      CodeList(data, byWord)};
    throw ReplyFailure{Failure::NoMatch, u"No currency has " + Quoted(value) + u" as its " +
                                             fieldName + u" or as words of it"};
  });
}

}  // namespace quorvane::server
