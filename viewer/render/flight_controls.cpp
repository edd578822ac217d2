#include "render/flight_controls.h"

#include <algorithm>

#include "data/view_state_file.h"
#include "render/terrain_mesh.h"
#include "state/view_state.h"
#include "state/window_operations.h"

namespace orvex {

namespace {

RelightRequest relightRequest = nullptr;

void lightChanged(ElevationGrid& grid, const ViewState& view)
{
    if (relightRequest)
        relightRequest(grid, view);
    else
        relight(grid, view);
}

// Zoom ratio: turning, pitching and climbing steps shrink when zoomed in.
double zoomRatio(const ViewState& view)
{
    return view.fovy / view.fovyDefault;
}

// The target follows the eye at the last computed offset.
void follow(ViewState& view)
{
    for (int axis = 0; axis < 3; ++axis)
        view.target[axis] = static_cast<float>(view.eye[axis] - view.viewOffset[axis]);
    windowOperations.applyCamera(view);
}

// The camera turns about the eye to the current view angles.
void reaim(ViewState& view)
{
    sphericalToCartesian(view.orbitDistance, view.viewPolar, view.viewAzimuth, view.viewOffset);
    follow(view);
}

void stepForward(ViewState& view, double direction)
{
    double step[3];
    sphericalToCartesian(view.speed, view.movePolar, view.viewAzimuth + 180, step);
    for (int axis = 0; axis < 3; ++axis)
        view.eye[axis] = static_cast<float>(view.eye[axis] + direction * step[axis]);
    follow(view);
}

void setFieldOfView(ViewState& view, double fovy)
{
    view.fovy = std::min(fovy, widestFieldOfView);
    windowOperations.applyProjection(view);
}

void climb(ViewState& view, double direction)
{
    view.eye[2] = static_cast<float>(view.eye[2] + direction * 0.7 * view.speed * zoomRatio(view));
    follow(view);
}

void pitch(ViewState& view, double direction)
{
    const double k = zoomRatio(view);
    const bool room = direction > 0 ? view.viewPolar <= 180 - 2.5 * k : view.viewPolar >= 2.5 * k;
    if (!room)
        return;
    view.viewPolar += direction * 5 * k;
    reaim(view);
}

void turn(ViewState& view, double direction)
{
    view.viewAzimuth += direction * 5 * zoomRatio(view);
    reaim(view);
}

void setBrightness(ViewState& view, ElevationGrid& grid, double brightness)
{
    view.brightness = std::max(brightness, 0.0);
    lightChanged(grid, view);
}

// Off, large, small, off again.
NameMode nextNameMode(NameMode mode)
{
    switch (mode) {
    case NameMode::off:
        return NameMode::large;
    case NameMode::large:
        return NameMode::small;
    case NameMode::small:
        break;
    }
    return NameMode::off;
}

} // namespace

void setRelightRequest(RelightRequest request)
{
    relightRequest = request;
}

bool isShifted(int modifiers)
{
    return (modifiers & (modifierShift | modifierCtrl | modifierAlt)) == modifierShift;
}

bool isIgnoredSpecialKey(int key)
{
    return key >= keyNumLock && key <= keySuperRight;
}

bool applyKey(ViewState& view, ElevationGrid& grid, int code, bool shifted)
{
    switch (code) {
    case ' ':
        resetView(view, view.homePolar, view.homeAzimuth);
        break;
    case 't':
    case 'T':
        resetView(view, 0, 0);
        break;
    case 'z':
    case 'Z':
        stepForward(view, shifted ? -1 : 1);
        break;
    case 'b':
    case 'B':
        setFieldOfView(view, shifted ? view.fovy / 0.8 : view.fovy * 0.8);
        break;
    case keyCtrlB:
        setFieldOfView(view, view.fovyDefault);
        break;
    case 'x':
    case 'X':
        view.speed = shifted ? view.speed / 2 : view.speed * 2;
        break;
    case keyCtrlX:
        view.speed = view.speedFactor * view.sceneRadius;
        break;
    case 'n':
    case 'N':
        if (!shifted && view.gridStep < 4)
            view.gridStep *= 2;
        else if (shifted && view.gridStep > 1)
            view.gridStep /= 2;
        break;
    case keyCtrlN:
        view.gridStep = 1;
        break;
    case 'r':
    case 'R':
        view.rangeSquared = shifted ? view.rangeSquared / 0.8 : view.rangeSquared * 0.8;
        break;
    case keyCtrlR:
        view.rangeSquared = view.rangeFactor * view.sceneRadius * view.sceneRadius;
        break;
    case 'h':
    case 'H':
        view.blendColours = 1 - view.blendColours;
        lightChanged(grid, view);
        break;
    case 'm':
    case 'M':
        view.nameMode = nextNameMode(view.nameMode);
        break;
    case 's':
    case 'S':
        setBrightness(view, grid, shifted ? view.brightness - 0.05 : view.brightness + 0.05);
        break;
    case keyCtrlS:
        setBrightness(view, grid, 1.0);
        break;
    case keyEscape:
    case 'q':
    case 'Q':
        saveViewState(view);
        return true;
    case keyLeft:
        turn(view, 1);
        break;
    case keyRight:
        turn(view, -1);
        break;
    case keyUp:
        shifted ? pitch(view, 1) : climb(view, 1);
        break;
    case keyDown:
        shifted ? pitch(view, -1) : climb(view, -1);
        break;
    default:
        break;
    }
    return false;
}

int menuKeyCode(int value)
{
    static constexpr char keys[] = {' ', 't', 'b', 'x', 'n', 'r', 'h', 'm', 's', 'q', keyPicture, 0};
    if (value < 0 || value >= static_cast<int>(sizeof keys) - 1)
        return -1;
    return keys[value];
}

void pressMouse(ViewState& view, int button, int state, bool shifted, int x, int y)
{
    if (button == leftButton && state == buttonDown) {
        view.dragLastX = x;
        view.dragLastY = y;
        view.dragMode = shifted ? DragMode::sun : DragMode::fly;
    } else {
        view.dragMode = DragMode::none;
    }
}

bool turnWheel(ViewState& view, ElevationGrid& grid, int button, int state)
{
    if (button != wheelAway && button != wheelTowards)
        return false;
    if (state == buttonDown)
        applyKey(view, grid, 'z', button == wheelTowards);
    return true;
}

bool dragPointer(ViewState& view, ElevationGrid& grid, int x, int y)
{
    if (x < 0 || y < 0 || x > view.windowWidth || y > view.windowHeight)
        return false;
    if (view.dragMode == DragMode::none)
        return false;
    const double dx = view.dragLastX - x;
    const double dy = view.dragLastY - y;
    if (view.dragMode == DragMode::fly) {
        const double k = zoomRatio(view);
        view.viewAzimuth += 90 * k * dx / view.windowWidth;
        sphericalToCartesian(view.orbitDistance, view.viewPolar, view.viewAzimuth, view.viewOffset);
        view.eye[2] = static_cast<float>(view.eye[2] + 10 * view.speed * k * dy / view.windowHeight);
        follow(view);
    } else {
        view.sunAzimuth = std::clamp(view.sunAzimuth + 180 * dx / view.windowWidth, 90.0, 270.0);
        view.sunElevation = std::clamp(view.sunElevation + 90 * dy / view.windowHeight, 0.0, 90.0);
        lightChanged(grid, view);
    }
    view.dragLastX = x;
    view.dragLastY = y;
    return true;
}

} // namespace orvex
