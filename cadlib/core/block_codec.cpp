// LZ4 blocks (built from the distribution's source by tools/install-deps.sh):
// of the fast compressors it expands quickest, so a load stays close to the
// time of reading the file, and its format bounds what a block can expand
// to, so a damaged size is refused before anything is allocated.
#include "cadlib/core/block_codec.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

#include <lz4.h>

#include "cadlib/core/parallel.h"

namespace cad {

namespace {
void PutU32(std::string& s, uint32_t v) { s.append(reinterpret_cast<const char*>(&v), 4); }
uint32_t U32At(const uint8_t* p) {
    uint32_t v;
    memcpy(&v, p, 4);
    return v;
}
const size_t kDirEntry = 12;
}  // namespace

size_t CompressBound(size_t size) {
    return size <= static_cast<size_t>(LZ4_MAX_INPUT_SIZE)
               ? static_cast<size_t>(LZ4_compressBound(static_cast<int>(size)))
               : 0;
}

bool CompressBlock(const void* src, size_t size, std::string& out) {
    size_t bound = CompressBound(size);
    if (!bound) return false;
    size_t at = out.size();
    out.resize(at + bound);
    int n =
        LZ4_compress_default(static_cast<const char*>(src), &out[at], static_cast<int>(size), static_cast<int>(bound));
    if (n <= 0) {
        out.resize(at);
        return false;
    }
    out.resize(at + static_cast<size_t>(n));
    return true;
}

bool ExpandBlock(const void* src, size_t size, void* dst, size_t rawSize) {
    if (size > INT_MAX || rawSize > INT_MAX) return false;
    int n = LZ4_decompress_safe(static_cast<const char*>(src), static_cast<char*>(dst), static_cast<int>(size),
                                static_cast<int>(rawSize));
    return n >= 0 && static_cast<size_t>(n) == rawSize;
}

// A sequence of an LZ4 block adds at most 255 bytes of output for each byte
// of input (the extra length bytes of a long match).
uint64_t MostExpansion(uint64_t storedSize) { return storedSize * 256 + 64; }

std::string JoinChunks(const std::vector<std::string>& stored, const std::vector<uint32_t>& rawSizes,
                       const std::vector<uint32_t>& items) {
    size_t total = 4 + stored.size() * kDirEntry;
    for (const std::string& s : stored)
        total += s.size();
    std::string out;
    out.reserve(total);
    PutU32(out, static_cast<uint32_t>(stored.size()));
    for (size_t i = 0; i < stored.size(); ++i) {
        PutU32(out, rawSizes[i]);
        PutU32(out, static_cast<uint32_t>(stored[i].size()));
        PutU32(out, items[i]);
    }
    for (const std::string& s : stored)
        out += s;
    return out;
}

bool SplitChunks(const uint8_t* section, size_t size, std::vector<ChunkInfo>& out) {
    out.clear();
    if (size < 4) return false;
    uint32_t count = U32At(section);
    if (count > (size - 4) / kDirEntry) return false;
    size_t at = 4 + count * kDirEntry;
    out.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* e = section + 4 + i * kDirEntry;
        ChunkInfo c{U32At(e), U32At(e + 4), U32At(e + 8), at};
        if (c.storedSize > size - at || c.rawSize > MostExpansion(c.storedSize)) return false;
        at += c.storedSize;
        out.push_back(c);
    }
    return at == size;
}

std::string CompressChunked(const std::string& raw, size_t piece) {
    size_t count = (raw.size() + piece - 1) / piece;
    std::vector<std::string> stored(count);
    std::vector<uint32_t> rawSizes(count), items(count, 0);
    std::vector<char> failed(count, 0);
    ParallelFor(
        count,
        [&](size_t i) {
            size_t at = i * piece, n = std::min(piece, raw.size() - at);
            rawSizes[i] = static_cast<uint32_t>(n);
            failed[i] = !CompressBlock(raw.data() + at, n, stored[i]);
        },
        raw.size() >= (size_t(4) << 20));
    for (char f : failed)
        if (f) throw std::bad_alloc();
    return JoinChunks(stored, rawSizes, items);
}

bool ExpandChunked(const uint8_t* section, size_t size, size_t limit, std::string& out) {
    std::vector<ChunkInfo> chunks;
    if (!SplitChunks(section, size, chunks)) return false;
    std::vector<size_t> at(chunks.size() + 1, 0);
    for (size_t i = 0; i < chunks.size(); ++i) {
        at[i + 1] = at[i] + chunks[i].rawSize;
        if (at[i + 1] > limit) return false;
    }
    out.assign(at.back(), '\0');
    std::vector<char> ok(chunks.size(), 0);
    ParallelFor(
        chunks.size(),
        [&](size_t i) {
            ok[i] = ExpandBlock(section + chunks[i].at, chunks[i].storedSize, &out[0] + at[i], chunks[i].rawSize);
        },
        at.back() >= (size_t(4) << 20));
    for (char k : ok)
        if (!k) return false;
    return true;
}

}  // namespace cad
