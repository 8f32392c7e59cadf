#include "TestSite.h"

#include <mervgauge/platform/RuntimeError.h>

#include <gtest/gtest.h>

namespace merv::test {
namespace {

std::vector<std::string> editorCaptions(const Hosted& h) {
    return {h.ui().AH.caption(), h.ui().WH.caption(), h.ui().WL.caption(), h.ui().AL.caption()};
}

TEST(Lifecycle, AnEmptyBagRestoresTheDefaultsAndLoads) {
    MemoryPropertyBag bag;
    auto h = Hosted::restored(bag);
    EXPECT_TRUE(h->gauge->loaded());
    EXPECT_TRUE(h->gauge->designMode());
    EXPECT_EQ(h->gauge->MaxValue(), 100.0f);
    EXPECT_EQ(h->gauge->AlarmLowVal(), 20.0f);
    EXPECT_EQ(h->gauge->EngUnit(), "EU");
    EXPECT_EQ(h->gauge->VariableName(), "Var");
    EXPECT_EQ(h->gauge->BackColorGraphic(), 12632256u);
    EXPECT_EQ(editorCaptions(*h),
              (std::vector<std::string>{"High alarm", "High warning", "Low warning", "Low alarm"}));
}

TEST(Lifecycle, RestoringNotifiesEveryKeyInStoreOrderAndMayRaiseAlarms) {
    MemoryPropertyBag bag;
    bag.set("Value", Variant::single(90));
    Hosted h;
    h.gauge = std::make_unique<MERV_Gauge>(h.site);
    h.gauge->Initialize();
    h.site.attached = true;
    h.gauge->ReadProperties(bag);
    const std::vector<std::string> expected{
        "changed:MaxValue",      "changed:MinValue",         "changed:Value",
        "changed:Precision",     "changed:EngUnit",          "changed:VariableName",
        "changed:WarningLowVal", "changed:WarningHighVal",   "changed:AlarmLowVal",
        "changed:AlarmHighVal",  "changed:AlarmColor",       "event:OnAlarmHigh",
        "changed:WarningColor",  "changed:NormalColor",      "changed:BordersColor",
        "changed:TextColor",     "changed:BackColorGraphic", "changed:BackColorText"};
    // The first colour write's redraw evaluates 90 against the restored high alarm.
    EXPECT_EQ(h.site.log, expected);
    EXPECT_TRUE(h.gauge->AlarmHighStatus());
}

TEST(Lifecycle, AStoredPrecisionAboveFiveRestoresAsZero) {
    MemoryPropertyBag bag;
    bag.set("Precision", Variant::integer(8));
    bag.set("Value", Variant::single(3.75f));
    auto h = Hosted::restored(bag);
    EXPECT_EQ(h->gauge->Precision(), 0);
    EXPECT_EQ(h->ui().Val.caption(), "4 EU");
}

TEST(Lifecycle, StoringDefaultsWritesNothingAndStoringChangesWritesThemInOrder) {
    auto h = Hosted::restored();
    MemoryPropertyBag empty;
    h->gauge->WriteProperties(empty);
    EXPECT_TRUE(empty.entries().empty());

    h->gauge->setAlarmColor(0x80000008u);
    h->gauge->setValue(42.5f);
    h->gauge->setVariableName("Pressure");
    MemoryPropertyBag bag;
    h->gauge->WriteProperties(bag);
    ASSERT_EQ(bag.entries().size(), 3u);
    EXPECT_EQ(bag.entries()[0].first, "Value");
    EXPECT_EQ(bag.entries()[1].first, "VariableName");
    EXPECT_EQ(bag.entries()[2].first, "AlarmColor");
    EXPECT_EQ(bag.entries()[2].second.toColor(NumberLocale::english()), 0x80000008u);

    auto again = Hosted::restored(bag);
    EXPECT_EQ(again->gauge->Value(), 42.5f);
    EXPECT_EQ(again->gauge->AlarmColor(), 0x80000008u);
}

TEST(Lifecycle, AFailingKeyEndsTheRestoreThere) {
    MemoryPropertyBag bag;
    bag.set("Precision", Variant::text("abc"));
    bag.set("VariableName", Variant::text("never"));
    Hosted h;
    h.gauge = std::make_unique<MERV_Gauge>(h.site);
    h.gauge->Initialize();
    h.site.attached = true;
    try {
        h.gauge->ReadProperties(bag);
        ADD_FAILURE();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), ErrorNumber::TypeMismatch);
    }
    EXPECT_FALSE(h.gauge->loaded());
    EXPECT_EQ(h.gauge->VariableName(), "Var");
    EXPECT_EQ(h.site.log,
              (std::vector<std::string>{"changed:MaxValue", "changed:MinValue", "changed:Value"}));
}

TEST(Lifecycle, TheExtentIsFixedWhateverTheHostAsks) {
    auto h = Hosted::fresh();
    h->ui().userControl.setWidth(3000);
    h->ui().userControl.setHeight(3000);
    h->ui().InitTimer.setEnabled(false);
    h->gauge->Resize();
    EXPECT_EQ(h->ui().userControl.width(), 2555);
    EXPECT_EQ(h->ui().userControl.height(), 2205);
    EXPECT_TRUE(h->ui().InitTimer.enabled());
}

TEST(Lifecycle, AFreshControlKeepsDesignCaptionsUntilALocaleChange) {
    auto h = Hosted::fresh();
    EXPECT_EQ(editorCaptions(*h),
              (std::vector<std::string>{"Alarm high", "Warning high", "Warning low", "Alarm low"}));
    h->gauge->AmbientChanged("localeid");
    EXPECT_EQ(h->ui().AH.caption(), "Alarm high");
    h->site.language = 1040;
    h->gauge->AmbientChanged("LocaleID");
    EXPECT_EQ(editorCaptions(*h), (std::vector<std::string>{"Allarme alto", "Preallarme alto",
                                                            "Preallarme basso", "Allarme basso"}));
}

TEST(Lifecycle, TheBackgroundFollowsTheHostByExactName) {
    auto h = Hosted::restored();
    h->site.backColor = 0x123456;
    h->gauge->AmbientChanged("backcolor");
    EXPECT_NE(h->ui().userControl.backColor(), 0x123456u);
    h->gauge->AmbientChanged("BackColor");
    EXPECT_EQ(h->ui().userControl.backColor(), 0x123456u);
}

TEST(Lifecycle, DesignModeFollowsTheHostOnlyForAFreshControl) {
    EXPECT_FALSE(Hosted::fresh(/*userMode=*/true)->gauge->designMode());
    EXPECT_TRUE(Hosted::fresh(/*userMode=*/false)->gauge->designMode());
}

} // namespace
} // namespace merv::test
