#include "render/moving_frame_gl.h"

#include <GL/freeglut.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>

#include "state/view_state.h"

namespace orvex {

namespace {

// The buffer-object calls of OpenGL 1.5, looked up at run time.
struct BufferCalls {
    PFNGLGENBUFFERSPROC gen = nullptr;
    PFNGLDELETEBUFFERSPROC remove = nullptr;
    PFNGLBINDBUFFERPROC bind = nullptr;
    PFNGLBUFFERDATAPROC data = nullptr;
};

BufferCalls& bufferCalls()
{
    static BufferCalls calls;
    return calls;
}

template <typename Call> Call lookUp(const char* name)
{
    return reinterpret_cast<Call>(glutGetProcAddress(name));
}

// OpenGL 1.5 or later: buffer objects are part of the core.
bool versionHasBuffers()
{
    const auto* text = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 0, minor = 0;
    return text && std::sscanf(text, "%d.%d", &major, &minor) == 2 &&
           (major > 1 || (major == 1 && minor >= 5));
}

// Largest index count handed to one draw call: whole triangles.
constexpr std::size_t largestDraw = std::size_t{3} << 23;

void drawTriangles(const std::uint32_t* indices, std::size_t count)
{
    for (std::size_t done = 0; done < count; done += largestDraw) {
        const std::size_t part = std::min(largestDraw, count - done);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(part), GL_UNSIGNED_INT, indices + done);
    }
}

} // namespace

MovingTerrain::~MovingTerrain()
{
    if (bufferNames_[0] != 0 && bufferCalls().remove)
        bufferCalls().remove(2, bufferNames_);
}

bool MovingTerrain::useBufferObjects()
{
    if (buffers_ == Buffers::unknown) {
        BufferCalls& calls = bufferCalls();
        if (versionHasBuffers()) {
            calls.gen = lookUp<PFNGLGENBUFFERSPROC>("glGenBuffers");
            calls.remove = lookUp<PFNGLDELETEBUFFERSPROC>("glDeleteBuffers");
            calls.bind = lookUp<PFNGLBINDBUFFERPROC>("glBindBuffer");
            calls.data = lookUp<PFNGLBUFFERDATAPROC>("glBufferData");
        }
        const bool found = calls.gen && calls.remove && calls.bind && calls.data;
        if (found)
            calls.gen(2, bufferNames_);
        buffers_ = found ? Buffers::available : Buffers::absent;
    }
    return buffersAllowed_ && buffers_ == Buffers::available;
}

void MovingTerrain::drawMesh()
{
    const std::size_t vertexBytes = mesh_.vertices.size() * sizeof(MovingVertex);
    const std::size_t indexBytes = mesh_.indices.size() * sizeof(std::uint32_t);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    if (useBufferObjects()) {
        const BufferCalls& calls = bufferCalls();
        calls.bind(GL_ARRAY_BUFFER, bufferNames_[0]);
        calls.data(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertexBytes), mesh_.vertices.data(),
                   GL_STREAM_DRAW);
        calls.bind(GL_ELEMENT_ARRAY_BUFFER, bufferNames_[1]);
        calls.data(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indexBytes), mesh_.indices.data(),
                   GL_STREAM_DRAW);
        bufferBytes_ = std::max(bufferBytes_, vertexBytes + indexBytes);
        glVertexPointer(3, GL_FLOAT, sizeof(MovingVertex), nullptr);
        glColorPointer(3, GL_UNSIGNED_BYTE, sizeof(MovingVertex),
                       reinterpret_cast<const void*>(offsetof(MovingVertex, colour)));
        drawTriangles(nullptr, mesh_.indices.size());
        calls.bind(GL_ELEMENT_ARRAY_BUFFER, 0);
        calls.bind(GL_ARRAY_BUFFER, 0);
    } else {
        glVertexPointer(3, GL_FLOAT, sizeof(MovingVertex), mesh_.vertices.front().position);
        glColorPointer(3, GL_UNSIGNED_BYTE, sizeof(MovingVertex), mesh_.vertices.front().colour);
        drawTriangles(mesh_.indices.data(), mesh_.indices.size());
    }
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}

long long MovingTerrain::draw(const ElevationGrid& grid, const ViewState& view, const TerrainBlocks& blocks,
                              const Frustum& frustum)
{
    measure(grid, blocks);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const double halfField = view.fovy / 2 * std::atan(1.0) * 4 / 180;
    const MovingQuery query{view.gridStep,
                            {view.eye[0], view.eye[1], view.eye[2]},
                            view.rangeSquared,
                            &frustum,
                            viewport[3] / 2.0 / std::tan(halfField)};
    buildMovingMesh(grid, blocks, levels_, query, mesh_);
    if (!mesh_.indices.empty())
        drawMesh();
    return mesh_.cells;
}

void MovingTerrain::measure(const ElevationGrid& grid, const TerrainBlocks& blocks)
{
    if (measuredGrid_ == grid.points.get())
        return;
    levels_.build(grid, blocks);
    measuredGrid_ = grid.points.get();
}

std::size_t MovingTerrain::memoryBytes() const
{
    return levels_.memoryBytes() + mesh_.memoryBytes() + bufferBytes_;
}

} // namespace orvex
