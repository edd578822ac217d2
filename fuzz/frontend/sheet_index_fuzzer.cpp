// Any bytes as a ZUMEI.CSV index, read into the tables of both meshes.
#include <cstddef>
#include <cstdint>

#include "core/map_cells.h"
#include "core/sheet_names.h"
#include "fuzz_target.h"

using namespace skyloom;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    enterScratchDirectory(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    writeInput("ZUMEI.CSV", data, size);
    SheetNameTable names50(kCols50, kRows50);
    SheetNameTable names250(kCols250, kRows250);
    readIndexFile(QStringLiteral("ZUMEI.CSV"), Mesh::gsi50, names50);
    readIndexFile(QStringLiteral("ZUMEI.CSV"), Mesh::gsi250, names250);
    return 0;
}
