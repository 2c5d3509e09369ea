#include "setup/page_edit_records.h"

#include <cmath>
#include <cstring>
#include <memory>

#include "base/dbcs.h"
#include "command/command_system.h"
#include "command/drawing_access.h"
#include "command/executor.h"
#include "command/host_hooks.h"
#include "command/host_messages.h"
#include "command/transform_services.h"
#include "command/undo_services.h"
#include "panels/panel_windows.h"
#include "setup/page_services.h"
#include "view/drawing_state.h"
#include "view/view_table.h"

namespace {

std::vector<std::unique_ptr<PageEditRecord>> g_records;

constexpr int kMaxPage = 256;

const char* InfoText(const DbInfo* info, uint32_t offset) { return reinterpret_cast<const char*>(info) + offset; }
char* InfoText(DbInfo* info, uint32_t offset) { return reinterpret_cast<char*>(info) + offset; }

// Texts, sizes, scale and code of a drawing-information head into a record.
void RecordFromInfo(PageEditRecord* r, const DbInfo* info, bool withFileName) {
    if (withFileName) DbcsCopy(r->fileName, sizeof r->fileName, info->extFileName);
    std::memcpy(r->shortText, info->shortText, sizeof r->shortText);
    r->shortText[sizeof r->shortText - 1] = '\0';
    DbcsCopy(r->title, sizeof r->title, InfoText(info, kInfoTitle));
    DbcsCopy(r->author, sizeof r->author, InfoText(info, kInfoAuthor));
    DbcsCopy(r->remarks, sizeof r->remarks, InfoText(info, kInfoRemarks));
    r->drawW = CadGetF64(info, kInfoDrawW);
    r->drawH = CadGetF64(info, kInfoDrawH);
    r->paperWmm = CadGetF64(info, kInfoPaperWmm);
    r->paperHmm = CadGetF64(info, kInfoPaperHmm);
    r->scale = CadGetF64(info, kInfoScale);
    r->paperCode = info->paperCode;
}

void RecordToInfo(const PageEditRecord& r, DbInfo* info, bool withFileName) {
    if (withFileName) DbcsCopy(info->extFileName, sizeof info->extFileName, r.fileName);
    std::memcpy(info->shortText, r.shortText, sizeof info->shortText);
    DbcsCopy(InfoText(info, kInfoTitle), 257, r.title);
    DbcsCopy(InfoText(info, kInfoAuthor), 257, r.author);
    DbcsCopy(InfoText(info, kInfoRemarks), 257, r.remarks);
    CadSetF64(info, kInfoDrawW, r.drawW);
    CadSetF64(info, kInfoDrawH, r.drawH);
    CadSetF64(info, kInfoPaperWmm, r.paperWmm);
    CadSetF64(info, kInfoPaperHmm, r.paperHmm);
    CadSetF64(info, kInfoScale, r.scale);
    info->paperCode = r.paperCode;
}

unsigned char PageStateFlags(int page) {
    unsigned char flags = 0;
    if (IsPageDisplayed(page)) flags |= kPageFlagDisplay;
    if (IsPageDetectable(page)) flags |= kPageFlagDetect;
    return flags;
}

// A record of a further page from its library record.
void RecordFromPage(PageEditRecord* r, const PageRecord& rec) {
    const DbInfo& info = rec.info;
    r->page = rec.number;
    r->parent = rec.parent;
    r->kind = rec.kind;
    r->factorX = CadGetF64(&info, kInfoPlaceFactorX);
    const bool separate = info.placement[kInfoPlaceSeparate - offsetof(DbInfo, placement)] != 0;
    r->factorY = separate ? CadGetF64(&info, kInfoPlaceFactorY) : r->factorX;
    r->angle = CadGetF64(&info, kInfoPlaceAngle);
    std::memcpy(r->origin, reinterpret_cast<const unsigned char*>(&info) + kInfoPlaceOrigin, sizeof r->origin);
    RecordFromInfo(r, &info, rec.externalRef == 1);
    if (rec.externalRef == 1) r->flags |= kPageFlagExternalRef;
    r->flags |= PageStateFlags(rec.number);
    r->action = kPageActionKeep;
}

// Walks the drawing's pages after page 0 in library order.
template <class Fn>
void ForEachFurtherPage(DbHeader* db, Fn fn) {
    std::unique_ptr<PageRecord> rec(new PageRecord());
    int page = 0;
    for (int guard = 0; guard < kMaxPage; ++guard) {
        std::memset(rec.get(), 0, sizeof(PageRecord));
        page = DAriGetNextPage(page, rec.get(), db);
        if (page <= 0) break;
        fn(*rec);
    }
}

PageEditRecord* FindRecordOfPage(int page) {
    for (auto& r : g_records)
        if (r->page == page) return r.get();
    return nullptr;
}

void PutPlacement(unsigned char* image, const PageEditRecord& r) {
    CadSetF64(image, kInfoPlaceFactorX, r.factorX);
    CadSetF64(image, kInfoPlaceFactorY, r.factorY);
    CadSetF64(image, kInfoPlaceAngle, r.angle);
    CadSetF64(image, kInfoPlaceCos, std::cos(r.angle));
    CadSetF64(image, kInfoPlaceSin, std::sin(r.angle));
    std::memset(image + 106151, 0, 16);
    std::memcpy(image + kInfoPlaceOrigin, r.origin, sizeof r.origin);
    image[kInfoPlaceSeparate] = std::fabs(r.factorX - r.factorY) > 1e-12 ? 1 : 0;
}

// The composed copy: the page's own placement combined with its ancestors'
// (factors multiply, origins add, angles add).
void ComposePlacement(unsigned char* image, const PageEditRecord& r) {
    const uint32_t bytes = kInfoPlaceComposed - kInfoPlaceFactorX;
    std::memcpy(image + kInfoPlaceComposed, image + kInfoPlaceFactorX, bytes);
    image[kInfoPlaceComposed + bytes] = image[kInfoPlaceSeparate];
    unsigned char* composed = image + kInfoPlaceComposed - kInfoPlaceFactorX;
    double factor = r.factorX, angle = r.angle, x = 0, y = 0;
    std::memcpy(&x, r.origin, 8);
    std::memcpy(&y, r.origin + 8, 8);
    int parent = r.parent;
    for (int guard = 0; parent > 0 && guard < kMaxPage; ++guard) {
        const PageEditRecord* up = FindRecordOfPage(parent);
        if (!up) break;
        double ux = 0, uy = 0;
        std::memcpy(&ux, up->origin, 8);
        std::memcpy(&uy, up->origin + 8, 8);
        factor *= up->factorX;
        angle += up->angle;
        x += ux;
        y += uy;
        parent = up->parent;
    }
    CadSetF64(composed, kInfoPlaceFactorX, factor);
    CadSetF64(composed, kInfoPlaceAngle, angle);
    CadSetF64(composed, kInfoPlaceOrigin, x);
    CadSetF64(composed, kInfoPlaceOrigin + 8, y);
    CadSetF64(composed, kInfoPlaceCos, std::cos(angle));
    CadSetF64(composed, kInfoPlaceSin, std::sin(angle));
}

void SetPageFlags(int page, unsigned char flags) {
    SetPageDisplayed(page, (flags & kPageFlagDisplay) ? 1 : 0);
    SetPageDetectable(page, (flags & kPageFlagDetect) ? 1 : 0);
}

void ShowElementCount(HWND view) {
    if (!HostHooks().showElementCount) return;
    (void)view;
    HostHooks().showElementCount();
}

// A normal page from a record: page 0's layer structure, the record's texts.
void MakeNormalPage(const PageEditRecord& r, DbHeader* db) {
    AddPageFrom(r.page, 0);
    DbInfoHead head;
    std::memset(&head, 0, sizeof head);
    GetPageDbInfo(r.page, &head);
    PageEditRecord withoutFile = r;
    withoutFile.fileName[0] = '\0';
    RecordToInfo(withoutFile, head.Info(), true);
    SetPageDbInfo(r.page, &head);
    DbInfo* first = DAriGetDbInfoPtr(0, db);
    DbInfo* made = DAriGetDbInfoPtr(r.page, db);
    if (!first || !made) return;
    std::memcpy(made->layers.display, first->layers.display, sizeof made->layers.display);
    std::memcpy(made->layers.detect, first->layers.detect, sizeof made->layers.detect);
    std::memcpy(made->layers.groupNames, first->layers.groupNames, sizeof made->layers.groupNames);
    for (int layer = 0; layer < kLayerCount; ++layer)
        if (first->layers.names[layer] && first->layers.names[layer][0])
            DAriSetLayerName(r.page, layer, first->layers.names[layer], db);
}

// An external-reference page: placed on its parent, showing the elements of
// the referenced drawing.
void MakeExternalRefPage(const PageEditRecord& r, DbHeader* db) {
    AddPageFrom(r.page, r.parent);
    std::unique_ptr<PageRecord> rec(new PageRecord());
    if (!DAriGetPage(r.page, rec.get(), db)) return;
    unsigned char* image = reinterpret_cast<unsigned char*>(&rec->info);
    PutPlacement(image, r);
    ComposePlacement(image, r);
    rec->externalRef = 1;
    DAriChgPage(r.page, rec.get(), db);
    auto& load = HostHooks().loadFileToTempDb;
    if (!load) return;
    DbInfoHead head;
    std::unique_ptr<LayerTable> layers(new LayerTable());
    std::memset(&head, 0, sizeof head);
    if (!load(GetActiveView(), r.fileName, &head, layers.get())) return;
    if (DbInfo* first = DAriGetDbInfoPtr(0, db)) {
        std::memcpy(head.bytes + kInfoDrawW, reinterpret_cast<const unsigned char*>(first) + kInfoDrawW, 40);
        head.Info()->paperCode = first->paperCode;
    }
    DbcsCopy(head.Info()->extFileName, sizeof head.Info()->extFileName, r.fileName);
    SetPageDbInfo(r.page, &head);
    DAriSetLayerInfo(r.page, layers.get(), db);
    if (CadMark* mark = reinterpret_cast<CadMark*>(static_cast<uintptr_t>(TakeImportMark()))) {
        TransformParams identity = {};
        identity.t[0] = 1.0;
        identity.t[1] = identity.t[4] = 1.0;
        identity.t[9] = identity.t[10] = 1.0;
        SetTransformParams(1, &identity);
        DAriSetTransFg(0);
        CadMark* copies = CopyMarkedToLayer(mark, -1, r.page, -1);
        DAriSetTransFg(1);
        if (copies) DAriDestroyMark(copies);
        DAriDestroyMark(mark);
    }
}

}  // namespace

