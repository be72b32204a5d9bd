#include "TempDir.h"

#include "files/AtomicFile.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <random>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kolvane {
namespace {

namespace fs = std::filesystem;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;
using Names = std::vector<std::string>;

// The message of the IoError a save raised, or "" when it succeeded.
std::string SaveError(const std::string& path, std::string_view bytes) {
    try {
        WriteFileAtomically(path, bytes);
        return "";
    } catch (const IoError& e) {
        return e.what();
    }
}

Names Entries(const fs::path& dir) {
    Names names;
    for (const auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct stat Lstat(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st;
}

void ExpectMessage(const std::string& error, const std::string& path, const std::string& says) {
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_NE(error.find(says), std::string::npos) << error;
}

TEST(AtomicSaveTarget, AnythingButARegularFileIsRefusedAndLeftAlone) {
    TempDir dir;
    std::string fifo = dir.file("fifo"), sock = dir.file("sock");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    // With a reader waiting, a save that opened the FIFO for writing would
    // not block, and its bytes would arrive here.
    int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{AF_UNIX, {}};
    sock.copy(addr.sun_path, sizeof addr.sun_path - 1);
    ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    fs::create_directory(dir.file("folder"));
    fs::create_symlink("fifo", dir.file("to-fifo"));
    fs::create_symlink("/dev/null", dir.file("to-null"));
    Names before = Entries(dir.path());

    std::pair<std::string, const char*> rows[] = {{fifo, "命名管道"},
                                                  {dir.file("to-fifo"), "命名管道"},
                                                  {sock, "套接字"},
                                                  {dir.file("folder"), "文件夹"},
                                                  {dir.file("folder/"), "文件夹"},
                                                  {"/dev/null", "设备"},
                                                  {dir.file("to-null"), "设备"}};
    for (const auto& [path, says] : rows)
        ExpectMessage(SaveError(path, "project"), path, says);
    char buf[16];
    EXPECT_LE(::read(reader, buf, sizeof buf), 0) << "nothing was written into the FIFO";
    EXPECT_TRUE(S_ISSOCK(Lstat(sock).st_mode)) << "the socket was not renamed over";
    EXPECT_EQ(Entries(dir.path()), before) << "no temporary is left";

    // Reading refuses them too, instead of blocking on the FIFO or reading
    // a device without end.
    for (const std::string& path : {fifo, dir.file("folder"), std::string("/dev/zero")})
        EXPECT_THROW(ReadWholeFile(path), IoError) << path;
    EXPECT_EQ(ReadWholeFile(dir.file("none/deeper")), std::nullopt);
    ::close(reader);
    ::close(s);
}

TEST(AtomicSaveTarget, SymbolicLinksAreWrittenThroughAndStayLinks) {
    TempDir dir;
    fs::create_directory(dir.file("sub"));
    for (const char* f : {"a.kvp", "b.kvp", "c.kvp"})
        WriteBytes(dir.file(f), "old");
    fs::create_symlink("../c.kvp", dir.file("sub/l3b"));
    // Absolute, relative to the link's folder, a chain, dangling, dangling in a subfolder.
    // clang-format off
    struct Row { std::string link, text, written; } rows[] = {
        {"l1", dir.file("a.kvp"), "a.kvp"}, {"sub/l2", "../b.kvp", "b.kvp"}, {"l3", "sub/l3b", "c.kvp"},
        {"l4", "new.kvp", "new.kvp"}, {"sub/l5", "fresh.kvp", "sub/fresh.kvp"}};
    // clang-format on
    for (const Row& r : rows) {
        fs::create_symlink(r.text, dir.file(r.link));
        EXPECT_EQ(SaveError(dir.file(r.link), "via " + r.link), "");
        EXPECT_EQ(fs::read_symlink(dir.file(r.link)), r.text) << "still a link: " << r.link;
        EXPECT_EQ(ReadBytes(dir.file(r.written)), "via " + r.link);
    }
    EXPECT_EQ(Entries(dir.path()),
              (Names{"a.kvp", "b.kvp", "c.kvp", "l1", "l3", "l4", "new.kvp", "sub"}));

    fs::create_symlink("loop-b", dir.file("loop-a"));
    fs::create_symlink("loop-a", dir.file("loop-b"));
    ExpectMessage(SaveError(dir.file("loop-a"), "x"), dir.file("loop-a"), "符号链接");
}

// A link in a folder anyone may write to, with the sticky bit (/tmp), may
// have been planted: it is followed only when it is the saver's own or the
// folder owner's (the kernel's protected_symlinks rule); elsewhere always.
TEST(AtomicSaveTarget, AnotherUsersLinkInAStickySharedFolderIsNotFollowed) {
    const uid_t me = ::geteuid(), other = me == 65534 ? 65533 : 65534;
    struct Row {
        mode_t folderMode;
        uid_t folderOwner, linkOwner;
        bool followed;
    } rows[] = {{01777, me, me, true},     {01777, me, other, false}, {01777, 1234, other, false},
                {01777, 1234, 1234, true}, {0777, me, other, true},   {01775, me, other, true}};
    bool skipped = false;
    for (const Row& r : rows) {
        if ((r.folderOwner != me || r.linkOwner != me) && me != 0) {
            skipped = true;
            continue;
        }
        TempDir dir;
        const std::string shared = dir.file("shared"), link = dir.file("shared/p.kvp");
        fs::create_directory(shared);
        WriteBytes(dir.file("victim"), "kept");
        fs::create_symlink(dir.file("victim"), link);
        ASSERT_EQ(::lchown(link.c_str(), r.linkOwner, -1), 0);
        ASSERT_EQ(::chown(shared.c_str(), r.folderOwner, -1), 0);
        ASSERT_EQ(::chmod(shared.c_str(), r.folderMode), 0);
        const std::string error = SaveError(link, "saved");
        const std::string row = std::to_string(r.folderMode) + " " + std::to_string(r.linkOwner);
        EXPECT_EQ(ReadBytes(dir.file("victim")), r.followed ? "saved" : "kept") << row;
        if (!r.followed) {
            EXPECT_EQ(error, "无法保存文件 " + link + "：符号链接 " + link + " 属于其他用户（uid " +
                                 std::to_string(r.linkOwner) + "），位于所有人可写的粘滞文件夹 " +
                                 shared + " 中，不跟随它保存");
        }
        EXPECT_EQ(Entries(shared), Names{"p.kvp"}) << row << ": no temporary";
    }
    if (skipped) GTEST_SKIP() << "giving a link or a folder to another user (lchown) needs root";
}

// A line break or another control character in a name is refused, in a
// message that stays on one line; any other character is a name.
TEST(AtomicSaveTarget, ANameWithAControlCharacterIsRefused) {
    TempDir dir;
    fs::create_directory(dir.file("dir\n"));
    fs::create_symlink("x\ny.kvp", dir.file("link.kvp"));
    for (const char* name :
         {"a\nb.kvp", "a\rb.kvp", "t\t.kvp", "e\x1b.kvp", "d\x7f.kvp", "dir\n/p.kvp", "link.kvp"}) {
        const std::string error = SaveError(dir.file(name), "x");
        EXPECT_NE(error.find("控制字符"), std::string::npos) << error;
        EXPECT_EQ(error.find_first_of("\n\r\t\x1b\x7f"), std::string::npos) << error;
    }
    EXPECT_EQ(Entries(dir.path()), (Names{"dir\n", "link.kvp"}));
    EXPECT_EQ(SaveError(dir.file("反应釜 1 (新).kvp"), "x"), "");
}

TEST(AtomicSaveOwnership,
     TheReplacedFileKeepsOwnerGroupAndModeANewOneTheUmaskAReadOnlyOneIsRefused) {
    TempDir dir;
    std::string path = dir.file("p.kvp");
    bool root = ::geteuid() == 0;
    for (mode_t mode : {0640, 0604, 02664, 0755}) {
        WriteBytes(path, "old");
        if (root) {
            ASSERT_EQ(::chown(path.c_str(), 1234, 1234), 0);
        }
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        EXPECT_EQ(SaveError(path, "new"), "");
        struct stat st = Lstat(path);
        EXPECT_EQ(st.st_mode & 07777, mode) << std::oct << mode;
        if (root) {
            EXPECT_EQ(std::make_pair(st.st_uid, st.st_gid), std::make_pair(1234u, 1234u));
        }
        EXPECT_EQ(ReadBytes(path), "new");
    }
    // A file its owner may not write is refused, even for root.
    for (mode_t mode : {0444, 0400, 0066}) {
        WriteBytes(path, "kept");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        ExpectMessage(SaveError(path, "new"), path, "只读");
        EXPECT_EQ(ReadBytes(path), "kept");
        EXPECT_EQ(Lstat(path).st_mode & 07777, mode);
        ::chmod(path.c_str(), 0644);
    }
    EXPECT_EQ(Entries(dir.path()), Names{"p.kvp"});
    for (mode_t mask : {022, 077, 0}) {
        mode_t previous = ::umask(mask);
        std::string fresh = dir.file("new" + std::to_string(mask));
        EXPECT_EQ(SaveError(fresh, "x"), "");
        ::umask(previous);
        EXPECT_EQ(Lstat(fresh).st_mode & 07777, 0666 & ~mask) << std::oct << mask;
    }
}

TEST(AtomicSaveFolder, AMissingFolderIsNamed) {
    TempDir dir;
    WriteBytes(dir.file("file"), "x");
    fs::create_symlink("gone/p.kvp", dir.file("link"));
    // clang-format off
    std::pair<const char*, std::string> rows[] = {{"no/such/p.kvp", "文件夹不存在：" + dir.file("no/such")},
                                                  {"link", "文件夹不存在：" + dir.file("gone")},
                                                  {"file/p.kvp", "不是文件夹：" + dir.file("file")}};
    // clang-format on
    for (const auto& [name, says] : rows)
        ExpectMessage(SaveError(dir.file(name), "x"), dir.file(name), says);
}

TEST(AtomicSaveFolder, TemporariesOlderThanADayAreRemovedFreshOnesKept) {
    TempDir dir;
    const long day = 24 * 60 * 60;
    struct Row {
        const char* name;
        long age;
        bool removed;
    } rows[] = {
        {".p.kvp.Ab12Cd", 2 * day, true},   {".p.kvp.Xy34Zw", day - 600, false},
        {".q.kvt.Qw12Er", 3 * day, true},   {".Q.KVP.Qw12Er", 3 * day, true},
        {".bashrc.backup", 9 * day, false}, {"p.kvp.Ab12Cd", 9 * day, false},
        {".p.kvp.Ab12C", 9 * day, false},   {".p.kvp.Ab-2Cd", 9 * day, false},
        {".p.kvp.backup", 9 * day, false},
    };
    for (const Row& r : rows) {
        WriteBytes(dir.file(r.name), "left over");
        timespec t{std::time(nullptr) - r.age, 0}, times[2] = {t, t};
        ASSERT_EQ(::utimensat(AT_FDCWD, dir.file(r.name).c_str(), times, 0), 0);
    }
    ASSERT_EQ(SaveError(dir.file("p.kvp"), "x"), "");
    for (const Row& r : rows)
        EXPECT_EQ(fs::exists(dir.file(r.name)), !r.removed) << r.name;
}

// Save number n: its number, then a body whose length and letter change with
// n, so that a mixture or a cut shows.
std::string Content(unsigned n) {
    return "save " + std::to_string(n) + "\n" +
           std::string(64 * 1024 + (n % 5) * 40 * 1024, static_cast<char>('a' + n % 26));
}

TEST(AtomicSaveKilled, AKilledSaveLeavesTheOldOrTheNewFileAndNothingElse) {
    // Orphaned helpers of a killed saver come back to this process, so that
    // the folder is looked at once every process that wrote it has ended.
    ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    TempDir dir;
    std::string path = dir.file("p.kvp");
    auto start = std::chrono::steady_clock::now();
    WriteFileAtomically(path, Content(0));
    auto oneSave = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    long maxDelayUs = std::clamp<long>(3 * oneSave.count(), 500, 50000);

    std::mt19937 random(std::random_device{}());
    unsigned saved = 0;
    int runsThatSaved = 0;
    for (int run = 0; run < 40; ++run) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        pid_t saver = ::fork();
        ASSERT_GE(saver, 0);
        if (saver == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (::write(ready[1], "g", 1) != 1) ::_exit(4);
            try {
                for (unsigned n = saved + 1;; ++n)
                    WriteFileAtomically(path, Content(n));
            } catch (...) {
                ::_exit(3);
            }
        }
        char go;
        ASSERT_EQ(::read(ready[0], &go, 1), 1);
        ::close(ready[0]);
        ::close(ready[1]);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % maxDelayUs));
        ::kill(saver, SIGKILL);
        int status = 0, savers = 0;
        for (pid_t p; (p = ::waitpid(-1, &status, 0)) > 0 || errno == EINTR;)
            if (p == saver && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) ++savers;
        ASSERT_EQ(savers, 1) << "the saver failed on its own";

        std::string content = ReadBytes(path);
        unsigned n = content.rfind("save ", 0) == 0 ? std::stoul(content.substr(5)) : ~0u;
        ASSERT_TRUE(content == Content(n))
            << "run " << run << ": a damaged file of " << content.size() << " bytes";
        ASSERT_EQ(Entries(dir.path()), Names{"p.kvp"}) << "run " << run;
        runsThatSaved += n != saved;
        saved = n;
    }
    EXPECT_GT(runsThatSaved, 0) << "no save completed before a kill: the test proved nothing";
}

} // namespace
} // namespace kolvane
