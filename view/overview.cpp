#include "view/overview.h"

#include <cstdio>
#include <cstring>

#include "base/running_settings.h"
#include "base/system_log.h"
#include "command/host_messages.h"
#include "command/wait_loop.h"
#include "panels/panel_windows.h"
#include "view/db_info.h"
#include "view/drawing_state.h"
#include "view/rubber_band.h"
#include "view/view_coords.h"
#include "view/view_data.h"
#include "view/view_paint.h"
#include "view/view_table.h"
#include "view/view_transform.h"

PageUsageTableRecord PageUsageTable;
LayerBits LayerUseScratch[kOverviewPages];
OverviewPickRecord OverviewPick = {0, 0};

namespace {
constexpr const char* kCellClass = "LAY_WND";

// The last collection over all pages: its window and what it found.
HWND g_lastWindow = nullptr;
LayerBits g_lastFound[kOverviewPages];

void SetBit(LayerBits& b, int layer) {
    SetLayerBit(b.words, layer, true);
}
int Bits(const LayerBits& b) {
    int n = 0;
    for (uint16_t w : b.words)
        for (; w; w &= static_cast<uint16_t>(w - 1))
            ++n;
    return n;
}
bool IsLeafKind(int k) { return (k >= 1 && k <= 7) || k == kElmBlock; }

ViewData* DataOfCell(HWND cell) { return GetViewData(::GetParent(cell)); }

// The entry of the overview page (level 2), or null.
const PageUsageEntry* OverviewPageEntry(ViewData* d) {
    for (int i = 0; i < PageUsageTable.count; ++i)
        if (PageUsageTable.entries[i].page == d->overviewPage) return &PageUsageTable.entries[i];
    return nullptr;
}

void SetVerticalRange(HWND view, int n) {
    const int hi = (n > 0 ? n - 1 : 0) / 9 + 1;
    ::SetScrollRange(view, SB_VERT, 1, hi, FALSE);
    ::SetScrollPos(view, SB_VERT, 1, TRUE);
}

void InvalidateCells(HWND view) {
    for (HWND c = GetFirstChildWindow(view); c; c = GetNextChildWindow(c))
        ::InvalidateRect(c, nullptr, TRUE);
}
}  // namespace

int CountPages(ViewData* d) {
    if (!d || !d->db) return 0;
    int n = 1;
    for (int page = 1; page <= 256; ++page)
        if (DAriChkPage(page, d->db)) ++n;
    return n;
}

int CollectUsedLayersOfDb(DbHeader* db, LayerBits* found) {
    if (!db || !found) return 0;
    std::memset(found, 0, sizeof(LayerBits) * kOverviewPages);
    ElementRecord rec;
    for (StoredElement* e = DAriReadElement(nullptr, 0, &rec, db); e; e = DAriReadElement(e, 1, &rec, db)) {
        const int kind = rec.kind;
        if (rec.page < 0 || rec.page > 256) continue;
        if (IsLeafKind(kind) || kind == kElmRaster || kind == kElmFrame) {
            SetBit(found[rec.page], rec.layer);
        } else if (kind == kElmGroup || kind == kElmGroup2 || kind == kElmCompound) {
            ElementRecord m;
            for (StoredElement* s = DAriReadFirstMember(e, &m, db); s; s = DAriReadNextMember(s, &m, db))
                if (IsLeafKind(m.kind) && m.page >= 0 && m.page <= 256) SetBit(found[m.page], m.layer);
        } else if (kind == kElmFigure) {
            if (rec.layer < kOverviewLayers) {
                SetBit(found[rec.page], rec.layer);
            } else if (!DAriGetFgroupHeaderIdx(e, db)) {
                static ElementRecord first;
                if (DAriReadFirstMember(nullptr, &first, db) && IsLeafKind(first.kind) && first.page >= 0 &&
                    first.page <= 256)
                    SetBit(found[first.page], first.layer);
            }
        }
    }
    return 1;
}

int CollectUsedLayersAll(HWND view, LayerBits* scratch) {
    if (!scratch) return 0;
    if (view && view == g_lastWindow) {
        // Asked again for the same window: what the last collection found,
        // never an empty answer that only looks like one.
        for (int p = 0; p < kOverviewPages; ++p)
            for (int w = 0; w < 64; ++w)
                scratch[p].words[w] |= g_lastFound[p].words[w];
        return 1;
    }
    HWND target = view ? view : GetActiveView();
    ViewData* d = GetViewData(target);
    if (!d || !d->db) return 0;
    CollectUsedLayersOfDb(d->db, g_lastFound);
    for (int p = 0; p < kOverviewPages; ++p)
        for (int w = 0; w < 64; ++w)
            scratch[p].words[w] |= g_lastFound[p].words[w];
    g_lastWindow = view;  // null (the active view) is never answered from memory
    return 1;
}

