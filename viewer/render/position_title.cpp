#include "render/position_title.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "state/grid.h"
#include "state/view_state.h"

namespace orvex {

namespace {

const double pi = 4 * std::atan(1.0);

double cosDegrees(double degrees)
{
    return std::cos(degrees * pi / 180);
}

// Elevations below this are sea, as the terrain colours them.
constexpr float seaBelow = -500;

// Rows run south at one row spacing; each row's columns run east at the
// column spacing at the equator times the cosine of the row's latitude (the
// grid's finishing pass). Row 0 lies at areaNorth, column 0 at areaWest.
struct Frame {
    double northY;     // y of row 0
    double westX;      // -x of column 0 over the cosine of its row's latitude
    double rowSpacing; // metres, 0 for a grid of one row
};

Frame frameOf(const ElevationGrid& grid)
{
    const GridPoint& first = grid.gridRowTable[0][0];
    const int middle = grid.gridRows / 2;
    const GridPoint& middleWest = grid.gridRowTable[middle][0];
    const double rowSpacing =
        grid.gridRows > 1
            ? (grid.gridRowTable[grid.gridRows - 1][0].y - static_cast<double>(first.y)) / (grid.gridRows - 1)
            : 0;
    const double middleLatitude =
        grid.areaNorth - (middleWest.y - static_cast<double>(first.y)) / metresPerDegree;
    const double cosine = cosDegrees(middleLatitude);
    return {first.y, std::abs(cosine) > 1e-9 ? -middleWest.x / cosine : 0, rowSpacing};
}

// Row and column of the grid at (y, x), as real numbers.
void gridIndices(const ElevationGrid& grid, double y, double x, double& row, double& col)
{
    const Frame frame = frameOf(grid);
    row = frame.rowSpacing > 0 ? (y - frame.northY) / frame.rowSpacing : 0;
    const int nearRow = static_cast<int>(std::clamp(std::round(row), 0.0, grid.gridRows - 1.0));
    const GridPoint* points = grid.gridRowTable[nearRow];
    const double colSpacing =
        grid.gridCols > 1
            ? (points[grid.gridCols - 1].x - static_cast<double>(points[0].x)) / (grid.gridCols - 1)
            : 0;
    col = colSpacing > 0 ? (x - points[0].x) / colSpacing : 0;
}

bool isLand(const GridPoint& point)
{
    return point.sampleState == SampleState::valid && point.elevation >= seaBelow;
}

void findGround(const ElevationGrid& grid, const ViewState& view, EyePosition& position)
{
    double row = 0, col = 0;
    gridIndices(grid, view.eye[0], view.eye[1], row, col);
    const double lastRow = grid.gridRows - 1.0, lastCol = grid.gridCols - 1.0;
    constexpr double edge = 1e-6; // rounding on the outermost points
    if (!(row >= -edge && row <= lastRow + edge && col >= -edge && col <= lastCol + edge)) {
        position.ground = Ground::outside;
        return;
    }
    const GridPoint& nearest = grid.gridRowTable[static_cast<int>(std::clamp(std::round(row), 0.0, lastRow))]
                                                [static_cast<int>(std::clamp(std::round(col), 0.0, lastCol))];
    if (nearest.sampleState != SampleState::valid) {
        position.ground = Ground::noData;
        return;
    }
    if (nearest.elevation < seaBelow) {
        position.ground = Ground::sea;
        return;
    }
    position.ground = Ground::land;
    position.groundHeight = nearest.elevation;
    // Between the four points around the eye when all of them are land.
    const double r = std::clamp(row, 0.0, lastRow), c = std::clamp(col, 0.0, lastCol);
    const int r0 = std::min(static_cast<int>(r), std::max(grid.gridRows - 2, 0));
    const int c0 = std::min(static_cast<int>(c), std::max(grid.gridCols - 2, 0));
    const int r1 = std::min(r0 + 1, grid.gridRows - 1), c1 = std::min(c0 + 1, grid.gridCols - 1);
    const GridPoint* corners[4] = {&grid.gridRowTable[r0][c0], &grid.gridRowTable[r0][c1],
                                   &grid.gridRowTable[r1][c0], &grid.gridRowTable[r1][c1]};
    if (!std::all_of(corners, corners + 4, [](const GridPoint* p) { return isLand(*p); }))
        return;
    const double fr = r - r0, fc = c - c0;
    position.groundHeight = (1 - fr) * ((1 - fc) * corners[0]->elevation + fc * corners[1]->elevation) +
                            fr * ((1 - fc) * corners[2]->elevation + fc * corners[3]->elevation);
}

// Whole metres, within what a title can show.
long wholeMetres(double metres)
{
    return std::isfinite(metres) ? std::lround(std::clamp(metres, -1e9, 1e9)) : 0;
}

} // namespace

void frameToDegrees(const ElevationGrid& grid, double y, double x, double& latitude, double& longitude)
{
    const Frame frame = frameOf(grid);
    latitude = std::clamp(grid.areaNorth - (y - frame.northY) / metresPerDegree, -90.0, 90.0);
    const double cosine = cosDegrees(latitude);
    longitude =
        grid.areaWest + (std::abs(cosine) > 1e-9 ? x / cosine + frame.westX : frame.westX) / metresPerDegree;
    longitude = std::remainder(longitude, 360.0);
}

EyePosition eyePosition(const ElevationGrid& grid, const ViewState& view)
{
    EyePosition position;
    const double y = view.eye[0], x = view.eye[1];
    frameToDegrees(grid, y, x, position.latitude, position.longitude);
    position.height = view.eye[2] + (x * x + y * y) / (2 * earthRadius);
    findGround(grid, view, position);
    // Forward is (-cos a, -sin a) in (y south, x east): north cos a, east -sin a.
    const double heading = std::fmod(-view.viewAzimuth, 360.0);
    position.heading = heading < 0 ? heading + 360 : heading;
    const double defaultSpeed = view.speedFactor * view.sceneRadius;
    position.speedFactor = defaultSpeed > 0 ? view.speed / defaultSpeed : 1;
    return position;
}

std::string positionTitle(const ElevationGrid& grid, const ViewState& view)
{
    if (grid.gridRows < 1 || grid.gridCols < 1)
        return "ORVEX";
    const EyePosition p = eyePosition(grid, view);
    std::string below;
    char text[64];
    switch (p.ground) {
    case Ground::land: {
        const long above = wholeMetres(p.height - p.groundHeight);
        std::snprintf(text, sizeof text, "%ld m %s ground", std::labs(above), above < 0 ? "below" : "above");
        below = text;
        break;
    }
    case Ground::sea:
        below = "over sea";
        break;
    case Ground::noData:
        below = "over no data";
        break;
    case Ground::outside:
        below = "outside the area";
        break;
    }
    long heading = std::lround(p.heading);
    if (heading == 360)
        heading = 0;
    char title[256];
    std::snprintf(title, sizeof title, "ORVEX  %.4f %c %.4f %c  %ld m (%s)  heading %ld  speed x%g",
                  std::abs(p.latitude), p.latitude < 0 ? 'S' : 'N', std::abs(p.longitude),
                  p.longitude < 0 ? 'W' : 'E', wholeMetres(p.height), below.c_str(), heading, p.speedFactor);
    return title;
}

} // namespace orvex
