#include "panels/attr_selectors.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include <commctrl.h>

#include "base/monitor.h"
#include "command/host_hooks.h"
#include "panels/attr_samples.h"

// The drop list of a selector: a child window below the selector's field
// (outside its client area, so never seen itself) holding an owner-drawn
// drop-down combo box whose list is what the user sees.
class CAttrComboList : public CWindowBase {
public:
    explicit CAttrComboList(CLineAttrCombo& owner) : m_owner(owner) {}
    HWND m_combo = nullptr;

    BEGIN_MSG_MAP(CAttrComboList)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_MEASUREITEM, OnMeasure)
    MESSAGE_HANDLER(WM_DRAWITEM, OnDraw)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    MESSAGE_HANDLER(WM_APP, OnEnd)
    END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMeasure(UINT, WPARAM, LPARAM l, BOOL&) {
        reinterpret_cast<MEASUREITEMSTRUCT*>(l)->itemHeight = 26;
        return 1;
    }
    LRESULT OnDraw(UINT, WPARAM, LPARAM l, BOOL&) {
        DrawAttrListItem(m_owner.Model(), m_owner.EndFlag(), *reinterpret_cast<DRAWITEMSTRUCT*>(l));
        return 1;
    }
    LRESULT OnCommand(UINT, WPARAM w, LPARAM, BOOL&);
    LRESULT OnEnd(UINT, WPARAM, LPARAM, BOOL&) {
        DestroyWindow();
        return 0;
    }
    CLineAttrCombo& m_owner;
};

namespace {

void Fill(HDC dc, const RECT& r, COLORREF c) {
    ::SetBkColor(dc, c);
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

HFONT MakeFont(const char* face, int height) {
    LOGFONTA lf = {};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    return ::CreateFontIndirectA(&lf);
}

void Text(HDC dc, int x, int y, const char* s) { ::TextOutA(dc, x, y, s, (int)strlen(s)); }

int EndTypeAt(const AttrSelectorModel& m, int i) { return m.Contains(i) ? m.lineEnds[i].type : 0; }

}  // namespace

// --- The selector field --------------------------------------------------------------------

CLineAttrCombo::CLineAttrCombo(AttrKind kind, const char* className, const char* listClassName)
    : m_model(kind), m_class(className), m_listClass(listClassName) {}

CLineAttrCombo::~CLineAttrCombo() {
    if (m_list && m_list->IsWindow()) m_list->DestroyWindow();
}

HWND CLineAttrCombo::Create(HWND parent, const RECT& rect, int id) {
    WindowClassArgs wc;
    wc.name = m_class;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.windowExtra = 12;
    wc.background = (HBRUSH)(COLOR_WINDOW + 1);
    if (!win::RegisterWindowClass(wc)) return nullptr;
    CreateArgs a;
    a.className = m_class;
    a.parent = parent;
    a.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    a.id = id;
    a.SetRect(rect);
    return CWindowBase::Create(a);
}

LRESULT CLineAttrCombo::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    m_model.Load();
    SendMessage(UM_SEL_RELOAD);
    return 0;
}

LRESULT CLineAttrCombo::OnReload(UINT, WPARAM, LPARAM, BOOL& handled) {
    // Only the colour selector takes the reload; it just acknowledges it.
    if (m_model.kind != AttrKind::Colour) {
        handled = FALSE;
        return 0;
    }
    return 1;
}

LRESULT CLineAttrCombo::OnSetValue(UINT, WPARAM, LPARAM l, BOOL&) {
    m_model.index = (int)l;
    Invalidate(TRUE);
    return 1;
}

LRESULT CLineAttrCombo::OnSetFlags(UINT, WPARAM, LPARAM l, BOOL&) {
    m_model.flags = (int)l;
    Invalidate(TRUE);
    return 0;
}

LRESULT CLineAttrCombo::OnChanged(UINT, WPARAM, LPARAM, BOOL&) {
    ::PostMessageA(GetParent(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 1), (LPARAM)m_hWnd);
    Invalidate(TRUE);
    return 0;
}

LRESULT CLineAttrCombo::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
    if (m_model.flags & AttrSelectorModel::kButtonMode)
        ::PostMessageA(GetParent(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 1), (LPARAM)m_hWnd);
    else
        OpenList();
    return 0;
}

LRESULT CLineAttrCombo::OnMouseMove(UINT, WPARAM, LPARAM, BOOL&) {
    TrackSelectorHover(m_hWnd);
    return 0;
}

