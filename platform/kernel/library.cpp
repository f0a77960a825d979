#include "platform/kernel/library.h"

#include <strings.h>

#include <cstring>

#include "platform/dsound/dsound.h"

namespace plat {

namespace {

struct Export {
  const char* name;
  FarProc function;
};

struct KnownLibrary {
  const char* name;
  const Export* exports;
  int exportCount;
};

const Export kSoundExports[] = {
    {"DirectSoundEnumerateA", reinterpret_cast<FarProc>(&DirectSoundEnumerateA)},
};

const KnownLibrary kLibraries[] = {
    {"DSOUND.DLL", kSoundExports, 1},
};
constexpr int kLibraryCount = sizeof kLibraries / sizeof kLibraries[0];

struct LibraryState {
  int loads[kLibraryCount] = {};
  bool failNextLoad = false;
  bool failNextLookup = false;
};
LibraryState g_state;

// A handle is the library's index plus one.
int IndexOf(Hmodule library) {
  if (library < 1 || library > kLibraryCount) return -1;
  const int index = static_cast<int>(library - 1);
  return g_state.loads[index] > 0 ? index : -1;
}

}  // namespace

Hmodule LoadLibraryA(const char* name) {
  if (g_state.failNextLoad) {
    g_state.failNextLoad = false;
    return 0;
  }
  if (name == nullptr) return 0;
  for (int i = 0; i < kLibraryCount; ++i) {
    if (strcasecmp(kLibraries[i].name, name) == 0) {
      ++g_state.loads[i];
      return i + 1;
    }
  }
  return 0;
}

FarProc GetProcAddress(Hmodule library, const char* name) {
  const int index = IndexOf(library);
  if (index < 0 || name == nullptr) return nullptr;
  if (g_state.failNextLookup) {
    g_state.failNextLookup = false;
    return nullptr;
  }
  const KnownLibrary& lib = kLibraries[index];
  for (int i = 0; i < lib.exportCount; ++i) {
    // Function names are case-sensitive.
    if (std::strcmp(lib.exports[i].name, name) == 0) return lib.exports[i].function;
  }
  return nullptr;
}

bool FreeLibrary(Hmodule library) {
  const int index = IndexOf(library);
  if (index < 0) return false;
  --g_state.loads[index];
  return true;
}

namespace library {
void FailNextLoad() { g_state.failNextLoad = true; }
void FailNextLookup() { g_state.failNextLookup = true; }
int LoadedCount() {
  int n = 0;
  for (int count : g_state.loads) n += count;
  return n;
}
void ResetLibraryStandIn() { g_state = LibraryState{}; }
}  // namespace library

}  // namespace plat
