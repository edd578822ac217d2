// The scan of a data folder (sheets, archives, tiles, other rasters) and the
// tint it leaves on the map.
#include "core/data_scan.h"
#include "frontend_test.h"
#include "map/map_drawing.h"
#include "recording_canvas.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <optional>

TEST(DataScan, FindsEachDataSetsFilesByTheNamesItsLoaderReads)
{
    testing_support::ScratchDir scratch;
    for (const char* file :
         {"G50/DATA/5339/533946.MEM", "G50/DATA/5339/533947.txt", "G50/DATA/5338/533946.MEM",
          "G50/DATA/250M/5339.SEM", "FGD/FG-GML-5339-46-DEM10B.zip",
          "FGD/x/FG-GML-5339-45-DEM10B-20161001.xml", "FGD/FG-GML-5338-DEM10B.ZIP",
          "FGD/FG-GML-5339-35-12-DEM5A-20161001.xml", "FGD/readme.xml", "S/N35E138.hgt", "S/deep/s01e139.HGT",
          "S/n99e999.hgt", "R/area.tif"})
        writeIn(scratch, file, "x");
    const QString root = pathOf(scratch) + u'/';

    const DataPresence sheets = scanDataFolder(Mesh::gsi50, root + "G50");
    EXPECT_EQ(std::tuple(sheets.count(), sheets.present(158, 116), sheets.cols, sheets.rows),
              std::tuple(1, true, 240, 288));
    const DataPresence squares = scanDataFolder(Mesh::gsi250, root + "G50");
    EXPECT_EQ(std::tuple(squares.count(), squares.present(19, 14)), std::tuple(1, true));
    // Two sheets, and the 64 of square 5338 in a bulk archive.
    const DataPresence dem10 = scanDataFolder(Mesh::dem10, root + "FGD");
    EXPECT_EQ(std::tuple(dem10.count(), dem10.present(157, 116), dem10.present(151, 119)),
              std::tuple(66, true, true));
    const DataPresence dem5 = scanDataFolder(Mesh::dem5, root + "FGD");
    EXPECT_EQ(std::tuple(dem5.count(), dem5.present(157, 115)), std::tuple(1, true)) << "a tertiary square";
    // N35E138: blocks 36..37 x 18..19; the tile south of the equator is off
    // the map.
    const DataPresence tiles = scanDataFolder(Mesh::srtm, root + "S");
    EXPECT_EQ(std::tuple(tiles.count(), tiles.present(37, 19), tiles.hasTiles, tiles.hasOtherRasters),
              std::tuple(4, true, true, false));
    // Other rasters mark the blocks of their extent: a grid in degrees over
    // 138.2..139 E, 35.1..36.9 N (blocks 36..37 x 18..21), 2 km in UTM zone 54
    // across 139.5 E, 35.5 N (blocks 38..39 x 19..20); area.tif, which GDAL
    // does not open, nowhere.
    writeIn(scratch, "R/degrees.asc",
            "ncols 4\nnrows 9\nxllcorner 138.2\nyllcorner 35.1\ncellsize 0.2\n" +
                QByteArray("1 2 3 4\n").repeated(9));
    writeIn(scratch, "R/utm.asc",
            "ncols 2\nnrows 2\nxllcorner 362000\nyllcorner 3929000\ncellsize 1000\n1 2\n3 4\n");
    writeIn(scratch, "R/utm.prj",
            "PROJCS[\"WGS 84 / UTM zone 54N\",GEOGCS[\"WGS 84\",DATUM[\"WGS_1984\",SPHEROID["
            "\"WGS 84\",6378137,298.257223563]],PRIMEM[\"Greenwich\",0],UNIT[\"degree\","
            "0.0174532925199433]],PROJECTION[\"Transverse_Mercator\"],PARAMETER[\"latitude_of_"
            "origin\",0],PARAMETER[\"central_meridian\",141],PARAMETER[\"scale_factor\",0.9996],"
            "PARAMETER[\"false_easting\",500000],PARAMETER[\"false_northing\",0],UNIT[\"metre\",1]]");
    const DataPresence rasters = scanDataFolder(Mesh::srtm, root + "R");
    EXPECT_EQ(std::tuple(rasters.hasTiles, rasters.hasOtherRasters), std::tuple(false, true));
    EXPECT_EQ(std::tuple(rasters.count(), rasters.present(36, 18), rasters.present(37, 21),
                         rasters.present(39, 19)),
              std::tuple(12, true, true, true));
    EXPECT_EQ(scanDataFolder(Mesh::gsi50, root + "none").count(), 0);

    // In the background: the result arrives through the event loop.
    int argc = 1;
    char name[] = "data_scan_test";
    char* argv[] = {name, nullptr};
    std::optional<QCoreApplication> application;
    if (!QCoreApplication::instance())
        application.emplace(argc, argv);
    QObject receiver;
    int found = -1;
    {
        BackgroundScan scan(&receiver);
        scan.start(Mesh::dem10, root + "nothing", [&](DataPresence) { found = -2; });
        scan.start(Mesh::dem10, root + "FGD", [&](DataPresence presence) { found = presence.count(); });
        scan.wait();
        QCoreApplication::sendPostedEvents(&receiver);
        EXPECT_EQ(found, 66) << "only the newest scan answers";
        scan.start(Mesh::dem10, root + "FGD", [&](DataPresence) { found = 0; });
        scan.wait();
    }
    QCoreApplication::sendPostedEvents(&receiver);
    EXPECT_EQ(found, 66) << "nothing arrives once the scan is gone";
}

TEST(DataScan, TintsTheCellsFoundOutsideTheFilledRange)
{
    MapState state = viewOf(3, 2, 157, 116);
    state.presence = scanDataFolder(Mesh::gsi50, "/nonexistent");
    state.presence.cells[116 * 240 + 158] = state.presence.cells[116 * 240 + 159] = true;
    RecordingCanvas canvas;
    DrawPresence(state, canvas);
    EXPECT_EQ(canvas.calls, QStringList({"fill 1,0 2,1 rgb(255,238,190)", "fill 2,0 3,1 rgb(255,238,190)"}));
    state.selState = Selection::range;
    std::tie(state.selX1, state.selY1, state.selX2, state.selY2) = std::tuple(2, 0, 3, 1);
    canvas.calls.clear();
    reDraw(state, canvas);
    EXPECT_EQ(canvas.calls.front(), "fill 1,0 2,1 rgb(255,238,190)");
    EXPECT_FALSE(canvas.calls[1].startsWith("fill")) << "the range keeps its green";
    state.meshFlag = Mesh::gsi250; // a scan of another data set shows nothing
    canvas.calls.clear();
    DrawPresence(state, canvas);
    EXPECT_TRUE(canvas.calls.isEmpty());
}
