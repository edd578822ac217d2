#pragma once
// Where a data set's folder has data: the cells of the data set's grid whose
// files are there, found by their names, and the scan run on a thread of its
// own so that the window never waits for it.
//
// The names looked for are those the viewer's loaders read:
// - GSI 50 m: DATA/PPQQ/PPQQpq.MEM, GSI 250 m: DATA/250M/PPQQ.SEM (any case);
// - GSI DEM 10 m / 5 m, anywhere below the folder: FG-GML-PPQQ-pq-...DEM10B
//   and FG-GML-PPQQ-pq-rs-...DEM5A/B/C documents (.xml) and archives (.zip):
//   a tertiary square counts for its whole sheet, and an archive named for a
//   primary square alone (FG-GML-PPQQ-...) for all its sheets. The members
//   of archives are not opened: an archive is taken for what its name says;
// - SRTM3: tiles such as N35E138.hgt (any case), each four blocks. Other
//   rasters (GeoTIFF, .img, .vrt and the like) mark the blocks their extent
//   covers, read through GDAL (rasterExtent).

#include "core/map_cells.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <stop_token>
#include <thread>
#include <vector>

namespace skyloom {

struct DataPresence {
    Mesh mesh = Mesh::gsi50;
    QString folder;
    bool scanned = false;
    // Whether the folder holds .hgt tiles, and rasters of other kinds.
    bool hasTiles = false;
    bool hasOtherRasters = false;
    // One flag per cell of the data set's grid, rows of columns.
    std::vector<bool> cells;
    int cols = 0;
    int rows = 0;

    bool present(std::int64_t x, std::int64_t y) const
    {
        return x >= 0 && y >= 0 && x < cols && y < rows && cells[std::size_t(y * cols + x)];
    }
    int count() const;
};

// Walks the folder and all below it; stops early, with what it found so far,
// once a stop is asked for. `Detail::namesOnly` tells only what kinds of
// files there are (hasTiles, hasOtherRasters), without opening any raster
// for its extent.
enum class Detail { cells, namesOnly };
DataPresence scanDataFolder(Mesh mesh, const QString& folder, std::stop_token stop = {},
                            Detail detail = Detail::cells);

// Whether a file name is a raster other than an SRTM3 tile that the viewer
// reads through GDAL.
bool isOtherRasterName(const QString& fileName);

// Scans one folder at a time on a thread; the result is handed to `done` on
// the receiver's thread, unless a newer scan has been started. The receiver
// must outlive this object (whose end stops and joins the scan).
class BackgroundScan {
  public:
    explicit BackgroundScan(QObject* receiver);
    ~BackgroundScan();
    BackgroundScan(const BackgroundScan&) = delete;
    BackgroundScan& operator=(const BackgroundScan&) = delete;

    void start(Mesh mesh, const QString& folder, std::function<void(DataPresence)> done);
    // Waits for the scan running now, if any (its result still arrives
    // through the receiver's event loop).
    void wait();

  private:
    QObject* receiver_;
    std::shared_ptr<int> generation_ = std::make_shared<int>(0);
    std::jthread thread_;
};

} // namespace skyloom
