// The module state of the archive-aware file set: archive slots, open-file
// slots, settings and the lookup cache (one record, reset by
// ResetArchiveTables).
#pragma once

#include "framework/core/archives/archive.h"

namespace qor {

constexpr int kArchiveKeyStringCapacity = 13;  // 12 characters kept

struct ArchiveTables {
  ArchiveSlot* archives[kMaxArchives];
  int archiveCount;
  OpenFileSlot* files[kMaxOpenFiles];
  int fileCount;
  char extension[kArchiveExtensionCapacity];  // empty: the default "QRA"
  char keyString[kArchiveKeyStringCapacity];
  int keySet;
  // The last archive a path was found in: its file name, the length of
  // the folder prefix it stands for, and its slot.
  char cacheName[kArchivePathCapacity];
  size_t cachePrefixLength;
  int cacheSlot;
};

ArchiveTables& ArchiveTablesState();

}  // namespace qor
