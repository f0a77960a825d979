// Resource archives: a folder's files packed into one scrambled, optionally
// compressed file named after the folder with the archive extension. The
// archive-aware file-access set opens files below such a folder from the
// archive instead of the folder.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/core/archives/archive_format.h"
#include "framework/core/archives/archive_key.h"
#include "framework/core/files/file_access.h"
#include "framework/core/files/thread_file.h"

namespace qor {

constexpr int kMaxArchives = 512;
constexpr int kMaxOpenFiles = 512;
constexpr int kArchivePathCapacity = 256;
constexpr int kArchiveExtensionCapacity = 64;
constexpr intptr_t kArcFileHandleTag = 0xF0000000;

struct ArchivedFile;

struct ArchiveState {
  ArchiveHeader header;
  FileRecord* file;      // on-demand mode: the archive file, read by its thread
  uint8_t* memory;       // in-memory mode: the whole archive
  uint8_t* index;        // the index block, descrambled
  uint32_t currentDir;   // offset of the current directory record in the directory table
  uint8_t key[kArchiveKeyBytes];
  int inMemory;
  uint32_t archiveSize;
  int loading;           // in-memory mode: the whole-archive read is still running
  FileRecord* loader;    // its reader
  ArchivedFile* inFlight;  // the file whose asynchronous read the reader runs
};

struct ArchiveSlot {
  uint32_t useCount;
  ArchiveState state;
  char path[kArchivePathCapacity];
};

enum ArchivedPending { kPendingNone = 0, kPendingDecompress = 1, kPendingRead = 2 };

struct ArchivedFile {
  ArchiveState* archive;
  uint32_t entry;           // offset of the entry in the index block
  uint32_t size;            // decompressed size
  uint32_t storedSize;      // bytes in the data area
  uint64_t dataStart;       // file offset of the entry's data
  int compressed;
  uint8_t* decompressed;
  uint8_t* compressedData;  // while a read is pending
  int eof;
  uint32_t position;
  int async;
  int pending;
  int failed;               // a finished pending read turned out bad
  uint64_t pendingOffset;
  uint8_t* pendingBuffer;
  uint32_t pendingSize;
};

struct OpenFileSlot {
  int kind;  // 0 plain file, 1 inside an archive
  FileHandle plain;
  int archiveSlot;
  ArchivedFile file;
};

// --- settings and tables (archive_tables.cpp) ---
int SetArchiveExtension(const char* text);
int SetArchiveKey(const char* text);
void ResetArchiveTables();  // closes whatever is open, then the load state
void ReleaseUnusedArchives();
// Opens (or shares) the archive at `path`: mode 0 on demand, 1 in memory.
// Returns the slot index, or -1.
int OpenArchiveByPath(int hint, const char* path, int mode, int async);
ArchiveSlot* GetArchiveSlot(int index);
void LowerArchiveUse(int index);
// The absolute, upper-cased form of a path; a leading double separator is
// kept as a network path. Returns 0, or -1.
int MakeArchivePath(const char* path, char* out, size_t capacity);
// Finds the shallowest folder of `path` that has an archive. Returns its
// slot (holding one use) and the path inside it, or -1.
int FindArchiveForPath(const char* path, char* innerPath, size_t innerCapacity);
int OpenArchiveCount();
int OpenFileCount();

// --- archive states (archive_open.cpp) ---
int OpenArchiveStreamed(ArchiveState* state, const char* path, const char* keyString);
int OpenArchiveInMemory(ArchiveState* state, const char* path, const char* keyString, int wait);
void PollArchiveLoad(ArchiveState* state, int wait);
void CloseArchive(ArchiveState* state);
// Reads `count` bytes at `fileOffset` of the archive file and descrambles
// them. Returns 0, or -1 on a short or failed read.
int ReadArchiveData(ArchiveState* state, void* buffer, size_t count, uint64_t fileOffset);
// Starts an asynchronous read of scrambled bytes for `file`; the reader is
// the archive's until PollArchivedFileRead takes the result. Returns 0, or -1.
int StartArchiveRead(ArchiveState* state, ArchivedFile* file, void* buffer, size_t count, uint64_t fileOffset);

// --- index (archive_index.cpp) ---
// Checks every directory, entry and name reachable from the root against
// the index and the archive's size. Returns 0, or -1.
int ValidateArchiveIndex(const ArchiveState* state);
// Looks up a file entry; its offset in the index block, or -1.
int64_t FindArchiveEntry(const char* innerPath, ArchiveState* state);
int ChangeArchiveDir(ArchiveState* state, const char* path, int restoreOnFailure, ArchiveNameKey* lastKey);
// Accessors over validated offsets (the index offset of an entry).
uint32_t ArchiveEntryField(const ArchiveState* state, uint32_t entry, uint32_t field);
uint64_t ArchiveEntryTime(const ArchiveState* state, uint32_t entry, uint32_t field);
const char* ArchiveEntryWrittenName(const ArchiveState* state, uint32_t entry);  // "" when unusable
const char* ArchiveEntryUpperName(const ArchiveState* state, uint32_t entry);    // nullptr when unusable
// The entries of a directory record: count and index offset of the first.
int ArchiveDirEntries(const ArchiveState* state, uint32_t dir, uint32_t* count, uint32_t* first);
uint32_t ArchiveDirParent(const ArchiveState* state, uint32_t dir);

// --- files inside archives (archived_file.cpp) ---
int OpenArchivedFile(ArchivedFile* file, ArchiveState* state, const char* innerPath, int async);
int64_t ReadArchivedFile(ArchivedFile* file, void* buffer, uint32_t count);
int SeekArchivedFile(ArchivedFile* file, int64_t offset, int origin);
int64_t TellArchivedFile(const ArchivedFile* file);
int EofArchivedFile(const ArchivedFile* file);
int IdleArchivedFile(ArchivedFile* file);
void CloseArchivedFile(ArchivedFile* file);
// Finishes a pending read (waiting for it when asked). Returns 1 when no
// work is pending afterwards.
int PollArchivedFileRead(ArchivedFile* file, int wait);

// --- the archive-aware file-access set (arc_file_ops.cpp, archive_find.cpp) ---
FileHandle ArcFileOpen(const char* path, int cache, int third, int async);
int ArcFileClose(FileHandle file);
int64_t ArcFileTell(FileHandle file);
int ArcFileSeek(FileHandle file, int64_t offset, int origin);
size_t ArcFileRead(void* buffer, size_t size, size_t count, FileHandle file);
int ArcFileEof(FileHandle file);
int ArcFileIdle(FileHandle file);
int ArcSetCurrentDir(const char* path);
int ArcGetCurrentDir(char* buffer, size_t capacity);
FindHandle ArcFindFirst(const char* pattern, FindRecord* record);
// A find through the archive-aware set: a plain search on disk, or a walk
// over one directory of an archive.
struct ArchiveFindHandle {
  int archiveSlot;  // -1: a plain search
  FindHandle plain;
  uint32_t dir;        // the directory record searched
  uint32_t candidate;  // 0 ".", 1 "..", then the entries
  char pattern[kFileNameCapacity];
};
// Searches the directory of the archive in `find->archiveSlot` that the
// folder part of `innerPattern` (upper-cased, as FindArchiveForPath gives
// it) names, for the names its last element matches, and gives the first:
// 0, or -1 when there is no such directory or nothing matches. The
// archive's current directory stays as it was.
int ArchiveFindFirst(ArchiveFindHandle* find, const char* innerPattern, FindRecord* record);
int ArcFindNext(FindHandle find, FindRecord* record);
int ArcFindClose(FindHandle find);
// "*" (runs count once) and "?" over upper-cased names, Shift-JIS pairs as
// pairs; "*" backtracks, so "*.BMP" matches "A.B.BMP".
bool MatchWildcard(const char* pattern, const char* name);

// The open-file slot behind a handle, or nullptr (range-checked).
OpenFileSlot* GetOpenFileSlot(FileHandle file);

}  // namespace qor
