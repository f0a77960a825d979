// Helper threads for large draws: the rows of the viewport are cut into
// bands, and each band draws every triangle of the draw, in order, clipped to
// its rows. A pixel belongs to one band and sees the same triangles in the
// same order as on one thread, so the result is the same bits.
#pragma once

#include <cstdint>

namespace plat::d3d {

// The bands a large draw is cut into: the machine's processors, at most 4
// (1 means no helper threads).
int DrawBandCount();

// Runs work(context, band) for every band 0..bands-1, on the calling thread
// and the helper threads (started on first use), and returns when all have
// finished. While another call is running (a draw from a second thread),
// the bands run on the calling thread alone.
using BandWork = void (*)(void* context, int band);
void RunDrawBands(int bands, BandWork work, void* context);

}  // namespace plat::d3d