LRESULT CLineAttrCombo::OnEnable(UINT, WPARAM, LPARAM, BOOL&) {
    Invalidate(TRUE);
    return 0;
}

HWND CLineAttrCombo::ListWindow() const { return m_list && m_list->IsWindow() ? m_list->m_hWnd : nullptr; }

void CLineAttrCombo::OpenList() {
    if (ListWindow()) return;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    m_model.Load();  // the drawing active now gives the colours
    WindowClassArgs wc;
    wc.name = m_listClass;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS;
    wc.windowExtra = 12;
    wc.background = (HBRUSH)(COLOR_WINDOW + 1);
    if (!win::RegisterWindowClass(wc)) return;
    const RECT rc = GetClientRect();
    m_list.reset(new CAttrComboList(*this));
    CreateArgs a;
    a.className = m_listClass;
    a.parent = m_hWnd;
    a.style = WS_CHILD | WS_VISIBLE;
    a.x = 0;
    a.y = rc.bottom;
    a.cx = rc.right;
    a.cy = rc.bottom + 60;
    if (!m_list->Create(a)) m_list.reset();
}

LRESULT CAttrComboList::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    ::SetWindowLongA(m_hWnd, 0, 100);  // opened by a click
    const RECT rc = GetClientRect();
    const int width = std::max<int>(rc.right, 180);
    m_combo = ::CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, 0,
                                0, width, 460, m_hWnd, (HMENU)100, win::ModuleInstance(), nullptr);
    if (!m_combo) return -1;
    ::SendMessageA(m_combo, CB_SETMINVISIBLE, 16, 0);
    // The closed part lies over the selector field; the list is kept on the
    // monitor of the field.
    RECT cr, mon;
    ::GetWindowRect(m_combo, &cr);
    const int closed = cr.bottom - cr.top;
    int dx = 0, dy = -closed;
    if (GetWindowMonitorRect(m_hWnd, &mon)) {
        const int listBottom = cr.top - closed + 460;
        if (listBottom > mon.bottom) dy -= listBottom - mon.bottom + 5;
        if (cr.right > mon.right) dx = -(cr.right - mon.right + 5);
    }
    ::SetWindowPos(m_combo, nullptr, dx, dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    const AttrSelectorModel& m = m_owner.Model();
    const int count = m.kind == AttrKind::LineWidth ? 16 : m.Count();
    for (int i = 0; i < count; ++i) {
        if (m.kind == AttrKind::LineWidth && GetLineWidthText(i).empty()) break;
        ::SendMessageA(m_combo, CB_ADDSTRING, 0, m.kind == AttrKind::Colour ? (LPARAM)m.colours[i] : (LPARAM)i);
    }
    ::SendMessageA(m_combo, CB_SETCURSEL, m.Contains(m.index) ? m.index : -1, 0);
    ::SendMessageA(m_combo, CB_SHOWDROPDOWN, TRUE, 0);
    return 0;
}

LRESULT CAttrComboList::OnCommand(UINT, WPARAM w, LPARAM, BOOL&) {
    if (LOWORD(w) != 100 || HIWORD(w) != CBN_CLOSEUP) return 0;
    if (::GetWindowLongA(m_hWnd, 0) == 100) {
        const int sel = (int)::SendMessageA(m_combo, CB_GETCURSEL, 0, 0);
        if (sel >= 0) m_owner.Model().index = sel;
        ::PostMessageA(m_owner.m_hWnd, WM_USER, 0, 0);
    }
    ::SetWindowLongA(m_hWnd, 0, 0);
    // The list ends once the combo box has finished its own close-up.
    PostMessage(WM_APP);
    if (HostHooks().focusActiveView) HostHooks().focusActiveView();
    return 0;
}

LRESULT CLineAttrCombo::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    PaintField(dc, GetClientRect());
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

