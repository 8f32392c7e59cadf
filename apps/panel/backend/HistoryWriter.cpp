#include "panel/HistoryWriter.h"

#include "panel/ThreadName.h"

#include <utility>

namespace merv::panel {

HistoryWriter::HistoryWriter(const AlarmHistory& history, HistoryRecorder::Options options)
    : m_connection(history.file(), history.vfs()), m_recorder(m_connection, options) {
    m_thread = std::thread([this] {
        nameThisThread("merv-history");
        run();
    });
}

HistoryWriter::~HistoryWriter() {
    stop();
}

std::int64_t HistoryWriter::nowMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now() - m_start).count();
}

void HistoryWriter::stop() {
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void HistoryWriter::record(const AlarmTransition& transition) {
    m_connection.checkRecordable(transition);
    {
        std::lock_guard lock(m_mutex);
        m_incoming.push_back(transition);
    }
    m_wake.notify_one();
}

HistoryWriter::Status HistoryWriter::status() const {
    std::lock_guard lock(m_mutex);
    Status status = m_status;
    status.pending += m_incoming.size();
    return status;
}

void HistoryWriter::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        const auto ready = [this] { return m_stopping || !m_incoming.empty(); };
        // While the history refuses, the kept transitions are tried again when the recorder's
        // growing wait says, new ones or not.
        if (const auto due = m_recorder.nextRetryMs())
            m_wake.wait_until(lock, m_start + std::chrono::milliseconds(*due), ready);
        else
            m_wake.wait(lock, ready);
        if (m_stopping) {
            // One last try for what was handed over: a writer that ends loses nothing the
            // history takes.
            if (!m_incoming.empty())
                writeOnce(lock);
            return;
        }
        writeOnce(lock);
    }
}

void HistoryWriter::writeOnce(std::unique_lock<std::mutex>& lock) {
    std::deque<AlarmTransition> batch;
    batch.swap(m_incoming);
    m_writing = true;
    // Counted as pending by the recorder from here on.
    m_status.pending += batch.size();
    lock.unlock();
    for (const AlarmTransition& t : batch)
        m_recorder.keep(t); // checked when it was handed over
    if (batch.empty())
        m_recorder.retry(nowMs());
    else
        m_recorder.flush(nowMs());
    lock.lock();
    m_writing = false;
    publish(lock);
    m_written.notify_all();
}

void HistoryWriter::publish(std::unique_lock<std::mutex>& lock) {
    Status now{m_recorder.writable(), m_recorder.failure(), m_recorder.pendingCount(),
               m_recorder.droppedCount() + m_droppedEarlier};
    const bool changed = !(now == m_status);
    m_status = std::move(now);
    if (!changed)
        return;
    lock.unlock();
    emit statusChanged();
    lock.lock();
}

bool HistoryWriter::drain(std::int64_t budgetMs) {
    std::unique_lock lock(m_mutex);
    return m_written.wait_for(lock, std::chrono::milliseconds(budgetMs), [this] {
        return m_incoming.empty() && !m_writing && m_status.pending == 0;
    });
}

std::filesystem::path HistoryWriter::writeRecovery(std::int64_t wallMs) {
    stop();
    // The thread is gone: what it had not taken yet is the recorder's now.
    for (const AlarmTransition& t : m_incoming)
        m_recorder.keep(t);
    m_incoming.clear();
    const auto path = m_recorder.writeRecovery(wallMs);
    m_status.pending = m_recorder.pendingCount();
    return path;
}

void HistoryWriter::takeOver(HistoryWriter& earlier) {
    earlier.stop();
    std::deque<AlarmTransition> unwritten(earlier.m_recorder.pending().begin(),
                                          earlier.m_recorder.pending().end());
    unwritten.insert(unwritten.end(), earlier.m_incoming.begin(), earlier.m_incoming.end());
    earlier.m_incoming.clear();
    {
        std::lock_guard lock(m_mutex);
        m_incoming.insert(m_incoming.begin(), unwritten.begin(), unwritten.end());
        m_droppedEarlier += earlier.m_recorder.droppedCount() + earlier.m_droppedEarlier;
        // The history's trouble stays told until a write of this writer succeeds.
        if (!earlier.m_recorder.writable() && m_status.writable) {
            m_status.writable = false;
            m_status.failure = earlier.m_recorder.failure();
        }
    }
    m_wake.notify_one();
}

} // namespace merv::panel
