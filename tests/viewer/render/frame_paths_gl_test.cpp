// The fast terrain path against the literal one, and what a frame shows,
// rendered for real (Mesa under a virtual X server).

#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "data/colour_table.h"
#include "data/grid.h"
#include "data/mountain_table.h"
#include "render/flight_controls.h"
#include "render/frame_gl.h"
#include "render/terrain_mesh.h"
#include "startup/view_state.h"
#include "startup/viewer_window_gl.h"
#include "startup/window_operations.h"
#include "test_terrain.h"

namespace {

struct Frame {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    std::vector<float> depth;

    bool covered(std::size_t pixel) const { return depth[pixel] < 1.0f; }
    const unsigned char* at(int x, int y) const { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
};

Frame grabFrame(TerrainPath path)
{
    setTerrainPath(path);
    drawFrame();
    glFinish();
    Frame frame;
    frame.width = view.windowWidth;
    frame.height = view.windowHeight;
    const std::size_t pixels = static_cast<std::size_t>(frame.width) * frame.height;
    frame.rgb.resize(pixels * 3);
    frame.depth.resize(pixels);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, frame.width, frame.height, GL_RGB, GL_UNSIGNED_BYTE, frame.rgb.data());
    glReadPixels(0, 0, frame.width, frame.height, GL_DEPTH_COMPONENT, GL_FLOAT, frame.depth.data());
    setTerrainPath(TerrainPath::fast);
    return frame;
}

// Keeps a picture for a person to look at, when asked to.
void keepPicture(const Frame& frame, const std::string& name)
{
    const char* folder = std::getenv("ORVEX_TEST_PICTURES");
    if (!folder)
        return;
    std::ofstream out(std::string(folder) + "/" + name + ".ppm", std::ios::binary);
    out << "P6\n" << frame.width << " " << frame.height << "\n255\n";
    for (int y = frame.height - 1; y >= 0; --y)
        out.write(reinterpret_cast<const char*>(frame.at(0, y)), frame.width * 3);
}

struct Difference {
    long long covered = 0;
    long long coverageMismatches = 0;
    int largestChannelDifference = 0;
};

Difference compare(const Frame& a, const Frame& b)
{
    Difference difference;
    for (std::size_t pixel = 0; pixel < a.depth.size(); ++pixel) {
        difference.covered += a.covered(pixel);
        if (a.covered(pixel) != b.covered(pixel))
            ++difference.coverageMismatches;
        for (int channel = 0; channel < 3; ++channel)
            difference.largestChannelDifference =
                std::max(difference.largestChannelDifference,
                         std::abs(a.rgb[pixel * 3 + channel] - b.rgb[pixel * 3 + channel]));
    }
    return difference;
}

long long coveredPixels(const Frame& frame)
{
    long long count = 0;
    for (std::size_t pixel = 0; pixel < frame.depth.size(); ++pixel)
        count += frame.covered(pixel);
    return count;
}

long long pixelsOfColour(const Frame& frame, int r, int g, int b)
{
    long long count = 0;
    for (std::size_t pixel = 0; pixel < frame.depth.size(); ++pixel)
        count += frame.rgb[pixel * 3] == r && frame.rgb[pixel * 3 + 1] == g && frame.rgb[pixel * 3 + 2] == b;
    return count;
}

void pumpEvents()
{
    for (int i = 0; i < 50 && view.aspect == 0; ++i)
        glutMainLoopEvent();
}

// One window for the whole program: GLUT cannot be initialised twice.
void openWindowOnce()
{
    static bool open = false;
    if (open)
        return;
    static int argc = 1;
    static char name[] = "frame_paths_gl_test";
    static char* argv[] = {name, nullptr};
    prepareViewerWindow(&argc, argv);
    pumpEvents();
    open = true;
}

bool hasVoid(int row, int col)
{
    const double a = std::hypot(row - 40.0, col - 150.0);
    const double b = std::hypot(row - 150.0, col - 60.0);
    return a < 9 || b < 4 || (row == 200 && col % 7 == 0);
}

void addSummit(int row, int col, const std::string& name, int kind)
{
    const GridPoint& point = grid.gridRowTable[row][col];
    Mountain mountain;
    mountain.shown = 1;
    mountain.kind = kind;
    mountain.y = point.y;
    mountain.x = point.x;
    mountain.z = point.z;
    mountain.height = static_cast<int>(point.elevation);
    mountain.name = name;
    mountains.mountainTable.push_back(mountain);
    mountains.mountainCount = static_cast<int>(mountains.mountainTable.size());
}

class FrameTest : public ::testing::Test {
protected:
    ScratchWorkingDirectory scratch;

