// The map on a canvas that notes every call: grid, names and coastline
// drawn; range selection, navigation and resizing.
#include "frontend_test.h"
#include "map/map_drawing.h"
#include "map/map_interaction.h"
#include "recording_canvas.h"

#include <gtest/gtest.h>
#include <limits>
#include <optional>

TEST(DrawMesh, InnerLinesOnlyWithThickBluePrimaryEdgesInTheFiftyMetreMesh)
{
    // -5 + 5 = 0 and -5 + 13 = 8 are edges, even west of the grid; 0 + 3 is
    // none. The 250 m mesh has no blue.
    RecordingCanvas canvas;
    DrawMesh(viewOf(14, 4, -5, 0), canvas);
    EXPECT_EQ(canvas.calls.filter("blue"), (QStringList{"line 5,0 5,4 blue 3", "line 13,0 13,4 blue 3"}));
    EXPECT_EQ(canvas.calls.filter("grey 1").size(), 11 + 3);
    RecordingCanvas coarse;
    DrawMesh(viewOf(3, 2, 149, 110, Mesh::gsi250), coarse);
    EXPECT_EQ(coarse.calls,
              (QStringList{"line 1,0 1,2 grey 1", "line 2,0 2,2 grey 1", "line 0,1 3,1 grey 1"}));
}

TEST(DrawMapName, CentresNamesByShiftJisWidthInTheCurrentMeshOnly)
{
    MapState state = viewOf(14, 14);
    state.sheetName50.set(158, 116, QStringLiteral("東京西北")); // 8 bytes: i + 0.02
    state.sheetName50.set(149, 109, QStringLiteral("ﾃｽﾄ"));      // 3 bytes
    state.sheetName50.set(163, 116, QStringLiteral("外"));       // one column right of the view
    state.sheetName250.set(19, 14, QStringLiteral("東京"));
    MapState coarse = viewOf(3, 3, 18, 13, Mesh::gsi250);
    coarse.sheetName250.set(19, 14, QStringLiteral("東京")); // 4 bytes: i + 0.26
    // Cells off the table show nothing, and nothing overflows on the way.
    MapState west = viewOf(7, 1, -5, 0);
    west.sheetName50.set(0, 0, QStringLiteral("名"));
    RecordingCanvas canvas;
    for (const MapState& map : {state, coarse, west, viewOf(14, 14, 2147483640, -2147483647)})
        DrawMapName(map, canvas);
    EXPECT_EQ(canvas.calls, (QStringList{"text 0.32,0.6 ﾃｽﾄ black", "text 9.02,7.6 東京西北 black",
                                         "text 1.26,1.6 東京 black", "text 5.38,0.6 名 black"}));
}

TEST(DrawCoast, DrawsTheSegmentsFromALowStartToAHighEndUpToCoastCount)
{
    MapState state = viewOf(10, 9, 0, 0, Mesh::gsi250);
    // From (-0.5, 3) to (2, 3): not drawn; the reverse: drawn, clipped later.
    // Ends on the right edge, beyond it, far beyond (no overflow either);
    // starts below the bottom edge, ends on the top edge, ends above it; one
    // beyond coastCount.
    const float huge = std::numeric_limits<float>::max();
    state.coastSegments = {{119.5f, 28, 122, 28}, {122, 28, 119.5f, 28}, {121, 27, 130, 28},
                           {121, 27, 130.5f, 28}, {121, 27, huge, 28},   {121, 25.5f, 122, 27},
                           {121, 27, 122, 32},    {121, 27, 122, 32.5f}, {121, 27, 121.5f, 27.5f}};
    state.coastCount = 8;
    // Map units of the 50 m mesh are eight times finer, less the origin.
    MapState fine = viewOf(14, 14);
    fine.coastSegments = {{139.75f, 35.5f, 139.875f, 35.5f}};
    fine.coastCount = 1;
    RecordingCanvas canvas;
    DrawCoast(state, canvas);
    DrawCoast(fine, canvas);
    EXPECT_EQ(canvas.calls, (QStringList{"line 2,3 -0.5,3 black 1", "line 1,1.5 10,3 black 1",
                                         "line 1,1.5 2,9 black 1", "line 9,5 10,5 black 1"}));
}

