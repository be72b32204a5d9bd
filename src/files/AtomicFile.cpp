#include "files/AtomicFile.h"

#include "model/Errors.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kolvane {

namespace {

// Links further than this are taken for a loop, as the kernel does (40).
constexpr int kMaxLinkHops = 40;
// A temporary this old belongs to no save still running.
constexpr std::time_t kStaleSeconds = 24 * 60 * 60;
// ".NAME." followed by this many letters or digits.
constexpr std::size_t kSuffixLength = 6;

// A message stays on one line whatever a name holds.
[[noreturn]] void Fail(const std::string& path, const std::string& what) {
    throw IoError(ShowControlCharacters("无法保存文件 " + path + "：" + what));
}

[[noreturn]] void FailRead(const std::string& path, const std::string& what) {
    throw IoError(ShowControlCharacters("无法读取文件 " + path + "：" + what));
}

[[noreturn]] void FailErrno(const std::string& path, const std::string& what, int err) {
    Fail(path, what + "（" + std::strerror(err) + "）");
}

// Closes the descriptor it holds when it goes.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    int release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }
    void reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

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

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "这是一个文件夹";
    if (S_ISFIFO(mode)) return "这是一个命名管道（FIFO）";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "这是一个设备文件";
    if (S_ISSOCK(mode)) return "这是一个套接字";
    if (S_ISLNK(mode)) return "这是一个符号链接";
    return "这不是普通文件";
}

// The text of the symbolic link `link`, whatever its length.
std::string ReadLink(const std::string& path, const std::string& link, off_t sizeHint) {
    std::string buf(static_cast<std::size_t>(std::max<off_t>(sizeHint, 63)) + 1, '\0');
    for (;;) {
        ssize_t n = ::readlink(link.c_str(), buf.data(), buf.size());
        if (n < 0) FailErrno(path, "不能读取符号链接 " + link, errno);
        if (static_cast<std::size_t>(n) < buf.size()) {
            buf.resize(static_cast<std::size_t>(n));
            return buf;
        }
        buf.resize(buf.size() * 2);
    }
}

// A link in a folder that everybody may write to and only owners may delete
// from (/tmp) can be planted by anyone, to make someone else's save write a
// file of the victim's choosing. Such a link is followed only when it is the
// follower's own or the folder owner's, as the kernel's protected_symlinks
// rule has it; the rule is applied here because that setting may be off.
void CheckLinkMayBeFollowed(const std::string& path, const std::string& link,
                            const struct stat& st) {
    if (st.st_uid == ::geteuid()) return;
    const std::string folder = FolderOf(link);
    struct stat dir {};
    if (::stat(folder.c_str(), &dir) != 0) return; // told when the folder is opened
    const mode_t shared = S_ISVTX | S_IWOTH;
    if ((dir.st_mode & shared) != shared || dir.st_uid == st.st_uid) return;
    Fail(path, "符号链接 " + link + " 属于其他用户（uid " + std::to_string(st.st_uid) +
                   "），位于所有人可写的粘滞文件夹 " + folder + " 中，不跟随它保存");
}

// The name that a save of `path` writes: the end of its chain of symbolic
// links, also when that end does not exist yet. A relative link is read
// relative to the folder that holds the link. The folders on the way are
// not resolved: the kernel does that when the name is used.
std::string ResolveLinks(const std::string& path) {
    std::string current = path;
    for (int hops = 0;; ++hops) {
        struct stat st {};
        // A missing name is created; any other problem with it shows up,
        // with a better message, when its folder is opened.
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        if (hops == kMaxLinkHops) FailErrno(path, "符号链接太多", ELOOP);
        CheckLinkMayBeFollowed(path, current, st);
        std::string text = ReadLink(path, current, st.st_size);
        if (text.empty()) FailErrno(path, "符号链接 " + current + " 是空的", ENOENT);
        current = text.front() == '/' ? text : FolderOf(current) + "/" + text;
    }
}

