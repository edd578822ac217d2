#pragma once
// One loader per data set; each allocates the grid, reads its files and
// finishes the grid. Bad arguments end through fatalError. Each comes twice:
// into a grid of the caller's, and into the process-wide grid.

#include <cstdint>
#include <string>

#include "state/grid.h"

namespace orvex {

void readgsi50(ElevationGrid& grid, const std::string& dir, int a, int b, int c);
void readgsi50(const std::string& dir, int a, int b, int c);
void readgsi250(ElevationGrid& grid, const std::string& dir, int a, int b, int c);
void readgsi250(const std::string& dir, int a, int b, int c);

void readsrtm30(ElevationGrid& grid, const std::string& dir, int p1, int p2, int p3, int p4);
void readsrtm30(const std::string& dir, int p1, int p2, int p3, int p4);
void readsrtm30block(ElevationGrid& grid, const std::string& dir, int i, int j, int p1, int p2);
void readsrtm30block(const std::string& dir, int i, int j, int p1, int p2);
void dem30name(const std::string& dir, int tileRow, int tileCol, std::string& path);

void readsrtm3(ElevationGrid& grid, const std::string& dir, int p1, int p2, int p3, int p4, int mode,
               const std::string& srtm30Dir);
void readsrtm3(const std::string& dir, int p1, int p2, int p3, int p4, int mode,
               const std::string& srtm30Dir);
void readsrtm3block(ElevationGrid& grid, const std::string& dir, int i, int j, int p1, int p2);
void readsrtm3block(const std::string& dir, int i, int j, int p1, int p2);
void fillsrtm3block(ElevationGrid& grid, const std::string& srtm30Dir, int i, int j, int p1, int p2);
void fillsrtm3block(const std::string& srtm30Dir, int i, int j, int p1, int p2);
void dem3name(const std::string& dir, int degreeRow, int degreeCol, std::string& path);

// Any elevation raster that GDAL opens: a file, a VRT, or a folder whose
// rasters are mosaicked in memory. The box is in decimal degrees (south and
// west negative), read at the source's resolution, snapped outward to its
// pixels; a projected source is warped to its geographic coordinate system.
// Returns the grid's steps and that coordinate system (WKT).
struct GeoBox {
    double north;
    double west;
    double south;
    double east;
};
struct GdalArea {
    DataSetConstants constants;
    std::string crs;
};
// An area of more points than maxPoints is read decimated.
GdalArea readgdal(ElevationGrid& grid, const std::string& source, const GeoBox& box,
                  std::int64_t maxPoints = maxGridPoints());
GdalArea readgdal(const std::string& source, const GeoBox& box);
// The smallest whole-number step that takes rows x cols points down to at
// most maxPoints (every step-th sample in both directions, first and last
// rows kept as the step allows).
int decimationFor(std::int64_t rows, std::int64_t cols, std::int64_t maxPoints);

// GSI 10 m / 5 m DEM (data/fgd_loader.h) over the global grid.
void readfgd10(const std::string& dir, int a, int b, int c);
void readfgd5(const std::string& dir, int a, int b, int c);

} // namespace orvex
