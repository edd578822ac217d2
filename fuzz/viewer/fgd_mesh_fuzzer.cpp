// Any bytes as a GSI 5 m DEM document where users keep one: a file named as
// published (or of another name, left to its header, for inputs of odd
// length), the same bytes as the member of a sheet's ZIP archive, and the
// bytes themselves as a bulk download's archive. Every document found is
// read; one that reads has its mesh's size, known values and kinds. The
// document fed in small pieces reads the same as fed whole.
#include <zip.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "data/fgd_archive.h"
#include "data/fgd_mesh.h"
#include "fuzz_target.h"
#include "viewer_fuzzing.h"

namespace {

const char documentName[] = "FG-GML-5339-45-27-DEM5A-20200101.xml";

void writeSheetArchive(const std::uint8_t* data, std::size_t size)
{
    int error = 0;
    zip_t* zip = zip_open("FG-GML-5339-45-DEM5A.zip", ZIP_CREATE | ZIP_TRUNCATE, &error);
    require(zip != nullptr, "the sheet's archive is created");
    zip_source_t* source = zip_source_buffer(zip, data, size, 0);
    const zip_int64_t index = source ? zip_file_add(zip, documentName, source, 0) : -1;
    if (index < 0)
        zip_source_free(source);
    require(index >= 0 &&
                zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0) == 0 &&
                zip_close(zip) == 0,
            "the sheet's archive is written");
}

void requireMesh(const orvex::FgdMesh& mesh, const orvex::FgdFile& file)
{
    const orvex::FgdMeshShape shape = orvex::fgdMeshShape(mesh.name.resolution);
    const std::size_t points = static_cast<std::size_t>(shape.cols) * shape.rows;
    require(mesh.name.code == file.name.code && mesh.name.resolution == file.name.resolution,
            "the mesh is of the place its file was found for");
    require(mesh.cols == shape.cols && mesh.rows == shape.rows && mesh.values.size() == points &&
                mesh.classes.size() == points,
            "the mesh has its kind's size");
    for (std::size_t k = 0; k < points; ++k) {
        const float value = mesh.values[k];
        require(value == orvex::fgdNoValue || (value >= orvex::fgdLowest && value <= orvex::fgdHighest),
                "a value is a height of the country or none");
        require(mesh.classes[k] <= orvex::FgdClass::other, "a point has a published kind");
    }
}

void requireSameInPieces(std::string_view bytes)
{
    const std::optional<orvex::FgdMesh> whole = orvex::parseFgdMesh(documentName, bytes);
    orvex::FgdMeshReader reader(documentName);
    for (std::size_t at = 0; at < bytes.size(); at += 7)
        reader.feed(bytes.substr(at, 7));
    const std::optional<orvex::FgdMesh> pieces = reader.finish();
    require(whole.has_value() == pieces.has_value(), "a document reads the same in pieces");
    require(!whole || (whole->values == pieces->values && whole->classes == pieces->classes),
            "a document's points are the same in pieces");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    enterScratchDirectory(argc, argv);
    throwOnFatalError();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(".", ignored))
        std::filesystem::remove_all(entry.path(), ignored);
    writeInput(size % 2 ? "dem.xml" : documentName, data, size);
    writeSheetArchive(data, size);
    writeInput("bulk.zip", data, size);
    requireSameInPieces(std::string_view(reinterpret_cast<const char*>(data), size));

    std::vector<std::string> problems;
    const std::vector<orvex::FgdFile> files = orvex::findFgdFiles(
        ".", [](const orvex::FgdName&) { return true; }, problems);
    orvex::FgdArchiveReader archives;
    for (const orvex::FgdFile& file : files) {
        std::string error;
        if (const std::optional<orvex::FgdMesh> mesh = orvex::readFgdFile(archives, file, error))
            requireMesh(*mesh, file);
        else
            require(!error.empty(), "a document that does not read says why");
    }
    return 0;
}
