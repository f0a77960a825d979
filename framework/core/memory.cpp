#include "framework/core/memory.h"

#include <cstdlib>

namespace qor {

// Placeholder until the debug allocator exists.
void* AllocMemory(size_t size, const char*, int) { return std::malloc(size ? size : 1); }
void* AllocMemoryZeroed(size_t size, const char*, int) { return std::calloc(1, size ? size : 1); }
void* ReallocMemory(void* block, size_t size, const char*, int) { return std::realloc(block, size ? size : 1); }
void FreeMemory(void* block) { std::free(block); }

}  // namespace qor
