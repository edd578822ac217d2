#pragma once
// A file written under a temporary name beside its final path and renamed
// into place only when complete, so that no reader ever sees it half-written.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace common {

class PendingFile {
  public:
    explicit PendingFile(std::string path);
    // For a file that another writer (GDAL) makes itself: reserves an empty
    // temporary file beside `path` for it, named with `path`'s extension
    // last (".tmp<pid>" goes before the extension), so that a writer which
    // names a file's companions by extension names theirs alike. finish()
    // then only checks that the writer left something in it.
    struct ForOtherWriter {};
    PendingFile(std::string path, ForOtherWriter);
    ~PendingFile(); // removes the temporary file unless it was committed
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    bool write(const void* data, std::size_t size);
    // Moves on `size` bytes without writing them: bytes never written read as
    // zeros and take no room on disk (a hole). Only a later write makes the
    // file that long.
    bool skip(std::uint64_t size);
    // Closes the temporary file, checking that every byte reached it.
    bool finish();
    // Renames the finished file onto its final path.
    bool commit();

    // Where the file is being written, until commit().
    const std::string& temporaryPath() const { return temporaryPath_; }

    // What went wrong, for a message.
    const std::string& error() const { return error_; }

  private:
    bool fail(const char* what);

    std::string path_;
    std::string temporaryPath_;
    std::FILE* file_ = nullptr;
    bool finished_ = false;
    bool forOtherWriter_ = false; // the temporary file was made, and is left to someone else
    bool committed_ = false;
    std::string error_;
};

} // namespace common
