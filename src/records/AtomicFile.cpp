#include "records/AtomicFile.h"

#include "model/Errors.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace kolvane {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void Fail(const std::string& path, const char* what, int err) {
    throw IoError("无法保存文件 " + path + "：" + what + "（" + std::strerror(err) + "）");
}

bool WriteAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
    fs::path target(path);
    std::error_code ec;
    if (fs::is_symlink(target, ec)) {
        fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec) target = resolved;
    }
    struct stat old {};
    bool existed = ::stat(target.c_str(), &old) == 0;
    if (existed && S_ISDIR(old.st_mode)) Fail(path, "这是一个文件夹", EISDIR);
    if (existed && ::access(target.c_str(), W_OK) != 0) Fail(path, "文件是只读的", errno);

    fs::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    std::string tmp = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(tmp.data());
    if (fd < 0) Fail(path, "不能创建临时文件", errno);

    auto abandon = [&](const char* what) {
        int err = errno;
        if (fd >= 0) ::close(fd);
        ::unlink(tmp.c_str());
        Fail(path, what, err);
    };
    // The new file keeps the permissions of the one it replaces; a new file
    // gets what the user's umask allows, like any file the user creates.
    mode_t mode;
    if (existed) {
        mode = old.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0) abandon("不能设置文件权限");
    if (!WriteAll(fd, bytes)) abandon("写入失败");
    if (::fsync(fd) != 0) abandon("写入磁盘失败");
    int closing = fd;
    fd = -1;
    if (::close(closing) != 0) abandon("写入失败");
    if (::rename(tmp.c_str(), target.c_str()) != 0) abandon("不能替换原文件");

    // Make the rename itself durable; a failure here loses nothing.
    int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::error_code ec;
    if (!fs::exists(path, ec)) return std::nullopt;
    if (fs::is_directory(path, ec)) throw IoError("无法读取文件 " + path + "：这是一个文件夹");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw IoError("无法读取文件 " + path + "（" + std::strerror(errno) + "）");
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw IoError("无法读取文件 " + path);
    return data;
}

} // namespace kolvane
