#pragma once
// The locale items of the system's locale source, for the settings (MakeLocaleSettings).

#include <optional>
#include <string_view>

#include "LocaleSettings.h"

namespace quorvane {

// Every item of the locale settings from the calling thread's locale; an item the system cannot
// give stays empty.
LocaleItems ReadThreadLocaleItems();

// The items of the user's locale, or of the named one (platform::UserLocale says which locale that
// is on each system); nothing when the system has no such locale.
std::optional<LocaleItems> ReadUserLocaleItems(std::string_view name = {});

}  // namespace quorvane
