// A small pool of helper threads that take bands of one draw at a time.
// POSIX threads: the standard thread headers bring in <chrono>, which this
// code base's character set does not compile.
#include "platform/d3d/raster_bands.h"

#include <pthread.h>
#include <unistd.h>

namespace plat::d3d {
namespace {

constexpr int kMaxBands = 4;

struct BandPool {
  pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
  pthread_cond_t wake = PTHREAD_COND_INITIALIZER;
  pthread_cond_t finished = PTHREAD_COND_INITIALIZER;
  int helpers = 0;      // threads started
  bool busy = false;    // a draw's bands are being run
  uint64_t job = 0;     // counts the draws handed out
  BandWork work = nullptr;
  void* context = nullptr;
  int bands = 0;
  int next = 0;         // the next band nobody has taken
  int done = 0;         // bands finished
};
BandPool g_pool;

// Takes and runs bands of the current job until none is left; called with
// the mutex held, returns with it held.
void TakeBands() {
  while (g_pool.next < g_pool.bands) {
    const int band = g_pool.next++;
    BandWork work = g_pool.work;
    void* context = g_pool.context;
    pthread_mutex_unlock(&g_pool.mutex);
    work(context, band);
    pthread_mutex_lock(&g_pool.mutex);
    if (++g_pool.done == g_pool.bands) pthread_cond_signal(&g_pool.finished);
  }
}

void* Helper(void*) {
  pthread_mutex_lock(&g_pool.mutex);
  uint64_t seen = 0;  // a helper started for a draw under way joins it
  for (;;) {
    while (g_pool.job == seen) pthread_cond_wait(&g_pool.wake, &g_pool.mutex);
    seen = g_pool.job;
    TakeBands();
  }
  return nullptr;
}

}  // namespace

int DrawBandCount() {
  static const int count = [] {
    const long processors = sysconf(_SC_NPROCESSORS_ONLN);
    return processors < 1 ? 1 : processors > kMaxBands ? kMaxBands : static_cast<int>(processors);
  }();
  return count;
}

void RunDrawBands(int bands, BandWork work, void* context) {
  pthread_mutex_lock(&g_pool.mutex);
  if (g_pool.busy) {
    pthread_mutex_unlock(&g_pool.mutex);
    for (int band = 0; band < bands; ++band) work(context, band);
    return;
  }
  // Helpers are started as needed and then stay, waiting for the next draw.
  while (g_pool.helpers < bands - 1 && g_pool.helpers < kMaxBands - 1) {
    pthread_t thread;
    if (pthread_create(&thread, nullptr, Helper, nullptr) != 0) break;
    pthread_detach(thread);
    ++g_pool.helpers;
  }
  g_pool.busy = true;
  g_pool.work = work;
  g_pool.context = context;
  g_pool.bands = bands;
  g_pool.next = 0;
  g_pool.done = 0;
  ++g_pool.job;
  pthread_cond_broadcast(&g_pool.wake);
  TakeBands();
  while (g_pool.done < g_pool.bands) pthread_cond_wait(&g_pool.finished, &g_pool.mutex);
  g_pool.busy = false;
  pthread_mutex_unlock(&g_pool.mutex);
}

}  // namespace plat::d3d
