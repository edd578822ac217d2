#include "render/frame_gl.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "render/summit_labels.h"
#include "render/view_rest_gl.h"
#include "state/colour_table.h"
#include "state/grid.h"
#include "state/mountain_table.h"
#include "state/view_state.h"

namespace orvex {

namespace {

// Largest index count handed to one draw call: whole cells, six indices each.
constexpr std::size_t largestDraw = std::size_t{6} << 22;
static_assert(largestDraw % 6 == 0);

void clearToBackground(const ColourTable& colours)
{
    const Rgb background = colourEntry(colours, colours.colourCount - 1);
    glClearColor(background.red / 255.0f, background.green / 255.0f, background.blue / 255.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void cornerVertex(const GridPoint& point)
{
    glColor3ubv(point.shadeColour);
    glVertex3f(point.y, point.x, point.z);
}

// Returns the number of cells drawn.
long long drawTerrainLiteral(const ElevationGrid& grid, const ViewState& view)
{
    long long drawn = 0;
    const int step = view.gridStep;
    for (int i = step; i < grid.gridRows; i += step) {
        for (int j = step; j < grid.gridCols; j += step) {
            if (!cornerInRange(grid.gridRowTable[i][j], view.eye, view.rangeSquared))
                continue;
            if (!cellCornersValid(grid, i, j, step))
                continue;
            ++drawn;
            glBegin(GL_POLYGON);
            cornerVertex(grid.gridRowTable[i - step][j - step]);
            cornerVertex(grid.gridRowTable[i][j - step]);
            cornerVertex(grid.gridRowTable[i][j]);
            cornerVertex(grid.gridRowTable[i - step][j]);
            glEnd();
        }
    }
    return drawn;
}

Frustum currentFrustum()
{
    double projection[16];
    double modelView[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    return frustumFromMatrices(projection, modelView);
}

bool sameFrustum(const Frustum& a, const Frustum& b)
{
    return std::equal(&a.planes[0][0], &a.planes[0][0] + 24, &b.planes[0][0]);
}

void* glutFont(LabelFont font)
{
    switch (font) {
    case LabelFont::helvetica10:
        return GLUT_BITMAP_HELVETICA_10;
    case LabelFont::helvetica12:
        return GLUT_BITMAP_HELVETICA_12;
    case LabelFont::helvetica18:
        return GLUT_BITMAP_HELVETICA_18;
    case LabelFont::timesRoman24:
        break;
    }
    return GLUT_BITMAP_TIMES_ROMAN_24;
}

void drawMountainNames(const ElevationGrid& grid, const ViewState& view, const MountainTable& mountains)
{
    const double lift = grid.labelLift;
    glColor3ub(100, 100, 100);
    glBegin(GL_LINES);
    for (const Mountain& mountain : mountains.mountainTable) {
        if (!mountain.shown || !summitInRange(mountain, view))
            continue;
        glVertex3d(mountain.y, mountain.x, mountain.z);
        glVertex3d(mountain.y, mountain.x, mountain.z + lift);
    }
    glEnd();

    void* font = glutFont(labelFont(view.nameMode, view.windowHeight));
    for (const Mountain& mountain : mountains.mountainTable) {
        if (!mountain.shown || !summitInRange(mountain, view))
            continue;
        const std::string label = mountain.name + " " + std::to_string(mountain.height);
        if (mountain.kind == 0)
            glColor3ub(30, 30, 30);
        else
            glColor3ub(150, 0, 100);
        glRasterPos3d(mountain.y, mountain.x, mountain.z + lift);
        for (const char byte : label)
            glutBitmapCharacter(font, static_cast<unsigned char>(byte));
    }
}

} // namespace

void FrameDrawer::measure(const ElevationGrid& grid)
{
    if (measuredGrid_ != grid.points.get()) {
        blocks_.build(grid);
        measuredGrid_ = grid.points.get();
        cellsValid_ = false;
        movingTerrain_.forgetMeasuredTerrain();
    }
    movingTerrain_.measure(grid, blocks_);
}

void FrameDrawer::updateVisibleCells(const ElevationGrid& grid, const ViewState& view)
{
    measure(grid);
    const Frustum frustum = currentFrustum();
    const bool unchanged = cellsValid_ && step_ == view.gridStep &&
                           std::equal(view.eye, view.eye + 3, eye_) && rangeSquared_ == view.rangeSquared &&
                           sameFrustum(frustum_, frustum);
    if (unchanged)
        return;
    const CellQuery query{
        view.gridStep, {view.eye[0], view.eye[1], view.eye[2]}, view.rangeSquared, &frustum};
    collectVisibleCells(grid, blocks_, query, cells_);
    cellsValid_ = true;
    step_ = view.gridStep;
    std::copy(view.eye, view.eye + 3, eye_);
    rangeSquared_ = view.rangeSquared;
    frustum_ = frustum;
}

void FrameDrawer::drawTerrainFast(const ElevationGrid& grid, const ViewState& view)
{
    if (!gridFitsIndices(grid) || grid.gridRows < 2 || grid.gridCols < 2) {
        drawnCells_ = drawTerrainLiteral(grid, view);
        return;
    }
    if (moving_) {
        measure(grid);
        drawnCells_ = movingTerrain_.draw(grid, view, blocks_, currentFrustum());
        return;
    }
    updateVisibleCells(grid, view);
    drawnCells_ = static_cast<long long>(cells_.indices.size() / 6);
    const GridPoint* points = grid.points.get();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(GridPoint), &points->y);
    glColorPointer(3, GL_UNSIGNED_BYTE, sizeof(GridPoint), points->shadeColour);
    for (const CellBatch& batch : cells_.batches) {
        if (interrupted_ && interrupted_()) {
            frameInterrupted_ = true;
            break;
        }
        for (std::size_t done = 0; done < batch.count; done += largestDraw) {
            const std::size_t count = std::min(largestDraw, batch.count - done);
            glDrawRangeElements(GL_TRIANGLES, batch.minIndex, batch.maxIndex, static_cast<GLsizei>(count),
                                GL_UNSIGNED_INT, cells_.indices.data() + batch.first + done);
        }
    }
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void FrameDrawer::forgetMeasuredTerrain()
{
    measuredGrid_ = nullptr;
    cellsValid_ = false;
    movingTerrain_.forgetMeasuredTerrain();
}

void FrameDrawer::draw(const Scene& scene)
{
    clearToBackground(scene.colours);
    drawnCells_ = 0;
    frameInterrupted_ = false;
    if (path_ == TerrainPath::fast)
        drawTerrainFast(scene.grid, scene.view);
    else
        drawnCells_ = drawTerrainLiteral(scene.grid, scene.view);
    if (scene.view.nameMode != NameMode::off)
        drawMountainNames(scene.grid, scene.view, scene.mountains);
}

void FrameDrawer::drawFullDetail(const Scene& scene)
{
    const bool moving = std::exchange(moving_, false);
    std::function<bool()> interrupted = std::exchange(interrupted_, nullptr);
    draw(scene);
    moving_ = moving;
    interrupted_ = std::move(interrupted);
}

void applyCamera(const ViewState& view)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const double degree = std::atan(1.0) * 4 / 180;
    const double polar = view.viewPolar * degree;
    const double azimuth = view.viewAzimuth * degree;
    gluLookAt(view.eye[0], view.eye[1], view.eye[2], view.target[0], view.target[1], view.target[2],
              -std::cos(polar) * std::cos(azimuth), -std::cos(polar) * std::sin(azimuth), std::sin(polar));
}

FrameDrawer& windowFrameDrawer()
{
    static FrameDrawer drawer;
    return drawer;
}

void drawFrame()
{
    relightIfLightChanged();
    windowFrameDrawer().draw({grid, view, colours, mountains});
}

void drawFullDetailFrame()
{
    relightIfLightChanged();
    windowFrameDrawer().drawFullDetail({grid, view, colours, mountains});
}

void onDisplay()
{
    drawFrame();
    if (windowFrameDrawer().lastFrameInterrupted()) {
        glutPostRedisplay(); // drawn again once the input is taken
        return;
    }
    glFlush();
    glutSwapBuffers();
}

} // namespace orvex
