#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <tuple>

#include "render/detail_levels.h"
#include "test_terrain.h"

using namespace orvex;

namespace {

// A 200 x 200 plane 90 m apart with one spike of 50 m on a point that only
// step 1 has: every coarser step misses it by the whole spike.
TEST(DetailLevels, AStepMissesWhatLiesBetweenItsLines)
{
    ElevationGrid g;
    allocategrid(g, 200, 200, srtm3Constants);
    for (int n = 0; n < 200 * 200; ++n)
        g.points[n].y = n / 200 * 90.0f, g.points[n].x = n % 200 * 90.0f, g.points[n].z = 0.2f * (n % 200);
    g.gridRowTable[33][35].z += 50;
    TerrainBlocks blocks;
    blocks.build(g);
    DetailLevels levels;
    levels.build(g, blocks);
    const std::size_t spiked = 1 * blocks.blockCols() + 1,
                      partial = blocks.blockCols() * blocks.blockRows() - 1;
    EXPECT_EQ(blocks.block(6, 6).lastRow, 199); // the last block ends off every step but 1
    for (int level = 0; level < detailLevelCount; ++level) {
        EXPECT_NEAR(levels.error(spiked, level), level == 0 ? 0 : 50, 1e-3) << level;
        EXPECT_NEAR(levels.error(0, level), 0, 1e-3) << level; // a plane is exact at every step
        EXPECT_NEAR(levels.error(partial, level), 0, 1e-3) << level;
    }
}

TEST(DetailLevels, TheStepGrowsWithDistanceWithinTheResolutionStepAndTheBlock)
{
    const std::array<float, detailLevelCount> errors = {0, 0.5f, 2, 8, 32, 128};
    MovingQuery query{1, {}, 0, nullptr, 1000};
    // An error of e metres at d metres spans 1000 e / d pixels.
    EXPECT_EQ(chooseBlockStep(errors, 0, query), 1);
    EXPECT_EQ(chooseBlockStep(errors, 499, query), 1);
    EXPECT_EQ(chooseBlockStep(errors, 500, query), 2);
    EXPECT_EQ(chooseBlockStep(errors, 8000, query), 8);
    EXPECT_EQ(chooseBlockStep(errors, 1e9, query), 32);
    query.step = 4;
    EXPECT_EQ(chooseBlockStep(errors, 0, query), 4);
    EXPECT_EQ(chooseBlockStep(errors, 8000, query), 8);
}

// Positions as the key of a mesh edge, either way round.
using Point = std::tuple<float, float, float>;
using Edge = std::pair<Point, Point>;

Edge edgeOf(const MovingMesh& mesh, std::uint32_t a, std::uint32_t b)
{
    const auto point = [&](std::uint32_t n) {
        const float* p = mesh.vertices[n].position;
        return Point{p[0], p[1], p[2]};
    };
    return std::minmax(point(a), point(b));
}

// Near blocks fine, far blocks coarse, void holes kept: the surface covers
// exactly the cells of the full-detail frame, and every edge of it that no
// other surface triangle shares lies on the grid's outline or a hole, or has
// a skirt hanging from it.
TEST(DetailLevels, TheMeshCoversTheFullDetailCellsAndItsSeamsAreClosed)
{
    ElevationGrid g;
    makeHills(g, 241, 301, [](int r, int c) { return std::hypot(r - 40, c - 150) < 9; });
    TerrainBlocks blocks;
    blocks.build(g);
    DetailLevels levels;
    levels.build(g, blocks);
    // Pixels per metre at a metre: 100 mixes the steps of blocks, 5 also
    // draws far groups of blocks as single cells.
    for (const auto& [step, pixelsPerUnit] :
         {std::pair(1, 100), std::pair(2, 100), std::pair(4, 100), std::pair(1, 5)}) {
        const GridPoint& corner = g.gridRowTable[0][0];
        MovingQuery query{step, {corner.y, corner.x, corner.z + 300}, 1e30, nullptr, double(pixelsPerUnit)};
        MovingMesh mesh;
        buildMovingMesh(g, blocks, levels, query, mesh);
        const std::set<int> steps(mesh.blockSteps.begin(), mesh.blockSteps.end());
        ASSERT_GE(steps.size(), 3u) << "near and far blocks at different steps, step " << step;
        EXPECT_EQ(mesh.blockSteps.front(), step);
        EXPECT_EQ(*steps.rbegin() > TerrainBlocks::blockCells, pixelsPerUnit == 5) << "groups drawn as cells";

        double area = 0, fullArea = 0;
        std::map<Edge, int> surfaceEdges;
        std::set<Edge> skirtTops;
        for (std::size_t n = 0; n < mesh.indices.size(); n += 3) {
            const float* p[3];
            for (int k = 0; k < 3; ++k)
                p[k] = mesh.vertices[mesh.indices[n + k]].position;
            const double twice =
                (p[1][0] - p[0][0]) * (p[2][1] - p[0][1]) - (p[2][0] - p[0][0]) * (p[1][1] - p[0][1]);
            for (int k = 0; k < 3; ++k) {
                const Edge edge = edgeOf(mesh, mesh.indices[n + k], mesh.indices[n + (k + 1) % 3]);
                const bool vertical = std::get<0>(edge.first) == std::get<0>(edge.second) &&
                                      std::get<1>(edge.first) == std::get<1>(edge.second);
                if (twice != 0)
                    ++surfaceEdges[edge];
                else if (!vertical)
                    skirtTops.insert(edge);
            }
            area += std::abs(twice) / 2;
        }
        const auto cellArea = [&](int i, int j) {
            const GridPoint &a = g.gridRowTable[i - step][j - step], &b = g.gridRowTable[i][j - step],
                            &c = g.gridRowTable[i][j], &d = g.gridRowTable[i - step][j];
            return (std::abs((b.y - a.y) * (c.x - a.x) - (c.y - a.y) * (b.x - a.x)) +
                    std::abs((c.y - a.y) * (d.x - a.x) - (d.y - a.y) * (c.x - a.x))) /
                   2;
        };
        for (int i = step; i < g.gridRows; i += step)
            for (int j = step; j < g.gridCols; j += step)
                fullArea += cellCornersValid(g, i, j, step) ? cellArea(i, j) : 0;
        EXPECT_NEAR(area, fullArea, fullArea * 1e-5) << "step " << step;

        const int lastRow = (g.gridRows - 1) / step * step, lastCol = (g.gridCols - 1) / step * step;
        const auto onOutlineOrHole = [&](const Edge& edge) {
            for (const Point& end : {edge.first, edge.second}) {
                for (int r = 0; r < g.gridRows; ++r)
                    for (int c = 0; c < g.gridCols; ++c) {
                        const GridPoint& p = g.gridRowTable[r][c];
                        if (Point{p.y, p.x, p.z} != end)
                            continue;
                        if (r == 0 || c == 0 || r == lastRow || c == lastCol ||
                            std::hypot(r - 40, c - 150) < 9 + 2 * step)
                            return true;
                    }
            }
            return false;
        };
        int open = 0;
        for (const auto& [edge, uses] : surfaceEdges)
            open += uses == 1 && !skirtTops.count(edge) && !onOutlineOrHole(edge);
        EXPECT_EQ(open, 0) << "edges with a crack beside them, step " << step;
    }
}

} // namespace
