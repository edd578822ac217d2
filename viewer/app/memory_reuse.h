#pragma once
namespace orvex {

// Mesa copies client-side vertex arrays into fresh upload buffers for every
// draw, megabytes a frame over a large grid. By default glibc hands such
// blocks back to the kernel when they are freed and takes them again,
// zero-filled page by page, on the next frame; a quarter of a frame went into
// page faults. Keeping freed memory in the process for reuse avoids that.
void keepFreedMemoryForReuse();

} // namespace orvex
