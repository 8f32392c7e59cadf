#include "panel/HistoryRecorder.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <span>
#include <thread>
#include <vector>

namespace merv::panel {

HistoryRecorder::HistoryRecorder(AlarmHistory& history) : HistoryRecorder(history, Options{}) {}

HistoryRecorder::HistoryRecorder(AlarmHistory& history, Options options)
    : m_history(history), m_options(options) {}

bool HistoryRecorder::record(const AlarmTransition& transition, std::int64_t nowMs) {
    keep(transition);
    return flush(nowMs);
}

void HistoryRecorder::keep(const AlarmTransition& transition) {
    m_history.checkRecordable(transition);
    m_pending.push_back(transition);
    if (m_pending.size() > m_options.capacity) {
        m_pending.pop_front();
        ++m_dropped;
    }
}

bool HistoryRecorder::retry(std::int64_t nowMs) {
    if (m_pending.empty())
        return true;
    return nowMs >= m_nextRetryMs ? flush(nowMs) : false;
}

bool HistoryRecorder::flush(std::int64_t nowMs) {
    if (m_pending.empty())
        return true;
    try {
        const std::vector<AlarmTransition> batch(m_pending.begin(), m_pending.end());
        m_history.recordAll(batch);
    } catch (const HistoryError& error) {
        m_failure = error.what();
        m_backoffMs = m_backoffMs == 0 ? m_options.firstRetryMs
                                       : std::min(m_backoffMs * 2, m_options.lastRetryMs);
        m_nextRetryMs = nowMs + m_backoffMs;
        return false;
    }
    m_pending.clear();
    m_failure.clear();
    m_backoffMs = 0;
    return true;
}

bool HistoryRecorder::drain(std::int64_t budgetMs) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto elapsedMs = [&] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    };
    while (!flush(elapsedMs())) {
        const std::int64_t left = budgetMs - elapsedMs();
        if (left <= 0)
            return false;
        std::this_thread::sleep_for(
            std::chrono::milliseconds(std::min(left, m_nextRetryMs - elapsedMs())));
    }
    return true;
}

std::optional<std::int64_t> HistoryRecorder::nextRetryMs() const {
    if (m_pending.empty())
        return std::nullopt;
    return m_nextRetryMs;
}

std::filesystem::path recoveryPath(const std::filesystem::path& history, std::int64_t wallMs) {
    // 2026-12-08T14:03:05.123Z as a file name: no colons.
    std::string stamp = utcText(wallMs);
    std::erase(stamp, ':');
    return history.string() + ".unwritten-" + stamp + ".csv";
}

namespace {

// Writes rows to a new file named like base (never over an earlier one); its path.
std::filesystem::path writeNewCsv(const std::filesystem::path& base,
                                  std::span<const AlarmTransition> rows) {
    std::filesystem::path path = base;
    // Never over an earlier recovery file: it holds transitions of its own.
    for (int n = 2; std::filesystem::exists(path); ++n)
        path = std::filesystem::path(base).replace_extension(std::to_string(n) + ".csv");
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (out) {
            writeCsv(out, rows);
            out.flush();
        }
        if (out)
            return path;
    }
    std::error_code ignored; // the file is gone or was never made: either way no half of it stays
    std::filesystem::remove(path, ignored);
    throw HistoryError(path.string() + ": cannot write the recovery file");
}

} // namespace

std::filesystem::path HistoryRecorder::writeRecovery(std::int64_t wallMs) {
    const std::vector<AlarmTransition> rows(m_pending.begin(), m_pending.end());
    const std::filesystem::path beside = recoveryPath(m_history.file(), wallMs);
    std::filesystem::path written;
    try {
        written = writeNewCsv(beside, rows);
    } catch (const HistoryError& first) {
        std::error_code error;
        const auto temporary = std::filesystem::temp_directory_path(error);
        if (error)
            throw;
        try {
            written = writeNewCsv(temporary / beside.filename(), rows);
        } catch (const HistoryError& second) {
            throw HistoryError(std::string(first.what()) + "; " + second.what());
        }
    }
    m_pending.clear();
    return written;
}

void HistoryRecorder::takeOver(HistoryRecorder& earlier) {
    m_pending.insert(m_pending.begin(), earlier.m_pending.begin(), earlier.m_pending.end());
    m_dropped += earlier.m_dropped;
    if (!earlier.m_failure.empty() && m_failure.empty()) {
        m_failure = earlier.m_failure;
        m_backoffMs = earlier.m_backoffMs;
        m_nextRetryMs = earlier.m_nextRetryMs;
    }
    earlier.m_pending.clear();
    earlier.m_dropped = 0;
}

} // namespace merv::panel
