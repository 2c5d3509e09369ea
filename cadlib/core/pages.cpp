// Pages (page 0 in the header, pages 1 to 256 as page records), drawing
// information and the layer tables with their library-owned names.
#include "cadlib/core/database.h"

#include <cstring>
#include <string>
#include <vector>

#include "cadlib/core/styles.h"

namespace cad {

namespace {
const int kMaxPage = 256;
const size_t kNameSlot = 260;

bool ValidLayer(int layer) { return layer >= 0 && layer < 1024; }

// Every layer of every page owns its name slot, so that renaming a layer
// never renames another one. A table that comes back keeps the layer's own
// slot; a name text of this or another live drawing (a table copied from
// another page or drawing) is copied into the layer's own slot, or a new
// one; any other pointer is dropped. `before` holds the layer's slots
// before the change (null for a new page).
void AdoptNames(Database& db, LayerTable& t, const std::vector<char*>* before) {
    // Texts are taken first: a slot written early may be the source of a
    // later layer (names swapped between layers).
    std::vector<std::pair<int, std::string>> copies;
    for (int i = 0; i < 1024; ++i) {
        // The table is packed: reach the pointers by index, never by reference.
        char* p = t.names[i];
        char* own = before ? (*before)[i] : nullptr;
        if (!p || p == own) continue;
        const char* text = LiveName(p);
        if (text)
            copies.emplace_back(i, std::string(text, strnlen(text, kNameSlot - 1)));
        else
            t.names[i] = nullptr;
    }
    for (auto& c : copies) {
        char* own = before ? (*before)[c.first] : nullptr;
        t.names[c.first] = StoreName(db, own, c.second.c_str());
    }
}

std::vector<char*> Slots(const LayerTable& t) {
    std::vector<char*> v(1024);
    for (int i = 0; i < 1024; ++i)
        v[i] = t.names[i];
    return v;
}
}  // namespace

namespace {
void BuildDefaultDbInfo(DbInfo& info) {
    memset(&info, 0, sizeof info);
    CadSetF64(&info, kInfoScale, 1.0);
    CadSetF64(&info, kInfoPaperWmm, 420.0);
    CadSetF64(&info, kInfoPaperHmm, 297.0);
    CadSetF64(&info, kInfoDrawW, 420.0);
    CadSetF64(&info, kInfoDrawH, 297.0);
    info.paperCode = 0x13;
    memset(info.layers.display, 0xFF, sizeof info.layers.display);
    memset(info.layers.detect, 0xFF, sizeof info.layers.detect);
    DefaultLineTypes(info.lineTypes);
    DefaultColours(info.colours);
    double w[16];
    DefaultWidths(w);
    memcpy(info.widths, w, sizeof w);
    CadSetF64(&info, kInfoPlaceFactorX, 1.0);
    CadSetF64(&info, kInfoPlaceFactorY, 1.0);
    CadSetF64(&info, kInfoPlaceCos, 1.0);
}
}  // namespace

void InitDbInfo(DbInfo& info) {
    static const DbInfo* defaults = [] {
        DbInfo* d = new DbInfo;
        BuildDefaultDbInfo(*d);
        return d;
    }();
    memcpy(&info, defaults, sizeof info);
}

DbInfo* PageInfo(Database& db, int page) {
    if (page == 0) return db.page0.get();
    auto it = db.pages.find(page);
    return it == db.pages.end() ? nullptr : &it->second->info;
}

const char* OwnedName(Database& db, const char* p) { return (p && db.nameSet.count(p)) ? p : nullptr; }

char* StoreName(Database& db, char* slot, const char* text) {
    if (!OwnedName(db, slot)) {
        std::unique_ptr<char[]> s(new (std::nothrow) char[kNameSlot]);
        if (!s) return nullptr;
        slot = s.get();
        db.nameSet.insert(slot);
        db.nameSlots.push_back(std::move(s));
    }
    size_t len = text ? strnlen(text, kNameSlot) : 0;
    len = CutDbcs(text ? text : "", len, kNameSlot - 1);
    if (len) memmove(slot, text, len);  // the caller may pass the slot itself
    slot[len] = 0;
    return slot;
}

}  // namespace cad

using namespace cad;

CADAPI int ZAVAPI DAriGetDBInfo(void* head, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db || !head) return 0;
    memcpy(head, db->page0.get(), kDbInfoHeadSize);
    return 1;
}

CADAPI int ZAVAPI DAriSetDBInfo(const void* head, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db || !head) return 0;
    memmove(db->page0.get(), head, kDbInfoHeadSize);
    return 1;
}

CADAPI DbInfo* ZAVAPI DAriGetDbInfoPtr(int page, DbHeader* header) {
    Database* db = Lookup(header);
    return db ? PageInfo(*db, page) : nullptr;
}

CADAPI int ZAVAPI DAriChkPage(int page, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db) return 0;
    return page == 0 || db->pages.count(page) ? 1 : 0;
}

