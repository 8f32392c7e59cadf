#include "PanelController.h"

#include <mervgauge/MervGaugeWidget.h>
#include <mervgauge/bagfile/BagError.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <iterator>
#include <set>

namespace merv::panel {
namespace {

constexpr int StaleCheckMs = 250; // how often quiet tags are looked for on the wall clock
constexpr int SettleMs = 200;     // an ending run's source is done once quiet this long

// A status flag of the gauge and the event that raises it.
struct Watched {
    AlarmKind kind;
    void (MervGaugeWidget::*raised)();
    void (MervGaugeWidget::*statusChanged)(bool);
    bool (MervGaugeWidget::*status)() const;
};
const Watched WatchedEvents[] = {
    {AlarmKind::AlarmHigh, &MervGaugeWidget::OnAlarmHigh, &MervGaugeWidget::AlarmHighStatusChanged,
     &MervGaugeWidget::AlarmHighStatus},
    {AlarmKind::AlarmLow, &MervGaugeWidget::OnAlarmLow, &MervGaugeWidget::AlarmLowStatusChanged,
     &MervGaugeWidget::AlarmLowStatus},
    {AlarmKind::WarningHigh, &MervGaugeWidget::OnWarningHigh,
     &MervGaugeWidget::WarningHighStatusChanged, &MervGaugeWidget::WarningHighStatus},
    {AlarmKind::WarningLow, &MervGaugeWidget::OnWarningLow,
     &MervGaugeWidget::WarningLowStatusChanged, &MervGaugeWidget::WarningLowStatus},
};
static_assert(std::size(WatchedEvents) == AlarmKinds.size(), "a gauge event is not watched");

} // namespace

PanelController::PanelController(Form form, std::unique_ptr<DataSource> source,
                                 AlarmHistory* history, std::string station, QWidget* gaugeParent,
                                 QObject* parent)
    : QObject(parent), m_form(std::move(form)), m_title(QString::fromStdString(m_form.title)),
      m_source(std::move(source)), m_history(history), m_alarms(std::move(station)) {
    // A form whose tags the source cannot address is refused before any gauge is built.
    for (std::size_t i = 0; i < m_form.gauges.size(); ++i) {
        try {
            m_source->checkTags({SourceTag{m_form.gauges[i].tag}});
        } catch (const SourceError& error) {
            throw SourceError(gaugeName(m_form, i) + ": tag: " + error.what());
        }
    }
    m_clock.start();
    m_connected = m_source->isConnected();
    m_gauges.resize(m_form.gauges.size());
    m_flaggedCount = gaugeCount(); // each is waiting for its first value
    for (std::size_t i = 0; i < m_form.gauges.size(); ++i)
        m_gaugesOfTag[m_form.gauges[i].tag].push_back(int(i));
    if (m_history) {
        m_writer = std::make_unique<HistoryWriter>(*m_history);
        connect(m_writer.get(), &HistoryWriter::statusChanged, this,
                &PanelController::historyWritten, Qt::QueuedConnection);
    }
    // Connected before the gauges are restored: an alarm of a form's start value is recorded
    // like any other.
    connect(&m_alarms, &AlarmSummaryModel::transitioned, this,
            [this](const AlarmTransition& t, qint64 raisedMs) {
                record(t);
                if (t.transition == Transition::Raised)
                    ++m_raised[t.kind];
                if (t.transition == Transition::Acknowledged && t.station == m_alarms.station() &&
                    m_source->sharesAcknowledgements())
                    m_source->publishAcknowledgement(t, raisedMs);
            });
    for (std::size_t i = 0; i < m_form.gauges.size(); ++i) {
        MemoryPropertyBag bag = m_form.gauges[i].bag;
        auto* widget = new MervGaugeWidget(MervGaugeWidget::Unstarted{}, gaugeParent);
        m_gauges[i].widget = widget;
        bind(int(i));
        // checkForm has restored the same bag already; a refusal now is a fault of ours.
        if (!widget->restore(bag))
            throw SourceError("gauge " + std::to_string(i + 1) + ": " +
                              widget->lastErrorString().toStdString());
    }
    // The alarms still open from an earlier run; one that a start value has raised again
    // keeps its renewed row.
    if (m_history) {
        std::vector<AlarmGauge> gauges;
        std::vector<std::string> tags;
        for (int i = 0; i < gaugeCount(); ++i) {
            gauges.push_back(alarmGauge(i));
            tags.push_back(gauges.back().tag);
        }
        m_alarms.carryOver(m_history->sinceLatestRaises(m_alarms.station(), tags), gauges);
    }

    connect(m_source.get(), &DataSource::valueArrived, this, &PanelController::onValue);
    connect(m_source.get(), &DataSource::payloadRejected, this, &PanelController::onRejected);
    connect(m_source.get(), &DataSource::tagUnknown, this, &PanelController::onTagUnknown);
    connect(m_source.get(), &DataSource::tagRefused, this, &PanelController::onTagRefused);
    connect(m_source.get(), &DataSource::connectionChanged, this, &PanelController::onConnection);
    connect(m_source.get(), &DataSource::acknowledgementArrived, this,
            &PanelController::onSharedAcknowledgement);
    connect(m_source.get(), &DataSource::acknowledgementRefused, this,
            &PanelController::refuseAcknowledgement);
    connect(m_source.get(), &DataSource::noticed, this, &PanelController::logged);
    connect(m_source.get(), &DataSource::stationNameClash, this,
            &PanelController::onStationNameClash);
    if (!m_source->hasSimulatedTime()) {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, &PanelController::checkStale);
        timer->start(StaleCheckMs);
    }
}

