// The drawing-information records as the host reads them: the drawing
// windows for the drawing's size and origin, the setup dialogs for every
// field. The layouts (DbInfo, LayerTable, PageStateBlock, DbHeader) are the
// CAD library's, declared once in its header; this adds the host's helpers.
// It sits with the drawing windows, the lowest of its users.
#pragma once

#include <cstddef>
#include <cstdint>

#include "cadlib/WmCadApiDb.h"

constexpr int kLayerCount = 1024;

// The 4,223-byte head of a page's drawing information that DAriGetDBInfo
// and DAriSetDBInfo exchange: the first bytes of a DbInfo.
struct DbInfoHead {
    unsigned char bytes[kDbInfoHeadSize];

    const DbInfo* Info() const { return reinterpret_cast<const DbInfo*>(bytes); }
    DbInfo* Info() { return reinterpret_cast<DbInfo*>(bytes); }
    // Drawing title (slot 3 of the first texts).
    const char* Title() const { return reinterpret_cast<const char*>(bytes + kInfoTitle); }
    double DrawingWidth() const { return CadGetF64(bytes, kInfoDrawW); }
    double DrawingHeight() const { return CadGetF64(bytes, kInfoDrawH); }
    int OriginAtCorner() const { return Info()->originAtCorner; }
};
static_assert(sizeof(DbInfoHead) == 4223, "DbInfo head is 4,223 bytes");

// The layer table of a live DbInfo block (null for null).
inline LayerTable* LayerTableOf(DbInfo* liveDbInfo) { return liveDbInfo ? &liveDbInfo->layers : nullptr; }

// A layer's bit in one of the 64-word sets of a LayerTable (display,
// detect, lock) or in a used-layer set: bit L mod 16 of word L / 16.
inline bool LayerBitOf(const uint16_t* words, int layer) {
    return layer >= 0 && layer < kLayerCount && ((words[layer / 16] >> (layer % 16)) & 1u);
}
inline void SetLayerBit(uint16_t* words, int layer, bool on) {
    if (layer < 0 || layer >= kLayerCount) return;
    const uint16_t bit = static_cast<uint16_t>(1u << (layer % 16));
    if (on)
        words[layer / 16] |= bit;
    else
        words[layer / 16] &= static_cast<uint16_t>(~bit);
}
