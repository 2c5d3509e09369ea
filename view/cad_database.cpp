#include "view/view_data.h"

#include "view/db_ext.h"

namespace {

void ResetRecord(ViewData& d) { std::memset(&d, 0, sizeof d); }

int InRangeOr(int value, int low, int high, int fallback) { return (value < low || value > high) ? fallback : value; }

}  // namespace

CCadDatabase::CCadDatabase() { ResetRecord(m_data); }

CCadDatabase::~CCadDatabase() {
    // Another window still shows this drawing: its database stays alive.
    if (!m_data.shared) Delete();
}

int CCadDatabase::Create(const int* drawingIdCounter, const int* undoLevel, const void* marginRecord,
                         const int* attributeDefaults) {
    ViewData& d = m_data;
    d.overviewFirstGroup = 0;
    d.viewMode = 0;
    d.frameViewWord1 = d.frameViewWord2 = 0;
    d.lastClientWidth = d.lastClientHeight = 0;
    d.shared = 0;
    d.readOnly = 0;
    d.fileLocked = 0;
    d.lockHandle = nullptr;
    d.drawingEvent = 0;
    d.displayMode = d.reserved867 = 0;
    d.modelOffsetX = d.modelOffsetY = 0.0;
    d.modelScale = 1.0;
    d.paperOffsetX = d.paperOffsetY = 0.0;
    d.paperScale = 1.0;
    d.frameOffsetX = d.frameOffsetY = 0.0;
    d.frameScale = 1.0;
    d.windowNumber = 1;
    d.reserved731[0] = 0;
    d.untitledNumber = 0;
    if (drawingIdCounter) d.drawingId = *drawingIdCounter;
    d.fileName[0] = '\0';

    if (!attributeDefaults) {
        d.attr.color = 4;
        d.attr.lineType = d.attr.lineWidth = 0;
        d.attr.lineStartKind = d.attr.lineEndKind = 0;
    } else {
        d.attr.color = InRangeOr(attributeDefaults[0], 0, 256, 4);
        d.attr.lineType = InRangeOr(attributeDefaults[1], 0, 31, 0);
        d.attr.lineWidth = InRangeOr(attributeDefaults[2], 0, 15, 0);
        d.attr.lineStartKind = InRangeOr(attributeDefaults[3], 0, 15, 0);
        d.attr.lineEndKind = InRangeOr(attributeDefaults[4], 0, 15, 0);
    }
    for (int i = 0; i < 64; ++i) {
        d.attr.moduleWords1[i] = -1;
        d.attr.moduleWords2[i] = -1;
    }
    if (marginRecord) std::memcpy(d.attr.paperMargin, marginRecord, sizeof d.attr.paperMargin);
    d.modified = 0;

    if (d.dbBlock) Delete();
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kDbHeaderSize);
    if (!block) return 0;
    if (d.db) Delete();
    d.dbBlock = block;
    d.db = static_cast<DbHeader*>(::GlobalLock(block));
    d.dbKind = 3;
    DAriCreateDB(d.db);
    DAriUndoFgSet(d.db, undoLevel ? *undoLevel : 0);
    d.db->pages.display[0] |= 1;
    d.db->pages.detect[0] |= 1;
    return 0;
}

void CCadDatabase::Delete() { DeleteRecordDatabase(m_data); }

void DeleteRecordDatabase(ViewData& d) {
    if (!d.dbBlock || !d.db) return;
    ReleaseDbExtRecord(d.db);
    DAriDeleteDB(d.db);
    ::GlobalUnlock(d.dbBlock);
    ::GlobalFree(d.dbBlock);
    d.dbBlock = nullptr;
    d.db = nullptr;
}

int ShareDrawingOfView(HWND view, HWND source) {
    ViewData* d = GetViewData(view);
    ViewData* s = GetViewData(source);
    if (!d || !s || !s->db || d == s) return 0;
    DeleteRecordDatabase(*d);
    *d = *s;
    d->windowNumber = s->windowNumber + 1;
    d->shared = 1;
    s->shared = 1;
    // The file lock stays with the window that holds it.
    d->fileLocked = 0;
    d->lockHandle = nullptr;
    return 1;
}

ViewData* GetViewData(HWND view) {
    if (!view || !::IsWindow(view)) return nullptr;
    // Only drawing views carry the record in window long 0.
    char cls[32];
    if (!::GetClassNameA(view, cls, sizeof cls) || ::lstrcmpiA(cls, "CadwinView") != 0) return nullptr;
    return reinterpret_cast<ViewData*>(::GetWindowLongPtrA(view, 0));
}