void CLineAttrCombo::PaintField(HDC dc, const RECT& rc) {
    const bool button = (m_model.flags & AttrSelectorModel::kButtonMode) != 0;
    const bool compact = (m_model.flags & AttrSelectorModel::kCompact) != 0;
    const bool disabled = m_hWnd && !::IsWindowEnabled(m_hWnd);
    const int e = rc.right - (compact ? 8 : button ? 0 : 15);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    Fill(dc, rc, ::GetSysColor(button || disabled ? COLOR_BTNFACE : COLOR_WINDOW));

    HFONT font = MakeFont(m_faceName, compact ? 12 : 14);
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    TEXTMETRICA tm;
    ::GetTextMetricsA(dc, &tm);
    const int textY = (h - tm.tmHeight) / 2;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
    const int i = m_model.index;
    const bool inList = m_model.Contains(i);
    char text[64];
    if (inList && (m_model.kind != AttrKind::LineEnd || w >= 60)) {
        snprintf(text, sizeof text, "%ld", (long)m_model.NumberOf(i));
        Text(dc, rc.left + 5, textY, text);
    }
    const int sampleX = rc.left + (compact ? 18 : 20);
    const int mid = rc.top + h / 2;
    if (inList) switch (m_model.kind) {
        case AttrKind::Colour: {
            RECT patch = {rc.left + (compact ? 24 : 27), rc.top + 3, e - 3, rc.bottom - 3};
            Fill(dc, patch, m_model.colours[i]);
            if (disabled) {
                const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
                for (int y = rc.top + 4; y < rc.bottom - 5; ++y)
                    for (int x = patch.left + (y & 1); x < patch.right; x += 2)
                        ::SetPixel(dc, x, y, face);
            }
            break;
        }
        case AttrKind::LineType: DrawLinePattern(dc, SelectorLineType(i), RGB(0, 0, 0), sampleX, e - 4, mid); break;
        case AttrKind::LineWidth: {
            const double value = GetLineWidthValue(i);
            if (w > 59) {
                snprintf(text, sizeof text, "%.2lfmm", value);
                Text(dc, e - 45, textY, text);
            }
            DrawWidthBar(RGB(0, 0, 0), mid, WidthBarThickness(value, h - 6), dc, sampleX, w < 60 ? e - 4 : e - 48);
            break;
        }
        case AttrKind::LineEnd: {
            HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
            HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(BLACK_BRUSH));
            DrawLineEndShape(EndTypeAt(m_model, i), dc, m_endFlag, w < 60 ? rc.left + 4 : rc.left + 20, rc.top, e - 5,
                             rc.bottom);
            ::SelectObject(dc, oldPen);
            ::SelectObject(dc, oldBrush);
            break;
        }
        }
    ::SelectObject(dc, oldFont);
    ::DeleteObject(font);
    PaintSelectorFrame(dc, rc, e, !button);
}

// --- Drop-list items -----------------------------------------------------------------------

void DrawAttrListItem(const AttrSelectorModel& m, int endFlag, const DRAWITEMSTRUCT& d) {
    if ((int)d.itemID < 0) return;
    HDC dc = d.hDC;
    const RECT& r = d.rcItem;
    const COLORREF sample = PaintAttrRowBackground(d);
    const int i = (int)d.itemID;
    char text[64];
    switch (m.kind) {
    case AttrKind::Colour: DrawColourRow(dc, r, i, m.Contains(i) ? m.colours[i] : (COLORREF)d.itemData); break;
    case AttrKind::LineType: DrawLineTypeRow(dc, r, i, sample); break;
    case AttrKind::LineWidth: DrawLineWidthRow(dc, r, i, sample); break;
    case AttrKind::LineEnd: {
        snprintf(text, sizeof text, "%s%ld", endFlag ? "終点" : "始点", (long)i);
        Text(dc, r.left + 2, r.top + 2, text);
        HPEN pen = ::CreatePen(PS_SOLID, 1, sample);
        HBRUSH brush = ::CreateSolidBrush(sample);
        HGDIOBJ oldPen = ::SelectObject(dc, pen), oldBrush = ::SelectObject(dc, brush);
        DrawLineEndShape(EndTypeAt(m, i), dc, endFlag, r.left + 58, r.top, r.right - 10, r.bottom);
        ::SelectObject(dc, oldPen);
        ::SelectObject(dc, oldBrush);
        ::DeleteObject(pen);
        ::DeleteObject(brush);
        break;
    }
    }
}

// --- Dialog list boxes ---------------------------------------------------------------------

BOOL CAttrListBox::Attach(HWND control, const AttrSelectorModel* model) {
    m_model = model;
    char cls[16] = {};
    ::GetClassNameA(control, cls, sizeof cls);
    m_isStatic = _stricmp(cls, "Static") == 0;
    return SubclassWindow(control);
}

LRESULT CAttrListBox::OnMeasure(UINT, WPARAM, LPARAM l, BOOL&) {
    reinterpret_cast<MEASUREITEMSTRUCT*>(l)->itemHeight = 24;
    return 1;
}

LRESULT CAttrListBox::OnDraw(UINT, WPARAM, LPARAM l, BOOL&) {
    const DRAWITEMSTRUCT& d = *reinterpret_cast<DRAWITEMSTRUCT*>(l);
    if (d.itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) DrawItem(d);
    return 1;
}

