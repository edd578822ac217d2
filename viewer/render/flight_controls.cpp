#include "render/flight_controls.h"

#include <algorithm>

#include "data/view_state_file.h"
#include "render/terrain_mesh.h"
#include "state/view_state.h"
#include "state/window_operations.h"

namespace orvex {

namespace {

// Zoom ratio: turning, pitching and climbing steps shrink when zoomed in.
double zoomRatio()
{
    return view.fovy / view.fovyDefault;
}

// The target follows the eye at the last computed offset.
void follow()
{
    for (int axis = 0; axis < 3; ++axis)
        view.target[axis] = static_cast<float>(view.eye[axis] - view.viewOffset[axis]);
    windowOperations.applyCamera();
}

// The camera turns about the eye to the current view angles.
void reaim()
{
    sphericalToCartesian(view.orbitDistance, view.viewPolar, view.viewAzimuth, view.viewOffset);
    follow();
}

void stepForward(double direction)
{
    double step[3];
    sphericalToCartesian(view.speed, view.movePolar, view.viewAzimuth + 180, step);
    for (int axis = 0; axis < 3; ++axis)
        view.eye[axis] = static_cast<float>(view.eye[axis] + direction * step[axis]);
    follow();
}

void setFieldOfView(double fovy)
{
    view.fovy = std::min(fovy, widestFieldOfView);
    windowOperations.applyProjection();
}

void climb(double direction)
{
    view.eye[2] = static_cast<float>(view.eye[2] + direction * 0.7 * view.speed * zoomRatio());
    follow();
}

void pitch(double direction)
{
    const double k = zoomRatio();
    const bool room = direction > 0 ? view.viewPolar <= 180 - 2.5 * k : view.viewPolar >= 2.5 * k;
    if (!room)
        return;
    view.viewPolar += direction * 5 * k;
    reaim();
}

void turn(double direction)
{
    view.viewAzimuth += direction * 5 * zoomRatio();
    reaim();
}

void setBrightness(double brightness)
{
    view.brightness = std::max(brightness, 0.0);
    relight();
}

} // namespace

bool isShifted(int modifiers)
{
    return (modifiers & (modifierShift | modifierCtrl | modifierAlt)) == modifierShift;
}

bool isIgnoredSpecialKey(int key)
{
    return key >= 109 && key <= 119;
}

bool applyKey(int code, bool shifted)
{
    switch (code) {
    case ' ':
        resetView(view.homePolar, view.homeAzimuth);
        break;
    case 't':
    case 'T':
        resetView(0, 0);
        break;
    case 'z':
    case 'Z':
        stepForward(shifted ? -1 : 1);
        break;
    case 'b':
    case 'B':
        setFieldOfView(shifted ? view.fovy / 0.8 : view.fovy * 0.8);
        break;
    case 2:
        setFieldOfView(view.fovyDefault);
        break;
    case 'x':
    case 'X':
        view.speed = shifted ? view.speed / 2 : view.speed * 2;
        break;
    case 24:
        view.speed = view.speedFactor * view.sceneRadius;
        break;
    case 'n':
    case 'N':
        if (!shifted && view.gridStep < 4)
            view.gridStep *= 2;
        else if (shifted && view.gridStep > 1)
            view.gridStep /= 2;
        break;
    case 14:
        view.gridStep = 1;
        break;
    case 'r':
    case 'R':
        view.rangeSquared = shifted ? view.rangeSquared / 0.8 : view.rangeSquared * 0.8;
        break;
    case 18:
        view.rangeSquared = view.rangeFactor * view.sceneRadius * view.sceneRadius;
        break;
    case 'h':
    case 'H':
        view.blendColours = 1 - view.blendColours;
        relight();
        break;
    case 'm':
    case 'M':
        view.nameMode = view.nameMode >= 2 ? 0 : view.nameMode + 1;
        break;
    case 's':
    case 'S':
        setBrightness(shifted ? view.brightness - 0.05 : view.brightness + 0.05);
        break;
    case 19:
        setBrightness(1.0);
        break;
    case 27:
    case 'q':
    case 'Q':
        saveViewState();
        return true;
    case 100:
        turn(1);
        break;
    case 102:
        turn(-1);
        break;
    case 101:
        shifted ? pitch(1) : climb(1);
        break;
    case 103:
        shifted ? pitch(-1) : climb(-1);
        break;
    default:
        break;
    }
    return false;
}

int menuKeyCode(int value)
{
    static constexpr char keys[] = " tbxnrhmsq";
    if (value < 0 || value >= static_cast<int>(sizeof keys) - 1)
        return -1;
    return keys[value];
}

void pressMouse(int button, int state, bool shifted, int x, int y)
{
    if (button == leftButton && state == buttonDown) {
        view.dragLastX = x;
        view.dragLastY = y;
        view.dragMode = shifted ? 2 : 1;
    } else {
        view.dragMode = 0;
    }
}

bool dragPointer(int x, int y)
{
    if (x < 0 || y < 0 || x > view.windowWidth || y > view.windowHeight)
        return false;
    if (view.dragMode == 0)
        return false;
    const double dx = view.dragLastX - x;
    const double dy = view.dragLastY - y;
    if (view.dragMode == 1) {
        const double k = zoomRatio();
        view.viewAzimuth += 90 * k * dx / view.windowWidth;
        sphericalToCartesian(view.orbitDistance, view.viewPolar, view.viewAzimuth, view.viewOffset);
        view.eye[2] = static_cast<float>(view.eye[2] + 10 * view.speed * k * dy / view.windowHeight);
        follow();
    } else {
        view.sunAzimuth = std::clamp(view.sunAzimuth + 180 * dx / view.windowWidth, 90.0, 270.0);
        view.sunElevation = std::clamp(view.sunElevation + 90 * dy / view.windowHeight, 0.0, 90.0);
        relight();
    }
    view.dragLastX = x;
    view.dragLastY = y;
    return true;
}

} // namespace orvex
