#include "coast_distance.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace demo {

namespace {

struct CellRange {
    int row0, row1, col0, col1;
};

double pointToSegmentSquared(double px, double py, double ax, double ay, double bx, double by)
{
    const double dx = bx - ax;
    const double dy = by - ay;
    const double lengthSquared = dx * dx + dy * dy;
    double t = 0;
    if (lengthSquared > 0)
        t = std::clamp(((px - ax) * dx + (py - ay) * dy) / lengthSquared, 0.0, 1.0);
    const double ex = ax + t * dx - px;
    const double ey = ay + t * dy - py;
    return ex * ex + ey * ey;
}

} // namespace

CoastDistance::CoastDistance(const Coastline& coast) : segments_(coast.segments)
{
    if (segments_.empty())
        return;
    double north = segments_.front().lat1;
    double east = segments_.front().lon1;
    south_ = north;
    west_ = east;
    for (const CoastSegment& s : segments_) {
        south_ = std::min({south_, s.lat1, s.lat2});
        north = std::max({north, s.lat1, s.lat2});
        west_ = std::min({west_, s.lon1, s.lon2});
        east = std::max({east, s.lon1, s.lon2});
    }
    rows_ = static_cast<int>((north - south_) / cellSize) + 1;
    cols_ = static_cast<int>((east - west_) / cellSize) + 1;

    auto rangeOf = [this](const CoastSegment& s) {
        return CellRange{static_cast<int>((std::min(s.lat1, s.lat2) - south_) / cellSize),
                         static_cast<int>((std::max(s.lat1, s.lat2) - south_) / cellSize),
                         static_cast<int>((std::min(s.lon1, s.lon2) - west_) / cellSize),
                         static_cast<int>((std::max(s.lon1, s.lon2) - west_) / cellSize)};
    };
    // Two passes: count per cell, then place (a compact table instead of a
    // vector per cell).
    cellStart_.assign(static_cast<std::size_t>(rows_) * cols_ + 1, 0);
    for (const CoastSegment& s : segments_) {
        const CellRange r = rangeOf(s);
        for (int row = r.row0; row <= r.row1; ++row)
            for (int col = r.col0; col <= r.col1; ++col)
                ++cellStart_[static_cast<std::size_t>(row) * cols_ + col + 1];
    }
    for (std::size_t i = 1; i < cellStart_.size(); ++i)
        cellStart_[i] += cellStart_[i - 1];
    cellSegments_.resize(static_cast<std::size_t>(cellStart_.back()));
    std::vector<int> fill(cellStart_.begin(), cellStart_.end() - 1);
    for (std::size_t i = 0; i < segments_.size(); ++i) {
        const CellRange r = rangeOf(segments_[i]);
        for (int row = r.row0; row <= r.row1; ++row)
            for (int col = r.col0; col <= r.col1; ++col)
                cellSegments_[static_cast<std::size_t>(fill[static_cast<std::size_t>(row) * cols_ + col]++)] =
                    static_cast<int>(i);
    }
}

double CoastDistance::distanceKm(double lat, double lon, double limitKm) const
{
    if (segments_.empty())
        return limitKm;
    const double kmPerLon = kmPerDegree * std::cos(lat * std::numbers::pi / 180);
    const double reachLat = limitKm / kmPerDegree;
    const double reachLon = limitKm / kmPerLon;
    const int row0 = std::max(0, static_cast<int>(std::floor((lat - reachLat - south_) / cellSize)));
    const int row1 = std::min(rows_ - 1, static_cast<int>(std::floor((lat + reachLat - south_) / cellSize)));
    const int col0 = std::max(0, static_cast<int>(std::floor((lon - reachLon - west_) / cellSize)));
    const int col1 = std::min(cols_ - 1, static_cast<int>(std::floor((lon + reachLon - west_) / cellSize)));

    double best = limitKm * limitKm;
    for (int row = row0; row <= row1; ++row) {
        for (int col = col0; col <= col1; ++col) {
            const std::size_t cell = static_cast<std::size_t>(row) * cols_ + col;
            for (int k = cellStart_[cell]; k < cellStart_[cell + 1]; ++k) {
                const CoastSegment& s =
                    segments_[static_cast<std::size_t>(cellSegments_[static_cast<std::size_t>(k)])];
                // Local frame in km around the query point.
                const double d =
                    pointToSegmentSquared(0, 0, (s.lon1 - lon) * kmPerLon, (s.lat1 - lat) * kmPerDegree,
                                          (s.lon2 - lon) * kmPerLon, (s.lat2 - lat) * kmPerDegree);
                best = std::min(best, d);
            }
        }
    }
    return std::sqrt(best);
}

} // namespace demo