// The temporaries of a save of `name` begin with this. The name is cut,
// at a UTF-8 character boundary, so that the temporary's name is not longer
// than a file name may be.
std::string TemporaryPrefix(const std::string& name) {
    const std::size_t room = NAME_MAX - 2 - kSuffixLength;
    std::size_t cut = std::min(name.size(), room);
    while (cut > 0 && cut < name.size() && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
        --cut;
    return "." + name.substr(0, cut) + ".";
}

bool IsLower(char c) {
    return c >= 'a' && c <= 'z';
}

bool IsSuffixChar(char c) {
    return (c >= 'A' && c <= 'Z') || IsLower(c) || (c >= '0' && c <= '9');
}

std::string RandomSuffix() {
    static const char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::atomic<unsigned> counter{0};
    unsigned char raw[kSuffixLength];
    if (::getrandom(raw, sizeof raw, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof raw)) {
        // No entropy yet (early boot): the clock, the process and a counter
        // still make clashes rare, and a clash only means another try.
        timespec ts{};
        ::clock_gettime(CLOCK_REALTIME, &ts);
        unsigned long long mix = static_cast<unsigned long long>(ts.tv_nsec) ^
                                 (static_cast<unsigned long long>(ts.tv_sec) << 20) ^
                                 (static_cast<unsigned long long>(::getpid()) << 40) ^ ++counter;
        for (unsigned char& b : raw) {
            mix = mix * 6364136223846793005ULL + 1442695040888963407ULL;
            b = static_cast<unsigned char>(mix >> 56);
        }
    }
    // The first character is never a small letter, so that a suffix of ours
    // is never a word like "backup" (see IsOurTemporary).
    std::string out(1, kAlphabet[raw[0] % 26]);
    for (std::size_t i = 1; i < kSuffixLength; ++i)
        out += kAlphabet[raw[i] % (sizeof kAlphabet - 1)];
    return out;
}

bool EndsWithIgnoreCase(const std::string& s, const char* tail) {
    std::size_t n = std::strlen(tail);
    if (s.size() < n) return false;
    for (std::size_t i = 0; i < n; ++i) {
        char a = s[s.size() - n + i];
        if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
        if (a != tail[i]) return false;
    }
    return true;
}

// Whether `entry` is a temporary that a save of ours may have left: the
// pattern ".NAME.XXXXXX" for the file being saved now, or for any project or
// template file (the other names of the pattern might be another program's).
// A suffix of small letters only is a word a person chose (".tank.kvp.backup")
// rather than a random one, and is left alone.
bool IsOurTemporary(const std::string& entry, const std::string& savedName) {
    if (entry.size() < 3 + kSuffixLength || entry.front() != '.') return false;
    std::size_t dot = entry.size() - kSuffixLength - 1;
    if (entry[dot] != '.') return false;
    auto suffix = entry.begin() + static_cast<std::ptrdiff_t>(dot) + 1;
    if (!std::all_of(suffix, entry.end(), IsSuffixChar) ||
        std::all_of(suffix, entry.end(), IsLower))
        return false;
    std::string prefix = entry.substr(0, dot + 1);
    if (prefix == TemporaryPrefix(savedName)) return true;
    std::string base = entry.substr(1, dot - 1);
    return EndsWithIgnoreCase(base, ".kvp") || EndsWithIgnoreCase(base, ".kvt");
}

// Removes the folder's temporaries of our pattern that are older than a
// day and belong to this user: left by a machine that went down in the
// instant between naming the new file and renaming it, or by a save on a
// filesystem without unnamed files. Fresh ones may belong to a save still
// running. Failing to remove one costs nothing.
void RemoveStaleTemporaries(int dirfd, const std::string& savedName) {
    int listing = ::openat(dirfd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) return;
    DIR* dir = ::fdopendir(listing);
    if (!dir) {
        ::close(listing);
        return;
    }
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    while (dirent* e = ::readdir(dir)) {
        std::string entry = e->d_name;
        if (!IsOurTemporary(entry, savedName)) continue;
        struct stat st {};
        if (::fstatat(dirfd, entry.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
        if (now.tv_sec - st.st_mtim.tv_sec <= kStaleSeconds) continue;
        ::unlinkat(dirfd, entry.c_str(), 0);
    }
    ::closedir(dir);
}

// What the file that replaces the target must carry over from it.
struct Replaced {
    bool existed = false;
    struct stat st {};
};

// Gives the new file the owner, group and mode of the one it replaces (before
// it has its name, so nobody sees it otherwise), then writes and flushes it.
void FillNewFile(const std::string& path, int fd, const Replaced& old, std::string_view bytes) {
    if (old.existed) {
        struct stat now {};
        if (::fstat(fd, &now) != 0) FailErrno(path, "不能设置文件所有者", errno);
        if ((now.st_uid != old.st.st_uid || now.st_gid != old.st.st_gid) &&
            ::fchown(fd, old.st.st_uid, old.st.st_gid) != 0)
            FailErrno(path, "不能保留原文件的所有者和组", errno);
        // After fchown, which clears the set-id bits.
        if (::fchmod(fd, old.st.st_mode & 07777) != 0) FailErrno(path, "不能设置文件权限", errno);
    }
    if (!WriteAll(fd, bytes)) FailErrno(path, "写入失败", errno);
    if (::fsync(fd) != 0) FailErrno(path, "写入磁盘失败", errno);
}

// How putting the unnamed file in place ended.
struct Placing {
    int linkError = 0;   // naming the file failed: nothing happened
    int renameError = 0; // it was named, but the rename failed (the name is gone again)
};

// Names the unnamed file `fd` as `tmp` in the folder and renames that over
// `name`. Only system calls: this runs in a helper process too.
Placing LinkAndRename(int fd, const char* procPath, int dirfd, const char* tmp, const char* name) {
    Placing r;
    if (::linkat(AT_FDCWD, procPath, dirfd, tmp, AT_SYMLINK_FOLLOW) != 0) {
        r.linkError = errno;
        // Without /proc, the descriptor itself (needs the right to look
        // files up by descriptor, which root has).
        if (r.linkError != ENOENT || ::linkat(fd, "", dirfd, tmp, AT_EMPTY_PATH) != 0) return r;
        r.linkError = 0;
    }
    if (::renameat(dirfd, tmp, dirfd, name) != 0) {
        r.renameError = errno;
        ::unlinkat(dirfd, tmp, 0);
    }
    return r;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The two steps from the unnamed file to the target's name, link and rename,
// leave a named temporary if the program dies between them. A helper process
// takes them: a kill of the program cannot stop it half-way, and it needs
// only microseconds. Without a helper (fork refused) the program takes them
// itself.
Placing PlaceUnnamed(int fd, int dirfd, const std::string& tmp, const std::string& name) {
    char procPath[40];
    std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", fd);
    pid_t pid = ::fork();
    if (pid < 0) return LinkAndRename(fd, procPath, dirfd, tmp.c_str(), name.c_str());
    if (pid == 0) {
        Placing r = LinkAndRename(fd, procPath, dirfd, tmp.c_str(), name.c_str());
        // 0 placed, 1..127 naming failed, 129..255 the rename failed.
        if (r.linkError) ::_exit(std::min(r.linkError, 127));
        if (r.renameError) ::_exit(128 + std::min(r.renameError, 127));
        ::_exit(0);
    }
    int status = 0;
    pid_t waited;
    do {
        waited = ::waitpid(pid, &status, 0);
    } while (waited < 0 && errno == EINTR);

    Placing r;
    struct stat ours {};
    struct stat placed {};
    bool inPlace = ::fstat(fd, &ours) == 0 &&
                   ::fstatat(dirfd, name.c_str(), &placed, AT_SYMLINK_NOFOLLOW) == 0 &&
                   SameFile(ours, placed);
    if (inPlace) return r;
    if (waited == pid && WIFEXITED(status) && WEXITSTATUS(status) != 0) {
        int code = WEXITSTATUS(status);
        if (code < 128)
            r.linkError = code;
        else
            r.renameError = code - 128;
        return r;
    }
    // The helper's answer got lost (someone else reaped it, or it died):
    // what the folder holds is the answer. A name it gave must not stay.
    struct stat named {};
    if (::fstatat(dirfd, tmp.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(ours, named)) {
        ::unlinkat(dirfd, tmp.c_str(), 0);
        r.renameError = EIO;
    } else {
        r.linkError = EIO;
    }
    return r;
}

constexpr int kNameTries = 100;

// Writes the bytes through an unnamed temporary file. False when the
// filesystem or the system has no unnamed files or cannot name them; the
// caller then uses a named temporary.
bool WriteThroughUnnamedFile(const std::string& path, const std::string& folder, int dirfd,
                             const std::string& name, const Replaced& old, std::string_view bytes) {
    // Mode 0666 for a new file lets the kernel apply the umask (or the
    // folder's default ACL); a replacement gets the old mode below.
    Fd fd(::openat(dirfd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, old.existed ? 0600 : 0666));
    if (!fd) {
        // EISDIR: a kernel that does not know O_TMPFILE; EOPNOTSUPP and
        // EINVAL: a filesystem that does not support it.
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) return false;
        FailErrno(path, "不能在文件夹 " + folder + " 中创建临时文件", errno);
    }
    FillNewFile(path, fd.get(), old, bytes);
    for (int attempt = 0; attempt < kNameTries; ++attempt) {
        Placing r = PlaceUnnamed(fd.get(), dirfd, TemporaryPrefix(name) + RandomSuffix(), name);
        if (r.renameError) FailErrno(path, "不能替换原文件", r.renameError);
        if (r.linkError == EEXIST) continue;
        return r.linkError == 0;
    }
    return false;
}

void WriteThroughNamedFile(const std::string& path, const std::string& folder, int dirfd,
                           const std::string& name, const Replaced& old, std::string_view bytes) {
    std::string tmp;
    Fd fd;
    for (int attempt = 0; attempt < kNameTries && !fd; ++attempt) {
        tmp = TemporaryPrefix(name) + RandomSuffix();
        fd.reset(::openat(dirfd, tmp.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW,
                          old.existed ? 0600 : 0666));
        if (!fd && errno != EEXIST)
            FailErrno(path, "不能在文件夹 " + folder + " 中创建临时文件", errno);
    }
    if (!fd) FailErrno(path, "不能在文件夹 " + folder + " 中创建临时文件", EEXIST);
    try {
        FillNewFile(path, fd.get(), old, bytes);
        if (::close(fd.release()) != 0) FailErrno(path, "写入失败", errno);
        if (::renameat(dirfd, tmp.c_str(), dirfd, name.c_str()) != 0)
            FailErrno(path, "不能替换原文件", errno);
    } catch (...) {
        ::unlinkat(dirfd, tmp.c_str(), 0);
        throw;
    }
}

} // namespace

bool HasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    });
}

