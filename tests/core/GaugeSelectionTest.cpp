#include "ErrorOf.h"
#include "TestSite.h"

#include <mervgauge/control/GaugeSelection.h>

#include <gtest/gtest.h>

namespace merv::test {
namespace {

TEST(GaugeSelection, ReachesTheGaugeByNameInItsSitesLocale) {
    auto gauge = Hosted::fresh(false);
    gauge->site.locale = NumberLocale{",", "."};
    GaugeSelection selected(**gauge, gauge->site);
    selected.putProperty("maxvalue", Variant::text("2,5"));
    EXPECT_EQ((*gauge)->MaxValue(), 2.5f);
    EXPECT_EQ(selected.getProperty("MaxValue").asSingle(), 2.5f);
    EXPECT_EQ(errorOf([&] { selected.getProperty("Colour"); }), ErrorNumber::PropertyNotSupported);
    EXPECT_EQ(errorOf([&] { selected.putProperty("Value", Variant::text("x")); }),
              ErrorNumber::TypeMismatch);
}

} // namespace
} // namespace merv::test
