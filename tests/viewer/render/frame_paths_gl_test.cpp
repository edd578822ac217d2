// The fast terrain path against the literal one on the same views, rendered
// for real (Mesa under a virtual X server): the same pixels covered, the
// same colours, fewer cells drawn when whole blocks lie outside the view.
// The moving frames (level of detail) against the resting ones, and the
// window's wiring of key events, moving frames and the rest.
#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include "app/init_view.h"
#include "app/viewer_window_gl.h"
#include "render/flight_controls.h"
#include "render/frame_gl.h"
#include "render/terrain_mesh.h"
#include "render/view_rest_gl.h"
#include "scratch_dir.h"
#include "state/mountain_table.h"
#include "state/view_state.h"
#include "state/window_operations.h"
#include "test_terrain.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

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
    void lowFlight() // low over the south, looking north along the horizon
    {
        view.eye[0] = view.sceneCentre[0] + 0.4f * static_cast<float>(view.sceneRadius);
        view.eye[2] = 2500, view.viewPolar = 90;
        press(keyLeft), press(keyRight); // re-aim
    }
    std::tuple<std::vector<unsigned char>, std::vector<float>, long long> grab(TerrainPath path,
                                                                               bool moving = false)
    {
        std::vector<unsigned char> rgb(700 * 550 * 3);
        std::vector<float> depth(700 * 550);
        drawer.setTerrainPath(path), drawer.setMoving(moving);
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
    const auto lowFlight = [this] { this->lowFlight(); };
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

// While moving, far blocks are drawn coarser: the picture stays close to the
// resting one, with no background showing through where that one has
// terrain; buffer objects and client arrays give the same moving picture.
TEST_F(FrameTest, MovingFramesStayCloseToTheRestingPicture)
{
    const std::pair<const char*, std::function<void()>> views[] = {
        {"home", [] {}},
        {"top", [this] { press('t'); }},
        {"top, step 2", [this] { press('t'), press('n'); }},
        {"low flight", [this] { lowFlight(); }},
        {"low flight turned", [this] { lowFlight(), press(keyLeft, false, 9); }},
        {"reduced range, turned", [this] { press('t'), press('r', false, 12), press(keyLeft, false, 3); }}};
    for (const auto& [name, setUp] : views) {
        press(' '), setUp();
        const auto [full, fullDepth, fullCells] = grab(TerrainPath::fast);
        drawer.movingTerrain().setBufferObjectsAllowed(false);
        const auto [clientArrays, clientDepth, clientCells] = grab(TerrainPath::fast, true);
        drawer.movingTerrain().setBufferObjectsAllowed(true);
        const auto [moving, movingDepth, movingCells] = grab(TerrainPath::fast, true);
        long long close = 0, cracks = 0;
        for (std::size_t i = 0; i < full.size(); i += 3) {
            close += std::abs(full[i] - moving[i]) <= 8 && std::abs(full[i + 1] - moving[i + 1]) <= 8 &&
                     std::abs(full[i + 2] - moving[i + 2]) <= 8;
            cracks += fullDepth[i / 3] < 1 && movingDepth[i / 3] == 1;
        }
        EXPECT_GE(close, 0.97 * 700 * 550) << name;
        EXPECT_EQ(cracks, 0) << name;
        EXPECT_TRUE(clientArrays == moving) << name;
        EXPECT_LT(movingCells, fullCells / 2) << name << ": the level of detail left out hardly anything";
    }
}

int framesShown = 0;
bool lastFrameMoving = false;
std::vector<unsigned char> lastFrame;

void readFrame(std::vector<unsigned char>& rgb)
{
    rgb.resize(700 * 550 * 3);
    glReadBuffer(GL_BACK), glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 700, 550, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
}

void recordingDisplay()
{
    lastFrameMoving = windowFrameDrawer().moving();
    drawFrame();
    readFrame(lastFrame);
    ++framesShown;
    glutSwapBuffers();
}

// Presses of a key as the X server delivers them to the window.
void sendKeyPresses(int count, const char* key = "z")
{
    Display* display = glXGetCurrentDisplay();
    const Window window = glXGetCurrentDrawable();
    XEvent event{};
    event.xkey.type = KeyPress;
    event.xkey.display = display;
    event.xkey.window = window;
    event.xkey.root = DefaultRootWindow(display);
    event.xkey.same_screen = True;
    event.xkey.keycode = XKeysymToKeycode(display, XStringToKeysym(key));
    for (int i = 0; i < count; ++i)
        XSendEvent(display, window, True, KeyPressMask, &event);
    XSync(display, False); // every event is in the window's queue
}

// Runs the window's loop until it has rested a while.
void runUntilRested()
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(3 * restMilliseconds);
    while (std::chrono::steady_clock::now() < end) {
        glutMainLoopEvent();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// Key events that wait while a frame is drawn make one frame, in the state
// the same presses reach one frame at a time; after the rest the window
// draws one more frame, in full detail, which a key press cuts short.
TEST_F(FrameTest, KeyBurstsMakeOneFrameAndTheRestDrawsFullDetail)
{
    makeHills(orvex::grid, 241, 301);
    orvex::colours = defaultColours();
    initView(orvex::view, orvex::grid, orvex::colours);
    orvex::view.aspect = 700.0 / 550, relight(orvex::grid, orvex::view);
    resetView(orvex::view, 75, 0);
    windowFrameDrawer().forgetMeasuredTerrain();
    glutDisplayFunc(recordingDisplay);
    glutPostRedisplay();
    runUntilRested();

    framesShown = 0;
    for (int i = 0; i < 12; ++i)
        sendKeyPresses(1), glutMainLoopEvent();
    EXPECT_GE(framesShown, 12); // and one more if a frame took so long that the view rested
    EXPECT_TRUE(lastFrameMoving);
    const ViewState oneByOne = orvex::view;
    runUntilRested();

    resetView(orvex::view, 75, 0);
    runUntilRested();
    framesShown = 0;
    sendKeyPresses(12), glutMainLoopEvent();
    EXPECT_EQ(framesShown, 1);
    EXPECT_TRUE(lastFrameMoving && !viewAtRest());
    for (int axis = 0; axis < 3; ++axis)
        EXPECT_EQ(std::pair(orvex::view.eye[axis], orvex::view.target[axis]),
                  std::pair(oneByOne.eye[axis], oneByOne.target[axis]));

    runUntilRested();
    EXPECT_EQ(framesShown, 2);
    EXPECT_FALSE(lastFrameMoving);
    EXPECT_TRUE(viewAtRest());
    FrameDrawer resting;
    resting.draw({orvex::grid, orvex::view, orvex::colours, orvex::mountains});
    std::vector<unsigned char> full;
    readFrame(full);
    EXPECT_TRUE(full == lastFrame) << "the frame after the rest is the full-detail picture";

    // A key press waiting cuts the full-detail frame short; the key is then
    // taken and its frame drawn.
    sendKeyPresses(1);
    onDisplay();
    EXPECT_TRUE(windowFrameDrawer().lastFrameInterrupted());
    glutMainLoopEvent();
    EXPECT_EQ(framesShown, 3);
    EXPECT_TRUE(lastFrameMoving);

    // A burst of brighter presses: one frame, lit for the last brightness.
    double brightness = orvex::view.brightness;
    for (int i = 0; i < 4; ++i)
        brightness += 0.05;
    sendKeyPresses(4, "s"), glutMainLoopEvent();
    EXPECT_EQ(std::pair(framesShown, orvex::view.brightness), std::pair(4, brightness));
    std::vector<std::uint8_t> shown, relit;
    const auto shades = [](std::vector<std::uint8_t>& out) {
        for (int n = 0; n < 241 * 301; n += 97)
            out.insert(out.end(), orvex::grid.points[n].shadeColour, orvex::grid.points[n].shadeColour + 3);
    };
    shades(shown), relight(orvex::grid, orvex::view), shades(relit);
    EXPECT_TRUE(shown == relit);
    glutDisplayFunc(onDisplay);
}

} // namespace
