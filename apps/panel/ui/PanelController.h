#pragma once

#include "panel/AcknowledgementLedger.h"
#include "panel/AlarmSummaryModel.h"
#include "panel/DataSource.h"
#include "panel/Form.h"
#include "panel/HistoryWriter.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <unordered_map>
#include <vector>

class MervGaugeWidget;
class QTimer;
class QWidget;

namespace merv::panel {

// Binds a form's gauges to a data source: values go to the gauges by tag, the gauges' events
// feed the alarm summary, every transition goes to the history, and acknowledgements are
// shared with other stations when the source carries them. It also keeps each gauge's data
// quality (no data yet, stale, disconnected, unreadable, refused or doubtful).
//
// An alarm is its gauge's, named by the gauge's identity (FormGauge::identity), never by its
// caption. At construction the summary takes over the alarms the history holds open for this
// station's gauges, marked as carried over; an active one whose gauge's first value is normal
// then returns. Until its first value arrives a gauge shows its form's start value as "no data
// yet".
//
// Staleness runs on the panel's own monotonic clock from each value's arrival, whatever time a
// value carries. A value whose time lies more than the allowed clock skew (maxSkewMs) ahead of
// the source's clock or behind it, or more than its gauge's stale_ms behind it (stale before it
// arrived), is shown but doubtful.
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
    // alarm, at its scale's ends, returned and unacknowledged, of the gauges with the longest
    // names and value captions.
    void sampleAlarms(AlarmSummaryModel& summary) const;

    // How many raises of each event kind this run has seen.
    const std::map<AlarmKind, int>& raisedCounts() const { return m_raised; }
    // How far a value's own time may lie from the panel's clock before the value is doubtful.
    void setMaxSkewMs(std::int64_t ms) { m_maxSkewMs = ms; }
    std::int64_t maxSkewMs() const { return m_maxSkewMs; }
    // The shared acknowledgements this station refused, by reason.
    const AcknowledgementLedger& refusedAcknowledgements() const {
        return m_refusedAcknowledgements;
    }
    // How far ahead of this panel's clock a shared acknowledgement may be given.
    static constexpr std::int64_t AcknowledgementSkewMs = 5000;

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

    // The history's writer, on a thread of its own: transitions the history could not take yet
    // wait there. Null without a history.
    HistoryWriter* historyWriter() { return m_writer.get(); }
    // Why the history cannot be written and how many transitions wait, for the status bar;
    // empty while it is written.
    QString historyStatus() const;
    // The summary's station alarm for a history that cannot be written.
    static constexpr const char* HistoryAlarmId = "history";
    // The summary's station alarm for another panel under this station's name.
    static constexpr const char* StationNameAlarmId = "station-name";
    // Ends the run: stops the source, evaluates every value it delivered and writes every
    // transition, waiting up to budgetMs for a slow or failing history. What still cannot be
    // written goes to a recovery file beside the history. Returns what the operator must be
    // told (the recovery file's path), one line each.
    QStringList finish(int budgetMs);

signals:
    void qualityChanged(int index);
    void logged(const QString& line);
    // The history became writable or not, or the count of transitions waiting changed.
    void historyChanged();

private:
    struct Bound {
        MervGaugeWidget* widget = nullptr;
        std::int64_t lastUpdateMs = 0; // on clockMs()
        bool awaiting = true;          // no value has come from the source yet
        bool stale = false, refused = false, unreadable = false, doubtful = false;
        bool retained = false; // its value is one the broker kept; no live one has come yet
        QString refusedText, unreadableText, doubtfulText;
    };
    void bind(int index);
    void onValue(const QString& tag, double value, qint64 timeMs, bool retained);
    void onRejected(const QString& tag, const QString& reason);
    void onTagUnknown(const QString& tag, const QString& detail);
    void onTagRefused(const QString& tag, const QString& reason);
    // Why a value stamped timeMs is doubtful for this gauge; empty when it is not.
    QString timeDoubt(int index, std::int64_t timeMs) const;
    // The monotonic milliseconds staleness is measured on: the source's own clock when it runs
    // on simulated time, else the panel's.
    std::int64_t clockMs() const;
    void onConnection(bool connected, const QString& detail);
    void onStationNameClash(bool clashing, const QString& other);
    void onSharedAcknowledgement(const AlarmTransition& acknowledgement, bool kept);
    void refuseAcknowledgement(AcknowledgementRefusal reason, const QString& detail);
    void setFlag(int index, bool Bound::*flag, bool on, const QString& text = {},
                 QString Bound::*textField = nullptr);
    const std::vector<int>& gaugesOfTag(const QString& tag) const;
    static bool flagged(const Bound& b) {
        return b.awaiting || b.stale || b.refused || b.unreadable || b.doubtful || b.retained;
    }
    // The alarm summary's name of gauge index.
    AlarmGauge alarmGauge(int index) const;
    // Returns the carried-over alarms of the gauge that its first value shows are not active.
    void settleCarriedOver(int index);
    void setRefused(int index, bool on);
    void record(const AlarmTransition& t);
    // The summary's station alarm and the status after the writer's status changed.
    void historyWritten();

    Form m_form;
    QString m_title;
    std::unique_ptr<DataSource> m_source;
    AlarmHistory* m_history;
    AlarmSummaryModel m_alarms;
    std::vector<Bound> m_gauges;
    std::unordered_map<std::string, std::vector<int>> m_gaugesOfTag;
    int m_flaggedCount = 0; // gauges with a quality flag of their own set
    bool m_connected = false;
    QString m_connectionDetail;
    std::map<AlarmKind, int> m_raised;
    AcknowledgementLedger m_refusedAcknowledgements;
    std::int64_t m_maxSkewMs = DefaultMaxSkewMs;
    bool m_applyingRemote = false;
    std::unique_ptr<HistoryWriter> m_writer;
    QElapsedTimer m_clock; // monotonic milliseconds: arrivals and staleness
    std::uint64_t m_valuesSeen = 0;
};

} // namespace merv::panel
