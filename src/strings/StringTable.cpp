#include <mervgauge/strings/StringTable.h>

#include <mervgauge/platform/RuntimeError.h>
#include <mervgauge/strings/StringData.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace merv {
namespace {

using Language = StringTable::Language;

// The column codes of strings.tsv, indexed by Language.
constexpr std::array<std::string_view, StringTable::LanguageCount> LanguageCodes = {
    "en", "it", "de", "fr", "es"};

// Serves every locale whose primary language the table does not know.
constexpr Language FallbackLanguage = Language::English;

// The low ten bits of an LCID name the primary language; the bits above it the sublanguage.
constexpr std::int32_t PrimaryLanguageMask = 0x3FF;

// The built-in table holds exactly these many entries; a different count means the data file
// lost or gained rows.
constexpr std::size_t BuiltInIdCount = 12;
constexpr std::size_t BuiltInLocaleCount = 34;

[[noreturn]] void fail(std::string_view reason, std::string_view line) {
    std::fprintf(stderr, "string table is malformed: %.*s%s%.*s\n", int(reason.size()),
                 reason.data(), line.empty() ? "" : ": ", int(line.size()), line.data());
    std::abort();
}

void verify(bool condition, std::string_view reason, std::string_view line = {}) {
    if (!condition)
        fail(reason, line);
}

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return fields;
        line.remove_prefix(tab + 1);
    }
}

// Decimal, or hexadecimal with a 0x prefix; the whole field must be the number.
std::optional<std::int32_t> parseNumber(std::string_view field) {
    int base = 10;
    if (field.starts_with("0x") || field.starts_with("0X")) {
        field.remove_prefix(2);
        base = 16;
    }
    std::int32_t value = 0;
    const auto [end, error] =
        std::from_chars(field.data(), field.data() + field.size(), value, base);
    if (field.empty() || error != std::errc() || end != field.data() + field.size() || value < 0)
        return std::nullopt;
    return value;
}

std::optional<Language> languageForCode(std::string_view code) {
    const auto found = std::find(LanguageCodes.begin(), LanguageCodes.end(), code);
    if (found == LanguageCodes.end())
        return std::nullopt;
    return Language(found - LanguageCodes.begin());
}

// Texts are shown as they are, so anything a label cannot show (a stray carriage return from a
// converted file, say) is rejected rather than carried into a caption.
bool isShowableText(std::string_view text) {
    return !text.empty() && std::none_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
    });
}

} // namespace

StringTable::StringTable(std::string_view data) {
    enum class Section { None, Texts, Locales };
    Section section = Section::None;
    bool sawTexts = false;
    bool sawLocales = false;
    // Maps a text column (after the id) to its language.
    std::array<Language, LanguageCount> columnLanguages{};

    while (!data.empty()) {
        const std::size_t newline = data.find('\n');
        const std::string_view line = data.substr(0, newline);
        data.remove_prefix(newline == std::string_view::npos ? data.size() : newline + 1);
        if (line.empty() || line.front() == '#')
            continue;

        const std::vector<std::string_view> fields = splitFields(line);
        if (fields.front() == "id") {
            verify(!sawTexts, "second text header", line);
            columnLanguages = parseTextHeader(fields, line);
            section = Section::Texts;
            sawTexts = true;
        } else if (fields.front() == "lcid") {
            verify(!sawLocales, "second locale header", line);
            verify(fields.size() == 2 && fields[1] == "language",
                   "locale header must be lcid, language", line);
            section = Section::Locales;
            sawLocales = true;
        } else if (section == Section::Texts) {
            addTexts(fields, columnLanguages, line);
        } else if (section == Section::Locales) {
            addLocale(fields, line);
        } else {
            fail("row before any header", line);
        }
    }

    verify(sawTexts && !m_ids.empty(), "no texts");
    verify(sawLocales, "no locales");
    findPrimaryLanguages();
}

std::array<StringTable::Language, StringTable::LanguageCount>
StringTable::parseTextHeader(const std::vector<std::string_view>& fields, std::string_view line) {
    verify(fields.size() == LanguageCount + 1, "text header needs one column per language", line);
    std::array<Language, LanguageCount> columnLanguages{};
    std::array<bool, LanguageCount> seen{};
    for (std::size_t column = 0; column < LanguageCount; ++column) {
        const std::optional<Language> language = languageForCode(fields[column + 1]);
        verify(language.has_value(), "unknown language code in text header", line);
        verify(!seen[std::size_t(*language)], "language listed twice in text header", line);
        seen[std::size_t(*language)] = true;
        columnLanguages[column] = *language;
    }
    return columnLanguages;
}

