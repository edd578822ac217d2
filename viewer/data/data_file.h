#pragma once
// Opening and reading the viewer's files. Published copies of the data sets
// differ in the case of their names (N35E139.hgt, E100N40.DEM, upper- or
// lower-case mesh discs), while the loaders build one fixed spelling.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace orvex {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Opens the data file `path` with the stdio `mode`. When the path does not
// exist, each of its components is looked up in turn ignoring ASCII case.
// Prints "Reading %s ...\n" with the path opened, or, when nothing opens,
// "*** <missingTag> : %s not found.\n" with the path as built and returns
// null. A directory does not count as an opened file.
FileHandle openAnnounced(const std::string& path, const char* mode, const char* missingTag);

// An existing path that matches `path` component by component, ignoring
// ASCII case (an exactly matching component wins); empty when none does.
std::string findPathIgnoringCase(const std::string& path);

// Everything from the current position to the end of the file (or to the
// first read error), at most `limit` bytes.
std::string readRest(std::FILE* file, std::size_t limit = std::string::npos);

// The first `limit` bytes of the file at exactly `path`; nothing when it
// cannot be opened or read (a directory opens, but does not read).
std::optional<std::string> readTextFile(const std::string& path, std::size_t limit = std::string::npos);

// Reads up to `count` bytes from byte `offset`; returns how many arrived. A
// file that ends early gives fewer, a failed seek none.
std::size_t readBytesAt(std::FILE* file, std::int64_t offset, unsigned char* buffer, std::size_t count);

// `value` right-aligned in at least `width` characters, padded on the left
// with `fill` (blanks as "%*d" prints it, or zeros).
std::string padNumber(long long value, int width, char fill = ' ');

} // namespace orvex
