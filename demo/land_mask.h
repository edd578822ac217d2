#pragma once
// Land and sea from the coastline by the even-odd rule: a point is land when
// a ray from it going east crosses the coastline an odd number of times.
// Islands are closed rings (their pieces meet end to end), and no open piece
// of the shoreline lies east of the areas this is asked about.

#include <vector>

#include "coastline.h"

namespace demo {

class LandMask {
  public:
    explicit LandMask(const Coastline& coast);

    // Longitudes where the coastline crosses the latitude, in ascending
    // order. A segment counts when one end lies north of the latitude and
    // the other does not, so a vertex shared by two pieces counts once.
    std::vector<double> crossings(double lat) const;

    // land[k] for the samples lon(k) = west + k / colsPerDegree, k < count:
    // the crossings are computed once for the row and walked west to east.
    void classifyRow(double lat, double west, int colsPerDegree, int count, std::vector<char>& land) const;

    bool isLand(double lat, double lon) const;

  private:
    static constexpr double bandHeight = 0.05; // degrees of latitude per band

    std::vector<CoastSegment> segments_;
    double firstBandLat_ = 0;
    // Segments touching each latitude band, by index into segments_.
    std::vector<std::vector<int>> bands_;
};

} // namespace demo
