// The GSI 10 m / 5 m DEM loaders. The files under the data folder are found
// first, by name (or header); then each place's best file is read, two or
// more at once, and its messages are printed in the order of the places.
#include "data/fgd_loader.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <vector>

#include "data/data_file.h"
#include "data/fgd_archive.h"
#include "data/gsi_files.h"
#include "data/loaders.h"
#include "state/fatal_error.h"
#include "state/load_progress.h"

namespace orvex {

namespace {

constexpr DataSetConstants constantsFor(double pointsPerDegree)
{
    return {1 / pointsPerDegree,
            1 / pointsPerDegree,
            metresPerDegree / pointsPerDegree,
            metresPerDegree / pointsPerDegree,
            0.0f,
            SampleState::noTile,
            -500,
            9999};
}
} // namespace

const DataSetConstants fgd10Constants = constantsFor(9000);
const DataSetConstants fgd5Constants = constantsFor(18000);

namespace {

constexpr int tertiaryPerSheet = 10;
constexpr SampleState validSample = SampleState::valid;
constexpr SampleState voidSample = SampleState::dataVoid;

struct Sheet {
    MeshCode code;
    int row; // in the area, from the north
    int col; // in the area, from the west
};

// The sheets of the area, walked as the 50 m sheets are.
std::vector<Sheet> sheetsOf(const MeshCode& northWest, int rows, int cols)
{
    std::vector<Sheet> sheets;
    for (const AreaSheet& s : areaSheets(northWest.pp, northWest.qq, northWest.p, northWest.q, rows, cols))
        sheets.push_back({{s.pp, s.qq, s.p, s.q}, s.row, s.col});
    return sheets;
}

MeshCode sheetOf(MeshCode code)
{
    code.r = code.s = -1;
    return code;
}

// The start the names of a sheet's files share, for the message when there
// is none.
std::string sheetStem(const std::string& dir, const MeshCode& code, const char* kind)
{
    return dir + "/FG-GML-" + padNumber(code.pp * 100LL + code.qq, 4, '0') + "-" + padNumber(code.p, 1) +
           padNumber(code.q, 1) + "-" + kind;
}

MeshCode parseAreaCode(int code, const char* option)
{
    const MeshCode northWest{code / 10000, (code % 10000) / 100, (code % 100) / 10, code % 10};
    if (northWest.p < 0 || northWest.p >= sheetsPerSquare || northWest.q < 0 ||
        northWest.q >= sheetsPerSquare)
        fatalError(std::string("*** ERROR ") + option + " : argument.");
    return northWest;
}

enum class Surface : std::uint8_t { land, water, sea, none };

Surface surfaceOf(FgdClass kind, float value)
{
    if (kind == FgdClass::sea)
        return Surface::sea;
    if (kind == FgdClass::noData || value == fgdNoValue)
        return Surface::none;
    return kind == FgdClass::inlandWater ? Surface::water : Surface::land;
}

void setPoint(GridPoint& point, Surface surface, float value)
{
    point.inlandWater = surface == Surface::water;
    switch (surface) {
    case Surface::land:
    case Surface::water:
        point.elevation = value;
        point.sampleState = validSample;
        break;
    case Surface::sea:
        point.elevation = seaElevation;
        point.sampleState = validSample;
        break;
    case Surface::none:
        point.elevation = 0; // undrawn, as an SRTM3 void
        point.sampleState = voidSample;
        break;
    }
}

void placeMesh(ElevationGrid& grid, const FgdMesh& mesh, std::int64_t rowOrigin, std::int64_t colOrigin)
{
    for (int y = 0; y < mesh.rows; ++y) {
        GridPoint* row = grid.gridRowTable[rowOrigin + y] + colOrigin;
        const std::size_t first = static_cast<std::size_t>(y) * mesh.cols;
        for (int x = 0; x < mesh.cols; ++x)
            setPoint(row[x], surfaceOf(mesh.classes[first + x], mesh.values[first + x]),
                     mesh.values[first + x]);
    }
}

// Whether the grid is there for the tasks to place their meshes in.
class GridReady {
  public:
    void set(bool ready)
    {
        {
            const std::lock_guard lock(mutex_);
            state_ = ready ? State::ready : State::failed;
        }
        changed_.notify_all();
    }
    // Waits for it; false when it will never be.
    bool wait()
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return state_ != State::pending; });
        return state_ == State::ready;
    }
    bool failed()
    {
        const std::lock_guard lock(mutex_);
        return state_ == State::failed;
    }

  private:
    enum class State { pending, ready, failed };
    std::mutex mutex_;
    std::condition_variable changed_;
    State state_ = State::pending;
};

using Task = std::function<std::string(std::size_t, FgdArchiveReader&, GridReady&)>;

