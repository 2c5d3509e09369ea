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
