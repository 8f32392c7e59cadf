#include <mervgauge/platform/PropertyBag.h>

#include <gtest/gtest.h>

namespace merv {
namespace {

std::vector<std::string> keysOf(const MemoryPropertyBag& bag) {
    std::vector<std::string> keys;
    for (const auto& entry : bag.entries())
        keys.push_back(entry.first);
    return keys;
}

TEST(MemoryPropertyBag, ReadsTheStoredValueOrTheDefault) {
    MemoryPropertyBag bag;
    bag.set("MaxValue", Variant::single(200.0f));
    EXPECT_EQ(bag.readProperty("MaxValue", Variant::integer(100)).asSingle(), 200.0f);
    EXPECT_EQ(bag.readProperty("maxvalue", Variant::integer(100)).asInteger(), 100);
}

TEST(MemoryPropertyBag, LeavesOutAValueEqualToItsDefaultAndDropsTheEarlierEntry) {
    MemoryPropertyBag bag;
    bag.writeProperty("Value", Variant::single(42.0f), Variant::integer(0));
    bag.writeProperty("EngUnit", Variant::text("EU"), Variant::text("EU"));
    EXPECT_EQ(keysOf(bag), std::vector<std::string>{"Value"});
    bag.writeProperty("Value", Variant::single(0.0f), Variant::integer(0));
    EXPECT_TRUE(bag.entries().empty());

    MemoryPropertyBag italian(NumberLocale{",", "."});
    italian.writeProperty("MaxValue", Variant::text("100,0"), Variant::integer(100));
    EXPECT_TRUE(italian.entries().empty());
}

TEST(MemoryPropertyBag, KeepsFirstWriteOrderAndReplacesInPlace) {
    MemoryPropertyBag bag;
    bag.writeProperty("MaxValue", Variant::single(200.0f), Variant::integer(100));
    bag.writeProperty("EngUnit", Variant::text("bar"), Variant::text("EU"));
    bag.set("AlarmColor", Variant::longValue(255)); // kept although it is the default
    bag.writeProperty("MaxValue", Variant::single(300.0f), Variant::integer(100));
    EXPECT_EQ(keysOf(bag), (std::vector<std::string>{"MaxValue", "EngUnit", "AlarmColor"}));
    EXPECT_EQ(bag.readProperty("MaxValue", Variant()).asSingle(), 300.0f);
}

} // namespace
} // namespace merv
