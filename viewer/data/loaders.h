#pragma once
// One loader per data set; each allocates the grid, reads its files and
// finishes the grid. Bad arguments end through fatalError.

#include <string>

void readgsi50(const std::string& dir, int a, int b, int c);
void readgsi250(const std::string& dir, int a, int b, int c);

void readsrtm30(const std::string& dir, int p1, int p2, int p3, int p4);
void readsrtm30block(const std::string& dir, int i, int j, int p1, int p2);
void dem30name(const std::string& dir, int tileRow, int tileCol, std::string& path);

void readsrtm3(const std::string& dir, int p1, int p2, int p3, int p4, int mode,
               const std::string& srtm30Dir);
void readsrtm3block(const std::string& dir, int i, int j, int p1, int p2);
void fillsrtm3block(const std::string& srtm30Dir, int i, int j, int p1, int p2);
void dem3name(const std::string& dir, int degreeRow, int degreeCol, std::string& path);

// GSI 10 m / 5 m DEM (data/fgd_loader.h) over the global grid.
void readfgd10(const std::string& dir, int a, int b, int c);
void readfgd5(const std::string& dir, int a, int b, int c);
