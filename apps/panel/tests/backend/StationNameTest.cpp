#include "panel/DataSource.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

namespace merv::panel {
namespace {

// Two panels started on one host without a station name must not take each other's name (they
// would ignore each other's acknowledgements), and a restarted one keeps its own.
TEST(DefaultStationName, IsTheHostsWithASuffixStableForOnePanelAndDistinctForAnother) {
    test::TempFolder folder;
    const auto form = folder / "boiler.json", history = folder / "history.sqlite";
    const std::string name = defaultStationName("host1", form, history);
    EXPECT_EQ(name.rfind("host1-", 0), 0u) << name;
    EXPECT_EQ(name.size(), std::string("host1-").size() + 4);
    EXPECT_EQ(name, defaultStationName("host1", form, history));
    // The same files under another spelling of their paths are the same panel.
    EXPECT_EQ(name, defaultStationName("host1", folder / "." / "boiler.json",
                                       folder / "x" / ".." / "history.sqlite"));

    const struct {
        const char* what;
        std::filesystem::path form, history;
    } others[] = {
        {"another history", form, folder / "second.sqlite"},
        {"another form", folder / "turbine.json", history},
        {"the built-in form", {}, history},
        {"form and history swapped", history, form},
    };
    for (const auto& other : others)
        EXPECT_NE(name, defaultStationName("host1", other.form, other.history)) << other.what;
}

} // namespace
} // namespace merv::panel
