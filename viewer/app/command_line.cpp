#include "app/command_line.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "data/text_scanner.h"

namespace orvex {

int atoiClamped(const char* word)
{
    return TextScanner(word).readInt().value_or(0);
}

double degreesOf(const char* word)
{
    while (*word == ' ' || (*word >= '\t' && *word <= '\r'))
        ++word;
    if (*word == '+' && word[1] != '-')
        ++word;
    const char* end = word + std::strlen(word);
    double value = NAN;
    const std::from_chars_result result = std::from_chars(word, end, value);
    return result.ec == std::errc() && result.ptr == end ? value : NAN;
}

namespace {

struct Form {
    int words;
    const char* option;
    DataSet dataSet;
    int numberCount;
    bool hasSrtm30Dir;
    bool hasBox;
    const char* arguments; // as the usage names them
};

// In this order: with six words "-gsi50" is tried before "-gsi250".
constexpr Form forms[] = {
    {6, "-gsi50", DataSet::gsi50, 3, false, false, "DIR CODE ROWS COLS"},
    {6, "-gsi250", DataSet::gsi250, 3, false, false, "DIR CODE ROWS COLS"},
    {7, "-srtm30", DataSet::srtm30, 4, false, false, "DIR NORTH WEST SOUTH EAST"},
    {9, "-srtm3", DataSet::srtm3, 5, true, false, "DIR NORTH WEST SOUTH EAST MODE SRTM30DIR"},
    // The GSI 10 m and 5 m DEM, in ZIPs of GML.
    {6, "-fgd10", DataSet::fgd10, 3, false, false, "DIR CODE ROWS COLS"},
    {6, "-fgd5", DataSet::fgd5, 3, false, false, "DIR CODE ROWS COLS"},
    // Any raster GDAL reads.
    {7, "-gdal", DataSet::gdal, 0, false, true, "SOURCE NORTH WEST SOUTH EAST"},
};

} // namespace

std::optional<LoadRequest> parseCommandLine(int argc, const char* const argv[])
{
    for (const Form& form : forms) {
        if (argc != form.words || std::strcmp(argv[1], form.option) != 0)
            continue;
        LoadRequest request;
        request.dataSet = form.dataSet;
        request.dataDir = argv[2];
        for (int n = 0; n < form.numberCount; ++n)
            request.numbers[n] = atoiClamped(argv[3 + n]);
        for (int n = 0; form.hasBox && n < 4; ++n)
            request.box[n] = degreesOf(argv[3 + n]);
        if (form.hasSrtm30Dir)
            request.srtm30Dir = argv[3 + form.numberCount];
        return request;
    }
    return std::nullopt;
}

std::string usageText(std::string_view command)
{
    std::string text;
    for (const Form& form : forms) {
        std::string option = form.option;
        option.resize(std::max<std::size_t>(option.size(), 7), ' ');
        text += (text.empty() ? usageStart : usageIndent) + std::string(command) + ' ' + option + ' ' +
                form.arguments + '\n';
    }
    return text;
}

const char* versionText()
{
    return ORVEX_VERSION;
}

} // namespace orvex
