#include "ErrorOf.h"
#include "TestSite.h"

#include <mervgauge/control/GaugeProperties.h>
#include <mervgauge/platform/RuntimeError.h>

#include <gtest/gtest.h>

namespace merv::test {
namespace {

TEST(PropertyModel, TableHasTheTwentyOnePropertiesInDispidOrder) {
    const std::vector<std::string_view> dispidOrder{
        "VariableName",   "EngUnit",           "Precision",        "AlarmHighStatus",
        "AlarmLowStatus", "WarningHighStatus", "WarningLowStatus", "AlarmHighVal",
        "AlarmLowVal",    "WarningHighVal",    "WarningLowVal",    "Value",
        "MinValue",       "MaxValue",          "BackColorText",    "BackColorGraphic",
        "TextColor",      "BordersColor",      "NormalColor",      "WarningColor",
        "AlarmColor"};
    const auto properties = gaugeProperties();
    ASSERT_EQ(properties.size(), dispidOrder.size());
    for (std::size_t i = 0; i < properties.size(); ++i) {
        EXPECT_EQ(properties[i].name, dispidOrder[i]);
        EXPECT_EQ(properties[i].dispid, 0x68030000 + std::int32_t(i)) << properties[i].name;
    }
    EXPECT_EQ(findProperty(0x6803000B)->name, "Value");
    EXPECT_EQ(findProperty("alarmcolor")->dispid, 0x68030014);
    EXPECT_EQ(findProperty("NoSuchProperty"), nullptr);
    const std::vector<std::string_view> storeOrder{
        "MaxValue",         "MinValue",      "Value",          "Precision",    "EngUnit",
        "VariableName",     "WarningLowVal", "WarningHighVal", "AlarmLowVal",  "AlarmHighVal",
        "AlarmColor",       "WarningColor",  "NormalColor",    "BordersColor", "TextColor",
        "BackColorGraphic", "BackColorText"};
    std::vector<std::string_view> actual;
    for (const PropertyInfo* p : persistedProperties())
        actual.push_back(p->name);
    EXPECT_EQ(actual, storeOrder);
}

TEST(PropertyModel, DescriptionsGiveHelpStringsAndHideTheStatusFlags) {
    EXPECT_EQ(describeProperty("Value")->helpString, "Value to be displayed");
    EXPECT_EQ(describeProperty("precision")->helpString, "Display precision (0-5)");
    EXPECT_EQ(describeProperty("AlarmColor")->helpString, "");
    EXPECT_FALSE(describeProperty("NoSuchProperty"));
    for (const PropertyInfo& p : gaugeProperties()) {
        const bool statusFlag = p.name.ends_with("Status");
        EXPECT_EQ(describeProperty(p.name)->browsable, !statusFlag) << p.name;
    }
}

TEST(PropertyModel, PrecisionAboveFiveBecomesZero) {
    auto h = Hosted::fresh();
    struct Row {
        std::int16_t put;
        const char* stored;
        std::int16_t read;
    };
    for (const Row& row : {Row{9, "0", 0}, Row{5, "5", 5}, Row{-2, "-2", -2}}) {
        h->gauge->setPrecision(row.put);
        EXPECT_EQ(h->ui().Prec.text(), row.stored);
        EXPECT_EQ(h->gauge->Precision(), row.read);
    }
}

TEST(PropertyModel, StatusPropertiesRefuseEveryWrite) {
    auto h = Hosted::restored();
    h->gauge->setValue(90);
    h->site.log.clear();
    for (const char* name :
         {"AlarmHighStatus", "AlarmLowStatus", "WarningHighStatus", "WarningLowStatus"}) {
        const PropertyInfo* p = findProperty(name);
        try {
            p->put(*h->gauge, Variant::boolean(false), h->site.locale);
            ADD_FAILURE() << name << " accepted a write";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), 383);
            EXPECT_EQ(e.description(), "Property is ReadOnly.");
        }
    }
    EXPECT_TRUE(h->gauge->AlarmHighStatus());
    EXPECT_TRUE(h->site.log.empty());
}

TEST(PropertyModel, ColorWritesOutsideDesignModeFailAndChangeNothing) {
    auto h = Hosted::fresh(/*userMode=*/true);
    ASSERT_FALSE(h->gauge->designMode());
    EXPECT_EQ(errorOf([&] { h->gauge->setAlarmColor(0x123456); }), 382);
    EXPECT_TRUE(h->site.log.empty());
    EXPECT_EQ(h->gauge->AlarmColor(), 255u);
    EXPECT_EQ(h->ui().AH.foreColor(), 255u);
}

TEST(PropertyModel, ARestoredControlStaysInDesignModeForColors) {
    auto h = Hosted::restored();
    h->site.userMode = true;
    h->gauge->setTextColor(0x00AABBCC);
    EXPECT_EQ(h->ui().Val.foreColor(), 0x00AABBCCu);
    EXPECT_EQ(h->site.log, std::vector<std::string>{"changed:TextColor"});
}