namespace {

class MapInteractionTest : public ::testing::Test {
  protected:
    void clickCell(int i, int k) { map.picMap_MouseDown(kLeftButton, i + 0.5, k + 0.5); }
    // "start 5,7 6,8": the selection state and the range.
    QString selection() const
    {
        const char* names[] = {"none", "start", "range"};
        return QString::asprintf("%s %d,%d %d,%d", names[int(state.selState)], state.selX1, state.selY1,
                                 state.selX2, state.selY2);
    }

    MapState state = viewOf(14, 14);
    RecordingCanvas canvas;
    std::optional<SurfacePoint> popupAt;
    MapInteraction map{state, canvas, [this](SurfacePoint at) { popupAt = at; }};
};

} // namespace

TEST_F(MapInteractionTest, TwoClicksChooseTheRangeFromEitherCornerWhereTheRightButtonOpensThePopUp)
{
    clickCell(5, 7);
    EXPECT_EQ(selection(), "start 5,7 6,8");
    EXPECT_EQ(canvas.sequence(), "on cls draw off outline");
    EXPECT_EQ(canvas.calls.back(), "outline 5,7 6,8 green 3");
    map.picMap_MouseDown(kRightButton, 5.5, 7.5); // a start cell alone is no range
    canvas.calls.clear();
    clickCell(2, 9);
    EXPECT_EQ(selection(), "range 2,7 6,10");
    EXPECT_EQ(canvas.sequence(), "on cls fill draw");
    EXPECT_EQ(canvas.calls[2], "fill 2,7 6,10 green");
    // The pop-up opens only strictly inside the range, on the right button.
    for (const SurfacePoint p : {SurfacePoint{2.0, 8.0}, SurfacePoint{4.0, 10.0}, SurfacePoint{6.5, 8.0}})
        map.picMap_MouseDown(kRightButton, p.x, p.y);
    map.picMap_MouseDown(kMiddleButton, 3.0, 8.0);
    EXPECT_FALSE(popupAt);
    map.picMap_MouseDown(kRightButton, 5.9, 9.9);
    EXPECT_EQ(popupAt, (SurfacePoint{5.9, 9.9}));
    clickCell(1, 9); // a click on a chosen range starts a new one
    EXPECT_EQ(selection(), "start 1,9 2,10");
    clickCell(4, 3);
    EXPECT_EQ(selection(), "range 1,3 5,10");
    // The same cell twice is one sheet; positions round toward minus infinity.
    map.picMap_MouseDown(kLeftButton, -0.25, 6.99);
    map.picMap_MouseDown(kLeftButton, -0.75, 6.0);
    EXPECT_EQ(selection(), "range -1,6 0,7");
}

TEST_F(MapInteractionTest, TheRubberBandFollowsThePointerOnlyWhileAStartCellIsChosen)
{
    map.picMap_MouseMove(0, 3.5, 3.5);
    clickCell(5, 7);
    canvas.calls.clear();
    map.picMap_MouseMove(0, 2.5, 9.5);
    map.picMap_MouseMove(kLeftButton, 8.5, 3.5);
    map.picMap_MouseMove(kRightButton, 1.5, 1.5);                 // right button alone: ignored
    map.picMap_MouseMove(kRightButton + kMiddleButton, 5.5, 7.5); // not alone: drawn
    clickCell(8, 3);
    map.picMap_MouseMove(0, 1.5, 1.5); // a chosen range does not follow the pointer
    EXPECT_EQ(canvas.calls.mid(0, 7),
              (QStringList{"cls", "outline 2,7 6,10 green 3", "cls", "outline 5,3 9,8 green 3", "cls",
                           "outline 5,7 6,8 green 3", "on"}));
    EXPECT_EQ(canvas.sequence(), "cls outline cls outline cls outline on cls fill draw");
}

