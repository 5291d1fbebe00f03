#include "SystemLocale.h"

namespace platform {

// The portable runtime has no locale items of its own: the window reads its toolkit's locale.
std::optional<std::u16string> ThreadLocaleText(LocaleText, int) {
  return std::nullopt;
}

}  // namespace platform
