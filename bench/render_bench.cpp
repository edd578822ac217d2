// Rendering benchmarks on an 1801 x 1801 grid (an SRTM3 area of 3 x 3 blocks):
// relighting, one frame in the home view and one in a low flight by the fast
// and by the literal terrain path, the same views while moving (level of
// detail), and start-up to the first frame; then moving frames on a
// 5401 x 5401 grid.
// Prints "BENCH <name> <value> <unit>" lines.

#include <GL/freeglut.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/init_view.h"
#include "app/viewer_window_gl.h"
#include "render/flight_controls.h"
#include "render/frame_gl.h"
#include "render/terrain_mesh.h"
#include "state/colour_table.h"
#include "state/grid.h"
#include "state/view_state.h"

using namespace orvex;

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(const char* name, double value, const char* unit)
{
    std::printf("BENCH %s %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

// Ridges and valleys up to about 3000 m with a few peaks: every band of the
// colour table appears. Each term splits into a row and a column factor, so
// that even a grid of 29 million points is made in moments.
void makeSyntheticArea(int size)
{
    allocategrid(size, size, srtm3Constants);
    grid.areaNorth = 36.0;
    grid.areaSouth = 36.0 - (size - 1) / 1200.0;
    grid.areaWest = 138.0;
    grid.areaEast = 138.0 + (size - 1) / 1200.0;
    grid.labelLift = 500;
    std::vector<double> ridgeRow(size), ridgeCol(size), waveSinRow(size), waveCosRow(size), waveSinCol(size),
        waveCosCol(size), peakRow(size), peakCol(size);
    for (int n = 0; n < size; ++n) {
        ridgeRow[n] = std::sin(n / 60.0), ridgeCol[n] = std::cos(n / 85.0);
        waveSinRow[n] = std::sin(n / 9.0), waveCosRow[n] = std::cos(n / 9.0);
        waveSinCol[n] = std::sin(n / 13.0), waveCosCol[n] = std::cos(n / 13.0);
        peakRow[n] = std::exp(-std::pow((n - 700) / 180.0, 2));
        peakCol[n] = std::exp(-std::pow((n - 1100) / 220.0, 2));
    }
    const double tilt = 540.0 / (size - 1); // 540 m from corner to corner, as on 1801 x 1801
    for (int r = 0; r < size; ++r) {
        GridPoint* row = grid.gridRowTable[r];
        for (int c = 0; c < size; ++c) {
            const double ridges = 700 * (1 + ridgeRow[r] * ridgeCol[c]);
            const double waves = 150 * (waveSinRow[r] * waveCosCol[c] + waveCosRow[r] * waveSinCol[c]);
            const double peak = 1600 * peakRow[r] * peakCol[c];
            row[c].elevation = static_cast<float>(ridges + waves + peak + tilt * (r - c));
            row[c].sampleState = SampleState::valid;
        }
    }
    finishgrid(srtm3Constants);
}

void useDefaultColours()
{
    static constexpr int defaults[9][3] = {{0, 250, 0},     {120, 250, 140}, {120, 190, 140},
                                           {160, 190, 120}, {150, 190, 180}, {200, 190, 200},
                                           {230, 230, 230}, {0, 0, 255},     {200, 200, 255}};
    for (int i = 0; i < 9; ++i)
        for (int channel = 0; channel < 3; ++channel)
            colours.colourTable[i][channel] = defaults[i][channel];
    colours.colourCount = 9;
}

Clock::time_point benchStart;
bool firstFrameShown = false;
double firstFrameMs = 0;

void displayAndMark()
{
    onDisplay();
    glFinish();
    if (!firstFrameShown) {
        firstFrameMs = millisecondsSince(benchStart);
        firstFrameShown = true;
    }
}

// Processor time of the whole process, Mesa's rasterizer threads included:
// steadier than the wall clock on a machine shared with other work.
double processorMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

struct FrameTime {
    double wall;
    double processor;
};

FrameTime timedFrame(TerrainPath path)
{
    windowFrameDrawer().setTerrainPath(path);
    const Clock::time_point start = Clock::now();
    const double processorStart = processorMilliseconds();
    drawFrame();
    glFinish();
    const FrameTime time{millisecondsSince(start), processorMilliseconds() - processorStart};
    windowFrameDrawer().setTerrainPath(TerrainPath::fast);
    return time;
}

// One frame per camera step, as when the user holds a turning key: the camera
// swings between two headings so that nothing is reused between frames. The
// two paths take turns on the same views, so that a busy machine slows both.
void compareFrames(const char* name, int frames)
{
    std::vector<double> fast, literal, fastProcessor, literalProcessor;
    long long fastCells = 0, literalCells = 0;
    for (int n = 0; n <= frames; ++n) {
        applyKey(view, grid, n % 2 == 0 ? keyLeft : keyRight, false);
        const FrameTime fastTime = timedFrame(TerrainPath::fast);
        fastCells = windowFrameDrawer().lastDrawnCellCount();
        const FrameTime literalTime = timedFrame(TerrainPath::literal);
        literalCells = windowFrameDrawer().lastDrawnCellCount();
        if (n == 0)
            continue; // the first round warms up
        fast.push_back(fastTime.wall);
        literal.push_back(literalTime.wall);
        fastProcessor.push_back(fastTime.processor);
        literalProcessor.push_back(literalTime.processor);
    }
    const std::string base = std::string("frame_") + name;
    report((base + "_fast").c_str(), median(fast), "ms");
    report((std::string("frame_full_") + name).c_str(), median(fast), "ms");
    report((base + "_literal").c_str(), median(literal), "ms");
    report((base + "_fast_to_literal").c_str(), median(fast) / median(literal), "ratio");
    report((base + "_fast_cpu").c_str(), median(fastProcessor), "ms");
    report((base + "_literal_cpu").c_str(), median(literalProcessor), "ms");
    report((base + "_fast_to_literal_cpu").c_str(), median(fastProcessor) / median(literalProcessor),
           "ratio");
    report((base + "_fast_cells").c_str(), static_cast<double>(fastCells), "cells");
    report((base + "_literal_cells").c_str(), static_cast<double>(literalCells), "cells");
}

// The same camera steps drawn as moving frames (level of detail).
void movingFrames(const std::string& name, int frames)
{
    windowFrameDrawer().setMoving(true);
    std::vector<double> wall, processor;
    for (int n = 0; n <= frames; ++n) {
        applyKey(view, grid, n % 2 == 0 ? keyLeft : keyRight, false);
        const FrameTime time = timedFrame(TerrainPath::fast);
        if (n == 0)
            continue; // the first round warms up and measures the levels
        wall.push_back(time.wall);
        processor.push_back(time.processor);
    }
    const MovingMesh& mesh = windowFrameDrawer().movingTerrain().lastMesh();
    report(("frame_moving_" + name).c_str(), median(wall), "ms");
    report(("frame_moving_" + name + "_cpu").c_str(), median(processor), "ms");
    report(("frame_moving_" + name + "_cells").c_str(), static_cast<double>(mesh.cells), "cells");
    report(("frame_moving_" + name + "_triangles").c_str(), static_cast<double>(mesh.indices.size() / 3),
           "triangles");
    windowFrameDrawer().setMoving(false);
}

void reportDetailMemory(const std::string& name)
{
    const double gridBytes = static_cast<double>(grid.gridRows) * grid.gridCols * sizeof(GridPoint);
    const double extra = static_cast<double>(windowFrameDrawer().movingTerrain().memoryBytes());
    report(("lod_extra_memory" + name).c_str(), extra / (1 << 20), "MiB");
    report(("lod_extra_memory" + name + "_of_grid").c_str(), 100 * extra / gridBytes, "percent");
}

void lowFlight()
{
    resetView(view.homePolar, view.homeAzimuth);
    // Over the middle of the area, 3.5 km up, looking north along the horizon.
    view.eye[0] = view.sceneCentre[0];
    view.eye[2] = 3500;
    view.viewPolar = 90;
    applyKey(view, grid, keyLeft, false);
    applyKey(view, grid, keyRight, false);
}

} // namespace

int main(int argc, char** argv)
{
    // A working directory of our own: no orvex.env from elsewhere.
    std::string scratch = (std::filesystem::temp_directory_path() / "orvex-bench-XXXXXX").string();
    if (!mkdtemp(scratch.data()) || chdir(scratch.c_str()) != 0)
        return 1;

    makeSyntheticArea(1801);
    useDefaultColours();
    benchStart = Clock::now();
    initView();
    prepareViewerWindow(&argc, argv);
    glutDisplayFunc(displayAndMark);
    for (int i = 0; i < 1000 && !firstFrameShown; ++i)
        glutMainLoopEvent();
    report("startup_after_load_to_first_frame", firstFrameMs, "ms");

    std::vector<double> relights;
    for (int n = 0; n < 9; ++n) {
        view.sunAzimuth = 200 + n;
        const Clock::time_point start = Clock::now();
        relight();
        relights.push_back(millisecondsSince(start));
    }
    report("relight_1801x1801", median(relights), "ms");

    resetView(view.homePolar, view.homeAzimuth);
    compareFrames("home", 5);
    resetView(view.homePolar, view.homeAzimuth);
    movingFrames("home", 9);
    lowFlight();
    compareFrames("low_flight", 5);
    lowFlight();
    movingFrames("low_flight", 9);
    reportDetailMemory("");

    // A grid of 5401 x 5401 points (an area of 9 x 9 SRTM3 blocks).
    Clock::time_point start = Clock::now();
    makeSyntheticArea(5401);
    initView();
    relight();
    windowFrameDrawer().forgetMeasuredTerrain();
    report("grid_5401_made", millisecondsSince(start), "ms");
    resetView(view.homePolar, view.homeAzimuth);
    windowFrameDrawer().setMoving(true);
    start = Clock::now();
    drawFrame();
    glFinish();
    report("frame_moving_first_5401_measuring", millisecondsSince(start), "ms");
    movingFrames("home_5401", 9);
    lowFlight();
    movingFrames("low_flight_5401", 9);
    reportDetailMemory("_5401");

    std::filesystem::remove_all(scratch);
    return 0;
}
