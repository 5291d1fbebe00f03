#include "ErrorText.h"

#include "Digits.h"
#include "Errors.h"
#include "ServerCall.h"
#include "Utf.h"
#include "uQuorvaneFunc.h"

namespace quorvane {

namespace {

constexpr std::size_t kDetailsLineLength = 256;

std::u16string KindOf(const Exception& error) {
  if (dynamic_cast<const EServerCallError*>(&error))
    return u"EServerCallError";
  if (dynamic_cast<const EConvertError*>(&error))
    return u"EConvertError";
  if (dynamic_cast<const EInvalidOp*>(&error))
    return u"EInvalidOp";
  if (dynamic_cast<const EOverflow*>(&error))
    return u"EOverflow";
  if (dynamic_cast<const EZeroDivide*>(&error))
    return u"EZeroDivide";
  if (dynamic_cast<const EStringListError*>(&error))
    return u"EStringListError";
  return u"Exception";
}

// Where a cut at `at` falls without splitting a surrogate pair.
std::size_t CutAt(std::u16string_view text, std::size_t at) {
  if (at < text.size() && at > 0 && text[at - 1] >= 0xD800 && text[at - 1] <= 0xDBFF)
    ++at;
  return at;
}

}  // namespace

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

std::u16string ErrorBoxMessage(std::exception_ptr error) {
  std::u16string message = ErrorMessageOf(error);
  // The client says that there is no server object; the window says how to make one.
  if (message == kNoServerObject)
    message += u": press \"Create Quorvane\" first";
  return ErrorBoxText(std::move(message));
}

std::u16string ErrorDetailsText(std::exception_ptr error) {
  if (!error)
    return {};
  try {
    std::rethrow_exception(error);
  } catch (const EServerCallError& e) {
    return u"Error: EServerCallError\nStatus: " +
           FromUtf8(StatusHex(static_cast<std::uint32_t>(e.ErrorCode()))) + u"\nSource: " +
           e.Source() + u"\nHelp file: " + e.HelpFile() + u"\nHelp context: " +
           FromUtf8(std::to_string(e.HelpContext()));
  } catch (const Exception& e) {
    return u"Error: " + KindOf(e);
  } catch (const std::exception&) {
    return u"Error: std::exception";
  } catch (...) {
    return u"Error: unknown";
  }
}

std::u16string ErrorBoxShownText(std::u16string_view text) {
  if (text.size() <= kErrorBoxMessageLength)
    return std::u16string(text);
  return std::u16string(text.substr(0, CutAt(text, kErrorBoxMessageLength))) + u'\u2026';
}

std::u16string ErrorBoxDetails(std::u16string_view details, std::u16string_view text) {
  std::u16string out(details);
  if (text.size() <= kErrorBoxMessageLength)
    return out;
  out += u"\n\nMessage (" + FromUtf8(std::to_string(text.size())) + u" characters):\n";
  out.reserve(out.size() + text.size() + text.size() / kDetailsLineLength + 1);
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = CutAt(text, std::min(text.size(), start + kDetailsLineLength));
    if (start > 0)
      out += u'\n';
    out += text.substr(start, end - start);
    start = end;
  }
  return out;
}

ErrorBoxContent ErrorBoxContentOf(std::exception_ptr error) {
  const std::u16string message = ErrorBoxMessage(error);
  return {ErrorBoxShownText(message), ErrorBoxDetails(ErrorDetailsText(error), message)};
}

}  // namespace quorvane
