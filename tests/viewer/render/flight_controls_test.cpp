#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "data/grid.h"
#include "render/flight_controls.h"
#include "render/terrain_mesh.h"
#include "startup/view_state.h"
#include "startup/window_operations.h"
#include "test_terrain.h"

namespace {

int cameraCalls = 0, projectionCalls = 0;
constexpr int ctrl(char letter) { return letter - 'a' + 1; }
enum Arrow { left = 100, up = 101, right = 102, down = 103 };

// Every field a key or a drag may change.
std::vector<double> snapshot()
{
    const ViewState& v = view;
    return {v.eye[0],        v.eye[1],        v.eye[2],       v.target[0],        v.target[1],   v.target[2],
            v.viewPolar,     v.viewAzimuth,   v.speed,        v.fovy,             double(v.gridStep),
            v.rangeSquared,  double(v.blendColours), double(v.nameMode), v.brightness, v.sunAzimuth,
            v.sunElevation,  double(v.dragMode), double(v.dragLastX), double(v.dragLastY)};
}

class FlightTest : public ::testing::Test {
protected:
    ScratchWorkingDirectory scratch;

    void SetUp() override
    {
        resetViewStateForTest();
        useDefaultColours();
        makeTestTerrain(101, 121, rollingHills);
        initView();
        relight();
        windowOperations = {[] { ++cameraCalls; }, [] { ++projectionCalls; }};
        resetView(view.homePolar, view.homeAzimuth);
        cameraCalls = projectionCalls = 0;
    }
    static void press(int code, bool shifted = false, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            EXPECT_FALSE(applyKey(code, shifted)) << code;
    }
    static void expectTargetFollowsEye()
    {
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(view.target[axis], view.eye[axis] - view.viewOffset[axis], 1e-2);
    }
    static std::vector<int> shadeAt(int row, int col)
    {
        const std::uint8_t* c = grid.gridRowTable[row][col].shadeColour;
        return {c[0], c[1], c[2]};
    }
};

TEST_F(FlightTest, TopViewAndHomeRestoreFlightSettingsButKeepLightAndSwitches)
{
    for (const int key : {'x', 'b', 'r', 'n', 's', 'h', 'm'})
        press(key);
    pressMouse(leftButton, buttonDown, false, 10, 10);
    press('t');
    EXPECT_EQ(view.viewPolar, 0);
    EXPECT_NEAR(view.eye[2], view.sceneCentre[2] + view.orbitDistance, 1e-2);  // straight above
    EXPECT_NEAR(view.eye[0], view.sceneCentre[0], 1e-3);
    const std::vector<double> after = snapshot();
    EXPECT_EQ(std::vector<double>(after.begin() + 8, after.end()),
              (std::vector<double>{0.02 * view.sceneRadius, 50, 1, 8 * view.sceneRadius * view.sceneRadius, 0, 1,
                                   1.05, 250, 30, 0, 10, 10}));
    EXPECT_EQ(cameraCalls, 1);
    EXPECT_EQ(projectionCalls, 2);  // the zoom key, then the reset
    press(' ');
    const double home = 75 * std::atan(1.0) / 45;
    EXPECT_NEAR(view.eye[0], view.sceneCentre[0] + view.orbitDistance * std::sin(home), 1e-2);  // south
    EXPECT_NEAR(view.eye[2], view.sceneCentre[2] + view.orbitDistance * std::cos(home), 1e-2);
    EXPECT_EQ(std::vector<float>(view.target, view.target + 3), std::vector<float>(view.sceneCentre, view.sceneCentre + 3));
}

TEST_F(FlightTest, TurningPitchingClimbingAndStepsScaleWithZoomAboutTheEye)
{
    const float eyeY = view.eye[0];
    press(left);
    press('d', true);  // d shares the left arrow's code, shifted or not
    EXPECT_DOUBLE_EQ(view.viewAzimuth, 10);
    EXPECT_EQ(view.eye[0], eyeY);
    expectTargetFollowsEye();
    press('b');  // zoom ratio 0.8
    press(right);
    EXPECT_NEAR(view.viewAzimuth, 6, 1e-12);
    const float height = view.eye[2];
    press(up);
    EXPECT_NEAR(view.eye[2], height + 0.56 * view.speed, 1e-2);
    press(' ');  // home again: facing north
    const std::vector<double> before = snapshot();
    press('z');
    EXPECT_NEAR(view.eye[0], before[0] - view.speed, 1e-2);
    EXPECT_EQ(view.eye[2], before[2]);
    press('Z', true);
    EXPECT_NEAR(view.eye[0], before[0], 1e-2);
    press(down, true, 15);  // from 75 degrees to straight down, and no further
    EXPECT_NEAR(view.viewPolar, 0, 1e-9);
    press(down, true);
    EXPECT_NEAR(view.viewPolar, 0, 1e-9);
    press(up, true, 37);  // up to 180 and no further
    EXPECT_NEAR(view.viewPolar, 180, 1e-9);
    expectTargetFollowsEye();
}

TEST_F(FlightTest, ZoomSpeedRangeAndResolutionKeys)
{
    press('b');
    EXPECT_DOUBLE_EQ(view.fovy, 40);
    press('B', true, 30);
    EXPECT_EQ(view.fovy, widestFieldOfView);  // 179: at 180 the perspective collapses
    press(2);                                 // F2 and Ctrl+B
    EXPECT_EQ(view.fovy, 50);
    EXPECT_EQ(projectionCalls, 32);
    const double speed = view.speed, range = view.rangeSquared;
    press('x');
    press('X', true, 3);
    EXPECT_DOUBLE_EQ(view.speed, speed / 4);
    press(ctrl('x'));
    EXPECT_DOUBLE_EQ(view.speed, speed);
    press('r', false, 2);
    press('R', true);
    EXPECT_NEAR(view.rangeSquared, range * 0.8, range * 1e-12);
    press(ctrl('r'));
    EXPECT_DOUBLE_EQ(view.rangeSquared, range);
    const int steps[] = {2, 4, 4};
    for (const int step : steps) {
        press('n');
        EXPECT_EQ(view.gridStep, step);
    }
    press('N', true, 3);
    EXPECT_EQ(view.gridStep, 1);
    press('n', false, 2);
    press(ctrl('n'));
    EXPECT_EQ(view.gridStep, 1);
}

TEST_F(FlightTest, ColourSwitchBrightnessAndNamesRelightAsNeeded)
{
    const std::vector<int> blended = shadeAt(50, 60);
    press('h');
    EXPECT_NE(shadeAt(50, 60), blended);
    press('H', true);  // Page Up shares the code
    EXPECT_EQ(shadeAt(50, 60), blended);
    press('S', true, 21);
    EXPECT_EQ(view.brightness, 0);
    EXPECT_EQ(shadeAt(50, 60), (std::vector<int>{0, 0, 0}));
    press('s');
    EXPECT_DOUBLE_EQ(view.brightness, 0.05);
    press(ctrl('s'));
    EXPECT_EQ(shadeAt(50, 60), blended);
    for (const int mode : {1, 2, 0}) {
        press('M', true);
        EXPECT_EQ(view.nameMode, mode);
    }
}

TEST_F(FlightTest, QuitKeysSaveOtherKeysChangeNothingModifiersAndMenu)
{
    const std::vector<double> before = snapshot();
    for (const int code : {int('1'), int('i'), int('a'), 0, 1, 105, 108, 200, 255})
        press(code);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(fileText("orvex.env"), "");
    for (const int code : {27, int('q'), int('Q')}) {
        view.brightness = code / 100.0;
        EXPECT_TRUE(applyKey(code, code == 'Q'));
        EXPECT_EQ(fileText("orvex.env").substr(12, 6), std::to_string(code / 100.0).substr(0, 5) + "\n");
    }
    constexpr int super = 8;  // freeglut 3.4 reports Num Lock here
    EXPECT_TRUE(isShifted(modifierShift) && isShifted(modifierShift | super));
    EXPECT_FALSE(isShifted(0) || isShifted(super) || isShifted(modifierShift | modifierCtrl) ||
                 isShifted(modifierShift | modifierAlt));
    for (int key = 100; key <= 122; ++key)
        EXPECT_EQ(isIgnoredSpecialKey(key), key >= 109 && key <= 119) << key;
    for (int value = -1; value <= 10; ++value)
        EXPECT_EQ(menuKeyCode(value), value < 0 || value > 9 ? -1 : " tbxnrhmsq"[value]);
}

TEST_F(FlightTest, FlyDragTurnsAndClimbsInsideTheWindowOnly)
{
    pressMouse(leftButton, buttonDown, false, 350, 300);
    const float height = view.eye[2];
    EXPECT_TRUE(dragPointer(280, 245));  // 70 px left, 55 px up
    EXPECT_NEAR(view.viewAzimuth, 9, 1e-12);
    EXPECT_NEAR(view.eye[2], height + view.speed, 1e-2);
    expectTargetFollowsEye();
    const std::vector<double> before = snapshot();
    EXPECT_FALSE(dragPointer(-1, 100));
    EXPECT_FALSE(dragPointer(100, 551));
    EXPECT_EQ(snapshot(), before);
    EXPECT_TRUE(dragPointer(700, 550));
    pressMouse(leftButton, 1, false, 0, 0);  // release
    EXPECT_FALSE(dragPointer(10, 10));
}

TEST_F(FlightTest, SunDragStaysBetweenEastAndWestAboveTheHorizon)
{
    const std::vector<int> before = shadeAt(50, 60);
    pressMouse(leftButton, buttonDown, true, 700, 550);
    EXPECT_TRUE(dragPointer(630, 495));  // a tenth of the width and height
    EXPECT_NEAR(view.sunAzimuth, 268, 1e-9);
    EXPECT_NEAR(view.sunElevation, 39, 1e-9);
    EXPECT_NE(shadeAt(50, 60), before);
    dragPointer(0, 0);
    EXPECT_EQ(std::pair(view.sunAzimuth, view.sunElevation), std::pair(270.0, 90.0));
    dragPointer(700, 550);
    EXPECT_EQ(std::pair(view.sunAzimuth, view.sunElevation), std::pair(90.0, 0.0));
    pressMouse(2, buttonDown, false, 5, 5);  // any other button ends the drag
    EXPECT_EQ(view.dragMode, 0);
}

}  // namespace
