// The headless virtual clock and the audio sink it drives.
//
// Clock reads may come from any thread, so the time is atomic. The mixing
// callback runs on whichever thread moved the clock, under the audio lock; a
// thread that already holds the lock (the program between HostLockAudio and
// HostUnlockAudio, or the callback reading the clock) leaves the due frames
// for a later advance, exactly as a real device waits for the lock.
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/host/headless/headless_control.h"
#include "platform/host/headless/headless_internal.h"

namespace plat::headless {

namespace {

struct ClockAudio {
  std::atomic<uint64_t> now{kClockStart};
  std::atomic<uint32_t> step{kDefaultClockStep};
  std::atomic<uint32_t> overshoot{0};

  std::mutex mutex;                        // the audio lock
  std::atomic<std::thread::id> owner{};    // thread holding it
  int depth = 0;                           // HostLockAudio nests

  // Guarded by the audio lock.
  bool open = false, paused = false, manual = false;
  int rate = 0;
  HostAudioCallback callback = nullptr;
  void* user = nullptr;
  uint64_t runFrom = 0;        // clock when the output last started running
  uint64_t runDelivered = 0;   // frames given since then
  uint64_t framesPulled = 0;
  uint64_t nonSilent = 0;
  std::vector<int16_t> buffer;
  bool failNextOpen = false;
};
ClockAudio g_ca;

bool HeldByMe() { return g_ca.owner.load() == std::this_thread::get_id(); }

void Lock() {
  if (HeldByMe()) {
    ++g_ca.depth;
    return;
  }
  g_ca.mutex.lock();
  g_ca.owner.store(std::this_thread::get_id());
  g_ca.depth = 1;
}

void Unlock() {
  if (!HeldByMe()) return;  // unbalanced unlock: ignore rather than corrupt the lock
  if (--g_ca.depth == 0) {
    g_ca.owner.store(std::thread::id{});
    g_ca.mutex.unlock();
  }
}

// Calls the callback for `frames` frames in chunks; the audio lock is held.
void Deliver(uint64_t frames) {
  while (frames > 0) {
    const int n = frames < static_cast<uint64_t>(kAudioChunkFrames) ? static_cast<int>(frames) : kAudioChunkFrames;
    g_ca.buffer.assign(static_cast<size_t>(n) * 2, 0);
    g_ca.callback(g_ca.user, g_ca.buffer.data(), n);
    for (int i = 0; i < n; ++i) {
      if (g_ca.buffer[2 * i] != 0 || g_ca.buffer[2 * i + 1] != 0) ++g_ca.nonSilent;
    }
    g_ca.framesPulled += static_cast<uint64_t>(n);
    frames -= static_cast<uint64_t>(n);
  }
}

uint64_t FramesDue(uint64_t now) {
  const uint64_t dt = now > g_ca.runFrom ? now - g_ca.runFrom : 0;
  const uint64_t rate = static_cast<uint64_t>(g_ca.rate);
  return dt / 1'000'000u * rate + dt % 1'000'000u * rate / 1'000'000u;  // no overflow for long runs
}

// Runs the sink up to the current time, in whole chunks.
void Advance() {
  if (HeldByMe() || !g_ca.mutex.try_lock()) return;
  g_ca.owner.store(std::this_thread::get_id());
  g_ca.depth = 1;
  if (g_ca.open && !g_ca.paused && !g_ca.manual) {
    const uint64_t due = FramesDue(g_ca.now.load());
    const uint64_t chunk = kAudioChunkFrames;
    if (due >= g_ca.runDelivered + chunk) {
      const uint64_t whole = (due - g_ca.runDelivered) / chunk * chunk;
      Deliver(whole);
      g_ca.runDelivered += whole;
    }
  }
  g_ca.depth = 0;
  g_ca.owner.store(std::thread::id{});
  g_ca.mutex.unlock();
}

void StartRunning() {
  g_ca.runFrom = g_ca.now.load();
  g_ca.runDelivered = 0;
}

}  // namespace

uint32_t ClockMillis() { return static_cast<uint32_t>(ClockMicros() / 1000u); }

uint64_t ClockMicros() {
  const uint64_t t = g_ca.now.fetch_add(g_ca.step.load());
  Advance();
  return t;
}

void ClockSleepMs(uint32_t ms) {
  g_ca.now.fetch_add(static_cast<uint64_t>(ms) * 1000u + (ms > 0 ? g_ca.overshoot.load() : 0u));
  Advance();
}

void ClockSleepUntilMicros(uint64_t micros) {
  // Another thread may move the clock meanwhile; a clock already there stays.
  uint64_t now = g_ca.now.load();
  while (now < micros && !g_ca.now.compare_exchange_weak(now, micros + g_ca.overshoot.load())) {
  }
  Advance();
}

void SetClockStep(uint32_t micros) { g_ca.step.store(micros); }

void SetSleepOvershoot(uint32_t micros) { g_ca.overshoot.store(micros); }

void SetClock(uint64_t micros) {
  Lock();
  g_ca.now.store(micros);
  StartRunning();  // a jump is not time the sink should make up for
  Unlock();
}

uint64_t PeekClock() { return g_ca.now.load(); }

int AudioOpen(int rate, HostAudioCallback callback, void* user) {
  Lock();
  int result = 0;
  if (g_ca.failNextOpen) {
    g_ca.failNextOpen = false;
  } else {
    g_ca.open = true;
    g_ca.paused = false;
    g_ca.rate = rate;
    g_ca.callback = callback;
    g_ca.user = user;
    g_ca.framesPulled = 0;
    g_ca.nonSilent = 0;
    StartRunning();
    result = rate;
  }
  Unlock();
  return result;
}

void AudioPause(bool pause) {
  Lock();
  if (g_ca.open && g_ca.paused != pause) {
    g_ca.paused = pause;
    if (!pause) StartRunning();  // a paused device does not catch up
  }
  Unlock();
}

void AudioClose() {
  Lock();
  g_ca.open = false;
  g_ca.paused = false;
  g_ca.callback = nullptr;
  g_ca.user = nullptr;
  Unlock();
}

void AudioLock() { Lock(); }
void AudioUnlock() { Unlock(); }

void SetAudioManual(bool manual) {
  Lock();
  if (g_ca.manual != manual) {
    g_ca.manual = manual;
    StartRunning();
  }
  Unlock();
}

void PumpAudio(int frames) {
  Lock();
  if (g_ca.open && !g_ca.paused && g_ca.manual && frames > 0) Deliver(static_cast<uint64_t>(frames));
  Unlock();
}

AudioStats GetAudioStats() {
  Lock();
  AudioStats s;
  s.open = g_ca.open;
  s.paused = g_ca.paused;
  s.rate = g_ca.open ? g_ca.rate : 0;
  s.framesPulled = g_ca.framesPulled;
  s.nonSilentFrames = g_ca.nonSilent;
  Unlock();
  return s;
}

void FailNextOpenAudio() {
  Lock();
  g_ca.failNextOpen = true;
  Unlock();
}

void ResetClockAndAudio() {
  // A test that failed between lock and unlock must not leave the lock held.
  if (HeldByMe()) {
    g_ca.depth = 0;
    g_ca.owner.store(std::thread::id{});
    g_ca.mutex.unlock();
  }
  Lock();
  g_ca.now.store(kClockStart);
  g_ca.step.store(kDefaultClockStep);
  g_ca.overshoot.store(0);
  g_ca.open = g_ca.paused = g_ca.manual = false;
  g_ca.rate = 0;
  g_ca.callback = nullptr;
  g_ca.user = nullptr;
  g_ca.runFrom = kClockStart;
  g_ca.runDelivered = g_ca.framesPulled = g_ca.nonSilent = 0;
  g_ca.buffer.clear();
  g_ca.failNextOpen = false;
  Unlock();
}

}  // namespace plat::headless
