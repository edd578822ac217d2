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

int cameraCalls = 0;
int projectionCalls = 0;

constexpr int ctrl(char letter) { return letter - 'a' + 1; }
constexpr int leftArrow = 100, upArrow = 101, rightArrow = 102, downArrow = 103;

// Every field a key or drag may change.
std::vector<double> snapshot()
{
    return {view.eye[0],      view.eye[1],       view.eye[2],        view.target[0],    view.target[1],
            view.target[2],   view.viewPolar,    view.viewAzimuth,   view.viewOffset[0], view.viewOffset[1],
            view.viewOffset[2], view.speed,      view.fovy,          double(view.gridStep), view.rangeSquared,
            double(view.blendColours), double(view.nameMode), view.brightness, view.sunAzimuth,
            view.sunElevation, double(view.dragMode), double(view.dragLastX), double(view.dragLastY)};
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
            EXPECT_FALSE(applyKey(code, shifted));
    }

    static void expectTargetFollowsEye()
    {
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(view.target[axis], view.eye[axis] - view.viewOffset[axis], 1e-2);
    }
};

TEST_F(FlightTest, TopViewAndHomeRestoreFlightSettingsButKeepLightAndSwitches)
{
    press('x');
    press('b');
    press('r');
    press('n');
    press('s');
    press('h');
    press('m');
    pressMouse(leftButton, buttonDown, false, 10, 10);
    press('t');
    EXPECT_EQ(view.viewPolar, 0);
    EXPECT_NEAR(view.eye[0], view.sceneCentre[0], 1e-3);
    EXPECT_NEAR(view.eye[1], view.sceneCentre[1], 1e-3);
    EXPECT_NEAR(view.eye[2], view.sceneCentre[2] + view.orbitDistance, 1e-2);
    EXPECT_DOUBLE_EQ(view.speed, 0.02 * view.sceneRadius);
    EXPECT_EQ(view.fovy, 50);
    EXPECT_DOUBLE_EQ(view.rangeSquared, 8 * view.sceneRadius * view.sceneRadius);
    EXPECT_EQ(view.gridStep, 1);
    EXPECT_EQ(view.dragMode, 0);
    EXPECT_EQ(cameraCalls, 1);
    EXPECT_EQ(projectionCalls, 2);  // the zoom key, then the reset
    EXPECT_DOUBLE_EQ(view.brightness, 1.05);
    EXPECT_EQ(view.blendColours, 0);
    EXPECT_EQ(view.nameMode, 1);

    press(' ');
    const double home = 75 * std::atan(1.0) / 45;
    EXPECT_EQ(view.viewPolar, 75);
    EXPECT_NEAR(view.eye[0], view.sceneCentre[0] + view.orbitDistance * std::sin(home), 1e-2);
    EXPECT_NEAR(view.eye[1], view.sceneCentre[1], 1e-3);
    EXPECT_NEAR(view.eye[2], view.sceneCentre[2] + view.orbitDistance * std::cos(home), 1e-2);
    for (int axis = 0; axis < 3; ++axis)
        EXPECT_EQ(view.target[axis], view.sceneCentre[axis]);
    EXPECT_DOUBLE_EQ(view.brightness, 1.05);
}

TEST_F(FlightTest, ArrowsTurnAboutTheEyeByFiveDegreesScaledByZoom)
{
    const std::vector<double> before = snapshot();
    press(leftArrow);
    EXPECT_DOUBLE_EQ(view.viewAzimuth, 5);
    EXPECT_EQ(view.eye[0], before[0]);
    EXPECT_EQ(view.eye[1], before[1]);
    expectTargetFollowsEye();
    press(rightArrow, true);  // shifted or not
    EXPECT_DOUBLE_EQ(view.viewAzimuth, 0);
    press('d');  // shares the left arrow's code
    EXPECT_DOUBLE_EQ(view.viewAzimuth, 5);
    press('b');
    press(leftArrow);
    EXPECT_NEAR(view.viewAzimuth, 9, 1e-12);
    EXPECT_EQ(cameraCalls, 4);
}

TEST_F(FlightTest, LookingDownAndUpStopsAtTheVerticalAndTheHorizonBelow)
{
    press(downArrow, true, 15);
    EXPECT_NEAR(view.viewPolar, 0, 1e-9);
    press(downArrow, true);
    EXPECT_NEAR(view.viewPolar, 0, 1e-9);
    press(upArrow, true, 36);
    EXPECT_NEAR(view.viewPolar, 180, 1e-9);
    press(upArrow, true);
    EXPECT_NEAR(view.viewPolar, 180, 1e-9);
    press('g', true);  // shares the down arrow's code
    EXPECT_NEAR(view.viewPolar, 175, 1e-9);
    expectTargetFollowsEye();
}