// Runs tasks 0 .. count-1 on as many threads as there are cores, each with
// its own archive reader, meanwhile runs `prepare` (which allocates the grid)
// on this thread, and then prints what each task returns in task order as
// soon as it and those before it are done. The tasks wait for the grid
// before they touch it; when `prepare` throws, they stop.
void runInOrder(std::size_t count, const Task& task, const std::function<void()>& prepare)
{
    std::vector<std::optional<std::string>> done(count);
    std::mutex mutex;
    std::condition_variable finished;
    std::atomic<std::size_t> next{0};
    GridReady ready;
    loadProgress().addFilesToRead(static_cast<long long>(count)); // one file for each place
    const auto work = [&] {
        FgdArchiveReader archives;
        for (std::size_t k; (k = next++) < count && !ready.failed();) {
            std::string messages;
            try {
                messages = task(k, archives, ready);
            } catch (const std::exception& error) {
                messages = std::string("*** ") + error.what() + "\n";
            }
            {
                const std::lock_guard lock(mutex);
                done[k] = std::move(messages);
            }
            finished.notify_all();
        }
    };
    const auto prepareGrid = [&] {
        try {
            prepare();
        } catch (...) {
            ready.set(false);
            throw;
        }
        ready.set(true);
    };
    const std::size_t threads =
        std::min<std::size_t>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u), count);
    std::vector<std::jthread> workers;
    try {
        for (std::size_t t = 0; t < threads; ++t)
            workers.emplace_back(work);
    } catch (const std::system_error&) {
    }
    prepareGrid();
    if (workers.empty())
        work();
    for (std::size_t k = 0; k < count; ++k) {
        std::unique_lock lock(mutex);
        finished.wait(lock, [&] { return done[k].has_value(); });
        const std::string messages = std::move(*done[k]);
        lock.unlock();
        loadProgress().print(messages, 1);
    }
}

// The grid is allocated while the first files are read. An area of more
// sheets than any machine could hold is left to allocategrid's refusal at
// once, before its list of sheets is made.
class GridAllocation {
  public:
    GridAllocation(int rows, int cols, std::function<void()> allocate) : allocate_(std::move(allocate))
    {
        constexpr std::int64_t manySheets = 1 << 16;
        if (std::int64_t{rows} * cols > manySheets) {
            allocate_();
            allocate_ = [] {};
        }
    }
    const std::function<void()>& meanwhile() const { return allocate_; }

  private:
    std::function<void()> allocate_;
};

// Tries the files of one place in order until one reads, and gives it to
// `take`; returns the messages.
std::string readPlace(const std::vector<FgdFile>& files, const char* tag, FgdArchiveReader& archives,
                      const std::function<void(const FgdMesh&)>& take)
{
    std::string messages;
    for (const FgdFile& file : files) {
        const std::string shown = file.source.shownName();
        messages += "Reading " + shown + " ...\n";
        std::string error;
        if (const std::optional<FgdMesh> mesh = readFgdFile(archives, file, error)) {
            take(*mesh);
            break;
        }
        messages += std::string("*** ") + tag + " : " + shown + " skipped: " + error + ".\n";
    }
    return messages;
}

struct Area {
    MeshCode northWest;
    std::vector<Sheet> sheets;
    std::set<MeshCode> sheetCodes;
};

Area makeArea(const MeshCode& northWest, int rows, int cols)
{
    Area area{northWest, sheetsOf(northWest, rows, cols), {}};
    for (const Sheet& sheet : area.sheets)
        area.sheetCodes.insert(sheet.code);
    return area;
}

std::map<FgdPlace, std::vector<FgdFile>> findPlaces(const std::string& dir, const Area& area, bool tenOnly,
                                                    const char* tag)
{
    std::vector<std::string> problems;
    std::vector<FgdFile> files = findFgdFiles(
        dir,
        [&](const FgdName& name) {
            return (!tenOnly || name.resolution == FgdResolution::metres10) &&
                   area.sheetCodes.contains(sheetOf(name.code));
        },
        problems);
    for (const std::string& problem : problems)
        loadProgress().print(std::string("*** ") + tag + " : " + problem + ".\n");
    return filesByPlace(std::move(files));
}

// The 10 m points of the area, behind the 5 m fill.
struct TenMetreArea {
    int rows;
    int cols;
    std::vector<float> values;
    std::vector<Surface> surfaces;
};

