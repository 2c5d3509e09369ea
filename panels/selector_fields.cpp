#include "panels/selector_fields.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/monitor.h"
#include "base/running_settings.h"
#include "command/host_hooks.h"
#include "panels/attr_samples.h"
#include "panels/attr_selector_model.h"
#include "panels/attr_selectors.h"
#include "panels/selector_classes.h"
#include "panels/tool_panel_links.h"

ColourTableRecord ColorTableTemplate;

namespace {

enum class Field { Colour, ColourPlain, LineType, LineWidth, LineStart, LineEnd, Point, None };

struct ValueRecord {
    int32_t value, flags;
};
struct LineEndRecord {
    int32_t index, flags;
    int32_t enable[16];
};
static_assert(sizeof(LineEndRecord) == 72, "line-end record");

const char* const kPointNames[7] = {"X", "asterisk", "circle", "dot", "plus", "square", "triangle"};

Field KindOf(HWND w) {
    char cls[32] = {};
    ::GetClassNameA(w, cls, sizeof cls);
    static const struct {
        const char* name;
        Field kind;
    } names[] = {{"cmdcolorclass", Field::Colour},     {"cmdcolorclass2", Field::ColourPlain},
                 {"cmdltypeclass", Field::LineType},   {"cmdlwidclass", Field::LineWidth},
                 {"cmdltermsclass", Field::LineStart}, {"cmdltermeclass", Field::LineEnd},
                 {"cmdpointclass", Field::Point}};
    for (const auto& n : names)
        if (_stricmp(cls, n.name) == 0) return n.kind;
    return Field::None;
}

bool IsColour(Field k) { return k == Field::Colour || k == Field::ColourPlain; }
bool IsLineEnd(Field k) { return k == Field::LineStart || k == Field::LineEnd; }

void* Rec(HWND w) { return reinterpret_cast<void*>(::GetWindowLongPtrA(w, 4)); }
int32_t* Flags(HWND w, Field k) {
    void* r = Rec(w);
    if (!r) return nullptr;
    if (IsColour(k)) return &static_cast<ColourTableRecord*>(r)->flags;
    if (IsLineEnd(k)) return &static_cast<LineEndRecord*>(r)->flags;
    return &static_cast<ValueRecord*>(r)->flags;
}
// The list index (colour, line ends) or value of the record.
int32_t* Current(HWND w, Field k) {
    void* r = Rec(w);
    if (!r) return nullptr;
    if (IsColour(k)) return &static_cast<ColourTableRecord*>(r)->index;
    if (IsLineEnd(k)) return &static_cast<LineEndRecord*>(r)->index;
    return &static_cast<ValueRecord*>(r)->value;
}

LRESULT ReloadColours(HWND w, Field k, LPARAM source) {
    auto* r = static_cast<ColourTableRecord*>(Rec(w));
    AttrWords* view = ToolPanelHost().activeAttrWords ? ToolPanelHost().activeAttrWords() : nullptr;
    if (!r || !view) return 0;
    const int32_t flags = r->flags;
    if (source) {
        std::memcpy(r, reinterpret_cast<const void*>(source), sizeof *r);
        r->index = 0;
    } else {
        // The colours as the selectors show them; the plain class takes
        // the drawing's pens as they are.
        const std::vector<COLORREF> colours = SelectorColours(k == Field::Colour);
        for (int i = 0; i < 256; ++i) {
            ColorTableTemplate.colours[i] = colours[i];
            ColorTableTemplate.numbers[i] = i + 1;
        }
        ColorTableTemplate.count = 256;
        std::memcpy(r, &ColorTableTemplate, sizeof *r);
        r->index = view->color - 1;
    }
    r->flags = flags;
    ::InvalidateRect(w, nullptr, TRUE);
    return 1;
}

HFONT FieldFont(bool compact) {
    LOGFONTA lf = {};
    lf.lfHeight = compact ? 12 : 14;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynA(lf.lfFaceName, Running().SYSTEMFONT[0] ? Running().SYSTEMFONT : "ＭＳ ゴシック", LF_FACESIZE);
    return ::CreateFontIndirectA(&lf);
}

void Fill(HDC dc, const RECT& r, COLORREF c) {
    ::SetBkColor(dc, c);
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void Text(HDC dc, int x, int y, const char* s) { ::TextOutA(dc, x, y, s, (int)strlen(s)); }

void Paint(HWND w, Field k, HDC dc) {
    RECT rc;
    ::GetClientRect(w, &rc);
    const int32_t* flags = Flags(w, k);
    const bool button = flags && (*flags & 1), compact = flags && (*flags & 2);
    const bool disabled = !::IsWindowEnabled(w);
    const int e = button ? rc.right : rc.right - (compact ? 8 : 15);
    const int width = rc.right - rc.left, mid = rc.bottom / 2;
    Fill(dc, rc, ::GetSysColor(button || disabled ? COLOR_BTNFACE : COLOR_WINDOW));
    HFONT font = FieldFont(compact);
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(BLACK_BRUSH));
    TEXTMETRICA tm;
    ::GetTextMetricsA(dc, &tm);
    const int ty = (rc.bottom - tm.tmHeight) / 2;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(disabled ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT));
    const int sx = rc.left + (compact ? 18 : 20);
    char text[64];
    if (const int32_t* cur = Current(w, k)) {
        const int v = *cur;
        if (IsColour(k)) {
            const auto* r = static_cast<const ColourTableRecord*>(Rec(w));
            if (v >= 0 && v < r->count && v < 256) {
                snprintf(text, sizeof text, "%ld", (long)r->numbers[v]);
                Text(dc, rc.left + 5, ty, text);
                RECT patch = {rc.left + (compact ? 24 : 27), rc.top + 3, e - 3, rc.bottom - 3};
                Fill(dc, patch, r->colours[v]);
            }
        } else if (IsLineEnd(k)) {
            const auto* r = static_cast<const LineEndRecord*>(Rec(w));
            const int type = LineEndTypeIn(r->enable, v);
            if (width >= 60) {
                snprintf(text, sizeof text, "%ld", (long)type);
                Text(dc, rc.left + 5, ty, text);
            }
            DrawLineEndShape(type, dc, k == Field::LineEnd, width < 60 ? rc.left + 4 : rc.left + 20, rc.top, e - 5,
                             rc.bottom);
        } else {
            snprintf(text, sizeof text, "%ld", (long)v);
            Text(dc, rc.left + 5, ty, text);
            if (k == Field::LineType) {
                DrawLinePattern(dc, SelectorLineType(v), RGB(0, 0, 0), sx, e - 4, mid);
            } else if (k == Field::LineWidth) {
                const double mm = GetLineWidthValue(v);
                if (width >= 60) {
                    snprintf(text, sizeof text, "%.2lfmm", mm);
                    Text(dc, e - 45, ty, text);
                }
                DrawWidthBar(RGB(0, 0, 0), mid, WidthBarThickness(mm, rc.bottom - 6), dc, sx, width < 60 ? e - 4 : e - 48);
            } else if (k == Field::Point) {
                const int kind = v >= 0 && v < 7 ? v : 0;
                Text(dc, rc.right - 65, ty, kPointNames[kind]);
                DrawPointMarker(dc, kind, (rc.left + 20 + rc.right - 70) / 2, mid);
            }
        }
    }
    ::SelectObject(dc, oldFont);
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
    ::DeleteObject(font);
    PaintSelectorFrame(dc, rc, e, !button);
}