PanelController::~PanelController() {
    // What the source says while it stops must not reach a panel that is being torn down.
    m_source->disconnect(this);
    disconnect();
    m_source->stop();
}

AlarmGauge PanelController::alarmGauge(int index) const {
    return AlarmGauge(m_form.gauges[std::size_t(index)].identity(),
                      m_gauges[std::size_t(index)].widget->VariableName().toStdString());
}

void PanelController::bind(int index) {
    MervGaugeWidget* widget = m_gauges[std::size_t(index)].widget;
    for (const Watched& w : WatchedEvents) {
        const AlarmKind kind = w.kind;
        connect(widget, w.raised, this, [this, widget, index, kind] {
            m_alarms.raise(alarmGauge(index), kind, widget->Value(), m_source->nowMs(),
                           widget->shownValueText().toStdString());
        });
        connect(widget, w.statusChanged, this, [this, widget, index, kind](bool on) {
            if (!on)
                m_alarms.returnToNormal(alarmGauge(index), kind, widget->Value(),
                                        m_source->nowMs());
        });
    }
    connect(widget, &MervGaugeWidget::runtimeError, this,
            [this, index](int number, const QString& description, const QString& property) {
                const QString text =
                    QStringLiteral("Refused: %1 (error %2)%3")
                        .arg(description)
                        .arg(number)
                        .arg(property.isEmpty() ? QString()
                                                : QStringLiteral(" writing ") + property);
                emit logged(m_gauges[std::size_t(index)].widget->VariableName() + ": " + text);
                setFlag(index, &Bound::refused, true, text, &Bound::refusedText);
            });
}

void PanelController::start() {
    std::vector<SourceTag> tags;
    // The range, thresholds and start value as the restored gauges hold them.
    for (std::size_t i = 0; i < m_gauges.size(); ++i) {
        const MervGaugeWidget& g = *m_gauges[i].widget;
        // The widget widens the control's singles exactly, as the tag's doubles take them.
        tags.push_back(SourceTag{m_form.gauges[i].tag, g.MinValue(), g.MaxValue(), g.AlarmLowVal(),
                                 g.WarningLowVal(), g.WarningHighVal(), g.AlarmHighVal(),
                                 g.Value()});
    }
    const std::int64_t now = clockMs();
    for (Bound& b : m_gauges)
        b.lastUpdateMs = now;
    m_source->start(tags);
    onConnection(m_source->isConnected(), {});
}

const std::vector<int>& PanelController::gaugesOfTag(const QString& tag) const {
    static const std::vector<int> none;
    const auto found = m_gaugesOfTag.find(tag.toStdString());
    return found == m_gaugesOfTag.end() ? none : found->second;
}

std::int64_t PanelController::clockMs() const {
    return m_source->hasSimulatedTime() ? m_source->nowMs() : m_clock.elapsed();
}

QString PanelController::timeDoubt(int index, std::int64_t timeMs) const {
    const std::int64_t now = m_source->nowMs();
    const int staleMs = m_form.gauges[std::size_t(index)].staleMs;
    if (timeMs > now + m_maxSkewMs)
        return tr("Doubtful: the value's time is %1 s ahead of the panel's clock")
            .arg((timeMs - now) / 1000);
    if (timeMs < now - staleMs)
        return tr("Doubtful: the value was measured %1 s before it arrived, longer than its "
                  "stale time")
            .arg((now - timeMs) / 1000);
    if (timeMs < now - m_maxSkewMs)
        return tr("Doubtful: the value was measured %1 s before it arrived, more than the "
                  "clocks may differ (--max-skew)")
            .arg((now - timeMs) / 1000);
    return {};
}

