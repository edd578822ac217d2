#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "data/grid.h"
#include "startup/view_state.h"
#include "startup/window_operations.h"

namespace {

namespace fs = std::filesystem;

// Each test runs in a fresh empty working directory, where orvex.env lives.
class ViewStateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "orvex-view-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        scratch_ = pattern;
        fs::current_path(scratch_);
        view = ViewState{};
    }
    void TearDown() override
    {
        fs::current_path(previous_);
        fs::remove_all(scratch_);
    }
    static void writeEnv(const std::string& text) { std::ofstream("orvex.env", std::ios::binary) << text; }
    static std::string envText()
    {
        std::ostringstream text;
        text << std::ifstream("orvex.env", std::ios::binary).rdbuf();
        return text.str();
    }
    // What loading a file gives, in the file's order.
    static std::string loaded(const std::string& text)
    {
        view = ViewState{};
        writeEnv(text);
        loadViewState();
        std::ostringstream values;
        values << view.windowWidth << " " << view.windowHeight << " " << view.brightness << " " << view.sunAzimuth
               << " " << view.sunElevation << " " << view.blendColours << " " << view.nameMode;
        return values.str();
    }

private:
    fs::path previous_ = fs::current_path();
    fs::path scratch_;
};

TEST_F(ViewStateTest, SavesExactlySixLinesBesideAndRenamed)
{
    saveViewState();
    EXPECT_EQ(envText(), "2 0\n700 550\n1.000\n250.0 30.0\n1\n0\n");
    view = {.windowWidth = 1024, .windowHeight = 333, .brightness = 0.35, .sunAzimuth = 123.45,
            .sunElevation = 7.96, .blendColours = 0, .nameMode = 2};
    saveViewState();
    EXPECT_EQ(envText(), "2 0\n1024 333\n0.350\n123.5 8.0\n0\n2\n");
    EXPECT_EQ(loaded(envText()), "1024 333 0.35 123.5 8 0 2");
    EXPECT_EQ(std::distance(fs::directory_iterator("."), {}), 1);  // nothing left beside it
    // When the file cannot be written the old one stays whole.
    fs::create_directory("orvex.env.tmp" + std::to_string(getpid()));
    view.brightness = 0.25;
    saveViewState();
    EXPECT_EQ(envText(), "2 0\n1024 333\n0.350\n123.5 8.0\n0\n2\n");
}

