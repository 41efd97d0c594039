// The host's block allocator: the only heap a plug-in uses.
#pragma once

#include <cstddef>
#include <unordered_map>

#include "ASTypes.h"

namespace host {

class BlockAllocator {
public:
    BlockAllocator() = default;
    BlockAllocator(const BlockAllocator&) = delete;
    BlockAllocator& operator=(const BlockAllocator&) = delete;
    ~BlockAllocator();

    /// A zeroed block; '!MEM' and null when the failure knob says so or memory runs out.
    ASErr allocate(std::size_t size, void** block);
    /// kBadParameterErr for a block this allocator did not give out (nothing is freed then).
    ASErr free(void* block);
    /// '!MEM' with the old block kept when it fails.
    ASErr reallocate(void* block, std::size_t size, void** newBlock);

    /// The nth allocation from now fails (1: the next one); 0 disarms the knob.
    void failAllocation(long nth) { failIn_ = nth; }

    std::size_t liveBlocks() const { return live_.size(); }
    std::size_t liveBytes() const;

private:
    bool shouldFail();

    std::unordered_map<void*, std::size_t> live_;
    long failIn_ = 0;
};

}  // namespace host
