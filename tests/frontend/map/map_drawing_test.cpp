#include "map/map_drawing.h"
#include "recording_canvas.h"
#include "test_files.h"

#include <gtest/gtest.h>
#include <limits>

using namespace skyloom;

TEST(DrawMesh, InnerLinesOnlyWithThickBluePrimaryEdgesInTheFiftyMetreMeshEvenWestOfTheGrid)
{
    // -5 + 5 = 0 and -5 + 13 = 8 are edges; 0 + 3 is none. The 250 m mesh has no blue.
    RecordingCanvas canvas;
    DrawMesh(viewOf(14, 4, -5, 0), canvas);
    EXPECT_EQ(canvas.calls.filter("blue"), (QStringList{"line 5,0 5,4 blue 3", "line 13,0 13,4 blue 3"}));
    EXPECT_EQ(canvas.calls.filter("grey 1").size(), 11 + 3);
    RecordingCanvas coarse;
    DrawMesh(viewOf(5, 4, 149, 110, Mesh::gsi250), coarse);
    EXPECT_EQ(coarse.calls, (QStringList{"line 1,0 1,4 grey 1", "line 2,0 2,4 grey 1", "line 3,0 3,4 grey 1",
                                         "line 4,0 4,4 grey 1", "line 0,1 5,1 grey 1", "line 0,2 5,2 grey 1",
                                         "line 0,3 5,3 grey 1"}));
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

    MapState coarse = viewOf(3, 3, 18, 13, Mesh::gsi250);
    coarse.sheetName250.set(19, 14, QStringLiteral("東京")); // 4 bytes: i + 0.26
    RecordingCanvas quarter;
    DrawMapName(coarse, quarter);
    EXPECT_EQ(quarter.calls, (QStringList{"text 1.26,1.6 東京 black"}));

    // Cells off the table show nothing, and nothing overflows on the way.
    MapState west = viewOf(7, 1, -5, 0);
    west.sheetName50.set(0, 0, QStringLiteral("名"));
    RecordingCanvas westCanvas;
    DrawMapName(west, westCanvas);
    EXPECT_EQ(westCanvas.calls, (QStringList{"text 5.38,0.6 名 black"}));
    RecordingCanvas far;
    DrawMapName(viewOf(14, 14, 2147483640, -2147483647), far);
    EXPECT_TRUE(far.calls.isEmpty());
}

TEST(DrawCoast, TestsOnlyTheStartsLowAndTheEndsHighSideUpToCoastCount)
{
    MapState state = viewOf(10, 10, 0, 0, Mesh::gsi250);
    const float huge = std::numeric_limits<float>::max();
    state.coastSegments = {{119.5f, 28.0f, 122.0f, 28.0f},  // (-0.5, 3) to (2, 3): not drawn
                           {122.0f, 28.0f, 119.5f, 28.0f},  // the reverse: drawn, clipped later
                           {121.0f, 27.0f, 130.0f, 28.0f},  // ends on the right edge
                           {121.0f, 27.0f, 130.5f, 28.0f},  // ends beyond it
                           {121.0f, 27.0f, huge, 28.0f},    // no overflow either
                           {121.0f, 27.0f, 121.5f, 27.5f}}; // beyond coastCount
    state.coastCount = 5;
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
