// What views are told: exactly the real changes, in order, to every observer.
#include "TestSite.h"

#include <mervgauge/platform/Keyboard.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace merv::test {
namespace {

// Writes each notice as "Element change" or, for a surface, "Element surface x,y wxh".
class Recorder : public ElementObserver {
public:
    std::vector<std::string> notices;

    void elementChanged(const ElementNotice& notice) override {
        std::string line = notice.element->name() + " " + changeName(notice.change);
        if (notice.change == ElementChange::Surface) {
            const PixelRect& r = notice.dirty;
            line += " " + std::to_string(r.left) + "," + std::to_string(r.top) + " " +
                    std::to_string(r.width) + "x" + std::to_string(r.height);
        }
        notices.push_back(line);
    }
    std::vector<std::string> take() { return std::exchange(notices, {}); }
};

using Lines = std::vector<std::string>;

class ElementObserver : public ::testing::Test {
protected:
    std::unique_ptr<Hosted> h = Hosted::restored();
    Recorder recorder;
    const GaugeElements& ui() const { return h->ui(); }

    void SetUp() override {
        // The first value write brings the hub and needle in front of the labels; start after.
        h->gauge->setValue(1);
        h->gauge->elements().addObserver(recorder);
    }
    void TearDown() override { h->gauge->elements().removeObserver(recorder); }
};

TEST_F(ElementObserver, AValueWriteTellsTheFieldTheCaptionAndTheNeedleOnly) {
    h->gauge->setValue(50);
    EXPECT_EQ(recorder.take(),
              (Lines{"Valore text", "Val caption", "LineValore points", "LineValore points"}));
}

TEST_F(ElementObserver, AValueWriteThatChangesNothingVisibleTellsOnlyTheStoringField) {
    h->gauge->setValue(1.0f); // the same text: nothing at all
    EXPECT_EQ(recorder.take(), Lines{});
    h->gauge->setValue(1.2f); // shown as "1" at precision 0, the needle stays where it was
    EXPECT_EQ(recorder.take(), Lines{"Valore text"});
}

TEST_F(ElementObserver, ARedrawWithTheSamePixelsTellsNothing) {
    h->gauge->InitTimer_Timer();
    EXPECT_EQ(recorder.take(), Lines{});
}

TEST_F(ElementObserver, ARedrawOfNewBandsTellsTheSurfaceOnceWithItsDirtyRectangle) {
    h->gauge->setAlarmHighVal(90); // only schedules the redraw
    EXPECT_EQ(recorder.take(), Lines{"AlarmH text"});
    ui().InitTimer.tick();
    // The high alarm band narrows from 0-36 to 0-18 degrees: only the right of the ring moves.
    const Lines told = recorder.take();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].rfind("Sfondo surface ", 0), 0u) << told[0];
    EXPECT_NE(told[0], "Sfondo surface 0,0 165x88") << "the whole face was reported";
}

TEST_F(ElementObserver, TheDirtyRectangleHoldsExactlyTheChangedPixels) {
    std::vector<std::uint32_t> before = ui().Sfondo.surface().pixels();
    h->gauge->setAlarmHighVal(90);
    recorder.take();
    ui().InitTimer.tick();
    const std::vector<std::uint32_t>& after = ui().Sfondo.surface().pixels();
    int left = 165, top = 88, right = -1, bottom = -1;
    for (int y = 0; y < 88; ++y)
        for (int x = 0; x < 165; ++x)
            if (before[std::size_t(y * 165 + x)] != after[std::size_t(y * 165 + x)]) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, 0);
    const std::string expected = "Sfondo surface " + std::to_string(left) + "," +
                                 std::to_string(top) + " " + std::to_string(right - left + 1) +
                                 "x" + std::to_string(bottom - top + 1);
    EXPECT_EQ(recorder.take(), Lines{expected});
}

TEST_F(ElementObserver, AViewThatStartsAfterUnwatchedRedrawsIsToldOnlyLaterChanges) {
    h->gauge->elements().removeObserver(recorder);
    h->gauge->setAlarmHighVal(90);
    ui().InitTimer.tick(); // new bands, and nobody to tell
    h->gauge->elements().addObserver(recorder);
    ui().InitTimer.tick();
    EXPECT_EQ(recorder.take(), Lines{}) << "the view painted these pixels when it started";
    h->gauge->setAlarmHighVal(80);
    ui().InitTimer.tick();
    const Lines told = recorder.take();
    ASSERT_EQ(told.size(), 2u);
    EXPECT_EQ(told[0], "AlarmH text");
    EXPECT_EQ(told[1].rfind("Sfondo surface ", 0), 0u) << told[1];
    EXPECT_NE(told[1], "Sfondo surface 0,0 165x88") << "the whole face was reported";
}

