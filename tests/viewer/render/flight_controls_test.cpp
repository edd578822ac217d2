#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <functional>

#include "app/init_view.h"
#include "render/flight_controls.h"
#include "render/terrain_mesh.h"
#include "state/grid.h"
#include "state/view_state.h"
#include "state/window_operations.h"
#include "test_terrain.h"

using namespace orvex;

namespace {

int projectionCalls = 0;

// Rolling hills in the home view.
void startFlight()
{
    resetViewStateForTest();
    useDefaultColours();
    makeTestTerrain(101, 121, rollingHills);
    initView();
    relight();
    windowOperations = {[](const ViewState&) {}, [](const ViewState&) { ++projectionCalls; }};
    resetView(view.homePolar, view.homeAzimuth);
    projectionCalls = 0;
}

// Presses keys: a capital letter, or any code after '+', with Shift. The
// arrows share their codes with d (left), e (up), f (right) and g (down).
void type(const std::string& keys)
{
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const bool shifted = keys[i] == '+' && ++i < keys.size();
        const auto key = static_cast<unsigned char>(keys[i]);
        EXPECT_FALSE(applyKey(view, grid, key, shifted || std::isupper(key))) << keys;
    }
}

std::vector<int> shade()
{
    return {grid.gridRowTable[50][60].shadeColour, grid.gridRowTable[50][60].shadeColour + 3};
}

class FlightTest : public ::testing::Test {
  protected:
    void SetUp() override { startFlight(); }
    ScratchWorkingDir scratch;
};

TEST_F(FlightTest, KeysScaleAndRestoreTheirSettingsWithinLimits)
{
    const double speed = view.speed, range = view.rangeSquared;
    const auto fovy = [] { return view.fovy; };
    const auto step = [] { return double(view.gridStep); };
    const auto brightness = [] { return view.brightness; };
    const struct {
        std::string keys;
        std::function<double()> value;
        double expected;
    } cases[] = {
        {"b", fovy, 40},
        {std::string(30, 'B'), fovy, 179}, // at 180 the perspective collapses into a point
        {"bb\x02", fovy, 50},
        {"xXXX", [] { return view.speed; }, speed / 4},
        {"xx\x18", [] { return view.speed; }, speed},
        {"rrR", [] { return view.rangeSquared; }, range * 0.8},
        {"rr\x12", [] { return view.rangeSquared; }, range},
        {"nnn", step, 4},
        {"nnNNN", step, 1},
        {"nn\x0e", step, 1},
        {std::string(21, 'S'), brightness, 0},
        {"s", brightness, 1.05},
        {"SS\x13", brightness, 1},
        {"MmM", [] { return double(static_cast<int>(view.nameMode)); }, 0},
    };
    for (const auto& c : cases) {
        startFlight();
        type(c.keys);
        EXPECT_NEAR(c.value(), c.expected, 1e-9 * c.expected) << c.keys;
    }
    startFlight();
    const std::vector<int> blended = shade();
    type("bB\x02h");
    EXPECT_EQ(projectionCalls, 3);     // every zoom key sets the projection
    EXPECT_NE(shade(), blended);       // the colour switch relights
    type("+h" + std::string(21, 'S')); // Page Up shares the switch's code
    EXPECT_EQ(shade(), (std::vector<int>{0, 0, 0}));
    type("\x13");
    EXPECT_EQ(shade(), blended);
}

