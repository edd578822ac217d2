#pragma once
// Distance from a point to the nearest coastline segment, for the coastal
// plain. Segments are filed in square cells so that a query looks only at
// the cells within its search limit.

#include <vector>

#include "coastline.h"

namespace demo {

class CoastDistance {
  public:
    explicit CoastDistance(const Coastline& coast);

    // Kilometres from (lat, lon) to the nearest segment, or limitKm when none
    // lies closer. Distances are measured in a local flat frame, degrees of
    // longitude shrunk by the cosine of the latitude.
    double distanceKm(double lat, double lon, double limitKm) const;

  private:
    static constexpr double cellSize = 0.05; // degrees, both ways

    std::vector<CoastSegment> segments_;
    double south_ = 0;
    double west_ = 0;
    int rows_ = 0;
    int cols_ = 0;
    // Segments of cell (r, c) are cellSegments_[cellStart_[i] .. cellStart_[i + 1])
    // with i = r * cols_ + c.
    std::vector<int> cellStart_;
    std::vector<int> cellSegments_;
};

constexpr double kmPerDegree = 40000.0 / 360.0;

} // namespace demo
