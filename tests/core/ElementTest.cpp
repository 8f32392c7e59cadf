#include <mervgauge/platform/ElementTree.h>
#include <mervgauge/platform/Label.h>
#include <mervgauge/platform/PictureBox.h>
#include <mervgauge/platform/UserControl.h>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace merv::test {
namespace {

// Every change elements report, in order.
struct Changes : ElementObserver {
    std::vector<std::pair<const Element*, ElementChange>> changed;
    void elementChanged(const ElementNotice& notice) override {
        changed.emplace_back(notice.element, notice.change);
    }
};

TEST(Element, IsShownOnlyWhenItAndEveryContainerAboveAreVisible) {
    ElementTree tree;
    PictureBox& picture = tree.create<PictureBox>("Picture1", &tree.root());
    Label& inner = tree.create<Label>("Inner", &picture);
    Changes count;
    tree.addObserver(count);
    EXPECT_TRUE(inner.shown());
    picture.setVisible(false);
    EXPECT_TRUE(inner.visible());
    EXPECT_FALSE(inner.shown());
    picture.setVisible(false); // no change, no report
    EXPECT_EQ(count.changed.size(), 1u);
    EXPECT_EQ(count.changed.front().first, &picture);
    EXPECT_EQ(count.changed.front().second, ElementChange::Visible);
    picture.setVisible(true);
    EXPECT_TRUE(inner.shown());
    tree.root().setVisible(false);
    EXPECT_FALSE(inner.shown());
}

TEST(Element, ZOrderOutsideAnyContainerChangesNothing) {
    ElementTree tree;
    Label& loose = tree.create<Label>("Loose");
    Changes count;
    tree.addObserver(count);
    loose.zOrder(0);
    loose.zOrder(1);
    EXPECT_EQ(loose.container(), nullptr);
    EXPECT_TRUE(count.changed.empty());
}

} // namespace
} // namespace merv::test
