#include "settings/setting_draft.h"
#include "test_files.h"

#include <gtest/gtest.h>
#include <limits>

using namespace skyloom;

TEST(MeshSwitch, KeepsTheCentreOverTheSameCellWithTiesToEvenAndTruncatingDivision)
{
    const int most = std::numeric_limits<int>::max();
    const int least = std::numeric_limits<int>::min();
    const struct {
        MapState from;
        Mesh mesh;
        std::pair<int, int> origin;
    } cases[] = {
        // 20 columns: 149 + 10 = 159 lies in 250 m column 19, so 19 - 10 = 9;
        // back, (10 + 9) * 8 - 10 = 142: the centre snaps to the 250 m cell.
        {viewOf(20, 14, 149, 109), Mesh::gsi250, {9, 7}},
        {viewOf(20, 14, 9, 7, Mesh::gsi250), Mesh::gsi50, {142, 105}},
        // 21 columns: 159.5 rounds to 160, 160 / 8 = 20, 20 - 10.5 = 9.5 to 10;
        // 116.5 to 116, 14 - 7.5 = 6.5 to 6.
        {viewOf(21, 15, 149, 109), Mesh::gsi250, {10, 6}},
        // (10.5 + 10) * 8 - 10.5 = 153.5 to 154; (7.5 + 7) * 8 - 7.5 = 108.5 to 108.
        {viewOf(21, 15, 10, 7, Mesh::gsi250), Mesh::gsi50, {154, 108}},
        {viewOf(21, 15, 10, 7, Mesh::gsi250), Mesh::gsi250, {10, 7}}, // the same mesh again
        // -19 / 8 truncates to -2 (rounding down would give -3): -2 - 1 = -3.
        {viewOf(2, 2, -20, -20), Mesh::gsi250, {-3, -3}},
        {viewOf(14, 14, most, least, Mesh::gsi250), Mesh::gsi50, {most, least}},
        {viewOf(14, 14, most, least), Mesh::gsi250, {most / 8 - 7, (least + 7) / 8 - 7}},
    };
    for (const auto& c : cases) {
        MapState state = c.from;
        switchMesh(state, c.mesh);
        EXPECT_EQ(state.meshFlag, c.mesh);
        EXPECT_EQ(std::make_pair(state.originX, state.originY), c.origin)
            << c.from.originX << " " << c.from.originY;
    }
}
