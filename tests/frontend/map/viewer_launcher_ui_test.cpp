// The launcher with stand-in viewers: small shell scripts named orvex that
// write down how they were started, or end the way a viewer can end.
#include "map/map_state.h"
#include "map/viewer_launcher.h"
#include "test_files.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>

namespace {

class ViewerLauncherTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetDefaultColor(state);
        ResetColor(state);
        state.selState = 2;
        state.selX1 = 9, state.selX2 = 12, state.selY1 = 5, state.selY2 = 7;
    }

    void writeViewer(const QByteArray& body) const
    {
        scratch.write("orvex", "#!/bin/sh\n" + body);
        QFile::setPermissions("orvex", QFile::permissions("orvex") | QFile::ExeOwner);
    }

    static bool waitFor(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, 10000); }

    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    ScratchDirectory scratch;
    MessageRecorder messages;
    MapState state;
    std::unique_ptr<ViewerLauncher> launcher = std::make_unique<ViewerLauncher>();
};

} // namespace

TEST_F(ViewerLauncherTest, TheProgramIsCheckedFirstThenTheRangeAndNeitherWritesColours)
{
    state.selState = 1;
    scratch.write("orvex", "not executable");
    QDir().mkdir("sub");
    launcher->RunViewer(state);
    ASSERT_EQ(messages.shown.size(), 1u) << "only the first message";
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("orvex ファイルがありません。"));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(messages.shown[0].buttons, MessageButtons::Ok);

    QFile::remove("orvex");
    QDir().mkdir("orvex"); // a folder is no program either
    launcher->RunViewer(state);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text, QStringLiteral("orvex ファイルがありません。"));

    QDir().rmdir("orvex");
    writeViewer("exit 0\n");
    launcher->RunViewer(state);
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[2].text, QStringLiteral("地図範囲が指定されていません。"));
    EXPECT_EQ(messages.shown[2].icon, MessageIcon::Warning);
    EXPECT_FALSE(QFile::exists("orvex.col"));
    EXPECT_EQ(launcher->runningCount(), 0);
}

TEST_F(ViewerLauncherTest, StartsByAbsolutePathWithOneWordPerArgumentAndNeverWaits)
{
    writeViewer("sleep 0.3\n"
                "{ echo \"$0\"; for word in \"$@\"; do echo \"[$word]\"; done; pwd; readlink /proc/$$/fd/0;\n"
                "  head -c 8 orvex.col; } > started.txt\n");
    state.dataDir50 = QStringLiteral("../GSI 50M/第 2 版");
    state.bandColor[0] = {1, 2, 3};
    launcher->RunViewer(state);
    EXPECT_EQ(launcher->runningCount(), 1) << "RunViewer returns while the viewer runs";
    EXPECT_FALSE(QFile::exists("started.txt"));
    ASSERT_TRUE(waitFor([&] { return launcher->runningCount() == 0; }));

    const QString here = QDir::currentPath();
    const QStringList lines = QString::fromUtf8(read("started.txt")).split(u'\n');
    ASSERT_GE(lines.size(), 9) << read("started.txt").constData();
    EXPECT_EQ(lines.mid(0, 8), (QStringList{here + "/orvex", "[-gsi50]", "[../GSI 50M/第 2 版]", "[533936]", "[2]", "[3]",
                                            here, "/dev/null"}));
    EXPECT_EQ(lines[8], QStringLiteral(" 2  0 \r")) << "the colours were written before the start";
    EXPECT_TRUE(read("orvex.col").contains(" 1  2  3 \r\n"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ViewerLauncherTest, AViewerThatEndsOnAnErrorHasItsMessageShown)
{
    writeViewer("echo 'Reading ../GSI50M/DATA/5339/533936.MEM ...'\n"
                "echo 'libGL: no DRI' >&2\n"
                "echo '*** GSI50M : No DEM files.' >&2\n"
                "printf 'Press Enter key...'; read answer; exit 1\n");
    launcher->RunViewer(state);
    ASSERT_TRUE(waitFor([&] { return !messages.shown.empty(); }));
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("*** GSI50M : No DEM files."));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Critical);

    // A normal end says nothing; a crash is reported.
    writeViewer("echo 'some warning' >&2; exit 0\n");
    launcher->RunViewer(state);
    // The shell reads its script as it goes: the next one waits for it.
    ASSERT_TRUE(waitFor([&] { return launcher->runningCount() == 0; }));
    writeViewer("kill -SEGV $$\n");
    launcher->RunViewer(state);
    ASSERT_TRUE(waitFor([&] { return messages.shown.size() >= 2 && launcher->runningCount() == 0; }));
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].text, QStringLiteral("orvex が異常終了しました。"));
}

TEST_F(ViewerLauncherTest, AProgramThatCannotBeStartedIsReportedWithTheStopIcon)
{
    scratch.write("orvex", QByteArray("\x7f" "ELF garbage", 12));
    QFile::setPermissions("orvex", QFile::permissions("orvex") | QFile::ExeOwner);
    launcher->RunViewer(state);
    ASSERT_TRUE(waitFor([&] { return !messages.shown.empty(); }));
    EXPECT_TRUE(messages.shown[0].text.startsWith(QStringLiteral("orvex を起動できません。"))) << messages.shown[0].text.toStdString();
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(launcher->runningCount(), 0);
}

TEST_F(ViewerLauncherTest, ARunningViewerOutlivesTheFrontEnd)
{
    writeViewer("echo $$ > pid.txt\nexec sleep 30\n");
    launcher->RunViewer(state);
    ASSERT_TRUE(waitFor([&] { return !read("pid.txt").isEmpty(); }));
    const pid_t pid = read("pid.txt").trimmed().toInt();
    ASSERT_GT(pid, 0);
    launcher.reset();
    QTest::qWait(200);
    EXPECT_EQ(::kill(pid, 0), 0) << "still running";
    ::kill(pid, SIGTERM);
}
