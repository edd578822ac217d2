#pragma once
// The sheet-name index files ZUMEI.CSV that tell the map where data exists:
// Shift-JIS text, CR LF line ends, a header line, then "code,name,..." lines.

#include <string>
#include <vector>

#include "mesh_codes.h"

namespace demo {

struct IndexLine {
    int code;
    std::string name; // UTF-8
    double south;     // edges of the sheet or cell, degrees
    double west;
};

// Name of a demo 50 m sheet: a well-known place inside it, or "デモ" and the
// code's last two digits (its row and column) where none is known.
std::string sheetName50(MapCell sheet);

// Name of a demo 250 m cell, or "デモ" and the code.
std::string cellName250(int code);

// The index as UTF-8 text: header, one line per entry, CR LF after each.
std::string indexText(const std::vector<IndexLine>& lines);

// Converts UTF-8 text to Shift-JIS with the C library's iconv; throws
// std::runtime_error on a character Shift-JIS cannot hold.
std::string toShiftJis(const std::string& utf8);

// The reverse, for checking what was written.
std::string fromShiftJis(const std::string& sjis);

} // namespace demo
