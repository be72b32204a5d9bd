#pragma once

#include <sqlite3.h>

#include <memory>

namespace kolvane {

// An SQLite connection and a prepared statement that close themselves.
struct SqliteCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using SqliteDb = std::unique_ptr<sqlite3, SqliteCloser>;
using SqliteStmt = std::unique_ptr<sqlite3_stmt, SqliteCloser>;

} // namespace kolvane
