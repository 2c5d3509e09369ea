#include "cadlib/core/crc32.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "cadlib/core/parallel.h"

namespace cad {

namespace {
struct Tables {
    uint32_t t[4][256];
    Tables() {
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[0][i] = c;
        }
        for (uint32_t i = 0; i < 256; ++i)
            for (int s = 1; s < 4; ++s)
                t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF];
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
    while (size--)
        crc = tb.t[0][(crc ^ *p++) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

namespace {

const uint32_t kPoly = 0xEDB88320u;

// Product of two polynomials modulo the CRC polynomial (bit 31 is x^0).
uint32_t MulMod(uint32_t a, uint32_t b) {
    uint32_t m = 1u << 31, p = 0;
    for (;;) {
        if (a & m) {
            p ^= b;
            if ((a & (m - 1)) == 0) break;
        }
        m >>= 1;
        b = (b & 1) ? (b >> 1) ^ kPoly : b >> 1;
    }
    return p;
}

// x^(8 n) modulo the polynomial: what appending n zero bytes multiplies by.
uint32_t ZeroBytesFactor(uint64_t n) {
    static const struct Powers {
        uint32_t x2k[64];  // x^(2^k)
        Powers() {
            uint32_t p = 1u << 30;  // x^1
            for (int k = 0; k < 64; ++k) {
                x2k[k] = p;
                p = MulMod(p, p);
            }
        }
    } powers;
    uint32_t p = 1u << 31;  // x^0
    for (int k = 3; n; n >>= 1, ++k)
        if (n & 1) p = MulMod(powers.x2k[k & 63], p);
    return p;
}

}  // namespace

uint32_t Crc32Combine(uint32_t crcA, uint32_t crcB, uint64_t lengthB) {
    return MulMod(ZeroBytesFactor(lengthB), crcA) ^ crcB;
}

uint32_t Crc32Split(const void* data, size_t size) {
    const size_t piece = size_t(1) << 20;
    if (size <= 2 * piece || WorkerCount() <= 1) return Crc32(data, size);
    const uint8_t* p = static_cast<const uint8_t*>(data);
    size_t parts = (size + piece - 1) / piece;
    std::vector<uint32_t> crcs(parts);
    ParallelFor(parts, [&](size_t i) {
        size_t at = i * piece;
        crcs[i] = Crc32(p + at, std::min(piece, size - at));
    });
    uint32_t crc = crcs[0];
    for (size_t i = 1; i < parts; ++i)
        crc = Crc32Combine(crc, crcs[i], std::min(piece, size - i * piece));
    return crc;
}

}  // namespace cad
