#include "panel/AlarmHistory.h"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>
#include <limits>
#include <set>

namespace merv::panel {
namespace {

constexpr int BusyTimeoutMs = 5000; // how long a write waits for another process's write

constexpr const char* Schema = R"(
CREATE TABLE IF NOT EXISTS alarm_transitions (
    id INTEGER PRIMARY KEY,
    time_ms INTEGER NOT NULL,
    station TEXT NOT NULL,
    variable TEXT NOT NULL,
    kind TEXT NOT NULL,
    transition TEXT NOT NULL CHECK (transition IN ('raised', 'acknowledged', 'returned')),
    value REAL NOT NULL,
    tag TEXT NOT NULL DEFAULT '',
    operator TEXT NOT NULL DEFAULT '');
CREATE INDEX IF NOT EXISTS alarm_transitions_time ON alarm_transitions (time_ms);
CREATE INDEX IF NOT EXISTS alarm_transitions_variable ON alarm_transitions (variable, time_ms);
)";
// The columns a history written by an earlier version lacks, in the order they came; each is
// added once it is known missing, at the end, so that older readers keep theirs.
constexpr const char* LaterColumns[][2] = {
    {"tag", "ALTER TABLE alarm_transitions ADD COLUMN tag TEXT NOT NULL DEFAULT ''"},
    {"operator", "ALTER TABLE alarm_transitions ADD COLUMN operator TEXT NOT NULL DEFAULT ''"},
};
// After the tag column exists, in old files and new alike: a gauge's rows by time, and its
// latest raise of each kind at the end of its rows of that kind (read at every start-up).
constexpr const char* TagIndexes[] = {
    "CREATE INDEX IF NOT EXISTS alarm_transitions_tag ON alarm_transitions (tag, time_ms)",
    "CREATE INDEX IF NOT EXISTS alarm_transitions_tag_kind ON alarm_transitions (tag, kind, "
    "time_ms)",
};

// A prepared statement, finalised when it goes out of scope.
class Statement {
public:
    Statement(sqlite3* db, const char* sql, const std::string& file) : m_db(db), m_file(file) {
        if (sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) != SQLITE_OK)
            fail("cannot prepare a query");
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int index, std::int64_t value) {
        check(sqlite3_bind_int64(m_statement, index, value));
    }
    void bind(int index, double value) { check(sqlite3_bind_double(m_statement, index, value)); }
    void bind(int index, std::string_view value) {
        check(sqlite3_bind_text(m_statement, index, value.data(), int(value.size()),
                                SQLITE_TRANSIENT));
    }
    // Ready to run again with new values.
    void reset() {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }
    // True while there is a row to read.
    bool step() {
        const int result = sqlite3_step(m_statement);
        if (result == SQLITE_ROW)
            return true;
        if (result != SQLITE_DONE)
            fail("cannot run a query");
        return false;
    }
    std::int64_t integer(int column) const { return sqlite3_column_int64(m_statement, column); }
    double real(int column) const { return sqlite3_column_double(m_statement, column); }
    std::string text(int column) const {
        const auto* bytes = sqlite3_column_text(m_statement, column);
        return bytes ? std::string(reinterpret_cast<const char*>(bytes),
                                   std::size_t(sqlite3_column_bytes(m_statement, column)))
                     : std::string();
    }

    [[noreturn]] void fail(const std::string& doing) const {
        throw HistoryError(m_file + ": " + doing + ": " + sqlite3_errmsg(m_db));
    }

private:
    void check(int result) const {
        if (result != SQLITE_OK)
            fail("cannot bind a value");
    }

    sqlite3* m_db;
    const std::string& m_file;
    sqlite3_stmt* m_statement = nullptr;
};

