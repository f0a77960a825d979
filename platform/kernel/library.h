// Libraries loaded by name at run time. Nothing is loaded from disk: the
// stand-in knows the libraries the framework asks for by name (the sound
// library, for its device list) and hands out their functions from a fixed
// table. Tests can make the next load or the next look-up fail.
#pragma once

#include <cstdint>

namespace plat {

using Hmodule = intptr_t;     // 0: none
using FarProc = void (*)();   // a function of unknown type; cast to the real one

// The library's handle, or 0 when no library of that name is known (names
// compare without regard to ASCII case, as the system's do). Every
// successful load must be paired with a FreeLibrary.
Hmodule LoadLibraryA(const char* name);
// The named function of a loaded library, or null.
FarProc GetProcAddress(Hmodule library, const char* name);
bool FreeLibrary(Hmodule library);

namespace library {
void FailNextLoad();
void FailNextLookup();
int LoadedCount();  // loads not yet freed
void ResetLibraryStandIn();
}  // namespace library

}  // namespace plat
