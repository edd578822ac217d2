#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <filesystem>

#include "app/init_view.h"
#include "render/flight_controls.h"
#include "render/terrain_mesh.h"
#include "scratch_dir.h"
#include "state/view_state.h"
#include "state/window_operations.h"
#include "test_terrain.h"

using namespace orvex;

namespace {

std::string key(int code)
{
    return std::string(1, static_cast<char>(code));
}

// The settings the keys scale: zoom, speed, range, resolution, brightness, names.
std::vector<double> settings(const ViewState& v)
{
    return {v.fovy, v.speed, v.rangeSquared, double(v.gridStep), v.brightness, double(int(v.nameMode))};
}

// Hills in the home view, in a working directory without orvex.env.
class Flight : public testing::Test {
  protected:
    Flight()
    {
        makeHills(grid, 101, 121);
        initView(view, grid, defaultColours());
        windowOperations = {[](const ViewState&) {}, [](const ViewState&) { ++projections; }};
        relight(grid, view), resetView(view, view.homePolar, view.homeAzimuth);
        home = view, projections = 0;
    }
    // Presses keys: a capital letter, or any key after '+', with Shift; ^ and
    // a letter is the letter with Ctrl; a number before a key repeats it.
    void type(const std::string& keys)
    {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const std::size_t first = i;
            while (std::isdigit(keys[i]))
                ++i;
            const int times = i > first ? std::stoi(keys.substr(first, i - first)) : 1;
            const bool shifted = keys[i] == '+' && ++i < keys.size(),
                       control = keys[i] == '^' && ++i < keys.size();
            const int code = control ? controlKey(keys[i]) : static_cast<unsigned char>(keys[i]);
            for (int n = 0; n < times; ++n)
                EXPECT_FALSE(applyKey(view, grid, code, shifted || std::isupper(code))) << keys;
        }
    }
    std::vector<int> shade() const
    {
        return {grid.points[5000].shadeColour, grid.points[5000].shadeColour + 3};
    }

    testing_support::ScratchDir cwd{testing_support::ScratchDir::Enter::yes};
    ElevationGrid grid;
    ViewState view, home;
    static inline int projections = 0;
};

TEST_F(Flight, KeysScaleTheirSettingsWithinLimits)
{
    // Zoom, speed, range, resolution, brightness and names after the keys;
    // the zoom stops at 179 degrees: 180 would collapse the view.
    const double s = view.speed, r = view.rangeSquared;
    const std::tuple<std::string, double, double, double, double, double, double> cases[] = {
        {"b", 40, s, r, 1, 1, 0},        {"30B", 179, s, r, 1, 1, 0}, {"bb^B", 50, s, r, 1, 1, 0},
        {"xXXX", 50, s / 4, r, 1, 1, 0}, {"xx^X", 50, s, r, 1, 1, 0}, {"rrR", 50, s, r * 0.8, 1, 1, 0},
        {"rr^R", 50, s, r, 1, 1, 0},     {"nnn", 50, s, r, 4, 1, 0},  {"nnNNN", 50, s, r, 1, 1, 0},
        {"nn^N", 50, s, r, 1, 1, 0},     {"21S", 50, s, r, 1, 0, 0},  {"s", 50, s, r, 1, 1.05, 0},
        {"SS^S", 50, s, r, 1, 1, 0},     {"m", 50, s, r, 1, 1, 1},    {"mm", 50, s, r, 1, 1, 2},
        {"mmm", 50, s, r, 1, 1, 0}};
    for (const auto& c : cases) {
        view = home, type(std::get<0>(c));
        const auto expected =
            std::apply([](auto, auto... value) { return std::vector<double>{value...}; }, c);
        for (int i = 0; i < 6; ++i)
            EXPECT_NEAR(settings(view)[i], expected[i], 1e-9 * expected[i])
                << std::get<0>(c) << ", setting " << i;
    }
    view = home, projections = 0;
    const std::vector<int> blended = shade();
    type("bB^Bh");
    EXPECT_EQ(projections, 3);   // every zoom key sets the projection
    EXPECT_NE(shade(), blended); // the colour switch relights
    type("+h21S");               // Page Up shares the switch's code
    EXPECT_EQ(shade(), (std::vector<int>{0, 0, 0}));
    type("^S");
    EXPECT_EQ(shade(), blended);
}

