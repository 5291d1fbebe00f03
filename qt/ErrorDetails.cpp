#include "ErrorDetails.h"

#include "Digits.h"
#include "Errors.h"
#include "ServerCall.h"

namespace quorvane {

namespace {

constexpr qsizetype kDetailsLineLength = 256;

QString KindOf(const Exception& error) {
  if (dynamic_cast<const EServerCallError*>(&error))
    return QStringLiteral("EServerCallError");
  if (dynamic_cast<const EConvertError*>(&error))
    return QStringLiteral("EConvertError");
  if (dynamic_cast<const EInvalidOp*>(&error))
    return QStringLiteral("EInvalidOp");
  if (dynamic_cast<const EOverflow*>(&error))
    return QStringLiteral("EOverflow");
  if (dynamic_cast<const EZeroDivide*>(&error))
    return QStringLiteral("EZeroDivide");
  if (dynamic_cast<const EStringListError*>(&error))
    return QStringLiteral("EStringListError");
  return QStringLiteral("Exception");
}

QString Hex(std::uint32_t value) {
  return QString::fromStdString(StatusHex(value));
}

}  // namespace

QString ErrorDetailsOf(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const EServerCallError& e) {
    return QStringLiteral("Error: EServerCallError\nStatus: ") +
           Hex(static_cast<std::uint32_t>(e.ErrorCode())) + QStringLiteral("\nSource: ") +
           QString::fromStdU16String(e.Source()) + QStringLiteral("\nHelp file: ") +
           QString::fromStdU16String(e.HelpFile()) + QStringLiteral("\nHelp context: ") +
           QString::number(e.HelpContext());
  } catch (const Exception& e) {
    return QStringLiteral("Error: ") + KindOf(e);
  } catch (const std::exception&) {
    return QStringLiteral("Error: std::exception");
  } catch (...) {
    return QStringLiteral("Error: unknown");
  }
}

QString ShownMessage(const QString& text) {
  if (text.size() <= kShownMessageLength)
    return text;
  return text.left(kShownMessageLength) + QChar(0x2026);
}

QString DetailsWithMessage(const QString& details, const QString& text) {
  if (text.size() <= kShownMessageLength)
    return details;
  QString out = details;
  out += QStringLiteral("\n\nMessage (%1 characters):\n").arg(text.size());
  out.reserve(out.size() + text.size() + text.size() / kDetailsLineLength + 1);
  for (qsizetype start = 0; start < text.size(); start += kDetailsLineLength) {
    if (start > 0)
      out += QLatin1Char('\n');
    out += QStringView(text).mid(start, kDetailsLineLength);
  }
  return out;
}

}  // namespace quorvane
