// What a frame shows, rendered for real (Mesa under a virtual X server), and
// the fast terrain path against the literal one on the same views.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/init_view.h"
#include "app/viewer_window_gl.h"
#include "render/flight_controls.h"
#include "render/frame_gl.h"
#include "render/terrain_mesh.h"
#include "state/colour_table.h"
#include "state/grid.h"
#include "state/mountain_table.h"
#include "state/view_state.h"
#include "state/window_operations.h"
#include "test_terrain.h"

using namespace orvex;

namespace {

struct Frame {
    std::vector<unsigned char> rgb;
    std::vector<float> depth; // 1 where nothing was drawn
    long long cells = 0;

    long long pixels(int r, int g, int b) const
    {
        long long count = 0;
        for (std::size_t i = 0; i < depth.size(); ++i)
            count += rgb[i * 3] == r && rgb[i * 3 + 1] == g && rgb[i * 3 + 2] == b;
        return count;
    }
    long long covered() const
    {
        return std::count_if(depth.begin(), depth.end(), [](float d) { return d < 1; });
    }
};

Frame grab(TerrainPath path = TerrainPath::fast)
{
    windowFrameDrawer().setTerrainPath(path);
    drawFrame();
    windowFrameDrawer().setTerrainPath(TerrainPath::fast);
    Frame frame{std::vector<unsigned char>(700 * 550 * 3), std::vector<float>(700 * 550),
                windowFrameDrawer().lastDrawnCellCount()};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 700, 550, GL_RGB, GL_UNSIGNED_BYTE, frame.rgb.data());
    glReadPixels(0, 0, 700, 550, GL_DEPTH_COMPONENT, GL_FLOAT, frame.depth.data());
    return frame;
}

void press(int code, bool shifted = false, int times = 1)
{
    for (int i = 0; i < times; ++i)
        applyKey(view, grid, code, shifted);
}

void useTerrain(bool withVoids)
{
    const auto voids = [](int r, int c) {
        return std::hypot(r - 40, c - 150) < 9 || (r == 200 && c % 7 == 0);
    };
    makeTestTerrain(241, 301, rollingHills, withVoids ? std::function<bool(int, int)>(voids) : nullptr);
    initView();
    relight();
    windowFrameDrawer().forgetMeasuredTerrain();
}

void addSummit(int row, int col, const std::string& name, int kind)
{
    const GridPoint& p = grid.gridRowTable[row][col];
    mountains.mountainTable.push_back(
        {.shown = 1, .kind = kind, .height = int(p.elevation), .y = p.y, .x = p.x, .z = p.z, .name = name});
    mountains.mountainCount = static_cast<int>(mountains.mountainTable.size());
}

class FrameTest : public ::testing::Test {
  protected:
    ScratchWorkingDir scratch; // no orvex.env: defaults

    void SetUp() override
    {
        resetViewStateForTest();
        useDefaultColours();
        useTerrain(false);
        static int argc = 1;
        static char name[] = "test", *argv[] = {name, nullptr};
        static const bool opened = (prepareViewerWindow(&argc, argv), true); // GLUT starts once
        (void)opened;
        windowOperations = {applyCamera, applyProjection};
        onReshape(700, 550);
        resetView(view.homePolar, view.homeAzimuth);
    }
};

