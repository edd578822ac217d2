#include "demo_output.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "coastline.h"
#include "state/grid.h"

namespace fs = std::filesystem;
using orvex::grid;

ScratchDir::ScratchDir()
{
    std::string pattern = (fs::temp_directory_path() / "demo-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a scratch folder");
    path_ = pattern;
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

const DemoTerrain& demoTerrain()
{
    static const DemoTerrain terrain(readCoastline(DEMO_COASTLINE));
    return terrain;
}

const fs::path& demoDir()
{
    static const ScratchDir scratch;
    static const bool written = (writeDemoData(scratch.path(), demoTerrain()), true);
    (void)written;
    return scratch.path();
}

std::string readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::int16_t sampleAt(const std::string& bytes, std::size_t offset)
{
    const auto high = static_cast<unsigned char>(bytes.at(offset));
    const auto low = static_cast<unsigned char>(bytes.at(offset + 1));
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(high << 8 | low));
}

std::optional<float> LoadedGrid::at(double lat, double lon) const
{
    const auto r = static_cast<int>(std::lround((north - lat) * perDegLat));
    const auto c = static_cast<int>(std::lround((lon - west) * perDegLon));
    if (r < 0 || c < 0 || r >= rows || c >= cols || state[static_cast<std::size_t>(r) * cols + c] != 0)
        return std::nullopt;
    const float v = at(r, c);
    return v < -100 ? NAN : v;
}

LoadedGrid::Peak LoadedGrid::highest() const
{
    const auto best =
        static_cast<std::size_t>(std::max_element(elevation.begin(), elevation.end()) - elevation.begin());
    const auto width = static_cast<std::size_t>(cols);
    return {north - static_cast<double>(best / width) / perDegLat,
            west + static_cast<double>(best % width) / perDegLon, elevation[best]};
}

LoadedGrid copyGrid(int perDegLat, int perDegLon)
{
    LoadedGrid copy{
        grid.gridRows, grid.gridCols, grid.areaNorth, grid.areaWest, perDegLat, perDegLon, {}, {}};
    for (int r = 0; r < grid.gridRows; ++r)
        for (int c = 0; c < grid.gridCols; ++c) {
            copy.elevation.push_back(grid.gridRowTable[static_cast<std::size_t>(r)][c].elevation);
            copy.state.push_back(
                static_cast<std::int8_t>(grid.gridRowTable[static_cast<std::size_t>(r)][c].sampleState));
        }
    return copy;
}
