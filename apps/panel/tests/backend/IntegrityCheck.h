#pragma once

#include <sqlite3.h>

#include <filesystem>
#include <string>

namespace merv::test {

// What SQLite's own PRAGMA integrity_check says of a database file: "ok" when it is whole.
inline std::string integrityVerdict(const std::filesystem::path& path) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return "cannot open " + path.string();
    }
    std::string verdict;
    sqlite3_exec(
        db, "PRAGMA integrity_check",
        [](void* out, int, char** values, char**) {
            *static_cast<std::string*>(out) += values[0] ? values[0] : "";
            return 0;
        },
        &verdict, nullptr);
    sqlite3_close(db);
    return verdict;
}

} // namespace merv::test
