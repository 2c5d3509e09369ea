// Helpers of the view-mode tests: a placed page, a frame transform, and a
// drawing window's record with its view mode.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "tests/cadlib_draw/draw_fixture.h"

namespace drawtest {

struct ViewRecord {
    uint8_t bytes[900] = {};
    ViewRecord(DbHeader* db, int mode) {
        memcpy(bytes + kViewDataDbOffset, &db, sizeof db);
        memcpy(bytes + 803, &mode, sizeof mode);
    }
};

inline void SetF64(void* base, uint32_t off, double v) { CadSetF64(base, off, v); }

// Page 1 placed on the sheet at factor 0.5, origin (40, 30) (and turned by
// `angle`), shown and detectable on every layer.
inline void AddPlacedPage(DbHeader* db, double angle = 0, bool composedOnly = false) {
    std::unique_ptr<PageRecord> rec(new PageRecord);
    memset(rec.get(), 0, sizeof *rec);
    rec->number = 1;
    CadSetF64(&rec->info, kInfoScale, 1.0);
    uint32_t block = composedOnly ? kInfoPlaceComposed : kInfoPlaceFactorX;
    SetF64(&rec->info, block, 0.5);
    SetF64(&rec->info, block + 8, 0.5);
    SetF64(&rec->info, block + 16, angle);
    SetF64(&rec->info, block + 48, 40);
    SetF64(&rec->info, block + 56, 30);
    if (composedOnly) SetF64(&rec->info, kInfoPlaceFactorX, 3.0);  // the composed block wins
    for (int i = 0; i < 64; ++i)
        rec->info.layers.display[i] = rec->info.layers.detect[i] = 0xFFFF;
    ASSERT_EQ(DAriAddPage(1, rec.get(), db), 1);
    db->pages.display[0] |= 2u;
    db->pages.detect[0] |= 2u;
}

// The frame transform of a frame element of scale s, angle a and origin o.
inline void SetFrame(DbHeader* db, double s, double a, double ox, double oy) {
    db->frame.view = 1;
    SetF64(db, 300, s);
    SetF64(db, 316, a);
    SetF64(db, 348, -(s * ox));
    SetF64(db, 356, -(oy * s));
    SetF64(db, 372, std::cos(a));
    SetF64(db, 380, std::sin(a));
}

inline ElementRecord OnPage(ElementRecord r, int page) {
    r.page = page;
    return r;
}

inline bool Lit(const Canvas& c, int x, int y) { return c.Count(RGB(0, 0, 0), x - 1, y - 1, x + 1, y + 1) < 9; }

inline void ViewSearchOptions() {
    SearchOptionRecord o = {};
    const int32_t w[7] = {3, 0xFFFFF, -1, 0xFFFF, 0xFFFFFF, 255, 255};
    memcpy(o.words, w, sizeof w);
    DAriDbSetSerch(&o);
    DAriSerchSetGrpFind(0);
    TqSetLockLaySearchMode(0);
}

}  // namespace drawtest