TEST_F(Flight, FlightKeysScaleWithZoomAboutTheEye)
{
    const float eyeY = view.eye[0];
    type(key(keyLeft) + "+" + key(keyLeft)); // shifted or not
    EXPECT_EQ(std::pair(view.viewAzimuth, view.eye[0]), std::pair(10.0, eyeY));
    type("b" + key(keyRight)); // zoom ratio 0.8
    EXPECT_NEAR(view.viewAzimuth, 6, 1e-12);
    const float height = view.eye[2];
    type(key(keyUp));
    EXPECT_NEAR(view.eye[2], height + 0.56 * view.speed, 1e-2);
    type(" z"); // home again, facing north, one step forward
    EXPECT_NEAR(view.eye[0],
                view.sceneCentre[0] + view.orbitDistance * std::sin(75 * M_PI / 180) - view.speed, 1e-2);
    type("16+" + key(keyDown));
    EXPECT_NEAR(view.viewPolar, 0, 1e-9); // from 75 degrees straight down, and no further
    type("37+" + key(keyUp));
    EXPECT_NEAR(view.viewPolar, 180, 1e-9); // and up to 180
    for (int axis = 0; axis < 3; ++axis)
        EXPECT_NEAR(view.target[axis], view.eye[axis] - view.viewOffset[axis], 1e-2);
    type("xbrnshmt"); // the top view restores the flight settings but keeps light and switches
    EXPECT_NEAR(view.eye[2], view.sceneCentre[2] + view.orbitDistance, 1e-2);
    EXPECT_EQ(std::pair(view.viewPolar, view.blendColours), std::pair(0.0, 0));
    EXPECT_EQ(settings(view), (std::vector<double>{50, home.speed, home.rangeSquared, 1, 1.05, 1}));
}

TEST_F(Flight, OnlyQuitKeysSaveTheViewState)
{
    for (const unsigned char code : std::string("1ia\0\1l\xc8\xff", 8)) // no action, and no save
        EXPECT_FALSE(applyKey(view, grid, code, false));
    EXPECT_EQ(std::pair(view.viewAzimuth, std::filesystem::exists("orvex.env")), std::pair(0.0, false));
    for (const int code : {keyEscape, int('q'), int('Q')}) {
        view.brightness = code / 100.0;
        EXPECT_TRUE(applyKey(view, grid, code, code == 'Q'));
        EXPECT_EQ(testing_support::fileText("orvex.env").substr(12, 6),
                  std::to_string(code / 100.0).substr(0, 5) + "\n");
    }
    constexpr int super = 8; // freeglut 3.4 reports Num Lock here
    EXPECT_TRUE(isShifted(modifierShift) && isShifted(modifierShift | super));
    EXPECT_FALSE(isShifted(0) || isShifted(super) || isShifted(modifierShift | modifierCtrl) ||
                 isShifted(modifierShift | modifierAlt));
    for (int code = keyLeft; code <= 'z'; ++code)
        EXPECT_EQ(isIgnoredSpecialKey(code), code >= keyNumLock && code <= keySuperRight) << code;
    for (int value = -1; value <= 11; ++value)
        EXPECT_EQ(menuKeyCode(value), value < 0 || value > 10 ? -1 : " tbxnrhmsqp"[value]);
}

TEST_F(Flight, TheWheelStepsAsZAndShiftZWithoutEndingADrag)
{
    type("z");
    const ViewState forward = view;
    view = home, type("Z");
    const ViewState back = view;
    view = home;
    pressMouse(view, leftButton, buttonDown, false, 10, 10);
    EXPECT_TRUE(turnWheel(view, grid, wheelAway, buttonDown));
    EXPECT_TRUE(turnWheel(view, grid, wheelAway, 1)); // its release moves nothing
    EXPECT_EQ(std::vector(view.eye, view.eye + 3), std::vector(forward.eye, forward.eye + 3));
    EXPECT_EQ(std::vector(view.target, view.target + 3), std::vector(forward.target, forward.target + 3));
    EXPECT_EQ(view.dragMode, DragMode::fly);
    view = home;
    EXPECT_TRUE(turnWheel(view, grid, wheelTowards, buttonDown));
    EXPECT_EQ(std::vector(view.eye, view.eye + 3), std::vector(back.eye, back.eye + 3));
    for (const int button : {leftButton, 1, 2, 5}) // no wheel
        EXPECT_FALSE(turnWheel(view, grid, button, buttonDown)) << button;
    EXPECT_EQ(std::vector(view.eye, view.eye + 3), std::vector(back.eye, back.eye + 3));
}

TEST_F(Flight, DragsFlyOrMoveTheSunWithinTheSky)
{
    pressMouse(view, leftButton, buttonDown, false, 350, 300);
    const float height = view.eye[2];
    EXPECT_TRUE(dragPointer(view, grid, 280, 245)); // 70 px left, 55 px up
    EXPECT_NEAR(view.viewAzimuth, 9, 1e-12);
    EXPECT_NEAR(view.eye[2], height + view.speed, 1e-2);
    EXPECT_FALSE(dragPointer(view, grid, -1, 100) || dragPointer(view, grid, 100, 551)); // outside the window
    EXPECT_NEAR(view.viewAzimuth, 9, 1e-12);
    pressMouse(view, leftButton, 1, false, 0, 0); // released
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
    pressMouse(view, leftButton + 2, buttonDown, false, 5, 5); // any other button ends the drag
    EXPECT_EQ(view.dragMode, DragMode::none);
}

} // namespace
