#include "ErrorText.h"

#include "Errors.h"
#include "Utf.h"

namespace quorvane {

std::u16string ApplicationTitleFromPath(std::u16string_view path,
                                        const std::function<void(std::u16string&)>& lowerCase) {
  path = path.substr(0, 255);
  const std::size_t folderEnd = path.find_last_of(u"\\/");
  if (folderEnd != std::u16string_view::npos)
    path.remove_prefix(folderEnd + 1);
  std::u16string name(path.substr(0, path.find(u'.')));
  if (name.size() > 1) {
    std::u16string rest = name.substr(1);
    lowerCase(rest);
    name.resize(1);
    name += rest;
  }
  return name;
}

std::u16string ErrorMessageOf(std::exception_ptr error) {
  if (!error)
    return {};
  try {
    std::rethrow_exception(error);
  } catch (const Exception& e) {
    return e.Message();
  } catch (const std::exception& e) {
    return FromUtf8(e.what());
  } catch (...) {
    return u"Unknown error";
  }
}

std::u16string ErrorBoxText(std::u16string message) {
  if (!message.empty() && message.back() > u'.')
    message += u'.';
  return message;
}

}  // namespace quorvane
