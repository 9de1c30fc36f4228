// Overviews of the selected pictures: HTML album pages with small JPEG
// copies of the pictures (commands 901-907) and contact sheets, 24-bit
// bitmaps with a grid of thumbnails (801-807, and 1400-1499 for one sheet).
// Main thread only; the message pump runs between two pictures so that
// Escape can stop the run.
#pragma once

namespace browser {

// True for an overview command, which it then runs.
bool RunOverviewCommand(int id);

}  // namespace browser
