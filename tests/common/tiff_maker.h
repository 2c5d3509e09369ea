// Small TIFF files made by the tests and benchmarks: a bilevel image (ink
// set) written uncompressed, PackBits or CCITT G4 (our own small encoder),
// with a resolution in inches, centimetres or none.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tiffmaker {

enum Coding : uint16_t { kNone = 1, kG4 = 4, kPackBits = 32773 };

// A bilevel image: the positions where the colour changes along each row
// (white first), so that large scans stay small.
struct Image {
    uint32_t width = 0, height = 0;
    std::vector<std::vector<uint32_t>> rows;  // ascending, each < width
    bool Ink(uint32_t x, uint32_t y) const {
        bool ink = false;
        for (uint32_t t : rows[y]) {
            if (t > x) break;
            ink = !ink;
        }
        return ink;
    }
};

inline Image FromPixels(uint32_t w, uint32_t h, const std::vector<uint8_t>& ink) {
    Image im;
    im.width = w;
    im.height = h;
    im.rows.resize(h);
    for (uint32_t y = 0; y < h; ++y) {
        uint8_t prev = 0;
        for (uint32_t x = 0; x < w; ++x)
            if ((ink[size_t(y) * w + x] != 0) != (prev != 0)) {
                im.rows[y].push_back(x);
                prev = ink[size_t(y) * w + x] != 0;
            }
    }
    return im;
}

class BitWriter {
public:
    void Put(uint32_t code, int len) {
        for (int i = len - 1; i >= 0; --i) {
            m_acc = uint8_t(m_acc << 1 | ((code >> i) & 1));
            if (++m_n == 8) Flush();
        }
    }
    std::string Done() {
        while (m_n) Put(0, 1);
        return m_out;
    }

private:
    void Flush() {
        m_out.push_back(char(m_acc));
        m_acc = 0;
        m_n = 0;
    }
    std::string m_out;
    uint8_t m_acc = 0;
    int m_n = 0;
};

