#pragma once
// Drawing one frame: the camera, the background, the terrain cells and the
// summit names.

#include <functional>
#include <utility>

#include "render/frame_cells.h"
#include "render/moving_frame_gl.h"

namespace orvex {

struct ColourTable;
struct ElevationGrid;
struct MountainTable;
struct ViewState;

// The terrain is drawn from client-side arrays over the grid points with
// whole blocks outside the view left out (fast), or as one polygon per cell
// (literal). Both give the same picture; the literal path stays for tests and
// benchmarks.
enum class TerrainPath { fast, literal };

// What a frame shows.
struct Scene {
    const ElevationGrid& grid;
    const ViewState& view;
    const ColourTable& colours;
    const MountainTable& mountains;
};

// Draws frames into the current GL context. The fast path measures a grid's
// blocks on its first frame (a loaded grid never changes) and keeps the
// visible cells while nothing they depend on moves.
class FrameDrawer {
  public:
    void setTerrainPath(TerrainPath path) { path_ = path; }

    // While the view moves the fast path draws each block at the level of
    // detail its distance allows; at rest it draws every cell.
    void setMoving(bool moving) { moving_ = moving; }
    bool moving() const { return moving_; }
    MovingTerrain& movingTerrain() { return movingTerrain_; }

    // Asked between parts of a full-detail frame: when it answers true the
    // frame is left unfinished (lastFrameInterrupted), so that waiting input
    // is not held up by a picture it is about to change.
    void setInterruption(std::function<bool()> interrupted) { interrupted_ = std::move(interrupted); }
    bool lastFrameInterrupted() const { return frameInterrupted_; }

    // Everything of a frame up to the buffer swap.
    void draw(const Scene& scene);
    // The same at full detail and never cut short, whatever the view does.
    void drawFullDetail(const Scene& scene);

    // Cells the last frame's terrain drew (before the depth test).
    long long lastDrawnCellCount() const { return drawnCells_; }

    // Measures the grid again on the next fast frame: for a grid whose points
    // were changed or made anew in the same place.
    void forgetMeasuredTerrain();

  private:
    void measure(const ElevationGrid& grid);
    void updateVisibleCells(const ElevationGrid& grid, const ViewState& view);
    void drawTerrainFast(const ElevationGrid& grid, const ViewState& view);

    TerrainPath path_ = TerrainPath::fast;
    long long drawnCells_ = 0;
    const GridPoint* measuredGrid_ = nullptr;
    TerrainBlocks blocks_;
    VisibleCells cells_;
    bool cellsValid_ = false;
    int step_ = 0;
    float eye_[3] = {};
    double rangeSquared_ = 0;
    Frustum frustum_{};
    bool moving_ = false;
    std::function<bool()> interrupted_;
    bool frameInterrupted_ = false;
    MovingTerrain movingTerrain_;
};

// Sets the model-view matrix from the eye, the target and the view angles.
void applyCamera(const ViewState& view);

// The window's drawer, and its frame of the process-wide grid, view state,
// colours and summits (relit first where the light changed since).
FrameDrawer& windowFrameDrawer();
void drawFrame();
void drawFullDetailFrame(); // for a picture of the window

// The display callback: drawFrame, flush, swap.
void onDisplay();

} // namespace orvex
