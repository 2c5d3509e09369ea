#include "setup/page_services.h"

#include <cstring>

#include "view/view_data.h"
#include "view/view_table.h"

int GetCurrentPage() {
    DbHeader* db = GetActiveViewDb();
    return db ? db->pages.currentPage : 0;
}

int SetCurrentPage(int page) {
    if (page < 0 || page > 256) return 0;
    DbHeader* db = GetActiveViewDb();
    if (!db) return 0;
    db->pages.currentPage = page;
    return 1;
}

int GetPageState(PageStateBlock* state) {
    DbHeader* db = GetActiveViewDb();
    if (!state || !db) return 0;
    std::memcpy(state, &db->pages, sizeof *state);
    return 1;
}

int SetPageState(const PageStateBlock* state) {
    DbHeader* db = GetActiveViewDb();
    if (!state || !db) return 0;
    std::memcpy(&db->pages, state, sizeof *state);
    return 1;
}

int GetPageDbInfo(int page, DbInfoHead* info) {
    DbHeader* db = GetActiveViewDb();
    DbInfo* live = (db && info) ? DAriGetDbInfoPtr(page, db) : nullptr;
    if (!live) return 0;
    std::memcpy(info, live, sizeof *info);
    return 1;
}

int SetPageDbInfo(int page, const DbInfoHead* info) {
    DbHeader* db = GetActiveViewDb();
    DbInfo* live = (db && info) ? DAriGetDbInfoPtr(page, db) : nullptr;
    if (!live) return 0;
    std::memcpy(live, info, sizeof *info);
    return 1;
}

int AddPageFrom(int, int) { return 0; }
int GetPageAttribute(int) { return 0; }
int GetPagePlacement(int, int*, double*, double*) { return 0; }
int SetPagePlacement(int, const int*, const double*, const double*) { return 0; }
int MarkPageElements(CadMark*, int) { return 0; }

int CountFrameElements(StoredElement** firstElement) {
    if (firstElement) *firstElement = nullptr;
    DbHeader* db = GetActiveViewDb();
    if (!db) return 0;
    int count = 0;
    ElementRecord rec;
    for (StoredElement* e = DAriReadElement(nullptr, 0, &rec, db); e; e = DAriReadElement(e, 1, &rec, db)) {
        if (rec.kind != kElmFrame || rec.page != 0) continue;
        if (count++ == 0 && firstElement) *firstElement = e;
    }
    return count;
}

int DeletePage(int, int) { return 0; }

namespace {
int SwitchActiveViewMode(int mode) {
    HWND view = GetActiveView();
    ViewData* d = GetViewData(view);
    if (!d) return 0;
    d->viewMode = mode;
    d->frameViewWord1 = d->frameViewWord2 = 0;
    if (d->db) d->db->frame.view = 0;
    ::InvalidateRect(view, nullptr, TRUE);
    return 1;
}
}  // namespace

int ShowPaperSpace() { return SwitchActiveViewMode(1); }
int ShowModelSpace() { return SwitchActiveViewMode(0); }
int ShowFrameView(const void*) { return 0; }

int UpdateFrameViewFlag(HWND window) {
    if (!window) window = GetActiveView();
    ViewData* d = GetViewData(window);
    if (!d) return 0;
    if (d->db) d->db->frame.view = d->viewMode == 2 ? 1 : 0;
    return 1;
}

int FreePageEditRecords() { return 0; }