TEST_F(MapInteractionTest, ArrowsMoveTheViewWithTheRangeKeptOnItsSheets)
{
    clickCell(4, 3);
    clickCell(5, 4);
    canvas.calls.clear();
    for (const int key : {kKeyRight, kKeyRight, kKeyRight, kKeyUp, kKeyDown, kKeyDown, kKeyLeft})
        map.picMap_KeyDown(key);
    EXPECT_EQ(std::pair(state.originX, state.originY), std::pair(151, 108));
    EXPECT_EQ(selection(), "range 2,4 4,6");
    EXPECT_EQ(canvas.sequence(), QStringList(7, "on cls fill draw").join(u' '));
    // At the end of the 32-bit range the view stops and so does the range.
    state.originX = std::numeric_limits<int>::max();
    map.picMap_KeyDown(kKeyRight);
    EXPECT_EQ(std::pair(state.originX, state.selX1), std::pair(std::numeric_limits<int>::max(), 2));
    // Any other key only redraws, dropping a start cell.
    clickCell(5, 5);
    canvas.calls.clear();
    map.picMap_KeyDown('A');
    EXPECT_EQ(selection(), "none 5,5 6,6");
    EXPECT_EQ(canvas.sequence(), "on cls draw");
}

TEST_F(MapInteractionTest, ResizeRoundsTheCellsTiesToEvenRedrawingUnlessASideHasNone)
{
    // Widths never fall on a tie; heights do: 18, 54 and 90 pixels are 0.5,
    // 1.5 and 2.5 rows. A start cell is dropped, a range kept.
    clickCell(1, 0);
    const std::tuple<double, double, const char*> sizes[] = {{615, 486, "scale 14 14 on cls"},
                                                             {23, 54, "scale 1 2 on cls"},
                                                             {300, 90, "scale 7 2 on cls"},
                                                             {-90, 200, "scale 2 6 on cls"},
                                                             {22, 200, ""},
                                                             {400, 18, ""}};
    for (const auto& [width, height, calls] : sizes) {
        canvas.calls.clear();
        map.Form_Resize(width, height);
        EXPECT_EQ(canvas.calls.mid(0, 3).join(u' '), calls) << width << " x " << height;
    }
    EXPECT_EQ(std::pair(state.viewCols, state.viewRows), std::pair(9, 0));
    EXPECT_EQ(selection(), "none 1,0 2,1");
    clickCell(1, 0);
    clickCell(2, 1);
    canvas.calls.clear();
    map.Form_Resize(400, 200);
    EXPECT_EQ(canvas.sequence(), "scale on cls fill draw");
}

TEST_F(MapInteractionTest, TheWheelAndTheMiddleButtonMoveTheMapAndARedrawKeepsAStartCell)
{
    clickCell(5, 7);
    canvas.calls.clear();
    map.redrawKeepingSelection(); // a scan that completes now
    EXPECT_EQ(std::pair(selection(), canvas.sequence()),
              std::pair(QString("start 5,7 6,8"), QString("on cls draw off outline")));
    map.picMap_MouseMove(kMiddleButton, 9.5, 9.5); // pressed outside the map: nothing
    map.picMap_MouseDown(kMiddleButton, 4.5, 4.5);
    map.picMap_MouseMove(kMiddleButton, 4.9, 3.2); // less than a cell across, one down
    map.picMap_MouseMove(kMiddleButton, 6.6, 3.2); // two across
    EXPECT_EQ(std::tuple(state.originX, state.originY), std::tuple(147, 110))
        << "the map follows the pointer";
    map.scrollBy(0, 0);
    EXPECT_EQ(state.originX, 147) << "no turn, no move";
    map.scrollBy(3, -1);
    EXPECT_EQ(std::tuple(state.originX, state.originY, selection()),
              std::tuple(150, 109, QString("none 4,7 5,8")));
}
