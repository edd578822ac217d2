#include "map/map_state.h"
#include "map/viewer_command.h"

#include <gtest/gtest.h>

namespace {

MapState rangeOf(int mesh, int originX, int originY, int x1, int y1, int x2, int y2)
{
    MapState state;
    state.meshFlag = mesh;
    state.originX = originX;
    state.originY = originY;
    state.selState = 2;
    state.selX1 = x1;
    state.selY1 = y1;
    state.selX2 = x2;
    state.selY2 = y2;
    return state;
}

} // namespace

TEST(ViewerCommandLine, NamesTheNorthWestSheetAndTheRangeInBothMeshes)
{
    // North-west map cell (158, 115).
    EXPECT_EQ(viewerCommandLine(rangeOf(kMesh50, 149, 109, 9, 5, 12, 7)),
              (QStringList{"orvex", "-gsi50", "../GSI50M", "533936", "2", "3"}));
    // North-west map cell (19, 14).
    EXPECT_EQ(viewerCommandLine(rangeOf(kMesh250, 18, 13, 1, 0, 3, 2)),
              (QStringList{"orvex", "-gsi250", "../GSI250M", "5339", "2", "2"}));

    MapState single = rangeOf(kMesh50, 149, 109, 4, 4, 5, 5);
    single.dataDir50 = QStringLiteral("/home/me/GSI 50M/第 2 版");
    single.dataDir250 = QStringLiteral("unused");
    EXPECT_EQ(viewerCommandLine(single),
              (QStringList{"orvex", "-gsi50", "/home/me/GSI 50M/第 2 版", "533911", "1", "1"}))
        << "the directory stays one word, blanks and all";
}

TEST(ViewerCommandLine, ARangeOffTheGridIsNotRefused)
{
    const QStringList words = viewerCommandLine(rangeOf(kMesh250, -5, -3, 0, 0, 2, 1));
    ASSERT_EQ(words.size(), 6);
    EXPECT_EQ(words[3], QString::number(MeshCode(kMesh250, -5, -3)));
    EXPECT_EQ(words.mid(4), (QStringList{"1", "2"}));
}

TEST(ViewerFailureText, TheLastFatalLineOrATextOfOurOwn)
{
    EXPECT_EQ(viewerFailureText("libGL warning: no DRI\n*** GSI50M : a not found.\n*** GSI50M : No DEM files.\r\n"),
              QStringLiteral("*** GSI50M : No DEM files."));
    EXPECT_EQ(viewerFailureText("*** ERROR gsi50 : argument."), QStringLiteral("*** ERROR gsi50 : argument."));
    EXPECT_EQ(viewerFailureText(QStringLiteral("*** GSI50M : /データ not found.\n").toUtf8()),
              QStringLiteral("*** GSI50M : /データ not found."));
    EXPECT_EQ(viewerFailureText(""), QStringLiteral("orvex がエラーで終了しました。"));
    EXPECT_EQ(viewerFailureText("Segmentation fault\n**no blank\n"), QStringLiteral("orvex がエラーで終了しました。"));
}
