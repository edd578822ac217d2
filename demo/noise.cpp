#include "noise.h"

#include <algorithm>
#include <cmath>

namespace demo {

namespace {

std::uint32_t hashCorner(std::int64_t ix, std::int64_t iy, std::uint32_t seed)
{
    std::uint64_t h = static_cast<std::uint64_t>(ix) * 0x9E3779B97F4A7C15ULL;
    h ^= static_cast<std::uint64_t>(iy) * 0xC2B2AE3D27D4EB4FULL + seed;
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ULL;
    h ^= h >> 29;
    return static_cast<std::uint32_t>(h >> 32);
}

// Sixteen unit directions: enough variety that no lattice axis shows.
double cornerDot(std::int64_t ix, std::int64_t iy, std::uint32_t seed, double dx, double dy)
{
    static constexpr double directions[16][2] = {
        {1.0, 0.0},  {0.92388, 0.38268},   {0.70711, 0.70711},   {0.38268, 0.92388},
        {0.0, 1.0},  {-0.38268, 0.92388},  {-0.70711, 0.70711},  {-0.92388, 0.38268},
        {-1.0, 0.0}, {-0.92388, -0.38268}, {-0.70711, -0.70711}, {-0.38268, -0.92388},
        {0.0, -1.0}, {0.38268, -0.92388},  {0.70711, -0.70711},  {0.92388, -0.38268},
    };
    const double* g = directions[hashCorner(ix, iy, seed) & 15u];
    return g[0] * dx + g[1] * dy;
}

double fade(double t)
{
    return t * t * t * (t * (t * 6 - 15) + 10);
}

double lerp(double a, double b, double t)
{
    return a + (b - a) * t;
}

} // namespace

double gradientNoise(double x, double y, std::uint32_t seed)
{
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const auto ix = static_cast<std::int64_t>(fx);
    const auto iy = static_cast<std::int64_t>(fy);
    const double dx = x - fx;
    const double dy = y - fy;
    const double n00 = cornerDot(ix, iy, seed, dx, dy);
    const double n10 = cornerDot(ix + 1, iy, seed, dx - 1, dy);
    const double n01 = cornerDot(ix, iy + 1, seed, dx, dy - 1);
    const double n11 = cornerDot(ix + 1, iy + 1, seed, dx - 1, dy - 1);
    const double u = fade(dx);
    // Scaled so that the value reaches about +-1 as documented.
    return 1.4 * lerp(lerp(n00, n10, u), lerp(n01, n11, u), fade(dy));
}

double ridgedNoise(double x, double y, int octaves, std::uint32_t seed)
{
    double sum = 0;
    double norm = 0;
    double amplitude = 1;
    double weight = 1;
    for (int o = 0; o < octaves; ++o) {
        double crest = 1 - std::fabs(gradientNoise(x, y, seed + 101u * static_cast<std::uint32_t>(o)));
        crest = std::clamp(crest, 0.0, 1.0);
        crest *= crest;
        sum += crest * amplitude * weight;
        norm += amplitude;
        weight = std::clamp(crest * 2.0, 0.0, 1.0);
        amplitude *= 0.55;
        // Rotate a little between octaves so that no lattice direction lines up.
        const double rx = 1.6 * x + 1.2 * y + 17.3;
        const double ry = -1.2 * x + 1.6 * y - 9.1;
        x = rx;
        y = ry;
    }
    return norm > 0 ? sum / norm : 0;
}

double fractalNoise(double x, double y, int octaves, std::uint32_t seed)
{
    double sum = 0;
    double norm = 0;
    double amplitude = 1;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * gradientNoise(x, y, seed + 211u * static_cast<std::uint32_t>(o));
        norm += amplitude;
        amplitude *= 0.5;
        const double rx = 1.6 * x + 1.2 * y + 5.7;
        const double ry = -1.2 * x + 1.6 * y + 11.9;
        x = rx;
        y = ry;
    }
    return norm > 0 ? sum / norm : 0;
}

} // namespace demo
