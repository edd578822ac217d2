#include "ehdr_raster.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <system_error>

#include "common/pending_file.h"

namespace orvex {

namespace {

// The shortest text that reads back as exactly the same double.
std::string exactText(double value)
{
    char text[32]; // to_chars needs at most 24 characters for a double
    const std::to_chars_result result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

} // namespace

std::string ehdrHeader(const ElevationGrid& grid, const DataSetConstants& set)
{
    const std::string rowBytes = std::to_string(4LL * grid.gridCols);
    return "BYTEORDER I\n"
           "LAYOUT BIL\n"
           "NROWS " +
           std::to_string(grid.gridRows) +
           "\n"
           "NCOLS " +
           std::to_string(grid.gridCols) +
           "\n"
           "NBANDS 1\n"
           "NBITS 32\n"
           "PIXELTYPE FLOAT\n"
           "BANDROWBYTES " +
           rowBytes +
           "\n"
           "TOTALROWBYTES " +
           rowBytes +
           "\n"
           "ULXMAP " +
           exactText(grid.areaWest) +
           "\n"
           "ULYMAP " +
           exactText(grid.areaNorth) +
           "\n"
           "XDIM " +
           exactText(set.colStep) +
           "\n"
           "YDIM " +
           exactText(set.rowStep) +
           "\n"
           "NODATA " +
           exactText(rasterNoData) + "\n";
}

std::string ehdrRow(const GridPoint* row, int cols)
{
    std::string bytes(4 * static_cast<std::size_t>(cols), '\0');
    for (int c = 0; c < cols; ++c) {
        const float value = row[c].sampleState == SampleState::valid ? row[c].elevation : rasterNoData;
        const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
        for (int b = 0; b < 4; ++b)
            bytes[4 * static_cast<std::size_t>(c) + b] = static_cast<char>((bits >> (8 * b)) & 0xFF);
    }
    return bytes;
}

bool writeEhdrRaster(const std::string& base, const ElevationGrid& grid, const DataSetConstants& set,
                     std::string& error)
{
    common::PendingFile samples(base + ".flt");
    for (int r = 0; r < grid.gridRows && samples.isOpen(); ++r) {
        const std::string row = ehdrRow(grid.gridRowTable[r], grid.gridCols);
        if (!samples.write(row.data(), row.size()))
            break;
    }
    const std::string header = ehdrHeader(grid, set);
    common::PendingFile label(base + ".hdr");
    label.write(header.data(), header.size());

    // Both complete before either replaces an older file.
    const bool samplesWritten = samples.finish();
    const bool labelWritten = label.finish();
    if (!samplesWritten || !labelWritten || !samples.commit() || !label.commit()) {
        error = !samples.error().empty() ? samples.error() : label.error();
        return false;
    }
    return true;
}

} // namespace orvex
