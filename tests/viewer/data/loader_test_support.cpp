#include "loader_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unistd.h>
#include <vector>

TempDir::TempDir()
{
    std::string pattern = "/tmp/orvex-loader-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string captureStdout(const std::function<void()>& action)
{
    std::fflush(stdout);
    std::FILE* sink = std::tmpfile();
    const int saved = ::dup(STDOUT_FILENO);
    ::dup2(fileno(sink), STDOUT_FILENO);
    action();
    std::fflush(stdout);
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    std::string text;
    std::rewind(sink);
    for (int c = std::fgetc(sink); c != EOF; c = std::fgetc(sink))
        text += static_cast<char>(c);
    std::fclose(sink);
    return text;
}

namespace {
std::string field(int value, int width)
{
    std::string text = std::to_string(value);
    return std::string(text.size() < static_cast<std::size_t>(width) ? width - text.size() : 0, ' ') + text;
}
}  // namespace

std::string gsiRecord(int row, int count, const TenthsAt& tenths, const std::string& lineEnd)
{
    // The row number is written with leading zeros, as in the published
    // files: a blank-padded one would take digits of the first value.
    std::string rowNumber = std::to_string(row);
    rowNumber.insert(0, rowNumber.size() < 3 ? 3 - rowNumber.size() : 0, '0');
    std::string text = field(533945, 6) + rowNumber;
    for (int m = 0; m < count; ++m) {
        text += field(tenths(row, m), 5);
        if (m % 10 == 9)
            text += lineEnd;
    }
    return text;
}

std::string gsi50SheetText(const TenthsAt& tenths, const std::string& lineEnd)
{
    std::string text = "533945 sheet header  1 2 3" + lineEnd;
    for (int k = 0; k < 200; ++k)
        text += gsiRecord(k, 200, tenths, lineEnd);
    return text;
}

std::string gsi250CellText(const std::string& flags, const TenthsAt& tenths)
{
    std::string text(224, 'H');
    text += flags + "\n";
    for (int k = 0; k < 320; ++k)
        if (k < static_cast<int>(flags.size()) && flags[k] != '0')
            text += gsiRecord(k, 320, tenths);
    return text;
}

std::string sampleBytes(int value)
{
    const auto bits = static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
    return {static_cast<char>(bits >> 8), static_cast<char>(bits & 0xff)};
}

std::string hgtTile(const std::function<int(int, int)>& sample)
{
    std::string bytes;
    bytes.reserve(1201 * 1201 * 2);
    for (int r = 0; r < 1201; ++r)
        for (int c = 0; c < 1201; ++c)
            bytes += sampleBytes(sample(r, c));
    return bytes;
}

void writeSrtm30Row(const std::string& path, int row, const std::function<int(int)>& sample)
{
    constexpr off_t rowBytes = 4800 * 2;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT, 0644);
    if (fd < 0)
        throw std::runtime_error("cannot open " + path);
    struct stat info;
    if (::fstat(fd, &info) == 0 && info.st_size < 6000 * rowBytes && ::ftruncate(fd, 6000 * rowBytes) != 0) {
        ::close(fd);
        throw std::runtime_error("cannot size " + path);
    }
    std::string bytes;
    for (int c = 0; c < 4800; ++c)
        bytes += sampleBytes(sample(c));
    const bool written = ::pwrite(fd, bytes.data(), bytes.size(), row * rowBytes) ==
                         static_cast<ssize_t>(bytes.size());
    ::close(fd);
    if (!written)
        throw std::runtime_error("cannot write " + path);
}
