#pragma once
// The GSI base map DEM (基盤地図情報 数値標高モデル) in its downloaded form: one
// JPGIS GML document per mesh, 10 m points per 1:25,000 sheet (DEM10A,
// DEM10B) or 5 m points per tertiary mesh (DEM5A, DEM5B, DEM5C). Each
// document holds the mesh's envelope, its grid size and a tuple list of
// "kind,metres" points, west to east in rows from the north, from a start
// point on; a list that ends early leaves the rest of the mesh without data.

#include <compare>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvex {

enum class FgdResolution : std::uint8_t { metres10, metres5 };

// Points of one mesh file: 10 m, 1125 x 750 over a sheet of 7.5' x 5'; 5 m,
// 225 x 150 over a tertiary mesh of 45" x 30".
struct FgdMeshShape {
    int cols;
    int rows;
    double width;  // degrees of longitude
    double height; // degrees of latitude
};
FgdMeshShape fgdMeshShape(FgdResolution resolution);

// A mesh's place: primary cell PPQQ, sheet row p (from the south) and column
// q (from the west), 0-7; for 5 m also the tertiary row r and column s, 0-9
// (-1 for a sheet).
struct MeshCode {
    int pp = 0;
    int qq = 0;
    int p = 0;
    int q = 0;
    int r = -1;
    int s = -1;
    auto operator<=>(const MeshCode&) const = default;
};

// The south-west corner of the mesh, degrees.
double meshSouth(const MeshCode& code);
double meshWest(const MeshCode& code);

// What a file's name or header tells of it. The survey letter and the date
// come only from a name: FG-GML-PPQQ-pq-DEM10B-YYYYMMDD.xml,
// FG-GML-PPQQ-pq-rs-DEM5A-YYYYMMDD.xml, or the archives of one kind,
// FG-GML-PPQQ-pq-DEM5A.zip, which carry no date.
struct FgdName {
    FgdResolution resolution = FgdResolution::metres10;
    char survey = 0; // 'A', 'B' or 'C'; 0 unknown
    MeshCode code;
    int date = 0; // YYYYMMDD; 0 unknown
    bool operator==(const FgdName&) const = default;
};

// The name's parts, in upper or lower case, whatever its extension;
// nothing for any other name. `fileName` has no folder. A 5 m name without
// rs is the archive of a whole sheet (code.r and code.s -1).
std::optional<FgdName> parseFgdName(std::string_view fileName);

enum class FgdClass : std::uint8_t { ground, surface, sea, inlandWater, noData, other };

// Metres of a point without a value: the published -9999., and any value
// outside fgdLowest .. fgdHighest, which no point of the country can have.
inline constexpr float fgdNoValue = -9999.0f;
inline constexpr float fgdLowest = -500.0f;
inline constexpr float fgdHighest = 10000.0f;

struct FgdMesh {
    FgdName name; // the code and resolution checked against the header
    int cols = 0;
    int rows = 0;
    // cols x rows, the north row first, each west to east. Points before
    // the start point and after the last tuple are noData with no value.
    std::vector<float> values;
    std::vector<FgdClass> classes;
};

// Parses one document as it streams in; the tuple list is never held as a
// whole. Sizes come from the resolution (the file name's, else the header's
// type or mesh code); the header may only confirm them.
class FgdMeshReader {
  public:
    explicit FgdMeshReader(std::string_view fileName);
    ~FgdMeshReader();
    FgdMeshReader(const FgdMeshReader&) = delete;
    FgdMeshReader& operator=(const FgdMeshReader&) = delete;

    // The next bytes of the document; false once it is known to be bad.
    bool feed(std::string_view bytes);
    // The document has come to its tuple list: everything that names the
    // mesh lies before it.
    bool reachedTuples() const;
    // The mesh's place and resolution as far as the name and the header read
    // so far tell them.
    std::optional<FgdName> identity() const;
    // Ends the document: the mesh, or nothing and error() says why.
    std::optional<FgdMesh> finish();
    const std::string& error() const;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// One whole document; `error`, when given, receives why there is no mesh.
std::optional<FgdMesh> parseFgdMesh(std::string_view fileName, std::string_view xml,
                                    std::string* error = nullptr);

} // namespace orvex
