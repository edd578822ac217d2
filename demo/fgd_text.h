#pragma once
// The GSI base map DEM (基盤地図情報 数値標高モデル) as downloaded: one JPGIS
// GML document per mesh, a 10 m one (DEM10B) per 1:25,000 sheet, a 5 m one
// (DEM5A) per tertiary mesh (10 x 10 of them in a sheet). Each point stands
// at the centre of its cell: point (x, y) of a mesh lies (y + 1/2) steps
// south of its north edge and (x + 1/2) steps east of its west edge.

#include <string>

#include "mesh_codes.h"
#include "terrain.h"

namespace demo {

// Where a document's points lie: a whole sheet at 10 m, or the tertiary
// mesh in row r (0-9 from the south) and column s (0-9 from the west) of the
// sheet at 5 m.
struct FgdMeshPlace {
    MapCell sheet;
    int r = -1; // -1: the sheet at 10 m
    int s = -1;

    bool fiveMetres() const { return r >= 0; }
};

// The date in every name and header of the demo documents.
constexpr int fgdYear = 2024, fgdMonth = 1, fgdDay = 1;

// The points of the mesh: 1125 x 750 of 1/9000 degree at 10 m, 225 x 150 of
// 1/18000 degree at 5 m.
SampleLattice fgdLattice(const FgdMeshPlace& place);

// FG-GML-5338-05-DEM10B-20240101.xml, FG-GML-5338-05-38-DEM5A-20240101.xml
std::string fgdDocumentName(const FgdMeshPlace& place);
// The download of a sheet's meshes of one kind: FG-GML-5338-05-DEM10B.zip,
// FG-GML-5338-05-DEM5A.zip
std::string fgdArchiveName(MapCell sheet, bool fiveMetres);

// The document of the mesh; `points` holds its lattice's heights. Land is
// 地表面 with the height to the centimetre, sea 海水面,-9999.
std::string fgdDocument(const FgdMeshPlace& place, const Raster& points);

} // namespace demo
