// The data sets' grids over one map: the range carried from grid to grid,
// the SRTM3 blocks and edges in degrees, and the places Ctrl+G moves to.
#include "core/data_sets.h"
#include "frontend_test.h"
#include "launch/viewer_command.h"

#include <gtest/gtest.h>

namespace {

MapState withRange(MapState state, int x1, int y1, int x2, int y2)
{
    state.selState = Selection::range;
    std::tie(state.selX1, state.selY1, state.selX2, state.selY2) = std::tuple(x1, y1, x2, y2);
    return state;
}

QString commandOf(const MapState& state, bool gdal = false)
{
    return viewerCommandLine(state, gdal).mid(1).join(u'|');
}

} // namespace

TEST(DataSetSwitch, CarriesTheRangeToTheCellsOfTheNewGridOverTheSameGround)
{
    // 6 x 4 sheets of primary square 5339 (map cells 152..157, 112..115).
    MapState state = withRange(viewOf(14, 14), 3, 3, 9, 7);
    switchDataSet(state, Mesh::dem10); // the same sheets: nothing moves
    EXPECT_EQ(commandOf(state), "-fgd10|../FGD|533930|4|6");
    switchDataSet(state, Mesh::gsi250);
    EXPECT_EQ(std::tuple(state.originX, state.originY, state.selState), std::tuple(12, 7, Selection::range));
    EXPECT_EQ(commandOf(state), "-gsi250|../GSI250M|5339|1|1") << "the square the user chose, not the sea";
    switchDataSet(state, Mesh::dem5); // back to all 8 x 8 sheets of it
    EXPECT_EQ(commandOf(state), "-fgd5|../FGD|533970|8|8");
    // To half-degree blocks: 152..160 x 112..120 sheets are 38..39 x 18..19.
    switchDataSet(state, Mesh::srtm);
    EXPECT_EQ(std::tuple(state.selX2 - state.selX1, state.selY2 - state.selY1, state.selX1 + state.originX,
                         state.selY1 + state.originY),
              std::tuple(2, 2, 38, 18));
    EXPECT_EQ(carryCells({38, 18, 40, 20}, Grid::block, Grid::sheet50), (CellRange{152, 108, 160, 120}));
    EXPECT_EQ(carryCells({-1, -1, 0, 0}, Grid::sheet50, Grid::primary250), (CellRange{-1, -1, 0, 0}));
    // A start cell alone is dropped; a range that cannot be held is cleared.
    MapState started = viewOf(14, 14);
    started.selState = Selection::startCell;
    switchDataSet(started, Mesh::gsi250);
    EXPECT_EQ(started.selState, Selection::none);
    MapState huge = withRange(viewOf(14, 14, 0, 0, Mesh::gsi250), -2147483647, 0, 2147483647, 1);
    switchDataSet(huge, Mesh::gsi50);
    EXPECT_EQ(huge.selState, Selection::none);
}

TEST(DataSetCommandLine, BlocksAndDegreesOfTheRectangleForSrtmAndRasters)
{
    // Blocks at 138 E, 35.5 N (map cells 36, 19) two by two.
    const MapState state = withRange(viewOf(14, 14, 36, 19, Mesh::srtm), 0, 0, 2, 2);
    EXPECT_EQ(commandOf(state), "-srtm3|../SRTM3|107|636|108|637|2|../SRTM30");
    EXPECT_EQ(commandOf(state, true), "-gdal|../SRTM3|36.5|138|35.5|139");
    EXPECT_EQ(std::tuple(srtmBlockRow(0), srtmBlockRow(47), srtmBlockColumn(0), srtmBlockColumn(59)),
              std::tuple(127, 80, 600, 659));
    EXPECT_EQ(degreesOf({158, 116, 159, 117}, Grid::sheet50),
              (DegreeBox{35.75, 139.75, 35 + 40 / 60.0, 139.875}));
    EXPECT_EQ(cellAt(Grid::block, 138.73, 35.36), (MapCell{37, 18}));
    EXPECT_EQ(cellAt(Grid::primary250, 139.5, 35.5), (MapCell{19, 14}));
}

TEST(Place, CodesAndDegreesMoveTheViewsMiddleThere)
{
    const std::pair<const char*, std::optional<MapCell>> places[] = {{"533946", MapCell{158, 116}},
                                                                     {" 5339-46 ", MapCell{158, 116}},
                                                                     {"5339", MapCell{156, 116}},
                                                                     {"35.36, 138.73", MapCell{149, 112}},
                                                                     {"35.36 138.73", MapCell{149, 112}},
                                                                     {"533948", std::nullopt},
                                                                     {"Tokyo", std::nullopt},
                                                                     {"95,10", std::nullopt},
                                                                     {"", std::nullopt}};
    for (const auto& [text, cell] : places) {
        const std::optional<GroundPoint> place = parsePlace(QString::fromUtf8(text));
        ASSERT_EQ(place.has_value(), cell.has_value()) << text;
        if (place) {
            EXPECT_EQ(cellAt(Grid::sheet50, place->longitude, place->latitude), *cell) << text;
        }
    }
    MapState state = withRange(viewOf(14, 10), 1, 1, 2, 2);
    centreViewOn(state, *parsePlace("533946"));
    EXPECT_EQ(
        std::tuple(state.originX, state.originY, state.selX1 + state.originX, state.selY2 + state.originY),
        std::tuple(151, 111, 150, 111))
        << "the range stays on its sheets";
}