TEST_F(ViewStateTest, ReadingKeepsDefaultsFromTheFirstBadValueAndRepairs)
{
    const std::string defaults = "700 550 1 250 30 1 0";
    const struct {
        const char* file;
        const char* values;
    } cases[] = {
        {"", "700 550 1 250 30 1 0"},
        {"2 1\n800 600\n0.5\n100 10\n0\n1\n", "700 550 1 250 30 1 0"},  // another version: ignored
        {"  2\t0 800\r\n600 0.5 100.25\n\n 10 0 2", "800 600 0.5 100.25 10 0 2"},  // only the order counts
        {"2 0\n700 550\n0.000\n10.0 -5.0\n5\n3\n", "700 550 1 10 -5 0 0"},  // repairs; the sun as read
        {"2 0\n700 550\n-2\n250 30\n-1\n-1\n", "700 550 1 250 30 0 0"},
        {"2 0\n800 600\nbright\n100 10\n0\n2\n", "800 600 1 250 30 1 0"},
        {"2 0\n800 600\n0.5\n100 10x\n0\n2\n", "800 600 0.5 100 10 1 0"},  // the x stops the rest
        // Not finite numbers and integers out of range are unreadable too.
        {"2 0\n800 600\nnan\n100 10\n0\n2\n", "800 600 1 250 30 1 0"},
        {"2 0\n800 600\n-inf\n100 10\n0\n2\n", "800 600 1 250 30 1 0"},
        {"2 0\n800 600\n0.5\n1e999 10\n0\n2\n", "800 600 0.5 250 30 1 0"},
        {"2 0\n800 99999999999\n0.5\n", "800 550 1 250 30 1 0"},
        {"2 0\n800 600\n0.5\n100 10\n0\n4294967298\n", "800 600 0.5 100 10 0 0"},
        // Sizes the window system cannot make fall back to 700 x 550.
        {"2 0\n0 550\n0.5\n", "700 550 0.5 250 30 1 0"},
        {"2 0\n-640 480\n", "700 550 1 250 30 1 0"},
        {"2 0\n16385 400\n", "700 550 1 250 30 1 0"},
        {"2 0\n16384 1\n", "16384 1 1 250 30 1 0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(loaded(c.file), c.values) << c.file;
    fs::remove("orvex.env");
    EXPECT_EQ(loaded(""), defaults);
}

// A 2 x 3 grid: enough to give the scene its size.
void makeSmallGrid()
{
    allocategrid(2, 3, srtm3Constants);
    for (int i = 0; i < 6; ++i)
        grid.points[i].sampleState = 0;
    grid.areaNorth = 35;
    finishgrid(srtm3Constants);
}

TEST_F(ViewStateTest, InitViewSizesTheSceneThenReadsTheFileOverTheDefaults)
{
    makeSmallGrid();
    view.brightness = 0.1;  // left over: the defaults come first
    writeEnv("2 0\n640 480\n");
    initView();
    const GridPoint &first = grid.points[0], &last = grid.points[5];
    const double radius = std::hypot(double(first.y) - last.y, double(first.x) - last.x) / 2;
    EXPECT_DOUBLE_EQ(view.sceneRadius, radius);
    EXPECT_FLOAT_EQ(view.sceneCentre[0], (first.y + last.y) / 2);
    EXPECT_FLOAT_EQ(view.sceneCentre[1], (first.x + last.x) / 2);
    EXPECT_FLOAT_EQ(view.sceneCentre[2], 0.2 * radius);
    EXPECT_DOUBLE_EQ(view.orbitDistance, 1.8 * radius);
    EXPECT_DOUBLE_EQ(view.rangeSquared, 8 * radius * radius);
    EXPECT_EQ(std::pair(view.windowWidth, view.windowHeight), std::pair(640, 480));
    EXPECT_EQ(view.brightness, 1.0);
    EXPECT_NEAR(first.normal[2], 1, 1e-3);  // the mesh attributes are there
}

TEST_F(ViewStateTest, ResetPutsTheEyeOnItsOrbitAndSetsCameraAndProjection)
{
    makeSmallGrid();
    initView();
    static int calls;
    calls = 0;
    windowOperations = {[] { calls += 1; }, [] { calls += 10; }};
    view.gridStep = 4;
    view.dragMode = 2;
    view.fovy = 10;
    resetView(90, 90);  // level with the centre, due east
    EXPECT_NEAR(view.eye[0], view.sceneCentre[0], 1e-3);
    EXPECT_NEAR(view.eye[1], view.sceneCentre[1] + view.orbitDistance, 1e-3);
    EXPECT_NEAR(view.eye[2], view.sceneCentre[2], 1e-3);
    EXPECT_EQ(std::vector<float>(view.target, view.target + 3),
              std::vector<float>(view.sceneCentre, view.sceneCentre + 3));
    EXPECT_EQ(view.fovy, 50);
    EXPECT_DOUBLE_EQ(view.speed, 0.02 * view.sceneRadius);
    EXPECT_EQ(std::pair(view.gridStep, view.dragMode), std::pair(1, 0));
    EXPECT_EQ(calls, 11);
    windowOperations = {[] {}, [] {}};
    double v[3];
    sphericalToCartesian(2, 30, 90, v);  // azimuth turns from south towards east
    EXPECT_NEAR(v[0], 0, 1e-12);
    EXPECT_NEAR(v[1], 1, 1e-12);
    EXPECT_NEAR(v[2], std::sqrt(3.0), 1e-12);
}

}  // namespace
