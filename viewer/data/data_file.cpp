#include "data/data_file.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>

#include "state/load_progress.h"

namespace orvex {

namespace {

bool pathExists(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringAsciiCase(const std::string& a, const char* b)
{
    std::size_t i = 0;
    for (; i < a.size(); ++i) {
        if (b[i] == '\0' || asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    }
    return b[i] == '\0';
}

// The entry of `directory` that equals `name` ignoring ASCII case; the
// smallest such name when several do, so the choice never depends on the
// order in which the directory lists them.
std::string matchInDirectory(const std::string& directory, const std::string& name)
{
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory.c_str()), &::closedir);
    if (!dir)
        return {};
    std::string best;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (equalIgnoringAsciiCase(name, entry->d_name) && (best.empty() || best > entry->d_name))
            best = entry->d_name;
    }
    return best;
}

bool isDirectory(std::FILE* file)
{
    struct stat info;
    return ::fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

std::string findPathIgnoringCase(const std::string& path)
{
    std::string found;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find('/', start);
        const bool last = end == std::string::npos;
        const std::string part = path.substr(start, last ? std::string::npos : end - start);
        if (!part.empty()) {
            std::string candidate = found + part;
            if (!pathExists(candidate)) {
                const std::string match = matchInDirectory(found.empty() ? "." : found, part);
                if (match.empty())
                    return {};
                candidate = found + match;
            }
            found = std::move(candidate);
        }
        if (last)
            return found;
        found += '/';
        start = end + 1;
    }
}

FileHandle openAnnounced(const std::string& path, const char* mode, const char* missingTag)
{
    std::string opened = path;
    FileHandle file(std::fopen(path.c_str(), mode));
    if (!file && (errno == ENOENT || errno == ENOTDIR)) {
        const std::string other = findPathIgnoringCase(path);
        if (!other.empty() && other != path) {
            file.reset(std::fopen(other.c_str(), mode));
            opened = other;
        }
    }
    if (file && isDirectory(file.get()))
        file.reset();
    if (file)
        loadProgress().print("Reading " + opened + " ...\n", 1);
    else
        loadProgress().print(std::string("*** ") + missingTag + " : " + path + " not found.\n", 1);
    return file;
}

std::string readRest(std::FILE* file, std::size_t limit)
{
    std::string text;
    struct stat info;
    if (::fstat(fileno(file), &info) == 0 && info.st_size > 0)
        text.reserve(std::min(static_cast<std::size_t>(info.st_size), limit));
    constexpr std::size_t chunk = 1 << 16;
    while (text.size() < limit) {
        const std::size_t used = text.size();
        const std::size_t wanted = std::min(chunk, limit - used);
        text.resize(used + wanted);
        const std::size_t got = std::fread(text.data() + used, 1, wanted, file);
        text.resize(used + got);
        loadProgress().addBytesRead(got);
        if (got < wanted)
            break;
    }
    return text;
}

std::optional<std::string> readTextFile(const std::string& path, std::size_t limit)
{
    const FileHandle file(std::fopen(path.c_str(), "r"));
    if (!file)
        return std::nullopt;
    std::string text = readRest(file.get(), limit);
    if (std::ferror(file.get()))
        return std::nullopt;
    return text;
}

std::size_t readBytesAt(std::FILE* file, std::int64_t offset, unsigned char* buffer, std::size_t count)
{
    if (offset < 0 || ::fseeko(file, static_cast<off_t>(offset), SEEK_SET) != 0)
        return 0;
    const std::size_t got = std::fread(buffer, 1, count, file);
    loadProgress().addBytesRead(got);
    return got;
}

std::string padNumber(long long value, int width, char fill)
{
    std::string digits = std::to_string(value);
    if (digits.size() < static_cast<std::size_t>(width))
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), fill);
    return digits;
}

} // namespace orvex