struct Code {
    uint16_t bits;
    uint8_t len;
};
// The one-dimensional run codes: terminating 0-63, make-up 64 .. 2560.
inline const Code* WhiteTerm() {
    static const Code t[64] = {
        {0x35, 8}, {0x7, 6},  {0x7, 4},  {0x8, 4},  {0xb, 4},  {0xc, 4},  {0xe, 4},  {0xf, 4},  {0x13, 5}, {0x14, 5},
        {0x7, 5},  {0x8, 5},  {0x8, 6},  {0x3, 6},  {0x34, 6}, {0x35, 6}, {0x2a, 6}, {0x2b, 6}, {0x27, 7}, {0xc, 7},
        {0x8, 7},  {0x17, 7}, {0x3, 7},  {0x4, 7},  {0x28, 7}, {0x2b, 7}, {0x13, 7}, {0x24, 7}, {0x18, 7}, {0x2, 8},
        {0x3, 8},  {0x1a, 8}, {0x1b, 8}, {0x12, 8}, {0x13, 8}, {0x14, 8}, {0x15, 8}, {0x16, 8}, {0x17, 8}, {0x28, 8},
        {0x29, 8}, {0x2a, 8}, {0x2b, 8}, {0x2c, 8}, {0x2d, 8}, {0x4, 8},  {0x5, 8},  {0xa, 8},  {0xb, 8},  {0x52, 8},
        {0x53, 8}, {0x54, 8}, {0x55, 8}, {0x24, 8}, {0x25, 8}, {0x58, 8}, {0x59, 8}, {0x5a, 8}, {0x5b, 8}, {0x4a, 8},
        {0x4b, 8}, {0x32, 8}, {0x33, 8}, {0x34, 8}};
    return t;
}
inline const Code* BlackTerm() {
    static const Code t[64] = {
        {0x37, 10}, {0x2, 3},   {0x3, 2},   {0x2, 2},   {0x3, 3},   {0x3, 4},   {0x2, 4},   {0x3, 5},
        {0x5, 6},   {0x4, 6},   {0x4, 7},   {0x5, 7},   {0x7, 7},   {0x4, 8},   {0x7, 8},   {0x18, 9},
        {0x17, 10}, {0x18, 10}, {0x8, 10},  {0x67, 11}, {0x68, 11}, {0x6c, 11}, {0x37, 11}, {0x28, 11},
        {0x17, 11}, {0x18, 11}, {0xca, 12}, {0xcb, 12}, {0xcc, 12}, {0xcd, 12}, {0x68, 12}, {0x69, 12},
        {0x6a, 12}, {0x6b, 12}, {0xd2, 12}, {0xd3, 12}, {0xd4, 12}, {0xd5, 12}, {0xd6, 12}, {0xd7, 12},
        {0x6c, 12}, {0x6d, 12}, {0xda, 12}, {0xdb, 12}, {0x54, 12}, {0x55, 12}, {0x56, 12}, {0x57, 12},
        {0x64, 12}, {0x65, 12}, {0x52, 12}, {0x53, 12}, {0x24, 12}, {0x37, 12}, {0x38, 12}, {0x27, 12},
        {0x28, 12}, {0x58, 12}, {0x59, 12}, {0x2b, 12}, {0x2c, 12}, {0x5a, 12}, {0x66, 12}, {0x67, 12}};
    return t;
}
// Index n: a run of 64 * n (1 .. 40); 28 and on are shared by both colours.
inline const Code* WhiteMakeup() {
    static const Code t[41] = {
        {0, 0},     {0x1b, 5},  {0x12, 5},  {0x17, 6},  {0x37, 7},  {0x36, 8},  {0x37, 8},  {0x64, 8},  {0x65, 8},
        {0x68, 8},  {0x67, 8},  {0xcc, 9},  {0xcd, 9},  {0xd2, 9},  {0xd3, 9},  {0xd4, 9},  {0xd5, 9},  {0xd6, 9},
        {0xd7, 9},  {0xd8, 9},  {0xd9, 9},  {0xda, 9},  {0xdb, 9},  {0x98, 9},  {0x99, 9},  {0x9a, 9},  {0x18, 6},
        {0x9b, 9},  {0x8, 11},  {0xc, 11},  {0xd, 11},  {0x12, 12}, {0x13, 12}, {0x14, 12}, {0x15, 12}, {0x16, 12},
        {0x17, 12}, {0x1c, 12}, {0x1d, 12}, {0x1e, 12}, {0x1f, 12}};
    return t;
}
inline const Code* BlackMakeup() {
    static const Code t[41] = {
        {0, 0},     {0xf, 10},  {0xc8, 12}, {0xc9, 12}, {0x5b, 12}, {0x33, 12}, {0x34, 12}, {0x35, 12}, {0x6c, 13},
        {0x6d, 13}, {0x4a, 13}, {0x4b, 13}, {0x4c, 13}, {0x4d, 13}, {0x72, 13}, {0x73, 13}, {0x74, 13}, {0x75, 13},
        {0x76, 13}, {0x77, 13}, {0x52, 13}, {0x53, 13}, {0x54, 13}, {0x55, 13}, {0x5a, 13}, {0x5b, 13}, {0x64, 13},
        {0x65, 13}, {0x8, 11},  {0xc, 11},  {0xd, 11},  {0x12, 12}, {0x13, 12}, {0x14, 12}, {0x15, 12}, {0x16, 12},
        {0x17, 12}, {0x1c, 12}, {0x1d, 12}, {0x1e, 12}, {0x1f, 12}};
    return t;
}

inline void PutRun(BitWriter& out, bool black, uint32_t run) {
    const Code* term = black ? BlackTerm() : WhiteTerm();
    const Code* makeup = black ? BlackMakeup() : WhiteMakeup();
    while (run >= 2560) {
        out.Put(makeup[40].bits, makeup[40].len);
        run -= 2560;
    }
    if (run >= 64) {
        out.Put(makeup[run / 64].bits, makeup[run / 64].len);
        run %= 64;
    }
    out.Put(term[run].bits, term[run].len);
}

// Two-dimensional coding against the row above (all white above the first).
inline std::string EncodeG4(const Image& im) {
    BitWriter out;
    const std::vector<uint32_t> none;
    const std::vector<uint32_t>* ref = &none;
    const int64_t w = im.width;
    for (uint32_t y = 0; y < im.height; ++y) {
        const std::vector<uint32_t>& cur = im.rows[y];
        // The first change after p on a row (width when none); with
        // `parity` >= 0 only changes to that colour (0 black, 1 white).
        auto next = [&](const std::vector<uint32_t>& row, int64_t p, int parity) -> int64_t {
            for (size_t i = 0; i < row.size(); ++i)
                if (int64_t(row[i]) > p && (parity < 0 || int(i % 2) == parity)) return row[i];
            return w;
        };
        int64_t a0 = -1;
        bool black = false;
        while (a0 < w) {
            const int64_t a1 = next(cur, a0, -1);
            // b1: the first change on the row above, past a0, to the colour
            // opposite a0's.
            const int64_t b1 = next(*ref, a0, black ? 1 : 0);
            const int64_t b2 = next(*ref, b1, -1);
            if (b2 < a1) {
                out.Put(0x1, 4);
                a0 = b2;
            } else if (a1 - b1 <= 3 && b1 - a1 <= 3) {
                static const Code v[7] = {{0x2, 7}, {0x2, 6}, {0x2, 3}, {0x1, 1}, {0x3, 3}, {0x3, 6}, {0x3, 7}};
                const Code& c = v[a1 - b1 + 3];
                out.Put(c.bits, c.len);
                a0 = a1;
                black = !black;
            } else {
                const int64_t a2 = next(cur, a1, -1);
                out.Put(0x1, 3);
                PutRun(out, black, uint32_t(a1 - (a0 < 0 ? 0 : a0)));
                PutRun(out, !black, uint32_t(a2 - a1));
                a0 = a2;
            }
        }
        ref = &cur;
    }
    out.Put(0x001, 12);  // end of block
    out.Put(0x001, 12);
    return out.Done();
}

