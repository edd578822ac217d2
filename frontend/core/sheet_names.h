#pragma once
// Sheet-name tables of the map and the index files ZUMEI.CSV that fill them.

#include "core/map_cells.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

namespace skyloom {

struct MapState;

// One name per map cell of a mesh, indexed by (X, Y); an empty text means
// no name.
class SheetNameTable {
  public:
    SheetNameTable(int cols, int rows);

    int cols() const { return cols_; }
    int rows() const { return rows_; }
    bool contains(std::int64_t x, std::int64_t y) const;
    // (x, y) must lie inside the table.
    const QString& at(int x, int y) const;
    void set(int x, int y, QString name);

  private:
    int cols_;
    int rows_;
    std::vector<QString> names_;
};

// The two fields of an index line that the map uses.
struct IndexEntry {
    std::int64_t code = 0;
    QString name;
};

// Splits one decoded line (CR and LF may still end it): the first
// comma-separated field is the integer code, the second the name, with
// leading blanks skipped and enclosing double quotes removed. Nothing where
// the first field is not an integer.
std::optional<IndexEntry> parseIndexLine(QStringView line);

// "<dir>/ZUMEI.CSV"; a directory written with backslashes has them turned
// into "/".
QString indexPath(const QString& dataDir);

// A sheet line needs a few dozen bytes and the 50 m index about 70 000 of
// them; only the start of a longer line is read, and a file that goes on
// past the limit is cut there like one with a read error.
inline constexpr qint64 kLongestIndexLine = 4096;
inline constexpr qint64 kLongestIndexFile = 64 << 20;

// Reads one index file into the table by its mesh's code rule (the header
// line is skipped). Returns false on a read error or past kLongestIndexFile;
// names stored before it stay.
bool readIndexFile(const QString& path, Mesh mesh, SheetNameTable& table);

// Gives every cell the decimal text of its own code in the mesh.
void fillWithCodes(Mesh mesh, SheetNameTable& table);

// The SRTM tiles' names (N35E138) in each 1-degree tile's south-west cell of
// the half-degree block grid.
SheetNameTable blockNameTable();

// Fills sheetName50 and sheetName250 from the index files of the two data
// directories, with the one warning when neither exists. A failing file never
// keeps the other from being read or from getting its code texts.
void ReadMapName(MapState& state);

} // namespace skyloom
