#include "core/data_scan.h"

#include "core/data_sets.h"
#include "core/raster_extent.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace skyloom {

namespace {

void mark(DataPresence& presence, std::int64_t x, std::int64_t y)
{
    if (x >= 0 && y >= 0 && x < presence.cols && y < presence.rows)
        presence.cells[std::size_t(y * presence.cols + x)] = true;
}

// The 50 m sheet of primary code PPQQ, row p and column q, or all sheets of
// the square where p is negative.
void markSheets(DataPresence& presence, int primary, int p, int q)
{
    const std::int64_t x0 = std::int64_t(primary % 100 - kWestLongitudeCode) * kSecondaryPerPrimary;
    const std::int64_t y0 = std::int64_t(primary / 100 - kSouthLatitudeCode) * kSecondaryPerPrimary;
    if (p >= 0) {
        mark(presence, x0 + q, y0 + p);
        return;
    }
    for (int row = 0; row < kSecondaryPerPrimary; ++row)
        for (int col = 0; col < kSecondaryPerPrimary; ++col)
            mark(presence, x0 + col, y0 + row);
}

// The patterns below are thread_local: scans run on their own thread and,
// for F5, on the window's, and one pattern object is not shared between them.

void noteGsi(DataPresence& presence, const QString& relative)
{
    // The loaders take names in either case.
    thread_local const QRegularExpression sheet(
        QStringLiteral("^DATA/(\\d{4})/(\\d{4})([0-7])([0-7])\\.MEM$"),
        QRegularExpression::CaseInsensitiveOption);
    thread_local const QRegularExpression square(QStringLiteral("^DATA/250M/(\\d{4})\\.SEM$"),
                                                 QRegularExpression::CaseInsensitiveOption);
    if (presence.mesh == Mesh::gsi50) {
        const QRegularExpressionMatch m = sheet.match(relative);
        if (m.hasMatch() && m.captured(1) == m.captured(2))
            markSheets(presence, m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
    } else if (const QRegularExpressionMatch m = square.match(relative); m.hasMatch()) {
        const int code = m.captured(1).toInt();
        mark(presence, code % 100 - kWestLongitudeCode, code / 100 - kSouthLatitudeCode);
    }
}

void noteFgd(DataPresence& presence, const QString& name)
{
    thread_local const QRegularExpression fgd(
        QStringLiteral("^FG-GML-(\\d{4})(?:-([0-7])([0-7]))?(?:-\\d\\d)?-.*\\.(?:XML|ZIP)$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = fgd.match(name);
    if (!m.hasMatch())
        return;
    const QString upper = name.toUpper();
    const bool wanted = presence.mesh == Mesh::dem10 ? upper.contains(QStringLiteral("DEM10"))
                                                     : upper.contains(QStringLiteral("DEM5"));
    if (!wanted)
        return;
    const bool whole = !m.hasCaptured(2);
    markSheets(presence, m.captured(1).toInt(), whole ? -1 : m.captured(2).toInt(),
               whole ? -1 : m.captured(3).toInt());
}

void noteSrtm(DataPresence& presence, const QFileInfo& file, Detail detail)
{
    const QString name = file.fileName();
    thread_local const QRegularExpression tile(QStringLiteral("^([NS])(\\d\\d)([EW])(\\d\\d\\d)\\.HGT$"),
                                               QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch m = tile.match(name); m.hasMatch()) {
        presence.hasTiles = true;
        const int south = m.captured(1).compare(QLatin1String("S"), Qt::CaseInsensitive) == 0
                              ? -m.captured(2).toInt()
                              : m.captured(2).toInt();
        const int west = m.captured(3).compare(QLatin1String("W"), Qt::CaseInsensitive) == 0
                             ? -m.captured(4).toInt()
                             : m.captured(4).toInt();
        const MapCell corner = cellAt(Grid::block, west + 0.25, south + 0.25);
        for (int dy = 0; dy < kBlocksPerDegree; ++dy)
            for (int dx = 0; dx < kBlocksPerDegree; ++dx)
                mark(presence, std::int64_t{corner.x} + dx, std::int64_t{corner.y} + dy);
    } else if (isOtherRasterName(name)) {
        presence.hasOtherRasters = true;
        if (detail == Detail::namesOnly)
            return;
        if (const std::optional<LonLatBox> box = rasterExtent(file.filePath())) {
            const GridUnits units = unitsOf(Grid::block);
            const MapCell low = cellAt(Grid::block, box->west, box->south);
            // The cells the east and north edges reach into, not the next.
            const double x2 = std::ceil((box->east - kWestLongitude) * kBlocksPerDegree);
            const double y2 =
                std::ceil((box->north - kSouthLatitudeCode / kLatitudeCodesPerDegree) * kBlocksPerDegree);
            const int xEnd = int(std::clamp(x2, 0.0, double(units.cols)));
            const int yEnd = int(std::clamp(y2, 0.0, double(units.rows)));
            for (int y = std::max(low.y, 0); y < yEnd; ++y)
                for (int x = std::max(low.x, 0); x < xEnd; ++x)
                    mark(presence, x, y);
        }
    }
}

} // namespace

int DataPresence::count() const
{
    return static_cast<int>(std::count(cells.begin(), cells.end(), true));
}

bool isOtherRasterName(const QString& fileName)
{
    static const QStringList endings = {
        QStringLiteral(".tif"), QStringLiteral(".tiff"), QStringLiteral(".img"), QStringLiteral(".vrt"),
        QStringLiteral(".asc"), QStringLiteral(".bil"),  QStringLiteral(".flt"), QStringLiteral(".nc"),
        QStringLiteral(".dt0"), QStringLiteral(".dt1"),  QStringLiteral(".dt2")};
    return std::any_of(endings.begin(), endings.end(),
                       [&](const QString& ending) { return fileName.endsWith(ending, Qt::CaseInsensitive); });
}

DataPresence scanDataFolder(Mesh mesh, const QString& folder, std::stop_token stop, Detail detail)
{
    DataPresence presence;
    presence.mesh = mesh;
    presence.folder = folder;
    const GridUnits units = unitsOf(gridOf(mesh));
    presence.cols = units.cols;
    presence.rows = units.rows;
    presence.cells.assign(std::size_t(units.cols) * std::size_t(units.rows), false);

    const QDir root(folder);
    QDirIterator files(folder, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (files.hasNext() && !stop.stop_requested()) {
        const QFileInfo file = files.nextFileInfo();
        switch (mesh) {
        case Mesh::gsi50:
        case Mesh::gsi250:
            noteGsi(presence, root.relativeFilePath(file.filePath()));
            break;
        case Mesh::dem10:
        case Mesh::dem5:
            noteFgd(presence, file.fileName());
            break;
        case Mesh::srtm:
            noteSrtm(presence, file, detail);
            break;
        }
    }
    presence.scanned = true;
    return presence;
}

BackgroundScan::BackgroundScan(QObject* receiver) : receiver_(receiver) {}

BackgroundScan::~BackgroundScan()
{
    ++*generation_;
    // jthread asks the running scan to stop and joins it.
}

void BackgroundScan::wait()
{
    if (thread_.joinable())
        thread_.join();
}

void BackgroundScan::start(Mesh mesh, const QString& folder, std::function<void(DataPresence)> done)
{
    const int generation = ++*generation_;
    if (thread_.joinable()) {
        thread_.request_stop();
        thread_.join();
    }
    const QString absolute = QDir(folder).absolutePath();
    thread_ = std::jthread([receiver = receiver_, generation, current = generation_, mesh, absolute,
                            done = std::move(done)](std::stop_token stop) {
        DataPresence presence = scanDataFolder(mesh, absolute, stop);
        if (stop.stop_requested())
            return;
        QMetaObject::invokeMethod(
            receiver,
            [generation, current, done, presence = std::move(presence)]() mutable {
                if (*current == generation && done)
                    done(std::move(presence));
            },
            Qt::QueuedConnection);
    });
}

} // namespace skyloom
