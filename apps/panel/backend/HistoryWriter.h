#pragma once

#include "panel/AlarmHistory.h"
#include "panel/HistoryRecorder.h"

#include <QObject>

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace merv::panel {

// Writes the alarm history on a thread of its own, over a connection of its own, so that a
// slow or failing disk never stalls the window's thread: a transition is handed over at once,
// and the thread commits in batches, everything that came since its last commit in one
// transaction (a committed batch survives a kill at any moment). What the history refuses is
// kept in order and written first once it takes writes again, as HistoryRecorder keeps it.
class HistoryWriter : public QObject {
    Q_OBJECT
public:
    struct Status {
        bool writable = true;
        std::string failure;       // why the last write failed; empty while writes succeed
        std::size_t pending = 0;   // handed over and not written yet
        std::uint64_t dropped = 0; // lost because more than the recorder's capacity waited

        bool operator==(const Status&) const = default;
    };

    // Opens its own connection to history's file (through the same VFS) and starts its thread.
    // Throws HistoryError when the file cannot be opened.
    explicit HistoryWriter(const AlarmHistory& history,
                           HistoryRecorder::Options options = HistoryRecorder::Options{});
    // Stops the thread after one last try to write what was handed over.
    ~HistoryWriter() override;

    // Hands the transition to the writer's thread. Throws HistoryError (and takes nothing) for
    // a transition no history can hold.
    void record(const AlarmTransition& transition);
    Status status() const;
    // Waits up to budgetMs for everything handed over to be written, the thread trying again
    // while the history refuses; true when everything was written.
    bool drain(std::int64_t budgetMs);
    // Stops the thread and writes what is still unwritten to a recovery file beside the
    // history (HistoryRecorder::writeRecovery); its path. The writer writes nothing after.
    std::filesystem::path writeRecovery(std::int64_t wallMs);
    // Takes what a writer that goes before this one could not write, ahead of this one's
    // unwritten transitions, and its failure; the earlier one's thread is stopped.
    void takeOver(HistoryWriter& earlier);

signals:
    // The status changed; emitted on the writer's thread.
    void statusChanged();

private:
    void run();
    void stop();
    // What the thread does once woken: takes what came, writes or retries; with m_mutex held
    // on entry and exit, released while writing.
    void writeOnce(std::unique_lock<std::mutex>& lock);
    std::int64_t nowMs() const;
    void publish(std::unique_lock<std::mutex>& lock);

    AlarmHistory m_connection;
    HistoryRecorder m_recorder; // the thread's alone while it runs
    mutable std::mutex m_mutex;
    std::condition_variable m_wake, m_written;
    std::deque<AlarmTransition> m_incoming;
    Status m_status;
    std::uint64_t m_droppedEarlier = 0; // lost by the writers this one took over from
    bool m_stopping = false;
    bool m_writing = false;
    const std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
    std::thread m_thread;
};

} // namespace merv::panel
