#pragma once

#include "panel/AlarmSummaryModel.h"
#include "panel/DataSource.h"
#include "panel/Form.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class MervGaugeWidget;
class QWidget;

namespace merv::panel {

// Binds a form's gauges to a data source: values go to the gauges by tag, the gauges' events
// feed the alarm summary, every transition goes to the history, and acknowledgements are
// shared with other stations when the source carries them. It also keeps each gauge's data
// quality (stale, disconnected, unreadable or refused).
class PanelController : public QObject {
    Q_OBJECT
public:
    // The gauges are created as children of gaugeParent; history may be null.
    PanelController(Form form, std::unique_ptr<DataSource> source, AlarmHistory* history,
                    std::string station, QWidget* gaugeParent, QObject* parent = nullptr);
    ~PanelController() override;

    // Starts the source with every gauge's tag.
    void start();

    int gaugeCount() const { return int(m_gauges.size()); }
    MervGaugeWidget* gauge(int index) const { return m_gauges[std::size_t(index)].widget; }
    const FormGauge& formGauge(int index) const { return m_form.gauges[std::size_t(index)]; }
    // Why the gauge's value is of bad quality; empty when it is good.
    QString qualityReason(int index) const;
    int badQualityCount() const;

    AlarmSummaryModel& alarms() { return m_alarms; }
    DataSource& source() { return *m_source; }
    const QString& title() const { return m_title; }
    // The form as it stands now: each gauge's current properties stored through the control.
    // Throws merv::BagError naming the gauge that could not store them.
    Form currentForm() const;

    // A value as the gauge captions it ("31.6 bar"); empty where the gauge cannot.
    QString valueCaption(int index, double value) const;
    // Fills a summary with what this form's alarms can show at their widest: every kind of
    // alarm of every gauge, at its scale's ends, returned and unacknowledged.
    void sampleAlarms(AlarmSummaryModel& summary) const;

    // How many raises of each event kind this run has seen.
    const std::map<AlarmKind, int>& raisedCounts() const { return m_raised; }

    // Acknowledges alarms of this station: the given rows, or every one.
    void acknowledgeRows(const std::vector<int>& rows);
    void acknowledgeAll();
    // Acknowledges every unacknowledged alarm of one gauge.
    void acknowledgeGauge(int index);

    // Marks gauges whose tags went quiet for longer than their stale_ms; a timer calls it,
    // and so does advance() on simulated time.
    void checkStale();
    // Runs a simulated-time source forward in steps, processing events in between.
    void advance(std::int64_t ms, std::int64_t stepMs);

signals:
    void qualityChanged(int index);
    void logged(const QString& line);

private:
    struct Bound {
        MervGaugeWidget* widget = nullptr;
        std::int64_t lastUpdateMs = 0;
        bool stale = false, refused = false, unreadable = false;
        QString refusedText, unreadableText;
    };
    void bind(int index);
    void onValue(const QString& tag, double value, qint64 timeMs);
    void onRejected(const QString& tag, const QString& reason);
    void onTagUnknown(const QString& tag, const QString& detail);
    void onConnection(bool connected, const QString& detail);
    void setFlag(int index, bool Bound::*flag, bool on, const QString& text = {},
                 QString Bound::*textField = nullptr);
    std::vector<int> gaugesOfTag(const QString& tag) const;

    Form m_form;
    QString m_title;
    std::unique_ptr<DataSource> m_source;
    AlarmHistory* m_history;
    AlarmSummaryModel m_alarms;
    std::vector<Bound> m_gauges;
    bool m_connected = false;
    QString m_connectionDetail;
    std::map<AlarmKind, int> m_raised;
    bool m_applyingRemote = false;
};

} // namespace merv::panel
