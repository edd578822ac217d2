#pragma once
// Every demo file is written through the project's one atomic writer,
// common::PendingFile: beside its final name, and renamed into place only
// when whole, so that an interrupted run never leaves a half-written file
// that looks like data. These helpers make the folders on the way and throw
// std::runtime_error with the writer's message on any failure.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace demo {

void writeFileAtomically(const std::filesystem::path& path, const std::string& bytes);

// Bytes that go at an offset of a sparse file.
struct FilePiece {
    std::uint64_t offset;
    std::string bytes;
};

// A file of `size` bytes holding each piece at its offset (pieces in
// ascending order, not overlapping, within the size); the bytes between them
// are holes, read as zeros and not stored.
void writeSparseFileAtomically(const std::filesystem::path& path, std::uint64_t size,
                               const std::vector<FilePiece>& pieces);

} // namespace demo
