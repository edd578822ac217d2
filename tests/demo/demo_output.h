#pragma once
// The demo terrain, and the data set that the ctest test demo_data makes
// from it once per test run with make-demo-data (GSI50M, GSI250M, SRTM3 and
// SRTM30 below the folder).

#include <filesystem>

#include "coastline.h"
#include "terrain.h"

inline const demo::DemoTerrain& demoTerrain()
{
    static const demo::DemoTerrain terrain(demo::readCoastline(DEMO_COASTLINE));
    return terrain;
}

inline const std::filesystem::path demoDir = DEMO_DATA_DIR;
