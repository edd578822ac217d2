#pragma once
// Small terrains, colour tables and view states for the renderer's tests.

#include <functional>

// Allocates and finishes a rows x cols grid of 1/1200-degree spacing near
// 35 degrees north whose elevation at (row, col) is height(row, col); every
// sample is valid unless void(row, col) says otherwise.
void makeTestTerrain(int rows, int cols, const std::function<float(int, int)>& height,
                     const std::function<bool(int, int)>& isVoid = {});

// Hills and valleys rising to the south-east, from a low plain near sea level.
float rollingHills(int row, int col);

// The front-end's default colour file: seven bands, sea, background.
void useDefaultColours();

// Fresh view state and the window operations back to doing nothing.
void resetViewStateForTest();

#include <string>

// A fresh empty working directory for the life of the object; the old one
// comes back afterwards.
class ScratchWorkingDirectory {
public:
    ScratchWorkingDirectory();
    ~ScratchWorkingDirectory();
    ScratchWorkingDirectory(const ScratchWorkingDirectory&) = delete;
    ScratchWorkingDirectory& operator=(const ScratchWorkingDirectory&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string previous_;
    std::string path_;
};

// The whole content of a file; empty when it does not exist.
std::string fileText(const std::string& path);
bool fileExists(const std::string& path);