std::string ShowControlCharacters(std::string_view text) {
    std::string out;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (u < 0x20 || u == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", u);
            out += buf;
        } else {
            out += c;
        }
    }
    return out;
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
    if (path.empty()) Fail(path, "没有文件名");
    // Such a name is no name a user picked: it comes from a script that went
    // wrong, and it would break every list and message that shows it (the
    // recent-files list keeps one name a line).
    if (HasControlCharacter(path)) Fail(path, "文件名含有换行符或其他控制字符");
    const std::string file = ResolveLinks(path);
    if (HasControlCharacter(file)) Fail(path, "链接指向的文件名 " + file + " 含有控制字符");
    const std::string folder = FolderOf(file);
    const std::string name = NameOf(file);
    if (name.empty() || name == "." || name == "..") Fail(path, KindOf(S_IFDIR));

    Fd dirfd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dirfd) {
        int err = errno;
        if (err == ENOENT || err == ENOTDIR) {
            struct stat st {};
            if (::stat(folder.c_str(), &st) == 0 && !S_ISDIR(st.st_mode))
                Fail(path, "不是文件夹：" + folder);
            Fail(path, "文件夹不存在：" + folder);
        }
        FailErrno(path, "不能打开文件夹 " + folder, err);
    }

    Replaced old;
    old.existed = ::fstatat(dirfd.get(), name.c_str(), &old.st, AT_SYMLINK_NOFOLLOW) == 0;
    if (!old.existed && errno != ENOENT) FailErrno(path, "不能读取文件信息", errno);
    if (old.existed) {
        // A device or a FIFO would be opened, and could block or swallow the
        // project; a rename over a socket would silently unlink it.
        if (!S_ISREG(old.st.st_mode))
            Fail(path, std::string(KindOf(old.st.st_mode)) + "，只能保存到普通文件");
        // Root may write anything, but a file its owner made read-only is
        // one the user does not want changed.
        if (!(old.st.st_mode & S_IWUSR)) Fail(path, "文件是只读的");
        if (::faccessat(dirfd.get(), name.c_str(), W_OK, AT_EACCESS) != 0)
            FailErrno(path, "没有写入权限", errno);
    }

    if (!WriteThroughUnnamedFile(path, folder, dirfd.get(), name, old, bytes))
        WriteThroughNamedFile(path, folder, dirfd.get(), name, old, bytes);

    // Make the rename itself durable; a failure here loses nothing.
    ::fsync(dirfd.get());
    RemoveStaleTemporaries(dirfd.get(), name);
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    // Looked at before it is opened: opening a device can have effects of
    // its own.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
        FailRead(path, std::strerror(errno));
    }
    if (!S_ISREG(st.st_mode)) FailRead(path, KindOf(st.st_mode));
    // Not blocking, should it have turned into a FIFO since.
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!fd) {
        if (errno == ENOENT) return std::nullopt;
        FailRead(path, std::strerror(errno));
    }
    if (::fstat(fd.get(), &st) != 0) FailRead(path, std::strerror(errno));
    if (!S_ISREG(st.st_mode)) FailRead(path, KindOf(st.st_mode));

    std::string data;
    data.reserve(static_cast<std::size_t>(st.st_size));
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            FailRead(path, std::strerror(errno));
        }
        if (n == 0) break;
        data.append(buf, static_cast<std::size_t>(n));
    }
    return data;
}

} // namespace kolvane
