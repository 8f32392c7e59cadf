#include "ErrorOf.h"
#include "PageTestSite.h"
#include "TestSite.h"

#include <mervgauge/control/GaugeSelection.h>
#include <mervgauge/platform/HitTest.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace merv::test {
namespace {

const std::vector<std::string> FieldOrder = {"VariableName",  "EngUnit",     "Precision",
                                             "AlarmHighVal",  "AlarmLowVal", "WarningHighVal",
                                             "WarningLowVal", "MinValue",    "MaxValue"};
const std::vector<std::string> ColorOrder = {"TextColor",     "BordersColor", "BackColorGraphic",
                                             "BackColorText", "AlarmColor",   "WarningColor",
                                             "NormalColor"};

class PropertyPage : public ::testing::Test {
protected:
    PageSite site;
    RecordingObject object{site.log};
    std::unique_ptr<PropertyPage1> page;

    void SetUp() override {
        object.values = {
            {"VariableName", Variant::text("Tank level")},
            {"EngUnit", Variant::text("m")},
            {"Precision", Variant::integer(2)},
            {"AlarmHighVal", Variant::single(1.5f)},
            {"AlarmLowVal", Variant::single(-0.25f)},
            {"WarningHighVal", Variant::single(12345678.0f)},
            {"WarningLowVal", Variant::single(35)},
            {"MinValue", Variant::single(0)},
            {"MaxValue", Variant::single(100)},
        };
        for (std::size_t i = 0; i < ColorOrder.size(); ++i)
            object.values[ColorOrder[i]] = Variant::color(0x10u + std::uint32_t(i));
        site.selection = {&object};
        page = std::make_unique<PropertyPage1>(site);
    }
    const PageElements& ui() const { return page->ui(); }
    TextField& field(const char* name) { return static_cast<TextField&>(*find(name)); }
    Element* find(const char* name) { return page->elements().find(name); }
    void load() {
        page->SelectionChanged();
        site.log.clear();
    }
};

TEST_F(PropertyPage, EachTabShowsOnlyItsOwnElementsAndFocusOrder) {
    const std::vector<std::vector<std::string>> orders = {
        {"txtVariableName", "txtEngUnit", "txtMaxValue", "txtMinValue", "txtPrecision"},
        {"txtAlarmHigh", "txtWarningHigh", "txtWarningLow", "txtAlarmLow"},
        {"TC", "BC", "BCG", "BCT", "AC", "WC", "NC"}};
    // A click on TC's place reaches what its tab shows there.
    const char* clicked[] = {"lblVariableName", "lblAlarmHigh", "TC"};
    for (int tab = 0; tab < 3; ++tab) {
        ui().SSTab1.setTab(tab);
        EXPECT_EQ(focusOrder(page->elements()), orders[std::size_t(tab)]) << "tab " << tab;
        EXPECT_EQ(elementAt(ui().page, 2100, 750)->name(), clicked[tab]);
        EXPECT_EQ(ui().lblMaxValue.shown(), tab == 0);
        EXPECT_EQ(ui().lblAlarmLow.shown(), tab == 1);
        EXPECT_EQ(ui().Label6.shown(), tab == 2);
        EXPECT_FALSE(ui().SceltaFontColor.shown());
    }
    EXPECT_EQ(PropertyPage1::Caption, "PropertyPage");
}

TEST_F(PropertyPage, ShowingAnotherTabTakesTheFocusFromTheFieldItHides) {
    ui().txtMaxValue.setFocus();
    ui().SSTab1.setTab(1);
    EXPECT_FALSE(ui().txtMaxValue.hasFocus());
    EXPECT_EQ(page->elements().focus().focused(), nullptr);
    ui().txtAlarmHigh.setFocus();
    ui().SSTab1.setTab(1);
    EXPECT_TRUE(ui().txtAlarmHigh.hasFocus());
}

TEST_F(PropertyPage, TabsOutsideTheThreeAreRefused) {
    EXPECT_EQ(errorOf([&] { ui().SSTab1.setTab(3); }), ErrorNumber::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { ui().SSTab1.setTabCaption(-1, "x"); }),
              ErrorNumber::InvalidPropertyArrayIndex);
    EXPECT_EQ(ui().SSTab1.tab(), 0);
}

TEST_F(PropertyPage, LoadReadsEachPropertyAfterThePreviousFieldsChangeHandling) {
    page->SelectionChanged();
    std::vector<std::string> expected;
    for (const std::string& name : FieldOrder) {
        expected.push_back("get " + name);
        expected.push_back("changed true");
    }
    for (const std::string& name : ColorOrder)
        expected.push_back("get " + name);
    EXPECT_EQ(site.log, expected);
    EXPECT_EQ(ui().NC.backColor(), 0x16u);
}

