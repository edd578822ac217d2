#include "render/terrain_mesh.h"

#include <algorithm>
#include <cmath>
#include <thread>
#include <vector>

#include "data/colour_table.h"
#include "data/grid.h"
#include "startup/view_state.h"

namespace {

const double degree = std::atan(1.0) * 4 / 180;

// Clamped to 0 .. 255 and truncated towards zero; not-a-number gives 0.
std::uint8_t toByte(double value)
{
    if (!(value > 0))
        return 0;
    if (value >= 255)
        return 255;
    return static_cast<std::uint8_t>(value);
}

struct Band {
    int index;
    double fraction;
};

Band bandOf(double e)
{
    static constexpr double edges[] = {0, 500, 1000, 1500, 2000, 3000, 4000, 5000, 6000, 7000, 8000};
    if (e > 8000)
        return {10, 0};
    int b = 0;
    while (b < 9 && e > edges[b + 1])
        ++b;
    return {b, (e - edges[b]) / (edges[b + 1] - edges[b])};
}

void normalAt(int row, int col, double out[3])
{
    const auto position = [](int r, int c, double p[3]) {
        r = std::clamp(r, 0, grid.gridRows - 1);
        c = std::clamp(c, 0, grid.gridCols - 1);
        const GridPoint& point = grid.gridRowTable[r][c];
        p[0] = point.y;
        p[1] = point.x;
        p[2] = point.z;
    };
    double south[3], east[3], north[3], west[3];
    position(row + 1, col, south);
    position(row, col + 1, east);
    position(row - 1, col, north);
    position(row, col - 1, west);
    gridNormal(south, east, north, west, out);
}

// Runs work(firstPoint, endPoint) over all grid points, split between the cores.
template <typename Work>
void forAllPoints(Work work)
{
    const std::int64_t count = static_cast<std::int64_t>(grid.gridRows) * grid.gridCols;
    const unsigned cores = std::max(1u, std::min(std::thread::hardware_concurrency(), 8u));
    // Thread start-up costs more than lighting a small grid.
    const unsigned parts = count < 65536 ? 1 : cores;
    std::vector<std::thread> helpers;
    for (unsigned part = 1; part < parts; ++part)
        helpers.emplace_back(work, count * part / parts, count * (part + 1) / parts);
    work(std::int64_t{0}, count / parts);
    for (std::thread& helper : helpers)
        helper.join();
}

}  // namespace

void gridNormal(const double south[3], const double east[3], const double north[3], const double west[3],
                double normal[3])
{
    const double u[3] = {north[0] - south[0], north[1] - south[1], north[2] - south[2]};
    const double v[3] = {west[0] - east[0], west[1] - east[1], west[2] - east[2]};
    const double n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (!(length > 0) || !std::isfinite(length)) {
        normal[0] = 0;
        normal[1] = 0;
        normal[2] = 1;
        return;
    }
    for (int axis = 0; axis < 3; ++axis)
        normal[axis] = n[axis] / length;
}

void bandColour(float elevation, int blend, std::uint8_t rgb[3])
{
    const double e = elevation;
    if (e < -500) {
        const Rgb sea = colourEntry(colours.colourCount - 2);
        rgb[0] = toByte(sea.red);
        rgb[1] = toByte(sea.green);
        rgb[2] = toByte(sea.blue);
        return;
    }
    Band band = bandOf(e);
    if (blend == 0)
        band.fraction = 0;
    const Rgb low = colourEntry(band.index);
    const Rgb high = colourEntry(band.index + 1);
    const double t = band.fraction;
    rgb[0] = toByte((1 - t) * low.red + t * high.red);
    rgb[1] = toByte((1 - t) * low.green + t * high.green);
    rgb[2] = toByte((1 - t) * low.blue + t * high.blue);
}

void computeMeshAttributes()
{
    for (int row = 0; row < grid.gridRows; ++row) {
        for (int col = 0; col < grid.gridCols; ++col) {
            GridPoint& point = grid.gridRowTable[row][col];
            double normal[3];
            normalAt(row, col, normal);
            for (int axis = 0; axis < 3; ++axis)
                point.normal[axis] = static_cast<float>(normal[axis]);
            bandColour(point.elevation, 0, point.flatColour);
            bandColour(point.elevation, 1, point.blendColour);
        }
    }
}

SunLight currentSunLight()
{
    const double p = (90 - view.sunElevation) * degree;
    const double q = (180 - view.sunAzimuth) * degree;
    return {{std::sin(p) * std::cos(q), std::sin(p) * std::sin(q), std::cos(p)}, view.brightness};
}

double lightFactor(const float normal[3], const SunLight& sun)
{
    const double d = normal[0] * sun.direction[0] + normal[1] * sun.direction[1] + normal[2] * sun.direction[2];
    return sun.brightness * (1 + std::sin(d * 90 * degree)) / 2;
}

void relight()
{
    const SunLight sun = currentSunLight();
    const bool blended = view.blendColours != 0;
    GridPoint* const points = grid.points.get();
    forAllPoints([=](std::int64_t first, std::int64_t end) {
        for (std::int64_t i = first; i < end; ++i) {
            GridPoint& point = points[i];
            const double f = lightFactor(point.normal, sun);
            const std::uint8_t* base = blended ? point.blendColour : point.flatColour;
            for (int channel = 0; channel < 3; ++channel)
                point.shadeColour[channel] = toByte(base[channel] * f);
        }
    });
}