TEST(PropertyModel, ColorsAreAppliedToTheirElements) {
    auto h = Hosted::restored();
    const auto& ui = h->ui();
    h->gauge->setAlarmColor(1);
    h->gauge->setWarningColor(2);
    h->gauge->setBordersColor(3);
    h->gauge->setTextColor(4);
    h->gauge->setBackColorGraphic(5);
    h->gauge->setBackColorText(6);
    EXPECT_EQ(ui.AlarmL.foreColor(), 1u);
    EXPECT_EQ(ui.AL.foreColor(), 1u);
    EXPECT_EQ(ui.WarningH.foreColor(), 2u);
    EXPECT_EQ(ui.Shape1.borderColor(), 3u);
    EXPECT_EQ(ui.Shape2.borderColor(), 3u);
    EXPECT_EQ(ui.Minimo.foreColor(), 4u);
    EXPECT_EQ(ui.Variabile.foreColor(), 4u);
    EXPECT_EQ(ui.Sfondo.backColor(), 5u);
    EXPECT_EQ(ui.SfondoAl.backColor(), 5u);
    EXPECT_EQ(ui.Shape2.fillColor(), 5u);
    EXPECT_EQ(ui.AlarmH.backColor(), 5u);
    EXPECT_EQ(ui.Shape1.fillColor(), 6u);
    // The face was redrawn with the new background.
    EXPECT_EQ(ui.Sfondo.surface().pixel(83, 78), 5u);
}

TEST(PropertyModel, ReadingAColorRedrawsTheFaceAndStopsThePendingRedraw) {
    auto h = Hosted::restored();
    h->gauge->setAlarmHighVal(90);
    ASSERT_TRUE(h->ui().InitTimer.enabled());
    h->gauge->AlarmColor();
    EXPECT_FALSE(h->ui().InitTimer.enabled());
    EXPECT_EQ(h->gauge->alarmHighSnapshot(), "90");
}

TEST(PropertyModel, ScaleEndsAreStoredWithoutRedraw) {
    auto h = Hosted::restored();
    h->gauge->setMaxValue(200);
    EXPECT_EQ(h->gauge->MaxValue(), 200.0f);
    EXPECT_EQ(h->ui().Ottanta.caption(), "80");
    EXPECT_FALSE(h->ui().InitTimer.enabled());
}

TEST(PropertyModel, NumbersAreStoredAsTextInTheUsersLocale) {
    auto h = Hosted::restored();
    h->site.locale = {",", "."};
    h->gauge->setValue(12.5f);
    EXPECT_EQ(h->ui().Valore.text(), "12,5");
    EXPECT_EQ(h->gauge->Value(), 12.5f);
    // A text handed to a numeric property converts in the same locale.
    findProperty("Value")->put(*h->gauge, Variant::text("7,25"), h->site.locale);
    EXPECT_EQ(h->gauge->Value(), 7.25f);
}

TEST(PropertyModel, ACorruptStorageTextFailsItsGetterAndChangesNothing) {
    auto h = Hosted::restored();
    // Write the texts as a corrupt host would, without the update behind them.
    h->ui().Valore.onChange = nullptr;
    h->ui().Prec.onChange = nullptr;
    h->ui().Valore.setText("abc");
    EXPECT_EQ(errorOf([&] { h->gauge->Value(); }), ErrorNumber::TypeMismatch);
    h->ui().Prec.setText("40000");
    EXPECT_EQ(errorOf([&] { h->gauge->Precision(); }), ErrorNumber::Overflow);
    EXPECT_EQ(h->ui().Prec.text(), "40000");
}

TEST(PropertyModel, PutsConvertValuesAsAHostDoes) {
    auto h = Hosted::restored();
    const NumberLocale& l = h->site.locale;
    struct Row {
        const char* property;
        Variant value;
        int error;
    };
    const Row rows[] = {
        {"Value", Variant::text("abc"), ErrorNumber::TypeMismatch},
        {"Value", Variant::doubleValue(1e39), ErrorNumber::Overflow},
        {"Precision", Variant::doubleValue(32767.5), ErrorNumber::Overflow},
        {"AlarmColor", Variant::doubleValue(4294967296.0), ErrorNumber::Overflow},
        {"AlarmColor", Variant::doubleValue(4294967295.0), 0},
        {"Precision", Variant::doubleValue(2.5), 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(errorOf([&] { findProperty(row.property)->put(*h->gauge, row.value, l); }),
                  row.error)
            << row.property;
    EXPECT_EQ(h->gauge->Precision(), 2); // halves to even
    EXPECT_EQ(h->gauge->AlarmColor(), 0xFFFFFFFFu);
}

} // namespace
} // namespace merv::test
