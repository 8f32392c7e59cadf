#pragma once

#include <mervgauge/dial/DialFace.h>
#include <mervgauge/editor/ThresholdEditor.h>
#include <mervgauge/layout/SurfaceLayout.h>
#include <mervgauge/platform/ContainerSite.h>
#include <mervgauge/platform/ElementTree.h>
#include <mervgauge/platform/PropertyBag.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace merv {

// The analog gauge control. Most property values live as the text or caption of a child
// element and are converted again at every use; only the colours, the status flags and two
// internal flags are fields. All calls arrive on the host's one user-interface thread.
class MERV_Gauge {
public:
    explicit MERV_Gauge(ContainerSite& site);
    ~MERV_Gauge();
    MERV_Gauge(const MERV_Gauge&) = delete;
    MERV_Gauge& operator=(const MERV_Gauge&) = delete;

    // Lifecycle handlers, run by the host.
    void Initialize();
    void InitProperties();
    void ReadProperties(PropertyBag& bag);
    void WriteProperties(PropertyBag& bag);
    void Resize();
    void AmbientChanged(std::string_view propertyName);
    void Terminate();

    // Properties. Setters and getters throw RuntimeError; colour getters redraw the face.
    std::string VariableName() const;
    void setVariableName(std::string vNewName);
    std::string EngUnit() const;
    void setEngUnit(std::string vNewEngUnit);
    std::int16_t Precision() const;
    void setPrecision(std::int16_t vNewPrec);

    bool AlarmHighStatus() const noexcept { return m_AlarmHighStatus; }
    bool AlarmLowStatus() const noexcept { return m_AlarmLowStatus; }
    bool WarningHighStatus() const noexcept { return m_WarningHighStatus; }
    bool WarningLowStatus() const noexcept { return m_WarningLowStatus; }
    // The status properties are read-only: every write fails.
    [[noreturn]] void setAlarmHighStatus(bool vNewAlmHigh);
    [[noreturn]] void setAlarmLowStatus(bool vNewAlmLow);
    [[noreturn]] void setWarningHighStatus(bool vNewWngHigh);
    [[noreturn]] void setWarningLowStatus(bool vNewWngLow);

    float AlarmHighVal() const;
    void setAlarmHighVal(float vNewAlarmHigh);
    float AlarmLowVal() const;
    void setAlarmLowVal(float vNewAlarmLow);
    float WarningHighVal() const;
    void setWarningHighVal(float vNewWarnHigh);
    float WarningLowVal() const;
    void setWarningLowVal(float vNewWarnLow);
    float Value() const;
    void setValue(float vNewValue);
    float MinValue() const;
    void setMinValue(float vNewMinValue);
    float MaxValue() const;
    void setMaxValue(float vNewMaxValue);

    std::uint32_t BackColorText();
    void setBackColorText(std::uint32_t nNewVal);
    std::uint32_t BackColorGraphic();
    void setBackColorGraphic(std::uint32_t nNewVal);
    std::uint32_t TextColor();
    void setTextColor(std::uint32_t nNewVal);
    std::uint32_t BordersColor();
    void setBordersColor(std::uint32_t nNewVal);
    std::uint32_t NormalColor();
    void setNormalColor(std::uint32_t nNewVal);
    std::uint32_t WarningColor();
    void setWarningColor(std::uint32_t nNewVal);
    std::uint32_t AlarmColor();
    void setAlarmColor(std::uint32_t nNewVal);

    // The value display update: caption, alarm evaluation, needle.
    void UpdateValue();
    // A value as the value display would caption it now: at the gauge's precision, in the
    // user's locale, with its unit ("31.6 bar"). Throws RuntimeError where the caption step of
    // UpdateValue would.
    std::string valueCaption(float value) const;
    // The face redraw, run by the InitTimer tick and directly by the colour accessors.
    void InitTimer_Timer();

    // The child elements, for hosts and views.
    ElementTree& elements() noexcept { return m_tree; }
    const ElementTree& elements() const noexcept { return m_tree; }
    const GaugeElements& ui() const noexcept { return m_ui; }

    bool designMode() const noexcept { return m_DesignMode; }
    bool loaded() const noexcept { return m_Loaded; }
    const DialFace& face() const noexcept { return m_face; }
    ThresholdEditor& editor() noexcept { return m_editor; }
    const ThresholdEditor& editor() const noexcept { return m_editor; }
    // The threshold snapshots the alarm evaluation reads.
    const std::string& alarmHighSnapshot() const noexcept { return m_AlarmHighText; }
    const std::string& alarmLowSnapshot() const noexcept { return m_AlarmLowText; }
    const std::string& warningHighSnapshot() const noexcept { return m_WarningHighText; }
    const std::string& warningLowSnapshot() const noexcept { return m_WarningLowText; }

private:
    // Our helpers, the colour and threshold tables and the parsed-number caches; defined in
    // control/GaugeImpl.h, seen by the control's sources only.
    struct Impl;

    void CheckDesignMode();
    void EnsureDesignTime() const;
    void loadEditorCaptions();

    ContainerSite& m_site;
    ElementTree m_tree;
    GaugeElements m_ui;
    DialFace m_face;
    ThresholdEditor m_editor;
    std::unique_ptr<Impl> m_impl;

    std::string m_WarningHighText, m_WarningLowText, m_AlarmHighText, m_AlarmLowText;
    bool m_Loaded = false;
    bool m_DesignMode = false;
    bool m_AlarmHighStatus = false, m_AlarmLowStatus = false;
    bool m_WarningHighStatus = false, m_WarningLowStatus = false;
    std::uint32_t m_AlarmColor = 0, m_WarningColor = 0, m_NormalColor = 0, m_BordersColor = 0,
                  m_TextColor = 0, m_BackColorGraphic = 0, m_BackColorText = 0;
};

} // namespace merv
