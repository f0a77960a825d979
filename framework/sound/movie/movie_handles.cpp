// The movie table: opening (Theora first, then the movie player), closing,
// the frame callback and the start of a movie.
#include <cstring>
#include <new>

#include "framework/core/log.h"
#include "framework/core/memory.h"
#include "framework/core/time_helpers.h"
#include "framework/graphics/graphs/handle_table.h"
#include "framework/sound/movie/movie.h"
#include "framework/sound/sound_handles.h"
#include "framework/sound/sound_load.h"
#include "framework/sound/sound_play.h"
#include "framework/sound/sound_state.h"
#include "platform/kernel/file_io.h"
#include "platform/kernel/threads.h"

namespace qor {

namespace {

struct MovieModuleState {
  HandleTable table;
  void* slots[kMovieHandleMax];
  int32_t alphaHalves;
};

MovieModuleState g_movies;
bool g_tableReady = false;

HandleTable* Movies() {
  if (!g_tableReady) {
    InitHandleTable(&g_movies.table, kMovieHandleTag, kMovieHandleMax, g_movies.slots);
    g_tableReady = true;
  }
  return &g_movies.table;
}

// The soundtrack: the same file as a stream sound, -1 when it has none.
int32_t LoadSoundtrack(const char* path) {
  SoundState& sound = GetSoundState();
  const int mode = GetSoundDataCreateMode();
  sound.movieSoundtrackLoading = 1;
  SetSoundDataCreateMode(3);
  const int32_t handle = LoadSoundFile(path, 1, -1);
  sound.movieSoundtrackLoading = 0;
  SetSoundDataCreateMode(mode);
  return handle < 0 ? -1 : handle;
}

void CloseTheoraSide(MovieData* m) {
  // The decoder reads through the file: its thread ends before the file closes.
  if (m->decoder != nullptr) CloseTheoraMovie(m->decoder);
  if (m->file != 0) GetFileAccessTable()->close(m->file);
  m->file = 0;
  if (m->soundtrack != -1) DeleteSound(m->soundtrack, 0);
  m->decoder = nullptr;
  m->soundtrack = -1;
  m->theora = 0;
}

}  // namespace

int32_t OpenMovie(const char* path, int32_t* width, int32_t* height, int32_t surfaceMode) {
  if (path == nullptr) return -1;
  HandleTable* table = Movies();
  int32_t index = 0;
  while (index < kMovieHandleMax && table->slots[index] != nullptr) ++index;
  if (index == kMovieHandleMax) return -1;
  void* block = AllocMemoryZeroed(sizeof(MovieData), __FILE__, __LINE__);
  if (block == nullptr) {
    LogOutput("メモリの確保に失敗しました in OpenMovie");
    return -1;
  }
  MovieData* m = new (block) MovieData{};
  m->soundtrack = -1;
  m->alphaHalves = g_movies.alphaHalves;
  m->lastUpdateFrame = -1;
  m->lastUpdateTime = 0xFFFFFFFFu;

  // A file that does not open is left to the movie player, which logs why.
  const FileAccessTable* files = GetFileAccessTable();
  m->file = files->open(path, 0, 0, 0);
  if (m->file != 0) {
    m->decoder = OpenTheoraMovie(files, m->file, 10);
    if (m->decoder == nullptr) {
      files->close(m->file);
      m->file = 0;
    }
  }
  if (m->decoder != nullptr) {
    m->soundtrack = LoadSoundtrack(path);
    TheoraMovieInfo info{};
    GetTheoraMovieInfo(m->decoder, &info);
    m->width = info.width;
    m->height = info.height;
    if (width != nullptr) *width = m->alphaHalves ? info.width / 2 : info.width;
    if (height != nullptr) *height = info.height;
    m->theora = 1;
    m->currentImage = GetTheoraFrameImage(m->decoder);
    m->surfaceMode = kMovieSurfaceScreen;
    std::strncpy(m->path, path, kMoviePathCapacity - 1);
  } else {
    m->tempFile = 0;
    if (OpenMovieDirectShow(m, path, width, height, surfaceMode) != 0) {
      FreeMemory(m);
      LogOutput("ムービーファイルオープン処理時にエラーが発生しました");
      return -1;
    }
    m->currentImage = &m->frameImage;
  }
  m->stopped = 1;
  m->resumeMark = 0;
  m->playType = 1;
  m->check = static_cast<uint32_t>(table->checkCounter);
  table->checkCounter = table->checkCounter >= kHandleCheckLimit - 1 ? 0 : table->checkCounter + 1;
  table->slots[index] = m;
  ++table->liveCount;
  if (index + 1 > table->usedEnd) table->usedEnd = index + 1;
  return static_cast<int32_t>(((m->check | 0x1800u) << 16) | static_cast<uint32_t>(index));
}

MovieData* GetMovieData(int32_t movie) { return static_cast<MovieData*>(LookupHandleEntry(Movies(), movie)); }

int CloseMovie(int32_t movie) {
  MovieData* m = GetMovieData(movie);
  if (m == nullptr) return -1;
  CloseTheoraSide(m);
  ReleaseMoviePlayerObjects(m);  // hides an overlay first
  if (m->tempFile == 1) {
    plat::DeleteFileAt(m->path);
    m->tempFile = 0;
  }
  FreeGraphImage(&m->frameImage);
  if (m->updateEvent != nullptr) plat::CloseEvent(m->updateEvent);
  RemoveHandleEntry(Movies(), movie);
  m->~MovieData();
  FreeMemory(m);
  return 0;
}

int SetMovieCallback(int32_t movie, MovieCallback callback, void* data) {
  MovieData* m = GetMovieData(movie);
  if (m == nullptr) return -1;
  m->callback = callback;
  m->callbackData = data;
  return 0;
}

int PlayMovie(int32_t movie, int32_t playType) {
  MovieData* m = GetMovieData(movie);
  if (m == nullptr) return -1;
  m->stopped = 1;
  m->resumeMark = 1;
  ResumeOneMovie(m, playType);
  return 0;
}

int IsMovieDirect(const MovieData* movie) {
  return movie != nullptr && movie->surfaceMode == kMovieSurfaceOverlay ? 1 : 0;
}

int SetMovieAlphaHalves(int32_t on) {
  g_movies.alphaHalves = on != 0 ? 1 : 0;
  return 0;
}

int32_t LiveMovieCount() { return Movies()->liveCount; }

int32_t MovieHandleOfSlot(int32_t slot) { return HandleOfSlot(Movies(), slot); }

void CloseAllMovies() {
  HandleTable* table = Movies();
  for (int32_t slot = 0; slot < kMovieHandleMax; ++slot) {
    const int32_t handle = HandleOfSlot(table, slot);
    if (handle != -1) CloseMovie(handle);
  }
}

void ResetMovieModule() {
  CloseAllMovies();
  g_movies = MovieModuleState{};
  g_tableReady = false;
}

}  // namespace qor