// A static field shows the fixed index as one item over its whole area.
LRESULT CAttrListBox::OnPaintStatic(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (!m_isStatic) {
        handled = FALSE;
        return 0;
    }
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    DRAWITEMSTRUCT d = {};
    d.CtlType = ODT_STATIC;
    d.itemID = 0;
    d.itemAction = ODA_DRAWENTIRE;
    d.hwndItem = m_hWnd;
    d.hDC = dc;
    d.rcItem = GetClientRect();
    DrawItem(d);
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

void CAttrListBox::DrawItem(const DRAWITEMSTRUCT& d) const {
    HDC dc = d.hDC;
    const RECT& r = d.rcItem;
    const bool selected = (d.itemState & ODS_SELECTED) != 0;
    Fill(dc, r, selected ? ::GetSysColor(COLOR_HIGHLIGHT) : m_background);
    const int index = m_fixedIndex >= 0 ? m_fixedIndex : (int)d.itemID;
    if (index < 0) return;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    HGDIOBJ oldFont = ::SelectObject(dc, (HFONT)::SendMessageA(d.hwndItem, WM_GETFONT, 0, 0));
    TEXTMETRICA tm;
    ::GetTextMetricsA(dc, &tm);
    const int textY = r.top + ((r.bottom - r.top) - tm.tmHeight) / 2;
    const COLORREF sample = selected ? ::GetSysColor(COLOR_WINDOW) : RGB(0, 0, 0);
    char number[64];
    if (m_kind == AttrKind::LineWidth) {
        if (!GetLineWidthText(index).empty()) {
            if (m_fixedIndex >= 0)
                snprintf(number, sizeof number, "%3ld", (long)index);
            else
                snprintf(number, sizeof number, "線幅%ld", (long)index);
            Text(dc, r.left + 4, textY, number);
            const double value = GetLineWidthValue(index);
            char mm[32];
            snprintf(mm, sizeof mm, "%.2lf mm", value);
            const int len = (int)strlen(mm);
            const int valueX = r.right - 5 - std::max(len, 7) * tm.tmAveCharWidth;
            Text(dc, valueX, textY, mm);
            const int n = (int)strlen(number);
            const int barFrom = m_fixedIndex >= 0 ? r.left + 32 : r.left + 4 + (n < 8 ? 6 : n + 1) * tm.tmAveCharWidth + 5;
            DrawWidthBar(sample, r.top + (r.bottom - r.top) / 2, WidthBarThickness(value, (r.bottom - r.top) - 8), dc,
                         barFrom, valueX - 5);
        }
    } else if (m_model && m_model->Contains(index)) {
        snprintf(number, sizeof number, "%s%ld", m_endFlag ? "終点" : "始点", (long)index);
        Text(dc, r.left + 2, textY, number);
        HPEN pen = ::CreatePen(PS_SOLID, 1, sample);
        HBRUSH brush = ::CreateSolidBrush(sample);
        HGDIOBJ oldPen = ::SelectObject(dc, pen), oldBrush = ::SelectObject(dc, brush);
        DrawLineEndShape(m_model->lineEnds[index].type, dc, m_endFlag, r.left + 58, r.top, r.right - 10, r.bottom);
        ::SelectObject(dc, oldPen);
        ::SelectObject(dc, oldBrush);
        ::DeleteObject(pen);
        ::DeleteObject(brush);
    }
    ::SelectObject(dc, oldFont);
}

// --- Hover ---------------------------------------------------------------------------------

void TrackSelectorHover(HWND field) {
    POINT p;
    ::GetCursorPos(&p);
    const bool over = ::WindowFromPoint(p) == field;
    const int state = (int)::GetWindowLongA(field, 0);
    HWND parent = ::GetParent(field);
    const int id = ::GetDlgCtrlID(field);
    if (over) {
        if (state == 2) {
            ::SetWindowLongA(field, 0, 1);
            ::InvalidateRect(field, nullptr, TRUE);
        } else if (state == 0 && ::GetCapture() != field) {
            ::SetCapture(field);
            ::SendMessageA(parent, UM_SEL_HOVER, id, 0);
        }
    } else {
        if (state == 1) {
            ::SetWindowLongA(field, 0, 2);
            ::InvalidateRect(field, nullptr, TRUE);
        } else if (state == 0 && ::GetCapture() == field) {
            ::ReleaseCapture();
            ::SendMessageA(parent, UM_SEL_HOVER, id, 1);
        }
    }
}
