#include "map/map_drawing.h"
#include "map/map_state.h"
#include "recording_canvas.h"

#include <gtest/gtest.h>

namespace {

MapState viewOf(int cols, int rows, int originX = 149, int originY = 109, int mesh = kMesh50)
{
    MapState state;
    state.viewCols = cols;
    state.viewRows = rows;
    state.originX = originX;
    state.originY = originY;
    state.meshFlag = mesh;
    return state;
}

} // namespace

TEST(DrawMesh, InnerLinesOnlyWithThickBluePrimaryEdgesInTheFiftyMetreMesh)
{
    RecordingCanvas canvas;
    DrawMesh(viewOf(5, 4, 149, 110), canvas);
    // 149 + 3 = 152 and 110 + 2 = 112 are multiples of eight.
    EXPECT_EQ(canvas.calls, (QStringList{"line 1,0 1,4 grey 1", "line 2,0 2,4 grey 1", "line 3,0 3,4 blue 3",
                                         "line 4,0 4,4 grey 1", "line 0,1 5,1 grey 1", "line 0,2 5,2 blue 3",
                                         "line 0,3 5,3 grey 1"}));

    RecordingCanvas coarse;
    DrawMesh(viewOf(5, 4, 149, 110, kMesh250), coarse);
    EXPECT_EQ(coarse.starting("line").filter("grey 1").size(), 7);

    // West of the grid: -5 + 5 = 0 is an edge too. One column: no vertical.
    RecordingCanvas west;
    DrawMesh(viewOf(14, 1, -5, 0), west);
    EXPECT_EQ(west.calls.filter("blue"), (QStringList{"line 5,0 5,1 blue 3", "line 13,0 13,1 blue 3"}));
    RecordingCanvas narrow;
    DrawMesh(viewOf(1, 3), narrow);
    EXPECT_EQ(narrow.calls, (QStringList{"line 0,1 1,1 grey 1", "line 0,2 1,2 grey 1"}));
}

TEST(DrawMapName, CentresNamesByShiftJisWidthInTheCurrentMeshOnly)
{
    MapState state = viewOf(14, 14);
    state.sheetName50.set(158, 116, QStringLiteral("東京西北")); // 8 bytes: i + 0.02
    state.sheetName50.set(149, 109, QStringLiteral("ﾃｽﾄ"));      // 3 bytes
    state.sheetName50.set(163, 116, QStringLiteral("外"));       // one column right of the view
    state.sheetName250.set(19, 14, QStringLiteral("東京"));
    RecordingCanvas canvas;
    DrawMapName(state, canvas);
    EXPECT_EQ(canvas.calls, (QStringList{"text 0.32,0.6 ﾃｽﾄ black", "text 9.02,7.6 東京西北 black"}));

    MapState coarse = viewOf(3, 3, 18, 13, kMesh250);
    coarse.sheetName250.set(19, 14, QStringLiteral("東京")); // 4 bytes: i + 0.26
    RecordingCanvas quarter;
    DrawMapName(coarse, quarter);
    EXPECT_EQ(quarter.calls, (QStringList{"text 1.26,1.6 東京 black"}));
}

TEST(DrawMapName, CellsOffTheTableShowNothing)
{
    MapState state = viewOf(7, 1, -5, 0);
    for (int x = 0; x < 2; ++x)
        state.sheetName50.set(x, 0, QStringLiteral("名"));
    RecordingCanvas canvas;
    DrawMapName(state, canvas);
    EXPECT_EQ(canvas.calls, (QStringList{"text 5.38,0.6 名 black", "text 6.38,0.6 名 black"}));

    RecordingCanvas far; // no overflow on the way either
    DrawMapName(viewOf(14, 14, 2147483640, -2147483647), far);
    EXPECT_TRUE(far.calls.isEmpty());
}

TEST(DrawCoast, TestsOnlyTheStartsLowAndTheEndsHighSideUpToCoastCount)
{
    MapState state = viewOf(10, 10, 0, 0, kMesh250);
    state.coastSegments = {{119.5f, 28.0f, 122.0f, 28.0f},  // (-0.5, 3) to (2, 3): not drawn
                           {122.0f, 28.0f, 119.5f, 28.0f},  // the reverse: drawn, clipped later
                           {121.0f, 27.0f, 130.0f, 28.0f},  // ends on the right edge
                           {121.0f, 27.0f, 130.5f, 28.0f},  // ends beyond it
                           {121.0f, 27.0f, 121.5f, 27.5f}}; // beyond coastCount
    state.coastCount = 4;
    RecordingCanvas canvas;
    DrawCoast(state, canvas);
    EXPECT_EQ(canvas.calls, (QStringList{"line 2,3 -0.5,3 black 1", "line 1,1.5 10,3 black 1"}));

    // Map units of the 50 m mesh are eight times finer, less the origin.
    MapState fine = viewOf(14, 14);
    fine.coastSegments = {{139.75f, 35.5f, 139.875f, 35.5f}};
    fine.coastCount = 1;
    RecordingCanvas fineCanvas;
    DrawCoast(fine, fineCanvas);
    EXPECT_EQ(fineCanvas.calls, (QStringList{"line 9,5 10,5 black 1"}));
}

TEST(ReDraw, GridThenNamesThenCoastAndTheRangeEitherWay)
{
    MapState state = viewOf(2, 2, 0, 0);
    state.sheetName50.set(1, 1, QStringLiteral("名"));
    state.coastSegments = {{120.0625f, 26.0625f, 120.125f, 26.125f}};
    state.coastCount = 1;
    RecordingCanvas canvas;
    reDraw(state, canvas);
    DrawRange(canvas, 2, 7, 6, 10, true);
    DrawRange(canvas, 5, 7, 6, 8, false);
    EXPECT_EQ(canvas.calls,
              (QStringList{"line 1,0 1,2 grey 1", "line 0,1 2,1 grey 1", "text 1.38,1.6 名 black", "line 0.5,0.75 1,1.5 black 1",
                           "fill 2,7 6,10 green", "outline 5,7 6,8 green 3"}));
}
