// The property library's store: an SQLite database of PropertyRecord rows.
#include "props/PropLib.h"

#include "files/TextCodec.h"
#include "formula/NumberFormat.h"
#include "model/Errors.h"

#include "files/SqliteFile.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace kolvane {

namespace fs = std::filesystem;

namespace {

constexpr const char* kFileName = "PropLib.db";
constexpr std::string_view kWhat = "物性库文件";

using Db = SqliteDb;
using Stmt = SqliteStmt;

[[noreturn]] void Fail(sqlite3* db, const std::string& what) {
    throw IoError(what + "（" + (db ? sqlite3_errmsg(db) : "sqlite") + "）");
}

Stmt Prepare(sqlite3* db, const char* sql, const std::string& path) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK) FailDatabase(db, path, kWhat);
    return Stmt(s);
}

void Exec(sqlite3* db, const char* sql, const std::string& what) {
    char* err = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        std::string m = err ? err : "";
        sqlite3_free(err);
        throw IoError(what + "（" + m + "）");
    }
}

std::string UserCopy() {
    const char* data = std::getenv("XDG_DATA_HOME");
    fs::path base;
    if (data && *data) {
        base = data;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = fs::path(home) / ".local" / "share";
    } else {
        return {};
    }
    return (base / "Kolvane" / kFileName).string();
}

} // namespace

const std::array<PropertyField, 10>& PropertyFields() {
    static const std::array<PropertyField, 10> fields = {{
        {"NO", "流水号", 6, &PropertyRecord::NO},
        {"CN", "中文名", 20, &PropertyRecord::CN},
        {"EN", "英文名", 20, &PropertyRecord::EN},
        {"CP", "比热", 300, &PropertyRecord::CP},
        {"MD", "密度", 300, &PropertyRecord::MD},
        {"VI", "黏度", 300, &PropertyRecord::VI},
        {"TC", "导热系数", 300, &PropertyRecord::TC},
        {"ST", "表面张力", 300, &PropertyRecord::ST},
        {"HV", "蒸发潜热", 300, &PropertyRecord::HV},
        {"NT", "注释", 100, &PropertyRecord::NT},
    }};
    return fields;
}

const PropertyField* FindPropertyField(std::string_view name) {
    for (const PropertyField& f : PropertyFields())
        if (EqualsIgnoreAsciiCase(f.name, name)) return &f;
    return nullptr;
}

std::string CheckPropertyRecord(const PropertyRecord& r) {
    for (const PropertyField& f : PropertyFields()) {
        const std::string& text = r.*f.member;
        std::size_t bytes = 0;
        try {
            bytes = Utf8ToGb18030(text).size();
        } catch (const Error&) {
            return std::string(f.label) + "（流水号 " + r.NO + "）含有无法保存的字符";
        }
        if (bytes > f.bytes)
            return std::string(f.label) + "（流水号 " + r.NO + "）超过" + std::to_string(f.bytes) +
                   "字节（现为" + std::to_string(bytes) + "字节）";
    }
    if (r.NO.empty()) return "流水号不能为空";
    return {};
}

std::vector<PropertyRecord> LoadPropLib(const std::string& path) {
    Db db = LoadDatabase(path, kWhat);
    Stmt s = Prepare(
        db.get(), "SELECT NO, CN, EN, CP, MD, VI, TC, ST, HV, NT FROM PropertyRecord ORDER BY NO",
        path);
    std::vector<PropertyRecord> out;
    while (StepRow(db.get(), s.get(), path, kWhat)) {
        PropertyRecord r;
        int col = 0;
        for (const PropertyField& f : PropertyFields()) {
            const unsigned char* text = sqlite3_column_text(s.get(), col++);
            r.*f.member = text ? reinterpret_cast<const char*>(text) : "";
        }
        out.push_back(std::move(r));
    }
    return out;
}

void SavePropLib(const std::string& path, const std::vector<PropertyRecord>& records) {
    for (const PropertyRecord& r : records)
        if (std::string problem = CheckPropertyRecord(r); !problem.empty()) throw Error(problem);
    // Built in memory and written as every file of the user's is: complete or
    // not at all, only over a regular file, through a link as a link says.
    sqlite3* raw = nullptr;
    const int opened =
        sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    Db db(raw);
    if (opened != SQLITE_OK) FailDatabase(raw, path, kWhat, "无法保存");
    Exec(db.get(), "BEGIN", "物性库无法保存");
    Exec(db.get(),
         "CREATE TABLE PropertyRecord (NO TEXT PRIMARY KEY, CN TEXT NOT NULL, EN TEXT, "
         "CP TEXT, MD TEXT, VI TEXT, TC TEXT, ST TEXT, HV TEXT, NT TEXT)",
         "物性库无法保存");
    Stmt ins = Prepare(db.get(), "INSERT INTO PropertyRecord VALUES (?,?,?,?,?,?,?,?,?,?)", path);
    for (const PropertyRecord& r : records) {
        int col = 1;
        for (const PropertyField& f : PropertyFields()) {
            const std::string& text = r.*f.member;
            if (text.empty() && col > 2)
                sqlite3_bind_null(ins.get(), col++);
            else
                sqlite3_bind_text(ins.get(), col++, text.c_str(), -1, SQLITE_TRANSIENT);
        }
        if (sqlite3_step(ins.get()) != SQLITE_DONE)
            Fail(db.get(), "物性库无法保存：流水号 " + r.NO);
        sqlite3_reset(ins.get());
    }
    ins.reset();
    Exec(db.get(), "COMMIT", "物性库无法保存");
    StoreDatabase(db.get(), path, kWhat);
}

std::string PropLibReadPath(const std::string& programDir) {
    std::error_code ec;
    const std::string mine = UserCopy();
    // Whatever stands there is the user's copy: one that is no regular file
    // is refused with its name rather than passed over for the shipped one.
    if (!mine.empty() && fs::exists(fs::status(mine, ec))) return mine;
    return (fs::path(programDir) / kFileName).string();
}

std::string PropLibSavePath(const std::string& programDir) {
    // An installed program's folder is not the user's to write; the user's
    // own copy then takes the edits and is read from then on.
    if (::access(programDir.empty() ? "." : programDir.c_str(), W_OK) == 0 &&
        PropLibReadPath(programDir) != UserCopy())
        return (fs::path(programDir) / kFileName).string();
    const std::string mine = UserCopy();
    if (mine.empty()) return (fs::path(programDir) / kFileName).string();
    std::error_code ec;
    fs::create_directories(fs::path(mine).parent_path(), ec);
    return mine;
}

} // namespace kolvane
