// Any bytes as a ZUMEI.CSV index, read into the tables of both meshes.
#include <cstddef>
#include <cstdint>

#include "core/map_cells.h"
#include "core/sheet_names.h"
#include "fuzz_target.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    enterScratchDirectory(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    writeInput("ZUMEI.CSV", data, size);
    skyloom::SheetNameTable names50(skyloom::kCols50, skyloom::kRows50);
    skyloom::SheetNameTable names250(skyloom::kCols250, skyloom::kRows250);
    skyloom::readIndexFile(QStringLiteral("ZUMEI.CSV"), skyloom::Mesh::gsi50, names50);
    skyloom::readIndexFile(QStringLiteral("ZUMEI.CSV"), skyloom::Mesh::gsi250, names250);
    return 0;
}