const char* DropClassOf(Field k) {
    switch (k) {
    case Field::Colour:
    case Field::ColourPlain: return "escolorwndclass";
    case Field::LineType: return "esltypewndclass";
    case Field::LineWidth: return "eslwidwndclass";
    case Field::LineStart: return "esltermswndclass";
    case Field::LineEnd: return "esltermewndclass";
    case Field::Point: return "espointwndclass";
    default: return nullptr;
    }
}

void OpenDrop(HWND field, Field k) {
    if (::GetDlgItem(field, 1)) return;
    if (::GetCapture() == field) ::ReleaseCapture();
    RECT rc;
    ::GetClientRect(field, &rc);
    // The drop-down classes belong to the program, also for a field that a
    // module placed in a window of its own.
    HINSTANCE inst = ::GetModuleHandleA(nullptr);
    HWND drop = ::CreateWindowExA(0, DropClassOf(k), "", WS_CHILD, 0, rc.bottom, rc.right, rc.bottom + 60, field,
                                  (HMENU)1, inst, nullptr);
    if (!drop) return;
    ::ShowWindow(drop, SW_SHOWNA);
    ::SetWindowLongA(drop, 0, 1);
    int minWidth = 180, height = 460;
    if (k == Field::LineWidth) minWidth = 250;
    if (IsLineEnd(k)) minWidth = 150, height = 440;
    if (k == Field::Point) minWidth = 150, height = 300;
    const int width = k == Field::LineEnd ? 150 : std::max<int>(rc.right, minWidth);
    HWND combo = ::CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, 0,
                                   0, width, height, drop, (HMENU)1, inst, nullptr);
    if (!combo) {
        ::DestroyWindow(drop);
        return;
    }
    if (IsColour(k) || k == Field::LineType) ::SendMessageA(combo, CB_SETMINVISIBLE, 16, 0);
    RECT cr, mon;
    ::GetWindowRect(combo, &cr);
    int dx = 0, dy = -(cr.bottom - cr.top);
    if (GetWindowMonitorRect(combo, &mon)) {
        if (cr.right > mon.right) dx = -(cr.right - mon.right + 5);
        if (cr.top + height > mon.bottom) dy -= cr.top + height - mon.bottom + 5;
    }
    ::SetWindowPos(combo, nullptr, dx, dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    int current = *Current(field, k);
    if (IsColour(k)) {
        const auto* r = static_cast<const ColourTableRecord*>(Rec(field));
        for (int i = 0; i < r->count && i < 256; ++i)
            ::SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)r->colours[i]);
    } else if (IsLineEnd(k)) {
        const auto* r = static_cast<const LineEndRecord*>(Rec(field));
        for (int t = 0; t < 16; ++t)
            if (r->enable[t]) ::SendMessageA(combo, CB_ADDSTRING, 0, t);
    } else {
        const int count = k == Field::LineType ? 32 : k == Field::LineWidth ? 16 : 7;
        for (int i = 0; i < count; ++i)
            ::SendMessageA(combo, CB_ADDSTRING, 0, i);
    }
    ::SendMessageA(combo, CB_SETCURSEL, current, 0);
    ::SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
}

