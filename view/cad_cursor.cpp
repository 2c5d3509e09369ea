#include "view/cad_cursor.h"

#include "base/running_settings.h"
#include "command/pick_aperture.h"
#include "view/cadwin_frame.h"
#include "view/key_cursor.h"
#include "view/view_table.h"

int CursorType() { return Running().mouseMode; }

void CCadCursor::ApplySettings() {
    const RunningSettings& rs = Running();
    auto apertureOf = [&](int typeBits) { return rs.bCurSorAreaDsp ? ((typeBits & 2) ? kCircle : kSquare) : 0; };
    switch (CursorType()) {
    case 0:
        kind = kFullWindow;
        dotted = rs.CURSOR00TYPE & 1;
        shape = apertureOf(rs.CURSOR00TYPE);
        break;
    case 1:
        kind = kShortCross;
        dotted = 0;
        shape = apertureOf(rs.CURSOR01TYPE);
        break;
    case 2:
        kind = kNone;
        dotted = 0;
        shape = 0;
        break;
    default: break;
    }
    if (shape != 0) halfSize = GetCursorFindArea() + 2;
    drawnKind = kind;
}

void CCadCursor::DrawAt(HDC dc, const RECT& client, int x, int y, int kindToDraw) const {
    const int oldRop = ::SetROP2(dc, R2_XORPEN);
    const int oldBk = ::SetBkMode(dc, TRANSPARENT);
    HPEN solid = ::CreatePen(PS_SOLID, 0, RGB(255, 255, 255));
    HPEN dot = ::CreatePen(PS_DOT, 0, RGB(255, 255, 255));
    HGDIOBJ oldPen = ::SelectObject(dc, solid);
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    if (kindToDraw == kFullWindow) {
        ::SelectObject(dc, dotted ? dot : solid);
        ::MoveToEx(dc, 0, y, nullptr);
        ::LineTo(dc, client.right, y);
        ::MoveToEx(dc, x, 0, nullptr);
        ::LineTo(dc, x, client.bottom);
    } else if (kindToDraw == kShortCross) {
        const int a = 3 * halfSize;
        ::MoveToEx(dc, x, y - a, nullptr);
        ::LineTo(dc, x, y + a);
        ::MoveToEx(dc, x + a, y, nullptr);
        ::LineTo(dc, x - a, y);
    }
    if (apertureEnabled && kindToDraw != kNone) {
        ::SelectObject(dc, solid);
        const int h = halfSize;
        if (shape & kSquare) {
            // The closing edge is drawn too: LineTo leaves out its last pixel.
            POINT pts[5] = {{x - h, y - h}, {x - h, y + h}, {x + h, y + h}, {x + h, y - h}, {x - h, y - h}};
            ::Polyline(dc, pts, 5);
        }
        if (shape & kCircle) ::Ellipse(dc, x - h, y - h, x + h, y + h);
    }
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(solid);
    ::DeleteObject(dot);
    ::SetBkMode(dc, oldBk);
    ::SetROP2(dc, oldRop);
}

void CCadCursor::Redraw(bool show) {
    if (!m_view || !::IsWindow(m_view)) {
        drawn = 0;
        return;
    }
    const bool wanted = show && kind != kNone && cursorEnabled;
    if (!drawn && !wanted) return;
    HDC dc = ::GetDC(m_view);
    if (!dc) return;
    RECT client;
    ::GetClientRect(m_view, &client);
    if (drawn) {
        DrawAt(dc, client, drawnAt.x, drawnAt.y, drawnKind);
        drawn = 0;
    }
    if (wanted) {
        POINT p = m_screen;
        ::ScreenToClient(m_view, &p);
        DrawAt(dc, client, p.x, p.y, kind);
        drawn = 1;
        drawnAt = p;
        drawnKind = kind;
    }
    ::ReleaseDC(m_view, dc);
}

void CCadCursor::ChangeSetting(WPARAM which, LPARAM value) {
    Erase();
    switch (which) {
    case 0: ApplySettings(); break;
    case 1: kind = static_cast<int>(value); break;
    case 2: dotted = static_cast<int>(value); break;
    case 3: shape = static_cast<int>(value); break;
    case 4: halfSize = static_cast<int>(value); break;
    default: break;
    }
    Redraw(true);
}

void SetCursorTypePointer(int type) {
    if (type == 2)
        ::SetCursor(Running().CURSOR02TYPE == 1 && NullCursor ? NullCursor : ::LoadCursor(nullptr, IDC_ARROW));
    else if (type == 0 || type == 1)
        ::SetCursor(nullptr);
}

void CCadCursor::SetViewCursor() const {
    if (IsKeyCursorActive())
        ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    else if (cursorEnabled)
        SetCursorTypePointer(CursorType());
    else
        ::SetCursor(::LoadCursor(nullptr, IDC_CROSS));
}

void EraseAllViewCursors() {
    for (int i = 0; i < kViewTableSize && ViewTable[i]; ++i)
        if (CCadCursor* c = ViewCursorOf(ViewTable[i])) c->Erase();
}
