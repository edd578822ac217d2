// The command line for the viewer, and the launcher with stand-in viewers:
// small shell scripts named orvex that write down how they were started, or
// end the way a viewer can end.
#include "frontend_test.h"
#include "launch/viewer_command.h"
#include "launch/viewer_launcher.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

TEST(ViewerCommandLine, NamesTheMeshItsFolderTheNorthWestSheetTheRowsThenColumns)
{
    const std::tuple<const char*, MapState, std::array<int, 4>, const char*> cases[] = {
        // North-west map cell (158, 115): 3 columns, 2 rows.
        {"50 m", viewOf(14, 14), {9, 5, 12, 7}, "-gsi50|../GSI 50M/第 2 版|533936|2|3"},
        // North-west map cell (19, 14): 2 columns, 2 rows.
        {"250 m", viewOf(14, 14, 18, 13, Mesh::gsi250), {1, 0, 3, 2}, "-gsi250|../GSI250M|5339|2|2"},
        {"one sheet", viewOf(14, 14, 0, 0), {0, 0, 1, 1}, "-gsi50|../GSI 50M/第 2 版|392000|1|1"},
        {"off the grid, not refused",
         viewOf(14, 14, -5, -3, Mesh::gsi250),
         {0, 0, 2, 1},
         "-gsi250|../GSI250M|3615|1|2"},
    };
    for (auto [label, state, range, words] : cases) {
        state.dataDir50 = QStringLiteral("../GSI 50M/第 2 版");
        state.selState = Selection::range;
        std::tie(state.selX1, state.selY1, state.selX2, state.selY2) = std::tuple_cat(range);
        EXPECT_EQ(viewerCommandLine(state), QStringList{"orvex"} + QString(words).split(u'|')) << label;
    }
}

TEST(ViewerFailureText, TheLastFatalLineOrATextOfOurOwn)
{
    const std::pair<QByteArray, QString> outputs[] = {
        {"libGL warning: no DRI\n*** GSI50M : a not found.\n*** GSI50M : No DEM files.\r\n",
         "*** GSI50M : No DEM files."},
        {"*** ERROR gsi50 : argument.", "*** ERROR gsi50 : argument."},
        {QStringLiteral("*** GSI50M : /データ not found.\n").toUtf8(), "*** GSI50M : /データ not found."},
        {"", "orvex がエラーで終了しました。"},
        {"Segmentation fault\n**no blank\n", "orvex がエラーで終了しました。"}};
    for (const auto& [output, text] : outputs)
        EXPECT_EQ(viewerFailureText(output), text) << output.constData();
}

namespace {

class ViewerLauncherTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        SetDefaultColor(state), ResetColor(state);
        state.selState = Selection::range;
        state.selX1 = 9, state.selX2 = 12, state.selY1 = 5, state.selY2 = 7;
    }
    void writeViewer(const QByteArray& body)
    {
        writeIn(scratch, "orvex", "#!/bin/sh\n" + body);
        QFile::setPermissions("orvex", QFile::permissions("orvex") | QFile::ExeOwner);
    }
    bool ended()
    {
        return QTest::qWaitFor([&] { return launcher.runningCount() == 0; }, 10000);
    }
    // Runs the stand-in viewer and waits until it has ended.
    bool runToEnd(const QByteArray& body)
    {
        writeViewer(body);
        launcher.RunViewer(state);
        return ended();
    }

    testing_support::ScratchDir scratch{testing_support::ScratchDir::Enter::yes};
    MessageRecorder messages;
    MapState state;
    ViewerLauncher launcher;
};

} // namespace

TEST_F(ViewerLauncherTest, TheProgramIsCheckedFirstThenTheRangeWithoutWritingColours)
{
    state.selState = Selection::startCell;
    writeIn(scratch, "orvex", "not executable");
    launcher.RunViewer(state);
    QFile::remove("orvex");
    QDir().mkdir("orvex"); // a folder is no program either
    launcher.RunViewer(state);
    QDir().rmdir("orvex");
    ASSERT_TRUE(runToEnd("exit 0\n"));
    EXPECT_EQ(messages.texts(), (QStringList{"orvex ファイルがありません。", "orvex ファイルがありません。",
                                             "地図範囲が指定されていません。"}));
    EXPECT_EQ(messages.shown.at(0).icon, MessageIcon::Critical);
    EXPECT_EQ(messages.shown.at(2).icon, MessageIcon::Warning);
    EXPECT_FALSE(QFile::exists("orvex.col"));
}