TEST_F(ElementObserver, OpeningAndClosingTheEditorTellsEveryVisibleAndFocusChange) {
    ui().Sfondo.onDblClick();
    EXPECT_EQ(recorder.take(),
              (Lines{"SfondoAl visible", "OKAl visible", "LineValore visible", "Centro visible",
                     "AlarmH focus", "AlarmH selection", "AlarmH selection"}));
    ui().OKAl.setFocus(); // AlarmH loses the focus and is told so
    EXPECT_EQ(recorder.take(), (Lines{"AlarmH focus", "OKAl focus"}));
    ui().OKAl.onClick();
    // The cleared ring: outer radius 77 with its 2-pixel pen around the centre (83, 78).
    EXPECT_EQ(recorder.take(), (Lines{"OKAl visible", "Sfondo surface 5,0 156x79",
                                      "LineValore visible", "Centro visible", "SfondoAl visible"}));
    ui().InitTimer.tick(); // the bands come back as they were
    EXPECT_EQ(recorder.take(), Lines{"Sfondo surface 5,0 156x79"});
}

TEST_F(ElementObserver, AColourWriteTellsItsElementsAndTheRedrawnBands) {
    h->site.userMode = false; // colours are written at design time
    h->gauge->setAlarmColor(0x00FF00FFu);
    EXPECT_EQ(recorder.take(),
              // Both alarm bands: from the left end up to the high alarm band's top at 36 degrees.
              (Lines{"Sfondo surface 5,32 156x47", "AH forecolor", "AlarmH forecolor",
                     "AL forecolor", "AlarmL forecolor"}));
    h->gauge->setAlarmColor(0x00FF00FFu); // the same colour again: redrawn, nothing changed
    EXPECT_EQ(recorder.take(), Lines{});
}

TEST_F(ElementObserver, EveryObserverIsToldAndARemovedOneNoLonger) {
    Recorder second;
    h->gauge->elements().addObserver(second);
    ui().Variabile.setCaption("Flow");
    h->gauge->elements().removeObserver(recorder);
    ui().Variabile.setCaption("Level");
    EXPECT_EQ(recorder.take(), Lines{"Variabile caption"});
    EXPECT_EQ(second.take(), (Lines{"Variabile caption", "Variabile caption"}));
    h->gauge->elements().removeObserver(second);
    h->gauge->elements().addObserver(recorder); // for TearDown
}

// Removes itself from the tree while it is being told.
class LeavesOnFirstNotice : public merv::ElementObserver {
public:
    explicit LeavesOnFirstNotice(ElementTree& tree) : m_tree(tree) {}
    int told = 0;
    void elementChanged(const ElementNotice&) override {
        ++told;
        m_tree.removeObserver(*this);
    }

private:
    ElementTree& m_tree;
};

TEST_F(ElementObserver, AnObserverMayLeaveWhileBeingToldAndTheOthersStillHear) {
    LeavesOnFirstNotice leaving(h->gauge->elements());
    h->gauge->elements().removeObserver(recorder);
    h->gauge->elements().addObserver(leaving);
    h->gauge->elements().addObserver(recorder);
    ui().Variabile.setCaption("Flow");
    ui().Variabile.setCaption("Level");
    EXPECT_EQ(leaving.told, 1);
    EXPECT_EQ(recorder.take(), (Lines{"Variabile caption", "Variabile caption"}));
}

struct SetterCase {
    const char* name;
    std::function<void(const GaugeElements&)> change;
    const char* told; // empty: nothing
};

