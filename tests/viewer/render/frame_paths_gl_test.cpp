// The fast terrain path against the literal one on the same views, rendered
// for real (Mesa under a virtual X server): the same pixels covered, the
// same colours, fewer cells drawn when whole blocks lie outside the view.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <cmath>
#include <vector>

#include "app/init_view.h"
#include "app/viewer_window_gl.h"
#include "render/flight_controls.h"
#include "render/frame_gl.h"
#include "render/terrain_mesh.h"
#include "scratch_dir.h"
#include "state/mountain_table.h"
#include "state/view_state.h"
#include "state/window_operations.h"
#include "test_terrain.h"

using namespace orvex;

namespace {

// Hills with void holes and a named summit, drawn into a 700 x 550 window.
class FrameTest : public testing::Test {
  protected:
    FrameTest()
    {
        static int argc = 1;
        static char name[] = "test", *argv[] = {name, nullptr};
        static const bool opened = (prepareViewerWindow(&argc, argv), true); // GLUT starts once
        windowOperations = {applyCamera, applyProjection};
        glViewport(0, 0, 700, 550);
        makeHills(grid, 241, 301,
                  [](int r, int c) { return std::hypot(r - 40, c - 150) < 9 || (r == 200 && c % 7 == 0); });
        initView(view, grid, colours);
        view.aspect = 700.0 / 550, relight(grid, view), press(' ');
        const GridPoint& p = grid.gridRowTable[60][90];
        mountains.mountainTable = {
            {.shown = opened, .height = 1234, .y = p.y, .x = p.x, .z = p.z, .name = " Ridge"}};
    }
    void press(int code, bool shifted = false, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            applyKey(view, grid, code, shifted);
    }
    // The pixels and the depth (1 where nothing was drawn) of a frame, and the cells drawn.
    std::tuple<std::vector<unsigned char>, std::vector<float>, long long> grab(TerrainPath path)
    {
        std::vector<unsigned char> rgb(700 * 550 * 3);
        std::vector<float> depth(700 * 550);
        drawer.setTerrainPath(path);
        drawer.draw({grid, view, colours, mountains});
        glReadBuffer(GL_BACK), glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 700, 550, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        glReadPixels(0, 0, 700, 550, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
        return {rgb, depth, drawer.lastDrawnCellCount()};
    }

    testing_support::ScratchDir cwd{testing_support::ScratchDir::Enter::yes}; // no orvex.env: defaults
    ElevationGrid grid;
    ViewState view;
    ColourTable colours = defaultColours();
    MountainTable mountains;
    FrameDrawer drawer;
};

TEST_F(FrameTest, TheFastPathDrawsTheLiteralPicture)
{
    const auto lowFlight = [this] { // low over the south, looking north along the horizon
        view.eye[0] = view.sceneCentre[0] + 0.4f * static_cast<float>(view.sceneRadius);
        view.eye[2] = 2500, view.viewPolar = 90;
        press(keyLeft), press(keyRight); // re-aim
    };
    // The share of the literal path's cells the fast path may draw.
    const std::tuple<const char*, std::function<void()>, double> views[] = {
        {"home", [] {}, 1},
        {"top, step 4", [this] { press('t'), press('n', false, 2); }, 1},
        {"turned and tilted, step 2",
         [this] { press('t'), press(keyLeft, false, 7), press(keyDown, true, 3), press('n'); }, 1},
        {"low flight", lowFlight, 0.5},
        {"low flight turned", [=, this] { lowFlight(), press(keyLeft, false, 9); }, 0.7},
        {"reduced range, names", [this] { press('t'), press('r', false, 12), press('m'); }, 1}};
    for (const auto& [name, setUp, mostCells] : views) {
        press(' '), setUp();
        const auto [literal, literalDepth, literalCells] = grab(TerrainPath::literal);
        const auto [fast, fastDepth, fastCells] = grab(TerrainPath::fast);
        long long covered = 0, coveredDiffers = 0, otherBackground = 0;
        int channelDifference = 0;
        for (std::size_t i = 0; i < literal.size(); i += 3) {
            covered += literalDepth[i / 3] < 1;
            coveredDiffers += (literalDepth[i / 3] < 1) != (fastDepth[i / 3] < 1);
            otherBackground +=
                literalDepth[i / 3] == 1 && literal[i] + literal[i + 1] + literal[i + 2] != 655;
            for (int c = 0; c < 3; ++c)
                channelDifference = std::max(channelDifference, std::abs(literal[i + c] - fast[i + c]));
        }
        EXPECT_GT(covered, 20000) << name << ": the view shows hardly any terrain";
        EXPECT_EQ(std::tuple(coveredDiffers, channelDifference <= 1), std::tuple(0, true)) << name;
        EXPECT_LE(fastCells, literalCells * mostCells) << name;
        EXPECT_LT(otherBackground, 500)
            << name << ": the background is the last colour entry, (200, 200, 255)";
    }
}

} // namespace
