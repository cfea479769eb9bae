#pragma once
#include <cstdint>
#include <functional>

namespace pixvane {

// Runs work over the rows 0 .. height, cut into up to threads bands of
// whole rows (none under minRows high), each band on a thread of its own,
// the caller's thread taking the first; returns when every band is done.
// The bands write apart, so work needs no lock as long as each writes only
// its own rows.
void ForBands(int threads, int32_t height, int32_t minRows,
              const std::function<void(int32_t top, int32_t bottom)>& work);

// The threads a frame that moves is drawn on: two where the processor has
// two cores or more. A second core nearly halves the time of a 4K frame;
// more would take cores the rest of the machine may need.
int FrameThreads();

}  // namespace pixvane
