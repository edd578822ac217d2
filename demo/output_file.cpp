#include "output_file.h"

#include <stdexcept>

#include "common/pending_file.h"

namespace demo {

namespace fs = std::filesystem;

namespace {

// Runs `fill` on a pending file at `path` and commits it; throws when any
// step fails.
template <typename Fill> void writeAtomically(const fs::path& path, Fill fill)
{
    if (path.has_parent_path())
        fs::create_directories(path.parent_path());
    common::PendingFile file(path.string());
    if (!file.isOpen() || !fill(file) || !file.finish() || !file.commit())
        throw std::runtime_error(file.error());
}

} // namespace

void writeFileAtomically(const fs::path& path, const std::string& bytes)
{
    writeAtomically(path, [&](common::PendingFile& file) { return file.write(bytes.data(), bytes.size()); });
}

void writeSparseFileAtomically(const fs::path& path, std::uint64_t size, const std::vector<FilePiece>& pieces)
{
    writeAtomically(path, [&](common::PendingFile& file) {
        std::uint64_t end = 0;
        for (const FilePiece& piece : pieces) {
            if (piece.offset < end || piece.offset > size || piece.bytes.size() > size - piece.offset)
                throw std::logic_error(path.string() + ": pieces out of order or beyond the size");
            if (!file.skip(piece.offset - end) || !file.write(piece.bytes.data(), piece.bytes.size()))
                return false;
            end = piece.offset + piece.bytes.size();
        }
        // A hole up to the last byte, which is written to give the file its size.
        const char zero = 0;
        return end == size || (file.skip(size - end - 1) && file.write(&zero, 1));
    });
}

} // namespace demo
