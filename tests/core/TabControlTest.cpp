#include "ErrorOf.h"

#include <mervgauge/platform/ElementTree.h>
#include <mervgauge/platform/Label.h>
#include <mervgauge/platform/RuntimeError.h>
#include <mervgauge/platform/TabControl.h>

#include <gtest/gtest.h>

namespace merv::test {
namespace {

struct Tabs {
    ElementTree tree;
    TabControl& tabs = tree.create<TabControl>("SSTab1");
    Label& first = tree.create<Label>("First", &tabs);
    Label& second = tree.create<Label>("Second", &tabs);

    Tabs() {
        tabs.setTabCount(3);
        tabs.setChildTab(second, 2);
    }
};

TEST(TabControl, ShowsOnlyTheChildrenOfTheShownTab) {
    Tabs t;
    EXPECT_EQ(t.tabs.childTab(t.first), 0); // added while tab 0 was shown
    EXPECT_EQ(t.tabs.childTab(t.second), 2);
    EXPECT_TRUE(t.tabs.showsChild(t.first));
    EXPECT_FALSE(t.tabs.showsChild(t.second));
    t.tabs.setTab(2);
    EXPECT_FALSE(t.tabs.showsChild(t.first));
    EXPECT_TRUE(t.tabs.showsChild(t.second));
    const Label& outsider = t.tree.create<Label>("Outsider");
    EXPECT_EQ(t.tabs.childTab(outsider), -1);
}

TEST(TabControl, FewerTabsHideTheirChildrenAndMoveTheShownTabToTheLast) {
    Tabs t;
    t.tabs.setTab(2);
    t.tabs.setTabCount(2);
    EXPECT_EQ(t.tabs.tab(), 1);
    EXPECT_FALSE(t.tabs.showsChild(t.second));
    EXPECT_FALSE(t.tabs.showsChild(t.first));
}

TEST(TabControl, IndexesOutsideTheTabsAreRefused) {
    Tabs t;
    EXPECT_EQ(errorOf([&] { t.tabs.setTab(3); }), ErrorNumber::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { t.tabs.setTab(-1); }), ErrorNumber::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { t.tabs.setTabCount(0); }), ErrorNumber::InvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { t.tabs.tabCaption(3); }), ErrorNumber::InvalidPropertyArrayIndex);
    EXPECT_EQ(errorOf([&] { t.tabs.setTabCaption(-1, "x"); }),
              ErrorNumber::InvalidPropertyArrayIndex);
    EXPECT_EQ(t.tabs.tab(), 0);
    EXPECT_EQ(t.tabs.tabCount(), 3);
}

} // namespace
} // namespace merv::test
