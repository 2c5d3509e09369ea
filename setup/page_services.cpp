#include "setup/page_services.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "base/paper_sizes.h"
#include "base/running_settings.h"
#include "base/text_utils.h"
#include "command/command_system.h"
#include "command/drawing_access.h"
#include "command/element_services.h"
#include "command/host_messages.h"
#include "view/view_data.h"
#include "view/view_table.h"

using drawing::MarkModified;

namespace {

// Frame element fields (kind 60) beyond the two corners.
constexpr uint32_t kFrameScale = 81;
constexpr uint32_t kFrameAngle = 97;
constexpr uint32_t kFrameOriginX = 105;
constexpr uint32_t kFrameOriginY = 113;
// The placement block that the composed copy repeats (factors to the
// separate-factor flag).
constexpr uint32_t kPlacementBytes = kInfoPlaceComposed - kInfoPlaceFactorX;

// The services share one page-record buffer, as the library exchanges
// pages by copy; 106 kB is too much for the stack of a nested loop.
PageRecord& PageBuffer() {
    static std::unique_ptr<PageRecord> buffer(new PageRecord());
    return *buffer;
}

// The active drawing's view data and header (the dialogs reuse the last
// ones looked up).
struct ActiveDrawing {
    HWND view = nullptr;
    ViewData* data = nullptr;
    DbHeader* db = nullptr;
};
ActiveDrawing g_lastDrawing;

bool LookUpActive(ActiveDrawing* out) {
    ActiveDrawing d;
    d.view = GetActiveView();
    d.data = d.view ? GetViewData(d.view) : nullptr;
    d.db = d.data ? d.data->db : nullptr;
    if (!d.db) return false;
    g_lastDrawing = d;
    *out = d;
    return true;
}

unsigned char* InfoBytes(DbInfo* info) { return reinterpret_cast<unsigned char*>(info); }

bool PageBit(const uint32_t* words, int page) {
    if (page < 0 || page >= 512) return false;
    return (words[page / 32] >> (page % 32)) & 1u;
}

void SetPageBit(uint32_t* words, int page, bool on) {
    if (page < 0 || page >= 512) return;
    const uint32_t bit = 1u << (page % 32);
    if (on)
        words[page / 32] |= bit;
    else
        words[page / 32] &= ~bit;
}

// Reads a page's record into the shared buffer; false when it is missing.
bool ReadPageRecord(int page, DbHeader* db) {
    std::memset(&PageBuffer(), 0, sizeof(PageRecord));
    return DAriGetPage(page, &PageBuffer(), db) != 0;
}

void RedrawActive() {
    if (HWND frame = CmdMainFrame()) ::SendMessageA(frame, UM_REDRAW_VIEW, 0, 0);
}

int SwitchActiveViewMode(int mode) {
    ActiveDrawing d;
    if (!LookUpActive(&d)) return 0;
    d.db->frame.view = 0;
    d.data->viewMode = mode;
    d.data->frameViewWord1 = d.data->frameViewWord2 = 0;
    RedrawActive();
    return 1;
}

// Whether an element lies on the page; a group by its first member that is
// not itself a group.
bool ElementOnPage(StoredElement* e, const ElementRecord& rec, int page, DbHeader* db) {
    if (rec.kind != kElmGroup && rec.kind != kElmGroup2) return rec.page == page;
    ElementRecord member;
    for (StoredElement* m = DAriReadFirstMember(e, &member, db); m; m = DAriReadNextMember(m, &member, db))
        if (member.kind != kElmGroup && member.kind != kElmGroup2) return member.page == page;
    return false;
}

}  // namespace

int GetCurrentPage() {
    ActiveDrawing d;
    return LookUpActive(&d) ? d.db->pages.currentPage : 0;
}

int SetCurrentPage(int page) {
    ActiveDrawing d;
    if (!LookUpActive(&d) || static_cast<unsigned>(page) > 256) return 0;
    d.db->pages.currentPage = page;
    return 1;
}

int GetPageState(PageStateBlock* state) {
    ActiveDrawing d;
    if (!state || !LookUpActive(&d)) return 0;
    std::memcpy(state, &d.db->pages, sizeof *state);
    return 1;
}

