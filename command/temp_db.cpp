#include "command/temp_db.h"

#include <cstddef>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "command/drawing_access.h"
#include "command/host_hooks.h"
#include "command/host_objects.h"

using namespace drawing;

namespace {

enum TempDbOp {
    kOpCreate = 1,
    kOpDelete = 2,
    kOpAppend = 3,
    kOpDeleteAll = 4,
    kOpDeleteElement = 5,
    kOpDrawAll = 6,
    kOpRead = 7,
    kOpDrawElement = 8,
    kOpChange = 9,
    kOpOverlays = 100,
};

struct TempDbState {
    DbHeader header{};
    int exists = 0;
    HWND base = nullptr;
};

TempDbState& Temp() {
    static TempDbState s;
    return s;
}

struct OverlayList {
    std::vector<std::pair<DbHeader*, HWND>> entries;
    unsigned char active = 0;
    size_t walk = 0;
};

OverlayList& Overlays() {
    static OverlayList list;
    return list;
}

void DeleteTempDb() {
    TempDbState& t = Temp();
    if (t.exists) DAriDeleteDB(&t.header);
    t.exists = 0;
    t.base = nullptr;
}

// Creating (code 1): the base view is checked first, so that a failed
// creation leaves a temporary database that exists untouched.
int CreateTempDb(HWND baseView) {
    DbHeader* baseDb = ViewDb(baseView);
    if (!baseDb) {
        CmdLog(0, "Error", "仮DB作成時に、基準ウィンドウが見つかりません");
        return 0;
    }
    TempDbState& t = Temp();
    // A second creation replaces the first: nothing is left behind.
    DeleteTempDb();
    std::memset(&t.header, 0, sizeof t.header);
    std::unique_ptr<uint8_t[]> info(new uint8_t[kDbInfoHeadSize]());
    DAriGetDBInfo(info.get(), baseDb);
    if (!DAriCreateDB(&t.header)) {
        CmdLog(0, "Error", "仮DB作成に失敗しました");
        return 0;
    }
    // The preview shows the base drawing's frame view the same way.
    t.header.frame = baseDb->frame;
    DAriSetDBInfo(info.get(), &t.header);
    // The layer names belong to the base drawing, not to the preview.
    if (DbInfo* live = t.header.info) std::memset(live->layers.names, 0, sizeof live->layers.names);
    t.base = baseView;
    t.exists = 1;
    return 1;
}

void DrawInBase(int colour, CadMark* mark) {
    auto& draw = HostHooks().drawMarkInViewsAlt;
    if (draw && mark) draw(Temp().base, colour, mark);
}

LRESULT OverlayRequest(WPARAM a, const CmdRequest* req) {
    OverlayList& list = Overlays();
    auto* db = reinterpret_cast<DbHeader*>(req->element);
    LRESULT result = 0;
    switch (a) {
    case 0:
        list.entries.emplace_back(db, req->view);
        result = static_cast<LRESULT>(list.entries.size());
        break;
    case 1:
        if (list.entries.empty()) return 0;
        for (auto it = list.entries.begin(); it != list.entries.end(); ++it) {
            if (it->first == db) {
                list.entries.erase(it);
                break;
            }
        }
        result = static_cast<LRESULT>(list.entries.size());
        break;
    case 2:
        list.entries.clear();
        result = 1;
        break;
    case 3: list.active = req->element ? 1 : 0; return 1;
    default: return 0;
    }
    list.active = list.entries.empty() ? 0 : 1;
    if (list.walk > list.entries.size()) list.walk = 0;
    return result;
}

}  // namespace

DbHeader* GetTempDb() { return &Temp().header; }
int TempDbExists() { return Temp().exists; }

LRESULT TempDbRequest(WPARAM a, const CmdRequest* req) {
    if (!req) return 0;
    TempDbState& t = Temp();
    const int op = req->w.mode;
    if (op == kOpCreate) return a == 1 ? t.exists : CreateTempDb(req->view);
    if (op == kOpDelete) {
        DeleteTempDb();
        return 1;
    }
    if (op == kOpOverlays) return OverlayRequest(a, req);
    if (op == kOpDrawAll && a == 1) {
        auto& draw = HostHooks().drawMarkInViewsAlt;
        return draw ? draw(req->view, req->arg, Mark(req->mark)) : 0;
    }
    if (op < kOpAppend || op > kOpChange) return 0;
    // Every other operation works on the temporary database: none, nothing.
    if (!t.exists) return 0;
    DbHeader* db = &t.header;
    switch (op) {
    case kOpAppend: {
        if (!req->element) return 0;
        ElementRecord rec;
        std::memcpy(&rec, reinterpret_cast<const void*>(req->element), sizeof rec);
        rec.page = 0;
        return reinterpret_cast<LRESULT>(DAriAppendElement(&rec, db));
    }
    case kOpDeleteAll: return DAriAllDeleteElement(db);
    case kOpDeleteElement: return DAriDeleteElement(Element(req->element), db);
    case kOpDrawAll: {
        CadMark* mark = DAriCreateMark(db);
        if (!mark) return 0;
        for (StoredElement* e = DAriReadElement(nullptr, 0, nullptr, db); e; e = DAriReadElement(e, 1, nullptr, db))
            DAriSetMark(e, mark);
        DrawInBase(req->arg, mark);
        DAriDestroyMark(mark);
        return 1;
    }
    case kOpRead:
        return reinterpret_cast<LRESULT>(DAriReadElement(Element(req->element), static_cast<int>(req->element2),
                                                         reinterpret_cast<void*>(req->record), db));
    case kOpDrawElement: {
        CadMark* mark = DAriCreateMark(db);
        if (!mark) return 0;
        DAriSetMark(Element(req->element), mark);
        DrawInBase(req->arg, mark);
        DAriDestroyMark(mark);
        return 1;
    }
    case kOpChange: {
        if (!req->record) return 0;
        ElementRecord rec;
        std::memcpy(&rec, reinterpret_cast<const void*>(req->record), sizeof rec);
        rec.page = 0;
        return reinterpret_cast<LRESULT>(DAriChangeElement(Element(req->element), &rec, db));
    }
    default: return 0;
    }
}

int IsTempDbView(DbHeader* db) {
    const TempDbState& t = Temp();
    return (t.exists && t.base && db && ViewDb(t.base) == db) ? 1 : 0;
}

DbHeader* TempDbFindFirst(DbHeader* db) {
    OverlayList& list = Overlays();
    if (!list.active) return nullptr;
    list.walk = 0;
    return TempDbFindNext(db);
}

DbHeader* TempDbFindNext(DbHeader* db) {
    OverlayList& list = Overlays();
    if (!list.active) return nullptr;
    for (size_t i = list.walk; i < list.entries.size(); ++i) {
        if (ViewDb(list.entries[i].second) == db) {
            list.walk = i + 1;
            return list.entries[i].first;
        }
    }
    list.walk = 0;
    return nullptr;
}

LRESULT CCadSysCmd::OnTempDb(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    return TempDbRequest(wParam, reinterpret_cast<const CmdRequest*>(lParam));
}

LRESULT CCadSysCmd::OnGetTempDb(UINT, WPARAM, LPARAM, BOOL&) { return reinterpret_cast<LRESULT>(GetTempDb()); }
