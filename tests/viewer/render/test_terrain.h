#pragma once
// Small terrains, colour tables and view states for the renderer's tests.

#include <functional>

#include "../test_files.h"

using namespace orvex;

// A rows x cols grid of 1/1200-degree spacing near 35.5 N whose elevation at
// (row, col) is height(row, col); a sample is void where isVoid says so.
void makeTestTerrain(int rows, int cols, const std::function<float(int, int)>& height,
                     const std::function<bool(int, int)>& isVoid = {});

// Hills and valleys rising to the south-east from a low plain.
float rollingHills(int row, int col);

// The front-end's default table: seven bands, sea (0, 0, 255), background (200, 200, 255).
void useDefaultColours();

// A fresh view state and summit table; window operations that do nothing.
void resetViewStateForTest();