TEST_F(FlightTest, TurningPitchingClimbingAndStepsScaleWithZoomAboutTheEye)
{
    const float eyeY = view.eye[0];
    type("d+d"); // the left arrow, shifted or not
    EXPECT_DOUBLE_EQ(view.viewAzimuth, 10);
    EXPECT_EQ(view.eye[0], eyeY);
    type("bf"); // zoom ratio 0.8, right
    EXPECT_NEAR(view.viewAzimuth, 6, 1e-12);
    const float height = view.eye[2];
    type("e");
    EXPECT_NEAR(view.eye[2], height + 0.56 * view.speed, 1e-2);
    type(" z"); // home again, facing north, one step forward
    EXPECT_NEAR(view.eye[0],
                view.sceneCentre[0] + view.orbitDistance * std::sin(75 * M_PI / 180) - view.speed, 1e-2);
    for (int i = 0; i < 16; ++i)
        type("+g");
    EXPECT_NEAR(view.viewPolar, 0, 1e-9); // from 75 degrees straight down, and no further
    for (int i = 0; i < 37; ++i)
        type("+e");
    EXPECT_NEAR(view.viewPolar, 180, 1e-9); // and up to 180
    for (int axis = 0; axis < 3; ++axis)
        EXPECT_NEAR(view.target[axis], view.eye[axis] - view.viewOffset[axis], 1e-2);
    type("xbrnshmt"); // the top view restores the flight settings but keeps light and switches
    EXPECT_NEAR(view.eye[2], view.sceneCentre[2] + view.orbitDistance, 1e-2);
    EXPECT_EQ(std::tuple(view.viewPolar, view.fovy, view.gridStep, view.brightness, view.blendColours,
                         view.nameMode),
              std::tuple(0.0, 50.0, 1, 1.05, 0, NameMode::large));
    EXPECT_EQ(std::pair(view.speed, view.rangeSquared),
              std::pair(0.02 * view.sceneRadius, 8 * std::pow(view.sceneRadius, 2)));
}

TEST_F(FlightTest, QuitKeysSaveModifierKeysAndNumLockDoNotCountMenuEntriesAreKeys)
{
    type(std::string("1ia\x00\x01", 5) + "il\xc8\xff"); // no action, and no save
    EXPECT_EQ(view.viewAzimuth, 0);
    EXPECT_FALSE(std::filesystem::exists("orvex.env"));
    for (const int code : {27, int('q'), int('Q')}) {
        view.brightness = code / 100.0;
        EXPECT_TRUE(applyKey(view, grid, code, code == 'Q'));
        EXPECT_EQ(fileText("orvex.env").substr(12, 6), std::to_string(code / 100.0).substr(0, 5) + "\n");
    }
    constexpr int super = 8; // freeglut 3.4 reports Num Lock here
    EXPECT_TRUE(isShifted(modifierShift) && isShifted(modifierShift | super));
    EXPECT_FALSE(isShifted(0) || isShifted(super) || isShifted(modifierShift | modifierCtrl) ||
                 isShifted(modifierShift | modifierAlt));
    for (int key = 100; key <= 122; ++key)
        EXPECT_EQ(isIgnoredSpecialKey(key), key >= 109 && key <= 119) << key;
    for (int value = -1; value <= 10; ++value)
        EXPECT_EQ(menuKeyCode(value), value < 0 || value > 9 ? -1 : " tbxnrhmsq"[value]);
}

TEST_F(FlightTest, FlyDragTurnsAndClimbsAndSunDragStaysBetweenEastAndWestAboveTheHorizon)
{
    pressMouse(view, leftButton, buttonDown, false, 350, 300);
    const float height = view.eye[2];
    EXPECT_TRUE(dragPointer(view, grid, 280, 245)); // 70 px left, 55 px up
    EXPECT_NEAR(view.viewAzimuth, 9, 1e-12);
    EXPECT_NEAR(view.eye[2], height + view.speed, 1e-2);
    EXPECT_FALSE(dragPointer(view, grid, -1, 100) || dragPointer(view, grid, 100, 551)); // outside the window
    EXPECT_NEAR(view.viewAzimuth, 9, 1e-12);
    pressMouse(view, leftButton, 1, false, 0, 0); // release
    EXPECT_FALSE(dragPointer(view, grid, 10, 10));

    const std::vector<int> lit = shade();
    pressMouse(view, leftButton, buttonDown, true, 700, 550);
    EXPECT_TRUE(dragPointer(view, grid, 630, 495)); // a tenth of the width and height
    EXPECT_NEAR(view.sunAzimuth, 268, 1e-9);
    EXPECT_NEAR(view.sunElevation, 39, 1e-9);
    EXPECT_NE(shade(), lit);
    dragPointer(view, grid, 0, 0);
    EXPECT_EQ(std::pair(view.sunAzimuth, view.sunElevation), std::pair(270.0, 90.0));
    dragPointer(view, grid, 700, 550);
    EXPECT_EQ(std::pair(view.sunAzimuth, view.sunElevation), std::pair(90.0, 0.0));
    pressMouse(view, 2, buttonDown, false, 5, 5); // any other button ends the drag
    EXPECT_EQ(view.dragMode, DragMode::none);
}

} // namespace
