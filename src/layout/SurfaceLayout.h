#pragma once

#include <mervgauge/platform/CommandButton.h>
#include <mervgauge/platform/ElementTree.h>
#include <mervgauge/platform/Image.h>
#include <mervgauge/platform/Label.h>
#include <mervgauge/platform/Line.h>
#include <mervgauge/platform/PictureBox.h>
#include <mervgauge/platform/Shape.h>
#include <mervgauge/platform/TextField.h>
#include <mervgauge/platform/Timer.h>

namespace merv {

// Fixed geometry of the gauge's surface.
namespace Layout {
// Twips per pixel: every position in the layout assumes this ratio.
inline constexpr int TwipsPerPixel = 15;
// The control's fixed extent in twips, forced at every resize.
inline constexpr int ControlWidth = 2555;
inline constexpr int ControlHeight = 2205;
// The design client area the layout was made in.
inline constexpr int DesignWidth = 2550;
inline constexpr int DesignHeight = 2205;
// The dial face's drawing area in pixels (2475 x 1320 twips).
inline constexpr int DialSurfaceWidth = 165;
inline constexpr int DialSurfaceHeight = 88;
// The interval InitTimer is created with, in milliseconds.
inline constexpr int InitTimerInterval = 100;
} // namespace Layout

// The control's child elements, by the names the control's code uses for them.
struct GaugeElements {
    UserControl& userControl; // the control's own surface
    PictureBox& SfondoAl;
    CommandButton& OKAl;
    PictureBox& Sfondo;
    TextField& Valore;
    TextField& Prec;
    TextField& EngineeringUnit;
    Timer& InitTimer;
    Label& Variabile;
    Label& Val;
    Image& AltoDx;
    Image& AltoSx;
    Image& Image3;
    Image& Image2;
    Shape& Shape1;
    Shape& Shape2;
    // In SfondoAl, the threshold editor panel.
    TextField& AlarmL;
    TextField& AlarmH;
    TextField& WarningL;
    TextField& WarningH;
    Label& AH;
    Label& WH;
    Label& AL;
    Label& WL;
    // In Sfondo, the dial face.
    Label& Minimo;
    Label& Massimo;
    Label& Venti;
    Label& Quaranta;
    Label& Sessanta;
    Label& Ottanta;
    Image& Centro;
    Line& LineValore;
};

// Creates every element of the gauge in its container and stacking order, with its place,
// design-time colours, fonts, captions and visibility.
GaugeElements buildGaugeSurface(ElementTree& tree);

} // namespace merv
