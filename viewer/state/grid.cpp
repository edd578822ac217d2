#include "state/grid.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <new>
#include <sys/mman.h>
#include <system_error>
#include <thread>
#include <unistd.h>

#include "state/fatal_error.h"

namespace orvex {

ElevationGrid grid;

namespace {
constexpr std::int64_t parallelFillPoints = 1 << 20;

constexpr DataSetConstants makeConstants(double rowsPerDegree, double colsPerDegree, float initialElevation,
                                         SampleState initialState, double seaTest, double seaLift)
{
    return {1.0 / rowsPerDegree,
            1.0 / colsPerDegree,
            metresPerDegree / rowsPerDegree,
            metresPerDegree / colsPerDegree,
            initialElevation,
            initialState,
            seaTest,
            seaLift};
}

// Large pages for a large grid where the system gives them on request: far
// fewer page faults when the grid is first touched. Only a hint.
void askForLargePages(void* start, std::size_t bytes)
{
    const auto pageSize = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto from = (reinterpret_cast<std::uintptr_t>(start) + pageSize - 1) / pageSize * pageSize;
    const auto to = reinterpret_cast<std::uintptr_t>(start) + bytes;
    if (bytes >= (std::size_t{8} << 20) && to > from)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}

std::int64_t physicalMemoryBytes()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(pages) * pageSize;
}

[[noreturn]] void areaTooLarge()
{
    fatalError("*** ERROR : the area is too large for this machine's memory.");
}
} // namespace

// The sea lift brings each data set's own sea elevation up to 0 m.
const DataSetConstants gsi50Constants =
    makeConstants(2400, 1600, noSheetElevation, SampleState::valid, -100, -noSheetElevation);
const DataSetConstants gsi250Constants =
    makeConstants(480, 320, noSheetElevation, SampleState::valid, -500, -noSheetElevation);
const DataSetConstants srtm30Constants =
    makeConstants(120, 120, 0.0f, SampleState::valid, -500, -seaElevation);
const DataSetConstants srtm3Constants =
    makeConstants(1200, 1200, 0.0f, SampleState::noTile, -500, -seaElevation);

std::int64_t maxGridPoints()
{
    return physicalMemoryBytes() / static_cast<std::int64_t>(sizeof(GridPoint));
}

void allocategrid(ElevationGrid& grid, std::int64_t rows, std::int64_t cols, const DataSetConstants& set)
{
    constexpr std::int64_t int32Max = std::numeric_limits<std::int32_t>::max();
    if (rows < 1 || cols < 1 || rows > int32Max || cols > int32Max)
        areaTooLarge();
    if (rows > maxGridPoints() / cols)
        areaTooLarge();
    const std::int64_t count = rows * cols;

    // Allocation only: the fill below touches every point exactly once.
    std::unique_ptr<GridPoint[]> block(new (std::nothrow) GridPoint[static_cast<std::size_t>(count)]);
    if (!block)
        areaTooLarge();
    askForLargePages(block.get(), static_cast<std::size_t>(count) * sizeof(GridPoint));
    std::vector<GridPoint*> rowTable;
    try {
        rowTable.resize(static_cast<std::size_t>(rows));
    } catch (const std::bad_alloc&) {
        areaTooLarge();
    }

    GridPoint initial{};
    initial.elevation = set.initialElevation;
    initial.sampleState = set.initialState;
    // A large grid is first touched by two threads at once: the page faults
    // of the fresh memory are most of what its allocation costs.
    const auto fill = [&block, &initial](std::int64_t from, std::int64_t to) {
        for (std::int64_t i = from; i < to; ++i)
            block[i] = initial;
    };
    std::thread half;
    if (count >= parallelFillPoints) {
        try {
            half = std::thread(fill, count / 2, count);
        } catch (const std::system_error&) {
            // no second thread: one does it all
        }
    }
    fill(0, half.joinable() ? count / 2 : count);
    if (half.joinable())
        half.join();
    for (std::int64_t r = 0; r < rows; ++r)
        rowTable[r] = block.get() + r * cols;

    grid.gridRows = static_cast<std::int32_t>(rows);
    grid.gridCols = static_cast<std::int32_t>(cols);
    grid.points = std::move(block);
    grid.gridRowTable = std::move(rowTable);
}

void finishgrid(ElevationGrid& grid, const DataSetConstants& set)
{
    const double pi = 4.0 * std::atan(1.0);
    const double centreRow = (grid.gridRows - 1) / 2.0;
    const double centreCol = (grid.gridCols - 1) / 2.0;
    for (std::int32_t r = 0; r < grid.gridRows; ++r) {
        const double latitude = grid.areaNorth - r * set.rowStep;
        const double colSpacing = set.colSpacing * std::cos(latitude * pi / 180.0);
        const float y = static_cast<float>((r - centreRow) * set.rowSpacing);
        GridPoint* row = grid.gridRowTable[r];
        for (std::int32_t c = 0; c < grid.gridCols; ++c) {
            GridPoint& p = row[c];
            p.y = y;
            p.x = static_cast<float>((c - centreCol) * colSpacing);
            double z = p.elevation - (double(p.x) * p.x + double(p.y) * p.y) / (2.0 * earthRadius);
            if (p.elevation < set.seaTest)
                z += set.seaLift;
            p.z = static_cast<float>(z);
        }
    }
}

void allocategrid(std::int64_t rows, std::int64_t cols, const DataSetConstants& set)
{
    allocategrid(grid, rows, cols, set);
}

void finishgrid(const DataSetConstants& set)
{
    finishgrid(grid, set);
}

} // namespace orvex