// Fills the 5 m voids of the area from the 10 m files: bilinear between the
// four 10 m points around each 5 m point, over those with a value; sea where
// the nearest of them is sea; still a void where the nearest has no value.
// A 5 m point (R, C) lies at 10 m point (R / 2 - 1/4, C / 2 - 1/4); beyond
// the area's edge the edge points stand in.
int fillFromTenMetres(ElevationGrid& grid, const Area& area, int rows, int cols,
                      const std::map<FgdPlace, std::vector<FgdFile>>& places)
{
    const FgdMeshShape ten = fgdMeshShape(FgdResolution::metres10);
    const int sheetRows = 2 * ten.rows, sheetCols = 2 * ten.cols;
    std::vector<char> hasVoid(area.sheets.size());
    for (std::size_t k = 0; k < area.sheets.size(); ++k) {
        const Sheet& sheet = area.sheets[k];
        for (int r = 0; r < sheetRows && !hasVoid[k]; ++r) {
            const GridPoint* row = grid.gridRowTable[sheet.row * sheetRows + r] + sheet.col * sheetCols;
            hasVoid[k] = std::any_of(row, row + sheetCols,
                                     [](const GridPoint& p) { return p.sampleState != SampleState::valid; });
        }
    }
    // A sheet's 10 m points are needed for its own voids and for those of
    // its neighbours near their common edge. The sheets lie row by row.
    const auto voidAt = [&](int row, int col) {
        return row >= 0 && row < rows && col >= 0 && col < cols &&
               hasVoid[static_cast<std::size_t>(row) * cols + col];
    };
    std::vector<const Sheet*> needed;
    for (const Sheet& sheet : area.sheets) {
        bool near = false;
        for (int dr = -1; dr <= 1; ++dr)
            for (int dc = -1; dc <= 1; ++dc)
                near = near || voidAt(sheet.row + dr, sheet.col + dc);
        if (near && places.contains({FgdResolution::metres10, sheet.code}))
            needed.push_back(&sheet);
    }
    if (needed.empty())
        return 0;

    TenMetreArea coarse{ten.rows * rows, ten.cols * cols, {}, {}};
    const std::size_t coarseCount = static_cast<std::size_t>(coarse.rows) * coarse.cols;
    coarse.values.assign(coarseCount, 0.0f);
    coarse.surfaces.assign(coarseCount, Surface::none);
    std::atomic<int> read{0};
    const auto task = [&](std::size_t k, FgdArchiveReader& archives, GridReady&) {
        const Sheet& sheet = *needed[k];
        return readPlace(
            places.at({FgdResolution::metres10, sheet.code}), "FGD5M", archives, [&](const FgdMesh& mesh) {
                for (int y = 0; y < mesh.rows; ++y) {
                    const std::size_t from = static_cast<std::size_t>(y) * mesh.cols;
                    const std::size_t to =
                        (static_cast<std::size_t>(sheet.row) * ten.rows + y) * coarse.cols +
                        static_cast<std::size_t>(sheet.col) * ten.cols;
                    for (int x = 0; x < mesh.cols; ++x) {
                        coarse.values[to + x] = mesh.values[from + x];
                        coarse.surfaces[to + x] = surfaceOf(mesh.classes[from + x], mesh.values[from + x]);
                    }
                }
                ++read;
            });
    };
    runInOrder(needed.size(), task, [] {});

    const auto axis = [](int fine, int last, int& a, int& b, double& weightB) {
        const double position = fine / 2.0 - 0.25;
        const int low = static_cast<int>(std::floor(position));
        weightB = position - low;
        a = std::clamp(low, 0, last);
        b = std::clamp(low + 1, 0, last);
    };
    for (int r = 0; r < grid.gridRows; ++r) {
        int ra = 0, rb = 0;
        double wr = 0;
        axis(r, coarse.rows - 1, ra, rb, wr);
        GridPoint* row = grid.gridRowTable[r];
        for (int c = 0; c < grid.gridCols; ++c) {
            if (row[c].sampleState == validSample)
                continue;
            int ca = 0, cb = 0;
            double wc = 0;
            axis(c, coarse.cols - 1, ca, cb, wc);
            const std::size_t at[4] = {static_cast<std::size_t>(ra) * coarse.cols + ca,
                                       static_cast<std::size_t>(ra) * coarse.cols + cb,
                                       static_cast<std::size_t>(rb) * coarse.cols + ca,
                                       static_cast<std::size_t>(rb) * coarse.cols + cb};
            const double weight[4] = {(1 - wr) * (1 - wc), (1 - wr) * wc, wr * (1 - wc), wr * wc};
            const int nearest = static_cast<int>(std::max_element(weight, weight + 4) - weight);
            const Surface surface = coarse.surfaces[at[nearest]];
            if (surface == Surface::none)
                continue;
            double sum = 0, weights = 0;
            for (int n = 0; n < 4; ++n) {
                const Surface s = coarse.surfaces[at[n]];
                if (s == Surface::land || s == Surface::water) {
                    sum += weight[n] * coarse.values[at[n]];
                    weights += weight[n];
                }
            }
            setPoint(row[c], surface, weights > 0 ? static_cast<float>(sum / weights) : 0.0f);
        }
    }
    return read;
}

} // namespace

