#include "map/map_drawing.h"
#include "map/map_state.h"
#include "recording_canvas.h"

#include <gtest/gtest.h>

namespace {

MapState viewOf(int cols, int rows, int originX = 149, int originY = 109)
{
    MapState state;
    state.viewCols = cols;
    state.viewRows = rows;
    state.originX = originX;
    state.originY = originY;
    return state;
}

std::vector<int> thickVerticals(const RecordingCanvas& canvas)
{
    std::vector<int> at;
    for (const CanvasCall& c : canvas.ofKind(CanvasCall::Line))
        if (c.a.x == c.b.x && c.width == 3)
            at.push_back(static_cast<int>(c.a.x));
    return at;
}

} // namespace

TEST(DrawMesh, ThickBlueLinesMarkPrimarySquaresInTheFiftyMetreMesh)
{
    const MapState state = viewOf(14, 14);
    RecordingCanvas canvas;
    DrawMesh(state, canvas);
    const auto lines = canvas.ofKind(CanvasCall::Line);
    ASSERT_EQ(lines.size(), 26u); // 13 inner columns, 13 inner rows, no edges

    // 149 + 3 = 152 and 109 + 3 = 112 are multiples of eight.
    EXPECT_EQ(thickVerticals(canvas), (std::vector<int>{3, 11}));
    for (const CanvasCall& c : lines) {
        const bool vertical = c.a.x == c.b.x;
        const int at = static_cast<int>(vertical ? c.a.x : c.a.y);
        const bool edge = at == 3 || at == 11;
        EXPECT_EQ(c.colour, edge ? kPrimaryBlue : kGridGrey) << at;
        EXPECT_EQ(c.width, edge ? 3 : 1) << at;
        // Each line spans the whole surface.
        if (vertical) {
            EXPECT_EQ(c.a.y, 0);
            EXPECT_EQ(c.b.y, 14);
        } else {
            EXPECT_EQ(c.a.x, 0);
            EXPECT_EQ(c.b.x, 14);
        }
    }
    // Verticals first, then horizontals.
    EXPECT_EQ(lines.front().a.x, 1);
    EXPECT_EQ(lines.back().a.y, 13);
}

TEST(DrawMesh, WestOfTheGridAndInTheQuarterMileMeshAndOnTinySurfaces)
{
    RecordingCanvas west;
    DrawMesh(viewOf(14, 3, -5, 0), west);
    EXPECT_EQ(thickVerticals(west), (std::vector<int>{5, 13}));

    MapState coarse = viewOf(14, 14);
    coarse.meshFlag = kMesh250;
    RecordingCanvas thin;
    DrawMesh(coarse, thin);
    for (const CanvasCall& c : thin.ofKind(CanvasCall::Line)) {
        EXPECT_EQ(c.colour, kGridGrey);
        EXPECT_EQ(c.width, 1);
    }

    RecordingCanvas narrow;
    DrawMesh(viewOf(1, 3), narrow);
    for (const CanvasCall& c : narrow.ofKind(CanvasCall::Line))
        EXPECT_NE(c.a.x, c.b.x) << "a surface one column wide has no vertical line";
    EXPECT_EQ(narrow.ofKind(CanvasCall::Line).size(), 2u);
}

TEST(DrawMapName, CentresTheNamesOfVisibleCellsInTheCurrentMesh)
{
    MapState state = viewOf(14, 14);
    state.sheetName50.set(158, 116, QStringLiteral("東京西北")); // 8 bytes
    state.sheetName50.set(149, 109, QStringLiteral("ﾃｽﾄ"));      // 3 bytes
    state.sheetName50.set(163, 116, QStringLiteral("外側"));     // one column right of the view
    RecordingCanvas canvas;
    DrawMapName(state, canvas);
    const auto texts = canvas.ofKind(CanvasCall::Text);
    ASSERT_EQ(texts.size(), 2u);
    // Column by column: surface (0, 0) comes before (9, 7).
    EXPECT_EQ(texts[0].text, QStringLiteral("ﾃｽﾄ"));
    EXPECT_NEAR(texts[0].a.x, 0.5 - 0.18, 1e-12);
    EXPECT_NEAR(texts[0].a.y, 0.6, 1e-12);
    EXPECT_EQ(texts[1].text, QStringLiteral("東京西北"));
    EXPECT_NEAR(texts[1].a.x, 9.02, 1e-12);
    EXPECT_NEAR(texts[1].a.y, 7.6, 1e-12);
    EXPECT_EQ(texts[1].colour, kTextBlack);

    state.meshFlag = kMesh250;
    state.originX = 18;
    state.originY = 13;
    state.sheetName250.set(19, 14, QStringLiteral("東京"));
    RecordingCanvas coarse;
    DrawMapName(state, coarse);
    ASSERT_EQ(coarse.ofKind(CanvasCall::Text).size(), 1u);
    EXPECT_NEAR(coarse.ofKind(CanvasCall::Text)[0].a.x, 1.26, 1e-12);
}