int SetPageState(const PageStateBlock* state) {
    ActiveDrawing d;
    if (!state || !LookUpActive(&d)) return 0;
    std::memcpy(&d.db->pages, state, sizeof *state);
    return 1;
}

int IsPageDisplayed(int page) {
    ActiveDrawing d;
    return LookUpActive(&d) && PageBit(d.db->pages.display, page) ? 1 : 0;
}

int SetPageDisplayed(int page, int on) {
    ActiveDrawing d;
    if (!LookUpActive(&d)) return 0;
    SetPageBit(d.db->pages.display, page, on == 1);
    return 1;
}

int IsPageDetectable(int page) {
    ActiveDrawing d;
    return LookUpActive(&d) && PageBit(d.db->pages.detect, page) ? 1 : 0;
}

int SetPageDetectable(int page, int on) {
    ActiveDrawing d;
    if (!LookUpActive(&d)) return 0;
    SetPageBit(d.db->pages.detect, page, on == 1);
    return 1;
}

int AddPageFrom(int page, int sourcePage) {
    ActiveDrawing d;
    if (!LookUpActive(&d)) return 0;
    PageRecord& r = PageBuffer();
    std::memset(&r, 0, sizeof r);
    r.modified = 0;
    r.parent = sourcePage;
    r.number = page;
    unsigned char* image = InfoBytes(&r.info);
    CadSetF64(image, kInfoPlaceFactorX, 1.0);
    CadSetF64(image, kInfoPlaceFactorY, 1.0);
    CadSetF64(image, kInfoPlaceAngle, 0.0);
    CadSetF64(image, kInfoPlaceCos, 1.0);
    CadSetF64(image, kInfoPlaceSin, 0.0);
    std::memcpy(image + kInfoPlaceComposed, image + kInfoPlaceFactorX, kPlacementBytes);
    // The paper of the first row, at scale 1.
    const PaperSizeRow& paper = PaperSizeTable[0];
    CadSetF64(image, kInfoDrawW, paper.width);
    CadSetF64(image, kInfoDrawH, paper.height);
    CadSetF64(image, kInfoPaperWmm, paper.width);
    CadSetF64(image, kInfoPaperHmm, paper.height);
    CadSetF64(image, kInfoScale, 1.0);
    r.info.paperCode = paper.code;
    r.info.layers.display[0] |= 1u;
    r.info.layers.detect[0] |= 1u;
    if (!DAriAddPage(page, &r, d.db)) return 0;

    DbInfo* source = DAriGetDbInfoPtr(sourcePage, d.db);
    if (source && ReadPageRecord(page, d.db)) {
        DbInfo& target = PageBuffer().info;
        std::memcpy(InfoBytes(&target), InfoBytes(source), kDbInfoHeadSize);
        std::memcpy(InfoBytes(&target) + kDbInfoHeadSize, InfoBytes(source) + kDbInfoHeadSize, 84);
        target.word4307 = source->word4307;
        std::memcpy(target.lineTypes, source->lineTypes, sizeof target.lineTypes);
        std::memcpy(target.colours, source->colours, sizeof target.colours);
        std::memcpy(target.widths, source->widths, sizeof target.widths);
        DAriChgPage(page, &PageBuffer(), d.db);
    }
    SetPageBit(d.db->pages.display, page, true);
    SetPageBit(d.db->pages.detect, page, true);
    return 1;
}

// A missing page answers 0 and leaves the buffer alone, so a caller never
// takes stale bytes for the page's head.
int GetPageDbInfo(int page, DbInfoHead* info) {
    ActiveDrawing d;
    if (!info || !LookUpActive(&d)) return 0;
    if (page == 0) {
        if (!d.db->info) return 0;
        std::memcpy(info->bytes, d.db->info, sizeof info->bytes);
        return 1;
    }
    PageRecord* live = DAriGetPtPage(page, d.db);
    if (!live) return 0;
    std::memcpy(info->bytes, &live->info, sizeof info->bytes);
    return 1;
}

int SetPageDbInfo(int page, const DbInfoHead* info) {
    ActiveDrawing d;
    if (!info || !LookUpActive(&d)) return 0;
    if (page == 0) {
        if (!d.db->info) return 0;
        std::memcpy(d.db->info, info->bytes, sizeof info->bytes);
        return 1;
    }
    if (!ReadPageRecord(page, d.db)) return 0;
    PageRecord& r = PageBuffer();
    std::memcpy(&r.info, info->bytes, sizeof info->bytes);
    r.externalRef = info->Info()->extFileName[0] ? 1 : 0;
    std::memcpy(r.info.placement, info->Info()->shortText, 5);
    return DAriChgPage(page, &r, d.db) ? 1 : 0;
}

