#pragma once
// The demo data set, generated once per test program into a temporary
// folder that is removed at exit, and the same data as the viewer's loaders
// see it.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "demo_data.h"
#include "terrain.h"

using namespace demo;

const DemoTerrain& demoTerrain();

// Root of the generated data (GSI50M, GSI250M, SRTM3, SRTM30 below it).
const std::filesystem::path& demoDir();

// A fresh folder under the system's temporary folder, removed when destroyed.
class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

std::string readBytes(const std::filesystem::path& path);

// A big-endian 16-bit sample at a byte offset.
std::int16_t sampleAt(const std::string& bytes, std::size_t offset);

// A copy of the viewer's grid after a loader ran.
struct LoadedGrid {
    int rows = 0, cols = 0;
    double north = 0, west = 0;
    int perDegLat = 1, perDegLon = 1; // samples per degree, as the data set has them
    std::vector<float> elevation;
    std::vector<std::int8_t> state;

    float at(int r, int c) const { return elevation[static_cast<std::size_t>(r) * cols + c]; }
    // The elevation at a lattice point, NaN for sea; nothing where the point
    // lies outside the grid or holds no valid sample.
    std::optional<float> at(double lat, double lon) const;
    // Position and height of the highest point.
    struct Peak {
        double lat, lon;
        float height;
    };
    Peak highest() const;
};

LoadedGrid copyGrid(int perDegLat, int perDegLon);
