#include <mervgauge/locale/SystemLocale.h>

#include <mervgauge/strings/StringTable.h>

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

namespace merv::locale {
namespace {

// Separators as ICU 72 reports them; the Swiss group separator is U+2019 and the French one
// U+202F (narrow no-break space).
TEST(HostLocale, ReadsSeparatorsFromIcuForPosixAndBcp47Names) {
    struct Row {
        const char* name;
        const char* decimal;
        const char* group;
    };
    const Row rows[] = {
        {"en_US", ".", ","},
        {"it_IT", ",", "."},
        {"de_DE", ",", "."},
        {"de_CH", ".", "\xE2\x80\x99"},
        {"fr_FR", ",", "\xE2\x80\xAF"},
        {"es_MX", ".", ","},
        {"en_US.UTF-8", ".", ","},
        {"it_IT.utf8", ",", "."},
        {"fr_FR@euro", ",", "\xE2\x80\xAF"},
        {"de_DE.ISO-8859-15@euro", ",", "."},
        {"de-CH", ".", "\xE2\x80\x99"},
        {"es-MX", ".", ","},
        {"it", ",", "."},
        {"C", ".", ","},
        {"POSIX", ".", ","},
        {"C.UTF-8", ".", ","},
    };
    for (const Row& row : rows) {
        const NumberLocale locale = numberLocaleFor(row.name);
        EXPECT_EQ(locale.decimalSeparator, row.decimal) << row.name;
        EXPECT_EQ(locale.groupSeparator, row.group) << row.name;
    }
}

TEST(HostLocale, MapsNamesToWindowsLcids) {
    struct Row {
        const char* name;
        std::int32_t lcid;
    };
    const Row rows[] = {
        {"en_US", 1033}, {"it_IT", 1040},       {"de_CH", 2055}, {"es_MX", 2058},
        {"fr_FR", 1036}, {"en_GB.UTF-8", 2057}, {"de-AT", 3079}, {"it_CH", 2064},
        {"C", 1033},     {"it", 0x10},          {"es", 0x0A},    {"it_it", 1040},
    };
    for (const Row& row : rows)
        EXPECT_EQ(lcidFor(row.name), row.lcid) << row.name;
}

TEST(HostLocale, RejectsNamesIcuHasNoDataFor) {
    const char* const names[] = {
        "",        // nothing
        "xx_YY",   // well-formed, but no such language
        "tlh",     // an ISO language without ICU locale data
        "it_XX",   // a known language in an unknown region
        "it_IT ",  // trailing blank makes the region unknown
        "de-CH!!", // a tag ICU reads only in part
        "en-",     // an empty subtag
        ".UTF-8",  // a codeset alone
    };
    for (const char* name : names) {
        EXPECT_THROW(numberLocaleFor(name), std::runtime_error) << '"' << name << '"';
        EXPECT_THROW(lcidFor(name), std::runtime_error) << '"' << name << '"';
    }
}

TEST(HostLocale, LanguageOptionTakesAnLcidNumberOrALocaleName) {
    struct Row {
        const char* value;
        std::int32_t lcid;
    };
    const Row rows[] = {
        {"1040", 1040}, {"0x0C0A", 3082}, {"0X40c", 1036},
        {"1044", 1044}, {"de_CH", 2055},  {"es-MX", 2058},
    };
    for (const Row& row : rows)
        EXPECT_EQ(languageFromOption(row.value), row.lcid) << row.value;

    for (const char* bad :
         {"99999999999", "0x80000000", "0x", "-1", "12ab", "klingon", "0", "99999", "0x7FFFFFFF"})
        EXPECT_THROW(languageFromOption(bad), std::runtime_error) << bad;
    // Every locale of the caption table is one.
    for (const std::int32_t lcid : StringTable::instance().locales())
        EXPECT_EQ(languageFromOption(std::to_string(lcid)), lcid) << lcid;
}

TEST(HostLocale, EnvironmentPrecedenceAndPosixDefault) {
    using Environment = std::map<std::string, std::string>;
    struct Row {
        const char* shows;
        Environment environment;
        const char* numberName;
        const char* languageName;
    };
    const Row rows[] = {
        {"nothing set", {}, "en_US", "en_US"},
        {"LANG alone", {{"LANG", "it_IT.UTF-8"}}, "it_IT.UTF-8", "it_IT.UTF-8"},
        {"category beats LANG",
         {{"LANG", "it_IT"}, {"LC_NUMERIC", "de_CH"}, {"LC_MESSAGES", "fr_FR"}},
         "de_CH",
         "fr_FR"},
        {"LC_ALL beats all",
         {{"LC_ALL", "es_MX"}, {"LC_NUMERIC", "de_CH"}, {"LC_MESSAGES", "fr_FR"}, {"LANG", "it"}},
         "es_MX",
         "es_MX"},
        {"empty values are skipped",
         {{"LC_ALL", ""}, {"LC_NUMERIC", ""}, {"LANG", "de_DE"}},
         "de_DE",
         "de_DE"},
        {"C wins and means en_US", {{"LC_ALL", "C"}, {"LANG", "it_IT"}}, "en_US", "en_US"},
        {"C.UTF-8 and POSIX mean en_US",
         {{"LC_NUMERIC", "C.UTF-8"}, {"LC_MESSAGES", "POSIX"}},
         "en_US",
         "en_US"},
    };
    for (const Row& row : rows) {
        const auto lookup = [&](const char* name) -> const char* {
            const auto found = row.environment.find(name);
            return found == row.environment.end() ? nullptr : found->second.c_str();
        };
        EXPECT_EQ(defaultNumberLocaleName(lookup), row.numberName) << row.shows;
        EXPECT_EQ(defaultLanguageName(lookup), row.languageName) << row.shows;
    }
}

} // namespace
} // namespace merv::locale
