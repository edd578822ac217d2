#pragma once
// The one height function that every demo data set samples, so that the
// four of them agree wherever they overlap.

#include <optional>
#include <vector>

#include "coast_distance.h"
#include "coastline.h"
#include "land_mask.h"
#include "sample_lattice.h"

namespace demo {

// Heights of a lattice's samples, row by row from the north, in metres;
// NaN marks a sample in the sea.
struct Raster {
    SampleLattice lattice;
    std::vector<float> metres;

    float at(int row, int col) const { return metres[static_cast<std::size_t>(row) * lattice.cols + col]; }
    float& at(int row, int col) { return metres[static_cast<std::size_t>(row) * lattice.cols + col]; }
};

bool isSea(float metres);

class DemoTerrain {
  public:
    explicit DemoTerrain(const Coastline& coast);

    // Height at one point, or nothing in the sea.
    std::optional<double> heightAt(double lat, double lon) const;

    // Every sample of the lattice; rows are shared out among `workers`
    // threads, 0 for one per processor core (each row is independent, so the
    // result does not depend on how).
    Raster sample(const SampleLattice& lattice, unsigned workers = 0) const;

  private:
    void sampleRow(const SampleLattice& lattice, int row, float* out) const;

    LandMask land_;
    CoastDistance coastDistance_;
};

} // namespace demo