TEST_F(FlightTest, ForwardStepsGoTheWayTheCameraFacesAndBackByTheSameLength)
{
    const std::vector<double> start = snapshot();
    press('z');  // home view faces north: -y
    EXPECT_NEAR(view.eye[0], start[0] - view.speed, 1e-2);
    EXPECT_EQ(view.eye[2], start[2]);
    expectTargetFollowsEye();
    press('Z', true);
    EXPECT_NEAR(view.eye[0], start[0], 1e-2);
    EXPECT_NEAR(view.eye[1], start[1], 1e-2);

    press(leftArrow, false, 18);  // azimuth 90: the eye east of the target, facing west
    const float eastWest = view.eye[1];
    press('z');
    EXPECT_NEAR(view.eye[1], eastWest - view.speed, 1e-2);
    // Looking straight down does not tilt the step.
    press(downArrow, true, 15);
    const float height = view.eye[2];
    press('z');
    EXPECT_EQ(view.eye[2], height);
}

TEST_F(FlightTest, ClimbingScalesWithZoomAndKeepsTheViewAngles)
{
    const float start = view.eye[2];
    press(upArrow);
    EXPECT_NEAR(view.eye[2], start + 0.7 * view.speed, 1e-2);
    EXPECT_EQ(view.viewPolar, 75);
    expectTargetFollowsEye();
    press('b');
    press(downArrow);
    EXPECT_NEAR(view.eye[2], start + 0.7 * view.speed - 0.56 * view.speed, 1e-2);
}

TEST_F(FlightTest, ZoomKeysAndTheWideAngleCap)
{
    press('b');
    EXPECT_DOUBLE_EQ(view.fovy, 40);
    press('B', true);
    EXPECT_NEAR(view.fovy, 50, 1e-12);
    press('b', false, 3);
    press(ctrl('b'));
    EXPECT_EQ(view.fovy, 50);
    press(2);  // F2 shares Ctrl+B's code
    EXPECT_EQ(view.fovy, 50);
    for (int i = 0; i < 30; ++i) {
        press('B', true);
        ASSERT_LE(view.fovy, widestFieldOfView);
    }
    EXPECT_EQ(view.fovy, 179);
    EXPECT_EQ(projectionCalls, 37);
}

TEST_F(FlightTest, SpeedRangeAndResolutionKeys)
{
    const double speed = view.speed;
    press('x');
    EXPECT_DOUBLE_EQ(view.speed, 2 * speed);
    press('X', true, 3);
    EXPECT_DOUBLE_EQ(view.speed, speed / 4);
    press(ctrl('x'));
    EXPECT_DOUBLE_EQ(view.speed, speed);

    press('n');
    EXPECT_EQ(view.gridStep, 2);
    press('n', false, 2);
    EXPECT_EQ(view.gridStep, 4);
    press('N', true);
    EXPECT_EQ(view.gridStep, 2);
    press('N', true, 2);
    EXPECT_EQ(view.gridStep, 1);
    press('n', false, 2);
    press(ctrl('n'));
    EXPECT_EQ(view.gridStep, 1);

    const double range = view.rangeSquared;
    press('r', false, 2);
    EXPECT_DOUBLE_EQ(view.rangeSquared, range * 0.8 * 0.8);
    press('R', true);
    EXPECT_NEAR(view.rangeSquared, range * 0.8, range * 1e-12);
    press(ctrl('r'));
    EXPECT_DOUBLE_EQ(view.rangeSquared, range);
}

TEST_F(FlightTest, ColourSwitchBrightnessAndNameModeRelightAsNeeded)
{
    GridPoint& point = grid.gridRowTable[50][60];
    const auto shade = [&] { return std::vector<int>(point.shadeColour, point.shadeColour + 3); };
    const std::vector<int> blended = shade();
    press('h');
    EXPECT_EQ(view.blendColours, 0);
    EXPECT_NE(shade(), blended);
    press('H', true);  // Page Up shares this code
    EXPECT_EQ(view.blendColours, 1);
    EXPECT_EQ(shade(), blended);

    press('S', true, 20);
    EXPECT_NEAR(view.brightness, 0, 1e-9);
    EXPECT_EQ(shade(), std::vector<int>({0, 0, 0}));
    press('S', true);
    EXPECT_EQ(view.brightness, 0);
    press('s');
    EXPECT_DOUBLE_EQ(view.brightness, 0.05);
    press(ctrl('s'));
    EXPECT_EQ(view.brightness, 1.0);
    EXPECT_EQ(shade(), blended);

    const int modes[] = {1, 2, 0, 1};
    for (const int mode : modes) {
        press('m');
        EXPECT_EQ(view.nameMode, mode);
    }
}

