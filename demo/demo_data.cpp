#include "demo_data.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <map>
#include <mutex>
#include <thread>

#include "gsi_text.h"
#include "output_file.h"
#include "relief.h"
#include "sheet_index.h"
#include "srtm_data.h"
#include "srtm_voids.h"
#include "zip_archive.h"

namespace demo {

namespace fs = std::filesystem;

namespace {

constexpr int sheet50Size = 200;
constexpr int cell250Size = 320;
// Deflate level of the DEM archives: the fastest, as the 10 m text of the
// sheets is some 360 MB.
constexpr int fgdDeflateLevel = 1;

// Runs task(k) for k = 0 .. count - 1, shared out among the processor's
// cores; the first exception that a task throws is thrown again at the end,
// and no task starts after it.
template <typename Task> void runOnCores(std::size_t count, Task task)
{
    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::exception_ptr failure;
    auto work = [&] {
        for (std::size_t k; (k = next++) < count;) {
            try {
                task(k);
            } catch (...) {
                const std::lock_guard lock(mutex);
                failure = failure ? failure : std::current_exception();
                next = count;
            }
        }
    };
    {
        const unsigned workers = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
        std::vector<std::jthread> helpers;
        for (unsigned w = 1; w < workers; ++w)
            helpers.emplace_back(work);
        work();
    } // every helper has joined here
    if (failure)
        std::rethrow_exception(failure);
}

void record(std::vector<WrittenFile>& written, const fs::path& path, std::uint64_t bytes)
{
    written.push_back({path, bytes});
}

} // namespace

SampleLattice gsi50Lattice()
{
    const MapCell northOfBlock{firstDemoSheet.x, firstDemoSheet.y + demoSheetRows};
    return {sheetSouth(northOfBlock),    sheetWest(firstDemoSheet),  2400, 1600,
            sheet50Size * demoSheetRows, sheet50Size * demoSheetCols};
}

SampleLattice gsi250Lattice()
{
    // 5338 is the north-west cell of the four; 5438 lies north of it.
    return {primarySouth(5438), primaryWest(5338), 480, 320, 2 * cell250Size, 2 * cell250Size};
}

SampleLattice srtm3Lattice()
{
    const int size = (srtm3TileSize - 1) * srtm3Tiles + 1;
    return {static_cast<double>(srtm3North), static_cast<double>(srtm3West), 1200, 1200, size, size};
}

SampleLattice srtm30Lattice()
{
    const int rows = (srtm30North - srtm30ValueSouth) * 120;
    const int cols = (srtm30TileWest + 40 - srtm30ValueWest) * 120;
    return {static_cast<double>(srtm30North), static_cast<double>(srtm30ValueWest), 120, 120, rows, cols};
}

std::string hgtName(int southLat, int westLon)
{
    std::string lat = std::to_string(std::abs(southLat));
    std::string lon = std::to_string(std::abs(westLon));
    lat.insert(0, 2 - std::min<std::size_t>(2, lat.size()), '0');
    lon.insert(0, 3 - std::min<std::size_t>(3, lon.size()), '0');
    return (southLat < 0 ? "S" : "N") + lat + (westLon < 0 ? "W" : "E") + lon + ".hgt";
}

std::vector<MapCell> demoSheets()
{
    std::vector<MapCell> sheets;
    for (int y = firstDemoSheet.y + demoSheetRows - 1; y >= firstDemoSheet.y; --y)
        for (int x = firstDemoSheet.x; x < firstDemoSheet.x + demoSheetCols; ++x)
            sheets.push_back({x, y});
    return sheets;
}

void writeGsi50(const fs::path& outDir, const DemoTerrain& terrain, std::vector<WrittenFile>& written)
{
    const Raster block = terrain.sample(gsi50Lattice());
    const int northY = firstDemoSheet.y + demoSheetRows - 1;
    for (const MapCell& sheet : demoSheets()) {
        const int code = secondaryCode(sheet);
        const fs::path path =
            outDir / "GSI50M" / "DATA" / std::to_string(code / 100) / (std::to_string(code) + ".MEM");
        const std::string text = gsi50SheetText(code, block, (northY - sheet.y) * sheet50Size,
                                                (sheet.x - firstDemoSheet.x) * sheet50Size);
        writeFileAtomically(path, text);
        record(written, path, text.size());
    }
}

void writeGsi250(const fs::path& outDir, const DemoTerrain& terrain, std::vector<WrittenFile>& written)
{
    const Raster block = terrain.sample(gsi250Lattice());
    for (int code : demoCellCodes) {
        const int row0 = (5338 / 100 - code / 100) * cell250Size;
        const int col0 = (code % 100 - 5338 % 100) * cell250Size;
        const fs::path path = outDir / "GSI250M" / "DATA" / "250M" / (std::to_string(code) + ".SEM");
        const std::string text = gsi250CellText(code, block, row0, col0);
        writeFileAtomically(path, text);
        record(written, path, text.size());
    }
}

void writeSrtm3(const fs::path& outDir, const DemoTerrain& terrain, std::vector<WrittenFile>& written)
{
    const Raster area = terrain.sample(srtm3Lattice());
    const std::vector<char> voids = voidMask(area, placeVoids(area, srtm3TileSize - 1));
    for (int tr = 0; tr < srtm3Tiles; ++tr) {
        for (int tc = 0; tc < srtm3Tiles; ++tc) {
            const fs::path path = outDir / "SRTM3" / hgtName(srtm3North - 1 - tr, srtm3West + tc);
            const std::string bytes =
                hgtTileBytes(area, voids, tr * (srtm3TileSize - 1), tc * (srtm3TileSize - 1));
            writeFileAtomically(path, bytes);
            record(written, path, bytes.size());
        }
    }
}

void writeSrtm30(const fs::path& outDir, const DemoTerrain& terrain, std::vector<WrittenFile>& written)
{
    const Raster area = terrain.sample(srtm30Lattice());
    const fs::path path = outDir / "SRTM30" / "E100N40.DEM";
    constexpr std::uint64_t rowBytes = srtm30TileCols * 2;
    const std::uint64_t firstCol = static_cast<std::uint64_t>(srtm30ValueWest - srtm30TileWest) * 120;
    std::vector<FilePiece> rows;
    for (int r = 0; r < area.lattice.rows; ++r)
        rows.push_back({r * rowBytes + firstCol * 2, srtm30RowBytes(area, r)});
    const std::uint64_t size = rowBytes * srtm30TileRows;
    writeSparseFileAtomically(path, size, rows);
    record(written, path, size);
}

std::vector<FgdMeshPlace> demoFiveMetreMeshes()
{
    std::vector<FgdMeshPlace> meshes;
    for (int dr = 1; dr >= -1; --dr) {
        for (int ds = -1; ds <= 2; ++ds) {
            const double lat = fujiSummitLat + dr / 120.0, lon = fujiSummitLon + ds / 80.0;
            const MapCell sheet = sheetAt(lat, lon);
            meshes.push_back({sheet, static_cast<int>(std::floor((lat - sheetSouth(sheet)) * 120)),
                              static_cast<int>(std::floor((lon - sheetWest(sheet)) * 80))});
        }
    }
    return meshes;
}

void writeFgd10(const fs::path& outDir, const DemoTerrain& terrain, std::vector<WrittenFile>& written)
{
    // Each core takes whole sheets, from the heights (most of the time) to
    // the written archive.
    const std::vector<MapCell> sheets = demoSheets();
    std::vector<WrittenFile> files(sheets.size());
    const std::time_t memberTime = zipMemberTime(fgdYear, fgdMonth, fgdDay);
    runOnCores(sheets.size(), [&](std::size_t k) {
        const FgdMeshPlace place{sheets[k]};
        const std::string document = fgdDocument(place, terrain.sample(fgdLattice(place), 1));
        const std::string archive =
            zipArchive({{fgdDocumentName(place), document}}, memberTime, fgdDeflateLevel);
        files[k] = {outDir / "FGD" / fgdArchiveName(place.sheet, false), archive.size()};
        writeFileAtomically(files[k].path, archive);
    });
    written.insert(written.end(), files.begin(), files.end());
}

void writeFgd5(const fs::path& outDir, const DemoTerrain& terrain, std::vector<WrittenFile>& written)
{
    struct SheetArchive {
        MapCell sheet;
        std::vector<ZipMember> members;
    };
    std::map<int, SheetArchive> bySheet; // by code
    for (const FgdMeshPlace& place : demoFiveMetreMeshes()) {
        SheetArchive& sheet = bySheet[secondaryCode(place.sheet)];
        sheet.sheet = place.sheet;
        sheet.members.push_back(
            {fgdDocumentName(place), fgdDocument(place, terrain.sample(fgdLattice(place)))});
    }
    const std::time_t memberTime = zipMemberTime(fgdYear, fgdMonth, fgdDay);
    for (const auto& [code, sheet] : bySheet) {
        const std::string archive = zipArchive(sheet.members, memberTime, fgdDeflateLevel);
        const fs::path path = outDir / "FGD" / fgdArchiveName(sheet.sheet, true);
        writeFileAtomically(path, archive);
        record(written, path, archive.size());
    }
}

void writeIndexes(const fs::path& outDir, std::vector<WrittenFile>& written)
{
    std::vector<IndexLine> sheets;
    for (const MapCell& sheet : demoSheets())
        sheets.push_back({secondaryCode(sheet), sheetName50(sheet), sheetSouth(sheet), sheetWest(sheet)});
    std::vector<IndexLine> cells;
    for (int code : demoCellCodes)
        cells.push_back({code, cellName250(code), primarySouth(code), primaryWest(code)});

    const std::pair<fs::path, const std::vector<IndexLine>&> indexes[] = {
        {outDir / "GSI50M" / "ZUMEI.CSV", sheets},
        {outDir / "GSI250M" / "ZUMEI.CSV", cells},
    };
    for (const auto& [path, lines] : indexes) {
        const std::string bytes = toShiftJis(indexText(lines));
        writeFileAtomically(path, bytes);
        record(written, path, bytes.size());
    }
}

std::vector<WrittenFile> writeDemoData(const fs::path& outDir, const DemoTerrain& terrain)
{
    std::vector<WrittenFile> written;
    writeGsi50(outDir, terrain, written);
    writeGsi250(outDir, terrain, written);
    writeSrtm3(outDir, terrain, written);
    writeSrtm30(outDir, terrain, written);
    writeFgd10(outDir, terrain, written);
    writeFgd5(outDir, terrain, written);
    writeIndexes(outDir, written);
    return written;
}

} // namespace demo