void PanelController::record(const AlarmTransition& t) {
    if (!m_writer)
        return;
    try {
        m_writer->record(t);
    } catch (const HistoryError& error) {
        // A transition no history can hold; the others go on being written.
        emit logged(QString::fromStdString(error.what()));
    }
    // While the history refuses, the count of kept transitions grows with each.
    if (!m_writer->status().writable)
        emit historyChanged();
}

void PanelController::historyWritten() {
    const HistoryWriter::Status status = m_writer->status();
    if (status.writable)
        m_alarms.clearStationAlarm(HistoryAlarmId);
    else
        m_alarms.raiseStationAlarm(HistoryAlarmId, "Alarm history not writable: " + status.failure,
                                   m_source->nowMs());
    emit historyChanged();
}

QString PanelController::historyStatus() const {
    if (!m_writer)
        return {};
    const HistoryWriter::Status status = m_writer->status();
    if (status.writable && status.dropped == 0)
        return {};
    QString text = status.writable ? QString()
                                   : tr("Alarm history not writable: %1 — %2 transition(s) kept")
                                         .arg(QString::fromStdString(status.failure))
                                         .arg(status.pending);
    if (status.dropped > 0)
        text += (text.isEmpty() ? QString() : QStringLiteral(", "))
                //: Transitions that could not be kept while the history was not writable.
                + tr("%1 lost").arg(status.dropped);
    return text;
}

QStringList PanelController::finish(int budgetMs) {
    QElapsedTimer spent;
    spent.start();
    // The source's word that it stopped is no news to an ending run: the gauges and the status
    // keep showing how the run ended.
    QObject::disconnect(m_source.get(), &DataSource::connectionChanged, nullptr, nullptr);
    m_source->stop();
    // Values the source took before it stopped wait as posted events, and a network thread may
    // still be handing over the last ones it read: each is evaluated, until none came for a
    // while.
    QElapsedTimer quiet;
    quiet.start();
    for (std::uint64_t seen = m_valuesSeen; spent.elapsed() < budgetMs;) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        if (m_valuesSeen != seen) {
            seen = m_valuesSeen;
            quiet.restart();
        } else if (quiet.elapsed() >= SettleMs) {
            break;
        } else {
            QThread::msleep(2);
        }
    }
    QStringList lines;
    if (!m_writer)
        return lines;
    if (m_writer->drain(std::max<std::int64_t>(0, budgetMs - spent.elapsed()))) {
        historyWritten();
        return lines;
    }
    const HistoryWriter::Status status = m_writer->status();
    const std::size_t count = status.pending;
    const QString why = QString::fromStdString(status.failure);
    try {
        const auto path = m_writer->writeRecovery(QDateTime::currentMSecsSinceEpoch());
        // Standard error stays English, as scripts read it.
        lines << QStringLiteral("%1 transition(s) could not be written to the alarm history "
                                "(%2); they are in %3")
                     .arg(count)
                     .arg(why, QString::fromStdString(path.string()));
    } catch (const HistoryError& error) {
        lines << QStringLiteral("%1 transition(s) could not be written to the alarm history "
                                "(%2) nor to a recovery file: %3")
                     .arg(count)
                     .arg(why, QString::fromStdString(error.what()));
    }
    return lines;
}

void PanelController::onValue(const QString& tag, double value, qint64 timeMs, bool retained) {
    const std::int64_t arrived = clockMs();
    ++m_valuesSeen;
    for (int index : gaugesOfTag(tag)) {
        Bound& b = m_gauges[std::size_t(index)];
        b.lastUpdateMs = arrived;
        const bool first = b.awaiting;
        setFlag(index, &Bound::awaiting, false);
        setFlag(index, &Bound::stale, false);
        setFlag(index, &Bound::unreadable, false);
        setFlag(index, &Bound::retained, retained);
        const QString doubt = timeDoubt(index, timeMs);
        setFlag(index, &Bound::doubtful, !doubt.isEmpty(), doubt, &Bound::doubtfulText);
        const bool refusedBefore = b.refused;
        setRefused(index, false);
        b.widget->setValue(float(value));
        const bool failed = b.widget->lastErrorNumber() != MervGaugeWidget::NoError;
        if (!failed && refusedBefore)
            emit qualityChanged(index);
        else if (failed)
            setRefused(index, true);
        if (first && !failed)
            settleCarriedOver(index);
    }
}

