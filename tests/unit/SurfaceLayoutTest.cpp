#include "TestSite.h"

#include "editor/OrnamentPicture.h"
#include "platform/HitTest.h"

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
    h->gauge->editor().OpenPanel();
    std::vector<std::string> order;
    const Element* at = &h->ui().AlarmH;
    for (int i = 0; i < 4; ++i) {
        at = h->gauge->elements().nextInFocusOrder(at);
        order.push_back(at->name());
    }
    EXPECT_EQ(order, (std::vector<std::string>{"WarningH", "WarningL", "AlarmL", "OKAl"}));
}

TEST(HitTest, AClickReachesTheFrontmostElementTakingMouseInput) {
    auto h = Hosted::restored();
    const Container& control = h->ui().userControl;
    struct Row {
        int xPixel, yPixel;
        const char* expected;
    };
    const Row closed[] = {
        {83, 16 + 78, "Centro"}, // the hub over the needle and the face
        {51, 16 + 78, "Sfondo"}, // the needle takes no mouse input
        {30, 16 + 72, "Minimo"}, // a scale label on the face
        {100, 118, "Variabile"}, // on the white band
        {5, 110, "UserControl"}, // a shape takes no mouse input
        {10, 10, "AltoSx"},      // a corner ornament
    };
    for (const Row& row : closed) {
        const Element* e = elementAt(control, row.xPixel * 15, row.yPixel * 15);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->name(), row.expected) << row.xPixel << "," << row.yPixel;
    }
    h->gauge->editor().OpenPanel();
    EXPECT_EQ(elementAt(control, 55 * 15, 39 * 15)->name(), "SfondoAl"); // between its rows
    EXPECT_EQ(elementAt(control, 83 * 15, (16 + 78) * 15)->name(), "AL");
    EXPECT_EQ(elementAt(control, 1 * 15, 50 * 15)->name(), "Sfondo"); // its one uncovered column
    EXPECT_EQ(elementAt(control, 120 * 15, 18 * 15)->name(), "AlarmH");
    EXPECT_EQ(elementAt(control, 5000, 100), nullptr);
}

// Decodes a GIF's first image into palette indexes; empty when the data is malformed.
std::vector<std::uint8_t> decodeGif(std::span<const std::uint8_t> d, int& width, int& height,
                                    int& transparent) {
    if (d.size() < 13 || std::string(d.begin(), d.begin() + 6) != "GIF89a")
        return {};
    width = d[6] | d[7] << 8;
    height = d[8] | d[9] << 8;
    std::size_t p = 13 + ((d[10] & 0x80) ? 3u * (2u << (d[10] & 7)) : 0u);
    transparent = -1;
    while (p < d.size() && d[p] == 0x21) {
        if (d[p + 1] == 0xF9 && (d[p + 3] & 1))
            transparent = d[p + 6];
        for (p += 2; p < d.size() && d[p]; p += d[p] + 1u) {
        }
        ++p;
    }
    if (p + 11 > d.size() || d[p] != 0x2C)
        return {};
    p += 10;
    const int minCode = d[p++];
    std::vector<std::uint8_t> data;
    for (; p < d.size() && d[p]; p += d[p] + 1u)
        data.insert(data.end(), d.begin() + long(p) + 1, d.begin() + long(p) + 1 + d[p]);
    const int clear = 1 << minCode, end = clear + 1;
    std::vector<std::vector<std::uint8_t>> table;
    int bits = minCode + 1, prev = -1;
    auto reset = [&] {
        table.assign(std::size_t(clear + 2), {});
        for (int i = 0; i < clear; ++i)
            table[std::size_t(i)] = {std::uint8_t(i)};
        bits = minCode + 1;
        prev = -1;
    };
    reset();
    std::vector<std::uint8_t> out;
    std::uint32_t acc = 0;
    int have = 0;
    for (std::uint8_t byte : data) {
        acc |= std::uint32_t(byte) << have;
        for (have += 8; have >= bits; have -= bits, acc >>= bits) {
            const int code = int(acc & ((1u << bits) - 1));
            if (code == clear) {
                reset();
                continue;
            }
            if (code == end)
                return out;
            std::vector<std::uint8_t> entry =
                code < int(table.size()) ? table[std::size_t(code)] : table[std::size_t(prev)];
            if (code >= int(table.size()))
                entry.push_back(entry.front());
            out.insert(out.end(), entry.begin(), entry.end());
            if (prev >= 0) {
                auto grown = table[std::size_t(prev)];
                grown.push_back(entry.front());
                table.push_back(grown);
            }
            prev = code;
            if (int(table.size()) == (1 << bits) && bits < 12)
                ++bits;
        }
    }
    return out;
}

TEST(SurfaceLayout, TheFiveImagesShowOneTransparentOrnament) {
    auto h = Hosted::fresh();
    const auto picture = ornamentPicture();
    for (const char* image : {"Centro", "AltoDx", "AltoSx", "Image2", "Image3"}) {
        const auto& e = static_cast<const Image&>(*h->gauge->elements().find(image));
        EXPECT_EQ(e.picture().data(), picture.data()) << image;
        EXPECT_TRUE(e.stretch());
    }
    int width = 0, height = 0, transparent = 0;
    const auto pixels = decodeGif(picture, width, height, transparent);
    EXPECT_EQ(width, 36);
    EXPECT_EQ(height, 36);
    EXPECT_EQ(picture[10], 0xF7); // a global palette of 256 entries
    const std::size_t white = 13 + 3 * 245;
    EXPECT_EQ((std::array{picture[white], picture[white + 1], picture[white + 2]}),
              (std::array<std::uint8_t, 3>{255, 255, 255}));
    EXPECT_EQ(transparent, 245);
    ASSERT_EQ(pixels.size(), 36u * 36u);
    EXPECT_EQ(pixels[0], 245);            // a transparent corner
    EXPECT_NE(pixels[18 * 36 + 10], 245); // the rivet's body
}

} // namespace
} // namespace merv::test
