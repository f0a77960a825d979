// The graph code's movie road: a graph made for a movie file, fed with the
// movie's frames by its frame callback, advanced before each of its draws
// and closing its movie when deleted.
#pragma once

#include <cstdint>

#include "framework/graphics/graphs/graph_record.h"

namespace qor {

struct MovieData;

// Opens the file as a movie and makes its graph (Graph loading, the road
// for files no image reader takes). The graph, or -1 with the log line.
int32_t LoadMovieGraph(const char* path, int32_t want3D, int32_t movieOption);
// Frame callbacks: the current frame into the graph's 2D pieces or textures.
void CopyMovieFrameToGraph(MovieData* movie, void* graph);
void CopyMovieFrameToGraph3D(MovieData* movie, void* graph);
// Before a draw: advances the graph's movie. 1 when the movie is placed on
// the screen directly instead of the graph being drawn, else 0.
int UpdateGraphMovie(const GraphRecord* graph);
// With DrawMovieDirect: the direct draw of a graph's movie.
int DrawGraphMovieDirect(int32_t x, int32_t y, int32_t scale, const GraphRecord* graph);
// Frames copied into texture graphs through a Theora decoder's YUV surface
// since the program started.
int64_t MovieYuvFrameCopies();
// Closes the graph's movie when the graph is the one it feeds.
void CloseGraphMovie(GraphRecord* graph);

}  // namespace qor