void PanelController::settleCarriedOver(int index) {
    const MervGaugeWidget& widget = *m_gauges[std::size_t(index)].widget;
    const AlarmGauge gauge = alarmGauge(index);
    for (const Watched& w : WatchedEvents) {
        const AlarmSummaryModel::Alarm* alarm = m_alarms.alarmOf(gauge.tag, w.kind);
        // A live alarm's return comes from the gauge's own status flag.
        if (alarm && alarm->carriedOver && !(widget.*w.status)())
            m_alarms.returnToNormal(gauge, w.kind, widget.Value(), m_source->nowMs());
    }
}

void PanelController::onRejected(const QString& tag, const QString& reason) {
    for (int index : gaugesOfTag(tag))
        setFlag(index, &Bound::unreadable, true, tr("Bad payload: %1").arg(reason),
                &Bound::unreadableText);
}

void PanelController::onTagUnknown(const QString& tag, const QString& detail) {
    QStringList gauges;
    for (int index : gaugesOfTag(tag))
        gauges << m_gauges[std::size_t(index)].widget->VariableName();
    emit logged(gauges.join(QStringLiteral(", ")) + QStringLiteral(": ") + detail);
}

void PanelController::onTagRefused(const QString& tag, const QString& reason) {
    const std::vector<int> indexes = gaugesOfTag(tag);
    QStringList gauges;
    for (int index : indexes) {
        gauges << m_gauges[std::size_t(index)].widget->VariableName();
        setFlag(index, &Bound::refused, true, tr("Refused: %1").arg(reason), &Bound::refusedText);
    }
    emit logged((indexes.empty() ? tag : gauges.join(QStringLiteral(", "))) + QStringLiteral(": ") +
                reason);
}

void PanelController::onConnection(bool connected, const QString& detail) {
    m_connected = connected;
    m_connectionDetail = detail;
    for (int i = 0; i < gaugeCount(); ++i)
        emit qualityChanged(i);
}

void PanelController::onSharedAcknowledgement(const AlarmTransition& t, bool kept) {
    // What the broker kept may be long past and of alarms long gone: applied where it still
    // fits, and no fault where it does not.
    if (t.timeMs > m_source->nowMs() + AcknowledgementSkewMs) {
        if (!kept)
            refuseAcknowledgement(AcknowledgementRefusal::FromTheFuture,
                                  tr("station %1 gives a time %2 s ahead of this panel's clock")
                                      .arg(QString::fromStdString(t.station))
                                      .arg((t.timeMs - m_source->nowMs()) / 1000));
        return;
    }
    if (!m_alarms.acknowledgeShared(t) && !kept)
        refuseAcknowledgement(
            AcknowledgementRefusal::UnknownAlarm,
            tr("station %1 acknowledged %2 %3, which has no unacknowledged alarm here raised "
               "before then")
                .arg(QString::fromStdString(t.station),
                     QString::fromStdString(t.tag.empty() ? t.variable : t.tag),
                     QString::fromLatin1(nameOf(t.kind).data(), qsizetype(nameOf(t.kind).size()))));
}

void PanelController::refuseAcknowledgement(AcknowledgementRefusal reason, const QString& detail) {
    if (m_refusedAcknowledgements.count(reason))
        emit logged(tr("Refused an acknowledgement (%1): %2; further ones of this kind are "
                       "counted")
                        .arg(QString::fromLatin1(AcknowledgementLedger::nameOf(reason)), detail));
}

void PanelController::onStationNameClash(bool clashing, const QString& other) {
    if (!clashing) {
        m_alarms.clearStationAlarm(StationNameAlarmId);
        return;
    }
    const QString text =
        //: %1 is this station's name, %2 where the other panel runs ("host, process 123").
        tr("Another panel is running under this station's name %1 (%2): the two miss each "
           "other's acknowledgements; give each panel its own --station")
            .arg(QString::fromStdString(m_alarms.station()), other);
    m_alarms.raiseStationAlarm(StationNameAlarmId, text.toStdString(), m_source->nowMs());
    emit logged(text);
}

void PanelController::setRefused(int index, bool on) {
    Bound& b = m_gauges[std::size_t(index)];
    m_flaggedCount -= flagged(b);
    b.refused = on;
    m_flaggedCount += flagged(b);
}

void PanelController::setFlag(int index, bool Bound::*flag, bool on, const QString& text,
                              QString Bound::*textField) {
    Bound& b = m_gauges[std::size_t(index)];
    const bool changed = b.*flag != on || (textField && b.*textField != text);
    m_flaggedCount -= flagged(b);
    b.*flag = on;
    m_flaggedCount += flagged(b);
    if (textField)
        b.*textField = text;
    if (changed)
        emit qualityChanged(index);
}

