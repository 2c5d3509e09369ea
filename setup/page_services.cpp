#include "setup/page_services.h"

#include <cstring>

#include "view/db_ext.h"
#include "view/view_data.h"
#include "view/view_table.h"

namespace {
int ReadCurrentPage(void* db) {
    int32_t page;
    std::memcpy(&page, static_cast<char*>(db) + kDbHeaderCurrentPage, sizeof page);
    return page;
}
}  // namespace

int GetCurrentPage() {
    void* db = GetActiveViewDb();
    return db ? ReadCurrentPage(db) : 0;
}

int SetCurrentPage(int page) {
    if (page < 0 || page > 256) return 0;
    void* db = GetActiveViewDb();
    if (!db) return 0;
    int32_t value = page;
    std::memcpy(static_cast<char*>(db) + kDbHeaderCurrentPage, &value, sizeof value);
    return 1;
}

int GetPageState(PageState* state) {
    if (!state || !GetActiveViewDb()) return 0;
    std::memset(state, 0, sizeof *state);
    std::memset(state->editablePages, 0xFF, sizeof state->editablePages);
    return 1;
}

int SetPageState(const PageState* state) { return (state && GetActiveViewDb()) ? 1 : 0; }

int AddPageFrom(int, int) { return 0; }
int GetPageDbInfo(int, DbInfo*) { return 0; }
int SetPageDbInfo(int, const DbInfo*) { return 0; }
int GetPageAttribute(int) { return 0; }
int GetPagePlacement(int, int*, double*, double*) { return 0; }
int SetPagePlacement(int, const int*, const double*, const double*) { return 0; }
int MarkPageElements(void*, int) { return 0; }

int CountFrameElements(void** firstElement) {
    if (firstElement) *firstElement = nullptr;
    return 0;
}

int DeletePage(int, int) { return 0; }

namespace {
int SwitchActiveViewMode(int mode) {
    ViewData* d = GetViewData(GetActiveView());
    if (!d) return 0;
    d->viewMode = mode;
    d->frameViewWord1 = d->frameViewWord2 = 0;
    ::InvalidateRect(GetActiveView(), nullptr, TRUE);
    return 1;
}
}  // namespace

int ShowPaperSpace() { return SwitchActiveViewMode(1); }
int ShowModelSpace() { return SwitchActiveViewMode(0); }
int ShowFrameView(const void*) { return 0; }

int UpdateFrameViewFlag(HWND window) {
    if (!window) window = GetActiveView();
    return GetViewData(window) ? 1 : 0;
}

int FreePageEditRecords() { return 0; }
