#include "map/map_interaction.h"
#include "recording_canvas.h"
#include "test_files.h"

#include <gtest/gtest.h>
#include <limits>
#include <optional>

using namespace skyloom;

namespace {

class MapInteractionTest : public ::testing::Test {
  protected:
    MapInteractionTest() : map(state, canvas, [this](SurfacePoint at) { popupAt = at; }) {}

    void clickCell(int i, int k) { map.picMap_MouseDown(kLeftButton, i + 0.5, k + 0.5); }
    QList<int> range() const { return {state.selX1, state.selY1, state.selX2, state.selY2}; }

    MapState state = viewOf(14, 14);
    RecordingCanvas canvas;
    std::optional<SurfacePoint> popupAt;
    MapInteraction map;
};

} // namespace

TEST_F(MapInteractionTest, TwoClicksChooseTheRangeFromEitherCornerInTheRightLayers)
{
    clickCell(5, 7);
    EXPECT_EQ(state.selState, Selection::startCell);
    EXPECT_EQ(range(), (QList<int>{5, 7, 6, 8}));
    EXPECT_EQ(canvas.sequence(), "on cls draw off outline");
    EXPECT_EQ(canvas.calls.back(), "outline 5,7 6,8 green 3");

    canvas.calls.clear();
    clickCell(2, 9);
    EXPECT_EQ(state.selState, Selection::range);
    EXPECT_EQ(range(), (QList<int>{2, 7, 6, 10}));
    EXPECT_EQ(canvas.sequence(), "on cls fill draw");
    EXPECT_EQ(canvas.calls[2], "fill 2,7 6,10 green");

    clickCell(1, 9); // a click on a chosen range starts a new one
    EXPECT_EQ(state.selState, Selection::startCell);
    clickCell(4, 3);
    EXPECT_EQ(range(), (QList<int>{1, 3, 5, 10}));

    // The same cell twice is one sheet; positions floor toward minus infinity.
    map.picMap_MouseDown(kLeftButton, 4.01, 6.99);
    map.picMap_MouseDown(kLeftButton, 4.99, 6.0);
    EXPECT_EQ(range(), (QList<int>{4, 6, 5, 7}));
    map.picMap_MouseDown(kLeftButton, -0.25, -0.25);
    EXPECT_EQ(range(), (QList<int>{-1, -1, 0, 0}));
}

TEST_F(MapInteractionTest, TheRubberBandFollowsThePointerOnlyWhileAStartCellIsChosen)
{
    map.picMap_MouseMove(0, 3.5, 3.5);
    EXPECT_TRUE(canvas.calls.isEmpty());

    clickCell(5, 7);
    canvas.calls.clear();
    map.picMap_MouseMove(0, 2.5, 9.5);
    map.picMap_MouseMove(kLeftButton, 8.5, 3.5);
    map.picMap_MouseMove(kRightButton, 1.5, 1.5);                 // right button alone: ignored
    map.picMap_MouseMove(kRightButton + kMiddleButton, 5.5, 7.5); // not alone: drawn
    EXPECT_EQ(canvas.calls, (QStringList{"cls", "outline 2,7 6,10 green 3", "cls", "outline 5,3 9,8 green 3",
                                         "cls", "outline 5,7 6,8 green 3"}));
    EXPECT_EQ(range(), (QList<int>{5, 7, 6, 8})) << "moving never changes the range";

    clickCell(8, 3);
    canvas.calls.clear();
    map.picMap_MouseMove(0, 1.5, 1.5);
    EXPECT_TRUE(canvas.calls.isEmpty()) << "a chosen range does not follow the pointer";
}

