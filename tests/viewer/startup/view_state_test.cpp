#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "data/grid.h"
#include "startup/text_numbers.h"
#include "startup/view_state.h"
#include "startup/window_operations.h"

namespace {

namespace fs = std::filesystem;

// Each test runs in a fresh empty working directory, where orvex.env lives.
class ViewStateFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = fs::current_path();
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
        std::ifstream in("orvex.env", std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void expectDefaults()
    {
        EXPECT_EQ(view.windowWidth, 700);
        EXPECT_EQ(view.windowHeight, 550);
        EXPECT_EQ(view.brightness, 1.0);
        EXPECT_EQ(view.sunAzimuth, 250);
        EXPECT_EQ(view.sunElevation, 30);
        EXPECT_EQ(view.blendColours, 1);
        EXPECT_EQ(view.nameMode, 0);
    }

private:
    fs::path previous_;
    fs::path scratch_;
};

TEST_F(ViewStateFileTest, DefaultsAreSavedInTheExactFormat)
{
    saveViewState();
    EXPECT_EQ(envText(), "2 0\n700 550\n1.000\n250.0 30.0\n1\n0\n");
    EXPECT_FALSE(fs::exists("orvex.env.new"));
}

TEST_F(ViewStateFileTest, SavedValuesComeBack)
{
    view.windowWidth = 1024;
    view.windowHeight = 333;
    view.brightness = 0.35;
    view.sunAzimuth = 123.45;
    view.sunElevation = 7.96;
    view.blendColours = 0;
    view.nameMode = 2;
    saveViewState();
    EXPECT_EQ(envText(), "2 0\n1024 333\n0.350\n123.5 8.0\n0\n2\n");
    view = ViewState{};
    loadViewState();
    EXPECT_EQ(view.windowWidth, 1024);
    EXPECT_EQ(view.windowHeight, 333);
    EXPECT_EQ(view.brightness, 0.35);
    EXPECT_EQ(view.sunAzimuth, 123.5);
    EXPECT_EQ(view.sunElevation, 8.0);
    EXPECT_EQ(view.blendColours, 0);
    EXPECT_EQ(view.nameMode, 2);
}

TEST_F(ViewStateFileTest, MissingFileOrOtherVersionKeepsEveryDefault)
{
    loadViewState();
    expectDefaults();
    writeEnv("2 1\n800 600\n0.5\n100 10\n0\n1\n");
    loadViewState();
    expectDefaults();
    writeEnv("garbage");
    loadViewState();
    expectDefaults();
}

TEST_F(ViewStateFileTest, OnlyTheOrderOfTheNumbersMatters)
{
    writeEnv("  2\t0 800\r\n600 0.5 100.25\n\n 10 0 2");
    loadViewState();
    EXPECT_EQ(view.windowWidth, 800);
    EXPECT_EQ(view.windowHeight, 600);
    EXPECT_EQ(view.brightness, 0.5);
    EXPECT_EQ(view.sunAzimuth, 100.25);
    EXPECT_EQ(view.sunElevation, 10);
    EXPECT_EQ(view.blendColours, 0);
    EXPECT_EQ(view.nameMode, 2);
}

TEST_F(ViewStateFileTest, OutOfRangeSwitchesAndBrightnessAreRepaired)
{
    writeEnv("2 0\n700 550\n0.000\n10.0 -5.0\n5\n3\n");
    loadViewState();
    EXPECT_EQ(view.brightness, 1.0);
    EXPECT_EQ(view.sunAzimuth, 10);  // the sun is taken as read
    EXPECT_EQ(view.sunElevation, -5);
    EXPECT_EQ(view.blendColours, 0);  // not the default 1
    EXPECT_EQ(view.nameMode, 0);
    writeEnv("2 0\n700 550\n-2\n250 30\n-1\n-1\n");
    loadViewState();
    EXPECT_EQ(view.brightness, 1.0);
    EXPECT_EQ(view.blendColours, 0);
    EXPECT_EQ(view.nameMode, 0);
}

TEST_F(ViewStateFileTest, FromTheFirstUnreadableValueOnDefaultsStay)
{
    writeEnv("2 0\n800 600\nbright\n100 10\n0\n2\n");
    loadViewState();
    EXPECT_EQ(view.windowWidth, 800);
    EXPECT_EQ(view.windowHeight, 600);
    EXPECT_EQ(view.brightness, 1.0);
    EXPECT_EQ(view.sunAzimuth, 250);
    EXPECT_EQ(view.nameMode, 0);

    view = ViewState{};
    writeEnv("2 0\n800 600\n0.5\n100 10x\n0\n2\n");  // the x stops the switches
    loadViewState();
    EXPECT_EQ(view.sunElevation, 10);
    EXPECT_EQ(view.blendColours, 1);
    EXPECT_EQ(view.nameMode, 0);
}

TEST_F(ViewStateFileTest, NonFiniteAndOversizedNumbersAreUnreadable)
{
    const char* files[] = {"2 0\n800 600\nnan\n100 10\n0\n2\n", "2 0\n800 600\ninf\n100 10\n0\n2\n",
                           "2 0\n800 600\n1e999\n100 10\n0\n2\n", "2 0\n800 600\n-nan\n100 10\n0\n2\n"};
    for (const char* text : files) {
        view = ViewState{};
        writeEnv(text);
        loadViewState();
        EXPECT_EQ(view.windowWidth, 800) << text;
        EXPECT_EQ(view.brightness, 1.0) << text;
        EXPECT_EQ(view.sunAzimuth, 250) << text;
        EXPECT_EQ(view.nameMode, 0) << text;
    }
    view = ViewState{};
    writeEnv("2 0\n800 600\n0.5\n1e400 10\n0\n2\n");
    loadViewState();
    EXPECT_EQ(view.brightness, 0.5);
    EXPECT_EQ(view.sunAzimuth, 250);
    EXPECT_TRUE(std::isfinite(view.sunElevation));

    view = ViewState{};
    writeEnv("2 0\n800 99999999999\n0.5\n100 10\n0\n2\n");
    loadViewState();
    EXPECT_EQ(view.windowWidth, 800);
    EXPECT_EQ(view.windowHeight, 550);
    EXPECT_EQ(view.brightness, 1.0);
    writeEnv("2 0\n800 600\n0.5\n100 10\n0\n4294967298\n");
    loadViewState();
    EXPECT_EQ(view.blendColours, 0);
    EXPECT_EQ(view.nameMode, 0);
}

TEST_F(ViewStateFileTest, WindowSizesTheWindowSystemCannotMakeFallBack)
{
    const char* bad[] = {"0 550", "700 0", "-640 480", "16385 400", "400 2147483647"};
    for (const char* size : bad) {
        view = ViewState{};
        writeEnv(std::string("2 0\n") + size + "\n0.5\n");
        loadViewState();
        EXPECT_EQ(view.windowWidth, 700) << size;
        EXPECT_EQ(view.windowHeight, 550) << size;
        EXPECT_EQ(view.brightness, 0.5) << size;
    }
    writeEnv("2 0\n16384 1\n");
    loadViewState();
    EXPECT_EQ(view.windowWidth, 16384);
    EXPECT_EQ(view.windowHeight, 1);
}

TEST_F(ViewStateFileTest, AFailedSaveLeavesTheOldFileWhole)
{
    writeEnv("2 0\n800 600\n0.500\n100.0 10.0\n0\n2\n");
    fs::create_directory("orvex.env.new");  // the scratch file cannot be made
    view.brightness = 0.25;
    saveViewState();
    EXPECT_EQ(envText(), "2 0\n800 600\n0.500\n100.0 10.0\n0\n2\n");
}

TEST(NumberReader, ReadsLikeFormattedInputAndStopsAtTheFirstFailure)
{
    NumberReader reader(" +12 -7 3.5e2 .25 -0.5 7x 8");
    int a = 0, b = 0, c = 0;
    double d = 0, e = 0, f = 0;
    EXPECT_TRUE(reader.readInt(a));
    EXPECT_TRUE(reader.readInt(b));
    EXPECT_TRUE(reader.readDouble(d));
    EXPECT_TRUE(reader.readDouble(e));
    EXPECT_TRUE(reader.readDouble(f));
    EXPECT_TRUE(reader.readInt(c));
    EXPECT_EQ(a, 12);
    EXPECT_EQ(b, -7);
    EXPECT_EQ(d, 350);
    EXPECT_EQ(e, 0.25);
    EXPECT_EQ(f, -0.5);
    EXPECT_EQ(c, 7);
    int next = 99;
    EXPECT_FALSE(reader.readInt(next));  // "x" stays unread
    EXPECT_FALSE(reader.readInt(next));  // and blocks the 8 too
    EXPECT_EQ(next, 99);

    NumberReader limits("2147483647 -2147483648 2147483648");
    EXPECT_TRUE(limits.readInt(a));
    EXPECT_EQ(a, 2147483647);
    EXPECT_TRUE(limits.readInt(a));
    EXPECT_EQ(a, -2147483647 - 1);
    EXPECT_FALSE(limits.readInt(a));

    NumberReader empty("   ");
    EXPECT_FALSE(empty.readDouble(d));
    NumberReader sign("- 5");
    EXPECT_FALSE(sign.readInt(a));
}

// Two points are enough to give the scene its size.
void makeTwoByThreeGrid()
{
    allocategrid(2, 3, srtm3Constants);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            grid.gridRowTable[r][c].sampleState = 0;
    grid.areaNorth = 35;
    finishgrid(srtm3Constants);
}

TEST_F(ViewStateFileTest, InitViewSizesTheSceneAndReadsTheFileOverTheDefaults)
{
    makeTwoByThreeGrid();
    view.brightness = 0.1;  // left over: initView sets the defaults first
    writeEnv("2 0\n640 480\n");
    initView();
    const GridPoint& first = grid.gridRowTable[0][0];
    const GridPoint& last = grid.gridRowTable[1][2];
    const double radius = std::hypot(double(first.y) - last.y, double(first.x) - last.x) / 2;
    EXPECT_DOUBLE_EQ(view.sceneRadius, radius);
    EXPECT_FLOAT_EQ(view.sceneCentre[0], (first.y + last.y) / 2);
    EXPECT_FLOAT_EQ(view.sceneCentre[1], (first.x + last.x) / 2);
    EXPECT_FLOAT_EQ(view.sceneCentre[2], 0.2 * radius);
    EXPECT_DOUBLE_EQ(view.orbitDistance, 1.8 * radius);
    EXPECT_DOUBLE_EQ(view.rangeSquared, 8 * radius * radius);
    EXPECT_EQ(view.windowWidth, 640);
    EXPECT_EQ(view.windowHeight, 480);
    EXPECT_EQ(view.brightness, 1.0);
    EXPECT_EQ(view.homePolar, 75);
    EXPECT_EQ(view.movePolar, 90);
    EXPECT_EQ(view.speedFactor, 0.02);
    EXPECT_EQ(view.fovyDefault, 50);
    EXPECT_EQ(view.sunAzimuth, 250);
    // The mesh attributes are there too.
    EXPECT_NEAR(first.normal[2], 1, 1e-3);
}

TEST_F(ViewStateFileTest, ResetPutsTheEyeOnItsOrbitAndSetsCameraAndProjection)
{
    makeTwoByThreeGrid();
    initView();
    static int cameras, projections;
    cameras = projections = 0;
    windowOperations = {[] { ++cameras; }, [] { ++projections; }};
    view.gridStep = 4;
    view.dragMode = 2;
    view.fovy = 10;
    resetView(90, 90);  // level with the centre, due east
    EXPECT_NEAR(view.eye[0], view.sceneCentre[0], 1e-3);
    EXPECT_NEAR(view.eye[1], view.sceneCentre[1] + view.orbitDistance, 1e-3);
    EXPECT_NEAR(view.eye[2], view.sceneCentre[2], 1e-3);
    EXPECT_NEAR(view.viewOffset[1], view.orbitDistance, 1e-9);
    EXPECT_EQ(view.viewPolar, 90);
    EXPECT_EQ(view.viewAzimuth, 90);
    EXPECT_EQ(view.fovy, 50);
    EXPECT_DOUBLE_EQ(view.speed, 0.02 * view.sceneRadius);
    EXPECT_EQ(view.gridStep, 1);
    EXPECT_EQ(view.dragMode, 0);
    EXPECT_EQ(cameras, 1);
    EXPECT_EQ(projections, 1);
    windowOperations = {[] {}, [] {}};
}

TEST(SphericalToCartesian, AzimuthTurnsFromSouthTowardsEast)
{
    double v[3];
    sphericalToCartesian(2, 90, 0, v);
    EXPECT_NEAR(v[0], 2, 1e-12);
    EXPECT_NEAR(v[1], 0, 1e-12);
    EXPECT_NEAR(v[2], 0, 1e-12);
    sphericalToCartesian(2, 30, 90, v);
    EXPECT_NEAR(v[0], 0, 1e-12);
    EXPECT_NEAR(v[1], 1, 1e-12);
    EXPECT_NEAR(v[2], std::sqrt(3.0), 1e-12);
}

}  // namespace
