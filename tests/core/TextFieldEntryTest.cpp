// What a person does to a text field, as a view drives it: keys, typed and pasted text,
// deletions, caret and selection moves; and where a program write leaves the caret.
#include <mervgauge/platform/ElementTree.h>
#include <mervgauge/platform/TextField.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace merv::test {
namespace {

class TextFieldEntry : public ::testing::Test {
protected:
    ElementTree tree;
    TextField& field = tree.create<TextField>("Field", &tree.root());
    std::vector<std::string> log; // "key:N", "change:text"

    void SetUp() override {
        field.setText("12345");
        field.onKeyPress = [this](int& keyAscii) {
            log.push_back("key:" + std::to_string(keyAscii));
        };
        field.onChange = [this] { log.push_back("change:" + field.text()); };
    }
    // Text with the selection marked: "1[23]45" selected, "12|345" caret only.
    std::string shown() const {
        std::string s = field.text();
        if (field.selLength() == 0)
            return s.insert(std::size_t(field.selStart()), "|");
        s.insert(std::size_t(field.selStart() + field.selLength()), "]");
        return s.insert(std::size_t(field.selStart()), "[");
    }
};

TEST_F(TextFieldEntry, APasteReplacesTheSelectionWithOneChangeAndNoKeyPress) {
    field.select(1, 3);
    field.replaceSelection("xyz");
    EXPECT_EQ(shown(), "1xyz|45");
    EXPECT_EQ(log, (std::vector<std::string>{"change:1xyz45"}));
}

TEST_F(TextFieldEntry, AKeyThenItsTextIsTypingAndAHandlerMayCancelIt) {
    field.select(5, 5);
    if (int key = field.keyPress('6'))
        field.replaceSelection(std::string(1, char(key)));
    field.onKeyPress = [this](int& keyAscii) {
        log.push_back("cancelled:" + std::to_string(keyAscii));
        keyAscii = 0;
    };
    field.typeCharacter('7');
    EXPECT_EQ(shown(), "123456|");
    EXPECT_EQ(log, (std::vector<std::string>{"key:54", "change:123456", "cancelled:55"}));
}

TEST_F(TextFieldEntry, PastedControlCharactersAndMalformedBytesNeverEnter) {
    field.select(0, 5);
    field.replaceSelection("a\tb\r\n\x7f"
                           "c\xff");
    EXPECT_EQ(field.text(), "abc\xEF\xBF\xBD"); // the bad byte as the replacement character
    EXPECT_EQ(field.length(), 4);
}

struct EditCase {
    const char* name;
    int anchor, caret;
    bool forward; // Delete, else Backspace
    const char* shown;
};

TEST_F(TextFieldEntry, BackspaceAndDeleteWorkOnTheCaretOrTheSelection) {
    const EditCase cases[] = {
        {"backspace before the caret", 2, 2, false, "1|345"},
        {"backspace at the start does nothing", 0, 0, false, "|12345"},
        {"backspace deletes a selection", 1, 4, false, "1|5"},
        {"delete after the caret", 2, 2, true, "12|45"},
        {"delete at the end does nothing", 5, 5, true, "12345|"},
        {"delete removes a selection chosen backwards", 4, 1, true, "1|5"},
    };
    for (const EditCase& c : cases) {
        field.setText("12345");
        field.select(c.anchor, c.caret);
        if (c.forward)
            field.deleteForward();
        else
            field.backspace();
        EXPECT_EQ(shown(), c.shown) << c.name;
    }
}

TEST_F(TextFieldEntry, ASelectionKeepsTheSideTheCaretStandsOn) {
    field.select(4, 1);
    EXPECT_EQ(shown(), "1[234]5");
    EXPECT_EQ(field.caret(), 1);
    field.select(1, 4);
    EXPECT_EQ(field.caret(), 4);
    field.select(-3, 99); // clamped into the text
    EXPECT_EQ(shown(), "[12345]");
}

TEST_F(TextFieldEntry, CaretsCountCharactersNotBytes) {
    field.setText("a\xC3\xA9z"); // a, e acute, z
    field.select(1, 2);
    field.replaceSelection("\xE2\x82\xAC"); // the euro sign
    EXPECT_EQ(field.text(), "a\xE2\x82\xAC"
                            "z");
    EXPECT_EQ(field.selStart(), 2);
    field.backspace();
    EXPECT_EQ(field.text(), "az");
}

TEST_F(TextFieldEntry, AProgramWriteKeepsAWholeSelectionWholeAndOtherwiseGoesToTheEnd) {
    field.select(0, 5); // as GotFocus leaves it
    field.setText("80");
    EXPECT_EQ(shown(), "[80]") << "the first key typed still replaces the value";
    field.select(1, 1);
    field.setText("655");
    EXPECT_EQ(shown(), "655|");
    field.select(1, 2);
    field.setText("655"); // the same text: nothing moves
    EXPECT_EQ(shown(), "6[5]5");
}

TEST_F(TextFieldEntry, AGuardThatRewritesTheTextFromChangeLeavesTheCaretAtItsEnd) {
    field.onChange = [this] {
        if (field.text().find('x') != std::string::npos)
            field.setText("80");
    };
    field.select(2, 2);
    field.typeCharacter('x');
    EXPECT_EQ(shown(), "80|");
}

TEST_F(TextFieldEntry, TypingAtTheEndOfALongTextStaysInStep) {
    // The cached place of the caret must follow every edit, wherever it happens.
    std::string expected;
    field.setText("");
    for (int i = 0; i < 2000; ++i) {
        const char c = char('a' + i % 26);
        field.typeCharacter(char32_t(c));
        expected += c;
        if (i % 500 == 499) {
            field.select(3, 3);
            field.typeCharacter('#');
            expected.insert(3, "#");
            field.select(field.length(), field.length());
        }
    }
    EXPECT_EQ(field.text(), expected);
    EXPECT_EQ(field.length(), int(expected.size()));
}

} // namespace
} // namespace merv::test
