#pragma once

#include <mervgauge/platform/NumberLocale.h>

#include <cstdint>
#include <functional>
#include <string>

// The system's locale data, read from ICU. Names are POSIX ("it_IT", "en_US.UTF-8", "fr_FR@euro")
// or BCP 47 ("de-CH"); "C" and "POSIX" stand for en_US. A name is accepted when ICU has locale
// data for its language and, if it names a region, knows that region; anything else throws
// std::runtime_error("unknown locale: ...").
namespace merv::locale {

// The decimal and group separators of the locale, as UTF-8 (possibly more than one byte).
NumberLocale numberLocaleFor(const std::string& name);

// The Windows LCID ICU maps the locale to; a bare language gives its primary language id.
// Throws when the locale is unknown or has no LCID.
std::int32_t lcidFor(const std::string& name);

// The value of a LCID|NAME option: a decimal or 0x-hexadecimal LCID that names a locale, taken
// as it is, else a locale name resolved with lcidFor. Throws for an LCID of no locale.
std::int32_t languageFromOption(const std::string& value);

// Reads one environment variable; null when it is not set.
using EnvironmentLookup = std::function<const char*(const char*)>;

// The locale name the environment sets for numbers: LC_ALL, then LC_NUMERIC, then LANG, the
// first that is set and non-empty; "en_US" when none is or it names the C/POSIX locale.
std::string defaultNumberLocaleName(const EnvironmentLookup& lookup);
std::string defaultNumberLocaleName();

// The same for messages: LC_ALL, then LC_MESSAGES, then LANG.
std::string defaultLanguageName(const EnvironmentLookup& lookup);
std::string defaultLanguageName();

} // namespace merv::locale
