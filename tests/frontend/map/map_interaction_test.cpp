#include "map/map_interaction.h"
#include "map/map_state.h"
#include "recording_canvas.h"

#include <gtest/gtest.h>
#include <limits>
#include <optional>

namespace {

class MapInteractionTest : public ::testing::Test {
protected:
    MapInteractionTest() : map(state, canvas, [this](SurfacePoint at) { popupAt = at; })
    {
        state.viewCols = 14;
        state.viewRows = 14;
    }

    // A left click at the centre of a surface cell.
    void clickCell(int i, int k) { map.picMap_MouseDown(kLeftButton, i + 0.5, k + 0.5); }

    void expectRange(int x1, int y1, int x2, int y2)
    {
        EXPECT_EQ(state.selX1, x1);
        EXPECT_EQ(state.selY1, y1);
        EXPECT_EQ(state.selX2, x2);
        EXPECT_EQ(state.selY2, y2);
    }

    MapState state;
    RecordingCanvas canvas;
    std::optional<SurfacePoint> popupAt;
    MapInteraction map;
};

} // namespace

TEST_F(MapInteractionTest, TwoClicksChooseTheRangeFromEitherCorner)
{
    clickCell(5, 7);
    EXPECT_EQ(state.selState, 1);
    expectRange(5, 7, 6, 8);
    clickCell(2, 9);
    EXPECT_EQ(state.selState, 2);
    expectRange(2, 7, 6, 10);

    // From the north-west corner to the south-east one.
    clickCell(1, 9);
    clickCell(4, 3);
    expectRange(1, 3, 5, 10);

    // South-west to north-east, straight from a chosen range.
    clickCell(3, 3);
    EXPECT_EQ(state.selState, 1);
    clickCell(8, 12);
    expectRange(3, 3, 9, 13);
}

TEST_F(MapInteractionTest, TheSameCellTwiceIsOneSheetAndPointerPositionsFloorToCells)
{
    map.picMap_MouseDown(kLeftButton, 4.01, 6.99);
    map.picMap_MouseDown(kLeftButton, 4.99, 6.0);
    EXPECT_EQ(state.selState, 2);
    expectRange(4, 6, 5, 7);

    // Below and left of the surface the cells are negative, not zero.
    map.picMap_MouseDown(kLeftButton, -0.25, -0.25);
    expectRange(-1, -1, 0, 0);
}

TEST_F(MapInteractionTest, EachClickDrawsIntoTheRightLayerInTheRightOrder)
{
    clickCell(5, 7);
    EXPECT_EQ(canvas.sequence(), QStringLiteral("on cls draw off outline"));
    const CanvasCall start = canvas.calls.back();
    EXPECT_EQ(start.a, (SurfacePoint{5, 7}));
    EXPECT_EQ(start.b, (SurfacePoint{6, 8}));
    EXPECT_EQ(start.width, 3);

    canvas.calls.clear();
    clickCell(2, 9);
    EXPECT_EQ(canvas.sequence(), QStringLiteral("on cls fill draw"));
    const CanvasCall fill = canvas.ofKind(CanvasCall::Fill).front();
    EXPECT_EQ(fill.a, (SurfacePoint{2, 7}));
    EXPECT_EQ(fill.b, (SurfacePoint{6, 10}));
}

TEST_F(MapInteractionTest, TheRubberBandFollowsThePointerWithoutChangingTheRange)
{
    map.picMap_MouseMove(0, 3.5, 3.5);
    EXPECT_TRUE(canvas.calls.empty()) << "no start cell: moving does nothing";

    clickCell(5, 7);
    canvas.calls.clear();
    map.picMap_MouseMove(0, 2.5, 9.5);
    EXPECT_EQ(canvas.sequence(), QStringLiteral("cls outline"));
    EXPECT_EQ(canvas.calls.back().a, (SurfacePoint{2, 7}));
    EXPECT_EQ(canvas.calls.back().b, (SurfacePoint{6, 10}));
    expectRange(5, 7, 6, 8);
    EXPECT_EQ(state.selState, 1);

    // Dragging with the left button draws it too; the right button alone not.
    canvas.calls.clear();
    map.picMap_MouseMove(kLeftButton, 8.5, 3.5);
    ASSERT_EQ(canvas.ofKind(CanvasCall::Outline).size(), 1u);
    EXPECT_EQ(canvas.calls.back().a, (SurfacePoint{5, 3}));
    EXPECT_EQ(canvas.calls.back().b, (SurfacePoint{9, 8}));
    canvas.calls.clear();
    map.picMap_MouseMove(kRightButton, 8.5, 3.5);
    EXPECT_TRUE(canvas.calls.empty());
    map.picMap_MouseMove(kRightButton + kLeftButton, 8.5, 3.5);
    EXPECT_FALSE(canvas.calls.empty());

    clickCell(8, 3);
    canvas.calls.clear();
    map.picMap_MouseMove(0, 1.5, 1.5);
    EXPECT_TRUE(canvas.calls.empty()) << "a chosen range does not follow the pointer";
}

