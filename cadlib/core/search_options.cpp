// The library's search options, the locked-layer search mode and the group
// find switch, with the test of which elements a search may find.
#include <cstring>

#include "cadlib/core/search.h"
#include "cadlib/core/spatial_index.h"

namespace cad {

SearchState& Search() {
    static SearchState s = [] {
        SearchState st;
        memset(&st.options, 0, sizeof st.options);
        const int32_t defaults[7] = {3, 0xFFFFF, -1, 0xFFFF, 0xFFFFFF, 255, 255};
        memcpy(st.options.words, defaults, sizeof defaults);
        return st;
    }();
    return s;
}

uint32_t KindBit(uint16_t kind) {
    if (kind >= 1 && kind <= 16) return 1u << (kind - 1);
    switch (kind) {
    case kElmBlock:
    case kElmFrame: return kFindKindBlock;
    case kElmCompound: return kFindKindCompound70;
    case kElmRaster: return kFindKindRaster;
    case kElmGroup:
    case kElmGroup2:
    case kElmFigure: return kFindKindGroup;
    default: return 0;
    }
}

bool LayerLocked(Database& db, int page, int layer) {
    if (layer < 0 || layer > 1023) return false;
    DbInfo* info = PageInfo(db, page);
    if (!info) return false;
    uint16_t w;
    memcpy(&w, info->layers.lock + layer / 16, sizeof w);
    return (w >> (layer % 16)) & 1;
}

namespace {
bool Bit(const uint32_t* words, int n) { return (words[n / 32] >> (n % 32)) & 1; }
// The layer bit words of a DbInfo sit at odd addresses: read them bytewise.
bool Bit16(const uint16_t* words, int n) {
    uint16_t w;
    memcpy(&w, words + n / 16, sizeof w);
    return (w >> (n % 16)) & 1;
}
}  // namespace

// A word left at 0 restricts nothing: a host that hands over a zero-filled
// record before it ever set one still finds every element.
const int32_t* Words() {
    static int32_t w[15];
    const int32_t* o = Search().options.words;
    memcpy(w, o, sizeof w);
    if (w[0] == 0) w[0] = 3;
    if (w[1] == 0) w[1] = 0xFFFFF;
    if (w[3] == 0) w[3] = 0xFFFF;
    if (w[4] == 0) w[4] = 0xFFFFFF;
    if (w[5] == 0) w[5] = 255;
    return w;
}

bool LeafFindable(const ElementRecord& rec) {
    const int32_t* w = Words();
    if (!(static_cast<uint32_t>(w[1]) & KindBit(rec.kind))) return false;
    if (rec.colour == 0 && !(w[4] & 1)) return false;
    switch (rec.kind) {
    case kElmLine:
    case kElmCircle:
    case kElmArc:
    case kElmEllipse:
    case kElmEllipticArc: {
        if (!((w[3] >> (ElementLineType(rec) % 16)) & 1)) return false;
        if (!((w[5] >> (ElementLineWidth(rec) % 8)) & 1)) return false;
        break;
    }
    default: break;
    }
    return true;
}

bool Findable(Database& db, DbHeader* header, const StoredElement* e) {
    const ElementRecord& rec = e->rec;
    const int32_t* w = Words();
    if (!(static_cast<uint32_t>(w[1]) & KindBit(rec.kind))) return false;
    if (rec.colour == 0 && !IsGroupLike(rec.kind) && rec.kind != kElmFigure && !(w[4] & 1)) return false;
    int page = rec.page;
    if (page < 0 || page > 256) return false;
    if (!Bit(header->pages.display, page) || !Bit(header->pages.detect, page)) return false;
    if (GlobalSettings().pageDetect && page != header->pages.currentPage) return false;
    int layer = rec.layer;
    if (w[2] >= 0 && layer != w[2]) return false;
    if (layer <= 1023) {
        DbInfo* info = PageInfo(db, page);
        if (!info) return false;
        if (!Bit16(info->layers.display, layer) || !Bit16(info->layers.detect, layer)) return false;
        if (Search().lockMode == 1 && Bit16(info->layers.lock, layer)) return false;
    }
    return true;
}

bool UseIndex() {
    auto& ints = GlobalSettings().ints;
    auto it = ints.find("NoSpatialIndex");
    return it == ints.end() || it->second == 0;
}

void Candidates(Database& db, DbHeader* header, const Box& area, CadMark* mark, std::vector<StoredElement*>& out) {
    out.clear();
    if (mark) {
        MarkImpl* m = static_cast<MarkImpl*>(mark);
        if (!db.marks.count(m)) return;
        for (void* item : m->items) {
            StoredElement* e = static_cast<StoredElement*>(item);
            if (!e || !IsElement(e) || m->link) continue;
            Box b;
            if (ElementBox(e, b) && b.intersects(area) && Findable(db, header, e)) out.push_back(e);
        }
        return;
    }
    if (UseIndex()) {
        if (SpatialIndex* idx = IndexOf(header)) {
            std::vector<StoredElement*> found;
            idx->Query(area, found);
            SortByChainOrder(found);
            for (StoredElement* e : found)
                if (Findable(db, header, e)) out.push_back(e);
            return;
        }
    }
    for (StoredElement* e = db.first; e; e = e->next) {
        Box b;
        if (ElementBox(e, b) && b.intersects(area) && Findable(db, header, e)) out.push_back(e);
    }
}

DbHeader* HeaderOfViewData(void* viewData) {
    if (!viewData) return nullptr;
    DbHeader* h;
    memcpy(&h, static_cast<uint8_t*>(viewData) + kViewDataDbOffset, sizeof h);
    return h;
}

}  // namespace cad

using namespace cad;

CADAPI int ZAVAPI DAriDbSetSerch(const SearchOptionRecord* options) {
    if (!options) return 0;
    Search().options = *options;
    return 1;
}

CADAPI int ZAVAPI DAriDbGetSerch(SearchOptionRecord* options) {
    if (!options) return 0;
    *options = Search().options;
    return 1;
}

// Sets the area mode (crossing, inside or both) and answers the kind mask
// that goes with it.
CADAPI int ZAVAPI DAriDbSetSerchOption(int areaMode) {
    if (areaMode >= 1 && areaMode <= 3) Search().options.words[0] = areaMode;
    return Search().options.words[1];
}

CADAPI int ZAVAPI DAriSerchSetGrpFind(int on) {
    int old = Search().groupFind;
    Search().groupFind = on ? 1 : 0;
    return old;
}

CADAPI int ZAVAPI TqGetLockLaySearchMode(void) { return Search().lockMode; }

CADAPI int ZAVAPI TqSetLockLaySearchMode(int mode) {
    int old = Search().lockMode;
    Search().lockMode = mode == 1 ? 1 : 0;
    return old;
}

CADAPI int ZAVAPI TqIsLockLayer(const void* record, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db || !record) return 0;
    const ElementRecord* rec = static_cast<const ElementRecord*>(record);
    return LayerLocked(*db, rec->page, rec->layer) ? 1 : 0;
}
