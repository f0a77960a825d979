// The resource archive file format, shared by the reader and the writer.
// All integers are little-endian; every byte of the file is stored XORed
// with the 12-byte key (archive_key.h).
#pragma once

#include <cstddef>
#include <cstdint>

namespace qor {

constexpr uint8_t kArchiveMagic0 = 'Q';
constexpr uint8_t kArchiveMagic1 = 'R';
constexpr int kArchiveVersionLimit = 4;  // versions 0..3

constexpr uint32_t kArchiveHeaderBytes = 24;
constexpr uint32_t kArchiveEntryBytesV0 = 40;  // versions 0 and 1
constexpr uint32_t kArchiveEntryBytesV2 = 44;  // versions 2 and 3
constexpr uint32_t kArchiveDirRecordBytes = 16;
constexpr uint32_t kArchiveDirectoryAttribute = 0x10;
constexpr uint32_t kArchiveStoredMarker = 0xFFFFFFFFu;  // compressed size of a stored file
constexpr uint32_t kArchiveNoParent = 0xFFFFFFFFu;
constexpr uint32_t kLzHeaderBytes = 9;

// Header field offsets.
constexpr uint32_t kHeaderVersion = 2;
constexpr uint32_t kHeaderIndexSize = 4;
constexpr uint32_t kHeaderDataOffset = 8;
constexpr uint32_t kHeaderIndexOffset = 12;
constexpr uint32_t kHeaderFileTable = 16;
constexpr uint32_t kHeaderDirTable = 20;

// File entry field offsets.
constexpr uint32_t kEntryName = 0;
constexpr uint32_t kEntryAttributes = 4;
constexpr uint32_t kEntryCreationTime = 8;
constexpr uint32_t kEntryAccessTime = 16;
constexpr uint32_t kEntryWriteTime = 24;
constexpr uint32_t kEntryDataOffset = 32;
constexpr uint32_t kEntrySize = 36;
constexpr uint32_t kEntryCompressedSize = 40;

// Directory record field offsets.
constexpr uint32_t kDirSelf = 0;  // not read by the reader
constexpr uint32_t kDirParent = 4;
constexpr uint32_t kDirEntryCount = 8;
constexpr uint32_t kDirFirstEntry = 12;

struct ArchiveHeader {
  uint16_t version;
  uint32_t indexSize;
  uint32_t dataOffset;
  uint32_t indexOffset;
  uint32_t fileTableOffset;
  uint32_t dirTableOffset;
};

inline uint16_t ReadLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t ReadLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
inline uint64_t ReadLe64(const uint8_t* p) { return ReadLe32(p) | (static_cast<uint64_t>(ReadLe32(p + 4)) << 32); }
inline void WriteLe16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void WriteLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void WriteLe64(uint8_t* p, uint64_t v) {
  WriteLe32(p, static_cast<uint32_t>(v));
  WriteLe32(p + 4, static_cast<uint32_t>(v >> 32));
}

inline uint32_t ArchiveEntryBytes(int version) { return version < 2 ? kArchiveEntryBytesV0 : kArchiveEntryBytesV2; }

// Name keys: the upper-cased name (a-z only; Shift-JIS pairs unchanged)
// zero-padded to whole 4-byte units with at least one zero byte, its unit
// count and the 16-bit sum of its bytes.
constexpr int kArchiveNameKeyCapacity = 264;
struct ArchiveNameKey {
  uint16_t units;
  uint16_t checksum;
  uint8_t bytes[kArchiveNameKeyCapacity];
};
// Makes the key of the text up to the first backslash or the end. Returns
// the bytes consumed, or -1 when the element is too long for a key.
int MakeArchiveNameKey(const char* text, ArchiveNameKey* key);

}  // namespace qor
