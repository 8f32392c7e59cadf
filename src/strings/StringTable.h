#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace merv {

// The localised captions: one text per string id and language, and the Windows locale ids
// (LCIDs) that select each language. The table is constant data built into the library.
class StringTable {
public:
    enum class Language { English, Italian, German, French, Spanish };
    static constexpr std::size_t LanguageCount = 5;

    // The built-in table, parsed and checked on first use.
    static const StringTable& instance();

    // Parses a table in the strings.tsv format. The data is built in, so a malformed table is
    // a programmer error: the process stops with the reason.
    explicit StringTable(std::string_view data);

    // The language for a locale: its own if the table lists the LCID, else the language with
    // the same primary language id, else English.
    Language languageFor(std::int32_t lcid) const;

    // Throws RuntimeError ResourceNotFound for an id not in the table.
    std::string_view text(int id, Language language) const;
    std::string_view text(int id, std::int32_t lcid) const;

    // In table order.
    const std::vector<std::int32_t>& locales() const { return m_locales; }
    const std::vector<int>& ids() const { return m_ids; }

private:
    // The steps of the parse; each stops the process with the reason on a malformed line.
    static std::array<Language, LanguageCount>
    parseTextHeader(const std::vector<std::string_view>& fields, std::string_view line);
    void addTexts(const std::vector<std::string_view>& fields,
                  const std::array<Language, LanguageCount>& columnLanguages,
                  std::string_view line);
    void addLocale(const std::vector<std::string_view>& fields, std::string_view line);
    void findPrimaryLanguages();

    std::vector<int> m_ids;
    // Parallel to m_ids: the texts of one id, indexed by Language.
    std::vector<std::array<std::string, LanguageCount>> m_texts;
    std::vector<std::int32_t> m_locales;
    // Parallel to m_locales.
    std::vector<Language> m_localeLanguages;
    // The primary language id (low ten bits of an LCID) of each language, indexed by Language.
    std::array<std::int32_t, LanguageCount> m_primaryLanguages{};
};

// The resource-string lookup of the control and the property page: the caption of an id in the
// language the LCID selects, from the built-in table. Throws RuntimeError ResourceNotFound for an
// id not in the table.
std::string LoadResString(int id, std::int32_t lcid);

} // namespace merv
