// The framework's debug allocator: every block carries a header that tags it
// and links it into the list of live blocks.
#pragma once

#include <cstddef>

namespace qor {

void* AllocMemory(size_t size, const char* file, int line);
void* AllocMemoryZeroed(size_t size, const char* file, int line);
void* ReallocMemory(void* block, size_t size, const char* file, int line);
void FreeMemory(void* block);

}  // namespace qor
