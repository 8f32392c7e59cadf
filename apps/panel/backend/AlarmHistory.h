#pragma once

#include "panel/AlarmVocabulary.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

struct sqlite3;

namespace merv::panel {

// One change of an alarm's state, as the history keeps it.
struct AlarmTransition {
    std::int64_t timeMs = 0; // UTC, milliseconds since 1970
    std::string station;
    std::string variable; // the gauge's VariableName, its caption
    AlarmKind kind = AlarmKind::AlarmHigh;
    Transition transition = Transition::Raised;
    double value = 0; // the value at the transition
    // The gauge's identity, which names the alarm: its explicit id or its tag. Empty in rows
    // written before the history kept it, which name their gauge by its caption alone.
    std::string tag;
    // Who acknowledged, for an acknowledgement: the operator logged in at the station. Empty for
    // the other transitions, and in rows written before the history kept it.
    std::string operatorName;

    bool operator==(const AlarmTransition&) const = default;
};

// Which transitions a reading of the history takes: from fromMs up to toMs (both included) and
// of one gauge, each filter applying only when given. The gauge is named by its variable
// (caption) or by its tag; given both, the rows under the tag and the older rows without a tag
// under the variable. The rows come oldest first, or newest first where asked.
struct HistoryFilter {
    std::optional<std::int64_t> fromMs;
    std::optional<std::int64_t> toMs;
    std::optional<std::string> variable;
    std::optional<std::string> tag;
    bool newestFirst = false;
};

// Where a row stands in the history's order: by time, rows of one millisecond in the order they
// were written.
struct HistoryKey {
    std::int64_t timeMs = 0;
    std::int64_t id = 0;

    bool operator==(const HistoryKey&) const = default;
};

// A run of rows in the history's order, and the key of its last row (none when it is empty),
// which the next page starts after.
struct HistoryPage {
    std::vector<AlarmTransition> rows;
    std::optional<HistoryKey> last;
};

// The history could not be opened, written or read; the text says which file and why.
class HistoryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The alarm history in an SQLite file. Transitions are written in transactions in
// write-ahead-log mode, so a process killed at any moment loses no committed transition. A file
// written before the history kept each gauge's tag, or the operator who acknowledged, gains the
// column when it is opened; its older rows have it empty.
class AlarmHistory {
public:
    // vfs names the SQLite VFS to open the file through; the default one when empty. A file
    // that holds tables other than the history's is another program's: it is refused, as is a
    // file that is no SQLite database, and left as it was.
    explicit AlarmHistory(const std::filesystem::path& path, const std::string& vfs = {});
    ~AlarmHistory();
    AlarmHistory(const AlarmHistory&) = delete;
    AlarmHistory& operator=(const AlarmHistory&) = delete;

    void record(const AlarmTransition& transition);
    // Writes the transitions in order in one transaction: all of them or, on a HistoryError,
    // none.
    void recordAll(std::span<const AlarmTransition> transitions);
    // Throws the HistoryError record would for a transition no history can hold (a value that
    // is no finite number), so that a caller can refuse it before keeping it for later.
    void checkRecordable(const AlarmTransition& transition) const;

    // Transitions oldest first that pass the filters (see HistoryFilter). A row whose kind or
    // transition is none the panel knows (written by something else) is a HistoryError naming
    // it.
    std::vector<AlarmTransition> query(std::optional<std::int64_t> fromMs = std::nullopt,
                                       std::optional<std::int64_t> toMs = std::nullopt,
                                       const std::optional<std::string>& variable = std::nullopt,
                                       const std::optional<std::string>& tag = std::nullopt);
    // As query, each row handed to visit as it is read, none kept: a history of any size is
    // read in little memory. The rows are those of one moment of the file.
    void forEach(const HistoryFilter& filter,
                 const std::function<void(const AlarmTransition&)>& visit);
    // Up to limit rows of the filter's, oldest first, those after the key only when one is
    // given. Each page is a reading of its own over the indexes, so a page costs the same
    // wherever it starts, and rows written since the last page are found when they come after
    // it.
    HistoryPage page(const HistoryFilter& filter, std::optional<HistoryKey> after,
                     std::size_t limit);

    // What the summary needs to know which of station's alarms are still open, oldest first:
    // of each of the tags (the form's gauges') and each kind, the rows from the latest raise by
    // station on (nothing before it can keep an alarm open), and every row without a tag. Each
    // latest raise is found at the end of an index range, so a long history is not read whole.
    std::vector<AlarmTransition> sinceLatestRaises(const std::string& station,
                                                   const std::vector<std::string>& tags);

    // The whole history as CSV (see writeCsv), oldest first: the header
    // time,station,variable,kind,transition,value,tag,operator, the later columns last, so that
    // a reader of the older six or seven columns reads them where they were. Rows go to out as
    // they are read; on a HistoryError out may hold the lines before it.
    void exportCsv(std::ostream& out);

    const std::string& file() const noexcept { return m_file; }
    // The SQLite VFS the file is opened through; empty for the default one.
    const std::string& vfs() const noexcept { return m_vfs; }

private:
    bool hasColumn(const std::string& name);

    std::string m_file;
    std::string m_vfs;
    sqlite3* m_db = nullptr;
};

// A time as UTC text with milliseconds: 2026-12-08T14:03:05.123Z.
std::string utcText(std::int64_t timeMs);

// Transitions as CSV: the header time,station,variable,kind,transition,value, then one line per
// transition. A text cell that a spreadsheet would take for a formula (it starts with =, +, -
// or @) is written with a leading apostrophe and quoted; numbers stay numbers. The export and
// the recovery file of unwritten transitions share this form.
void writeCsv(std::ostream& out, std::span<const AlarmTransition> transitions);
// writeCsv's two parts, for a writer that has its transitions one at a time.
void writeCsvHeader(std::ostream& out);
void writeCsvLine(std::ostream& out, const AlarmTransition& transition);

} // namespace merv::panel
