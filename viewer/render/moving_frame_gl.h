#pragma once
// The terrain of the frames drawn while the view moves: each block at the
// step its distance allows (detail_levels.h), from a buffer object where the
// GL has them, else from client-side arrays.

#include "render/detail_levels.h"

namespace orvex {

struct ViewState;

class MovingTerrain {
  public:
    MovingTerrain() = default;
    MovingTerrain(const MovingTerrain&) = delete;
    MovingTerrain& operator=(const MovingTerrain&) = delete;
    ~MovingTerrain();

    // Draws the terrain into the current GL context with the current
    // matrices; the blocks are those of the grid. Returns the cells drawn.
    long long draw(const ElevationGrid& grid, const ViewState& view, const TerrainBlocks& blocks,
                   const Frustum& frustum);

    // Client-side arrays even where the GL has buffer objects.
    void setBufferObjectsAllowed(bool allowed) { buffersAllowed_ = allowed; }

    // Measures the grid's errors (done by the first frame of a grid, moving
    // or not, so that the first key press finds them ready).
    void measure(const ElevationGrid& grid, const TerrainBlocks& blocks);
    void forgetMeasuredTerrain() { measuredGrid_ = nullptr; }

    // What the level of detail holds beside the grid: the errors, the last
    // mesh and its copy in the buffer objects.
    std::size_t memoryBytes() const;
    const MovingMesh& lastMesh() const { return mesh_; }

  private:
    bool useBufferObjects();
    void drawMesh();

    DetailLevels levels_;
    const GridPoint* measuredGrid_ = nullptr;
    MovingMesh mesh_;
    enum class Buffers { unknown, available, absent } buffers_ = Buffers::unknown;
    bool buffersAllowed_ = true;
    unsigned bufferNames_[2] = {}; // vertices, indices
    std::size_t bufferBytes_ = 0;
};

} // namespace orvex
