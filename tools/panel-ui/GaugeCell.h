#pragma once

#include <QWidget>

class MervGaugeWidget;

namespace merv::panel {

// The frame the panel draws around one gauge: a badge when its value is of bad quality (the
// reason as tooltip) and a marker while one of its alarms is active or unacknowledged.
class GaugeCell : public QWidget {
    Q_OBJECT
public:
    enum class Marker { None, Blinking, Steady };

    explicit GaugeCell(QWidget* parent = nullptr);
    // Takes the gauge into the cell's layout.
    void setGauge(MervGaugeWidget* gauge);
    void setQuality(const QString& reason);
    void setMarker(Marker marker);
    // The blink phase of every blinking marker, switched by the window's timer.
    void setBlinkOn(bool on);

    const QString& qualityReason() const { return m_reason; }
    Marker marker() const { return m_marker; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_reason;
    Marker m_marker = Marker::None;
    bool m_blinkOn = true;
};

} // namespace merv::panel
