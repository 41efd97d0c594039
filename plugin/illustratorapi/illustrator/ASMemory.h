// Heap memory for the plug-in, from the host's block allocator. A failed
// allocation gives null, never an exception.
#pragma once

#include <cstddef>
#include <new>

namespace ASMemory {
void* Allocate(std::size_t size) noexcept;
void Free(void* block) noexcept;
}  // namespace ASMemory

/// A class whose objects live in the host's memory: create them with new (std::nothrow).
class ASMemoryObject {
public:
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return ASMemory::Allocate(size); }
    static void operator delete(void* block) noexcept { ASMemory::Free(block); }
    static void operator delete(void* block, const std::nothrow_t&) noexcept { ASMemory::Free(block); }
    // Only the no-throw form exists: a throwing new would hide a failed allocation.
    static void* operator new(std::size_t) = delete;
};
