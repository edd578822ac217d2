#include "state/view_state.h"

#include <cmath>

#include "state/window_operations.h"

namespace orvex {

ViewState view;

void sphericalToCartesian(double r, double polar, double azimuth, double out[3])
{
    const double degree = std::atan(1.0) * 4 / 180;
    const double p = polar * degree;
    const double a = azimuth * degree;
    out[0] = r * std::sin(p) * std::cos(a);
    out[1] = r * std::sin(p) * std::sin(a);
    out[2] = r * std::cos(p);
}

void resetView(ViewState& view, double polar, double azimuth)
{
    view.viewPolar = polar;
    view.viewAzimuth = azimuth;
    sphericalToCartesian(view.orbitDistance, polar, azimuth, view.viewOffset);
    for (int axis = 0; axis < 3; ++axis) {
        view.eye[axis] = static_cast<float>(view.sceneCentre[axis] + view.viewOffset[axis]);
        view.target[axis] = view.sceneCentre[axis];
    }
    windowOperations.applyCamera(view);
    view.speed = view.speedFactor * view.sceneRadius;
    view.fovy = view.fovyDefault;
    view.rangeSquared = view.rangeFactor * view.sceneRadius * view.sceneRadius;
    windowOperations.applyProjection(view);
    view.gridStep = 1;
    view.dragMode = DragMode::none;
}

void resetView(double polar, double azimuth)
{
    resetView(view, polar, azimuth);
}

} // namespace orvex
