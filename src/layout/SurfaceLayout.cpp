#include <mervgauge/layout/SurfaceLayout.h>

#include <mervgauge/layout/OrnamentPicture.h>

namespace merv {

namespace {

// Colours the layout gives its elements.
constexpr std::uint32_t LightGrey = 0xC0C0C0u;
constexpr std::uint32_t White = 0xFFFFFFu;
constexpr std::uint32_t Black = 0x000000u;
constexpr std::uint32_t Red = 0x0000FFu;
constexpr std::uint32_t Yellow = 0x00FFFFu;
constexpr std::uint32_t Blue = 0xFF0000u;
constexpr std::uint32_t WindowText = 0x80000008u; // the host's window-text system colour

template <typename T>
T& place(T& element, TwipsRect bounds, int tabIndex = -1, bool visible = true) {
    element.setBounds(bounds);
    element.setTabIndex(tabIndex);
    element.setVisible(visible);
    return element;
}

Label& label(ElementTree& tree, Container& in, const char* name, TwipsRect bounds,
             const char* caption, std::uint32_t fore, Alignment alignment, int tabIndex) {
    Label& l = place(tree.create<Label>(name, &in), bounds, tabIndex);
    l.setCaption(caption);
    l.setForeColor(fore);
    l.setAlignment(alignment);
    l.setFont(Font{});
    return l;
}

TextField& thresholdField(ElementTree& tree, Container& in, const char* name, TwipsRect bounds,
                          const char* text, std::uint32_t fore, int tabIndex) {
    TextField& f = place(tree.create<TextField>(name, &in), bounds, tabIndex);
    f.setText(text);
    f.setBackColor(LightGrey);
    f.setForeColor(fore);
    f.setFont(Font{});
    return f;
}

TextField& storageField(ElementTree& tree, Container& in, const char* name, TwipsRect bounds,
                        const char* text, int tabIndex) {
    TextField& f = place(tree.create<TextField>(name, &in), bounds, tabIndex, false);
    f.setText(text);
    return f;
}

Image& ornament(ElementTree& tree, Container& in, const char* name, TwipsRect bounds) {
    Image& i = place(tree.create<Image>(name, &in), bounds);
    i.setPicture(ornamentPicture());
    i.setStretch(true);
    return i;
}

PictureBox& pictureBox(ElementTree& tree, Container& in, const char* name, TwipsRect bounds,
                       int tabIndex, bool visible) {
    PictureBox& p = place(tree.create<PictureBox>(name, &in), bounds, tabIndex, visible);
    p.setBackColor(LightGrey);
    p.setForeColor(WindowText);
    return p;
}

} // namespace

GaugeElements buildGaugeSurface(ElementTree& tree) {
    UserControl& uc = tree.root();
    uc.setBounds({0, 0, Layout::DesignWidth, Layout::DesignHeight});
    uc.setWidth(Layout::DesignWidth);
    uc.setHeight(Layout::DesignHeight);

    // Direct elements, front to back.
    PictureBox& sfondoAl = pictureBox(tree, uc, "SfondoAl", {30, 240, 2490, 1320}, 10, false);
    CommandButton& okAl =
        place(tree.create<CommandButton>("OKAl", &uc), {1980, 1575, 555, 285}, 19, false);
    okAl.setCaption("OK");
    PictureBox& sfondo = pictureBox(tree, uc, "Sfondo", {15, 240, 2475, 1320}, 3, true);
    sfondo.createSurface(Layout::DialSurfaceWidth, Layout::DialSurfaceHeight);
    TextField& valore = storageField(tree, uc, "Valore", {255, 540, 435, 285}, "0", 2);
    TextField& prec = storageField(tree, uc, "Prec", {240, 300, 375, 285}, "0", 1);
    TextField& unit = storageField(tree, uc, "EngineeringUnit", {360, 150, 465, 285}, "EU", 0);
    Timer& timer = tree.create<Timer>("InitTimer", &uc);
    timer.setInterval(Layout::InitTimerInterval);
    Label& variabile = label(tree, uc, "Variabile", {450, 1680, 1635, 180}, "Var", WindowText,
                             Alignment::Center, 21);
    Label& val = label(tree, uc, "Val", {420, 1905, 1695, 255}, "0", Black, Alignment::Center, 20);
    Image& altoDx = ornament(tree, uc, "AltoDx", {2310, 90, 150, 150});
    Image& altoSx = ornament(tree, uc, "AltoSx", {90, 90, 150, 150});
    Image& image3 = ornament(tree, uc, "Image3", {60, 2010, 150, 150});
    Image& image2 = ornament(tree, uc, "Image2", {2340, 2010, 150, 150});
    Shape& shape1 = place(tree.create<Shape>("Shape1", &uc), {0, 1560, 2550, 645});
    shape1.setBackColor(White);
    shape1.setBorderColor(Black);
    shape1.setFillColor(White);
    shape1.setSolidFill(true);
    Shape& shape2 = place(tree.create<Shape>("Shape2", &uc), {0, 0, 2550, 1875});
    shape2.setBorderColor(Black);
    shape2.setFillColor(LightGrey);
    shape2.setSolidFill(true);

    // The threshold editor panel, front to back.
    TextField& alarmL =
        thresholdField(tree, sfondoAl, "AlarmL", {1515, 1020, 795, 285}, "20", Red, 18);
    TextField& alarmH =
        thresholdField(tree, sfondoAl, "AlarmH", {1515, 30, 795, 285}, "80", Red, 15);
    TextField& warningL =
        thresholdField(tree, sfondoAl, "WarningL", {1515, 690, 795, 285}, "35", Yellow, 17);
    TextField& warningH =
        thresholdField(tree, sfondoAl, "WarningH", {1515, 360, 795, 285}, "65", Yellow, 16);
    Label& ah =
        label(tree, sfondoAl, "AH", {105, 60, 1425, 255}, "Alarm high", Red, Alignment::Left, 14);
    Label& wh = label(tree, sfondoAl, "WH", {105, 390, 1425, 255}, "Warning high", Yellow,
                      Alignment::Left, 13);
    Label& al =
        label(tree, sfondoAl, "AL", {105, 1035, 1425, 255}, "Alarm low", Red, Alignment::Left, 12);
    Label& wl = label(tree, sfondoAl, "WL", {105, 720, 1425, 255}, "Warning low", Yellow,
                      Alignment::Left, 11);

    // The dial face, front to back.
    Label& minimo =
        label(tree, sfondo, "Minimo", {330, 1035, 375, 195}, "0", Black, Alignment::Left, 9);
    Label& massimo =
        label(tree, sfondo, "Massimo", {1695, 1035, 495, 195}, "100", Black, Alignment::Right, 8);
    Label& venti =
        label(tree, sfondo, "Venti", {495, 585, 435, 195}, "0000", Black, Alignment::Left, 7);
    Label& quaranta =
        label(tree, sfondo, "Quaranta", {735, 300, 450, 195}, "0000", Black, Alignment::Center, 6);
    Label& sessanta =
        label(tree, sfondo, "Sessanta", {1305, 300, 450, 195}, "0000", Black, Alignment::Center, 5);
    Label& ottanta =
        label(tree, sfondo, "Ottanta", {1575, 585, 435, 195}, "0000", Black, Alignment::Right, 4);
    Image& centro = ornament(tree, sfondo, "Centro", {1095, 1020, 300, 300});
    Line& needle = tree.create<Line>("LineValore", &sfondo);
    // The needle's points are pixels of the dial face: (360, 1170) to (1260, 1170) twips.
    needle.setX1(360.0f / Layout::TwipsPerPixel);
    needle.setY1(1170.0f / Layout::TwipsPerPixel);
    needle.setX2(1260.0f / Layout::TwipsPerPixel);
    needle.setY2(1170.0f / Layout::TwipsPerPixel);
    needle.setBorderColor(Blue);

    return GaugeElements{uc,       sfondoAl,  okAl,   sfondo, valore,   prec,     unit,
                         timer,    variabile, val,    altoDx, altoSx,   image3,   image2,
                         shape1,   shape2,    alarmL, alarmH, warningL, warningH, ah,
                         wh,       al,        wl,     minimo, massimo,  venti,    quaranta,
                         sessanta, ottanta,   centro, needle};
}

} // namespace merv