PageEditRecord* PageEditRecordAt(int index) {
    if (index < 0) return nullptr;
    for (auto& r : g_records)
        if (r->key == index) return r.get();
    g_records.emplace_back(new PageEditRecord());
    g_records.back()->key = index;
    return g_records.back().get();
}

int PageEditRecordCount() { return static_cast<int>(g_records.size()); }

int FreePageEditRecords() {
    const int had = g_records.empty() ? 0 : 1;
    g_records.clear();
    return had;
}

void ComputePageEditLevels(bool managerForm) {
    for (size_t i = 0; i < g_records.size(); ++i) {
        PageEditRecord& r = *g_records[i];
        if (!managerForm && i == 0) {
            r.level = 0;
            continue;
        }
        int level = 1;
        int parent = r.parent;
        for (int guard = 0; parent != 0 && guard < kMaxPage; ++guard) {
            ++level;
            const PageEditRecord* up = FindRecordOfPage(parent);
            if (!up) break;  // a parent without a record ends the chain
            parent = up->parent;
        }
        r.level = managerForm ? level - 1 : level;
    }
}

int PageStateIconIndex(unsigned char flags) {
    const bool display = flags & kPageFlagDisplay, detect = flags & kPageFlagDetect;
    if (display && detect) return 2;
    return display ? 1 : 0;
}

