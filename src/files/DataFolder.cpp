#include "files/DataFolder.h"

#include <filesystem>
#include <system_error>

namespace kolvane {

namespace fs = std::filesystem;

namespace {

std::string WithSlash(const fs::path& p) {
    std::string s = p.lexically_normal().string();
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

} // namespace

std::string DataFolder(const std::string& programFolder) {
    const fs::path own = programFolder.empty() ? fs::path(".") : fs::path(programFolder);
    std::error_code ec;
    for (const char* name : {"PropLib.db", "Piples.db", "Manual.pdf"})
        if (fs::exists(own / name, ec)) return WithSlash(own);
    const fs::path installed = (own / ".." / "share" / "kolvane").lexically_normal();
    if (fs::is_directory(installed, ec)) return WithSlash(installed);
    return WithSlash(own);
}

} // namespace kolvane
