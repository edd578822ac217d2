#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "data/grid.h"
#include "render/frame_cells.h"
#include "test_terrain.h"

namespace {

// The cells a frame draws, listed cell by cell as the literal path visits them:
// each as its corner (i, j).
std::vector<std::pair<int, int>> literalCells(int step, const float eye[3], double rangeSquared)
{
    std::vector<std::pair<int, int>> cells;
    for (int i = step; i < grid.gridRows; i += step)
        for (int j = step; j < grid.gridCols; j += step)
            if (cornerInRange(grid.gridRowTable[i][j], eye, rangeSquared) && cellCornersValid(i, j, step))
                cells.emplace_back(i, j);
    return cells;
}

// Decodes the fast path's triangles back into cells, checking that each pair
// of triangles is the split of one cell's polygon.
std::vector<std::pair<int, int>> cellsOf(const VisibleCells& visible, int step)
{
    std::vector<std::pair<int, int>> cells;
    const std::uint32_t cols = static_cast<std::uint32_t>(grid.gridCols);
    for (const CellBatch& batch : visible.batches) {
        EXPECT_EQ(batch.count % 6, 0u);
        for (std::size_t k = batch.first; k < batch.first + batch.count; k += 6) {
            const std::uint32_t* t = &visible.indices[k];
            for (int n = 0; n < 6; ++n) {
                EXPECT_GE(t[n], batch.minIndex);
                EXPECT_LE(t[n], batch.maxIndex);
            }
            // Corner P(i, j) is the second vertex of the first triangle.
            const int i = static_cast<int>(t[1] / cols);
            const int j = static_cast<int>(t[1] % cols);
            const std::uint32_t c0 = (i - step) * cols + (j - step), c1 = i * cols + (j - step);
            const std::uint32_t c2 = i * cols + j, c3 = (i - step) * cols + j;
            const std::uint32_t expected[6] = {c1, c2, c0, c2, c3, c0};
            for (int n = 0; n < 6; ++n)
                EXPECT_EQ(t[n], expected[n]) << "cell " << i << "," << j;
            cells.emplace_back(i, j);
        }
    }
    return cells;
}

bool voidSpots(int row, int col) { return (row * 7 + col * 13) % 97 == 0 || (row > 50 && row < 58 && col > 20); }

TEST(VisibleCells, WithoutAFrustumTheyAreTheLiteralCellsInTheSameOrder)
{
    const int sizes[][2] = {{70, 45}, {33, 33}, {34, 97}, {129, 65}};
    for (const auto& size : sizes) {
        makeTestTerrain(size[0], size[1], rollingHills, voidSpots);
        TerrainBlocks blocks;
        blocks.build();
        const GridPoint& middle = grid.gridRowTable[size[0] / 2][size[1] / 3];
        const float eyes[][3] = {{middle.y, middle.x, 900}, {-1e6f, 0, 0}, {0, 0, 0}};
        for (const auto& eye : eyes) {
            for (const double range : {1e300, 4e6, 2.5e5, 0.0}) {
                for (const int step : {1, 2, 4}) {
                    VisibleCells visible;
                    collectVisibleCells(blocks, {step, {eye[0], eye[1], eye[2]}, range, nullptr}, visible);
                    ASSERT_EQ(cellsOf(visible, step), literalCells(step, eye, range))
                        << size[0] << "x" << size[1] << " step " << step << " range " << range;
                }
            }
        }
    }
}

TEST(VisibleCells, GridsTooSmallForACellDrawNothing)
{
    makeTestTerrain(1, 40, rollingHills);
    TerrainBlocks blocks;
    blocks.build();
    VisibleCells visible;
    collectVisibleCells(blocks, {1, {0, 0, 0}, 1e300, nullptr}, visible);
    EXPECT_TRUE(visible.indices.empty());
    EXPECT_TRUE(visible.batches.empty());
}

// What gluPerspective gives, column-major.
void perspective(double fovyDegrees, double aspect, double nearPlane, double farPlane, double m[16])
{
    const double f = 1 / std::tan(fovyDegrees * std::atan(1.0) / 90);
    std::fill(m, m + 16, 0.0);
    m[0] = f / aspect;
    m[5] = f;
    m[10] = (farPlane + nearPlane) / (nearPlane - farPlane);
    m[11] = -1;
    m[14] = 2 * farPlane * nearPlane / (nearPlane - farPlane);
}

// A camera at the origin of its own frame, looking along -z.
Frustum cameraFrustum(double fovyDegrees, double aspect, double nearPlane, double farPlane)
{
    double projection[16];
    perspective(fovyDegrees, aspect, nearPlane, farPlane, projection);
    const double identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    return frustumFromMatrices(projection, identity);
}

bool pointInside(const Frustum& frustum, const float p[3])
{
    for (const auto& plane : frustum.planes)
        if (plane[0] * p[0] + plane[1] * p[1] + plane[2] * p[2] + plane[3] < 0)
            return false;
    return true;
}

TEST(FrustumTest, BoxesAheadAreKeptAndBoxesBehindBesideOrBeyondAreDropped)
{
    const Frustum frustum = cameraFrustum(50, 1.3, 1, 1000);
    const auto outside = [&](float y0, float x0, float z0, float y1, float x1, float z1) {
        const float low[3] = {y0, x0, z0}, high[3] = {y1, x1, z1};
        return boxOutside(frustum, low, high);
    };
    // The frame's first axis is GL's x here: the matrices do not care.
    EXPECT_FALSE(outside(-1, -1, -20, 1, 1, -10));      // straight ahead
    EXPECT_FALSE(outside(-500, -500, -5, 500, 500, 5));  // around the eye
    EXPECT_TRUE(outside(-1, -1, 5, 1, 1, 10));          // behind
    EXPECT_TRUE(outside(-1, -1, -0.9f, 1, 1, -0.5f));   // before the near plane
    EXPECT_TRUE(outside(-1, -1, -2000, 1, 1, -1500));   // beyond the far plane
    EXPECT_TRUE(outside(30, -1, -20, 40, 1, -10));      // far to the right
    EXPECT_TRUE(outside(-1, 12, -20, 1, 14, -10));      // far above
    EXPECT_FALSE(outside(-1, 9, -20, 1, 14, -10));      // reaching into the view from above
}

TEST(FrustumTest, NoBoxHoldingAVisiblePointIsDropped)
{
    const Frustum frustum = cameraFrustum(35, 1.6, 0.5, 300);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-60, 60);
    std::uniform_real_distribution<float> size(0, 15);
    int keptWithVisiblePoint = 0, dropped = 0;
    for (int n = 0; n < 20000; ++n) {
        float low[3], high[3];
        for (int axis = 0; axis < 3; ++axis) {
            low[axis] = coordinate(random);
            high[axis] = low[axis] + size(random);
        }
        bool anyInside = false;
        for (int k = 0; k < 27 && !anyInside; ++k) {
            const float p[3] = {low[0] + (high[0] - low[0]) * (k % 3) / 2,
                                low[1] + (high[1] - low[1]) * (k / 3 % 3) / 2,
                                low[2] + (high[2] - low[2]) * (k / 9) / 2};
            anyInside = pointInside(frustum, p);
        }
        const bool out = boxOutside(frustum, low, high);
        if (anyInside) {
            ASSERT_FALSE(out) << n;
            ++keptWithVisiblePoint;
        }
        dropped += out;
    }
    EXPECT_GT(keptWithVisiblePoint, 500);
    EXPECT_GT(dropped, 5000);  // and the test still drops most of what is out of view
}

