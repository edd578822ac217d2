#include "data/mountain_file.h"

#include <climits>
#include <cmath>
#include <cstddef>
#include <optional>

#include "data/data_file.h"
#include "data/text_scanner.h"
#include "state/grid.h"
#include "state/mountain_table.h"

namespace orvex {

namespace {

constexpr std::size_t nameLimit = 48;
// Room for a million summits of generous lines; what lies beyond is not read,
// so a huge or endless file cannot take the machine's memory.
constexpr std::size_t longestSummitFile = 64 << 20;

struct SummitLine {
    double packedLatitude, packedLongitude, height;
    int kind;
};

// The four numbers of a summit line, as "%lf %lf %lf %d" reads them.
std::optional<SummitLine> readNumbers(TextScanner& in)
{
    const std::optional<double> latitude = in.readDouble();
    const std::optional<double> longitude = latitude ? in.readDouble() : std::nullopt;
    const std::optional<double> height = longitude ? in.readDouble() : std::nullopt;
    const std::optional<int> kind = height ? in.readInt() : std::nullopt;
    if (!kind)
        return std::nullopt;
    return SummitLine{*latitude, *longitude, *height, *kind};
}

bool isShiftJisLeadByte(unsigned char c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Cuts the name to the label's 48 bytes without leaving half of a two-byte
// Shift-JIS character at its end.
std::string cutName(std::string_view name)
{
    if (name.size() <= nameLimit)
        return std::string(name);
    std::size_t end = 0;
    while (end < nameLimit) {
        const std::size_t width = isShiftJisLeadByte(static_cast<unsigned char>(name[end])) ? 2 : 1;
        if (end + width > nameLimit)
            break;
        end += width;
    }
    return std::string(name.substr(0, end));
}

// A name of nothing but blanks and digits carries no name.
bool carriesAName(const std::string& name)
{
    return name.find_first_not_of(" 0123456789") != std::string::npos;
}

std::int32_t truncatedHeight(double height)
{
    if (std::isnan(height))
        return 0;
    if (!(height > INT_MIN - 1.0))
        return INT_MIN;
    if (!(height < INT_MAX + 1.0))
        return INT_MAX;
    return static_cast<std::int32_t>(height);
}

void readSummitFile(const char* path, std::vector<Mountain>& table)
{
    std::optional<std::string> text = readTextFile(path, longestSummitFile);
    if (!text)
        return; // a missing list is no error
    TextScanner in(std::move(*text));
    while (!in.atEnd()) {
        const std::optional<SummitLine> numbers = readNumbers(in);
        const std::string_view rest = in.readRestOfLine();
        if (!numbers)
            continue; // the line is dropped whole
        Mountain summit;
        summit.latitude = dms2deg(numbers->packedLatitude);
        summit.longitude = dms2deg(numbers->packedLongitude);
        summit.height = truncatedHeight(numbers->height);
        summit.kind = numbers->kind;
        summit.name = cutName(rest);
        table.push_back(std::move(summit));
    }
}

void place(Mountain& summit, const ElevationGrid& grid)
{
    const double pi = 4.0 * std::atan(1.0);
    summit.shown = grid.areaSouth < summit.latitude && summit.latitude < grid.areaNorth &&
                   grid.areaWest < summit.longitude && summit.longitude < grid.areaEast;
    summit.y =
        ((grid.areaNorth + grid.areaSouth) / 2 - summit.latitude) * metresPerDegree + grid.mountainShiftY;
    summit.x = std::cos(summit.latitude * pi / 180.0) *
                   (summit.longitude - (grid.areaWest + grid.areaEast) / 2) * metresPerDegree +
               grid.mountainShiftX;
    summit.z = summit.height - (summit.x * summit.x + summit.y * summit.y) / (2.0 * earthRadius);
}

} // namespace

double dms2deg(double packed)
{
    if (!std::isfinite(packed))
        return packed;
    const double sign = packed >= 0 ? 1.0 : -1.0;
    const double a = std::fabs(packed);
    const double degrees = std::trunc(a);
    // a - degrees lies in [0, 1), so n stays within 0 .. 1 000 000.
    const long n = static_cast<long>((a - degrees) * 1000000.0 + 0.5);
    const long minutes = n / 10000;
    const long hundredths = n % 10000;
    return sign * (degrees + minutes / 60.0 + hundredths / 100.0 / 3600.0);
}

void readmountain(MountainTable& mountains, const ElevationGrid& grid)
{
    std::vector<Mountain> table;
    readSummitFile("MtJapan.txt", table);
    readSummitFile("MtWorld.txt", table);
    for (Mountain& summit : table) {
        place(summit, grid);
        if (!carriesAName(summit.name))
            summit.name.clear();
    }
    mountains.mountainTable = std::move(table);
    mountains.mountainCount = static_cast<std::int32_t>(mountains.mountainTable.size());
}

void readmountain()
{
    readmountain(mountains, grid);
}

} // namespace orvex