TEST_F(PropertyPage, LoadShowsNumbersInTheUsersLocale) {
    struct Row {
        NumberLocale locale;
        std::vector<std::string> texts; // in load order
    };
    const Row rows[] = {
        {NumberLocale::english(),
         {"Tank level", "m", "2", "1.5", "-0.25", "1.234568E+07", "35", "0", "100"}},
        {NumberLocale{",", "."},
         {"Tank level", "m", "2", "1,5", "-0,25", "1,234568E+07", "35", "0", "100"}},
    };
    const char* fields[] = {"txtVariableName", "txtEngUnit",  "txtPrecision",
                            "txtAlarmHigh",    "txtAlarmLow", "txtWarningHigh",
                            "txtWarningLow",   "txtMinValue", "txtMaxValue"};
    for (const Row& row : rows) {
        site.locale = row.locale;
        page->SelectionChanged();
        for (std::size_t i = 0; i < row.texts.size(); ++i)
            EXPECT_EQ(field(fields[i]).text(), row.texts[i]) << fields[i];
    }
}

TEST_F(PropertyPage, AFailingGetEndsTheLoadAndReachesTheHost) {
    object.values.erase("WarningHighVal");
    EXPECT_EQ(errorOf([&] { page->SelectionChanged(); }), ErrorNumber::PropertyNotSupported);
    EXPECT_EQ(ui().txtAlarmLow.text(), "-0.25");
    EXPECT_EQ(ui().txtWarningLow.text(), "");
    EXPECT_EQ(ui().SSTab1.tabCaption(2), "Colours settings");
}

TEST_F(PropertyPage, LoadCaptionsFollowTheLanguageAndShowTabZero) {
    EXPECT_EQ(ui().SSTab1.tabCaption(2), "Colours settings");
    struct Row {
        std::int32_t language;
        const char* tabs[3];
        const char* precisionLabel;
        const char* alarmLowLabel;
    };
    const Row rows[] = {
        {1033,
         {"Variable definition", "Alarm settings", "Colours setting"},
         "Decimal digits (0-5):",
         "Low alarm"},
        {1036,
         {"Définition variable", "Seuils alarme", " Position des couleurs "},
         "Chiffres décimaux (0-5):",
         "Basse alarme"},
    };
    for (const Row& row : rows) {
        site.language = row.language;
        ui().SSTab1.setTab(2);
        page->SelectionChanged();
        for (int tab = 0; tab < 3; ++tab)
            EXPECT_EQ(ui().SSTab1.tabCaption(tab), row.tabs[tab]);
        EXPECT_EQ(ui().lblPrecision.caption(), row.precisionLabel);
        EXPECT_EQ(ui().lblAlarmLow.caption(), row.alarmLowLabel);
        EXPECT_EQ(ui().Text.caption(), "TextColor");
        EXPECT_EQ(ui().Label4.caption(), "AlarmColor");
        EXPECT_EQ(ui().SSTab1.tab(), 0);
    }
}

TEST_F(PropertyPage, EnteredTextsAreKeptOrReplacedWholeByZero) {
    enum How { Typed, Whole }; // key by key, or the whole text at once
    struct Row {
        const char* field;
        How how;
        const char* input; // typed over the selected text, '\b' being Backspace
        const char* text;
    };
    const Row rows[] = {
        {"txtPrecision", Typed, "-", "0"},
        {"txtPrecision", Whole, "-5", "-5"},
        // Key by key, the lone sign goes before the digit comes.
        {"txtPrecision", Typed, "-5", "05"},
        {"txtPrecision", Whole, "2.5", "2.5"},
        {"txtPrecision", Whole, "", "0"},
        {"txtMaxValue", Typed, "12a", "0"},
        {"txtMaxValue", Typed, "\b", "0"},
        {"txtMinValue", Typed, "-", "-"},
        {"txtAlarmHigh", Typed, "-", "-"},
        {"txtWarningLow", Typed, "-5", "-5"},
        {"txtWarningHigh", Whole, "1e3", "1e3"},
        {"txtAlarmLow", Typed, "- ", "0"},
        {"txtVariableName", Typed, "12a", "12a"},
        {"txtEngUnit", Typed, "\b", ""},
    };
    for (const Row& row : rows) {
        load();
        site.changed = false;
        TextField& f = field(row.field);
        if (row.how == Typed) {
            f.setFocus();
            type(f, row.input);
            page->elements().focus().forget(&f);
        } else {
            f.setText(row.input);
        }
        EXPECT_EQ(f.text(), row.text) << row.field << " after '" << row.input << "'";
        EXPECT_EQ(site.changed, true) << row.field;
    }
}

TEST_F(PropertyPage, ARejectedTextRunsTheCheckAgainOnItsZeroAndLeavesThePageChanged) {
    load();
    ui().txtPrecision.setText("x");
    EXPECT_EQ(ui().txtPrecision.text(), "0");
    // The inner run on "0", then the outer run on "x".
    EXPECT_EQ(site.log, (std::vector<std::string>{"changed true", "changed true"}));
}

