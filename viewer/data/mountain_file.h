#pragma once
// "MtJapan.txt" and "MtWorld.txt", the summit lists, read into the summit table.

namespace orvex {

// Packed DDD.MMSSss degrees-minutes-seconds to decimal degrees.
double dms2deg(double packed);

// Reads both summit lists from the working directory; runs after the loader,
// whose area edges and shifts it uses.
void readmountain();

} // namespace orvex