CADAPI int ZAVAPI DAriGetPage(int page, PageRecord* record, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db || !record) return 0;
    auto it = db->pages.find(page);
    if (it == db->pages.end()) return 0;
    memcpy(record, it->second.get(), sizeof(PageRecord));
    return 1;
}

CADAPI PageRecord* ZAVAPI DAriGetPtPage(int page, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db) return nullptr;
    auto it = db->pages.find(page);
    return it == db->pages.end() ? nullptr : it->second.get();
}

CADAPI int ZAVAPI DAriChgPage(int page, const PageRecord* record, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db || !record) return 0;
    auto it = db->pages.find(page);
    if (it == db->pages.end()) return 0;
    PageRecord* p = it->second.get();
    std::vector<char*> before = Slots(p->info.layers);
    if (p != record) memmove(p, record, sizeof(PageRecord));
    p->number = page;
    AdoptNames(*db, p->info.layers, &before);
    return 1;
}

CADAPI int ZAVAPI DAriAddPage(int page, const PageRecord* record, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db || page < 1 || page > kMaxPage || db->pages.count(page)) return 0;
    std::unique_ptr<PageRecord> p(new (std::nothrow) PageRecord);
    if (!p) return 0;
    if (record) {
        memcpy(p.get(), record, sizeof(PageRecord));
        AdoptNames(*db, p->info.layers, nullptr);
    } else {
        memset(p.get(), 0, sizeof(PageRecord));
        InitDbInfo(p->info);
    }
    p->number = page;
    db->pages[page] = std::move(p);
    return 1;
}

CADAPI int ZAVAPI DAriDelPage(int page, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db || page < 1) return 0;
    return db->pages.erase(page) ? 1 : 0;
}

CADAPI int ZAVAPI DAriGetNextPage(int page, PageRecord* record, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db) return 0;
    auto it = db->pages.upper_bound(page);
    if (it == db->pages.end()) return 0;
    if (record) memcpy(record, it->second.get(), sizeof(PageRecord));
    return it->first;
}

CADAPI int ZAVAPI DAriGetPageCount(DbHeader* header) {
    Database* db = Lookup(header);
    return db ? static_cast<int>(db->pages.size()) : 0;
}

// Nesting level: page 0 is 0, a page made from page 0 is 1, and so on.
CADAPI int ZAVAPI DAriGetPageLv(int page, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db || page == 0) return 0;
    int level = 0;
    for (int guard = 0; page != 0 && guard <= kMaxPage; ++guard) {
        auto it = db->pages.find(page);
        if (it == db->pages.end()) break;
        ++level;
        page = it->second->parent;
    }
    return level;
}

// The next page after `after` whose parent is `page`; 0 when none.
CADAPI int ZAVAPI DAriGetDownNextPage(int page, int after, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db) return 0;
    for (auto it = db->pages.upper_bound(after); it != db->pages.end(); ++it)
        if (it->second->parent == page) return it->first;
    return 0;
}

CADAPI int ZAVAPI DAriGetLayerInfo(int page, LayerTable* table, DbHeader* header) {
    Database* db = Lookup(header);
    DbInfo* info = db ? PageInfo(*db, page) : nullptr;
    if (!info || !table) return 0;
    memcpy(table, &info->layers, sizeof(LayerTable));
    return 1;
}

CADAPI int ZAVAPI DAriSetLayerInfo(int page, const LayerTable* table, DbHeader* header) {
    Database* db = Lookup(header);
    DbInfo* info = db ? PageInfo(*db, page) : nullptr;
    if (!info || !table) return 0;
    std::vector<char*> before = Slots(info->layers);
    memmove(&info->layers, table, sizeof(LayerTable));
    AdoptNames(*db, info->layers, &before);
    return 1;
}

CADAPI int ZAVAPI DAriSetLayerName(int page, int layer, const char* name, DbHeader* header) {
    Database* db = Lookup(header);
    DbInfo* info = db ? PageInfo(*db, page) : nullptr;
    if (!info || !ValidLayer(layer)) return 0;
    char* slot = StoreName(*db, info->layers.names[layer], name);
    if (!slot) return 0;
    info->layers.names[layer] = slot;
    return 1;
}

CADAPI int ZAVAPI DAriGetLayerName(int page, int layer, int, char* buffer, DbHeader* header) {
    if (buffer) buffer[0] = 0;
    Database* db = Lookup(header);
    DbInfo* info = db ? PageInfo(*db, page) : nullptr;
    if (!info || !ValidLayer(layer) || !buffer) return 0;
    const char* name = OwnedName(*db, info->layers.names[layer]);
    if (!name) return 0;
    strcpy(buffer, name);
    return 1;
}

CADAPI int ZAVAPI DAriChkDspElement(int page, int layer, int, int, DbHeader* header) {
    Database* db = Lookup(header);
    if (!db || page < 0 || page > 511) return 0;
    if (!(header->pages.display[page / 32] & (1u << (page % 32)))) return 0;
    DbInfo* info = PageInfo(*db, page);
    if (!info) return 0;
    if (!ValidLayer(layer)) return 1;
    return (info->layers.display[layer / 16] & (1u << (layer % 16))) ? 1 : 0;
}
