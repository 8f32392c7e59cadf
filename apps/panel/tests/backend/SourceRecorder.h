#pragma once

#include "panel/DataSource.h"

#include <QTest>

#include <string>
#include <vector>

namespace merv::panel {

// Everything a source emits, each as one line of text, in order.
struct SourceRecorder {
    explicit SourceRecorder(DataSource& source) {
        QObject::connect(&source, &DataSource::valueArrived,
                         [this](const QString& tag, double value, qint64 timeMs, bool kept) {
                             values.push_back(tag.toStdString() + "=" +
                                              QString::number(value).toStdString());
                             times.push_back(timeMs);
                             retained.push_back(kept);
                         });
        QObject::connect(
            &source, &DataSource::payloadRejected,
            [this](const QString& tag, const QString&) { rejected.push_back(tag.toStdString()); });
        QObject::connect(&source, &DataSource::connectionChanged,
                         [this](bool connected, const QString& detail) {
                             connections.push_back(connected);
                             details.push_back(detail.toStdString());
                         });
        QObject::connect(&source, &DataSource::noticed,
                         [this](const QString& text) { notices.push_back(text.toStdString()); });
        QObject::connect(&source, &DataSource::acknowledgementArrived,
                         [this](const AlarmTransition& t) {
                             acknowledgements.push_back(t.station + " " + t.variable + " " +
                                                        std::string(nameOf(t.kind)) + " " +
                                                        std::to_string(t.timeMs));
                         });
    }
    // Waits a few seconds at most for done to hold.
    template <class F>
    bool waitFor(F done, int ms = 5000) {
        return QTest::qWaitFor(done, ms);
    }
    bool connected() const { return !connections.empty() && connections.back(); }

    std::vector<std::string> values, rejected, details, acknowledgements, notices;
    std::vector<qint64> times;
    std::vector<bool> connections, retained;
};

} // namespace merv::panel