TEST_F(ElementObserver, EverySetterTellsARealChangeAndNothingForTheSameValue) {
    const SetterCase cases[] = {
        {"bounds",
         [](auto& ui) {
             ui.Val.setBounds({1, 2, 3, 4});
         },
         "Val bounds"},
        {"same bounds", [](auto& ui) { ui.Val.setBounds(ui.Val.bounds()); }, ""},
        {"font", [](auto& ui) { ui.Val.setFont(Font{"Courier"}); }, "Val font"},
        {"same font", [](auto& ui) { ui.Val.setFont(ui.Val.font()); }, ""},
        {"alignment", [](auto& ui) { ui.Val.setAlignment(Alignment::Left); }, "Val alignment"},
        {"line colour", [](auto& ui) { ui.LineValore.setBorderColor(1); },
         "LineValore bordercolor"},
        {"shape back colour", [](auto& ui) { ui.Shape1.setBackColor(1); }, "Shape1 backcolor"},
        {"shape fill style", [](auto& ui) { ui.Shape1.setSolidFill(false); }, "Shape1 fillstyle"},
        {"picture box fore colour", [](auto& ui) { ui.Sfondo.setForeColor(1); },
         "Sfondo forecolor"},
        {"image stretch", [](auto& ui) { ui.Centro.setStretch(false); }, "Centro picture"},
        {"image picture", [](auto& ui) { ui.Centro.setPicture({}); }, "Centro picture"},
        {"same picture", [](auto& ui) { ui.AltoSx.setPicture(ui.AltoDx.picture()); }, ""},
        {"stacking already in front", [](auto& ui) { ui.Centro.zOrder(0); }, ""},
        {"stacking to the back", [](auto& ui) { ui.Centro.zOrder(1); }, "Centro stacking"},
        {"selection unchanged", [](auto& ui) { ui.AlarmH.setSelStart(ui.AlarmH.selStart()); }, ""},
        {"a present with nothing drawn", [](auto& ui) { ui.Sfondo.refresh(); }, ""},
    };
    for (const SetterCase& c : cases) {
        c.change(ui());
        const Lines expected = *c.told ? Lines{c.told} : Lines{};
        EXPECT_EQ(recorder.take(), expected) << c.name;
    }
}

TEST_F(ElementObserver, StackingThatEndsWhereItStartedTellsNothingWhenHeldBack) {
    {
        ElementTree::DeferredNotices held(h->gauge->elements());
        ui().LineValore.zOrder(1);
        ui().LineValore.zOrder(0);
        ui().Centro.zOrder(0);
        EXPECT_EQ(recorder.take(), Lines{});
    }
    EXPECT_EQ(recorder.take(), Lines{});
    {
        ElementTree::DeferredNotices held(h->gauge->elements());
        ui().Centro.zOrder(1);
    }
    // Every child whose place changed: the hub went behind the needle and the labels.
    const Lines told = recorder.take();
    EXPECT_FALSE(told.empty());
    for (const std::string& line : told)
        EXPECT_NE(line.find(" stacking"), std::string::npos) << line;
}

TEST_F(ElementObserver, AViewThatStartsDuringAHoldIsToldTheRestackingSinceItStarted) {
    h->gauge->elements().removeObserver(recorder);
    {
        ElementTree::DeferredNotices held(h->gauge->elements());
        ui().Centro.zOrder(1); // unwatched: the view will paint the hub at the back
        h->gauge->elements().addObserver(recorder);
        ui().Centro.zOrder(0); // back in front, where it stood before the hold
    }
    const Lines told = recorder.take();
    EXPECT_NE(std::find(told.begin(), told.end(), "Centro stacking"), told.end());
}

// Holds notices back and restacks the needle while it is told of held-back stacking.
class RestacksWhenTold : public merv::ElementObserver {
public:
    RestacksWhenTold(ElementTree& tree, const GaugeElements& ui) : m_tree(tree), m_ui(ui) {}
    void elementChanged(const ElementNotice& notice) override {
        if (notice.change != ElementChange::Stacking || m_done)
            return;
        m_done = true;
        ElementTree::DeferredNotices held(m_tree);
        m_ui.LineValore.zOrder(1);
    }

private:
    ElementTree& m_tree;
    const GaugeElements& m_ui;
    bool m_done = false;
};

TEST_F(ElementObserver, AViewMayHoldNoticesBackWhileHeldBackOnesAreTold) {
    RestacksWhenTold view(h->gauge->elements(), ui());
    h->gauge->elements().addObserver(view);
    {
        ElementTree::DeferredNotices held(h->gauge->elements());
        ui().Centro.zOrder(1);
    }
    h->gauge->elements().removeObserver(view);
    const Lines told = recorder.take();
    EXPECT_NE(std::find(told.begin(), told.end(), "Centro stacking"), told.end());
    EXPECT_NE(std::find(told.begin(), told.end(), "LineValore stacking"), told.end())
        << "the view's own restacking is told when its hold ends";
    // Holding back works as before afterwards: moves that undo each other tell nothing.
    {
        ElementTree::DeferredNotices held(h->gauge->elements());
        ui().Centro.zOrder(0);
        ui().Centro.zOrder(1);
        ui().LineValore.zOrder(1);
    }
    EXPECT_EQ(recorder.take(), Lines{});
}

} // namespace
} // namespace merv::test