TEST_F(ViewerLauncherTest, StartsByAbsolutePathWithOneWordPerArgumentWithoutWaiting)
{
    state.dataDir50 = QStringLiteral("../GSI 50M/第 2 版");
    state.bandColor[0] = {1, 2, 3};
    writeViewer("sleep 0.3\n{ echo \"$0\"; for word in \"$@\"; do echo \"[$word]\"; done; pwd;\n"
                "  readlink /proc/$$/fd/0; head -c 8 orvex.col; } > started.txt\n");
    launcher.RunViewer(state);
    EXPECT_EQ(launcher.runningCount(), 1) << "RunViewer returns while the viewer runs";
    ASSERT_TRUE(ended());
    const QString here = QDir::currentPath();
    EXPECT_EQ(QString::fromUtf8(readFile("started.txt")).split(u'\n'),
              (QStringList{here + "/orvex", "[-gsi50]", "[../GSI 50M/第 2 版]", "[533936]", "[2]", "[3]",
                           here, "/dev/null", " 2  0 \r", ""}))
        << "the colours were written before the start";
    EXPECT_TRUE(readFile("orvex.col").contains(" 1  2  3 \r\n"));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ViewerLauncherTest, TellsTheReadingLinesWhileTheViewerLoads)
{
    QStringList told;
    launcher.setProgressListener([&](const QString& text) { told << text; });
    writeViewer("echo 'Reading a ...'; sleep 0.4; echo 'Reading b ...'; sleep 0.4\n");
    launcher.RunViewer(state);
    ASSERT_TRUE(QTest::qWaitFor([&] { return told.size() >= 2; }, 5000));
    ASSERT_TRUE(ended());
    QTest::qWait(2 * ViewerLauncher::kPollMilliseconds);
    EXPECT_EQ(told, (QStringList{"Reading a ...", "Reading b ...", ""}));
    EXPECT_EQ(lastProgressLine("Reading x ...\nother\r\nReading y ...\r\n*** z\n"), "Reading y ...");
}

TEST_F(ViewerLauncherTest, AViewerThatEndsOnAnErrorOrCrashesOrCannotStartIsReported)
{
    // Its standard error goes to a file without a name, so none is left behind.
    ASSERT_TRUE(
        runToEnd("readlink /proc/$$/fd/2 > errors.txt\necho 'Reading ../GSI50M/DATA/5339/533936.MEM ...'\n"
                 "echo '*** GSI50M : ../GSI50M/DATA/5339/533937.MEM not found.'\n"
                 "echo 'libGL: no DRI' >&2\necho '*** GSI50M : No DEM files.' >&2\n"
                 "printf 'Press Enter key...'; read answer; exit 1\n"));
    ASSERT_TRUE(runToEnd("echo 'some warning' >&2; exit 0\n")); // other ends say nothing
    ASSERT_TRUE(runToEnd("echo '*** not fatal' >&2; exit 2\n"));
    ASSERT_TRUE(runToEnd("kill -SEGV $$\n"));
    writeIn(scratch, "orvex",
            "\x7f"
            "ELF garbage"); // still executable
    launcher.RunViewer(state);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return messages.shown.size() >= 3 && launcher.runningCount() == 0; }, 10000));
    EXPECT_TRUE(readFile("errors.txt").endsWith(" (deleted)\n")) << readFile("errors.txt").constData();
    QStringList firstLines;
    for (const QString& text : messages.texts())
        firstLines << text.section(u'\n', 0, 0);
    EXPECT_EQ(firstLines, (QStringList{"*** GSI50M : No DEM files.", "orvex が異常終了しました。",
                                       "orvex を起動できません。"}));
    EXPECT_EQ(messages.texts().value(0).section(u'\n', 1),
              "\nデータフォルダ: " + QDir::cleanPath(QDir::currentPath() + "/../GSI50M") +
                  "\n見つからないファイル:\n  ../GSI50M/DATA/5339/533937.MEM");
    for (const Message& message : messages.shown)
        EXPECT_EQ(message.icon, MessageIcon::Critical);
}
