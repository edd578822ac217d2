#include "data/srtm_tiles.h"

#include <cstdio>

#include "data/data_file.h"

bool readTileBytes(const std::string& path, const char* missingTag, std::int64_t offset, std::size_t count,
                   TileBytes& out)
{
    std::string opened;
    FileHandle file = openDataFile(path, "rb", opened);
    if (!file) {
        std::printf("*** %s : %s not found.\n", missingTag, path.c_str());
        return false;
    }
    std::printf("Reading %s ...\n", opened.c_str());
    out.bytes = std::make_unique_for_overwrite<unsigned char[]>(count);
    out.available = readBytesAt(file.get(), offset, out.bytes.get(), count);
    return true;
}
