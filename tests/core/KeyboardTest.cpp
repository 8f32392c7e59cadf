// The keyboard rules every host shares: Enter and Space press the focused button, other keys
// reach the focused field as typing, Tab follows the focus order.
#include <mervgauge/platform/CommandButton.h>
#include <mervgauge/platform/ElementTree.h>
#include <mervgauge/platform/Keyboard.h>
#include <mervgauge/platform/TextField.h>

#include <gtest/gtest.h>

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

TEST_F(Keyboard, TabFollowsTheFocusOrderAndWrapsRound) {
    first.setFocus();
    std::vector<std::string> visited;
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(tabToNext(tree.focus()));
        visited.push_back(tree.focus().focused()->name());
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"Second", "Button", "First", "Second"}));
}

TEST_F(Keyboard, NothingFocusedIsReportedNotIgnored) {
    EXPECT_FALSE(typeKey(tree.focus(), U'a'));
    EXPECT_FALSE(tabToNext(tree.focus()));
}

} // namespace
} // namespace merv::test
