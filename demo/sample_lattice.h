#pragma once
// Where the samples of one data set lie: rows run south from `north`, columns
// east from `west`, at whole fractions of a degree. Positions are computed
// by division from the integer index so that two lattices that share a line
// (tiles sharing an edge, finer meshes over coarser ones) give exactly the
// same coordinates there.

namespace demo {

struct SampleLattice {
    double north;      // latitude of row 0, degrees
    double west;       // longitude of column 0, degrees
    int rowsPerDegree; // 2400 for 1/2400 degree, ...
    int colsPerDegree;
    int rows;
    int cols;

    double lat(int row) const { return north - static_cast<double>(row) / rowsPerDegree; }
    double lon(int col) const { return west + static_cast<double>(col) / colsPerDegree; }
};

} // namespace demo
