#pragma once
// What the demo data set holds and where each part goes under the output
// folder:
//   GSI50M/DATA/PPQQ/PPQQpq.MEM   24 sheets, map columns 149-154, rows 110-113
//                                 (Fuji, Hakone, Tanzawa, Sagami Bay)
//   GSI50M/ZUMEI.CSV, GSI250M/ZUMEI.CSV
//   GSI250M/DATA/250M/PPQQ.SEM    cells 5338, 5339, 5238, 5239
//   SRTM3/N35E138.hgt ...         the four 1-degree tiles of 34-36 N, 138-140 E
//   SRTM30/E100N40.DEM            values for 30-40 N, 135-140 E; holes elsewhere
//   FGD/FG-GML-PPQQ-pq-DEM10B.zip the 24 sheets again as GSI base map DEM
//                                 downloads, 10 m (one document each)
//   FGD/FG-GML-PPQQ-pq-DEM5A.zip  5 m documents of the tertiary meshes
//                                 around Fuji's summit only (two sheets)

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "fgd_text.h"
#include "mesh_codes.h"
#include "terrain.h"

namespace demo {

constexpr MapCell firstDemoSheet{149, 110}; // south-west sheet
constexpr int demoSheetCols = 6;
constexpr int demoSheetRows = 4;
constexpr int demoCellCodes[] = {5338, 5339, 5238, 5239};
constexpr int srtm3North = 36; // the tiles cover 34-36 N, 138-140 E
constexpr int srtm3West = 138;
constexpr int srtm3Tiles = 2;   // each way
constexpr int srtm30North = 40; // real values 30-40 N, 135-140 E
constexpr int srtm30ValueSouth = 30;
constexpr int srtm30ValueWest = 135;
constexpr int srtm30TileWest = 100;

// The sample lattices that the files are cut from.
SampleLattice gsi50Lattice();
SampleLattice gsi250Lattice();
SampleLattice srtm3Lattice();
SampleLattice srtm30Lattice();

// "N35E138.hgt" for the tile whose south-west corner is (lat, lon).
std::string hgtName(int southLat, int westLon);

// The 50 m sheets of the demo, north row first, west to east in each row.
std::vector<MapCell> demoSheets();

// The tertiary meshes that have 5 m documents: 3 x 4 of them around Fuji's
// summit, north row first, the east column in the next sheet.
std::vector<FgdMeshPlace> demoFiveMetreMeshes();

struct WrittenFile {
    std::filesystem::path path;
    std::uint64_t bytes; // apparent size
};

// Writes everything under outDir and returns what it wrote.
std::vector<WrittenFile> writeDemoData(const std::filesystem::path& outDir, const DemoTerrain& terrain);

// The parts one by one (each appends to `written`).
void writeGsi50(const std::filesystem::path& outDir, const DemoTerrain& terrain,
                std::vector<WrittenFile>& written);
void writeGsi250(const std::filesystem::path& outDir, const DemoTerrain& terrain,
                 std::vector<WrittenFile>& written);
void writeSrtm3(const std::filesystem::path& outDir, const DemoTerrain& terrain,
                std::vector<WrittenFile>& written);
void writeSrtm30(const std::filesystem::path& outDir, const DemoTerrain& terrain,
                 std::vector<WrittenFile>& written);
void writeFgd10(const std::filesystem::path& outDir, const DemoTerrain& terrain,
                std::vector<WrittenFile>& written);
void writeFgd5(const std::filesystem::path& outDir, const DemoTerrain& terrain,
               std::vector<WrittenFile>& written);
void writeIndexes(const std::filesystem::path& outDir, std::vector<WrittenFile>& written);

} // namespace demo