void DrawDropItem(Field k, const DRAWITEMSTRUCT& d) {
    if ((int)d.itemID < 0) return;
    HDC dc = d.hDC;
    const RECT& r = d.rcItem;
    const COLORREF sample = PaintAttrRowBackground(d);
    HPEN pen = ::CreatePen(PS_SOLID, 1, sample);
    HBRUSH brush = ::CreateSolidBrush(sample);
    HGDIOBJ oldPen = ::SelectObject(dc, pen), oldBrush = ::SelectObject(dc, brush);
    const int i = (int)d.itemID, mid = (r.top + r.bottom) / 2;
    char text[64];
    switch (k) {
    case Field::Colour:
    case Field::ColourPlain: DrawColourRow(dc, r, i, (COLORREF)d.itemData); break;
    case Field::LineType: DrawLineTypeRow(dc, r, i, sample); break;
    case Field::LineWidth: DrawLineWidthRow(dc, r, i, sample); break;
    case Field::LineStart:
    case Field::LineEnd: {
        const int type = (int)d.itemData;
        snprintf(text, sizeof text, "%s%ld", k == Field::LineStart ? "始端" : "終端", (long)type);
        Text(dc, r.left + 2, r.top + 2, text);
        DrawLineEndShape(type, dc, k == Field::LineEnd, r.left + 58, r.top, r.right - 10, r.bottom);
        break;
    }
    case Field::Point:
        snprintf(text, sizeof text, "%ld", (long)i);
        Text(dc, r.left + 2, r.top + 1, text);
        Text(dc, r.right - 60, r.top + 1, kPointNames[i % 7]);
        DrawPointMarker(dc, i, (r.left + 20 + r.right - 70) / 2, mid);
        break;
    default: break;
    }
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
    ::DeleteObject(pen);
    ::DeleteObject(brush);
}

}  // namespace

