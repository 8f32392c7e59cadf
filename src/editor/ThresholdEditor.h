#pragma once

#include <mervgauge/layout/SurfaceLayout.h>
#include <mervgauge/platform/ContainerSite.h>

namespace merv {

// The run-time threshold editor: a double-click on the dial opens a panel over it with the four
// threshold fields, which are the very fields that store the thresholds. OK accepts thresholds
// in order within the scale and has the face redrawn; otherwise all four go back to the values
// they had when the panel was opened. There is no cancel and no message.
class ThresholdEditor {
public:
    // Wires the handlers of the elements it owns the behaviour of.
    ThresholdEditor(const GaugeElements& ui, const ContainerSite& site);

    // The one opening procedure behind all nine double-click sources.
    void openPanel();
    void OKAl_Click();

    bool isOpen() const noexcept;

private:
    void field_KeyPress(TextField& field, int keyAscii);
    void field_Change(TextField& field, const float& saved);
    // Captures a field's number; one that does not fit a single keeps what it had.
    void capture(const TextField& field, float& saved) const;
    bool thresholdsInOrder() const;
    void restoreFields();

    const GaugeElements& m_ui;
    const ContainerSite& m_site;
    // The numbers the fields held when the panel was last opened; 0 until then.
    float m_SavedAlarmHigh = 0;
    float m_SavedAlarmLow = 0;
    float m_SavedWarningHigh = 0;
    float m_SavedWarningLow = 0;
};

} // namespace merv
