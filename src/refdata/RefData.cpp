// The reference tables in SQLite: the pipe series and the expansion
// coefficients of liquids.
#include "refdata/RefData.h"

#include "formula/NumberFormat.h"
#include "model/Errors.h"

#include "files/SqliteFile.h"

namespace kolvane {

namespace {

constexpr std::string_view kTimes = "×"; // U+00D7, GBK A1 C1
constexpr std::string_view kWhat = "参考数据文件";

using Db = SqliteDb;
using Stmt = SqliteStmt;

Stmt Prepare(sqlite3* db, const char* sql, const std::string& path) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK) FailDatabase(db, path, kWhat);
    return Stmt(s);
}

std::string Text(sqlite3_stmt* s, int col) {
    const unsigned char* t = sqlite3_column_text(s, col);
    return t ? reinterpret_cast<const char*>(t) : "";
}

} // namespace

PipeSize ParseDesignation(std::string_view dn) {
    const std::size_t at = dn.find(kTimes);
    if (at == std::string_view::npos) throw Error("管子规格“" + std::string(dn) + "”中没有“×”");
    auto number = [&](std::string_view part) {
        auto v = ParseExactReal(TrimControl(part));
        if (!v)
            throw Error("管子规格“" + std::string(dn) + "”中“" + std::string(part) + "”不是数字");
        return *v;
    };
    const double outside = number(dn.substr(0, at));
    const double wall = number(dn.substr(at + kTimes.size(), 10));
    if (!(outside > 0) || !(wall > 0) || !(outside - 2 * wall > 0))
        throw Error("管子规格“" + std::string(dn) + "”的外径与壁厚不合理");
    return {outside, outside - 2 * wall};
}

void RefTables::open(const std::string& path) {
    path_ = path;
    problem_.clear();
    pipes_.clear();
    expansion_.clear();
    currentPipe_ = 0;
    try {
        Db db = LoadDatabase(path, kWhat);
        Stmt p = Prepare(db.get(), "SELECT ID, DN, Do, Di FROM Piples1 ORDER BY ID", path);
        while (StepRow(db.get(), p.get(), path, kWhat))
            pipes_.push_back({sqlite3_column_int(p.get(), 0), Text(p.get(), 1),
                              sqlite3_column_double(p.get(), 2),
                              sqlite3_column_double(p.get(), 3)});
        Stmt e = Prepare(db.get(), "SELECT ID, DN, Ec FROM Expand1 ORDER BY ID", path);
        while (StepRow(db.get(), e.get(), path, kWhat))
            expansion_.push_back({sqlite3_column_int(e.get(), 0), Text(e.get(), 1),
                                  sqlite3_column_double(e.get(), 2)});
    } catch (const Error& err) {
        pipes_.clear();
        expansion_.clear();
        problem_ = err.what();
    }
}

void RefTables::setCurrentPipe(int index) {
    if (index >= 0 && index < static_cast<int>(pipes_.size())) currentPipe_ = index;
}

std::vector<std::string> RefTables::maintain() {
    if (!available()) throw IoError("参考数据不可用：" + problem_);
    std::vector<std::string> skipped;
    std::vector<PipeRow> updated = pipes_;
    for (PipeRow& row : updated) {
        try {
            const PipeSize s = ParseDesignation(row.dn);
            row.outside = s.outside;
            row.inside = s.inside;
        } catch (const Error& e) {
            skipped.push_back("序号 " + std::to_string(row.id) + "：" + e.what());
        }
    }
    // Changed in memory and written back whole: a failed store leaves the
    // file as it was.
    Db db = LoadDatabase(path_, kWhat, true);
    auto exec = [&](const char* sql) {
        if (sqlite3_exec(db.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            FailDatabase(db.get(), path_, kWhat, "无法保存");
    };
    exec("BEGIN");
    Stmt up = Prepare(db.get(), "UPDATE Piples1 SET Di = ?, Do = ? WHERE ID = ?", path_);
    for (const PipeRow& row : updated) {
        sqlite3_bind_double(up.get(), 1, row.inside);
        sqlite3_bind_double(up.get(), 2, row.outside);
        sqlite3_bind_int(up.get(), 3, row.id);
        if (sqlite3_step(up.get()) != SQLITE_DONE) FailDatabase(db.get(), path_, kWhat, "无法保存");
        sqlite3_reset(up.get());
    }
    up.reset();
    exec("COMMIT");
    StoreDatabase(db.get(), path_, kWhat);
    pipes_ = std::move(updated);
    return skipped;
}

} // namespace kolvane
