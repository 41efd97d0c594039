#include "host/platform/BlockAllocator.h"

#include <cstdlib>
#include <cstring>

namespace host {

BlockAllocator::~BlockAllocator() {
    for (auto& [block, size] : live_) std::free(block);
}

bool BlockAllocator::shouldFail() {
    if (failIn_ <= 0) return false;
    return --failIn_ == 0;
}

ASErr BlockAllocator::allocate(std::size_t size, void** block) {
    if (!block) return kBadParameterErr;
    *block = nullptr;
    if (shouldFail()) return kOutOfMemoryErr;
    void* memory = std::calloc(1, size ? size : 1);
    if (!memory) return kOutOfMemoryErr;
    live_[memory] = size;
    *block = memory;
    return kNoErr;
}

ASErr BlockAllocator::free(void* block) {
    if (!block) return kNoErr;
    auto found = live_.find(block);
    if (found == live_.end()) return kBadParameterErr;
    live_.erase(found);
    std::free(block);
    return kNoErr;
}

ASErr BlockAllocator::reallocate(void* block, std::size_t size, void** newBlock) {
    if (!newBlock) return kBadParameterErr;
    *newBlock = block;
    if (!block) return allocate(size, newBlock);
    auto found = live_.find(block);
    if (found == live_.end()) return kBadParameterErr;
    void* fresh = nullptr;
    if (ASErr error = allocate(size, &fresh)) return error;
    std::memcpy(fresh, block, found->second < size ? found->second : size);
    free(block);
    *newBlock = fresh;
    return kNoErr;
}

std::size_t BlockAllocator::liveBytes() const {
    std::size_t total = 0;
    for (const auto& [block, size] : live_) total += size;
    return total;
}

}  // namespace host