unsigned char TogglePageStateFlags(unsigned char flags, int button) {
    const unsigned char both = kPageFlagDisplay | kPageFlagDetect;
    const unsigned char state = flags & both;
    const unsigned char rest = flags & ~both;
    if (button == 0) return rest | (state == both ? 0 : both);
    return rest | (state == kPageFlagDisplay ? 0 : kPageFlagDisplay);
}

int PageTreeZone(int x, int level) {
    const int l = 29 * level;
    if (x >= 0 && x <= l - 30) return 0;
    if (x >= l - 29 && x <= l - 13) return 1;
    if (x >= l) return 2;
    return -1;
}

int FirstFreePageNumber() {
    for (int page = 1; page <= kMaxPage; ++page)
        if (!FindRecordOfPage(page)) return page;
    return 0;
}

std::vector<int> DeletePageEditRecords(const std::vector<int>& selected) {
    for (int index : selected) {
        if (index < 0 || index >= static_cast<int>(g_records.size())) continue;
        const int level = g_records[index]->level;
        g_records[index]->action = kPageActionDone;
        // Its own subtree: the records right behind it that lie deeper.
        for (size_t i = index + 1; i < g_records.size() && g_records[i]->level > level; ++i)
            g_records[i]->action = kPageActionDone;
    }
    std::vector<int> removed;
    for (int i = static_cast<int>(g_records.size()) - 1; i >= 0; --i) {
        if (g_records[i]->action != kPageActionDone) continue;
        g_records.erase(g_records.begin() + i);
        for (size_t k = i; k < g_records.size(); ++k)
            g_records[k]->key = static_cast<int>(k);
        removed.push_back(i);
    }
    return removed;
}

