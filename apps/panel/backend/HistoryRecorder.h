#pragma once

#include "panel/AlarmHistory.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>

namespace merv::panel {

// Writes transitions to the alarm history without ever losing one to a failing disk: what the
// history cannot take now (read-only file, full disk) is kept in order and written, all at once
// and before anything newer, as soon as a write succeeds again. A write is tried with each new
// transition and, while failing, when the caller's timer reaches nextRetryMs(), with a growing
// wait between tries. The caller drives the clock; nothing here waits except drain().
class HistoryRecorder {
public:
    struct Options {
        std::size_t capacity = 100'000; // transitions kept at most; beyond, the oldest are lost
        std::int64_t firstRetryMs = 500;
        std::int64_t lastRetryMs = 30'000; // the wait between tries doubles up to this
    };

    explicit HistoryRecorder(AlarmHistory& history);
    HistoryRecorder(AlarmHistory& history, Options options);

    // Keeps the transition behind those kept before and tries to write them all. True when
    // nothing is left unwritten. Throws HistoryError (and keeps nothing) for a transition no
    // history can hold.
    bool record(const AlarmTransition& transition, std::int64_t nowMs);
    // Keeps the transition behind those kept before without trying to write it: for a caller
    // that writes many at once with flush() or drain(). Throws as record does.
    void keep(const AlarmTransition& transition);
    // Tries again when a retry is due at nowMs; true when nothing is left unwritten.
    bool retry(std::int64_t nowMs);
    // Tries to write what is kept now, due or not.
    bool flush(std::int64_t nowMs);
    // Flushes, trying again for up to budgetMs of the steady clock while the history refuses;
    // true when everything was written.
    bool drain(std::int64_t budgetMs);

    bool writable() const noexcept { return m_failure.empty(); }
    // Why the last write failed; empty while writes succeed.
    const std::string& failure() const noexcept { return m_failure; }
    std::size_t pendingCount() const noexcept { return m_pending.size(); }
    const std::deque<AlarmTransition>& pending() const noexcept { return m_pending; }
    // Transitions lost because more than the capacity were waiting.
    std::uint64_t droppedCount() const noexcept { return m_dropped; }
    // When the next try is due; nothing while everything is written.
    std::optional<std::int64_t> nextRetryMs() const;

    // Writes the kept transitions as CSV (the export's form) to a new file beside the history,
    // named after wallMs, and forgets them; its path. Where the history's folder takes no file
    // either (the same full disk), the file goes to the system's temporary folder. Throws
    // HistoryError, keeping them, when neither takes it.
    std::filesystem::path writeRecovery(std::int64_t wallMs);
    // Takes the kept transitions and the failure of a recorder that goes before this one, ahead
    // of any of this one's own.
    void takeOver(HistoryRecorder& earlier);

    AlarmHistory& history() noexcept { return m_history; }

private:
    AlarmHistory& m_history;
    Options m_options;
    std::deque<AlarmTransition> m_pending;
    std::uint64_t m_dropped = 0;
    std::string m_failure;
    std::int64_t m_backoffMs = 0;
    std::int64_t m_nextRetryMs = 0;
};

// The path a recovery file written at wallMs gets beside the history file.
std::filesystem::path recoveryPath(const std::filesystem::path& history, std::int64_t wallMs);

} // namespace merv::panel