inline std::string PackedRows(const Image& im) {
    const uint32_t stride = (im.width + 7) / 8;
    std::string bytes(size_t(stride) * im.height, '\0');
    for (uint32_t y = 0; y < im.height; ++y) {
        bool ink = false;
        uint32_t x = 0;
        for (size_t i = 0; i <= im.rows[y].size(); ++i) {
            const uint32_t end = i < im.rows[y].size() ? im.rows[y][i] : im.width;
            if (ink)
                for (; x < end; ++x) bytes[size_t(y) * stride + x / 8] |= char(0x80 >> (x % 8));
            x = end;
            ink = !ink;
        }
    }
    return bytes;
}

inline std::string EncodePackBits(const Image& im) {
    const uint32_t stride = (im.width + 7) / 8;
    const std::string raw = PackedRows(im);
    std::string out;
    for (uint32_t y = 0; y < im.height; ++y) {
        const char* row = raw.data() + size_t(y) * stride;
        uint32_t i = 0;
        while (i < stride) {
            uint32_t run = 1;
            while (i + run < stride && run < 128 && row[i + run] == row[i]) ++run;
            if (run >= 3) {
                out.push_back(char(1 - int(run)));
                out.push_back(row[i]);
                i += run;
                continue;
            }
            uint32_t lit = 1;
            while (i + lit < stride && lit < 128 &&
                   !(i + lit + 2 < stride && row[i + lit] == row[i + lit + 1] && row[i + lit] == row[i + lit + 2]))
                ++lit;
            out.push_back(char(lit - 1));
            out.append(row + i, lit);
            i += lit;
        }
    }
    return out;
}

// unit: 2 inch, 3 centimetre, 1 or 0 none (0 writes no resolution at all).
inline std::string MakeTiff(const Image& im, Coding coding, uint16_t unit, uint32_t xRes, uint32_t yRes,
                            uint32_t resDen = 1) {
    std::string data = coding == kG4 ? EncodeG4(im) : coding == kPackBits ? EncodePackBits(im) : PackedRows(im);
    std::string f = "II*";
    f.push_back('\0');
    auto u16 = [](std::string& s, uint32_t v) {
        s.push_back(char(v & 0xFF));
        s.push_back(char(v >> 8 & 0xFF));
    };
    auto u32 = [&](std::string& s, uint32_t v) {
        u16(s, v & 0xFFFF);
        u16(s, v >> 16);
    };
    const uint32_t dataAt = 8;
    uint32_t resAt = dataAt + uint32_t(data.size());
    resAt += resAt & 1;
    const uint32_t ifdAt = resAt + 16;
    u32(f, ifdAt);
    f += data;
    while (f.size() < resAt) f.push_back('\0');
    u32(f, xRes);
    u32(f, resDen);
    u32(f, yRes);
    u32(f, resDen);
    struct Entry {
        uint16_t tag, type;
        uint32_t count, value;
    };
    std::vector<Entry> e = {
        {256, 4, 1, im.width},
        {257, 4, 1, im.height},
        {258, 3, 1, 1},
        {259, 3, 1, coding},
        {262, 3, 1, 0},
        {273, 4, 1, dataAt},
        {277, 3, 1, 1},
        {278, 4, 1, im.height},
        {279, 4, 1, uint32_t(data.size())},
    };
    if (unit) {
        e.push_back({282, 5, 1, resAt});
        e.push_back({283, 5, 1, resAt + 8});
        e.push_back({296, 3, 1, unit});
    }
    u16(f, uint32_t(e.size()));
    for (const Entry& x : e) {
        u16(f, x.tag);
        u16(f, x.type);
        u32(f, x.count);
        if (x.type == 3) {
            u16(f, x.value);
            u16(f, 0);
        } else {
            u32(f, x.value);
        }
    }
    u32(f, 0);
    return f;
}

}  // namespace tiffmaker
