#include "gsi_text.h"

#include <algorithm>
#include <cmath>

namespace demo {

namespace {

constexpr int seaTenths = -9999;
constexpr int sheet50Size = 200;
constexpr int cell250Size = 320;
constexpr std::size_t flagsStart = 224;
constexpr const char* lineEnd = "\r\n";

void appendRecord(std::string& out, int code, int rowNumber, const Raster& block, int row, int col0,
                  int count)
{
    appendField(out, code, 6);
    appendField(out, rowNumber, 3);
    for (int m = 0; m < count; ++m)
        appendField(out, gsiTenths(block.at(row, col0 + m)), 5);
    out += lineEnd;
}

bool rowIsAllSea(const Raster& block, int row, int col0, int count)
{
    for (int m = 0; m < count; ++m)
        if (!isSea(block.at(row, col0 + m)))
            return false;
    return true;
}

std::string padded(std::string text, std::size_t width)
{
    text.resize(width, ' ');
    return text;
}

} // namespace

void appendField(std::string& out, int value, int width)
{
    const std::string digits = std::to_string(value < 0 ? -static_cast<long>(value) : value);
    const std::size_t used = digits.size() + (value < 0 ? 1 : 0);
    if (value < 0)
        out += '-';
    if (used < static_cast<std::size_t>(width))
        out.append(static_cast<std::size_t>(width) - used, '0');
    out += digits;
}

int gsiTenths(float metres)
{
    if (isSea(metres))
        return seaTenths;
    // Five characters hold at most 9999.9 m; nothing on earth is higher.
    return static_cast<int>(std::clamp(std::lround(metres * 10.0), 0L, 99999L));
}

std::string gsi50SheetText(int code, const Raster& block, int row0, int col0)
{
    std::string out = std::to_string(code) + " DEMO TERRAIN 50M MESH 200x200 (synthetic)" + lineEnd;
    out.reserve(out.size() + sheet50Size * (11 + 5 * sheet50Size));
    for (int k = 0; k < sheet50Size; ++k)
        appendRecord(out, code, k + 1, block, row0 + k, col0, sheet50Size);
    return out;
}

std::string gsi250CellText(int code, const Raster& block, int row0, int col0)
{
    std::string flags;
    for (int k = 0; k < cell250Size; ++k)
        flags += rowIsAllSea(block, row0 + k, col0, cell250Size) ? '0' : '1';

    std::string out =
        padded(std::to_string(code) + " DEMO TERRAIN 250M MESH 320x320 (synthetic)", flagsStart);
    out += flags + lineEnd;
    for (int k = 0; k < cell250Size; ++k)
        if (flags[static_cast<std::size_t>(k)] == '1')
            appendRecord(out, code, k + 1, block, row0 + k, col0, cell250Size);
    return out;
}

} // namespace demo