TEST_F(PropertyPage, AValidEditSurvivesARejectedEditElsewhere) {
    auto gauge = Hosted::fresh(/*userMode=*/false);
    GaugeSelection selected(**gauge, gauge->site);
    site.selection = {&selected};
    page->SelectionChanged();
    site.changed = false; // the host clears the flag once the page is shown

    ui().txtMaxValue.setFocus();
    type(ui().txtMaxValue, "250");
    ui().txtPrecision.setFocus();
    type(ui().txtPrecision, "x");

    EXPECT_EQ(ui().txtPrecision.text(), "0");
    ASSERT_EQ(site.changed, true);
    // A host applies only a changed page.
    page->ApplyChanges();
    EXPECT_EQ((*gauge)->MaxValue(), 250.0f);
}

TEST_F(PropertyPage, FocusSelectsTheWholeTextOfEveryField) {
    load();
    ui().txtVariableName.setText("Température");
    for (const char* name :
         {"txtVariableName", "txtEngUnit", "txtMaxValue", "txtMinValue", "txtPrecision",
          "txtAlarmHigh", "txtWarningHigh", "txtWarningLow", "txtAlarmLow"}) {
        TextField& f = field(name);
        f.setFocus();
        EXPECT_EQ(f.selStart(), 0) << name;
        EXPECT_EQ(f.selLength(), f.length()) << name;
        type(f, "7");
        EXPECT_EQ(f.text(), "7") << name;
    }
}

TEST_F(PropertyPage, ApplyWritesAllSixteenPropertiesInOrder) {
    load();
    ui().txtMinValue.setText("-");
    site.log.clear();
    page->ApplyChanges();
    const std::vector<std::string> expected = {"put VariableName=text:Tank level",
                                               "put EngUnit=text:m",
                                               "put Precision=text:2",
                                               "put AlarmHighVal=text:1.5",
                                               "put AlarmLowVal=text:-0.25",
                                               "put WarningHighVal=text:1.234568E+07",
                                               "put WarningLowVal=text:35",
                                               "put MinValue=text:-",
                                               "put MaxValue=text:100",
                                               "put TextColor=long:16",
                                               "put BordersColor=long:17",
                                               "put BackColorGraphic=long:18",
                                               "put BackColorText=long:19",
                                               "put AlarmColor=long:20",
                                               "put WarningColor=long:21",
                                               "put NormalColor=long:22"};
    EXPECT_EQ(site.log, expected);
}

TEST_F(PropertyPage, ApplyStopsAtTheFirstFailingPutAndKeepsWhatWasWritten) {
    struct Row {
        const char* field;
        const char* text;
        int error;
        const char* lastPut;
    };
    const Row rows[] = {
        {"txtMinValue", "-", ErrorNumber::TypeMismatch, "MinValue"},
        {"txtPrecision", "40000", ErrorNumber::Overflow, "Precision"},
    };
    for (const Row& row : rows) {
        auto gauge = Hosted::fresh(/*userMode=*/false);
        GaugeSelection selected(**gauge, gauge->site);
        RecordingObject recorded(site.log, &selected);
        site.selection = {&recorded};
        load();
        ui().txtVariableName.setText("Edited");
        field(row.field).setText(row.text);
        site.log.clear();

        EXPECT_EQ(errorOf([&] { page->ApplyChanges(); }), row.error) << row.field;
        ASSERT_FALSE(site.log.empty());
        const std::string& last = site.log.back();
        EXPECT_EQ(last.substr(0, last.find('=')), std::string("put ") + row.lastPut);
        const auto stop = std::find(FieldOrder.begin(), FieldOrder.end(), row.lastPut);
        EXPECT_EQ(site.log.size(), std::size_t(stop - FieldOrder.begin()) + 1);
        EXPECT_EQ((*gauge)->VariableName(), "Edited");
    }
}

TEST_F(PropertyPage, OnlyTheFirstSelectedObjectIsLoadedAndWritten) {
    auto first = Hosted::fresh(false);
    auto second = Hosted::fresh(false);
    (*first)->setVariableName("First");
    (*second)->setVariableName("Second");
    GaugeSelection a(**first, first->site), b(**second, second->site);
    site.selection = {&a, &b};
    page->SelectionChanged();
    EXPECT_EQ(ui().txtVariableName.text(), "First");
    ui().txtVariableName.setText("Renamed");
    page->ApplyChanges();
    EXPECT_EQ((*first)->VariableName(), "Renamed");
    EXPECT_EQ((*second)->VariableName(), "Second");
}

TEST_F(PropertyPage, AnEmptySelectionLeavesThePageAsItIs) {
    load();
    ui().txtMaxValue.setText("7");
    site.selection.clear();
    site.log.clear();
    page->SelectionChanged();
    page->ApplyChanges();
    EXPECT_TRUE(site.log.empty());
    EXPECT_EQ(ui().txtMaxValue.text(), "7");
}

} // namespace
} // namespace merv::test