PageEditRecord* AppendNewPageRecord(const PageEditRecord& source) {
    const int page = FirstFreePageNumber();
    if (page == 0) return nullptr;
    PageEditRecord* r = PageEditRecordAt(PageEditRecordCount());
    const int key = r->key;
    *r = source;
    r->key = key;
    r->page = page;
    DbcsCopy(r->shortText, sizeof r->shortText, "CW2");
    r->action = kPageActionAdd;
    r->flags |= kPageFlagDetect;
    return r;
}

std::vector<PageAppendStep> PlanPageAppend(const std::vector<int>& existing) {
    std::vector<PageAppendStep> steps;
    std::vector<bool> made(g_records.size(), false);
    for (int page : existing) {
        if (page <= 0) continue;
        const PageEditRecord* r = FindRecordOfPage(page);
        if (!r) {
            steps.push_back({PageAppendStep::DeletePage, page, -1});
        } else if (r->action == kPageActionAdd) {
            steps.push_back({PageAppendStep::DeletePage, page, -1});
            steps.push_back({PageAppendStep::AddPage, page, r->key});
            made[r->key] = true;
        }
    }
    for (size_t i = 0; i < g_records.size(); ++i)
        if (g_records[i]->action == kPageActionAdd && !made[i])
            steps.push_back({PageAppendStep::AddPage, g_records[i]->page, static_cast<int>(i)});
    return steps;
}

int BuildPageEditRecords() {
    FreePageEditRecords();
    DbHeader* db = GetActiveViewDb();
    DbInfo* first = db ? DAriGetDbInfoPtr(0, db) : nullptr;
    if (!first) return 0;
    PageEditRecord* r0 = PageEditRecordAt(0);
    r0->factorX = r0->factorY = 1.0;
    RecordFromInfo(r0, first, true);
    r0->flags = PageStateFlags(0);
    ForEachFurtherPage(db, [](const PageRecord& rec) { RecordFromPage(PageEditRecordAt(PageEditRecordCount()), rec); });
    ComputePageEditLevels(false);
    return PageEditRecordCount();
}

int BuildPageAppendRecords() {
    FreePageEditRecords();
    DbHeader* db = GetActiveViewDb();
    if (!db) return 0;
    ForEachFurtherPage(db, [](const PageRecord& rec) { RecordFromPage(PageEditRecordAt(PageEditRecordCount()), rec); });
    ComputePageEditLevels(true);
    return PageEditRecordCount();
}

int ApplyPageEditRecords() {
    HWND view = GetActiveView();
    DbHeader* db = GetViewDb(view);
    if (!db || g_records.empty()) return 0;
    const PageEditRecord& r0 = *g_records[0];
    if (DbInfo* first = DAriGetDbInfoPtr(0, db)) RecordToInfo(r0, first, true);
    SetPageFlags(0, r0.flags);
    std::unique_ptr<PageRecord> rec(new PageRecord());
    for (size_t i = 1; i < g_records.size(); ++i) {
        const PageEditRecord& r = *g_records[i];
        std::memset(rec.get(), 0, sizeof(PageRecord));
        if (!DAriGetPage(r.page, rec.get(), db)) continue;
        unsigned char* image = reinterpret_cast<unsigned char*>(&rec->info);
        PutPlacement(image, r);
        ComposePlacement(image, r);
        RecordToInfo(r, &rec->info, false);
        DAriChgPage(r.page, rec.get(), db);
        SetPageFlags(r.page, r.flags);
    }
    drawing::MarkModified(view);
    if (HWND main = CmdMainFrame()) ::SendMessageA(main, UM_REDRAW_VIEW, 0, 0);
    UpdateToolPanelPaperActive();
    return 1;
}

int ApplyPageAppendRecords() {
    HWND view = GetActiveView();
    DbHeader* db = GetViewDb(view);
    if (!db) return 0;
    std::vector<int> existing;
    ForEachFurtherPage(db, [&](const PageRecord& rec) { existing.push_back(rec.number); });
    const std::vector<PageAppendStep> steps = PlanPageAppend(existing);
    for (const PageAppendStep& s : steps) {
        if (s.kind == PageAppendStep::DeletePage) {
            DeletePage(s.page, 2);
            continue;
        }
        PageEditRecord* r = PageEditRecordAt(s.record);
        if (r->flags & kPageFlagExternalRef)
            MakeExternalRefPage(*r, db);
        else
            MakeNormalPage(*r, db);
        r->action = kPageActionDone;
        ShowElementCount(view);
    }
    if (!steps.empty()) {
        drawing::MarkModified(view);
        if (HWND main = CmdMainFrame()) ::SendMessageA(main, UM_REDRAW_VIEW, 0, 0);
    }
    return static_cast<int>(steps.size());
}
