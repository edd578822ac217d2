#include "mesh_codes.h"

#include <cmath>

namespace demo {

MapCell sheetAt(double lat, double lon)
{
    return {static_cast<int>(std::floor((lon - 120) * 8)), static_cast<int>(std::floor((lat - 26) * 12))};
}

int secondaryCode(MapCell sheet)
{
    return (sheet.y / 8 + 39) * 10000 + (sheet.x / 8 + 20) * 100 + (sheet.y % 8) * 10 + sheet.x % 8;
}

int primaryCode(MapCell sheet)
{
    return (sheet.y / 8 + 39) * 100 + sheet.x / 8 + 20;
}

double sheetSouth(MapCell sheet)
{
    return 26 + sheet.y / 12.0;
}
double sheetWest(MapCell sheet)
{
    return 120 + sheet.x / 8.0;
}

double primarySouth(int code)
{
    return (code / 100) / 1.5;
}
double primaryWest(int code)
{
    return code % 100 + 100;
}

} // namespace demo
