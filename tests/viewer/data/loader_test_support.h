#pragma once
// Small data files written by the loader tests, and a way to see what a
// loader prints.

#include <cstdint>
#include <functional>
#include <string>

// A fresh directory under /tmp, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Writes `bytes` to `path`, creating the folders on the way.
void writeFile(const std::string& path, const std::string& bytes);

// What `action` writes to standard output.
std::string captureStdout(const std::function<void()>& action);

// Elevation in tenths of a metre at (row, column) of a sheet or cell.
using TenthsAt = std::function<int(int, int)>;

// A 50 m sheet file: a header line, then 200 records of a "%6d%3d" head and
// 200 "%5d" values, broken into lines of 10 values as the published files are.
std::string gsi50SheetText(const TenthsAt& tenths, const std::string& lineEnd = "\n");

// A 250 m cell file: 224 header characters, the given row flags, then one
// record of 320 values for every row not flagged '0'.
std::string gsi250CellText(const std::string& flags, const TenthsAt& tenths);

// A record: head fields then `count` values of row `row`.
std::string gsiRecord(int row, int count, const TenthsAt& tenths, const std::string& lineEnd = "\n");

// An SRTM3 tile of 1201 x 1201 big-endian samples.
std::string hgtTile(const std::function<int(int, int)>& sample);

// Writes one row of an SRTM30 tile (4800 samples, sample(column)) into the
// tile at `path`, creating it as a sparse file of the full 6000 rows first.
void writeSrtm30Row(const std::string& path, int row, const std::function<int(int)>& sample);

// A big-endian 16-bit sample.
std::string sampleBytes(int value);
