// The keyboard rules every host shares: Enter and Space press the focused button, other keys
// reach the focused field as typing, Tab and Shift+Tab follow the focus order.
#include <mervgauge/platform/CommandButton.h>
#include <mervgauge/platform/ElementTree.h>
#include <mervgauge/platform/Keyboard.h>
#include <mervgauge/platform/TextField.h>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace merv::test {
namespace {

class Keyboard : public ::testing::Test {
protected:
    ElementTree tree;
    TextField& first = tree.create<TextField>("First", &tree.root());
    TextField& second = tree.create<TextField>("Second", &tree.root());
    CommandButton& button = tree.create<CommandButton>("Button", &tree.root());
    int clicks = 0;

    void SetUp() override {
        first.setTabIndex(0);
        second.setTabIndex(1);
        button.setTabIndex(2);
        button.onClick = [this] { ++clicks; };
    }
};

TEST_F(Keyboard, EnterAndSpacePressTheFocusedButtonAndOtherKeysDoNot) {
    button.setFocus();
    EXPECT_TRUE(typeKey(tree.focus(), char32_t(KeyAscii::Enter)));
    EXPECT_TRUE(typeKey(tree.focus(), char32_t(KeyAscii::Space)));
    EXPECT_TRUE(typeKey(tree.focus(), U'a'));
    EXPECT_EQ(clicks, 2);
}

TEST_F(Keyboard, AKeyReachesTheFocusedFieldAsTyping) {
    int keyPresses = 0;
    second.onKeyPress = [&](int&) { ++keyPresses; };
    second.setFocus();
    typeKey(tree.focus(), U'7');
    typeKey(tree.focus(), char32_t(KeyAscii::Enter)); // a KeyPress, no character
    EXPECT_EQ(second.text(), "7");
    EXPECT_EQ(keyPresses, 2);
    EXPECT_EQ(clicks, 0);
}

// Tab and Shift+Tab walk the same order, each its own way round: First, Second and Button
// take the tab indexes given (-1 leaves one out), the walk starts on `from`.
struct Walk {
    const char* behaviour;
    std::array<int, 3> tabIndexes;
    const char* from;
    bool hideFrom; // hidden once it has the focus: it walks on from where it stood
    bool (*tab)(FocusTracker&);
    std::vector<std::string> visited;
};

class KeyboardWalk : public Keyboard, public ::testing::WithParamInterface<Walk> {};

TEST_P(KeyboardWalk, VisitsTheFocusOrder) {
    const Walk& walk = GetParam();
    first.setTabIndex(walk.tabIndexes[0]);
    second.setTabIndex(walk.tabIndexes[1]);
    button.setTabIndex(walk.tabIndexes[2]);
    Element* from = tree.find(walk.from);
    from->setFocus();
    if (walk.hideFrom)
        from->setVisible(false);
    std::vector<std::string> visited;
    for (std::size_t i = 0; i < walk.visited.size(); ++i) {
        ASSERT_TRUE(walk.tab(tree.focus()));
        visited.push_back(tree.focus().focused()->name());
    }
    EXPECT_EQ(visited, walk.visited);
}

INSTANTIATE_TEST_SUITE_P(Keyboard, KeyboardWalk,
                         ::testing::Values(Walk{"TabWrapsRound",
                                                {0, 1, 2},
                                                "First",
                                                false,
                                                tabToNext,
                                                {"Second", "Button", "First", "Second"}},
                                           Walk{"ShiftTabWrapsRound",
                                                {0, 1, 2},
                                                "Second",
                                                false,
                                                tabToPrevious,
                                                {"First", "Button", "Second", "First"}},
                                           Walk{"TabFollowsTheIndexesNotTheCreation",
                                                {2, 0, 1},
                                                "Second",
                                                false,
                                                tabToNext,
                                                {"Button", "First", "Second"}},
                                           Walk{"ShiftTabFollowsTheIndexesNotTheCreation",
                                                {2, 0, 1},
                                                "Second",
                                                false,
                                                tabToPrevious,
                                                {"First", "Button", "Second"}},
                                           Walk{"TabSkipsOneLeftOutOfTheOrder",
                                                {0, -1, 2},
                                                "First",
                                                false,
                                                tabToNext,
                                                {"Button", "First"}},
                                           Walk{"ShiftTabSkipsOneLeftOutOfTheOrder",
                                                {0, -1, 2},
                                                "Button",
                                                false,
                                                tabToPrevious,
                                                {"First", "Button"}},
                                           Walk{"TabFromAHiddenElementGoesOnFromItsPlace",
                                                {0, 1, 2},
                                                "Second",
                                                true,
                                                tabToNext,
                                                {"Button", "First", "Button"}},
                                           Walk{"ShiftTabFromAHiddenElementGoesBackFromItsPlace",
                                                {0, 1, 2},
                                                "Second",
                                                true,
                                                tabToPrevious,
                                                {"First", "Button", "First"}},
                                           Walk{"ShiftTabOnTheOnlyElementKeepsItsFocus",
                                                {-1, 1, -1},
                                                "Second",
                                                false,
                                                tabToPrevious,
                                                {"Second", "Second"}}),
                         [](const ::testing::TestParamInfo<Walk>& info) {
                             return info.param.behaviour;
                         });

TEST_F(Keyboard, NothingFocusedIsReportedNotIgnored) {
    EXPECT_FALSE(typeKey(tree.focus(), U'a'));
    EXPECT_FALSE(tabToNext(tree.focus()));
    EXPECT_FALSE(tabToPrevious(tree.focus()));
}

} // namespace
} // namespace merv::test
