#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "../test_files.h"
#include "app/init_view.h"
#include "data/view_state_file.h"
#include "state/grid.h"
#include "state/view_state.h"

using namespace orvex;

namespace {

// The saved fields after loading `text` as orvex.env, in the file's order.
std::string loaded(const std::string& text)
{
    view = ViewState{};
    writeFile("orvex.env", text);
    loadViewState();
    std::ostringstream values;
    values << view.windowWidth << " " << view.windowHeight << " " << view.brightness << " " << view.sunAzimuth
           << " " << view.sunElevation << " " << view.blendColours << " " << static_cast<int>(view.nameMode);
    return values.str();
}

TEST(ViewStateFile, SavesSixLinesBesideAndRenamedAndKeepsTheOldFileWhenItCannot)
{
    ScratchWorkingDir cwd;
    view = {.windowWidth = 1024,
            .windowHeight = 333,
            .brightness = 0.35,
            .sunAzimuth = 123.45,
            .sunElevation = 7.96,
            .blendColours = 0,
            .nameMode = NameMode::small};
    saveViewState();
    EXPECT_EQ(fileText("orvex.env"), "2 0\n1024 333\n0.350\n123.5 8.0\n0\n2\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 1); // nothing left beside it
    std::filesystem::create_directory("orvex.env.tmp" + std::to_string(getpid()));
    view = ViewState{};
    saveViewState();
    EXPECT_EQ(loaded(fileText("orvex.env")), "1024 333 0.35 123.5 8 0 2");
}

TEST(ViewStateFile, ReadingKeepsDefaultsFromTheFirstBadValueAndRepairs)
{
    ScratchWorkingDir cwd;
    const std::pair<const char*, const char*> cases[] = {
        {"", "700 550 1 250 30 1 0"},
        {"2 1\n800 600\n0.5\n100 10\n0\n1\n", "700 550 1 250 30 1 0"},            // another version: ignored
        {"  2\t0 800\r\n600 0.5 100.25\n\n 10 0 2", "800 600 0.5 100.25 10 0 2"}, // only the order counts
        {"2 0\n700 550\n0.000\n10.0 -5.0\n5\n3\n", "700 550 1 10 -5 0 0"},        // repairs; the sun as read
        {"2 0\n800 600\nbright\n100 10\n0\n2\n", "800 600 1 250 30 1 0"},
        {"2 0\n800 600\n0.5\n100 10x\n0\n2\n", "800 600 0.5 100 10 1 0"}, // the x stops the rest
        // Numbers that are not finite, and integers beyond int, are unreadable too.
        {"2 0\n800 600\n-inf\n100 10\n0\n2\n", "800 600 1 250 30 1 0"},
        {"2 0\n800 600\n0.5\n1e999 10\n0\n2\n", "800 600 0.5 250 30 1 0"},
        {"2 0\n800 600\n0.5\n100 10\n0\n4294967298\n", "800 600 0.5 100 10 0 0"},
        {"2 0\n800 99999999999\n0.5\n", "800 550 1 250 30 1 0"},
        // A size the window system cannot make falls back to 700 x 550.
        {"2 0\n-640 480\n", "700 550 1 250 30 1 0"},
        {"2 0\n16385 400\n", "700 550 1 250 30 1 0"},
        {"2 0\n16384 1\n", "16384 1 1 250 30 1 0"},
    };
    for (const auto& [file, values] : cases)
        EXPECT_EQ(loaded(file), values) << file;
}

TEST(ViewState, InitSizesTheSceneThenReadsTheFileAndResetPutsTheEyeOnItsOrbit)
{
    ScratchWorkingDir cwd;
    allocategrid(2, 3, srtm3Constants);
    grid.areaNorth = 35;
    finishgrid(srtm3Constants);
    view.brightness = 0.1; // left over: the defaults come first
    writeFile("orvex.env", "2 0\n640 480\n");
    initView();
    const GridPoint &first = grid.points[0], &last = grid.points[5];
    const double radius = std::hypot(double(first.y) - last.y, double(first.x) - last.x) / 2;
    EXPECT_DOUBLE_EQ(view.sceneRadius, radius);
    EXPECT_FLOAT_EQ(view.sceneCentre[0], (first.y + last.y) / 2);
    EXPECT_FLOAT_EQ(view.sceneCentre[1], (first.x + last.x) / 2);
    EXPECT_FLOAT_EQ(view.sceneCentre[2], 0.2 * radius);
    EXPECT_DOUBLE_EQ(view.rangeSquared, 8 * radius * radius);
    EXPECT_EQ(std::tuple(view.windowWidth, view.windowHeight, view.brightness), std::tuple(640, 480, 1.0));
    EXPECT_NEAR(first.normal[2], 1, 1e-3); // the mesh attributes are there

    resetView(90, 90); // level with the centre, due east: the azimuth turns from south towards east
    EXPECT_NEAR(view.eye[0], view.sceneCentre[0], 1e-3);
    EXPECT_NEAR(view.eye[1], view.sceneCentre[1] + 1.8 * radius, 1e-3);
    EXPECT_NEAR(view.eye[2], view.sceneCentre[2], 1e-3);
}

} // namespace