// A text field of a CSV line, quoted when it holds a separator, a quote or a line break. Text
// that a spreadsheet would run as a formula gets a leading apostrophe, which spreadsheets show
// as text and hide, and is quoted.
std::string csvField(const std::string& text) {
    const bool formula =
        !text.empty() && std::string_view("=+-@").find(text[0]) != std::string::npos;
    if (!formula && text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = formula ? "\"'" : "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

// The shortest C-locale text that reads back to the same double.
std::string numberText(double value) {
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, written.ptr);
}

// The columns every reading selects, in the order readRow takes them.
constexpr const char* Columns =
    "time_ms, station, variable, kind, transition, value, id, tag, operator";

// The row a select of Columns is on.
AlarmTransition readRow(const Statement& select, const std::string& file) {
    const std::string kind = select.text(3), transition = select.text(4);
    const auto knownKind = alarmKindNamed(kind);
    const auto knownTransition = transitionNamed(transition);
    if (!knownKind || !knownTransition)
        throw HistoryError(file + ": row " + std::to_string(select.integer(6)) +
                           (knownKind ? " has the unknown transition \"" + transition
                                      : " has the unknown alarm kind \"" + kind) +
                           "\"");
    return {select.integer(0), select.text(1), select.text(2), *knownKind,
            *knownTransition,  select.real(5), select.text(7), select.text(8)};
}

// A filter as SQL, its values bound by number: ?1 and ?2 the times, ?3 the variable, ?4 the tag,
// and, for a page, the key ?5 (time), ?6 (id) it starts after and its length ?7 (-1: no end).
// Each reading is one or two branches, each a condition that one index serves in the history's
// order: the time index, or the variable's or the tag's (which hold the time after the name).
// With a tag and a variable, the tag's rows and the variable's rows without a tag; the empty
// tag already finds every row without one.
std::vector<std::string> branchesOf(const HistoryFilter& filter) {
    const std::string times = "time_ms >= ?1 AND time_ms <= ?2";
    if (filter.tag && !filter.tag->empty() && filter.variable)
        return {times + " AND tag = ?4", times + " AND tag = '' AND variable = ?3"};
    if (filter.tag)
        return {times + " AND tag = ?4"};
    if (filter.variable)
        return {times + " AND variable = ?3"};
    return {times};
}

std::string pageSql(const HistoryFilter& filter) {
    // A page starts at its key's millisecond (?1, or newest first ?2, is moved to it) and skips
    // the rows of that millisecond up to the key, so the index range begins where the last
    // page ended.
    const std::string afterKey =
        filter.newestFirst ? " AND (time_ms < ?5 OR id < ?6)" : " AND (time_ms > ?5 OR id > ?6)";
    const std::string order =
        filter.newestFirst ? " ORDER BY time_ms DESC, id DESC" : " ORDER BY time_ms, id";
    const auto select = [&](const std::string& where) {
        return std::string("SELECT ") + Columns + " FROM alarm_transitions WHERE " + where +
               afterKey + order + " LIMIT ?7";
    };
    const auto branches = branchesOf(filter);
    if (branches.size() == 1)
        return select(branches[0]);
    // Each branch in order over its index, the two merged.
    return "SELECT * FROM (" + select(branches[0]) + ") UNION ALL SELECT * FROM (" +
           select(branches[1]) + ")" + order + " LIMIT ?7";
}

constexpr std::int64_t Earliest = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t Latest = std::numeric_limits<std::int64_t>::max();

// Binds the filter's values as branchesOf numbers them, only those its SQL holds. A page after a
// key starts its time range at the key's millisecond.
void bindFilter(Statement& statement, const HistoryFilter& filter,
                std::optional<HistoryKey> after = std::nullopt) {
    std::int64_t from = filter.fromMs.value_or(Earliest);
    std::int64_t to = filter.toMs.value_or(Latest);
    if (after && filter.newestFirst)
        to = std::min(to, after->timeMs);
    else if (after)
        from = std::max(from, after->timeMs);
    statement.bind(1, from);
    statement.bind(2, to);
    if (filter.variable)
        statement.bind(3, *filter.variable);
    if (filter.tag)
        statement.bind(4, *filter.tag);
}

// Binds a page's key and length, as pageSql numbers them; limit -1 for all rows. Without a
// key, every row lies after the first page's start.
void bindPage(Statement& statement, const HistoryFilter& filter, std::optional<HistoryKey> after,
              std::int64_t limit) {
    const std::int64_t start = filter.newestFirst ? Latest : Earliest;
    statement.bind(5, after ? after->timeMs : start);
    statement.bind(6, after ? after->id : start);
    statement.bind(7, limit);
}

} // namespace

std::string utcText(std::int64_t timeMs) {
    const std::int64_t seconds = timeMs >= 0 ? timeMs / 1000 : -((-timeMs + 999) / 1000);
    const int millis = int(timeMs - seconds * 1000);
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm parts{};
    gmtime_r(&t, &parts);
    char buffer[40];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%S", &parts);
    char out[48];
    std::snprintf(out, sizeof out, "%s.%03dZ", buffer, millis);
    return out;
}