void loadFgd10(ElevationGrid& grid, const std::string& dir, int code, int rows, int cols)
{
    const MeshCode northWest = parseAreaCode(code, "fgd10");
    if (rows < 1 || cols < 1)
        fatalError("*** FGD10M : No DEM files.");
    const FgdMeshShape shape = fgdMeshShape(FgdResolution::metres10);
    const GridAllocation allocate(rows, cols, [&] {
        allocategrid(grid, std::int64_t{shape.rows} * rows, std::int64_t{shape.cols} * cols, fgd10Constants);
        setSheetArea(grid, northWest.pp, northWest.qq, northWest.p, northWest.q, rows, cols);
    });

    const Area area = makeArea(northWest, rows, cols);
    const auto places = findPlaces(dir, area, true, "FGD10M");
    std::atomic<int> read{0};
    const auto task = [&](std::size_t k, FgdArchiveReader& archives, GridReady& ready) {
        const Sheet& sheet = area.sheets[k];
        const auto files = places.find({FgdResolution::metres10, sheet.code});
        if (files == places.end())
            return "*** FGD10M : " + sheetStem(dir, sheet.code, "DEM10") + " not found.\n";
        return readPlace(files->second, "FGD10M", archives, [&](const FgdMesh& mesh) {
            if (!ready.wait())
                return;
            placeMesh(grid, mesh, std::int64_t{sheet.row} * shape.rows, std::int64_t{sheet.col} * shape.cols);
            ++read;
        });
    };
    runInOrder(area.sheets.size(), task, allocate.meanwhile());
    if (read == 0)
        fatalError("*** FGD10M : No DEM files.");
    finishgrid(grid, fgd10Constants);
}

void loadFgd5(ElevationGrid& grid, const std::string& dir, int code, int rows, int cols)
{
    const MeshCode northWest = parseAreaCode(code, "fgd5");
    if (rows < 1 || cols < 1)
        fatalError("*** FGD5M : No DEM files.");
    const FgdMeshShape shape = fgdMeshShape(FgdResolution::metres5);
    const int sheetRows = shape.rows * tertiaryPerSheet, sheetCols = shape.cols * tertiaryPerSheet;
    const GridAllocation allocate(rows, cols, [&] {
        allocategrid(grid, std::int64_t{sheetRows} * rows, std::int64_t{sheetCols} * cols, fgd5Constants);
        setSheetArea(grid, northWest.pp, northWest.qq, northWest.p, northWest.q, rows, cols);
    });

    const Area area = makeArea(northWest, rows, cols);
    const auto places = findPlaces(dir, area, false, "FGD5M");

    // The tertiary meshes of each sheet in the grid's order, north row first;
    // a sheet without any stands for one "not found".
    struct Mesh {
        const Sheet* sheet;
        const std::vector<FgdFile>* files; // null: the sheet has none
        int r, s;
    };
    std::vector<Mesh> meshes;
    for (const Sheet& sheet : area.sheets) {
        const std::size_t before = meshes.size();
        for (int r = tertiaryPerSheet - 1; r >= 0; --r) {
            for (int s = 0; s < tertiaryPerSheet; ++s) {
                MeshCode tertiary = sheet.code;
                tertiary.r = r, tertiary.s = s;
                if (const auto files = places.find({FgdResolution::metres5, tertiary}); files != places.end())
                    meshes.push_back({&sheet, &files->second, r, s});
            }
        }
        if (meshes.size() == before)
            meshes.push_back({&sheet, nullptr, 0, 0});
    }
    std::atomic<int> read{0};
    const auto task = [&](std::size_t k, FgdArchiveReader& archives, GridReady& ready) {
        const Mesh& mesh = meshes[k];
        if (!mesh.files)
            return "*** FGD5M : " + sheetStem(dir, mesh.sheet->code, "DEM5") + " not found.\n";
        const std::int64_t rowOrigin = std::int64_t{mesh.sheet->row} * sheetRows +
                                       std::int64_t{tertiaryPerSheet - 1 - mesh.r} * shape.rows;
        const std::int64_t colOrigin =
            std::int64_t{mesh.sheet->col} * sheetCols + std::int64_t{mesh.s} * shape.cols;
        return readPlace(*mesh.files, "FGD5M", archives, [&](const FgdMesh& points) {
            if (!ready.wait())
                return;
            placeMesh(grid, points, rowOrigin, colOrigin);
            ++read;
        });
    };
    runInOrder(meshes.size(), task, allocate.meanwhile());
    read += fillFromTenMetres(grid, area, rows, cols, places);
    if (read == 0)
        fatalError("*** FGD5M : No DEM files.");
    finishgrid(grid, fgd5Constants);
}

void readfgd10(const std::string& dir, int a, int b, int c)
{
    loadFgd10(grid, dir, a, b, c);
}

void readfgd5(const std::string& dir, int a, int b, int c)
{
    loadFgd5(grid, dir, a, b, c);
}

} // namespace orvex