void PanelController::checkStale() {
    const std::int64_t now = clockMs();
    for (int i = 0; i < gaugeCount(); ++i) {
        const bool stale =
            now - m_gauges[std::size_t(i)].lastUpdateMs > m_form.gauges[std::size_t(i)].staleMs;
        setFlag(i, &Bound::stale, stale);
    }
}

QString PanelController::qualityReason(int index) const {
    const Bound& b = m_gauges[std::size_t(index)];
    QStringList reasons;
    if (!m_connected)
        reasons << (m_connectionDetail.isEmpty() ? tr("Disconnected")
                                                 //: %1 says why: the source's own words.
                                                 : tr("Disconnected: %1").arg(m_connectionDetail));
    if (b.awaiting)
        //: A gauge's quality before its source sent it a value: it shows the form's start value.
        reasons << tr("No data yet");
    if (b.stale)
        reasons
            << tr("Stale: no update for over %1 ms").arg(m_form.gauges[std::size_t(index)].staleMs);
    if (b.unreadable)
        reasons << b.unreadableText;
    if (b.refused)
        reasons << b.refusedText;
    if (b.doubtful)
        reasons << b.doubtfulText;
    if (b.retained)
        //: A value the broker kept from before the panel subscribed; no live one has come yet.
        reasons << tr("Retained: published before this panel subscribed; no live value yet");
    return reasons.join(QStringLiteral("; "));
}

int PanelController::badQualityCount() const {
    // Kept as the flags change: the window asks on every change of any gauge's quality.
    return m_connected ? m_flaggedCount : gaugeCount();
}

Form PanelController::currentForm() const {
    Form form = m_form;
    for (std::size_t i = 0; i < m_gauges.size(); ++i) {
        MemoryPropertyBag bag;
        MervGaugeWidget& gauge = *m_gauges[i].widget;
        // A gauge that cannot store its properties makes the form one that cannot be written.
        if (!gauge.store(bag))
            throw BagError({}, {},
                           gauge.VariableName().toStdString() + ": " +
                               gauge.lastErrorString().toStdString());
        form.gauges[i].bag = std::move(bag);
    }
    return form;
}

void PanelController::acknowledgeRows(const std::vector<int>& rows) {
    m_alarms.acknowledgeRows(rows, m_source->nowMs());
}

void PanelController::acknowledgeAll() {
    m_alarms.acknowledgeAll(m_source->nowMs());
}

void PanelController::acknowledgeGauge(int index) {
    const std::string& identity = m_form.gauges[std::size_t(index)].identity();
    for (const Watched& w : WatchedEvents)
        m_alarms.acknowledge(identity, w.kind, m_source->nowMs(), m_alarms.station(),
                             m_alarms.operatorName());
}

QString PanelController::valueCaption(int index, double value) const {
    return gauge(index)->valueCaption(value);
}

void PanelController::sampleAlarms(AlarmSummaryModel& summary) const {
    const std::int64_t now = m_source->nowMs();
    // The columns are as wide as their longest texts: the gauges with the longest names and
    // those with the longest value captions are sampled, which keeps a large form quick to open.
    constexpr std::size_t SampledGauges = 20; // of each kind
    const auto longest = [&](auto length) {
        std::vector<std::pair<qsizetype, int>> byLength;
        for (int i = 0; i < gaugeCount(); ++i)
            byLength.emplace_back(-length(i), i);
        const std::size_t kept = std::min(SampledGauges, byLength.size());
        std::partial_sort(byLength.begin(), byLength.begin() + std::ptrdiff_t(kept),
                          byLength.end());
        byLength.resize(kept);
        return byLength;
    };
    std::set<int> sampled;
    for (const auto& [length, i] : longest([&](int i) { return gauge(i)->VariableName().size(); }))
        sampled.insert(i);
    for (const auto& [length, i] : longest([&](int i) {
             return std::max(valueCaption(i, gauge(i)->MinValue()).size(),
                             valueCaption(i, gauge(i)->MaxValue()).size());
         }))
        sampled.insert(i);
    for (const int i : sampled) {
        const AlarmGauge name = alarmGauge(i);
        for (const Watched& w : WatchedEvents) {
            const bool high = eventOf(w.kind).side == EventSide::High;
            const double end = high ? gauge(i)->MaxValue() : gauge(i)->MinValue();
            summary.raise(name, w.kind, end, now, valueCaption(i, end).toStdString());
            summary.returnToNormal(name, w.kind, end, now);
        }
    }
}

void PanelController::advance(std::int64_t ms, std::int64_t stepMs) {
    for (std::int64_t done = 0; done < ms; done += stepMs) {
        m_source->advance(std::min(stepMs, ms - done));
        QCoreApplication::processEvents();
        checkStale();
    }
}

} // namespace merv::panel
