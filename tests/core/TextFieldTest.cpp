#include <mervgauge/platform/ElementTree.h>
#include <mervgauge/platform/TextField.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace merv::test {
namespace {

// A field with its Change and KeyPress handlers recorded in order.
struct Field {
    ElementTree tree;
    TextField& field = tree.create<TextField>("Text1");
    std::vector<std::string> log;

    Field() {
        field.onChange = [this] { log.push_back("change:" + field.text()); };
        field.onKeyPress = [this](int& key) { log.push_back("key:" + std::to_string(key)); };
    }
};

TEST(TextField, AProgramWriteRaisesChangeOnlyWhenTheTextDiffersAndPutsTheCaretAtTheEnd) {
    Field f;
    f.field.setText("12");
    f.field.setText("12");
    EXPECT_EQ(f.log, (std::vector<std::string>{"change:12"}));
    EXPECT_EQ(f.field.selStart(), 2);
    EXPECT_EQ(f.field.selLength(), 0);
}

TEST(TextField, SelectionCountsCodePointsAndStaysInsideTheText) {
    Field f;
    f.field.setText("1\xC2\xB0"
                    "C"); // "1°C": three characters, four bytes
    EXPECT_EQ(f.field.length(), 3);
    f.field.selectAll();
    EXPECT_EQ(f.field.selStart(), 0);
    EXPECT_EQ(f.field.selLength(), 3);
    f.field.setSelStart(9);
    EXPECT_EQ(f.field.selStart(), 3);
    f.field.setSelStart(1);
    f.field.setSelLength(9);
    EXPECT_EQ(f.field.selLength(), 2);
}

TEST(TextField, TypingRaisesKeyPressThenReplacesTheSelectionAndRaisesChange) {
    struct Row {
        const char* name;
        const char* before;
        int selStart, selLength;
        char32_t typed;
        const char* after;
        int caret;
    };
    const Row rows[] = {
        {"replaces a whole selection", "80", 0, 2, U'9', "9", 1},
        {"inserts at the caret", "80", 1, 0, U'5', "850", 2},
        {"a non-ASCII character is one character", "1C", 1, 0, U'\u00B0',
         "1\xC2\xB0"
         "C",
         2},
    };
    for (const Row& row : rows) {
        Field f;
        f.field.setText(row.before);
        f.field.setSelStart(row.selStart);
        f.field.setSelLength(row.selLength);
        f.log.clear();
        f.field.typeCharacter(row.typed);
        EXPECT_EQ(f.field.text(), row.after) << row.name;
        EXPECT_EQ(f.field.selStart(), row.caret) << row.name;
        EXPECT_EQ(f.log, (std::vector<std::string>{"key:" + std::to_string(int(row.typed)),
                                                   "change:" + std::string(row.after)}))
            << row.name;
    }
}

TEST(TextField, AKeyPressHandlerCancelsOrReplacesTheKey) {
    Field f;
    f.field.setText("7");
    f.field.onKeyPress = [](int& key) { key = key == '-' ? 0 : '+'; };
    f.field.typeCharacter(U'-');
    EXPECT_EQ(f.field.text(), "7");
    f.field.typeCharacter(U'1');
    EXPECT_EQ(f.field.text(), "7+");
}

TEST(TextField, BackspaceAndDeleteRemoveTheSelectionOrOneCharacter) {
    Field f;
    f.field.setText("1\xC2\xB0"
                    "C");
    f.field.setSelStart(2);
    f.field.backspace(); // the character before the caret, whole
    EXPECT_EQ(f.field.text(), "1C");
    EXPECT_EQ(f.field.selStart(), 1);
    f.field.deleteForward();
    EXPECT_EQ(f.field.text(), "1");
    f.log.clear();
    f.field.deleteForward(); // nothing after the caret: no Change
    f.field.setSelStart(0);
    f.field.backspace(); // nothing before it: only the KeyPress
    EXPECT_EQ(f.field.text(), "1");
    EXPECT_EQ(f.log, (std::vector<std::string>{"key:8"}));
}

TEST(TextField, ControlCharactersOnlyRaiseKeyPress) {
    Field f;
    for (int key : {13, 9, 27, 127})
        f.field.pressKey(key);
    EXPECT_EQ(f.field.text(), "");
    EXPECT_EQ(f.log, (std::vector<std::string>{"key:13", "key:9", "key:27", "key:127"}));
}

} // namespace
} // namespace merv::test
