#include "relief.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "noise.h"

namespace demo {

namespace {

// A flat frame in kilometres around 35.5 N 138.5 E. One fixed scale for
// longitude keeps every data set on the same function.
constexpr double frameLat = 35.5;
constexpr double frameLon = 138.5;
constexpr double kmPerDegLat = 40000.0 / 360.0;
const double kmPerDegLon = kmPerDegLat * std::cos(frameLat * std::numbers::pi / 180);

struct Km {
    double x; // east
    double y; // north
};

Km toKm(double lat, double lon)
{
    return {(lon - frameLon) * kmPerDegLon, (lat - frameLat) * kmPerDegLat};
}

double smoothstep(double edge0, double edge1, double v)
{
    const double t = std::clamp((v - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// An elliptical bump over a real place: the weight is exp(-u^2), u the
// distance in units of the half-axes.
struct Bump {
    double lat, lon;
    double radiusNorthKm, radiusEastKm;
    double value;

    double at(Km p) const
    {
        const Km c = toKm(lat, lon);
        const double u = (p.y - c.y) / radiusNorthKm;
        const double v = (p.x - c.x) / radiusEastKm;
        const double uu = u * u + v * v;
        return uu > 16 ? 0.0 : value * std::exp(-uu);
    }
};

// Peak heights of the ranges (the ridged noise seldom reaches its envelope).
constexpr std::array mountainRanges = {
    Bump{35.47, 139.14, 6, 14, 2300},  // Tanzawa
    Bump{35.56, 138.72, 5, 16, 1700},  // Misaka mountains, north of Fuji
    Bump{35.55, 138.20, 32, 10, 3600}, // Akaishi (Southern Alps)
    Bump{35.88, 138.85, 12, 26, 2500}, // Okuchichibu
    Bump{35.97, 138.37, 9, 5, 2700},   // Yatsugatake
    Bump{35.78, 139.08, 10, 14, 1700}, // Okutama
    Bump{35.23, 138.80, 4, 4, 1500},   // Ashitaka
    Bump{35.23, 139.03, 7, 6, 400},    // Hakone somma, rough ground on the rim
    Bump{34.86, 138.95, 8, 10, 1500},  // Amagi
    Bump{35.03, 138.88, 9, 5, 1000},   // Daruma, north-west Izu
    Bump{35.15, 140.02, 14, 22, 380},  // Boso hills
    Bump{35.75, 137.82, 25, 6, 3100},  // Kiso (Central Alps)
    Bump{36.45, 137.65, 45, 10, 3300}, // Hida (Northern Alps)
    Bump{36.20, 137.20, 40, 30, 1500}, // Hida highlands
    Bump{36.15, 136.77, 15, 12, 2500}, // Hakusan
    Bump{35.60, 136.50, 25, 25, 1200}, // Mino and Ibuki
    Bump{35.05, 136.40, 25, 6, 1100},  // Suzuka
    Bump{34.10, 135.90, 40, 30, 1900}, // Kii mountains
    Bump{35.30, 135.60, 25, 30, 900},  // Tamba
    Bump{37.60, 139.80, 60, 25, 2000}, // Ou and Echigo ranges
    Bump{36.80, 139.40, 30, 30, 2200}, // Oze and Nikko
    Bump{36.40, 138.55, 15, 15, 2400}, // Asama and Joshin-etsu
};

// Plains flatten the ranges and hills by the bump's value (0 to 1).
constexpr std::array plains = {
    Bump{35.85, 139.70, 45, 45, 0.92}, // Kanto
    Bump{35.40, 139.38, 8, 6, 0.85},   // Sagami
    Bump{35.30, 139.15, 4, 3, 0.80},   // Ashigara
    Bump{35.23, 139.03, 4, 4, 0.85},   // Hakone caldera floor
    Bump{35.63, 138.57, 7, 9, 0.85},   // Kofu basin
    Bump{35.15, 138.65, 5, 6, 0.80},   // Fuji river mouth
    Bump{34.97, 138.40, 5, 6, 0.80},   // Shizuoka
    Bump{34.75, 137.80, 12, 18, 0.85}, // Enshu
    Bump{35.20, 136.75, 25, 20, 0.92}, // Nobi
    Bump{34.70, 135.50, 15, 12, 0.90}, // Osaka
    Bump{36.25, 138.25, 12, 10, 0.70}, // Saku and Ueda basins
    Bump{37.80, 139.10, 30, 20, 0.90}, // Echigo plain
};

// Raised floors: basins lie above the sea.
constexpr std::array floors = {
    Bump{35.63, 138.57, 7, 9, 250}, // Kofu basin
};

constexpr double hillHeight = 650;      // envelope of the hills everywhere
constexpr double rangeWavelengthKm = 9; // spacing of the main ridges
constexpr int rangeOctaves = 8;         // down to about 70 m
constexpr std::uint32_t rangeSeed = 0x5eed01u;
constexpr std::uint32_t warpSeed = 0x5eed02u;

// Where envelopes overlap the ridges could outgrow Fuji; real ranges here
// stop below 3200 m, so heights above capKnee bend smoothly towards the cap.
constexpr double capKnee = 2600;
constexpr double capRise = 650;

double softCap(double height)
{
    return height <= capKnee ? height : capKnee + capRise * std::tanh((height - capKnee) / capRise);
}

double rangesAndHills(Km p)
{
    double envelope = hillHeight;
    for (const Bump& b : mountainRanges)
        envelope += b.at(p);
    double keep = 1;
    for (const Bump& b : plains)
        keep *= 1 - b.at(p);
    // Bend the noise field a little so that ridges wander like real ones.
    const double wx = p.x / rangeWavelengthKm + 0.35 * fractalNoise(p.x / 30, p.y / 30, 2, warpSeed);
    const double wy =
        p.y / rangeWavelengthKm + 0.35 * fractalNoise(p.x / 30 + 7.1, p.y / 30 - 3.3, 2, warpSeed);
    // Squaring deepens the valleys and leaves the crests near the envelope.
    const double ridges = ridgedNoise(wx, wy, rangeOctaves, rangeSeed);
    return softCap(keep * envelope * ridges * ridges);
}

// Mt Fuji: a concave cone whose crater rim peaks at the summit point; the
// crater's centre lies 300 m north-east of the summit, as the real one does.
constexpr double craterRadiusKm = 0.3;
constexpr double craterDepth = 230;
constexpr double coneScaleKm = 4.4;
constexpr double coneExponent = 1.3; // steep near the top, a long gentle foot
constexpr double rimDipToOppositeSide = 40;

double coneProfile(double dKm)
{
    return 1 / (1 + std::pow(dKm / coneScaleKm, coneExponent));
}

// Height of the cone above the coastal plain's level, and how much of the
// surrounding ranges still shows (0 on the cone, 1 away from it).
struct Volcano {
    double height;
    double rangesShown;
};

Volcano fuji(Km p, double peakAbovePlain)
{
    const Km summit = toKm(fujiSummitLat, fujiSummitLon);
    const double offset = craterRadiusKm / std::numbers::sqrt2;
    const Km crater{summit.x + offset, summit.y + offset};
    const double dx = p.x - crater.x;
    const double dy = p.y - crater.y;
    const double d = std::sqrt(dx * dx + dy * dy);
    const double rangesShown = smoothstep(7, 16, d);
    if (d >= 35)
        return {0, rangesShown};
    // The rim is highest towards the summit (south-west) and dips opposite.
    const double towardsSummit = d > 0 ? -(dx + dy) / (d * std::numbers::sqrt2) : 1;
    const double rimFactor = 1 - rimDipToOppositeSide / fujiSummitHeight * (1 - towardsSummit) / 2;
    const double rim = peakAbovePlain * rimFactor;
    if (d < craterRadiusKm) {
        const double s = 1 - (d / craterRadiusKm) * (d / craterRadiusKm);
        return {rim - craterDepth * s * s, rangesShown};
    }
    // The foot fades out between 15 and 35 km into the surrounding land.
    double height = rim * coneProfile(d) / coneProfile(craterRadiusKm) * (1 - smoothstep(15, 35, d));
    // Radial gullies on the middle flanks, none near the summit.
    const double angle = std::atan2(dy, dx);
    const double gullyWeight = smoothstep(1.5, 4, d) * (1 - smoothstep(9, 14, d));
    const double wander = 3 * gradientNoise(3 * std::cos(angle) + d / 1.5, 3 * std::sin(angle), 77);
    height -= 12 * gullyWeight * (0.5 + 0.5 * std::cos(36 * angle + wander));
    return {height, rangesShown};
}

// Hakone: a caldera with a flat floor, a steep inner wall, and the central
// cone of Kami-yama.
double hakone(Km p)
{
    const Km centre = toKm(35.230, 139.030);
    const double d = std::hypot(p.x - centre.x, p.y - centre.y);
    if (d > 25)
        return 0;
    constexpr double rimKm = 5.0;
    constexpr double rimHeight = 850;
    constexpr double floorHeight = 600;
    double height;
    if (d < rimKm) {
        const double t = d / rimKm;
        height = floorHeight + (rimHeight - floorHeight) * std::pow(t, 6);
    } else {
        const double t = (d - rimKm) / 3.2;
        height = rimHeight * std::exp(-t * t);
    }
    const Km kamiyama = toKm(35.2333, 139.0211);
    const double k = std::hypot(p.x - kamiyama.x, p.y - kamiyama.y) / 1.1;
    return height + 650 / (1 + k * k);
}

// Izu Oshima's Mihara-yama.
double oshima(Km p)
{
    const Km centre = toKm(34.724, 139.394);
    const double k = std::hypot(p.x - centre.x, p.y - centre.y) / 2.6;
    return k > 20 ? 0 : 720 / (1 + k * k);
}

double floorLift(Km p)
{
    double lift = 0;
    for (const Bump& b : floors)
        lift += b.at(p);
    return lift;
}

} // namespace

double landHeight(double lat, double lon, double coastKm)
{
    const Km p = toKm(lat, lon);
    constexpr double plainRise = 30; // metres from the shore to coastalPlainKm inland
    const double plain = lowestLand + plainRise * smoothstep(0, coastalPlainKm, coastKm);
    const double inland = smoothstep(0, coastalPlainKm, coastKm);

    const Volcano cone = fuji(p, fujiSummitHeight - lowestLand - plainRise);
    const double relief =
        cone.height + cone.rangesShown * rangesAndHills(p) + hakone(p) + oshima(p) + floorLift(p);
    return std::max(lowestLand, plain + inland * relief);
}

} // namespace demo
