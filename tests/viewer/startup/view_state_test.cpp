#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <unistd.h>

#include "app/init_view.h"
#include "data/view_state_file.h"
#include "scratch_dir.h"
#include "state/colour_table.h"
#include "state/grid.h"
#include "state/view_state.h"

using namespace orvex;
using namespace testing_support;

namespace {

// The saved fields after loading `text` as orvex.env, in the file's order.
std::string loaded(const std::string& text)
{
    ViewState view;
    writeFile("orvex.env", text);
    loadViewState(view);
    std::ostringstream values;
    values << view.windowWidth << " " << view.windowHeight << " " << view.brightness << " " << view.sunAzimuth
           << " " << view.sunElevation << " " << view.blendColours << " " << static_cast<int>(view.nameMode);
    return values.str();
}

TEST(ViewStateFile, SavingWritesSixLinesThroughARenamedTemporaryFile)
{
    ScratchDir cwd(ScratchDir::Enter::yes);
    saveViewState({.windowWidth = 1024,
                   .windowHeight = 333,
                   .brightness = 0.35,
                   .sunAzimuth = 123.45,
                   .sunElevation = 7.96,
                   .blendColours = 0,
                   .nameMode = NameMode::small});
    EXPECT_EQ(fileText("orvex.env"), "2 0\n1024 333\n0.350\n123.5 8.0\n0\n2\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 1); // nothing left beside it
    std::filesystem::create_directory("orvex.env.tmp" + std::to_string(getpid()));
    saveViewState(ViewState{});
    EXPECT_EQ(loaded(fileText("orvex.env")), "1024 333 0.35 123.5 8 0 2");
}

TEST(ViewStateFile, ReadingKeepsDefaultsFromTheFirstBadValueOn)
{
    // No file, another version (ignored), only the order counts, repairs (the
    // sun as read), the x stops the rest; numbers that are not finite and
    // integers beyond int are unreadable too; a size the window system cannot
    // make falls back to 700 x 550.
    ScratchDir cwd(ScratchDir::Enter::yes);
    const std::pair<const char*, const char*> cases[] = {
        {"", "700 550 1 250 30 1 0"},
        {"2 1\n800 600\n0.5\n100 10\n0\n1\n", "700 550 1 250 30 1 0"},
        {"  2\t0 800\r\n600 0.5 100.25\n\n 10 0 2", "800 600 0.5 100.25 10 0 2"},
        {"2 0\n700 550\n0.000\n10.0 -5.0\n5\n3\n", "700 550 1 10 -5 0 0"},
        {"2 0\n800 600\nbright\n100 10\n0\n2\n", "800 600 1 250 30 1 0"},
        {"2 0\n800 600\n0.5\n100 10x\n0\n2\n", "800 600 0.5 100 10 1 0"},
        {"2 0\n800 600\n-inf\n100 10\n0\n2\n", "800 600 1 250 30 1 0"},
        {"2 0\n800 600\n0.5\n1e999 10\n0\n2\n", "800 600 0.5 250 30 1 0"},
        {"2 0\n800 600\n0.5\n100 10\n0\n4294967298\n", "800 600 0.5 100 10 0 0"},
        {"2 0\n800 99999999999\n0.5\n", "800 550 1 250 30 1 0"},
        {"2 0\n-640 480\n", "700 550 1 250 30 1 0"},
        {"2 0\n16385 400\n", "700 550 1 250 30 1 0"},
        {"2 0\n16384 1\n", "16384 1 1 250 30 1 0"},
        {"2 0\n640 480 1 0 0 1 1\n", "640 480 1 0 0 1 1"}};
    for (const auto& [file, values] : cases)
        EXPECT_EQ(loaded(file), values) << file;
}

TEST(ViewState, InitSizesTheSceneResetPutsTheEyeOnItsOrbit)
{
    ScratchDir cwd(ScratchDir::Enter::yes);
    ElevationGrid grid; // 3 x 4 points of 30" at 35 degrees north: 1851.9 m by 2275.7 m
    allocategrid(grid, 3, 4, srtm30Constants);
    grid.areaNorth = 35;
    finishgrid(grid, srtm30Constants);
    ViewState view{.brightness = 0.1}; // left over: the defaults come first
    writeFile("orvex.env", "2 0\n640 480\n");
    initView(view, grid, ColourTable{});
    EXPECT_NEAR(view.sceneRadius, 1466.97, 0.01); // half the diagonal
    EXPECT_NEAR(view.sceneCentre[0], 0, 1e-3);
    EXPECT_NEAR(view.sceneCentre[1], 0.12, 0.01);   // the southern row is a little wider
    EXPECT_NEAR(view.sceneCentre[2], 293.39, 0.01); // 0.2 scene radii up
    EXPECT_NEAR(view.rangeSquared, 8 * 1466.97 * 1466.97, 100);
    EXPECT_EQ(std::tuple(view.windowWidth, view.windowHeight, view.brightness), std::tuple(640, 480, 1.0));
    EXPECT_NEAR(grid.points[0].normal[2], 1, 1e-3); // the mesh attributes are there

    resetView(view, 90, 90); // level with the centre, due east: the azimuth turns from south towards east
    EXPECT_NEAR(view.eye[0], view.sceneCentre[0], 1e-3);
    EXPECT_NEAR(view.eye[1], view.sceneCentre[1] + 1.8 * view.sceneRadius, 1e-3);
    EXPECT_NEAR(view.eye[2], view.sceneCentre[2], 1e-3);
}

} // namespace
