// The compression of version-2 sections (codec 2): the section is a
// directory of chunks followed by the chunks, each compressed on its own so
// that chunks are packed and expanded side by side.
//
//   section = count(u32) { rawSize(u32) storedSize(u32) items(u32) } x count
//             chunk x count
//
// `items` is what a chunk of trees holds (its element nodes), 0 elsewhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace cad {

const uint32_t kCodecChunks = 2;

// The most a block of `size` bytes compresses to (0: too large for a block).
size_t CompressBound(size_t size);
// Appends one compressed block to `out`; false when the input is too large.
bool CompressBlock(const void* src, size_t size, std::string& out);
// Expands exactly `rawSize` bytes into dst; false when the block is damaged.
bool ExpandBlock(const void* src, size_t size, void* dst, size_t rawSize);
// The most `storedSize` compressed bytes can expand to: a chunk that claims
// more is damaged, so no claim makes the loader allocate without bound.
uint64_t MostExpansion(uint64_t storedSize);

struct ChunkInfo {
    uint32_t rawSize, storedSize, items;
    size_t at;  // where its stored bytes start in the section
};

// A section from compressed chunks (with their raw sizes and items).
std::string JoinChunks(const std::vector<std::string>& stored, const std::vector<uint32_t>& rawSizes,
                       const std::vector<uint32_t>& items);
// The directory of a section; false when it does not describe the bytes.
bool SplitChunks(const uint8_t* section, size_t size, std::vector<ChunkInfo>& out);

// A plain section, cut into chunks of `piece` bytes.
std::string CompressChunked(const std::string& raw, size_t piece = size_t(1) << 20);
// The whole raw content, at most `limit` bytes; false when damaged.
bool ExpandChunked(const uint8_t* section, size_t size, size_t limit, std::string& out);

}  // namespace cad