AlarmHistory::AlarmHistory(const std::filesystem::path& path, const std::string& vfs)
    : m_file(path.string()), m_vfs(vfs) {
    if (sqlite3_open_v2(m_file.c_str(), &m_db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                        vfs.empty() ? nullptr : vfs.c_str()) != SQLITE_OK) {
        const std::string why = m_db ? sqlite3_errmsg(m_db) : "out of memory";
        sqlite3_close(m_db);
        throw HistoryError(m_file + ": cannot open the alarm history: " + why);
    }
    sqlite3_busy_timeout(m_db, BusyTimeoutMs);
    // Another program's database is read, never changed: no table, no WAL switch.
    std::string others;
    try {
        Statement tables(m_db,
                         "SELECT name FROM sqlite_schema WHERE type = 'table' AND "
                         "name <> 'alarm_transitions' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
                         "ORDER BY name",
                         m_file);
        while (tables.step())
            others += (others.empty() ? "" : ", ") + tables.text(0);
    } catch (const HistoryError&) {
        const std::string why = sqlite3_errmsg(m_db); // "file is not a database"
        sqlite3_close(m_db);
        throw HistoryError(m_file + ": cannot open the alarm history: " + why);
    }
    if (!others.empty()) {
        sqlite3_close(m_db);
        throw HistoryError(m_file + ": not an alarm history of the panel, it holds other tables (" +
                           others + "); name another file with --history");
    }
    auto run = [this](const char* sql) {
        char* message = nullptr;
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
            const std::string why = message ? message : sqlite3_errmsg(m_db);
            sqlite3_free(message);
            sqlite3_close(m_db);
            m_db = nullptr;
            throw HistoryError(m_file + ": cannot prepare the alarm history: " + why);
        }
    };
    // WAL with full syncs: a committed transaction is on the disk before record returns.
    for (const char* sql : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=FULL", Schema})
        run(sql);
    for (const auto& [column, addIt] : LaterColumns)
        if (!hasColumn(column))
            run(addIt);
    for (const char* sql : TagIndexes)
        run(sql);
}

bool AlarmHistory::hasColumn(const std::string& name) {
    Statement columns(m_db, "SELECT 1 FROM pragma_table_info('alarm_transitions') WHERE name = ?",
                      m_file);
    columns.bind(1, name);
    return columns.step();
}

AlarmHistory::~AlarmHistory() {
    sqlite3_close(m_db);
}

void AlarmHistory::checkRecordable(const AlarmTransition& t) const {
    if (!std::isfinite(t.value))
        throw HistoryError(m_file + ": a transition's value must be a finite number");
}

void AlarmHistory::record(const AlarmTransition& t) {
    recordAll(std::span(&t, 1));
}

