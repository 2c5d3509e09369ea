// CRC-32 (the common reflected polynomial 0xEDB88320), four bytes a step.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cad {
uint32_t Crc32(const void* data, size_t size, uint32_t crc = 0);
// The CRC of A followed by B from the CRCs of A and B and the length of B,
// so that the parts of a large section can be checked side by side.
uint32_t Crc32Combine(uint32_t crcA, uint32_t crcB, uint64_t lengthB);
// Crc32 of a large block, its parts on the worker threads.
uint32_t Crc32Split(const void* data, size_t size);
}  // namespace cad
