// Fixed-size slots carved from large chunks: stable addresses, no per-slot
// heap overhead, freed slots reused through an intrusive free list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <new>
#include <memory>
#include <vector>

namespace cad {

class SlotPool {
public:
    SlotPool(size_t slotSize, size_t slotsPerChunk)
        // Slots are word-aligned; 238-byte elements take 240.

        : slotSize_((slotSize + 3) & ~size_t(3)), perChunk_(slotsPerChunk) {}
    SlotPool(const SlotPool&) = delete;
    SlotPool& operator=(const SlotPool&) = delete;

    // A zero-filled slot, or null when memory is exhausted.
    void* Alloc() {
        if (!free_) {
            if (chunks_.empty() || chunkUsed_ == chunkSlots_) {
                // Chunks grow from small to the full size, so that a small
                // drawing stays small and a large one allocates rarely.
                size_t slots = chunks_.empty() ? 32 : std::min(perChunk_, chunkSlots_ * 2);
                std::unique_ptr<uint8_t[]> c(new (std::nothrow) uint8_t[slotSize_ * slots]);
                if (!c) return nullptr;
                chunks_.push_back(std::move(c));
                chunkSlots_ = slots;
                reserved_ += slotSize_ * slots;
                chunkUsed_ = 0;
            }
            void* p = chunks_.back().get() + slotSize_ * chunkUsed_++;
            ++live_;
            memset(p, 0, slotSize_);
            return p;
        }
        void* p = free_;
        memcpy(&free_, p, sizeof free_);
        ++live_;
        memset(p, 0, slotSize_);
        return p;
    }
    void Free(void* p) {
        if (!p) return;
        memset(p, 0, slotSize_);
        memcpy(p, &free_, sizeof free_);
        free_ = p;
        --live_;
    }
    // Takes over a chunk whose first `used` slots a loader filled itself;
    // the rest are free. The chunk being carved from stays the last one.
    void Adopt(std::unique_ptr<uint8_t[]> chunk, size_t slots, size_t used) {
        uint8_t* base = chunk.get();
        if (chunks_.empty()) {
            chunks_.push_back(std::move(chunk));
            chunkSlots_ = chunkUsed_ = slots;
        } else {
            chunks_.insert(chunks_.end() - 1, std::move(chunk));
        }
        reserved_ += slotSize_ * slots;
        live_ += used;
        for (size_t i = used; i < slots; ++i) {
            void* p = base + slotSize_ * i;
            memcpy(p, &free_, sizeof free_);
            free_ = p;
        }
    }
    size_t SlotSize() const { return slotSize_; }
    void Reset() {
        chunks_.clear();
        free_ = nullptr;
        chunkUsed_ = 0;
        chunkSlots_ = 0;
        reserved_ = 0;
        live_ = 0;
    }
    size_t Live() const { return live_; }
    size_t ReservedBytes() const { return reserved_; }

private:
    size_t slotSize_;
    size_t perChunk_;
    std::vector<std::unique_ptr<uint8_t[]>> chunks_;
    size_t chunkUsed_ = 0;
    size_t chunkSlots_ = 0;
    size_t reserved_ = 0;
    void* free_ = nullptr;
    size_t live_ = 0;
};

}  // namespace cad