TEST(DrawMapName, CellsOffTheTableShowNothing)
{
    MapState state = viewOf(14, 14, -5, 0);
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 9; ++x)
            state.sheetName50.set(x, y, QStringLiteral("名"));
    RecordingCanvas canvas;
    DrawMapName(state, canvas);
    const auto texts = canvas.ofKind(CanvasCall::Text);
    EXPECT_EQ(texts.size(), 9u * 14u);
    for (const CanvasCall& c : texts)
        EXPECT_GE(c.a.x, 5.0) << "no names in columns 0 to 4";

    // Far beyond the grid, nothing at all, and no overflow on the way.
    RecordingCanvas far;
    DrawMapName(viewOf(14, 14, 2147483640, -2147483647), far);
    EXPECT_TRUE(far.ofKind(CanvasCall::Text).empty());
}

TEST(DrawCoast, DrawsTheVisibleSegmentsInBlackUpToCoastCount)
{
    MapState state = viewOf(10, 10, 0, 0);
    state.meshFlag = kMesh250;
    state.coastSegments = {{119.5f, 28.0f, 122.0f, 28.0f},  // starts left of the surface
                           {122.0f, 28.0f, 119.5f, 28.0f},  // ends there: drawn, clipped later
                           {121.0f, 27.0f, 123.0f, 28.0f},  // inside
                           {121.0f, 27.0f, 121.5f, 27.5f}}; // inside but beyond coastCount
    state.coastCount = 3;
    RecordingCanvas canvas;
    DrawCoast(state, canvas);
    const auto lines = canvas.ofKind(CanvasCall::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].a, (SurfacePoint{2, 3}));
    EXPECT_EQ(lines[0].b, (SurfacePoint{-0.5, 3}));
    EXPECT_EQ(lines[1].a, (SurfacePoint{1, 1.5}));
    EXPECT_EQ(lines[1].colour, kTextBlack);
    EXPECT_EQ(lines[1].width, 1);
}

TEST(DrawRange, FilledOrAsAThickOutline)
{
    RecordingCanvas canvas;
    DrawRange(canvas, 2, 7, 6, 10, true);
    DrawRange(canvas, 5, 7, 6, 8, false);
    ASSERT_EQ(canvas.calls.size(), 2u);
    EXPECT_EQ(canvas.calls[0].kind, CanvasCall::Fill);
    EXPECT_EQ(canvas.calls[0].a, (SurfacePoint{2, 7}));
    EXPECT_EQ(canvas.calls[0].b, (SurfacePoint{6, 10}));
    EXPECT_EQ(canvas.calls[0].colour, kRangeGreen);
    EXPECT_EQ(canvas.calls[1].kind, CanvasCall::Outline);
    EXPECT_EQ(canvas.calls[1].width, 3);
    EXPECT_EQ(canvas.calls[1].colour, kRangeGreen);
}

TEST(ReDraw, GridThenNamesThenCoast)
{
    MapState state = viewOf(3, 3, 0, 0);
    state.sheetName50.set(1, 1, QStringLiteral("名"));
    state.coastSegments = {{120.0625f, 26.0625f, 120.125f, 26.125f}};
    state.coastCount = 1;
    RecordingCanvas canvas;
    reDraw(state, canvas);
    ASSERT_EQ(canvas.calls.size(), 4u + 1u + 1u);
    EXPECT_EQ(canvas.calls[3].kind, CanvasCall::Line);
    EXPECT_EQ(canvas.calls[4].kind, CanvasCall::Text);
    EXPECT_EQ(canvas.calls[5].kind, CanvasCall::Line);
    EXPECT_EQ(canvas.calls[5].colour, kTextBlack);
}
