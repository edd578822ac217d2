#pragma once
// Opening and reading the elevation files. Published copies of the data sets
// differ in the case of their names (N35E139.hgt, E100N40.DEM, upper- or
// lower-case mesh discs), while the loaders build one fixed spelling.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Opens `path` with the stdio `mode`. When the path does not exist, each of
// its components is looked up in turn ignoring ASCII case. `openedPath` gets
// the path actually opened. Returns null when nothing opens; a directory does
// not count as an opened file.
FileHandle openDataFile(const std::string& path, const char* mode, std::string& openedPath);

// An existing path that matches `path` component by component, ignoring
// ASCII case (an exactly matching component wins); empty when none does.
std::string findPathIgnoringCase(const std::string& path);

// Everything from the current position to the end of the file (or to the
// first read error).
std::string readRest(std::FILE* file);

// Reads up to `count` bytes from byte `offset`; returns how many arrived. A
// file that ends early gives fewer, a failed seek none.
std::size_t readBytesAt(std::FILE* file, std::int64_t offset, unsigned char* buffer, std::size_t count);