void StringTable::addTexts(const std::vector<std::string_view>& fields,
                           const std::array<Language, LanguageCount>& columnLanguages,
                           std::string_view line) {
    verify(fields.size() == LanguageCount + 1, "text row needs one text per language", line);
    const std::optional<std::int32_t> id = parseNumber(fields[0]);
    verify(id.has_value(), "bad string id", line);
    verify(std::find(m_ids.begin(), m_ids.end(), *id) == m_ids.end(), "string id listed twice",
           line);
    std::array<std::string, LanguageCount> texts;
    for (std::size_t column = 0; column < LanguageCount; ++column) {
        verify(isShowableText(fields[column + 1]), "empty text or control character", line);
        texts[std::size_t(columnLanguages[column])] = std::string(fields[column + 1]);
    }
    m_ids.push_back(*id);
    m_texts.push_back(std::move(texts));
}

void StringTable::addLocale(const std::vector<std::string_view>& fields, std::string_view line) {
    verify(fields.size() == 2, "locale row must be lcid, language", line);
    const std::optional<std::int32_t> lcid = parseNumber(fields[0]);
    verify(lcid.has_value(), "bad LCID", line);
    verify(std::find(m_locales.begin(), m_locales.end(), *lcid) == m_locales.end(),
           "LCID listed twice", line);
    const std::optional<Language> language = languageForCode(fields[1]);
    verify(language.has_value(), "unknown language code", line);
    m_locales.push_back(*lcid);
    m_localeLanguages.push_back(*language);
}

void StringTable::findPrimaryLanguages() {
    // The primary language of each language comes from its locales, which must all agree on it
    // and differ from every other language's; otherwise the fallback lookup would be ambiguous.
    for (std::size_t language = 0; language < LanguageCount; ++language) {
        std::optional<std::int32_t> primary;
        for (std::size_t i = 0; i < m_locales.size(); ++i) {
            if (std::size_t(m_localeLanguages[i]) != language)
                continue;
            const std::int32_t own = m_locales[i] & PrimaryLanguageMask;
            verify(!primary || *primary == own, "locales of one language with different primaries",
                   LanguageCodes[language]);
            primary = own;
        }
        verify(primary.has_value(), "language without locales", LanguageCodes[language]);
        verify(std::find(m_primaryLanguages.begin(), m_primaryLanguages.begin() + language,
                         *primary) == m_primaryLanguages.begin() + language,
               "two languages share a primary language", LanguageCodes[language]);
        m_primaryLanguages[language] = *primary;
    }
}

const StringTable& StringTable::instance() {
    static const StringTable table = [] {
        StringTable parsed(StringTableData);
        verify(parsed.ids().size() == BuiltInIdCount, "built-in table must hold 12 string ids");
        verify(parsed.locales().size() == BuiltInLocaleCount,
               "built-in table must hold 34 locales");
        return parsed;
    }();
    return table;
}

StringTable::Language StringTable::languageFor(std::int32_t lcid) const {
    const auto exact = std::find(m_locales.begin(), m_locales.end(), lcid);
    if (exact != m_locales.end())
        return m_localeLanguages[std::size_t(exact - m_locales.begin())];
    const auto primary =
        std::find(m_primaryLanguages.begin(), m_primaryLanguages.end(), lcid & PrimaryLanguageMask);
    if (primary != m_primaryLanguages.end())
        return Language(primary - m_primaryLanguages.begin());
    return FallbackLanguage;
}

std::string_view StringTable::text(int id, Language language) const {
    const auto found = std::find(m_ids.begin(), m_ids.end(), id);
    if (found == m_ids.end())
        throw RuntimeError(ErrorNumber::ResourceNotFound,
                           "Resource with identifier '" + std::to_string(id) + "' not found");
    return m_texts[std::size_t(found - m_ids.begin())][std::size_t(language)];
}

std::string_view StringTable::text(int id, std::int32_t lcid) const {
    return text(id, languageFor(lcid));
}

std::string LoadResString(int id, std::int32_t lcid) {
    return std::string(StringTable::instance().text(id, lcid));
}

} // namespace merv
