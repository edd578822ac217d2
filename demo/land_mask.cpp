#include "land_mask.h"

#include <algorithm>
#include <cmath>

namespace demo {

LandMask::LandMask(const Coastline& coast) : segments_(coast.segments)
{
    if (segments_.empty())
        return;
    double south = segments_.front().lat1;
    double north = south;
    for (const CoastSegment& s : segments_) {
        south = std::min({south, s.lat1, s.lat2});
        north = std::max({north, s.lat1, s.lat2});
    }
    firstBandLat_ = std::floor(south / bandHeight) * bandHeight;
    const auto bandCount = static_cast<std::size_t>((north - firstBandLat_) / bandHeight) + 1;
    bands_.resize(bandCount);
    for (std::size_t i = 0; i < segments_.size(); ++i) {
        const CoastSegment& s = segments_[i];
        const auto low = static_cast<std::size_t>((std::min(s.lat1, s.lat2) - firstBandLat_) / bandHeight);
        const auto high = static_cast<std::size_t>((std::max(s.lat1, s.lat2) - firstBandLat_) / bandHeight);
        for (std::size_t b = low; b <= high && b < bandCount; ++b)
            bands_[b].push_back(static_cast<int>(i));
    }
}

std::vector<double> LandMask::crossings(double lat) const
{
    std::vector<double> xs;
    if (bands_.empty() || lat < firstBandLat_)
        return xs;
    const auto band = static_cast<std::size_t>((lat - firstBandLat_) / bandHeight);
    if (band >= bands_.size())
        return xs;
    for (int i : bands_[band]) {
        const CoastSegment& s = segments_[static_cast<std::size_t>(i)];
        if ((s.lat1 > lat) == (s.lat2 > lat))
            continue;
        const double t = (lat - s.lat1) / (s.lat2 - s.lat1);
        xs.push_back(s.lon1 + t * (s.lon2 - s.lon1));
    }
    std::sort(xs.begin(), xs.end());
    return xs;
}

void LandMask::classifyRow(double lat, double west, int colsPerDegree, int count,
                           std::vector<char>& land) const
{
    const std::vector<double> xs = crossings(lat);
    land.assign(static_cast<std::size_t>(std::max(count, 0)), 0);
    std::size_t westOf = 0; // crossings at or west of the sample
    for (int k = 0; k < count; ++k) {
        const double lon = west + static_cast<double>(k) / colsPerDegree;
        while (westOf < xs.size() && xs[westOf] <= lon)
            ++westOf;
        land[static_cast<std::size_t>(k)] = (xs.size() - westOf) % 2 == 1;
    }
}

bool LandMask::isLand(double lat, double lon) const
{
    const std::vector<double> xs = crossings(lat);
    const auto eastOf = xs.end() - std::upper_bound(xs.begin(), xs.end(), lon);
    return eastOf % 2 == 1;
}

} // namespace demo
