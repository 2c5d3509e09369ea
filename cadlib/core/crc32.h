// CRC-32 (the common reflected polynomial 0xEDB88320), four bytes a step.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cad {
uint32_t Crc32(const void* data, size_t size, uint32_t crc = 0);
}
