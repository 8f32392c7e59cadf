#include "TestSite.h"

#include <mervgauge/layout/OrnamentPicture.h>

#include <gtest/gtest.h>

namespace merv::test {
namespace {

std::vector<std::string> names(const Container& c) {
    std::vector<std::string> out;
    for (const Element* e : c.children())
        out.push_back(e->name());
    return out;
}

TEST(SurfaceLayout, ContainersHoldTheirElementsFrontToBack) {
    auto h = Hosted::fresh();
    EXPECT_EQ(names(h->ui().userControl),
              (std::vector<std::string>{
                  "SfondoAl", "OKAl", "Sfondo", "Valore", "Prec", "EngineeringUnit", "InitTimer",
                  "Variabile", "Val", "AltoDx", "AltoSx", "Image3", "Image2", "Shape1", "Shape2"}));
    EXPECT_EQ(names(h->ui().SfondoAl),
              (std::vector<std::string>{"AlarmL", "AlarmH", "WarningL", "WarningH", "AH", "WH",
                                        "AL", "WL"}));
    EXPECT_EQ(names(h->ui().Sfondo),
              (std::vector<std::string>{"Minimo", "Massimo", "Venti", "Quaranta", "Sessanta",
                                        "Ottanta", "Centro", "LineValore"}));
}

TEST(SurfaceLayout, StartsWithThePanelAndStorageFieldsHidden) {
    auto h = Hosted::fresh();
    for (const char* hidden : {"SfondoAl", "OKAl", "Valore", "Prec", "EngineeringUnit"})
        EXPECT_FALSE(h->gauge->elements().find(hidden)->visible()) << hidden;
    // The panel's own elements are marked visible and show with it.
    EXPECT_TRUE(h->ui().AlarmH.visible());
    EXPECT_FALSE(h->ui().AlarmH.shown());
}

TEST(SurfaceLayout, WindowedElementsStayInFrontOfWindowlessOnes) {
    auto h = Hosted::fresh();
    h->ui().Shape1.zOrder(0);
    h->ui().Sfondo.zOrder(1);
    const auto order = names(h->ui().userControl);
    EXPECT_EQ(order.front(), "SfondoAl");
    EXPECT_EQ(order[5], "Sfondo"); // the back of the windowed layer
    EXPECT_EQ(order[6], "Shape1"); // the front of the windowless one
}

TEST(SurfaceLayout, TheFocusOrderWalksThresholdsThenOk) {
    auto h = Hosted::restored();
    h->gauge->editor().openPanel();
    std::vector<std::string> order;
    const Element* at = &h->ui().AlarmH;
    for (int i = 0; i < 4; ++i) {
        at = h->gauge->elements().nextInFocusOrder(at);
        order.push_back(at->name());
    }
    EXPECT_EQ(order, (std::vector<std::string>{"WarningH", "WarningL", "AlarmL", "OKAl"}));
}

TEST(SurfaceLayout, TheFiveImagesShowOneTransparentOrnament) {
    auto h = Hosted::fresh();
    const auto picture = ornamentPicture();
    for (const char* image : {"Centro", "AltoDx", "AltoSx", "Image2", "Image3"}) {
        const auto& e = static_cast<const Image&>(*h->gauge->elements().find(image));
        EXPECT_EQ(e.picture().data(), picture.data()) << image;
        EXPECT_TRUE(e.stretch());
    }
}

} // namespace
} // namespace merv::test
