// The game's own files (config.ini and the save slots) through the C
// library, in the start directory: little-endian field access, whole-file
// reads and writes that replace the old file only once the new one is
// complete.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orb {

// Reads at most cap bytes; the number read, or -1 when the file cannot be opened.
long ReadGameFile(const char* path, uint8_t* buffer, size_t cap);

// Writes the bytes to path + ".tmp" and renames it over path; false on any failure
// (the old file then stays as it was).
bool WriteGameFile(const char* path, const uint8_t* data, size_t size);

// Creates the folder when it does not exist; false when it cannot be made.
bool EnsureGameFolder(const char* path);

// Moves a damaged file out of the way under the first free name of
// path.damaged, path.damaged2 .. path.damaged99, so that nothing written later
// replaces it; false when it could not be moved. `keptAs` receives the name.
bool KeepDamagedFile(const char* path, char* keptAs, size_t size);

// Writes one line to stderr, prefixed "orbworld: ", for what a player should
// know: a file that could not be written, a damaged one kept aside.
void TellPlayer(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The current directory (where the game keeps its files), for such lines.
const char* GameFolder();

inline void PutU32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}
inline uint32_t GetU32(const uint8_t* p) {
  return p[0] | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}
void PutF32(uint8_t* p, float v);
float GetF32(const uint8_t* p);

}  // namespace orb
