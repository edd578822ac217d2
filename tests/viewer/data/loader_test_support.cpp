#include "loader_test_support.h"

#include <cmath>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>

#include "state/grid.h"

using namespace orvex;

std::string printed(const ScratchDir& dir, const std::function<void()>& load)
{
    std::string text = captureStdout(load);
    for (std::size_t at = text.find(dir.path()); at != std::string::npos; at = text.find(dir.path(), at))
        text.replace(at, dir.path().size(), "D");
    return text;
}

std::vector<double> placement()
{
    // To a decimetre: the positions are single precision.
    const double rowSpacing =
        std::round((double(grid.gridRowTable[1][0].y) - grid.gridRowTable[0][0].y) * 10) / 10;
    return {grid.areaNorth,      grid.areaSouth,      grid.areaWest,  grid.areaEast,
            grid.mountainShiftY, grid.mountainShiftX, grid.labelLift, rowSpacing};
}

namespace {
std::string field(int value, int width, char fill = ' ')
{
    const std::string text = std::to_string(value);
    return std::string(text.size() < static_cast<std::size_t>(width) ? width - text.size() : 0, fill) + text;
}

std::string sampleBytes(int value)
{
    const auto bits = static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
    return {static_cast<char>(bits >> 8), static_cast<char>(bits & 0xff)};
}
} // namespace

std::string gsiRecord(int row, int count, const TenthsAt& tenths, const std::string& lineEnd)
{
    // A zero-padded row number, as published: blanks would let the first
    // value's digits run into it.
    std::string text = field(533945, 6) + field(row, 3, '0');
    for (int m = 0; m < count; ++m)
        text += field(tenths(row, m), 5) + (m % 10 == 9 ? lineEnd : "");
    return text;
}

std::string gsi50SheetText(const TenthsAt& tenths)
{
    std::string text = "533945 sheet header  1 2 3\n";
    for (int k = 0; k < 200; ++k)
        text += gsiRecord(k, 200, tenths);
    return text;
}

std::string gsi250CellText(const std::string& flags, const TenthsAt& tenths)
{
    std::string text = std::string(224, 'H') + flags + "\n";
    for (int k = 0; k < 320; ++k)
        if (k < static_cast<int>(flags.size()) && flags[k] != '0')
            text += gsiRecord(k, 320, tenths);
    return text;
}

std::string hgtTile(const std::function<int(int, int)>& sample)
{
    std::string bytes;
    bytes.reserve(1201 * 1201 * 2);
    for (int r = 0; r < 1201; ++r)
        for (int c = 0; c < 1201; ++c)
            bytes += sampleBytes(sample(r, c));
    return bytes;
}

void writeSrtm30Row(const std::string& path, int row, const std::function<int(int)>& sample)
{
    constexpr off_t rowBytes = 4800 * 2;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT, 0644);
    struct stat info;
    if (fd < 0 || ::fstat(fd, &info) != 0 ||
        (info.st_size < 6000 * rowBytes && ::ftruncate(fd, 6000 * rowBytes)))
        throw std::runtime_error("cannot make " + path);
    std::string bytes;
    for (int c = 0; c < 4800; ++c)
        bytes += sampleBytes(sample(c));
    const bool written = ::pwrite(fd, bytes.data(), bytes.size(), row * rowBytes) == std::ssize(bytes);
    ::close(fd);
    if (!written)
        throw std::runtime_error("cannot write " + path);
}
