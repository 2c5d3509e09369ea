// The header of a TIFF: a walk of its first image directory. Every offset
// and count is checked against the data's length, so a cut or damaged file
// gives 0, never a read outside the data.
#include <cstring>

#include "rasread/s_rasread.h"

namespace {

class TiffBytes {
public:
    TiffBytes(const uint8_t* p, uint32_t n) : m_p(p), m_n(n) {}
    bool Init() {
        if (m_n < 8) return false;
        if (m_p[0] == 'I' && m_p[1] == 'I')
            m_motorola = false;
        else if (m_p[0] == 'M' && m_p[1] == 'M')
            m_motorola = true;
        else
            return false;
        return U16(2) == 42;
    }
    bool Has(uint32_t off, uint32_t size) const { return off <= m_n && size <= m_n - off; }
    uint16_t U16(uint32_t off) const {
        if (!Has(off, 2)) return 0;
        return m_motorola ? uint16_t(m_p[off] << 8 | m_p[off + 1]) : uint16_t(m_p[off] | m_p[off + 1] << 8);
    }
    uint32_t U32(uint32_t off) const {
        if (!Has(off, 4)) return 0;
        const uint8_t* b = m_p + off;
        return m_motorola ? (uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3])
                          : (uint32_t(b[3]) << 24 | uint32_t(b[2]) << 16 | uint32_t(b[1]) << 8 | b[0]);
    }

private:
    const uint8_t* m_p;
    uint32_t m_n;
    bool m_motorola = false;
};

enum : uint16_t {
    kTagWidth = 256,
    kTagHeight = 257,
    kTagBits = 258,
    kTagCompression = 259,
    kTagPhotometric = 262,
    kTagXRes = 282,
    kTagYRes = 283,
    kTagResUnit = 296,
};
enum : uint16_t { kTypeShort = 3, kTypeLong = 4, kTypeRational = 5 };

}  // namespace

ZAV_EXTERN_C int ZAVAPI GetHeadfromTIFF(const void* data, uint32_t length, TiffHeadRecord* header) {
    if (!data || !header) return 0;
    TiffBytes t(static_cast<const uint8_t*>(data), length);
    if (!t.Init()) return 0;
    const uint32_t ifd = t.U32(4);
    if (!t.Has(ifd, 2)) return 0;
    const uint32_t count = t.U16(ifd);
    if (!t.Has(ifd + 2, count * 12)) return 0;

    TiffHeadRecord h;
    std::memset(&h, 0, sizeof h);
    h.bitsPerSample = 1;
    h.compression = 1;
    h.resUnit = 2;  // the format's default when the tag is absent
    for (uint32_t i = 0; i < count; ++i) {
        const uint32_t e = ifd + 2 + i * 12;
        const uint16_t tag = t.U16(e), type = t.U16(e + 2);
        const uint32_t n = t.U32(e + 4);
        // A short or long value that fits sits in the entry itself.
        auto scalar = [&]() -> uint32_t { return type == kTypeShort ? t.U16(e + 8) : t.U32(e + 8); };
        auto rational = [&](uint32_t* num, uint32_t* den) {
            if (type != kTypeRational || n < 1) return;
            const uint32_t at = t.U32(e + 8);
            if (!t.Has(at, 8)) return;
            *num = t.U32(at);
            *den = t.U32(at + 4);
        };
        switch (tag) {
        case kTagWidth: h.width = scalar(); break;
        case kTagHeight: h.height = scalar(); break;
        // Several samples keep their first count in the entry or behind it.
        case kTagBits: h.bitsPerSample = n == 1 ? uint16_t(scalar()) : t.U16(n > 2 ? t.U32(e + 8) : e + 8); break;
        case kTagCompression: h.compression = uint16_t(scalar()); break;
        case kTagPhotometric: h.photometric = uint16_t(scalar()); break;
        case kTagXRes: rational(&h.xResNum, &h.xResDen); break;
        case kTagYRes: rational(&h.yResNum, &h.yResDen); break;
        case kTagResUnit: h.resUnit = uint16_t(scalar()); break;
        default: break;
        }
    }
    if (h.width == 0 || h.height == 0) return 0;
    *header = h;
    return 1;
}
