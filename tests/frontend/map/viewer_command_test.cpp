#include "launch/viewer_command.h"
#include "test_files.h"

#include <gtest/gtest.h>

using namespace skyloom;

namespace {

MapState rangeOf(Mesh mesh, int originX, int originY, QList<int> range)
{
    MapState state = viewOf(14, 14, originX, originY, mesh);
    state.selState = Selection::range;
    state.selX1 = range[0], state.selY1 = range[1], state.selX2 = range[2], state.selY2 = range[3];
    return state;
}

} // namespace

TEST(ViewerCommandLine, NamesTheNorthWestSheetAndTheRangeInBothMeshes)
{
    // North-west map cells (158, 115) and (19, 14); the launcher's tests
    // start the 50 m mesh with a directory holding blanks.
    EXPECT_EQ(viewerCommandLine(rangeOf(Mesh::gsi50, 149, 109, {9, 5, 12, 7})),
              (QStringList{"orvex", "-gsi50", "../GSI50M", "533936", "2", "3"}));
    EXPECT_EQ(viewerCommandLine(rangeOf(Mesh::gsi250, 18, 13, {1, 0, 3, 2})),
              (QStringList{"orvex", "-gsi250", "../GSI250M", "5339", "2", "2"}));
    // A range off the grid is not refused.
    EXPECT_EQ(viewerCommandLine(rangeOf(Mesh::gsi250, -5, -3, {0, 0, 2, 1})).mid(3),
              (QStringList{QString::number(MeshCode(Mesh::gsi250, -5, -3)), "1", "2"}));
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
