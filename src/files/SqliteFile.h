#pragma once

#include "files/IoError.h"
#include "files/SqliteHandle.h"

#include <string>
#include <string_view>

namespace kolvane {

// The program's databases (the property library, the reference tables) are
// small; they are read whole into memory and written back whole, so that
// SQLite never opens the file itself: the checks of ReadWholeFile (only a
// regular file, opened without blocking) and WriteFileAtomically (complete
// or not at all, links, ownership) apply to them as to every other file.
// `what` names the file in messages: "物性库文件", "参考数据文件".

// Loads the database at `path` into an in-memory connection; writable lets
// the caller change it for StoreDatabase. Raises IoError naming the file:
// when it is missing ("参考数据文件不存在：…"), when it is not a regular file
// ("物性库文件…不是普通文件（是命名管道）"), when it is too large to be ours,
// or when it cannot be read.
SqliteDb LoadDatabase(const std::string& path, std::string_view what, bool writable = false);

// Writes the database of `db` to `path` as WriteFileAtomically writes a file.
void StoreDatabase(sqlite3* db, const std::string& path, std::string_view what);

// Steps a statement that reads rows: true for a row, false at the end. Any
// other result (a damaged page, a full disk) is IoError naming the file and
// SQLite's message: a table cut short by a fault must not read as complete.
bool StepRow(sqlite3* db, sqlite3_stmt* statement, const std::string& path, std::string_view what);

// IoError "WHATPATH无法读取（SQLite's message）".
[[noreturn]] void FailDatabase(sqlite3* db, const std::string& path, std::string_view what,
                               std::string_view doing = "无法读取");

// The Chinese name of what a non-regular file is: "命名管道", "文件夹", ….
const char* FileKindName(unsigned mode);

} // namespace kolvane
