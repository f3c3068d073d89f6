#pragma once
// Reading pictures back from the GL, for the code above gfx that looks at
// what was drawn (stills, recordings, screenshots).
#include <cstdint>
#include <vector>

namespace vortel {

// Reads come from the back buffer from now on, rows packed without padding.
void readFromBackBufferPacked();

// Whether the GL can hand rows over top row first itself
// (GL_MESA_pack_invert), which saves a copy of every picture read back.
bool packsTopRowFirst();

// The w x h pixels at the lower-left corner of what reads come from, in
// `format` (GL_RGB, GL_BGRA, ...) with `bytesPerPixel` unsigned bytes each,
// into `out` top row first: in one read with `packInvert` (only where
// packsTopRowFirst), else read bottom row first and turned over. Needs rows
// packed without padding.
void readPixelsTopRowFirst(int w, int h, uint32_t format, int bytesPerPixel, bool packInvert, uint8_t* out);

// The back buffer's w x h RGB pixels at the lower-left corner, top row
// first; the read buffer and the pack alignment are left as they were.
std::vector<uint8_t> backBufferRgb(int w, int h);

}  // namespace vortel