void AlarmHistory::recordAll(std::span<const AlarmTransition> transitions) {
    for (const AlarmTransition& t : transitions)
        checkRecordable(t);
    const auto exec = [this](const char* sql) {
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            throw HistoryError(m_file +
                               ": cannot write the alarm history: " + sqlite3_errmsg(m_db));
    };
    try {
        exec("BEGIN IMMEDIATE");
        Statement insert(m_db,
                         "INSERT INTO alarm_transitions (time_ms, station, variable, kind, "
                         "transition, value, tag, operator) VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                         m_file);
        for (const AlarmTransition& t : transitions) {
            insert.bind(1, t.timeMs);
            insert.bind(2, t.station);
            insert.bind(3, t.variable);
            insert.bind(4, nameOf(t.kind));
            insert.bind(5, nameOf(t.transition));
            insert.bind(6, t.value);
            insert.bind(7, t.tag);
            insert.bind(8, t.operatorName);
            insert.step();
            insert.reset();
        }
        exec("COMMIT");
    } catch (const HistoryError&) {
        // A failed write or commit may leave the transaction open; none of it stays.
        if (!sqlite3_get_autocommit(m_db))
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

std::vector<AlarmTransition> AlarmHistory::query(std::optional<std::int64_t> fromMs,
                                                 std::optional<std::int64_t> toMs,
                                                 const std::optional<std::string>& variable,
                                                 const std::optional<std::string>& tag) {
    std::vector<AlarmTransition> rows;
    forEach({fromMs, toMs, variable, tag}, [&](const AlarmTransition& t) { rows.push_back(t); });
    return rows;
}

void AlarmHistory::forEach(const HistoryFilter& filter,
                           const std::function<void(const AlarmTransition&)>& visit) {
    Statement select(m_db, pageSql(filter).c_str(), m_file);
    bindFilter(select, filter);
    bindPage(select, filter, std::nullopt, -1);
    while (select.step())
        visit(readRow(select, m_file));
}

HistoryPage AlarmHistory::page(const HistoryFilter& filter, std::optional<HistoryKey> after,
                               std::size_t limit) {
    Statement select(m_db, pageSql(filter).c_str(), m_file);
    bindFilter(select, filter, after);
    bindPage(select, filter, after, std::int64_t(std::min<std::size_t>(limit, Latest)));
    HistoryPage page;
    while (select.step()) {
        page.rows.push_back(readRow(select, m_file));
        page.last = HistoryKey{select.integer(0), select.integer(6)};
    }
    return page;
}

std::vector<AlarmTransition> AlarmHistory::sinceLatestRaises(const std::string& station,
                                                             const std::vector<std::string>& tags) {
    // Each row with its id, for the history's order across the readings.
    std::vector<std::pair<std::int64_t, AlarmTransition>> rows;
    const auto take = [&](Statement& select) {
        while (select.step())
            rows.emplace_back(select.integer(6), readRow(select, m_file));
    };
    // Of each of the tags and each kind, the latest raise by station, found at the end of the
    // tag's and kind's index range; then the rows from it on. The rows of other tags are no
    // gauge's of the form.
    Statement latest(m_db,
                     "SELECT time_ms FROM alarm_transitions WHERE tag = ?1 AND kind = ?2 AND "
                     "station = ?3 AND transition = 'raised' ORDER BY time_ms DESC LIMIT 1",
                     m_file);
    Statement since(m_db,
                    (std::string("SELECT ") + Columns +
                     " FROM alarm_transitions WHERE tag = ?1 AND kind = ?2 AND time_ms >= ?3")
                        .c_str(),
                    m_file);
    const std::set<std::string> distinct(tags.begin(), tags.end());
    for (const std::string& tag : distinct) {
        if (tag.empty())
            continue;
        for (const AlarmKind kind : AlarmKinds) {
            latest.reset();
            latest.bind(1, tag);
            latest.bind(2, nameOf(kind));
            latest.bind(3, station);
            // Never raised here under its tag, it may have been under its caption alone, before
            // tags were kept: then every row under the tag counts.
            const std::int64_t from =
                latest.step() ? latest.integer(0) : std::numeric_limits<std::int64_t>::min();
            since.reset();
            since.bind(1, tag);
            since.bind(2, nameOf(kind));
            since.bind(3, from);
            take(since);
        }
    }
    // Rows from before tags were kept (so few) name their gauge by its caption: all are read.
    Statement untagged(
        m_db, (std::string("SELECT ") + Columns + " FROM alarm_transitions WHERE tag = ''").c_str(),
        m_file);
    take(untagged);
    std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
        return std::pair(a.second.timeMs, a.first) < std::pair(b.second.timeMs, b.first);
    });
    std::vector<AlarmTransition> ordered;
    ordered.reserve(rows.size());
    for (auto& [id, row] : rows)
        ordered.push_back(std::move(row));
    return ordered;
}

void writeCsvHeader(std::ostream& out) {
    out << "time,station,variable,kind,transition,value,tag,operator\n";
}

void writeCsvLine(std::ostream& out, const AlarmTransition& t) {
    out << utcText(t.timeMs) << ',' << csvField(t.station) << ',' << csvField(t.variable) << ','
        << nameOf(t.kind) << ',' << nameOf(t.transition) << ',' << numberText(t.value) << ','
        << csvField(t.tag) << ',' << csvField(t.operatorName) << '\n';
}

void writeCsv(std::ostream& out, std::span<const AlarmTransition> transitions) {
    writeCsvHeader(out);
    for (const AlarmTransition& t : transitions)
        writeCsvLine(out, t);
}

void AlarmHistory::exportCsv(std::ostream& out) {
    const auto failed = [&] { return HistoryError(m_file + ": cannot write the CSV export"); };
    writeCsvHeader(out);
    forEach({}, [&](const AlarmTransition& t) {
        writeCsvLine(out, t);
        // A full disk ends the export at once rather than after reading the rest.
        if (!out)
            throw failed();
    });
    if (!out)
        throw failed();
}

} // namespace merv::panel
