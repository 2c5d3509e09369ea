#include "cadlib/core/crc32.h"

#include <cstring>

namespace cad {

namespace {
struct Tables {
    uint32_t t[4][256];
    Tables() {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[0][i] = c;
        }
        for (uint32_t i = 0; i < 256; ++i)
            for (int s = 1; s < 4; ++s) t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF];
    }
};
const Tables& T() {
    static const Tables tables;
    return tables;
}
}  // namespace

uint32_t Crc32(const void* data, size_t size, uint32_t crc) {
    const Tables& tb = T();
    const uint8_t* p = static_cast<const uint8_t*>(data);
    crc = ~crc;
    while (size >= 4) {
        uint32_t w;
        memcpy(&w, p, 4);
        crc ^= w;
        crc = tb.t[3][crc & 0xFF] ^ tb.t[2][(crc >> 8) & 0xFF] ^ tb.t[1][(crc >> 16) & 0xFF] ^ tb.t[0][crc >> 24];
        p += 4;
        size -= 4;
    }
    while (size--) crc = tb.t[0][(crc ^ *p++) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

}  // namespace cad