void ForgetUsedLayerCollection() { g_lastWindow = nullptr; }

int BuildPageUsageTable(ViewData* d) {
    PageUsageTable.count = 0;
    if (!d || !d->db) return 0;
    std::memset(LayerUseScratch, 0, sizeof LayerUseScratch);
    ForgetUsedLayerCollection();  // the table follows edits of the drawing
    CollectUsedLayersAll(nullptr, LayerUseScratch);
    for (int i = 0; i <= 256; ++i) {
        if (i != 0 && !DAriChkPage(i, d->db)) continue;
        DbInfo* info = DAriGetDbInfoPtr(i, d->db);
        if (!info) continue;
        for (int k = 0; k < kOverviewLayers; ++k)
            if (info->layers.names[k] && info->layers.names[k][0]) SetBit(LayerUseScratch[i], k);
        PageUsageEntry& e = PageUsageTable.entries[PageUsageTable.count];
        e.layers = LayerUseScratch[i];
        std::snprintf(e.number, sizeof e.number, "%ld", static_cast<long>(i));
        const char* title = reinterpret_cast<const char*>(info) + kInfoTitle;
        lstrcpynA(e.title, title, sizeof e.title);
        e.page = i;
        ++PageUsageTable.count;
    }
    return PageUsageTable.count;
}

int CountUsedLayers(ViewData* d, int entry) {
    if (!d || d->overviewLevel != 2 || entry < 0 || entry >= PageUsageTable.count) return 0;
    return Bits(PageUsageTable.entries[entry].layers);
}

int GetNthUsedLayer(ViewData* d, int n) {
    if (!d || d->overviewLevel != 2 || n < 0) return -1;
    const PageUsageEntry* e = OverviewPageEntry(d);
    if (!e) return -1;
    for (int layer = 0; layer < kOverviewLayers; ++layer)
        if (LayerBitOf(e->layers.words, layer))
            if (n-- == 0) return layer;
    return -1;
}

int OverviewCellHasContent(ViewData* d, int cell) {
    if (!d) return 0;
    if (d->overviewLevel == 2) {
        const PageUsageEntry* e = OverviewPageEntry(d);
        return e && Bits(e->layers) >= cell + 1 ? 1 : 0;
    }
    if (d->overviewLevel == 1) return CountPages(d) >= cell + 1 ? 1 : 0;
    return 1;
}

int GetOverviewEntryPage(ViewData* d, int index) {
    if (!d || CountPages(d) < index + 1 || index < 0 || index >= PageUsageTable.count) return 0;
    return PageUsageTable.entries[index].page;
}

void GetOverviewCellLabel(ViewData* d, int cell, char* text, int size) {
    if (!text || size <= 0) return;
    text[0] = '\0';
    if (!d) return;
    if (d->overviewLevel == 1) {
        if (CountPages(d) >= cell + 1 && cell < PageUsageTable.count)
            std::snprintf(text, size, " %s ", PageUsageTable.entries[cell].title);
        return;
    }
    if (d->overviewLevel != 2) return;
    const int layer = GetNthUsedLayer(d, cell);
    if (layer < 0) return;
    char name[260] = "";
    DAriGetLayerName(d->overviewPage, layer, 1, name, d->db);
    if (name[0])
        lstrcpynA(text, name, size);
    else
        std::snprintf(text, size, Running().LANGUAGE ? "Layer %ld" : "ﾚｲﾔ %ld", static_cast<long>(layer + 1));
}

int HasNoLayerNames(ViewData* d) {
    if (!d || !d->db) return 1;
    for (int i = 0; i <= 256; ++i) {
        if (i != 0 && !DAriChkPage(i, d->db)) continue;
        DbInfo* info = DAriGetDbInfoPtr(i, d->db);
        if (!info) continue;
        for (int k = 0; k < kOverviewLayers; ++k)
            if (info->layers.names[k] && info->layers.names[k][0]) return 0;
    }
    return 1;
}

int OverviewEntryOfCell(ViewData* d, int cell) {
    const int base = d ? d->overviewFirstGroup : 0;
    return base >= 2 ? cell + (base - 1) * 9 : cell;
}

