#pragma once
// Deterministic gradient noise for the demo terrain. Everything is computed
// from integer hashes of the lattice corners, so the same coordinates give
// the same value on every run and every machine with IEEE doubles.

#include <cstdint>

namespace demo {

// Gradient noise in about [-1, 1], zero at every lattice point, one lattice
// cell per unit. Different seeds give unrelated fields.
double gradientNoise(double x, double y, std::uint32_t seed);

// Ridged multi-octave noise in [0, 1]: sharp crests where the base noise
// crosses zero, rounded valleys between them. Each octave halves the
// wavelength and is weighted by the octave above it, so fine detail gathers
// on the crests and the valleys stay smooth.
double ridgedNoise(double x, double y, int octaves, std::uint32_t seed);

// Plain fractal sum of octaves in about [-1, 1], for gentle hills and warps.
double fractalNoise(double x, double y, int octaves, std::uint32_t seed);

} // namespace demo
