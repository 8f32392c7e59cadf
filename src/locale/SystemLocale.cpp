#include <mervgauge/locale/SystemLocale.h>

#include <unicode/dcfmtsym.h>
#include <unicode/locid.h>
#include <unicode/region.h>
#include <unicode/uloc.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <optional>
#include <set>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace merv::locale {
namespace {

constexpr const char* PosixDefaultLocale = "en_US";

[[noreturn]] void throwUnknown(const std::string& name) {
    throw std::runtime_error("unknown locale: '" + name + "'");
}

// "it_IT.UTF-8@euro" -> "it_IT": the codeset and modifier say nothing ICU needs, and a
// codeset such as ISO-8859-1 would otherwise read as a BCP 47 tag.
std::string withoutCodesetAndModifier(const std::string& name) {
    return name.substr(0, name.find_first_of(".@"));
}

bool isPosixDefault(const std::string& name) {
    const std::string base = withoutCodesetAndModifier(name);
    return base == "C" || base == "POSIX";
}

// The languages ICU has locale data for. A syntactically valid name such as "xx_YY" or "tlh"
// would otherwise fall back silently to ICU's root data.
const std::set<std::string>& languagesWithData() {
    static const std::set<std::string> languages = [] {
        std::set<std::string> found;
        int32_t count = 0;
        const icu::Locale* available = icu::Locale::getAvailableLocales(count);
        for (int32_t i = 0; i < count; ++i)
            found.insert(available[i].getLanguage());
        return found;
    }();
    return languages;
}

bool isKnownRegion(const char* code) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Region* region = icu::Region::getInstance(code, status);
    return U_SUCCESS(status) && region != nullptr && region->getType() != URGN_UNKNOWN;
}

// The canonical ICU locale for a POSIX or BCP 47 name; throws for a name ICU has no data for.
icu::Locale resolve(const std::string& name) {
    const std::string base =
        isPosixDefault(name) ? std::string(PosixDefaultLocale) : withoutCodesetAndModifier(name);
    if (base.empty())
        throwUnknown(name);

    char canonical[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    if (base.find('-') != std::string::npos) {
        int32_t parsed = 0;
        uloc_forLanguageTag(base.c_str(), canonical, sizeof canonical, &parsed, &status);
        // ICU stops at the first subtag it cannot read; a tag it read only in part is not valid.
        if (parsed != int32_t(base.size()))
            throwUnknown(name);
    } else {
        uloc_canonicalize(base.c_str(), canonical, sizeof canonical, &status);
    }
    if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING)
        throwUnknown(name);

    const icu::Locale locale(canonical);
    if (locale.isBogus() || languagesWithData().count(locale.getLanguage()) == 0)
        throwUnknown(name);
    if (*locale.getCountry() != '\0' && !isKnownRegion(locale.getCountry()))
        throwUnknown(name);
    return locale;
}

std::string symbolAsUtf8(const icu::DecimalFormatSymbols& symbols,
                         icu::DecimalFormatSymbols::ENumberFormatSymbol which) {
    std::string text;
    symbols.getSymbol(which).toUTF8String(text);
    return text;
}

// The digits and base of a whole-string decimal or 0x-hexadecimal number; nullopt when the
// text is not one and so names a locale.
std::optional<std::pair<std::string_view, int>> numberDigits(const std::string& text) {
    std::string_view digits = text;
    int base = 10;
    if (digits.starts_with("0x") || digits.starts_with("0X")) {
        digits.remove_prefix(2);
        base = 16;
    }
    const auto isDigit = [base](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return base == 16 ? std::isxdigit(byte) != 0 : std::isdigit(byte) != 0;
    };
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), isDigit))
        return std::nullopt;
    return std::pair{digits, base};
}

std::string firstSetName(const EnvironmentLookup& lookup,
                         std::initializer_list<const char*> variables) {
    for (const char* variable : variables) {
        const char* value = lookup(variable);
        if (value != nullptr && *value != '\0')
            return isPosixDefault(value) ? PosixDefaultLocale : value;
    }
    return PosixDefaultLocale;
}

const char* realEnvironment(const char* variable) {
    return std::getenv(variable);
}

} // namespace

NumberLocale numberLocaleFor(const std::string& name) {
    const icu::Locale locale = resolve(name);
    UErrorCode status = U_ZERO_ERROR;
    const icu::DecimalFormatSymbols symbols(locale, status);
    if (U_FAILURE(status))
        throw std::runtime_error("no number symbols for locale '" + name +
                                 "': " + u_errorName(status));
    return {symbolAsUtf8(symbols, icu::DecimalFormatSymbols::kDecimalSeparatorSymbol),
            symbolAsUtf8(symbols, icu::DecimalFormatSymbols::kGroupingSeparatorSymbol)};
}

std::int32_t lcidFor(const std::string& name) {
    const std::uint32_t lcid = uloc_getLCID(resolve(name).getName());
    if (lcid == 0 || lcid > std::uint32_t(std::numeric_limits<std::int32_t>::max()))
        throw std::runtime_error("no Windows locale id for locale '" + name + "'");
    return std::int32_t(lcid);
}

std::int32_t languageFromOption(const std::string& value) {
    const auto number = numberDigits(value);
    if (!number)
        return lcidFor(value);
    const auto [digits, base] = *number;
    std::int32_t lcid = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), lcid, base);
    if (error != std::errc() || end != digits.data() + digits.size())
        throw std::runtime_error("LCID out of range: '" + value + "'");
    // A number that names no locale is as wrong as a name that names none; a real locale the
    // caption table does not list still falls back to a language of the table.
    char name[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    const std::int32_t length =
        uloc_getLocaleForLCID(std::uint32_t(lcid), name, sizeof name, &status);
    if (lcid == 0 || U_FAILURE(status) || length <= 0)
        throw std::runtime_error("no locale has the LCID '" + value + "'");
    return lcid;
}

std::string defaultNumberLocaleName(const EnvironmentLookup& lookup) {
    return firstSetName(lookup, {"LC_ALL", "LC_NUMERIC", "LANG"});
}

std::string defaultNumberLocaleName() {
    return defaultNumberLocaleName(realEnvironment);
}

std::string defaultLanguageName(const EnvironmentLookup& lookup) {
    return firstSetName(lookup, {"LC_ALL", "LC_MESSAGES", "LANG"});
}

std::string defaultLanguageName() {
    return defaultLanguageName(realEnvironment);
}

} // namespace merv::locale
