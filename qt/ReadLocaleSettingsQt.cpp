// The locale settings from Qt's system locale.
#include "LocaleSource.h"

namespace quorvane {

void ReadLocaleSettings() {
  SetLocaleSettings(MakeLocaleSettings(LocaleItemsOf(QLocale::system())));
}

}  // namespace quorvane
