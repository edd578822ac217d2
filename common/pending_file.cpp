#include "common/pending_file.h"

#include <cerrno>
#include <cstring>
#include <limits>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace common {

PendingFile::PendingFile(std::string path)
    : path_(std::move(path)), temporaryPath_(path_ + ".tmp" + std::to_string(getpid()))
{
    // "x": never write into a file that someone else has just made.
    file_ = std::fopen(temporaryPath_.c_str(), "wbx");
    if (!file_)
        fail("cannot create");
}

PendingFile::PendingFile(std::string path, ForOtherWriter) : path_(std::move(path))
{
    const std::size_t slash = path_.rfind('/');
    const std::size_t dot = path_.rfind('.');
    const std::size_t split = dot == std::string::npos || (slash != std::string::npos && dot < slash) ||
                                      dot == (slash == std::string::npos ? 0 : slash + 1)
                                  ? path_.size()
                                  : dot;
    temporaryPath_ = path_.substr(0, split) + ".tmp" + std::to_string(getpid()) + path_.substr(split);
    std::FILE* reserved = std::fopen(temporaryPath_.c_str(), "wbx");
    if (!reserved) {
        fail("cannot create");
        return;
    }
    std::fclose(reserved);
    forOtherWriter_ = true;
}

PendingFile::~PendingFile()
{
    if (file_)
        std::fclose(file_);
    if (!committed_ && (file_ || finished_ || forOtherWriter_))
        std::remove(temporaryPath_.c_str());
}

bool PendingFile::fail(const char* what)
{
    if (error_.empty())
        error_ = std::string(what) + " " + temporaryPath_ + ": " + std::strerror(errno);
    return false;
}

bool PendingFile::write(const void* data, std::size_t size)
{
    if (!file_)
        return false;
    if (std::fwrite(data, 1, size, file_) != size)
        return fail("cannot write");
    return true;
}

bool PendingFile::skip(std::uint64_t size)
{
    if (!file_)
        return false;
    const off_t here = ftello(file_);
    if (here < 0)
        return fail("cannot seek in");
    if (size > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max() - here)) {
        errno = EOVERFLOW;
        return fail("cannot seek in");
    }
    if (fseeko(file_, here + static_cast<off_t>(size), SEEK_SET) != 0)
        return fail("cannot seek in");
    return true;
}

bool PendingFile::finish()
{
    if (forOtherWriter_ && !finished_) {
        finished_ = true;
        struct stat status {};
        if (stat(temporaryPath_.c_str(), &status) != 0)
            return fail("cannot write");
        if (status.st_size == 0) {
            errno = ENODATA;
            return fail("nothing written to");
        }
        return true;
    }
    if (!file_)
        return false;
    const bool flushed = std::fflush(file_) == 0 && !std::ferror(file_);
    const int flushError = errno;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    finished_ = true;
    if (!flushed)
        errno = flushError;
    if (!flushed || !closed)
        return fail("cannot write");
    return true;
}

bool PendingFile::commit()
{
    if (!finished_ || !error_.empty())
        return false;
    if (std::rename(temporaryPath_.c_str(), path_.c_str()) != 0)
        return fail("cannot rename");
    committed_ = true;
    return true;
}

} // namespace common
