#pragma once
// "MtJapan.txt" and "MtWorld.txt", the summit lists, read into the summit table.

namespace orvex {

// Packed DDD.MMSSss degrees-minutes-seconds to decimal degrees.
double dms2deg(double packed);

struct ElevationGrid;
struct MountainTable;

// Reads both summit lists from the working directory into the table, placed
// in the grid's frame; runs after the loader, whose area edges and shifts it
// uses.
void readmountain(MountainTable& mountains, const ElevationGrid& grid);
void readmountain(); // the process-wide table and grid

} // namespace orvex