LRESULT CALLBACK AttrFieldProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    const Field k = KindOf(w);
    switch (msg) {
    case WM_CREATE: {
        void* r = nullptr;
        if (IsColour(k)) r = new ColourTableRecord();
        else if (IsLineEnd(k)) {
            auto* le = new LineEndRecord();
            std::memcpy(le->enable, LineEndEnableTable, sizeof le->enable);
            r = le;
        } else r = new ValueRecord();
        ::SetWindowLongPtrA(w, 4, (LONG_PTR)r);
        if (IsColour(k)) ::SendMessageA(w, UM_SEL_RELOAD, 0, 0);
        return 0;
    }
    case WM_DESTROY: {
        void* r = Rec(w);
        if (IsColour(k)) delete static_cast<ColourTableRecord*>(r);
        else if (IsLineEnd(k)) delete static_cast<LineEndRecord*>(r);
        else delete static_cast<ValueRecord*>(r);
        ::SetWindowLongPtrA(w, 4, 0);
        return 0;
    }
    case UM_SEL_RELOAD:
        if (IsColour(k)) return ReloadColours(w, k, lp);
        break;
    case UM_SEL_SETVALUE: {
        int32_t* cur = Current(w, k);
        if (!cur) return 0;
        *cur = IsLineEnd(k) ? LineEndIndexIn(static_cast<LineEndRecord*>(Rec(w))->enable, (int)lp) : (int32_t)lp;
        ::InvalidateRect(w, nullptr, TRUE);
        return 1;
    }
    case UM_SEL_GETVALUE: {
        const int32_t* cur = Current(w, k);
        if (!cur) return -1;
        return IsLineEnd(k) ? LineEndTypeIn(static_cast<LineEndRecord*>(Rec(w))->enable, *cur) : *cur;
    }
    case UM_SEL_SETFLAGS:
        if (int32_t* f = Flags(w, k)) *f = (int32_t)lp;
        ::InvalidateRect(w, nullptr, TRUE);
        return 0;
    case UM_SEL_DISABLE:
        if (IsLineEnd(k) && Rec(w) && lp >= 0 && lp < 16) static_cast<LineEndRecord*>(Rec(w))->enable[lp] = 0;
        return 0;
    case WM_USER:
        ::PostMessageA(::GetParent(w), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(w), 1), (LPARAM)w);
        ::InvalidateRect(w, nullptr, TRUE);
        return 0;
    case WM_LBUTTONDOWN: {
        const int32_t* f = Flags(w, k);
        if (!f) return 0;
        if (*f & 1)
            ::PostMessageA(::GetParent(w), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(w), 1), (LPARAM)w);
        else
            OpenDrop(w, k);
        return 0;
    }
    case WM_MOUSEMOVE: TrackSelectorHover(w); return 0;
    case WM_ENABLE: ::InvalidateRect(w, nullptr, TRUE); return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(w, &ps);
        Paint(w, k, dc);
        ::EndPaint(w, &ps);
        return 0;
    }
    case WM_PRINTCLIENT: Paint(w, k, (HDC)wp); return 0;
    }
    return ::DefWindowProcA(w, msg, wp, lp);
}

LRESULT CALLBACK AttrDropProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    HWND field = ::GetParent(w);
    const Field k = field ? KindOf(field) : Field::None;
    switch (msg) {
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = k == Field::Point ? 16 : 26;
        return TRUE;
    case WM_DRAWITEM: DrawDropItem(k, *reinterpret_cast<DRAWITEMSTRUCT*>(lp)); return TRUE;
    case WM_COMMAND:
        if (LOWORD(wp) == 1 && HIWORD(wp) == CBN_CLOSEUP && ::GetWindowLongA(w, 0) == 1) {
            ::SetWindowLongA(w, 0, 0);
            const int sel = (int)::SendMessageA((HWND)lp, CB_GETCURSEL, 0, 0);
            if (int32_t* cur = Current(field, k); cur && sel >= 0) *cur = sel;
            ::PostMessageA(field, WM_USER, 0, 0);
            ::PostMessageA(w, WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    case WM_CLOSE: ::DestroyWindow(w); return 0;
    }
    return ::DefWindowProcA(w, msg, wp, lp);
}
