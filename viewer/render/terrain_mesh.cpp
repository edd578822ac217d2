#include "render/terrain_mesh.h"

#include <algorithm>
#include <cmath>
#include <thread>
#include <vector>

#include "state/colour_table.h"
#include "state/grid.h"
#include "state/view_state.h"

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

// Taylor coefficients of sin(x pi / 2) and cos(x pi / 2) in powers of x^2.
struct QuarterTurnSeries {
    double sine[10];
    double cosine[10];
};

constexpr QuarterTurnSeries quarterTurnSeries()
{
    const double halfPi = 1.5707963267948966;
    QuarterTurnSeries series{};
    double power = 1; // (pi / 2)^n / n!, with the sign
    for (int n = 0; n < 20; ++n) {
        if (n > 0)
            power *= halfPi / n;
        const double term = (n / 2) % 2 == 0 ? power : -power;
        if (n % 2 == 0)
            series.cosine[n / 2] = term;
        else
            series.sine[n / 2] = term;
    }
    return series;
}

constexpr QuarterTurnSeries series = quarterTurnSeries();

template <std::size_t N> double horner(const double (&coefficients)[N], double x2, std::size_t first)
{
    double sum = coefficients[N - 1];
    for (std::size_t k = N - 1; k-- > first;)
        sum = sum * x2 + coefficients[k];
    return sum;
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

// Runs work(first, end) over 0 .. count, split between the cores when there
// is enough of it (thread start-up costs more than lighting a small grid).
template <typename Work> void splitBetweenCores(std::int64_t count, std::int64_t smallestShare, Work work)
{
    const unsigned cores = std::max(1u, std::min(std::thread::hardware_concurrency(), 8u));
    const unsigned parts = count < 2 * smallestShare ? 1 : cores;
    std::vector<std::thread> helpers;
    for (unsigned part = 1; part < parts; ++part)
        helpers.emplace_back(work, count * part / parts, count * (part + 1) / parts);
    work(std::int64_t{0}, count / parts);
    for (std::thread& helper : helpers)
        helper.join();
}

} // namespace

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
    const std::int64_t smallestShare = 32768 / std::max(grid.gridCols, 1) + 1;
    splitBetweenCores(grid.gridRows, smallestShare, [](std::int64_t firstRow, std::int64_t endRow) {
        for (int row = static_cast<int>(firstRow); row < endRow; ++row) {
            for (int col = 0; col < grid.gridCols; ++col) {
                GridPoint& point = grid.gridRowTable[row][col];
                double normal[3];
                normalAt(row, col, normal);
                for (int axis = 0; axis < 3; ++axis)
                    point.normal[axis] = static_cast<float>(normal[axis]);
                // Inland water keeps its height and takes the sea colour.
                const float shown = point.inlandWater ? -9999.0f : point.elevation;
                bandColour(shown, 0, point.flatColour);
                bandColour(shown, 1, point.blendColour);
            }
        }
    });
}

double sinQuarterTurns(double d)
{
    const double a = std::abs(d);
    if (a <= 0.5)
        return d * horner(series.sine, d * d, 0);
    // Near the top the sine is 1 minus a small correction: as cos of the
    // distance from the top, the result rounds like the library's.
    const double e = 1 - a;
    const double value = 1 + e * e * horner(series.cosine, e * e, 1);
    return d < 0 ? -value : value;
}

SunLight currentSunLight()
{
    const double p = (90 - view.sunElevation) * degree;
    const double q = (180 - view.sunAzimuth) * degree;
    return {{std::sin(p) * std::cos(q), std::sin(p) * std::sin(q), std::cos(p)}, view.brightness};
}

double lightFactor(const float normal[3], const SunLight& sun)
{
    const double d =
        normal[0] * sun.direction[0] + normal[1] * sun.direction[1] + normal[2] * sun.direction[2];
    return sun.brightness * (1 + sinQuarterTurns(d)) / 2;
}

void relight()
{
    const SunLight sun = currentSunLight();
    const bool blended = view.blendColours != 0;
    GridPoint* const points = grid.points.get();
    const std::int64_t count = static_cast<std::int64_t>(grid.gridRows) * grid.gridCols;
    splitBetweenCores(count, 32768, [=](std::int64_t first, std::int64_t end) {
        for (std::int64_t i = first; i < end; ++i) {
            GridPoint& point = points[i];
            const double f = lightFactor(point.normal, sun);
            const std::uint8_t* base = blended ? point.blendColour : point.flatColour;
            for (int channel = 0; channel < 3; ++channel)
                point.shadeColour[channel] = toByte(base[channel] * f);
        }
    });
}
