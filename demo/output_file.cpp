#include "output_file.h"

#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

PendingFile::PendingFile(fs::path path) : path_(std::move(path)), partPath_(path_)
{
    partPath_ += ".part";
    if (path_.has_parent_path())
        fs::create_directories(path_.parent_path());
    out_.open(partPath_, std::ios::binary | std::ios::trunc);
    if (!out_)
        throw std::runtime_error(partPath_.string() + ": cannot create");
}

PendingFile::~PendingFile()
{
    if (committed_)
        return;
    out_.close();
    std::error_code ignored;
    fs::remove(partPath_, ignored);
}

void PendingFile::write(const std::string& bytes)
{
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out_)
        throw std::runtime_error(partPath_.string() + ": write failed");
}

void PendingFile::writeAt(std::uint64_t offset, const std::string& bytes)
{
    out_.seekp(static_cast<std::streamoff>(offset));
    write(bytes);
}

void PendingFile::commit(std::uint64_t size)
{
    out_.close();
    if (!out_)
        throw std::runtime_error(partPath_.string() + ": write failed");
    if (fs::file_size(partPath_) != size)
        fs::resize_file(partPath_, size);
    fs::rename(partPath_, path_);
    committed_ = true;
}

void PendingFile::commit()
{
    out_.close();
    if (!out_)
        throw std::runtime_error(partPath_.string() + ": write failed");
    fs::rename(partPath_, path_);
    committed_ = true;
}

void writeWholeFile(const fs::path& path, const std::string& bytes)
{
    PendingFile file(path);
    file.write(bytes);
    file.commit();
}