TEST_F(MapInteractionTest, ThePopUpOpensOnlyStrictlyInsideAChosenRange)
{
    clickCell(2, 7);
    map.picMap_MouseDown(kRightButton, 2.5, 7.5);
    EXPECT_FALSE(popupAt) << "a start cell alone is no range";

    clickCell(5, 9); // columns 2..5, rows 7..9
    for (const SurfacePoint p : {SurfacePoint{2.0, 8.0}, SurfacePoint{4.0, 10.0}, SurfacePoint{6.5, 8.0}})
        map.picMap_MouseDown(kRightButton, p.x, p.y);
    map.picMap_MouseDown(kMiddleButton, 3.0, 8.0);
    EXPECT_FALSE(popupAt) << "on the border, outside, or not the right button";

    map.picMap_MouseDown(kRightButton, 5.9, 9.9);
    EXPECT_EQ(popupAt, (SurfacePoint{5.9, 9.9}));
    EXPECT_EQ(state.selState, Selection::range);
}

TEST_F(MapInteractionTest, ArrowsMoveTheViewAndKeepTheRangeOnItsSheets)
{
    map.picMap_KeyDown(kKeyLeft); // without a range only the origin moves
    EXPECT_EQ(state.originX, 148);
    EXPECT_EQ(state.selState, Selection::none);

    clickCell(4, 3);
    clickCell(5, 4);
    canvas.calls.clear();
    for (const int key : {kKeyRight, kKeyRight, kKeyRight, kKeyUp, kKeyDown, kKeyDown})
        map.picMap_KeyDown(key);
    EXPECT_EQ(state.originX, 151);
    EXPECT_EQ(state.originY, 108);
    EXPECT_EQ(range(), (QList<int>{1, 4, 3, 6}));
    EXPECT_EQ(canvas.sequence(), QStringList(6, "on cls fill draw").join(u' '));

    // A key while a start cell is chosen drops it; the next click starts afresh.
    clickCell(5, 5);
    canvas.calls.clear();
    map.picMap_KeyDown(65);
    EXPECT_EQ(state.selState, Selection::none);
    EXPECT_EQ(canvas.sequence(), "on cls draw");
    clickCell(7, 7);
    EXPECT_EQ(range(), (QList<int>{7, 7, 8, 8}));

    // At the end of the 32-bit range the view stops and so does the range.
    state.originX = std::numeric_limits<int>::max();
    map.picMap_KeyDown(kKeyRight);
    EXPECT_EQ(state.originX, std::numeric_limits<int>::max());
    EXPECT_EQ(state.selX1, 7);
}

TEST_F(MapInteractionTest, ResizeRoundsTheCellsTiesToEvenAndRedrawsUnlessASideHasNone)
{
    // Widths never fall on a tie; heights do: 18, 54 and 90 pixels are 0.5,
    // 1.5 and 2.5 rows.
    const struct {
        double width, height;
        int cols, rows;
    } sizes[] = {{615, 486, 14, 14}, {23, 54, 1, 2},  {300, 90, 7, 2},
                 {-90, 200, 2, 6},   {22, 200, 0, 6}, {400, 18, 9, 0}};
    for (const auto& size : sizes) {
        canvas.calls.clear();
        map.Form_Resize(size.width, size.height);
        EXPECT_EQ(state.viewCols, size.cols) << size.width;
        EXPECT_EQ(state.viewRows, size.rows) << size.height;
        const QString drawn = QStringLiteral("scale %1 %2 on cls").arg(size.cols).arg(size.rows);
        EXPECT_EQ(canvas.calls.mid(0, 3).join(u' '), size.cols && size.rows ? drawn : QString())
            << "nothing cleared";
    }

    map.Form_Resize(615, 486);
    clickCell(2, 2);
    map.Form_Resize(300, 90);
    EXPECT_EQ(state.selState, Selection::none) << "a start cell is dropped";
    clickCell(1, 0);
    clickCell(2, 1);
    canvas.calls.clear();
    map.Form_Resize(400, 200);
    EXPECT_EQ(state.selState, Selection::range);
    EXPECT_EQ(canvas.sequence(), "scale on cls fill draw");
}
