#pragma once

#include <mervgauge/control/GaugePropertyList.h>
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

    // Properties, one getter and setter pair for each row of control/GaugePropertyList.h.
    // Setters and getters throw RuntimeError; colour getters redraw the face, the status
    // flags are read-only (every write fails).
#define MERV_GAUGE_ACCESSORS_Text(Name)                                                            \
    std::string Name() const;                                                                      \
    void set##Name(std::string value);
#define MERV_GAUGE_ACCESSORS_Integer(Name)                                                         \
    std::int16_t Name() const;                                                                     \
    void set##Name(std::int16_t value);
#define MERV_GAUGE_ACCESSORS_Boolean(Name)                                                         \
    bool Name() const noexcept {                                                                   \
        return m_##Name;                                                                           \
    }                                                                                              \
    [[noreturn]] void set##Name(bool value);
#define MERV_GAUGE_ACCESSORS_Single(Name)                                                          \
    float Name() const;                                                                            \
    void set##Name(float value);
// A colour also reads as stored, without the redraw of its getter, for views that show it.
#define MERV_GAUGE_ACCESSORS_Color(Name)                                                           \
    std::uint32_t Name();                                                                          \
    void set##Name(std::uint32_t value);                                                           \
    std::uint32_t stored##Name() const noexcept {                                                  \
        return m_##Name;                                                                           \
    }
#define MERV_GAUGE_ACCESSORS(Kind, Name, help, browsable, storeOrder, bagDefault, qtColor,         \
                             setQtColor)                                                           \
    MERV_GAUGE_ACCESSORS_##Kind(Name)
    MERV_GAUGE_PROPERTIES(MERV_GAUGE_ACCESSORS)
#undef MERV_GAUGE_ACCESSORS
#undef MERV_GAUGE_ACCESSORS_Text
#undef MERV_GAUGE_ACCESSORS_Integer
#undef MERV_GAUGE_ACCESSORS_Boolean
#undef MERV_GAUGE_ACCESSORS_Single
#undef MERV_GAUGE_ACCESSORS_Color

    // The value display update: caption, alarm evaluation, needle.
    void UpdateValue();
    // A value as the value display would caption it now: at the gauge's precision, in the
    // user's locale, with its unit ("31.6 bar"). Throws RuntimeError where the caption step of
    // UpdateValue would.
    std::string valueCaption(float value) const;
    // The caption the value display shows now, as the last value update left it.
    const std::string& shownValueCaption() const noexcept;
    // The face redraw, run by the InitTimer tick and directly by the colour accessors.
    void InitTimer_Timer();

    // The child elements, for hosts and views.
    ElementTree& elements() noexcept {
        return m_tree;
    }
    const ElementTree& elements() const noexcept {
        return m_tree;
    }
    const GaugeElements& ui() const noexcept {
        return m_ui;
    }

    bool designMode() const noexcept {
        return m_DesignMode;
    }
    bool loaded() const noexcept {
        return m_Loaded;
    }
    const DialFace& face() const noexcept {
        return m_face;
    }
    ThresholdEditor& editor() noexcept {
        return m_editor;
    }
    const ThresholdEditor& editor() const noexcept {
        return m_editor;
    }
    // The threshold snapshots the alarm evaluation reads.
    const std::string& alarmHighSnapshot() const noexcept {
        return m_AlarmHighText;
    }
    const std::string& alarmLowSnapshot() const noexcept {
        return m_AlarmLowText;
    }
    const std::string& warningHighSnapshot() const noexcept {
        return m_WarningHighText;
    }
    const std::string& warningLowSnapshot() const noexcept {
        return m_WarningLowText;
    }

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
