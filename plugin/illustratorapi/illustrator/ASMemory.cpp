#include "ASMemory.h"

#include "SPBasic.h"
#include "Suites.h"

namespace ASMemory {

void* Allocate(std::size_t size) noexcept {
    void* block = nullptr;
    if (!sSPBasic || sSPBasic->AllocateBlock(size, &block) != 0) return nullptr;
    return block;
}

void Free(void* block) noexcept {
    if (block && sSPBasic) sSPBasic->FreeBlock(block);
}

}  // namespace ASMemory
