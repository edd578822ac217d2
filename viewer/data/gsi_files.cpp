#include "data/gsi_files.h"

#include <cstdio>

#include "data/data_file.h"
#include "data/grid.h"
#include "data/text_fields.h"

bool loadGsiFile(const std::string& path, const char* dataSetTag, std::string& text)
{
    std::string opened;
    FileHandle file = openDataFile(path, "r", opened);
    if (!file) {
        std::printf("*** %s : %s not found.\n", dataSetTag, path.c_str());
        return false;
    }
    std::printf("Reading %s ...\n", opened.c_str());
    text = readRest(file.get());
    return true;
}

bool readGsiRecord(FieldReader& reader, GridPoint* row, int count)
{
    int ignored = 0;
    if (!reader.readInt(6, ignored) || !reader.readInt(3, ignored))
        return false;
    for (int m = 0; m < count; ++m) {
        int tenths = 0;
        if (!reader.readInt(5, tenths))
            return false;
        row[m].elevation = static_cast<float>(tenths) / 10.0f;
    }
    return true;
}

std::string padNumber(long long value, int width)
{
    std::string digits = std::to_string(value);
    if (digits.size() < static_cast<std::size_t>(width))
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), ' ');
    return digits;
}