TEST_F(MapInteractionTest, ThePopUpOpensOnlyStrictlyInsideAChosenRange)
{
    clickCell(2, 7);
    map.picMap_MouseDown(kRightButton, 2.5, 7.5);
    EXPECT_FALSE(popupAt) << "a start cell alone is no range";

    clickCell(5, 9); // range columns 2..5, rows 7..9
    map.picMap_MouseDown(kRightButton, 2.0, 8.0);
    EXPECT_FALSE(popupAt) << "on the border";
    map.picMap_MouseDown(kRightButton, 4.0, 10.0);
    EXPECT_FALSE(popupAt) << "on the top border";
    map.picMap_MouseDown(kRightButton, 6.5, 8.0);
    EXPECT_FALSE(popupAt) << "outside";
    map.picMap_MouseDown(kMiddleButton, 3.0, 8.0);
    EXPECT_FALSE(popupAt);

    map.picMap_MouseDown(kRightButton, 5.9, 9.9);
    ASSERT_TRUE(popupAt);
    EXPECT_EQ(*popupAt, (SurfacePoint{5.9, 9.9}));
    EXPECT_EQ(state.selState, 2) << "the menu changes nothing";
    expectRange(2, 7, 6, 10);
}

TEST_F(MapInteractionTest, ArrowsMoveTheViewAndKeepTheRangeOnItsSheets)
{
    clickCell(4, 3);
    clickCell(5, 4); // columns 4..5
    canvas.calls.clear();
    map.picMap_KeyDown(kKeyRight);
    map.picMap_KeyDown(kKeyRight);
    EXPECT_EQ(state.originX, 151);
    expectRange(2, 3, 4, 5);
    EXPECT_EQ(state.selState, 2);
    // Every key redraws with the range filled under the map.
    EXPECT_EQ(canvas.sequence(), QStringLiteral("on cls fill draw on cls fill draw"));

    map.picMap_KeyDown(kKeyUp);
    EXPECT_EQ(state.originY, 110);
    expectRange(2, 2, 4, 4);
    map.picMap_KeyDown(kKeyLeft);
    map.picMap_KeyDown(kKeyDown);
    map.picMap_KeyDown(kKeyDown);
    EXPECT_EQ(state.originX, 150);
    EXPECT_EQ(state.originY, 108);
    expectRange(3, 4, 5, 6);
    // The map cells of the range never changed.
    EXPECT_EQ(state.selX1 + state.originX, 4 + 149);
    EXPECT_EQ(state.selY1 + state.originY, 3 + 109);
}

TEST_F(MapInteractionTest, AKeyDropsAStartCellAndOtherKeysOnlyRedraw)
{
    map.picMap_KeyDown(kKeyLeft);
    EXPECT_EQ(state.originX, 148);
    EXPECT_EQ(state.selState, 0);

    clickCell(5, 5);
    canvas.calls.clear();
    map.picMap_KeyDown(65); // 'A'
    EXPECT_EQ(state.selState, 0);
    EXPECT_EQ(state.originX, 148);
    EXPECT_EQ(canvas.sequence(), QStringLiteral("on cls draw"));

    // The next click starts afresh.
    clickCell(7, 7);
    EXPECT_EQ(state.selState, 1);
    expectRange(7, 7, 8, 8);
}

TEST_F(MapInteractionTest, TheViewStopsAtTheEndOfThe32BitRange)
{
    state.originX = std::numeric_limits<int>::max();
    clickCell(4, 4);
    clickCell(4, 4);
    map.picMap_KeyDown(kKeyRight);
    EXPECT_EQ(state.originX, std::numeric_limits<int>::max());
    expectRange(4, 4, 5, 5);
    map.picMap_KeyDown(kKeyLeft);
    EXPECT_EQ(state.originX, std::numeric_limits<int>::max() - 1);
    expectRange(5, 4, 6, 5);
}

TEST_F(MapInteractionTest, ResizeSetsTheCellsAndRedrawsUnlessASideHasNone)
{
    map.Form_Resize(615, 486);
    EXPECT_EQ(state.viewCols, 14);
    EXPECT_EQ(state.viewRows, 14);
    EXPECT_EQ(canvas.sequence(), QStringLiteral("scale on cls draw"));
    EXPECT_EQ(canvas.calls.front().a, (SurfacePoint{14, 14}));

    clickCell(2, 2);
    canvas.calls.clear();
    map.Form_Resize(300, 90);
    EXPECT_EQ(state.viewCols, 7);
    EXPECT_EQ(state.viewRows, 2);
    EXPECT_EQ(state.selState, 0) << "a start cell is dropped";

    clickCell(1, 0);
    clickCell(2, 1);
    canvas.calls.clear();
    map.Form_Resize(400, 200);
    EXPECT_EQ(state.selState, 2);
    EXPECT_EQ(canvas.sequence(), QStringLiteral("scale on cls fill draw"));

    canvas.calls.clear();
    map.Form_Resize(22, 200);
    EXPECT_EQ(state.viewCols, 0);
    EXPECT_TRUE(canvas.calls.empty()) << "nothing cleared or drawn";
    map.Form_Resize(400, 18);
    EXPECT_EQ(state.viewRows, 0);
    EXPECT_TRUE(canvas.calls.empty());
}