int GetPageAttribute(int page) {
    ActiveDrawing d;
    if (page == 0 || !LookUpActive(&d)) return 0;
    return ReadPageRecord(page, d.db) ? PageBuffer().attribute : 0;
}

int GetPagePlacement(int page, int* values6, double* scale, double* angle) {
    ActiveDrawing d;
    if (!LookUpActive(&d)) return 0;
    unsigned char origin[24] = {};
    double s = 1.0, a = 0.0;
    if (page == 0) {
        if (d.db->frame.view == 1) {
            std::memcpy(origin, d.db->frame.x, sizeof origin);
            s = CadGetF64(d.db->frame.scale, 0);
            a = CadGetF64(d.db->frame.angle, 0);
        }
    } else {
        if (!ReadPageRecord(page, d.db)) return 0;
        const unsigned char* image = InfoBytes(&PageBuffer().info);
        std::memcpy(origin, image + kInfoPlaceOrigin, sizeof origin);
        s = CadGetF64(image, kInfoPlaceFactorX);
        a = CadGetF64(image, kInfoPlaceAngle);
    }
    if (values6) std::memcpy(values6, origin, sizeof origin);
    if (scale) *scale = s;
    if (angle) *angle = a;
    return 1;
}

int SetPagePlacement(int page, const int* values6, const double* scale, const double* angle) {
    ActiveDrawing d;
    if (!LookUpActive(&d)) return 0;
    if (page == 0) {
        d.db->frame.view = 1;
        if (values6) std::memcpy(d.db->frame.x, values6, 24);
        if (scale) CadSetF64(d.db->frame.scale, 0, *scale);
        if (angle) CadSetF64(d.db->frame.angle, 0, *angle);
        return 1;
    }
    if (!ReadPageRecord(page, d.db)) return 0;
    unsigned char* image = InfoBytes(&PageBuffer().info);
    if (values6) std::memcpy(image + kInfoPlaceOrigin, values6, 24);
    if (scale) CadSetF64(image, kInfoPlaceFactorX, *scale);
    if (angle) CadSetF64(image, kInfoPlaceAngle, *angle);
    return DAriChgPage(page, &PageBuffer(), d.db) ? 1 : 0;
}

int GetPageTitle(int page, char* title257) {
    ActiveDrawing d;
    if (!title257 || !LookUpActive(&d)) return 0;
    const DbInfo* info = nullptr;
    if (page == 0)
        info = d.db->info;
    else if (PageRecord* live = DAriGetPtPage(page, d.db))
        info = &live->info;
    if (!info) return 0;
    std::memcpy(title257, reinterpret_cast<const unsigned char*>(info) + kInfoTitle, 257);
    return 1;
}

int MarkPageElements(CadMark* mark, int page) {
    ActiveDrawing d;
    if (!mark || !LookUpActive(&d)) return 0;
    int count = 0;
    ElementRecord rec;
    for (StoredElement* e = DAriReadElement(nullptr, 0, &rec, d.db); e; e = DAriReadElement(e, 1, &rec, d.db)) {
        if (!ElementOnPage(e, rec, page, d.db)) continue;
        DAriSetMark(e, mark);
        ++count;
    }
    return count;
}

int CountFrameElements(StoredElement** firstElement) {
    if (firstElement) *firstElement = nullptr;
    ActiveDrawing d;
    if (!LookUpActive(&d)) return 0;
    int count = 0;
    ElementRecord rec;
    for (StoredElement* e = DAriReadElement(nullptr, 0, &rec, d.db); e; e = DAriReadElement(e, 1, &rec, d.db)) {
        if (rec.kind != kElmFrame || rec.page != 0) continue;
        if (count++ == 0 && firstElement) *firstElement = e;
    }
    return count;
}

