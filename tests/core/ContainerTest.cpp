#include <mervgauge/platform/ElementTree.h>
#include <mervgauge/platform/Label.h>
#include <mervgauge/platform/PictureBox.h>
#include <mervgauge/platform/UserControl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace merv::test {
namespace {

// Records every change an element reports, as "name:change".
struct Recorder : ElementObserver {
    std::vector<std::string> log;
    void elementChanged(const ElementNotice& notice) override {
        const ElementChange change = notice.change;
        log.push_back(notice.element->name() + (change == ElementChange::Stacking  ? ":stacking"
                                                : change == ElementChange::Visible ? ":visible"
                                                                                   : ":other"));
    }
};

struct Stack {
    ElementTree tree;
    Container& control = tree.root();
    Label& label1 = tree.create<Label>("Label1", &control);
    PictureBox& picture = tree.create<PictureBox>("Picture1", &control);
    Label& label2 = tree.create<Label>("Label2", &control);
    Label& inner = tree.create<Label>("Inner", &picture);
    Recorder recorder;

    Stack() { tree.addObserver(recorder); }

    std::vector<std::string> order() const {
        std::vector<std::string> names;
        for (const Element* e : control.children())
            names.push_back(e->name());
        return names;
    }
};

TEST(Container, WindowedChildrenStandInFrontOfWindowlessOnesWhateverTheOrderAdded) {
    Stack s;
    EXPECT_EQ(s.order(), (std::vector<std::string>{"Picture1", "Label1", "Label2"}));
    EXPECT_EQ(s.picture.children(), (std::vector<Element*>{&s.inner}));
}

TEST(Container, ZOrderMovesWithinTheElementsOwnLayerAndReportsOnlyARealMove) {
    struct Row {
        const char* name;
        const char* element;
        int position;
        std::vector<std::string> order;
        bool reported; // a move that changes no order reports nothing
    };
    const Row rows[] = {
        {"a label to the front stays behind the picture",
         "Label2",
         0,
         {"Picture1", "Label2", "Label1"},
         true},
        {"a label to the back", "Label1", 1, {"Picture1", "Label2", "Label1"}, true},
        {"the picture to the back stays before the labels",
         "Picture1",
         1,
         {"Picture1", "Label1", "Label2"},
         false},
    };
    for (const Row& row : rows) {
        Stack s;
        s.tree.find(row.element)->zOrder(row.position);
        EXPECT_EQ(s.order(), row.order) << row.name;
        const std::vector<std::string> expected =
            row.reported ? std::vector<std::string>{std::string(row.element) + ":stacking"}
                         : std::vector<std::string>{};
        EXPECT_EQ(s.recorder.log, expected) << row.name;
    }
}

TEST(Container, MovesKeepEachLayerWholeAndTheOthersInTheirOrder) {
    ElementTree tree;
    Container& control = tree.root();
    tree.create<Label>("Label1", &control);
    tree.create<PictureBox>("Picture1", &control);
    tree.create<Label>("Label2", &control);
    tree.create<PictureBox>("Picture2", &control);
    tree.create<Label>("Label3", &control);
    auto order = [&] {
        std::string names;
        for (const Element* e : control.children())
            names += e->name() + " ";
        return names;
    };
    EXPECT_EQ(order(), "Picture1 Picture2 Label1 Label2 Label3 ");
    tree.find("Picture1")->zOrder(1);
    EXPECT_EQ(order(), "Picture2 Picture1 Label1 Label2 Label3 ");
    tree.find("Picture1")->zOrder(0);
    EXPECT_EQ(order(), "Picture1 Picture2 Label1 Label2 Label3 ");
    tree.find("Label1")->zOrder(1);
    EXPECT_EQ(order(), "Picture1 Picture2 Label2 Label3 Label1 ");
    tree.find("Label1")->zOrder(0);
    EXPECT_EQ(order(), "Picture1 Picture2 Label1 Label2 Label3 ");
    tree.find("Label3")->zOrder(0);
    EXPECT_EQ(order(), "Picture1 Picture2 Label3 Label1 Label2 ");
    tree.create<PictureBox>("Picture3", &control); // behind the windowed ones already there
    EXPECT_EQ(order(), "Picture1 Picture2 Picture3 Label3 Label1 Label2 ");
    tree.find("Picture3")->zOrder(0);
    EXPECT_EQ(order(), "Picture3 Picture1 Picture2 Label3 Label1 Label2 ");
}

} // namespace
} // namespace merv::test
