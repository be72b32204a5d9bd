#include "files/SqliteFile.h"

#include "files/AtomicFile.h"
#include "model/Errors.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <sys/stat.h>

namespace kolvane {

namespace {

// Our databases hold a few hundred rows; a file of this size is not one of
// them, and reading it whole would only cost memory.
constexpr std::size_t kMaxDatabaseBytes = 64u << 20;

std::string Named(std::string_view what, const std::string& path) {
    return std::string(what) + path;
}

[[noreturn]] void TooLarge(std::string_view what, const std::string& path, std::size_t bytes) {
    throw IoError(Named(what, path) + "过大（" + std::to_string(bytes) +
                  "字节），不是本程序的数据库");
}

struct SqliteFree {
    void operator()(unsigned char* p) const { sqlite3_free(p); }
};

} // namespace

const char* FileKindName(unsigned mode) {
    if (S_ISDIR(mode)) return "文件夹";
    if (S_ISFIFO(mode)) return "命名管道";
    if (S_ISCHR(mode)) return "字符设备";
    if (S_ISBLK(mode)) return "块设备";
    if (S_ISSOCK(mode)) return "套接字";
    return "特殊文件";
}

void FailDatabase(sqlite3* db, const std::string& path, std::string_view what,
                  std::string_view doing) {
    throw IoError(Named(what, path) + std::string(doing) + "（" +
                  (db ? sqlite3_errmsg(db) : "sqlite") + "）");
}

SqliteDb LoadDatabase(const std::string& path, std::string_view what, bool writable) {
    // Looked at before anything opens it: a FIFO would block the open, and
    // opening a device can have effects of its own.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        const int err = errno;
        if (err == ENOENT || err == ENOTDIR) throw IoError(std::string(what) + "不存在：" + path);
        throw IoError(Named(what, path) + "无法读取（" + std::strerror(err) + "）");
    }
    if (!S_ISREG(st.st_mode))
        throw IoError(Named(what, path) + "不是普通文件（是" + FileKindName(st.st_mode) + "）");
    if (static_cast<std::uintmax_t>(st.st_size) > kMaxDatabaseBytes)
        TooLarge(what, path, static_cast<std::size_t>(st.st_size));

    // Opened without blocking and checked again once open.
    std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) throw IoError(std::string(what) + "不存在：" + path);
    if (bytes->size() > kMaxDatabaseBytes) TooLarge(what, path, bytes->size());

    sqlite3* raw = nullptr;
    const int opened =
        sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    SqliteDb db(raw);
    if (opened != SQLITE_OK) FailDatabase(raw, path, what, "无法打开");
    // SQLite owns the copy from here on, also when the call fails.
    const auto size = static_cast<sqlite3_int64>(bytes->size());
    auto* image = static_cast<unsigned char*>(sqlite3_malloc64(bytes->empty() ? 1 : bytes->size()));
    if (!image) throw IoError(Named(what, path) + "无法读取（内存不足）");
    std::memcpy(image, bytes->data(), bytes->size());
    const unsigned flags = SQLITE_DESERIALIZE_FREEONCLOSE |
                           (writable ? SQLITE_DESERIALIZE_RESIZEABLE : SQLITE_DESERIALIZE_READONLY);
    if (sqlite3_deserialize(db.get(), "main", image, size, size, flags) != SQLITE_OK)
        FailDatabase(db.get(), path, what);
    return db;
}

void StoreDatabase(sqlite3* db, const std::string& path, std::string_view what) {
    sqlite3_int64 size = 0;
    std::unique_ptr<unsigned char, SqliteFree> image(sqlite3_serialize(db, "main", &size, 0));
    if (!image) FailDatabase(db, path, what, "无法保存");
    WriteFileAtomically(path, std::string_view(reinterpret_cast<const char*>(image.get()),
                                               static_cast<std::size_t>(size)));
}

bool StepRow(sqlite3* db, sqlite3_stmt* statement, const std::string& path, std::string_view what) {
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    FailDatabase(db, path, what);
}

} // namespace kolvane
