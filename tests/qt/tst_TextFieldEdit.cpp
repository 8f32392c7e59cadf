// A line edit bound to a text field: the field's code points against the line edit's UTF-16
// units, both ways, and a person's edit handed to the field. Characters beyond the basic
// plane (two UTF-16 units, one code point) are where the two counts differ.
#include <mervgauge/private/TextFieldEdit.h>

#include <mervgauge/platform/ElementTree.h>
#include <mervgauge/platform/TextField.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using merv::TextField;
using merv::qt::Selection;
using merv::qt::TextFieldEdit;

// U+1D11E, and two emoji that share their first UTF-16 unit.
#define CLEF "\U0001D11E"
#define GRIN "\U0001F600"
#define BEAM "\U0001F601"

class TextFieldEditTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void showsTheFieldsSelectionInUtf16Units_data();
    void showsTheFieldsSelectionInUtf16Units();
    void readsTheShownSelectionInCodePoints_data();
    void readsTheShownSelectionInCodePoints();
    void everySelectionComesBackAsShown();
    void showingWhatIsShownWritesNothing();
    void anEditReplacesOnlyWhatChanged_data();
    void anEditReplacesOnlyWhatChanged();

private:
    // The field holds the text and the line edit shows it.
    void load(const QString& text);

    std::unique_ptr<merv::ElementTree> tree;
    TextField* field = nullptr;
    std::unique_ptr<QLineEdit> edit;
    std::unique_ptr<TextFieldEdit> bound;
};

void TextFieldEditTest::init() {
    tree = std::make_unique<merv::ElementTree>();
    field = &tree->create<TextField>("Field", &tree->root());
    edit = std::make_unique<QLineEdit>();
    bound = std::make_unique<TextFieldEdit>(*field, *edit);
}

void TextFieldEditTest::cleanup() {
    bound.reset();
    edit.reset();
    tree.reset();
}

void TextFieldEditTest::load(const QString& text) {
    field->setText(text.toStdString());
    QVERIFY(bound->showText());
    QCOMPARE(edit->text(), text);
}

void TextFieldEditTest::showsTheFieldsSelectionInUtf16Units_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("anchor"); // code points
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("cursor"); // UTF-16 units
    QTest::newRow("ascii") << QStringLiteral("80") << 0 << 2 << QStringLiteral("80") << 2;
    QTest::newRow("caret after a pair") << QStringLiteral("a" CLEF "b") << 2 << 2 << QString() << 3;
    QTest::newRow("pair selected, caret last")
        << QStringLiteral("a" CLEF "b") << 1 << 3 << QStringLiteral("" CLEF "b") << 4;
    QTest::newRow("pair selected, caret first")
        << QStringLiteral("a" CLEF "b") << 3 << 1 << QStringLiteral("" CLEF "b") << 1;
    QTest::newRow("two pairs from the start")
        << QStringLiteral("" GRIN BEAM "x") << 0 << 2 << QStringLiteral("" GRIN BEAM "") << 4;
    QTest::newRow("after two pairs, caret first")
        << QStringLiteral("" GRIN BEAM "x") << 3 << 1 << QStringLiteral("" BEAM "x") << 2;
}

void TextFieldEditTest::showsTheFieldsSelectionInUtf16Units() {
    QFETCH(QString, text);
    QFETCH(int, anchor);
    QFETCH(int, caret);
    load(text);
    field->select(anchor, caret);
    bound->showSelection();
    QTEST(edit->selectedText(), "selected");
    QTEST(edit->cursorPosition(), "cursor");
}

void TextFieldEditTest::readsTheShownSelectionInCodePoints_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start"); // UTF-16 units; a negative length selects backwards
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("anchor"); // code points
    QTest::addColumn<int>("caret");
    QTest::newRow("caret after a pair") << QStringLiteral("a" CLEF "b") << 3 << 0 << 2 << 2;
    QTest::newRow("caret at the end") << QStringLiteral("a" CLEF "b") << 4 << 0 << 3 << 3;
    QTest::newRow("pair selected forwards") << QStringLiteral("a" CLEF "b") << 1 << 2 << 1 << 2;
    QTest::newRow("two pairs selected backwards")
        << QStringLiteral("" GRIN BEAM "x") << 5 << -3 << 3 << 1;
    QTest::newRow("whole text backwards") << QStringLiteral("" GRIN BEAM "x") << 5 << -5 << 3 << 0;
}