int ToggleOverviewMode(HWND view) {
    if (!view) return 0;
    ViewData* d = GetViewData(view);
    if (!d) return 0;
    ::SendMessageA(::GetParent(view), WM_COMMAND, (static_cast<WPARAM>(d->overviewLevel) << 16) + 1050, 0);
    RECT rc;
    ::GetClientRect(view, &rc);
    if (d->overviewLevel != 0) {
        d->overviewLevel = 0;
        for (HWND c = GetFirstChildWindow(view); c;) {
            HWND next = GetNextChildWindow(c);
            ::DestroyWindow(c);
            c = next;
        }
        LONG style = ::GetWindowLongA(view, GWL_STYLE);
        if (Running().bScTestBtn) {
            style &= ~(WS_HSCROLL | WS_VSCROLL);
            ::SetWindowLongA(view, GWL_STYLE, style);
        } else {
            ::SetWindowLongA(view, GWL_STYLE, style | WS_HSCROLL | WS_VSCROLL);
            ::SetScrollRange(view, SB_HORZ, 0, 100, FALSE);
            ::SetScrollRange(view, SB_VERT, 0, 100, FALSE);
        }
        ::SetWindowPos(view, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        CenterViewScrollBars(view);
        if (HWND panel = ToolPanelWindow()) ::SendMessageA(panel, WM_COMMAND, 100, 0);
        ::InvalidateRect(view, nullptr, TRUE);
        ::UpdateWindow(view);
        if (CmdInput().wantedMask & CMD_WANT_TRACK) {
            UpdateRubberBand(GetActiveView(), 0, 0, 1);
            CmdInput().event = CMD_EV_VIEW_CHANGED;
        }
        return 1;
    }
    LONG style = ::GetWindowLongA(view, GWL_STYLE);
    ::SetWindowLongA(view, GWL_STYLE, (style & ~WS_HSCROLL) | WS_VSCROLL);
    ::SetWindowPos(view, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    ::GetClientRect(view, &rc);
    const int W = rc.right, H = rc.bottom;
    RegisterOverviewCellClass(::GetModuleHandleA(nullptr));
    HWND last = nullptr;
    for (int i = 0; i < 9; ++i) {
        last = ::CreateWindowExA(0, kCellClass, "TEST", WS_CHILD | WS_VISIBLE, (i % 3) * W / 3, (i / 3) * H / 3,
                                 W / 3 + 1, H / 3 + 1, view, nullptr, ::GetModuleHandleA(nullptr), nullptr);
        if (last) ::SetWindowLongPtrA(last, sizeof(LONG_PTR), i);
    }
    if (last) {
        d->overviewLevel = 1;
        d->overviewFirstGroup = 0;
        d->overviewPage = 0;
        SetVerticalRange(view, CountPages(d));
        if (HWND panel = ToolPanelWindow()) ::SendMessageA(panel, WM_COMMAND, MAKEWPARAM(100, 1), 0);
    }
    return 1;
}

int RegisterOverviewCellClass(HINSTANCE instance) {
    WNDCLASSA existing;
    if (::GetClassInfoA(instance, kCellClass, &existing)) return 1;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = OverviewCellProc;
    wc.cbWndExtra = 2 * sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.lpszClassName = kCellClass;
    return ::RegisterClassA(&wc) ? 1 : 0;
}

void DrawOverviewCell(HWND cell, ViewData* d, int a) {
    LARGE_INTEGER freq, start, end;
    ::QueryPerformanceFrequency(&freq);
    ::QueryPerformanceCounter(&start);
    const int e = a - 100;
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(cell, &ps);
    RECT rc;
    ::GetClientRect(cell, &rc);
    HWND view = ::GetParent(cell);
    DrawParam p;
    if (FillViewDrawParam(view, d, dc, rc, &p)) {
        if (a > 99) p.scale /= 3;
        const double s = p.scale, cx = p.centre[0], cy = p.centre[1];
        const double vis[4] = {(rc.left - cx) / s - p.offsetX, (cy - rc.top) / s - p.offsetY,
                               (rc.right - cx) / s - p.offsetX, (cy - rc.bottom) / s - p.offsetY};
        std::memcpy(p.visible, vis, sizeof vis);
        std::memcpy(p.visible2, vis, sizeof vis);
        p.pixelsPerMm = p.drawScale != 0 ? s / p.drawScale : s;
        p.what = kDrawDatabase;
        DAriDrawPre(d->db, &p);
        const int has = OverviewCellHasContent(d, e);
        HBRUSH fill = ::CreateSolidBrush(has ? p.background : RGB(128, 128, 128));
        ::FillRect(dc, &rc, fill);
        ::DeleteObject(fill);
        if (d->overviewLevel == 1) {
            p.pageOnly = 1;
            p.page = GetOverviewEntryPage(d, e);
        } else if (d->overviewLevel == 2) {
            p.pageOnly = 1;
            p.page = d->overviewPage;
            p.layerOnly = 1;
            p.layer = GetNthUsedLayer(d, e);
            p.overlayDb = 1;
        }
        if (has) DAriDraw(d->db, &p);
        char label[300];
        GetOverviewCellLabel(d, e, label, sizeof label);
        HFONT font = ::CreateFontA(12, 6, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0x30, "System");
        HGDIOBJ oldFont = ::SelectObject(dc, font);
        ::SetTextColor(dc, RGB(255, 255, 255));
        ::SetBkColor(dc, RGB(96, 96, 96));
        ::SetBkMode(dc, OPAQUE);
        ::TextOutA(dc, 5, rc.bottom - 20, label, lstrlenA(label));
        ::SelectObject(dc, oldFont);
        ::DeleteObject(font);
        HPEN outer = ::CreatePen(PS_SOLID, 1, RGB(96, 96, 96));
        HPEN inner = ::CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
        HGDIOBJ oldPen = ::SelectObject(dc, outer);
        HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
        ::Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
        ::SelectObject(dc, inner);
        ::Rectangle(dc, rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1);
        ::SelectObject(dc, oldBrush);
        ::SelectObject(dc, oldPen);
        ::DeleteObject(outer);
        ::DeleteObject(inner);
    }
    ::QueryPerformanceCounter(&end);
    WriteSystemLog(3, "Drawing Time", "描画時間 %lf(sec)",
                   static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(freq.QuadPart));
    ::EndPaint(cell, &ps);
}

LRESULT CALLBACK OverviewCellProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    ViewData* d = DataOfCell(h);
    const int cell = static_cast<int>(::GetWindowLongPtrA(h, sizeof(LONG_PTR)));
    switch (m) {
    case WM_PAINT:
        if (d && d->overviewLevel != 0) {
            ::SetWindowLongPtrA(h, 0, (LONG_PTR)d);
            if (cell == 0) BuildPageUsageTable(d);
            DrawOverviewCell(h, d, OverviewEntryOfCell(d, cell) + 100);
            return 0;
        }
        break;
    case WM_MOUSEMOVE: {
        RECT rc;
        ::GetClientRect(h, &rc);
        const int x = static_cast<short>(LOWORD(l)), y = static_cast<short>(HIWORD(l));
        const int cx = (rc.left + rc.right) / 2, cy = (rc.top + rc.bottom) / 2;
        LastViewMousePos.x = static_cast<short>(3 * x - 2 * cx);
        LastViewMousePos.y = static_cast<short>(3 * y - 2 * cy);
        break;
    }
    case WM_LBUTTONDOWN:
        if (d && d->overviewLevel == 2) {
            const int layer = GetNthUsedLayer(d, OverviewEntryOfCell(d, cell));
            if (layer != -1) {
                OverviewPick.layer = layer;
                CmdInput().event = CMD_EV_OVERVIEW;
            }
        }
        break;
    case WM_RBUTTONDOWN:
        if (d && d->overviewLevel == 2) {
            HWND view = ::GetParent(h);
            d->overviewLevel = 1;
            d->overviewPage = 0;
            d->overviewFirstGroup = 0;
            InvalidateCells(view);
            SetVerticalRange(view, CountPages(d));
        } else if (d && d->overviewLevel == 1) {
            HWND view = ::GetParent(h);
            const int e = OverviewEntryOfCell(d, cell);
            if (OverviewCellHasContent(d, e)) {
                d->overviewLevel = 2;
                d->overviewPage = OverviewPick.page = GetOverviewEntryPage(d, e);
                d->overviewFirstGroup = 0;
                InvalidateCells(view);
                const PageUsageEntry* entry = OverviewPageEntry(d);
                SetVerticalRange(view, entry ? Bits(entry->layers) : 0);
            } else if (HWND panel = ToolPanelWindow()) {
                ::PostMessageA(panel, WM_COMMAND, 3314, 0);
            }
        }
        break;
    default: break;
    }
    return ::DefWindowProcA(h, m, w, l);
}
