#pragma once

#include <mervgauge/platform/CommonDialog.h>
#include <mervgauge/platform/ElementTree.h>
#include <mervgauge/platform/Label.h>
#include <mervgauge/platform/PictureBox.h>
#include <mervgauge/platform/TabControl.h>
#include <mervgauge/platform/TextField.h>

namespace merv {

// Fixed geometry of the property page, in twips.
namespace PageLayout {
// The page's client area.
inline constexpr int PageWidth = 5625;
inline constexpr int PageHeight = 2685;
// The tabs of SSTab1, in order.
inline constexpr int TabCount = 3;
inline constexpr int VariableTab = 0;
inline constexpr int AlarmTab = 1;
inline constexpr int ColorTab = 2;
} // namespace PageLayout

// The page's elements, by the names the page's code uses for them. All but SSTab1 stand on
// one of its tabs.
struct PageElements {
    UserControl& page; // the page's own surface
    TabControl& SSTab1;
    // Tab 0: the variable definition.
    Label& lblVariableName;
    TextField& txtVariableName;
    Label& lblEngUnit;
    TextField& txtEngUnit;
    Label& lblMaxValue;
    TextField& txtMaxValue;
    Label& lblMinValue;
    TextField& txtMinValue;
    Label& lblPrecision;
    TextField& txtPrecision;
    // Tab 1: the alarm and warning thresholds.
    Label& lblAlarmHigh;
    TextField& txtAlarmHigh;
    Label& lblWarningHigh;
    TextField& txtWarningHigh;
    Label& lblWarningLow;
    TextField& txtWarningLow;
    Label& lblAlarmLow;
    TextField& txtAlarmLow;
    // Tab 2: the colour swatches with their labels, and the one colour dialog.
    Label& Text;
    PictureBox& TC;
    Label& Label1;
    PictureBox& BC;
    Label& Label2;
    PictureBox& BCG;
    Label& Label3;
    PictureBox& BCT;
    Label& Label4;
    PictureBox& AC;
    Label& Label5;
    PictureBox& WC;
    Label& Label6;
    PictureBox& NC;
    CommonDialog& SceltaFontColor;
};

// Creates every element of the page at its place and tab, with its focus order and design
// captions; SSTab1 shows tab 0.
PageElements buildPropertyPage(ElementTree& tree);

} // namespace merv