TEST_F(FrameTest, TheFastPathDrawsTheLiteralPicture)
{
    addSummit(60, 90, " Ridge", 0);
    addSummit(120, 200, " Cone", 1);
    const auto lowFlight = [] { // low over the south, looking north along the horizon
        view.eye[0] = view.sceneCentre[0] + 0.4f * static_cast<float>(view.sceneRadius);
        view.eye[2] = 2500;
        view.viewPolar = 90;
        press(100), press(102); // re-aim
    };
    const struct {
        const char* name;
        std::function<void()> setUp;
        double mostCells; // share of the literal path's cells the fast path may draw
    } views[] = {
        {"home", [] {}, 1},
        {"top", [] { press('t'); }, 1},
        {"turned and tilted", [] { press('t'), press(100, false, 7), press(103, true, 3); }, 1},
        {"step 2", [] { press('n'); }, 1},
        {"step 4 from above", [] { press('t'), press('n', false, 2); }, 1},
        {"low flight", lowFlight, 0.5},
        {"low flight turned", [=] { lowFlight(), press(100, false, 9); }, 0.7},
        {"reduced range", [] { press('t'), press('r', false, 12); }, 1},
        {"names, large and small", [] { press('m'), press('m', false, 2), press('t'); }, 1},
        {"void holes", [] { useTerrain(true), press(' '); }, 1},
        {"void holes at step 2", [] { useTerrain(true), press('n'); }, 1},
    };
    for (const auto& v : views) {
        press(' ');
        v.setUp();
        const Frame literal = grab(TerrainPath::literal), fast = grab();
        long long coveredDiffers = 0;
        int channelDifference = 0;
        for (std::size_t i = 0; i < literal.depth.size(); ++i) {
            coveredDiffers += (literal.depth[i] < 1) != (fast.depth[i] < 1);
            for (int c = 0; c < 3; ++c)
                channelDifference =
                    std::max(channelDifference, std::abs(literal.rgb[i * 3 + c] - fast.rgb[i * 3 + c]));
        }
        EXPECT_GT(literal.covered(), 20000) << v.name << ": the view shows hardly any terrain";
        EXPECT_EQ(coveredDiffers, 0) << v.name;
        EXPECT_LE(channelDifference, 1) << v.name;
        EXPECT_LE(fast.cells, literal.cells * v.mostCells) << v.name;
    }
    const long long whole = (useTerrain(false), press('t'), grab().covered());
    EXPECT_LT((press('r', false, 20), grab().covered()), whole / 2) << "far cells should vanish";
    EXPECT_LT((useTerrain(true), press('t'), grab().covered()), whole) << "voids should leave holes";
}

TEST_F(FrameTest, NamesInBothFontsBothColoursWithMarkersAndHighBytes)
{
    addSummit(60, 90, " Ridge", 0);
    addSummit(120, 200, "", 1);
    press('t');
    EXPECT_EQ(grab().pixels(30, 30, 30), 0);
    const Frame large = (press('m'), grab()), small = (press('m'), grab());
    EXPECT_GT(small.pixels(30, 30, 30), 10);
    EXPECT_GT(large.pixels(30, 30, 30), small.pixels(30, 30, 30));
    const long long heightOnly = large.pixels(150, 0, 100);
    mountains.mountainTable[1].name = "\xC5\xC5\xC5\xC5"; // bytes above 127 are glyphs too
    EXPECT_GT((press('m', false, 2), grab().pixels(150, 0, 100)), heightOnly + 20);
    EXPECT_GT((press(' '), grab().pixels(100, 100, 100)), 5) << "marker lines";
}

TEST_F(FrameTest, BackgroundIsTheLastColourEntryAndAnEmptyReshapeIsIgnored)
{
    press('t'), press('r', false, 30); // a small disc of terrain in the middle
    const Frame frame = grab();
    EXPECT_EQ(frame.pixels(200, 200, 255), std::ssize(frame.depth) - frame.covered());
    colours = ColourTable{}; // no table: black, not a read outside it
    EXPECT_GT(grab().pixels(0, 0, 0), 300000);

    onReshape(640, 480);
    for (const auto& [width, height] : {std::pair{0, 0}, std::pair{300, 0}, std::pair{-5, 200}})
        onReshape(width, height);
    EXPECT_EQ(std::pair(view.windowWidth, view.windowHeight), std::pair(640, 480));
    EXPECT_DOUBLE_EQ(view.aspect, 640.0 / 480);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[3], 480);
}

} // namespace
