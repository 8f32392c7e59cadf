#include "TestSite.h"

#include <gtest/gtest.h>

namespace merv::test {
namespace {

class ThresholdEditor : public ::testing::Test {
protected:
    std::unique_ptr<Hosted> h = Hosted::restored();
    const GaugeElements& ui() const { return h->ui(); }

    void type(TextField& field, std::u32string_view text) {
        for (char32_t c : text)
            field.typeCharacter(c);
    }
    std::vector<std::string> fields() const {
        return {ui().AlarmH.text(), ui().WarningH.text(), ui().WarningL.text(), ui().AlarmL.text()};
    }
    // Replaces a field's whole text as a person does: focus selects all, then typing.
    void enter(TextField& field, std::u32string_view text) {
        field.setFocus();
        field.setSelStart(0);
        field.setSelLength(field.length());
        type(field, text);
    }
};

TEST_F(ThresholdEditor, EveryDialSourceOpensThePanelAndOthersDoNot) {
    for (Element* source : std::initializer_list<Element*>{
             &ui().Sfondo, &ui().Centro, &ui().Minimo, &ui().Venti, &ui().Quaranta, &ui().Sessanta,
             &ui().Ottanta, &ui().Massimo, &ui().userControl}) {
        auto fresh = Hosted::restored();
        Element* same = fresh->gauge->elements().find(source->name());
        ASSERT_TRUE(same->onDblClick) << source->name();
        same->onDblClick();
        EXPECT_TRUE(fresh->ui().SfondoAl.visible()) << source->name();
    }
    for (const char* inert :
         {"Variabile", "Val", "AltoDx", "AltoSx", "Image2", "Image3", "AH", "AlarmH"})
        EXPECT_FALSE(h->gauge->elements().find(inert)->onDblClick) << inert;
}

TEST_F(ThresholdEditor, OpeningShowsThePanelHidesTheNeedleAndSelectsTheHighAlarm) {
    ui().InitTimer.setEnabled(true);
    h->gauge->editor().openPanel();
    EXPECT_TRUE(ui().SfondoAl.visible());
    EXPECT_TRUE(ui().OKAl.visible());
    EXPECT_TRUE(ui().AlarmH.shown());
    EXPECT_FALSE(ui().LineValore.visible());
    EXPECT_FALSE(ui().Centro.visible());
    EXPECT_FALSE(ui().InitTimer.enabled()); // a pending redraw is cancelled
    EXPECT_TRUE(ui().AlarmH.hasFocus());
    EXPECT_EQ(ui().AlarmH.selStart(), 0);
    EXPECT_EQ(ui().AlarmH.selLength(), 2);
}

TEST_F(ThresholdEditor, EnterWalksTheFieldsThenTheButton) {
    h->gauge->editor().openPanel();
    std::vector<std::string> visited;
    for (int i = 0; i < 4; ++i) {
        auto* focused = static_cast<TextField*>(h->gauge->elements().focus().focused());
        focused->pressKey(13);
        visited.push_back(h->gauge->elements().focus().focused()->name());
    }
    EXPECT_EQ(visited, (std::vector<std::string>{"WarningH", "WarningL", "AlarmL", "OKAl"}));
    EXPECT_EQ(fields(), (std::vector<std::string>{"80", "65", "35", "20"})); // Enter types nothing
}

TEST_F(ThresholdEditor, ANonNumericTextNeverStays) {
    h->gauge->editor().openPanel();
    enter(ui().AlarmH, U"7");
    EXPECT_EQ(ui().AlarmH.text(), "7");
    type(ui().AlarmH, U"x"); // "7x" is no number: back to the value at opening
    EXPECT_EQ(ui().AlarmH.text(), "80");
    ui().WarningL.setFocus();
    ui().WarningL.setSelLength(2);
    ui().WarningL.deleteForward(); // empty is no number either
    EXPECT_EQ(ui().WarningL.text(), "35");
}

TEST_F(ThresholdEditor, BeforeTheFirstOpeningTheRestoreTargetIsZero) {
    ui().AlarmL.setText("abc");
    EXPECT_EQ(ui().AlarmL.text(), "0");
}

TEST_F(ThresholdEditor, AnAcceptedOkClosesAndRedrawsWithTheNewThresholds) {
    h->gauge->editor().openPanel();
    enter(ui().AlarmH, U"90");
    ui().OKAl.onClick();
    EXPECT_FALSE(ui().SfondoAl.visible());
    EXPECT_FALSE(ui().OKAl.visible());
    EXPECT_TRUE(ui().LineValore.visible());
    EXPECT_TRUE(ui().Centro.visible());
    EXPECT_TRUE(ui().InitTimer.enabled());
    EXPECT_EQ(ui().InitTimer.interval(), 5);
    EXPECT_TRUE(h->site.log.empty()); // no notification, no event
    ui().InitTimer.tick();
    EXPECT_EQ(h->gauge->alarmHighSnapshot(), "90");
    EXPECT_EQ(ui().InitTimer.interval(), 100); // the short interval lasts one tick
}

TEST_F(ThresholdEditor, ARejectedOkRestoresAllFourInOrder) {
    h->gauge->editor().openPanel();
    enter(ui().AlarmH, U"95");
    enter(ui().WarningH, U"70");
    enter(ui().AlarmL, U"40"); // above the low warning: out of order
    std::vector<std::string> restored;
    for (TextField* f : {&ui().AlarmH, &ui().WarningH, &ui().WarningL, &ui().AlarmL})
        f->onChange = [f, &restored, guard = f->onChange] {
            restored.push_back(f->name());
            guard();
        };
    ui().OKAl.onClick();
    EXPECT_EQ(fields(), (std::vector<std::string>{"80", "65", "35", "20"}));
    EXPECT_EQ(restored, (std::vector<std::string>{"AlarmL", "AlarmH", "WarningH"}));
    EXPECT_TRUE(ui().SfondoAl.visible());
    EXPECT_FALSE(ui().InitTimer.enabled());
}

TEST_F(ThresholdEditor, OkAcceptsEqualValuesAndTheScaleEndsOnly) {
    struct Row {
        const char *ah, *wh, *wl, *al;
        bool accepted;
    };
    const Row rows[] = {
        {"100", "100", "0", "0", true},
        {"50", "50", "50", "50", true},
        {"100.1", "65", "35", "20", false},
        {"80", "65", "35", "-0.1", false},
        {"80", "65", "70", "20", false},
        {"1E+39", "65", "35", "20", false}, // numeric, but no single: out of order
    };
    for (const Row& row : rows) {
        auto g = Hosted::restored();
        g->gauge->editor().openPanel();
        g->ui().AlarmH.setText(row.ah);
        g->ui().WarningH.setText(row.wh);
        g->ui().WarningL.setText(row.wl);
        g->ui().AlarmL.setText(row.al);
        g->ui().OKAl.onClick();
        EXPECT_EQ(!g->ui().SfondoAl.visible(), row.accepted) << row.ah << " " << row.al;
    }
}

TEST_F(ThresholdEditor, ASecondOpeningMakesTheCurrentTextsTheRestoreTarget) {
    h->gauge->editor().openPanel();
    enter(ui().WarningH, U"70");
    h->gauge->editor().openPanel();
    EXPECT_TRUE(ui().AlarmH.hasFocus());
    enter(ui().AlarmL, U"50");
    ui().OKAl.onClick();
    EXPECT_EQ(fields(), (std::vector<std::string>{"80", "70", "35", "20"}));
}

TEST_F(ThresholdEditor, DecimalCommaLocaleTypesAndComparesWithComma) {
    h->site.locale = {",", "."};
    h->gauge->editor().openPanel();
    enter(ui().WarningH, U"62,5");
    ui().OKAl.onClick();
    EXPECT_FALSE(ui().SfondoAl.visible());
    EXPECT_EQ(h->gauge->WarningHighVal(), 62.5f);
}

TEST_F(ThresholdEditor, AnOutOfRangeFieldKeepsItsRestoreTargetAtOpening) {
    h->gauge->editor().openPanel();
    ui().AlarmH.setText("1E+39");
    h->gauge->editor().openPanel();
    ui().OKAl.onClick(); // out of order: every field goes back to its restore target
    EXPECT_EQ(ui().AlarmH.text(), "80");
}

} // namespace
} // namespace merv::test
