#pragma once
// The viewer's command line: which data set, which directory, which area.
// orvex-export reads the same words after its own output name.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace orvex {

enum class DataSet { gsi50, gsi250, srtm30, srtm3, fgd10, fgd5, gdal };

struct LoadRequest {
    DataSet dataSet = DataSet::gsi50;
    std::string dataDir;
    std::array<int, 5> numbers{}; // N1 .. N5; those the data set does not take stay 0
    std::string srtm30Dir;        // only for SRTM3
    std::array<double, 4> box{};  // -gdal: NORTH, WEST, SOUTH, EAST in degrees
};

// The value of a numeric word as atoi reads it (leading white space, an
// optional sign, the digits up to the first other character, 0 without
// digits), clamped to the range of int instead of overflowing.
int atoiClamped(const char* word);

// A decimal number in degrees (leading white space and sign allowed, "." as
// the decimal point whatever the locale); NaN when the word is not one.
double degreesOf(const char* word);

// Chooses the data set by the number of words (the program name is word 0)
// and the exact option word. Anything else names no data set.
std::optional<LoadRequest> parseCommandLine(int argc, const char* const argv[]);

// The forms of the command line, one a line, each after `command`: for a
// command line that names no data set. Further lines go after usageIndent.
inline constexpr const char* usageStart = "usage: ";
inline constexpr const char* usageIndent = "       ";
std::string usageText(std::string_view command);

// The program's version, "2.0".
const char* versionText();

} // namespace orvex
