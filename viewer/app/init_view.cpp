#include "app/init_view.h"

#include <cmath>

#include "data/view_state_file.h"
#include "render/terrain_mesh.h"
#include "state/colour_table.h"
#include "state/grid.h"
#include "state/view_state.h"

namespace orvex {

namespace {

void deriveSceneSize(ViewState& view, const ElevationGrid& grid)
{
    if (grid.gridRows < 1 || grid.gridCols < 1)
        return; // no grid: nothing to look at, the scene stays empty
    const GridPoint& first = grid.gridRowTable[0][0];
    const GridPoint& last = grid.gridRowTable[grid.gridRows - 1][grid.gridCols - 1];
    const double dy = static_cast<double>(first.y) - last.y;
    const double dx = static_cast<double>(first.x) - last.x;
    view.sceneRadius = std::sqrt(dy * dy + dx * dx) / 2;
    view.sceneCentre[0] = static_cast<float>((static_cast<double>(first.y) + last.y) / 2);
    view.sceneCentre[1] = static_cast<float>((static_cast<double>(first.x) + last.x) / 2);
    view.sceneCentre[2] = static_cast<float>(0.2 * view.sceneRadius);
    view.orbitDistance = 1.8 * view.sceneRadius;
    view.rangeFactor = 8.0;
    view.rangeSquared = view.rangeFactor * view.sceneRadius * view.sceneRadius;
}

void setSavedDefaults(ViewState& view)
{
    view.brightness = 1.0;
    view.sunAzimuth = 250;
    view.sunElevation = 30;
    view.windowWidth = 700;
    view.windowHeight = 550;
    view.blendColours = 1;
    view.nameMode = NameMode::off;
}

void setFixedConstants(ViewState& view)
{
    view.homePolar = 75;
    view.homeAzimuth = 0;
    view.movePolar = 90;
    view.speedFactor = 0.02;
    view.fovyDefault = 50;
}

} // namespace

void initView(ViewState& view, ElevationGrid& grid, const ColourTable& colours)
{
    computeMeshAttributes(grid, colours);
    deriveSceneSize(view, grid);
    setSavedDefaults(view);
    loadViewState(view);
    setFixedConstants(view);
}

void initView()
{
    initView(view, grid, colours);
}

} // namespace orvex
