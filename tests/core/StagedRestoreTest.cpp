#include "ErrorOf.h"
#include "TestSite.h"

#include <mervgauge/control/GaugeProperties.h>
#include <mervgauge/control/StagedRestore.h>
#include <mervgauge/platform/RuntimeError.h>

#include <gtest/gtest.h>

namespace merv::test {
namespace {

const PropertyInfo& property(std::string_view name) {
    return *findProperty(name);
}

TEST(StagedRestore, WritesInAnyOrderRestoreAsTheStoredBagWould) {
    // A form may list a scale below zero value first; the restore reads the scale first.
    StagedRestore staged(NumberLocale::english());
    staged.write(property("MaxValue"), Variant::single(-10));
    staged.write(property("MinValue"), Variant::single(-50));
    staged.write(property("Value"), Variant::single(-20));
    MemoryPropertyBag bag = staged.take();
    const auto h = Hosted::restored(bag);
    EXPECT_EQ(h->gauge->MinValue(), -50);
    EXPECT_EQ(h->gauge->MaxValue(), -10);
    EXPECT_EQ(h->gauge->Value(), -20);
}

TEST(StagedRestore, AWaitingGaugeAnswersItsLatestWriteElseTheBagDefault) {
    StagedRestore staged(NumberLocale::english());
    EXPECT_TRUE(staged.isWaiting());
    EXPECT_TRUE(staged.value(property("EngUnit"))
                    .equals(property("EngUnit").bagDefault, NumberLocale::english()));
    staged.write(property("EngUnit"), Variant::text("bar"));
    staged.write(property("EngUnit"), Variant::text("kPa"));
    EXPECT_EQ(staged.value(property("EngUnit")).toText(NumberLocale::english()), "kPa");
    EXPECT_EQ(staged.take().entries().size(), 1u);
    EXPECT_FALSE(staged.isWaiting());
}

TEST(StagedRestore, APropertyThatRestoringDoesNotReadIsRefusedNotLost) {
    StagedRestore staged(NumberLocale::english());
    EXPECT_EQ(errorOf([&] { staged.write(property("AlarmHighStatus"), Variant::boolean(true)); }),
              ErrorNumber::PropertyNotSupported);
    EXPECT_TRUE(staged.take().entries().empty());
}

TEST(StagedRestore, AHostThatStartsItsGaugeItselfHasNothingWaiting) {
    EXPECT_FALSE(StagedRestore().isWaiting());
}

} // namespace
} // namespace merv::test
