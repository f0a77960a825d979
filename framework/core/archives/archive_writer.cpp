#include "framework/core/archives/archive_writer.h"

#include <algorithm>
#include <cstring>

#include "framework/core/archives/archive_format.h"
#include "framework/core/archives/archive_key.h"
#include "framework/core/files/file_access.h"
#include "framework/core/archives/lz_codec.h"
#include "platform/kernel/file_io.h"
#include "platform/kernel/find_file.h"

namespace qor {

namespace {

constexpr uint64_t kFormatLimit = 0xFFFFFFFFull;

void Put32(std::vector<uint8_t>* out, uint32_t v) {
  uint8_t b[4];
  WriteLe32(b, v);
  out->insert(out->end(), b, b + 4);
}

void Put64(std::vector<uint8_t>* out, uint64_t v) {
  Put32(out, static_cast<uint32_t>(v));
  Put32(out, static_cast<uint32_t>(v >> 32));
}

// Appends one name record; returns its offset, or -1 for a name the
// format cannot hold.
int64_t AddNameRecord(std::vector<uint8_t>* names, const std::string& name) {
  ArchiveNameKey key;
  if (name.empty() || name.size() >= kFileNameCapacity) return -1;
  // The key stops at a separator; a name must be one element whole.
  if (MakeArchiveNameKey(name.c_str(), &key) != static_cast<int>(name.size())) return -1;
  const int64_t offset = static_cast<int64_t>(names->size());
  uint8_t head[4];
  WriteLe16(head, key.units);
  WriteLe16(head + 2, key.checksum);
  names->insert(names->end(), head, head + 4);
  names->insert(names->end(), key.bytes, key.bytes + key.units * 4u);
  names->insert(names->end(), name.begin(), name.end());
  names->push_back(0);
  while (names->size() % 4 != 0) names->push_back(0);
  return offset;
}

}  // namespace

int ReadWholeFile(const char* path, std::vector<uint8_t>* bytes) {
  const plat::FileDesc file = plat::OpenFileForRead(path);
  if (file == plat::kNoFile) return -1;
  const int64_t size = plat::GetFileSize(file);
  bool ok = size >= 0 && static_cast<uint64_t>(size) <= kFormatLimit;
  if (ok) {
    bytes->resize(static_cast<size_t>(size));
    ok = plat::ReadFileBytes(file, bytes->data(), bytes->size()) == size;
  }
  plat::CloseFile(file);
  return ok ? 0 : -1;
}

int WriteWholeFile(const char* path, const std::vector<uint8_t>& bytes) {
  const plat::FileDesc file = plat::OpenFileForWrite(path, plat::FileCreate::CreateAlways);
  if (file == plat::kNoFile) return -1;
  const bool ok = plat::WriteFileBytes(file, bytes.data(), bytes.size()) == static_cast<int64_t>(bytes.size());
  return (plat::CloseFile(file) == 0 && ok) ? 0 : -1;
}

int ReadPackTree(const char* folder, PackNode* root) {
  if (plat::QueryPathKind(folder) != 1) return -1;
  root->isDirectory = true;
  root->children.clear();
  const std::string base = folder;
  plat::FindEntry entry;
  plat::FindSearch* search = plat::FindFirstFile((base + "\\*").c_str(), &entry);
  if (search == nullptr) return 0;  // an empty folder
  int result = 0;
  do {
    if (std::strcmp(entry.name, ".") == 0 || std::strcmp(entry.name, "..") == 0) continue;
    PackNode child;
    child.name = entry.name;
    child.creationTime = entry.creationTime;
    child.accessTime = entry.lastWriteTime;
    child.writeTime = entry.lastWriteTime;
    const std::string path = base + "\\" + entry.name;
    if (entry.isDirectory) {
      result = ReadPackTree(path.c_str(), &child);
    } else {
      result = ReadWholeFile(path.c_str(), &child.data);
    }
    if (result != 0) break;
    root->children.push_back(std::move(child));
  } while (plat::FindNextFile(search, &entry) == 0);
  plat::FindClose(search);
  return result;
}

int BuildArchive(const PackNode& root, const PackOptions& options, std::vector<uint8_t>* out) {
  if (options.version < 0 || options.version >= kArchiveVersionLimit) return -1;
  const uint32_t entryBytes = ArchiveEntryBytes(options.version);
  const bool mayCompress = options.version >= 2 && !options.store;

  // Directories in breadth-first order: each one's entries sit together in
  // the file table, and its record is the n-th of the directory table.
  struct Dir {
    const PackNode* node;
    uint32_t parent;
    uint32_t selfEntry;
    uint32_t firstEntry;
  };
  std::vector<Dir> dirs{{&root, kArchiveNoParent, kArchiveNoParent, 0}};
  std::vector<uint8_t> names, files, data;
  out->clear();
  for (size_t d = 0; d < dirs.size(); ++d) {
    dirs[d].firstEntry = static_cast<uint32_t>(files.size());
    // Children are laid out in name order whatever order they came in.
    std::vector<const PackNode*> children;
    for (const PackNode& child : dirs[d].node->children) children.push_back(&child);
    std::sort(children.begin(), children.end(), [](const PackNode* a, const PackNode* b) { return a->name < b->name; });
    for (const PackNode* child : children) {
      const int64_t name = AddNameRecord(&names, child->name);
      if (name < 0) return -1;
      uint32_t dataOffset = 0;
      uint32_t compressedSize = kArchiveStoredMarker;
      if (child->isDirectory) {
        dataOffset = static_cast<uint32_t>(dirs.size() * kArchiveDirRecordBytes);
        dirs.push_back({child, static_cast<uint32_t>(d * kArchiveDirRecordBytes), static_cast<uint32_t>(files.size()), 0});
      } else {
        if (data.size() + child->data.size() > kFormatLimit) return -1;
        dataOffset = static_cast<uint32_t>(data.size());
        std::vector<uint8_t> packed;
        if (mayCompress && !child->data.empty() && CompressLz(child->data.data(), child->data.size(), &packed) == 0 &&
            packed.size() < child->data.size()) {
          compressedSize = static_cast<uint32_t>(packed.size());
          data.insert(data.end(), packed.begin(), packed.end());
        } else {
          data.insert(data.end(), child->data.begin(), child->data.end());
        }
      }
      Put32(&files, static_cast<uint32_t>(name));
      Put32(&files, child->isDirectory ? kArchiveDirectoryAttribute : 0x20);
      Put64(&files, child->creationTime);
      Put64(&files, child->accessTime);
      Put64(&files, child->writeTime);
      Put32(&files, dataOffset);
      Put32(&files, child->isDirectory ? 0 : static_cast<uint32_t>(child->data.size()));
      if (entryBytes == kArchiveEntryBytesV2) Put32(&files, compressedSize);
    }
  }
  std::vector<uint8_t> dirTable;
  for (size_t d = 0; d < dirs.size(); ++d) {
    const uint32_t count = static_cast<uint32_t>(dirs[d].node->children.size());
    Put32(&dirTable, dirs[d].selfEntry);
    Put32(&dirTable, dirs[d].parent);
    Put32(&dirTable, count);
    Put32(&dirTable, count == 0 ? 0 : dirs[d].firstEntry);
  }

  const uint64_t indexSize = names.size() + files.size() + dirTable.size();
  const uint64_t indexOffset = kArchiveHeaderBytes + data.size();
  if (indexOffset + indexSize > kFormatLimit) return -1;
  out->resize(kArchiveHeaderBytes);
  uint8_t* h = out->data();
  h[0] = kArchiveMagic0;
  h[1] = kArchiveMagic1;
  WriteLe16(h + kHeaderVersion, static_cast<uint16_t>(options.version));
  WriteLe32(h + kHeaderIndexSize, static_cast<uint32_t>(indexSize));
  WriteLe32(h + kHeaderDataOffset, kArchiveHeaderBytes);
  WriteLe32(h + kHeaderIndexOffset, static_cast<uint32_t>(indexOffset));
  WriteLe32(h + kHeaderFileTable, static_cast<uint32_t>(names.size()));
  WriteLe32(h + kHeaderDirTable, static_cast<uint32_t>(names.size() + files.size()));
  out->insert(out->end(), data.begin(), data.end());
  out->insert(out->end(), names.begin(), names.end());
  out->insert(out->end(), files.begin(), files.end());
  out->insert(out->end(), dirTable.begin(), dirTable.end());

  uint8_t key[kArchiveKeyBytes];
  if (options.keyMode == PackKeyMode::String && !options.key.empty()) {
    ExpandArchiveKey(options.key.c_str(), key);
  } else if (options.keyMode == PackKeyMode::Fallback) {
    MakeFallbackArchiveKey(key);
  } else {
    ExpandArchiveKey(nullptr, key);
  }
  ScrambleArchiveBytes(out->data(), out->size(), 0, key);
  return 0;
}

}  // namespace qor
