#pragma once
// Small data files written by the loader tests, and what a loader prints.

#include <functional>
#include <string>
#include <vector>

#include "../test_files.h"

using namespace orvex;

// What `load` prints, with the path of `dir` shown as "D".
std::string printed(const ScratchDir& dir, const std::function<void()>& load);

// Where the loaded grid lies: areaNorth, areaSouth, areaWest, areaEast,
// mountainShiftY, mountainShiftX, labelLift, and the distance in metres from
// row 0 to row 1.
std::vector<double> placement();

// The statement ends the process through fatalError with a message matching
// `pattern`; standard input is closed, so nothing waits for Enter.
#define EXPECT_FATAL(statement, pattern)                                                                     \
    EXPECT_EXIT(                                                                                             \
        {                                                                                                    \
            std::fclose(stdin);                                                                              \
            statement;                                                                                       \
        },                                                                                                   \
        testing::ExitedWithCode(1), pattern)

// Elevation in tenths of a metre at (row, column) of a sheet or cell.
using TenthsAt = std::function<int(int, int)>;

// A record: a "%6d%3d" head, then `count` "%5d" values of row `row`, broken
// into lines of 10 values (none when lineEnd is empty).
std::string gsiRecord(int row, int count, const TenthsAt& tenths, const std::string& lineEnd = "\n");

// A 50 m sheet: a header line, then 200 records of 200 values.
std::string gsi50SheetText(const TenthsAt& tenths);

// A 250 m cell: 224 header characters, the row flags, then a record of 320
// values for every row not flagged '0'.
std::string gsi250CellText(const std::string& flags, const TenthsAt& tenths);

// An SRTM3 tile of 1201 x 1201 big-endian samples.
std::string hgtTile(const std::function<int(int, int)>& sample);

// Writes row `row` of the SRTM30 tile at `path` (4800 samples,
// sample(column)), making the tile a sparse file of 6000 rows first.
void writeSrtm30Row(const std::string& path, int row, const std::function<int(int)>& sample);
