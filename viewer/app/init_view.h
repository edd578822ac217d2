#pragma once

namespace orvex {

// Start-up, after the grid, the colours and the summits are read: the mesh
// attributes, the scene size, the defaults, then orvex.env over them.
void initView();

} // namespace orvex
