// Device loss and restore on both roads: graph handles stay valid across a
// lost display; their surfaces are rebuilt and their pictures reloaded from
// the file, directory, source position and option each graph keeps.
#pragma once

#include <cstdint>

namespace qor {

// Rebuilds screen, surfaces, Direct3D and graphs after a task switch or a
// display change. 0.
int RestoreAfterDeviceLoss();
// Marks every graph for restore and runs the restore handler. 0.
int FlagAllGraphsForRestore();
// The default restore handler: reloads every marked graph from its file,
// one file load for consecutive graphs of the same file.
void ReloadAllGraphs();
// Null installs the default. 0.
int SetGraphRestoreHandler(void (*handler)());
int HasGraphRestoreHandler();
// Restores the lost surfaces of one graph (-1 for a bad handle) or of all.
int RestoreGraphSurfaces(int32_t graph);
int RestoreAllGraphSurfaces();

}  // namespace qor
