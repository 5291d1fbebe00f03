#pragma once
// The locale source on Windows: the user's settings read from the thread locale.

#include "LocaleSettings.h"

namespace platform {

// Reads every item of the locale settings from the calling thread's locale (GetLocaleInfoW); an
// item the system cannot give stays empty. MakeLocaleSettings turns the result into settings.
quorvane::LocaleItems ReadThreadLocaleItems();

}  // namespace platform
