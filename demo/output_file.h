#pragma once
// Files are written beside their final name and renamed into place when
// complete, so that an interrupted run never leaves a half-written file that
// looks like data.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

class PendingFile {
  public:
    // Creates the parent folders and opens "<path>.part". Throws
    // std::runtime_error when it cannot.
    explicit PendingFile(std::filesystem::path path);
    // Removes the partial file unless commit() succeeded.
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    void write(const std::string& bytes);
    // Writes at a byte offset; the bytes skipped over stay holes.
    void writeAt(std::uint64_t offset, const std::string& bytes);
    // Flushes, gives the file its full size (extending it with a hole when
    // needed) and renames it into place. Throws on any failure.
    void commit(std::uint64_t size);
    void commit();

  private:
    std::filesystem::path path_;
    std::filesystem::path partPath_;
    std::ofstream out_;
    bool committed_ = false;
};

// Writes the whole file at once through a PendingFile.
void writeWholeFile(const std::filesystem::path& path, const std::string& bytes);
