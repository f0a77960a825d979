// Writes resource archives: a folder tree packed into the format the reader
// takes (nested folders, names as written, stored or LZ-compressed entries,
// scrambled with the key). Used by the qrpack tool and the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qor {

struct PackNode {
  std::string name;  // CP932, as written
  bool isDirectory = false;
  std::vector<uint8_t> data;
  uint64_t creationTime = 0;  // file times
  uint64_t accessTime = 0;
  uint64_t writeTime = 0;
  std::vector<PackNode> children;
};

enum class PackKeyMode {
  String,    // the key made from `key`
  NoKey,     // the key a reader with no key string tries first
  Fallback,  // the fixed fallback key every reader tries second
};

struct PackOptions {
  PackKeyMode keyMode = PackKeyMode::Fallback;
  std::string key;   // for PackKeyMode::String; an empty one means no key
  int version = 3;   // 0..3; versions 0 and 1 store every file
  bool store = false;
};

// Reads a folder (a CP932 path) and everything below it, children in name
// order. Returns 0, or -1 when it is not a readable folder.
int ReadPackTree(const char* folder, PackNode* root);

// Lays out and scrambles a whole archive. Returns 0, or -1 for a bad
// version, a name the format cannot hold, or more than 4 GiB.
int BuildArchive(const PackNode& root, const PackOptions& options, std::vector<uint8_t>* out);

// Writes bytes to a file (a CP932 path), replacing it. Returns 0, or -1.
int WriteWholeFile(const char* path, const std::vector<uint8_t>& bytes);
// Reads a whole file (a CP932 path). Returns 0, or -1.
int ReadWholeFile(const char* path, std::vector<uint8_t>* bytes);

}  // namespace qor