    void SetUp() override
    {
        resetViewStateForTest();
        useDefaultColours();
        useTerrain(false);
        openWindowOnce();
        windowOperations = {applyCamera, applyProjection};
        onReshape(700, 550);
        home();
    }

    static void useTerrain(bool withVoids)
    {
        if (withVoids)
            makeTestTerrain(241, 301, rollingHills, hasVoid);
        else
            makeTestTerrain(241, 301, rollingHills);
        const int width = view.windowWidth, height = view.windowHeight;
        const double aspect = view.aspect;
        initView();  // no orvex.env in the scratch directory: defaults
        view.windowWidth = width;
        view.windowHeight = height;
        view.aspect = aspect;
        relight();
        forgetMeasuredTerrain();
    }

    static void home() { resetView(view.homePolar, view.homeAzimuth); }

    static void press(int code, bool shifted = false, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            applyKey(code, shifted);
    }

    // Renders the current view both ways; the pictures must agree.
    static Frame expectSamePicture(const std::string& name)
    {
        const Frame literal = grabFrame(TerrainPath::literal);
        const long long literalCells = lastDrawnCellCount();
        const Frame fast = grabFrame(TerrainPath::fast);
        const Difference difference = compare(literal, fast);
        keepPicture(fast, name);
        EXPECT_GT(difference.covered, 1000) << name << ": the view shows hardly any terrain";
        EXPECT_EQ(difference.coverageMismatches, 0) << name;
        EXPECT_LE(difference.largestChannelDifference, 1) << name;
        EXPECT_LE(lastDrawnCellCount(), literalCells) << name;
        return fast;
    }
};

TEST_F(FrameTest, HomeAndTopViewsMatchTheLiteralPath)
{
    expectSamePicture("home");
    press('t');
    expectSamePicture("top");
    press(100, false, 7);  // an odd angle
    press(103, true, 3);
    expectSamePicture("turned");
}

TEST_F(FrameTest, CoarserStepsMatchTheLiteralPath)
{
    press('n');
    expectSamePicture("step2");
    press('n');
    expectSamePicture("step4");
    press('t');
    press('n', false, 2);
    expectSamePicture("step4-top");
}

TEST_F(FrameTest, LowFlightTowardsTheHorizonMatchesAndDrawsFewerCells)
{
    // Low over the southern part of the area, looking north just above the horizon.
    view.eye[0] = view.sceneCentre[0] + 0.4f * static_cast<float>(view.sceneRadius);
    view.eye[2] = 2500;
    view.viewPolar = 90;
    press(100);
    press(102);  // re-aims from the new eye
    const long long allInRange = [] {
        grabFrame(TerrainPath::literal);
        return lastDrawnCellCount();
    }();
    expectSamePicture("low-flight");
    EXPECT_LT(lastDrawnCellCount() * 2, allInRange) << "blocks outside the view should not be drawn";
    press(100, false, 9);  // turn 45 degrees
    expectSamePicture("low-flight-turned");
}

TEST_F(FrameTest, ReducedRangeMatchesAndDropsFarCells)
{
    press('t');
    press('r', false, 12);
    const Frame near = expectSamePicture("range");
    press(18);
    const Frame full = grabFrame(TerrainPath::fast);
    EXPECT_LT(coveredPixels(near), coveredPixels(full));
}

TEST_F(FrameTest, VoidHolesMatchTheLiteralPath)
{
    useTerrain(true);
    home();
    const Frame withHoles = expectSamePicture("voids");
    press('n');
    expectSamePicture("voids-step2");
    useTerrain(false);
    home();
    const Frame whole = grabFrame(TerrainPath::fast);
    EXPECT_LT(coveredPixels(withHoles), coveredPixels(whole));
}

TEST_F(FrameTest, NamesInBothFontsAndBothColours)
{
    addSummit(60, 90, " Ridge", 0);
    addSummit(120, 200, " Cone", 1);
    press('t');
    const Frame none = grabFrame(TerrainPath::fast);
    EXPECT_EQ(pixelsOfColour(none, 30, 30, 30), 0);
    press('m');
    const Frame large = expectSamePicture("names-large");
    press('m');
    const Frame small = expectSamePicture("names-small");
    const long long largeText = pixelsOfColour(large, 30, 30, 30);
    const long long smallText = pixelsOfColour(small, 30, 30, 30);
    EXPECT_GT(largeText, 20);
    EXPECT_GT(smallText, 10);
    EXPECT_LT(smallText, largeText);
    EXPECT_GT(pixelsOfColour(large, 150, 0, 100), 10);
    press(' ');  // the marker lines stand up in the home view
    EXPECT_GT(pixelsOfColour(grabFrame(TerrainPath::fast), 100, 100, 100), 5);
}

TEST_F(FrameTest, LabelBytesAboveAsciiAreDrawn)
{
    addSummit(120, 150, "", 0);
    press('t');
    press('m');
    const long long heightOnly = pixelsOfColour(grabFrame(TerrainPath::fast), 30, 30, 30);
    mountains.mountainTable[0].name = "\xC5\xC5\xC5\xC5";  // Latin-1 capital A with ring
    const long long withName = pixelsOfColour(grabFrame(TerrainPath::fast), 30, 30, 30);
    EXPECT_GT(heightOnly, 5);
    EXPECT_GT(withName, heightOnly + 20);
}

TEST_F(FrameTest, BackgroundIsTheLastColourEntry)
{
    press('t');
    press('r', false, 30);  // a small disc of terrain in the middle
    Frame frame = grabFrame(TerrainPath::fast);
    const unsigned char* corner = frame.at(2, 2);
    EXPECT_EQ(corner[0], 200);
    EXPECT_EQ(corner[1], 200);
    EXPECT_EQ(corner[2], 255);
    colours.colourTable[9][0] = 10;
    colours.colourTable[9][1] = 90;
    colours.colourTable[9][2] = 20;
    colours.colourCount = 10;
    frame = grabFrame(TerrainPath::fast);
    EXPECT_EQ(frame.at(2, 2)[0], 10);
    EXPECT_EQ(frame.at(2, 2)[1], 90);
    EXPECT_EQ(frame.at(2, 2)[2], 20);
    colours = ColourTable{};  // no table: black, not a read outside it
    frame = grabFrame(TerrainPath::fast);
    EXPECT_EQ(frame.at(2, 2)[0] + frame.at(2, 2)[1] + frame.at(2, 2)[2], 0);
}

TEST_F(FrameTest, ReshapeIgnoresAnEmptyWindow)
{
    onReshape(640, 480);
    EXPECT_DOUBLE_EQ(view.aspect, 640.0 / 480);
    const double fovy = view.fovy;
    onReshape(0, 0);
    onReshape(300, 0);
    onReshape(-5, 200);
    EXPECT_EQ(view.windowWidth, 640);
    EXPECT_EQ(view.windowHeight, 480);
    EXPECT_DOUBLE_EQ(view.aspect, 640.0 / 480);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 480);
    EXPECT_EQ(view.fovy, fovy);
    double projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    for (const double value : projection)
        EXPECT_TRUE(std::isfinite(value));
    onReshape(700, 550);
}

}  // namespace
