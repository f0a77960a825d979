// Movie handles: one open movie file each, played by the Theora decoder
// (tried first, its sound a stream sound of the same file) or by the movie
// player (platform/media) for every other file. The graph code opens a movie
// for a file no image reader takes, updates it before each draw of its graph
// and closes it with the graph.
#pragma once

#include <cstdint>

#include "framework/core/files/file_access.h"
#include "framework/graphics/graphs/graph_image.h"
#include "framework/graphics/graphs/handle_table.h"
#include "framework/graphics/graphs/rect.h"
#include "framework/sound/movie/theora_decoder.h"

namespace plat {
class DDSurface;
struct Event;
struct MediaFile;
struct MediaSample;
}  // namespace plat

namespace qor {

struct MovieData;
using MovieCallback = void (*)(MovieData* movie, void* data);

// How movie-player frames reach the screen.
enum MovieSurfaceMode : int32_t {
  kMovieSurfaceScreen = 0,   // a memory surface in the screen's (or memory image's) format
  kMovieSurfaceOverlay = 1,  // an overlay surface placed on the screen
  kMovieSurfaceRgb24 = 2,    // a 24-bit RGB memory surface
};

constexpr int kMoviePathCapacity = 260;

struct MovieData {
  uint32_t check;
  int32_t playType;  // 1 plays once, 3 loops (the bit of value 2)
  int32_t theora;
  TheoraDecoder* decoder;
  int64_t startTime;  // microseconds: when frame 0 was (or would have been) shown
  FileHandle file;    // Theora only
  int32_t soundtrack;  // -1 when none
  Rect sampleRect;
  // The movie player's side; null when absent or released around a display
  // change.
  plat::MediaFile* media;
  plat::MediaSample* sample;
  plat::DDSurface* sampleSurface;
  uint8_t* sampleBlock;  // the sample's own memory when no surface holds it
  int32_t sampleBlockPitch;
  int64_t lastUpdateFrame;   // presented-frame counter, -1 when none
  uint32_t lastUpdateTime;   // ms, 0xFFFFFFFF when none
  int32_t width;
  int32_t height;
  int32_t alphaHalves;
  int32_t resumeMark;
  int32_t stopped;
  int32_t yuvSample;
  int32_t surfaceMode;
  int64_t savedStreamTime;  // 100-ns units
  int32_t tempFile;
  char path[kMoviePathCapacity];
  plat::Event* updateEvent;
  int32_t updatePending;
  GraphImage frameImage;
  GraphImage* currentImage;
  int32_t directX, directY, directScale, directShow;
  Rect directSource, directDestination;
  MovieCallback callback;
  void* callbackData;
};

// --- handles (movie_handles.cpp) --------------------------------------------------
int32_t OpenMovie(const char* path, int32_t* width, int32_t* height, int32_t surfaceMode);
int CloseMovie(int32_t movie);
MovieData* GetMovieData(int32_t movie);
int SetMovieCallback(int32_t movie, MovieCallback callback, void* data);
// Starts a movie with a play type (0 counts as 1): a stopped one goes on
// from its current frame, as ResumeAllMovies restarts a paused one.
int PlayMovie(int32_t movie, int32_t playType);
// 1 when graph draws of the movie place it on the screen instead of drawing
// the graph.
int IsMovieDirect(const MovieData* movie);
int SetMovieAlphaHalves(int32_t on);
int32_t LiveMovieCount();
// The handle of the movie in a table slot, -1 for an empty one.
int32_t MovieHandleOfSlot(int32_t slot);
// Closes every open movie (framework end, tests).
void CloseAllMovies();
// Back to the load state (closes what is open).
void ResetMovieModule();

// --- the movie player's side (movie_player.cpp) ------------------------------------
int OpenMovieDirectShow(MovieData* movie, const char* path, int32_t* width, int32_t* height, int32_t surfaceMode);
void ReleaseMoviePlayerObjects(MovieData* movie);
void UpdateMoviePlayerFrame(MovieData* movie, int wait);
int RestoreMovieSurfaces(int32_t movie);
int ReleaseAllMovieStreams();
int ReopenAllMovies();
// Copies a file the movie player cannot open by name to a temporary file,
// whose path replaces the record's. 0, or -1 (nothing is left behind).
int CopyMovieToTempFile(MovieData* movie, const char* path);

// --- update, direct drawing, pause and resume (movie_update.cpp) ---------------------
int UpdateMovie(int32_t movie, int wait);
int DrawMovieDirect(int32_t x, int32_t y, int32_t scale, int32_t movie, int32_t show);
int PauseMovie(int32_t movie, int32_t keepMark);
int ResumeAllMovies();
int PauseAllMovies();
int DrawDirectMovies();
// The frame due after `micros` at `rate` frames a second, truncated toward
// zero and saturated to 0 .. INT32_MAX.
int32_t MovieFrameDue(int64_t micros, double rate);
// Restarts one movie that is marked stopped with its resume mark.
void ResumeOneMovie(MovieData* movie, int32_t playType);

}  // namespace qor
