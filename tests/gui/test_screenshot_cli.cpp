#include "../core/TempDir.h"

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

using kolvane::testing_support::TempDir;

struct Outcome {
    int exitCode = -1;
    QString err;
};

// Runs the window program as a user would from a shell, without a display.
Outcome Kolvane(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KOLVANE_BINARY), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardError())};
}

const QString kExample = QStringLiteral(KOLVANE_EXAMPLES_DIR "/hot-water-storage-tank.kvp");

TEST(ScreenshotCli, TakesTheWindowsOwnSizeOrTheSizeAskedFor) {
    TempDir dir;
    const QString shot = QString::fromStdString(dir.file("calc.png"));
    Outcome r = Kolvane({"--screenshot", shot, kExample});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(shot).size(), QSize(1024, 768));

    const QString big = QString::fromStdString(dir.file("vessel.png"));
    r = Kolvane({"--screenshot", big, "--page", "3", "--size", "1280x1024", kExample});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(big).size(), QSize(1280, 1024));
    EXPECT_NE(QImage(big).scaled(1024, 768), QImage(shot)) << "page 3 is another page";
}

// A screenshot is no use of the project it shows: the recent files beside
// the program (where a user's ./run.sh keeps them) and in the settings
// folder stay as they were.
TEST(ScreenshotCli, AScreenshotOfAProjectLeavesTheRecentFilesAlone) {
    TempDir settings;
    const std::filesystem::path beside =
        std::filesystem::path(KOLVANE_BINARY).parent_path() / "kolvane.ini";
    auto read = [&] {
        return std::filesystem::exists(beside)
                   ? kolvane::testing_support::ReadBytes(beside.string())
                   : std::string("(none)");
    };
    const std::string before = read();
    for (bool withSettings : {false, true}) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.remove("KOLVANE_SETTINGS_DIR");
        if (withSettings)
            env.insert("KOLVANE_SETTINGS_DIR", QString::fromStdString(settings.path()));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(KOLVANE_BINARY),
                {"--screenshot", QString::fromStdString(settings.file("w.png")), kExample});
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    }
    EXPECT_EQ(read(), before);
    EXPECT_FALSE(std::filesystem::exists(settings.file("kolvane.ini")));
}

// A page or menu that is not there is an error that names what there is,
// and writes no picture.
TEST(ScreenshotCli, APageOrMenuThatDoesNotExistIsAnErrorNamingWhatThereIs) {
    TempDir dir;
    const QString shot = QString::fromStdString(dir.file("none.png"));
    const char* const pages = "0 项目信息, 1 计算, 2 管道系列, 3 容器定义, 4 计算报告";
    const struct {
        const char *option, *value, *says;
    } rows[] = {{"--page", "7", pages},
                {"--page", "99", pages},
                {"--page", "x", "--page"},
                {"--page", "-1", "--page"},
                {"--page", "1x", "--page"},
                {"--page", "", "--page"},
                {"--menu", "MNothing", "MFile"},
                // Beyond int: refused, not wrapped into a page or size that fits.
                {"--page", "4294967297", "--page"},
                {"--size", "4294968576x1024", "--size"},
                {"--dialog-page", "2", "--dialog-page"}};
    for (const auto& row : rows) {
        const Outcome r = Kolvane({"--screenshot", shot, row.option, row.value, kExample});
        EXPECT_EQ(r.exitCode, 2) << row.option << " \"" << row.value << '"';
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(row.says)))
            << row.option << " \"" << row.value << "\": " << r.err.toStdString();
        EXPECT_FALSE(std::filesystem::exists(shot.toStdString())) << row.option << " " << row.value;
    }
}

#ifdef KOLVANE_HAVE_PDF
// The manual's window as F1 in a field opens it; no window for a name that
// is no field.
TEST(ScreenshotCli, TheHelpWindowAtAFieldsSection) {
    TempDir dir;
    const QString shot = QString::fromStdString(dir.file("help.png"));
    Outcome r = Kolvane({"--screenshot-help", shot, "--field", "MaoD", kExample});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_FALSE(QImage(shot).isNull());
    const QString none = QString::fromStdString(dir.file("none.png"));
    r = Kolvane({"--screenshot-help", none, "--field", "NoSuchD", kExample});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("NoSuchD")) << r.err.toStdString();
    EXPECT_FALSE(std::filesystem::exists(none.toStdString()));
}
#endif

} // namespace
