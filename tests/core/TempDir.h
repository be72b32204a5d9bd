#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>

#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kolvane::testing_support {

// A fresh folder under the system's temporary folder, removed with its
// content when the object goes.
class TempDir {
public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kolvane-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(std::string_view name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Runs a shell command; its exit code and standard output.
inline std::pair<int, std::string> Shell(const std::string& command) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return {-1, out};
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;)
        out.append(buf, n);
    const int status = pclose(p);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

inline std::string Quoted(const std::string& s) {
    return "'" + s + "'";
}

// Ends the test program should what runs meanwhile wait for ever, as an
// open of a FIFO would, rather than hang the whole run.
struct Deadline {
    explicit Deadline(unsigned seconds) { ::alarm(seconds); }
    ~Deadline() { ::alarm(0); }
};

inline void WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What a data file must never be read as, put at `path`: a "fifo", a
// "folder", a "device" (a link to /dev/null), or the database `db` with its
// second page (a table's) zeroed, as a failing disk leaves it.
inline void MakeNoDataFile(std::string_view kind, const std::string& path,
                           const std::string& db = {}) {
    if (kind == "fifo") ::mkfifo(path.c_str(), 0644);
    if (kind == "folder") std::filesystem::create_directory(path);
    if (kind == "device") std::filesystem::create_symlink("/dev/null", path);
    if (kind != "zeroed page") return;
    std::string bytes = ReadBytes(db);
    bytes.replace(4096, 4096, 4096, '\0');
    WriteBytes(path, bytes);
}

// Each kind MakeNoDataFile makes, with what the reader says of it.
inline constexpr std::pair<const char*, const char*> kNoDataFiles[] = {
    {"fifo", "不是普通文件（是命名管道）"},
    {"folder", "不是普通文件（是文件夹）"},
    {"device", "不是普通文件（是字符设备）"},
    {"zeroed page", "无法读取（database disk image is malformed）"}};

} // namespace kolvane::testing_support
