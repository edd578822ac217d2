#include "render/frame_gl.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "render/frame_cells.h"
#include "state/colour_table.h"
#include "state/grid.h"
#include "state/mountain_table.h"
#include "state/view_state.h"

namespace orvex {

namespace {

TerrainPath terrainPath = TerrainPath::fast;
long long drawnCells = 0;

// Blocks are measured once, on the first fast frame: the grid never changes
// after loading. The visible cells are kept while nothing they depend on moves.
struct FastPathCache {
    const GridPoint* measuredGrid = nullptr;
    TerrainBlocks blocks;
    VisibleCells cells;
    bool cellsValid = false;
    int step = 0;
    float eye[3] = {};
    double rangeSquared = 0;
    Frustum frustum{};
};
FastPathCache cache;

// Largest index count handed to one draw call: whole cells, six indices each.
constexpr std::size_t largestDraw = std::size_t{6} << 22;
static_assert(largestDraw % 6 == 0);

void clearToBackground()
{
    const Rgb background = colourEntry(colours.colourCount - 1);
    glClearColor(background.red / 255.0f, background.green / 255.0f, background.blue / 255.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void cornerVertex(const GridPoint& point)
{
    glColor3ubv(point.shadeColour);
    glVertex3f(point.y, point.x, point.z);
}

void drawTerrainLiteral()
{
    const int step = view.gridStep;
    for (int i = step; i < grid.gridRows; i += step) {
        for (int j = step; j < grid.gridCols; j += step) {
            if (!cornerInRange(grid.gridRowTable[i][j], view.eye, view.rangeSquared))
                continue;
            if (!cellCornersValid(i, j, step))
                continue;
            ++drawnCells;
            glBegin(GL_POLYGON);
            cornerVertex(grid.gridRowTable[i - step][j - step]);
            cornerVertex(grid.gridRowTable[i][j - step]);
            cornerVertex(grid.gridRowTable[i][j]);
            cornerVertex(grid.gridRowTable[i - step][j]);
            glEnd();
        }
    }
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

void updateVisibleCells()
{
    if (cache.measuredGrid != grid.points.get()) {
        cache.blocks.build();
        cache.measuredGrid = grid.points.get();
        cache.cellsValid = false;
    }
    const Frustum frustum = currentFrustum();
    const bool unchanged = cache.cellsValid && cache.step == view.gridStep &&
                           std::equal(view.eye, view.eye + 3, cache.eye) &&
                           cache.rangeSquared == view.rangeSquared && sameFrustum(cache.frustum, frustum);
    if (unchanged)
        return;
    const CellQuery query{
        view.gridStep, {view.eye[0], view.eye[1], view.eye[2]}, view.rangeSquared, &frustum};
    collectVisibleCells(cache.blocks, query, cache.cells);
    cache.cellsValid = true;
    cache.step = view.gridStep;
    std::copy(view.eye, view.eye + 3, cache.eye);
    cache.rangeSquared = view.rangeSquared;
    cache.frustum = frustum;
}

void drawTerrainFast()
{
    if (!gridFitsIndices() || grid.gridRows < 2 || grid.gridCols < 2) {
        drawTerrainLiteral();
        return;
    }
    updateVisibleCells();
    drawnCells = static_cast<long long>(cache.cells.indices.size() / 6);
    const GridPoint* points = grid.points.get();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(GridPoint), &points->y);
    glColorPointer(3, GL_UNSIGNED_BYTE, sizeof(GridPoint), points->shadeColour);
    for (const CellBatch& batch : cache.cells.batches) {
        for (std::size_t done = 0; done < batch.count; done += largestDraw) {
            const std::size_t count = std::min(largestDraw, batch.count - done);
            glDrawRangeElements(GL_TRIANGLES, batch.minIndex, batch.maxIndex, static_cast<GLsizei>(count),
                                GL_UNSIGNED_INT, cache.cells.indices.data() + batch.first + done);
        }
    }
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

void drawMountainNames()
{
    const double lift = grid.labelLift;
    glColor3ub(100, 100, 100);
    glBegin(GL_LINES);
    for (const Mountain& mountain : mountains.mountainTable) {
        if (!mountain.shown)
            continue;
        glVertex3d(mountain.y, mountain.x, mountain.z);
        glVertex3d(mountain.y, mountain.x, mountain.z + lift);
    }
    glEnd();

    void* font = view.nameMode == 1 ? GLUT_BITMAP_HELVETICA_12 : GLUT_BITMAP_HELVETICA_10;
    for (const Mountain& mountain : mountains.mountainTable) {
        if (!mountain.shown)
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

void setTerrainPath(TerrainPath path)
{
    terrainPath = path;
}

void applyCamera()
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const double degree = std::atan(1.0) * 4 / 180;
    const double polar = view.viewPolar * degree;
    const double azimuth = view.viewAzimuth * degree;
    gluLookAt(view.eye[0], view.eye[1], view.eye[2], view.target[0], view.target[1], view.target[2],
              -std::cos(polar) * std::cos(azimuth), -std::cos(polar) * std::sin(azimuth), std::sin(polar));
}

long long lastDrawnCellCount()
{
    return drawnCells;
}

void forgetMeasuredTerrain()
{
    cache.measuredGrid = nullptr;
    cache.cellsValid = false;
}

void drawFrame()
{
    clearToBackground();
    drawnCells = 0;
    if (terrainPath == TerrainPath::fast)
        drawTerrainFast();
    else
        drawTerrainLiteral();
    if (view.nameMode != 0)
        drawMountainNames();
}

void onDisplay()
{
    drawFrame();
    glFlush();
    glutSwapBuffers();
}

} // namespace orvex
