// Small helpers shared by the fuzz targets.
#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "framework/qorlib.h"
#include "framework/sound/sound_system.h"
#include "platform/dsound/dsound.h"
#include "platform/kernel/path_map.h"

namespace fuzz {

// One scratch folder per fuzzing process, made on first use and left for
// the system's temporary-file cleaning (libFuzzer may end the process at
// any point, so there is no reliable moment to remove it).
struct Scratch {
  std::string host;  // UTF-8 host path
  std::string z;     // the framework's form, "Z:\..."
};

inline const Scratch& GetScratch() {
  static Scratch scratch = [] {
    Scratch s;
    char tmpl[] = "/tmp/orb_fuzz_XXXXXX";
    const char* made = mkdtemp(tmpl);
    s.host = made != nullptr ? made : "/tmp";
    char buffer[4096];
    plat::HostPathToCp932(s.host.c_str(), buffer, sizeof buffer);
    s.z = buffer;
    return s;
  }();
  return scratch;
}

// Writes the input as a file of the scratch folder; false when it cannot.
inline bool WriteScratchFile(const char* name, const uint8_t* data, size_t size) {
  const std::string path = GetScratch().host + "/" + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

}  // namespace fuzz

namespace fuzz {

// Runs the game's file readers, which work in the start directory, inside
// the scratch folder, and returns to the folder libFuzzer was started in
// (its corpus and artifact paths may be relative).
class InScratchFolder {
 public:
  InScratchFolder() : home_(open(".", O_RDONLY | O_DIRECTORY)) { ok_ = chdir(GetScratch().host.c_str()) == 0; }
  ~InScratchFolder() {
    if (home_ >= 0) {
      if (fchdir(home_) != 0) abort();
      close(home_);
    }
  }
  bool ok() const { return ok_ && home_ >= 0; }

 private:
  int home_;
  bool ok_ = false;
};

// Starts the framework headless on the software road, 320 x 240 at 32 bits,
// for targets that draw (LLVMFuzzerInitialize's result: 0, or 1).
inline int StartSoftFramework() {
  setenv("ORB_HOST", "headless", 1);
  setenv("ORB_GFX", "soft", 1);
  qor::SetLogFileOutputPublic(0);
  qor::RequestScreenModePublic(320, 240, 32, -1);
  return qor::InitFramework() == 0 ? 0 : 1;
}

// The next value of the input, zero-filled when the input runs out.
template <typename T>
T Take(const uint8_t*& data, size_t& size) {
  T value{};
  const size_t n = size < sizeof value ? size : sizeof value;
  std::memcpy(&value, data, n);
  data += n;
  size -= n;
  return value;
}

// The sound device started once per process with the mixer driven by hand
// (AdvanceManual), so a target's time goes into the readers; false when
// it cannot start.
inline bool StartManualSound() {
  static const bool started = [] {
    plat::dsound::SetSinkMode(plat::dsound::SinkMode::Manual);
    return qor::InitDirectSound() == 0;
  }();
  return started;
}

}  // namespace fuzz
