#include <mervgauge/strings/StringTable.h>

#include <mervgauge/platform/RuntimeError.h>
#include <mervgauge/strings/StringIds.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace merv {
namespace {

using Language = StringTable::Language;

struct Captions {
    int id;
    // Indexed by Language.
    std::array<const char*, StringTable::LanguageCount> texts;
};

// Written out here, not read from the data file, so a damaged file cannot agree with itself.
const Captions ExpectedCaptions[] = {
    {StringId::AlarmHigh,
     {"High alarm", "Allarme alto", "Hoher Alarm", "Alarme haute", "Alarma alta"}},
    {StringId::WarningHigh,
     {"High warning", "Preallarme alto", "Hohe Warnung", "Pré-alarme haut", "Prealarma alta "}},
    {StringId::WarningLow,
     {"Low warning", "Preallarme basso", "Niedrige Warnung", "Bas pré-alarme", "Prealarma baja"}},
    {StringId::AlarmLow,
     {"Low alarm", "Allarme basso", "Niedriger Alarm", "Basse alarme", "Alarma baja"}},
    {StringId::VariableDefinitionTab,
     {"Variable definition", "Definizione variabile", "Veränderliche Definition",
      "Définition variable", "Definición variable"}},
    {StringId::AlarmSettingsTab,
     {"Alarm settings", "Soglie allarme", "Schwellen Alarm", "Seuils alarme", "Alarmas"}},
    {StringId::VariableName,
     {"Variable name:", "Nome variabile:", "Veränderlicher Name:", "Nom:", "Nombre:"}},
    {StringId::EngineeringUnit,
     {"Engineering unit:", "Unità ingegneristica:", "EI:", "UI:", "Unidad ingegneristica:"}},
    {StringId::MaxValue, {"Max value:", "Massimo:", "Größte:", "Maximum:", "Valor máximo:"}},
    {StringId::MinValue, {"Min value:", "Minimo:", "Geringst:", "Moindre:", "Valor mínimo:"}},
    {StringId::DecimalDigits,
     {"Decimal digits (0-5):", "Decimali (0-5):", "Dezimal (0-5):", "Chiffres décimaux (0-5):",
      "Decimales (0-5):"}},
    {StringId::ColorsTab,
     {"Colours setting", "Impostazione colori", "Farben", " Position des couleurs ",
      "Impostación colores"}},
};

std::map<std::int32_t, Language> expectedLocales() {
    std::map<std::int32_t, Language> locales = {
        {1033, Language::English}, {1040, Language::Italian}, {2064, Language::Italian},
        {1031, Language::German},  {2055, Language::German},  {3079, Language::German},
        {4103, Language::German},  {5127, Language::German},  {1036, Language::French},
        {2060, Language::French},  {3084, Language::French},  {4108, Language::French},
        {5132, Language::French},  {6156, Language::French},
    };
    for (std::int32_t sub = 1; sub <= 20; ++sub)
        locales[(sub << 10) | 0x0A] = Language::Spanish;
    return locales;
}

TEST(StringTable, ListsTheTwelveIdsInOrderAndExactlyTheThirtyFourLocales) {
    const StringTable& table = StringTable::instance();
    std::vector<int> ids;
    for (const Captions& row : ExpectedCaptions)
        ids.push_back(row.id);
    EXPECT_EQ(table.ids(), ids);

    std::vector<std::int32_t> locales = table.locales();
    std::sort(locales.begin(), locales.end());
    std::vector<std::int32_t> expected;
    for (const auto& [lcid, language] : expectedLocales())
        expected.push_back(lcid);
    EXPECT_EQ(locales, expected);
}

TEST(StringTable, EveryListedLocaleGetsItsLanguagesTextForEveryId) {
    const StringTable& table = StringTable::instance();
    for (const auto& [lcid, language] : expectedLocales()) {
        EXPECT_EQ(table.languageFor(lcid), language) << "LCID " << lcid;
        for (const Captions& row : ExpectedCaptions)
            EXPECT_EQ(table.text(row.id, lcid), row.texts[std::size_t(language)])
                << "LCID " << lcid << ", id " << row.id;
    }
}

TEST(StringTable, UnlistedLocalesFallBackToPrimaryLanguageThenEnglish) {
    struct Row {
        const char* shows;
        std::int32_t lcid;
        Language language;
    };
    const Row rows[] = {
        {"English (UK) by primary language", 2057, Language::English},
        {"Italian sublanguage 3 by primary language", 0x0C10, Language::Italian},
        {"Spanish sublanguage 11 listed exactly", 0x2C0A, Language::Spanish},
        {"Spanish sublanguage 21 by primary language", 0x540A, Language::Spanish},
        {"German sublanguage 6 by primary language", 0x1807, Language::German},
        {"French sublanguage 7 by primary language", 0x1C0C, Language::French},
        {"sort id bits ignored for the primary", 0x10407, Language::German},
        {"Russian to English", 1049, Language::English},
        {"zero to English", 0, Language::English},
        {"invariant locale to English", 0x7F, Language::English},
    };
    for (const Row& row : rows)
        EXPECT_EQ(StringTable::instance().languageFor(row.lcid), row.language) << row.shows;
}

TEST(StringTable, KeepsBlanksAndUtf8BytesExactly) {
    struct Row {
        const char* shows;
        int id;
        std::int32_t lcid;
        std::string_view text;
    };
    const Row rows[] = {
        {"Spanish trailing blank", StringId::WarningHigh, 3082, "Prealarma alta "},
        {"French blank at each end", StringId::ColorsTab, 1036, " Position des couleurs "},
        {"German a umlaut", StringId::VariableDefinitionTab, 1031,
         "Ver\xC3\xA4nderliche Definition"},
        {"French e acute", StringId::WarningHigh, 3084, "Pr\xC3\xA9-alarme haut"},
        {"Italian a grave", StringId::EngineeringUnit, 1040, "Unit\xC3\xA0 ingegneristica:"},
        {"Spanish o acute", StringId::VariableDefinitionTab, 2058, "Definici\xC3\xB3n variable"},
        {"German o umlaut and sharp s", StringId::MaxValue, 2055, "Gr\xC3\xB6\xC3\x9Fte:"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(StringTable::instance().text(row.id, row.lcid), row.text) << row.shows;
}

TEST(StringTable, UnknownIdRaisesResourceNotFound) {
    for (int id : {0, 200, 205, 500, 509, -201}) {
        try {
            StringTable::instance().text(id, 1033);
            ADD_FAILURE() << "no error for id " << id;
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.number(), ErrorNumber::ResourceNotFound);
            EXPECT_EQ(error.description(),
                      "Resource with identifier '" + std::to_string(id) + "' not found");
        }
    }
}

// A minimal well-formed table; the malformed cases below each break one thing in it.
constexpr const char* SmallTable = "id\ten\tit\tde\tfr\tes\n"
                                   "1\tE\tI\tD\tF\tS\n"
                                   "lcid\tlanguage\n"
                                   "0x0409\ten\n0x0410\tit\n0x0407\tde\n0x040C\tfr\n0x040A\tes\n";

TEST(StringTable, ColumnOrderComesFromTheHeader) {
    const StringTable table("# any order will do\n"
                            "id\tes\tfr\tde\tit\ten\n"
                            "7\tS\tF\tD\tI\tE\n"
                            "lcid\tlanguage\n"
                            "1033\ten\n1040\tit\n1031\tde\n1036\tfr\n1034\tes\n");
    EXPECT_EQ(table.text(7, Language::English), "E");
    EXPECT_EQ(table.text(7, Language::Spanish), "S");
    EXPECT_EQ(table.text(7, 0x0C0C), "F");
}

TEST(StringTableDeathTest, MalformedTableStopsWithTheReason) {
    const std::string small = SmallTable;
    auto replaced = [&](std::string_view from, std::string_view to) {
        std::string text = small;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    struct Row {
        const char* shows;
        std::string data;
        const char* reason;
    };
    const Row rows[] = {
        {"missing text", replaced("\tS\n", "\n"), "one text per language"},
        {"empty text", replaced("\tS\n", "\t\n"), "empty text"},
        {"carriage return from a converted file", replaced("\tS\n", "\tS\r\n"),
         "control character"},
        {"duplicate id", replaced("1\tE", "1\tE\tI\tD\tF\tS\n1\tE"), "id listed twice"},
        {"unknown language column", replaced("\tes\n", "\tpt\n"), "unknown language code"},
        {"language column twice", replaced("\tes\n", "\ten\n"), "listed twice"},
        {"language without locales", replaced("0x040A\tes\n", ""), "language without locales"},
        {"locale with a foreign primary", replaced("0x040A\tes", "0x080A\tes\n0x0810\tes"),
         "different primaries"},
        {"two languages on one primary", replaced("0x040A\tes", "0x0809\tes"), "share a primary"},
        {"duplicate LCID", replaced("0x040A\tes", "0x040A\tes\n0x040A\tes"), "LCID listed twice"},
        {"bad LCID", replaced("0x040A", "0x40AZ"), "bad LCID"},
        {"row before a header", "1\tE\tI\tD\tF\tS\n" + small, "row before any header"},
    };
    for (const Row& row : rows)
        EXPECT_DEATH(StringTable{row.data}, row.reason) << row.shows;
}

} // namespace
} // namespace merv