TEST_F(FlightTest, QuitKeysSaveTheViewStateAndAskToEnd)
{
    for (const int code : {27, int('q'), int('Q')}) {
        std::remove("orvex.env");
        view.brightness = 0.5;
        EXPECT_TRUE(applyKey(code, code == 'Q'));
        EXPECT_EQ(fileText("orvex.env"), "2 0\n700 550\n0.500\n250.0 30.0\n1\n0\n") << code;
    }
    std::remove("orvex.env");
    press('w');
    EXPECT_FALSE(fileExists("orvex.env"));
}

TEST_F(FlightTest, KeysWithoutAnActionChangeNothing)
{
    const std::vector<double> before = snapshot();
    for (const int code : {int('1'), int('i'), int('a'), 0, 1, 200, 255, 105, 106, 107, 108})
        press(code);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(cameraCalls, 0);
}

TEST(Modifiers, ShiftAloneIsShiftedWhateverElseIsReported)
{
    constexpr int super = 8;  // freeglut 3.4 reports Num Lock here
    EXPECT_TRUE(isShifted(modifierShift));
    EXPECT_TRUE(isShifted(modifierShift | super));
    EXPECT_FALSE(isShifted(0));
    EXPECT_FALSE(isShifted(super));
    EXPECT_FALSE(isShifted(modifierShift | modifierCtrl));
    EXPECT_FALSE(isShifted(modifierShift | modifierAlt | super));
    EXPECT_FALSE(isShifted(modifierCtrl));
}

TEST(Modifiers, ModifierKeyCodesAreDroppedAndOtherSpecialKeysPass)
{
    for (int key = 109; key <= 119; ++key)
        EXPECT_TRUE(isIgnoredSpecialKey(key)) << key;
    for (const int key : {1, 2, 12, 100, 101, 102, 103, 104, 105, 108, 120})
        EXPECT_FALSE(isIgnoredSpecialKey(key)) << key;
}

TEST(Menu, EntriesStandForTheirKeys)
{
    const char keys[] = " tbxnrhmsq";
    for (int value = 0; value < 10; ++value)
        EXPECT_EQ(menuKeyCode(value), keys[value]);
    EXPECT_EQ(menuKeyCode(-1), -1);
    EXPECT_EQ(menuKeyCode(10), -1);
}

TEST_F(FlightTest, FlyDragTurnsAndClimbsByTheDraggedFraction)
{
    pressMouse(leftButton, buttonDown, false, 350, 300);
    EXPECT_EQ(view.dragMode, 1);
    const float height = view.eye[2];
    EXPECT_TRUE(dragPointer(280, 245));  // 70 px left, 55 px up
    EXPECT_NEAR(view.viewAzimuth, 90.0 * 70 / 700, 1e-12);
    EXPECT_NEAR(view.eye[2], height + 10 * view.speed * 55 / 550, 1e-2);
    expectTargetFollowsEye();
    EXPECT_EQ(view.dragLastX, 280);
    EXPECT_EQ(view.dragLastY, 245);
    EXPECT_EQ(cameraCalls, 1);

    // Outside the window: ignored, the last position stays.
    const std::vector<double> before = snapshot();
    EXPECT_FALSE(dragPointer(-1, 100));
    EXPECT_FALSE(dragPointer(100, 551));
    EXPECT_FALSE(dragPointer(701, 100));
    EXPECT_EQ(snapshot(), before);
    EXPECT_TRUE(dragPointer(700, 550));  // the far edge still counts

    pressMouse(leftButton, 1, false, 0, 0);  // release
    EXPECT_EQ(view.dragMode, 0);
    EXPECT_FALSE(dragPointer(10, 10));
}

TEST_F(FlightTest, SunDragStaysBetweenEastAndWestAndAboveTheHorizon)
{
    GridPoint& point = grid.gridRowTable[50][60];
    const std::vector<int> before(point.shadeColour, point.shadeColour + 3);
    pressMouse(leftButton, buttonDown, true, 700, 550);
    EXPECT_EQ(view.dragMode, 2);
    EXPECT_TRUE(dragPointer(630, 495));  // a tenth of the width left, a tenth up
    EXPECT_NEAR(view.sunAzimuth, 268, 1e-9);
    EXPECT_NEAR(view.sunElevation, 39, 1e-9);
    EXPECT_NE(std::vector<int>(point.shadeColour, point.shadeColour + 3), before);
    dragPointer(0, 0);
    EXPECT_EQ(view.sunAzimuth, 270);
    EXPECT_EQ(view.sunElevation, 90);
    dragPointer(700, 550);
    dragPointer(700, 550);
    EXPECT_EQ(view.sunAzimuth, 90);
    EXPECT_EQ(view.sunElevation, 0);

    pressMouse(2, buttonDown, false, 5, 5);  // any other button ends the drag
    EXPECT_EQ(view.dragMode, 0);
}

}  // namespace
