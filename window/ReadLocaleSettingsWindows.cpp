// The locale settings from the thread's locale, item by item as the system gives them.
#include "LocaleSource.h"
#include "windows/SystemLocale.h"

namespace quorvane {

void ReadLocaleSettings() {
  SetLocaleSettings(MakeLocaleSettings(platform::ReadThreadLocaleItems()));
}

}  // namespace quorvane