void TextFieldEditTest::readsTheShownSelectionInCodePoints() {
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, length);
    load(text);
    if (length != 0)
        edit->setSelection(start, length);
    else
        edit->setCursorPosition(start);
    const Selection shown = bound->shownSelection();
    QTEST(shown.anchor, "anchor");
    QTEST(shown.caret, "caret");
}

void TextFieldEditTest::everySelectionComesBackAsShown() {
    load(QStringLiteral("a" GRIN BEAM "b" CLEF ""));
    const int length = field->length();
    QCOMPARE(length, 5);
    for (int anchor = 0; anchor <= length; ++anchor) {
        for (int caret = 0; caret <= length; ++caret) {
            field->select(anchor, caret);
            bound->showSelection();
            const Selection shown = bound->shownSelection();
            const QByteArray where =
                QByteArray::number(anchor) + " to " + QByteArray::number(caret);
            QVERIFY2(bound->fieldSelection() == (Selection{anchor, caret}), where);
            QVERIFY2(shown == (Selection{anchor, caret}), where);
        }
    }
}

void TextFieldEditTest::showingWhatIsShownWritesNothing() {
    load(QStringLiteral("1" CLEF "2"));
    field->select(3, 1);
    bound->showSelection();
    QSignalSpy moved(edit.get(), &QLineEdit::cursorPositionChanged);
    QSignalSpy selected(edit.get(), &QLineEdit::selectionChanged);
    QVERIFY(!bound->showText());
    bound->showSelection();
    QCOMPARE(moved.count(), 0);
    QCOMPARE(selected.count(), 0);
    // A text already shown leaves the line edit's own selection alone.
    edit->setCursorPosition(1);
    QVERIFY(!bound->showText());
    QCOMPARE(edit->cursorPosition(), 1);
    QVERIFY(!edit->hasSelectedText());
}

void TextFieldEditTest::anEditReplacesOnlyWhatChanged_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("caret"); // after the replaced stretch, in code points
    QTest::addColumn<int>("changes");
    QTest::newRow("typed in the middle, after a pair")
        << QStringLiteral("12" CLEF "34") << QStringLiteral("12" CLEF "X34") << 4 << 1;
    QTest::newRow("a pair deleted between pairs")
        << QStringLiteral("1" GRIN "2" GRIN "3") << QStringLiteral("1" GRIN GRIN "3") << 2 << 1;
    QTest::newRow("a pair for one with the same first unit")
        << QStringLiteral("a" GRIN "b") << QStringLiteral("a" BEAM "b") << 2 << 1;
    QTest::newRow("a pair for a letter")
        << QStringLiteral("a" GRIN "b") << QStringLiteral("axb") << 2 << 1;
    QTest::newRow("a pair typed into a repeated run")
        << QStringLiteral("aaa") << QStringLiteral("aa" CLEF "a") << 3 << 1;
    QTest::newRow("a letter added to a repeated run")
        << QStringLiteral("aaa") << QStringLiteral("aaaa") << 4 << 1;
    QTest::newRow("the same text")
        << QStringLiteral("a" CLEF "") << QStringLiteral("a" CLEF "") << 2 << 0;
}

void TextFieldEditTest::anEditReplacesOnlyWhatChanged() {
    QFETCH(QString, before);
    QFETCH(QString, after);
    load(before);
    field->select(0, 0); // where the field's caret stood does not matter
    int changes = 0;
    int keys = 0;
    field->onChange = [&] { ++changes; };
    field->onKeyPress = [&](int&) { ++keys; };
    bound->enterEdit(after);
    QCOMPARE(QString::fromStdString(field->text()), after);
    QTEST(field->caret(), "caret");
    QCOMPARE(field->selLength(), 0);
    QTEST(changes, "changes");
    // Entered as pasted text is: the field's key handler sees none of it.
    QCOMPARE(keys, 0);
}

QTEST_MAIN(TextFieldEditTest)
#include "tst_TextFieldEdit.moc"
