#pragma once

#include <QMargins>
#include <QWidget>

class MervGaugeWidget;

namespace merv::panel {

// The frame the panel draws around one gauge, hugging it at any zoom: a strip above the gauge
// holds a marker while one of its alarms is active or unacknowledged and a badge while its
// value is of bad quality (the reason as tooltip), which also frames the cell dashed. Both
// take colours that stand out from the palette's window colour.
class GaugeCell : public QWidget {
    Q_OBJECT
public:
    enum class Marker { None, Blinking, Steady };

    explicit GaugeCell(QWidget* parent = nullptr);
    // Takes the gauge into the cell's layout.
    void setGauge(MervGaugeWidget* gauge);
    MervGaugeWidget* gauge() const { return m_gauge; }
    void setQuality(const QString& reason);
    void setMarker(Marker marker);
    // The blink phase of every blinking marker, switched by the window's timer.
    void setBlinkOn(bool on);
    // A frame in the palette's highlight colour, for the gauge an operator looked for.
    void setHighlighted(bool on);
    bool highlighted() const { return m_highlighted; }

    const QString& qualityReason() const { return m_reason; }
    Marker marker() const { return m_marker; }

    // The room the cell keeps around its gauge: the strip above, a margin elsewhere.
    QMargins frame() const;
    // Where the marker and the badge stand in the cell.
    QRect markerRect() const;
    QRect badgeRect() const;
    // Their colours against the palette's window colour.
    QColor markerColor() const;
    QColor badgeColor() const;
    QColor badgeTextColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int stripHeight() const;

    MervGaugeWidget* m_gauge = nullptr;
    QString m_reason;
    Marker m_marker = Marker::None;
    bool m_blinkOn = true;
    bool m_highlighted = false;
};

} // namespace merv::panel
