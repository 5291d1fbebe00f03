// The locale settings from the thread's locale, item by item as the system gives them.
#include "LocaleSource.h"
#include "SystemLocaleItems.h"

namespace quorvane {

void ReadLocaleSettings() {
  SetLocaleSettings(MakeLocaleSettings(ReadThreadLocaleItems()));
}

}  // namespace quorvane
