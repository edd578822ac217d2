// The launcher with stand-in viewers: small shell scripts named orvex that
// write down how they were started, or end the way a viewer can end.
#include "launch/viewer_launcher.h"
#include "test_files.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

using namespace skyloom;

namespace {

class ViewerLauncherTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        SetDefaultColor(state);
        ResetColor(state);
        state.selState = Selection::range;
        state.selX1 = 9, state.selX2 = 12, state.selY1 = 5, state.selY2 = 7;
    }

    void writeViewer(const QByteArray& body) const
    {
        scratch.write("orvex", "#!/bin/sh\n" + body);
        QFile::setPermissions("orvex", QFile::permissions("orvex") | QFile::ExeOwner);
    }
    // Runs the viewer and waits until it has ended.
    bool runToEnd()
    {
        launcher.RunViewer(state);
        return QTest::qWaitFor([&] { return launcher.runningCount() == 0; }, 10000);
    }
    QStringList shownTexts() const
    {
        QStringList texts;
        for (const Message& message : messages.shown)
            texts << message.text;
        return texts;
    }

    ScratchDirectory scratch;
    MessageRecorder messages;
    MapState state;
    ViewerLauncher launcher;
};

} // namespace

TEST_F(ViewerLauncherTest, TheProgramIsCheckedFirstThenTheRangeAndNeitherWritesColours)
{
    state.selState = Selection::startCell;
    scratch.write("orvex", "not executable");
    launcher.RunViewer(state);
    QFile::remove("orvex");
    QDir().mkdir("orvex"); // a folder is no program either
    launcher.RunViewer(state);
    QDir().rmdir("orvex");
    writeViewer("exit 0\n");
    launcher.RunViewer(state);

    EXPECT_EQ(shownTexts(), (QStringList{"orvex ファイルがありません。", "orvex ファイルがありません。",
                                         "地図範囲が指定されていません。"}));
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(messages.shown[2].icon, MessageIcon::Warning);
    EXPECT_FALSE(QFile::exists("orvex.col"));
    EXPECT_EQ(launcher.runningCount(), 0);
}

TEST_F(ViewerLauncherTest, StartsByAbsolutePathWithOneWordPerArgumentAndNeverWaits)
{
    writeViewer("sleep 0.3\n"
                "{ echo \"$0\"; for word in \"$@\"; do echo \"[$word]\"; done; pwd; readlink /proc/$$/fd/0;\n"
                "  head -c 8 orvex.col; } > started.txt\n");
    state.dataDir50 = QStringLiteral("../GSI 50M/第 2 版");
    state.bandColor[0] = {1, 2, 3};
    launcher.RunViewer(state);
    EXPECT_EQ(launcher.runningCount(), 1) << "RunViewer returns while the viewer runs";
    EXPECT_FALSE(QFile::exists("started.txt"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return launcher.runningCount() == 0; }, 10000));

    const QString here = QDir::currentPath();
    EXPECT_EQ(QString::fromUtf8(readFile("started.txt")).split(u'\n'),
              (QStringList{here + "/orvex", "[-gsi50]", "[../GSI 50M/第 2 版]", "[533936]", "[2]", "[3]",
                           here, "/dev/null", " 2  0 \r", ""}))
        << "the colours were written before the start";
    EXPECT_TRUE(readFile("orvex.col").contains(" 1  2  3 \r\n"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ViewerLauncherTest, AViewerThatEndsOnAnErrorOrCrashesOrCannotStartIsReported)
{
    writeViewer("echo 'Reading ../GSI50M/DATA/5339/533936.MEM ...'\n"
                "echo 'libGL: no DRI' >&2\n"
                "echo '*** GSI50M : No DEM files.' >&2\n"
                "printf 'Press Enter key...'; read answer; exit 1\n");
    ASSERT_TRUE(runToEnd());
    writeViewer("echo 'some warning' >&2; exit 0\n"); // a normal end says nothing
    ASSERT_TRUE(runToEnd());
    writeViewer("kill -SEGV $$\n");
    ASSERT_TRUE(runToEnd());
    scratch.write("orvex", QByteArray("\x7f"
                                      "ELF garbage",
                                      12)); // still executable
    launcher.RunViewer(state);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return messages.shown.size() >= 3 && launcher.runningCount() == 0; }, 10000));

    ASSERT_EQ(messages.shown.size(), 3u) << shownTexts().join(u'|').toStdString();
    EXPECT_EQ(messages.shown[0].text, QStringLiteral("*** GSI50M : No DEM files."));
    EXPECT_EQ(messages.shown[1].text, QStringLiteral("orvex が異常終了しました。"));
    EXPECT_TRUE(messages.shown[2].text.startsWith(QStringLiteral("orvex を起動できません。")));
    for (const Message& message : messages.shown)
        EXPECT_EQ(message.icon, MessageIcon::Critical);
}
