#pragma once
// The locale items of the system's locale source, for the settings (MakeLocaleSettings).

#include "LocaleSettings.h"

namespace quorvane {

// Every item of the locale settings from the calling thread's locale; an item the system cannot
// give stays empty.
LocaleItems ReadThreadLocaleItems();

}  // namespace quorvane