// The page goes only when all its elements went: a page removed over
// elements that stayed (a locked page) would leave them without a page.
int DeletePage(int page, int) {
    ActiveDrawing d;
    if (!LookUpActive(&d) || page <= 0) return 0;
    CadMark* mark = DAriCreateMark(d.db);
    if (!mark) return 0;
    const int marked = MarkPageElements(mark, page);
    const int deleted = marked ? DeleteMarkedElements(mark) : 1;
    DAriDestroyMark(mark);
    if (!deleted) return 0;
    const int result = DAriDelPage(page, d.db) ? 1 : 0;
    SetPageBit(d.db->pages.display, page, false);
    SetPageBit(d.db->pages.detect, page, false);
    MarkModified(d.view);
    return result;
}

int ShowPaperSpace() { return SwitchActiveViewMode(1); }
int ShowModelSpace() { return SwitchActiveViewMode(0); }

int ShowFrameView(const void* frameElement) {
    ActiveDrawing d;
    if (!LookUpActive(&d) || !frameElement) return 0;
    d.db->frame.view = 0;
    ElementRecord rec;
    if (!DAriReadElement(const_cast<StoredElement*>(static_cast<const StoredElement*>(frameElement)), 4, &rec, d.db))
        return 0;
    RECT client = {0, 0, 0, 0};
    ::GetClientRect(d.view, &client);
    const int margin = Running().bScTestBtn ? 60 : 20;
    const double availW = (client.right - client.left) - margin;
    const double availH = (client.bottom - client.top) - margin;

    double dx = std::fabs(CadGetF64(&rec, kOffP1X) - CadGetF64(&rec, kOffP2X));
    double dy = std::fabs(CadGetF64(&rec, kOffP1Y) - CadGetF64(&rec, kOffP2Y));
    if (dx == 0 || dy == 0) dx = dy = 1;

    const double scale = CadGetF64(&rec, kFrameScale);
    const double angle = CadGetF64(&rec, kFrameAngle);
    double offX = -(scale * CadGetF64(&rec, kFrameOriginX));
    double offY = -(CadGetF64(&rec, kFrameOriginY) * scale);
    const DbInfo* page0 = d.db->info;
    const bool atCorner = page0 && page0->originAtCorner;
    double halfW = 0, halfH = 0;
    if (atCorner) {
        halfW = CadGetF64(page0, kInfoDrawW) / 2;
        halfH = CadGetF64(page0, kInfoDrawH) / 2;
        offX += halfW;
        offY += halfH;
    }
    DbFrame& f = d.db->frame;
    f.view = 1;
    CadSetF64(f.angle, 0, angle);
    CadSetF64(f.cos, 0, std::cos(angle));
    CadSetF64(f.sin, 0, std::sin(angle));
    CadSetF64(f.x, 0, offX);
    CadSetF64(f.y, 0, offY);
    CadSetF64(f.scale, 0, Running().VIEWSCALEFIX ? 1.0 : scale);

    const double fit = std::min(availW / dx, availH / dy);
    auto place = [&](ViewData* v) {
        v->frameOffsetX = atCorner ? -halfW : 0;
        v->frameOffsetY = atCorner ? -halfH : 0;
        v->frameScale = fit;
        v->frameViewWord1 = v->frameViewWord2 = 0;
    };
    place(d.data);
    d.data->viewMode = 2;
    ::InvalidateRect(d.view, nullptr, FALSE);
    if (d.data->shared) {
        for (HWND v = GetActiveView(); v; v = GetNextView(v)) {
            ViewData* other = GetViewData(v);
            if (v == d.view || !other || other->drawingId != d.data->drawingId || other->viewMode != 2) continue;
            place(other);
            ::InvalidateRect(v, nullptr, FALSE);
            ::UpdateWindow(v);
        }
    }
    return 1;
}

int UpdateFrameViewFlag(HWND window) {
    if (!window) window = GetActiveView();
    if (!window) return 0;
    char cls[32] = "";
    ::GetClassNameA(window, cls, sizeof cls);
    if (std::strcmp(cls, "CadwinView") != 0) return 0;
    ViewData* d = GetViewData(window);
    if (!d || !d->db) return 0;
    d->db->frame.view = (d->viewMode != 0 && d->viewMode != 1) ? 1 : 0;
    return 1;
}

double EvalNumberText(const char* text) {
    CSimpleCalc calc;
    return calc.Evaluate(text ? text : "");
}