TEST(VisibleCells, AFrustumDropsWholeBlocksButNoCellItSees)
{
    makeTestTerrain(200, 200, rollingHills);
    TerrainBlocks blocks;
    blocks.build();
    // Seen from high above the north-west corner, looking straight down: the
    // camera's -z is the grid's -z, its x the grid's x (east), its y the
    // grid's -y (north up).
    const GridPoint& corner = grid.gridRowTable[40][40];
    const double eyeY = corner.y, eyeX = corner.x, eyeZ = 6000;
    double projection[16];
    perspective(40, 1, 10, 100000, projection);
    // Column-major model-view: camera x = grid x, camera y = -grid y (north
    // up), camera z = grid z, all relative to the eye.
    double modelView[16] = {};
    modelView[4] = 1;
    modelView[1] = -1;
    modelView[10] = 1;
    modelView[15] = 1;
    modelView[12] = -eyeX;
    modelView[13] = eyeY;
    modelView[14] = -eyeZ;
    const Frustum frustum = frustumFromMatrices(projection, modelView);
    VisibleCells all, culled;
    collectVisibleCells(blocks, {1, {corner.y, corner.x, 0}, 1e300, nullptr}, all);
    collectVisibleCells(blocks, {1, {corner.y, corner.x, 0}, 1e300, &frustum}, culled);
    const auto allCells = cellsOf(all, 1);
    const auto seen = cellsOf(culled, 1);
    EXPECT_LT(seen.size() * 4, allCells.size());
    // Every cell with a corner in view is still there.
    std::size_t next = 0;
    for (const auto& cell : allCells) {
        const GridPoint& p = grid.gridRowTable[cell.first][cell.second];
        const float position[3] = {p.y, p.x, p.z};
        const bool visible = pointInside(frustum, position);
        while (next < seen.size() && seen[next] < cell)
            ++next;
        if (visible) {
            ASSERT_TRUE(next < seen.size() && seen[next] == cell) << cell.first << "," << cell.second;
        }
    }
}

}  // namespace
