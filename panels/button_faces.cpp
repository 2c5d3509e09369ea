#include "panels/button_faces.h"

#include <cstring>

#include "base/dbcs.h"
#include "base/running_settings.h"

void PaintVerticalGradient(HDC dc, const RECT& r, COLORREF a, COLORREF b) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    TRIVERTEX v[2] = {
        {r.left, r.top, (COLOR16)(GetRValue(a) << 8), (COLOR16)(GetGValue(a) << 8), (COLOR16)(GetBValue(a) << 8), 0},
        {r.right, r.bottom, (COLOR16)(GetRValue(b) << 8), (COLOR16)(GetGValue(b) << 8), (COLOR16)(GetBValue(b) << 8),
         0}};
    GRADIENT_RECT g = {0, 1};
    ::GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
}

namespace {
void RoundFrame(HDC dc, const RECT& r, COLORREF color) {
    HPEN pen = ::CreatePen(PS_SOLID, 1, color);
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    ::RoundRect(dc, r.left, r.top, r.right, r.bottom, 6, 6);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);
}
}  // namespace

void PaintGradientButtonFace(HDC dc, const RECT& rect, COLORREF ut, COLORREF ub, COLORREF lt, COLORREF lb,
                             COLORREF outer, COLORREF inner) {
    RECT in = rect;
    ::InflateRect(&in, -2, -2);
    if (ut == ub && ub == lt && lt == lb) {
        HBRUSH br = ::CreateSolidBrush(ut);
        ::FillRect(dc, &in, br);
        ::DeleteObject(br);
    } else {
        const int g = (int)((in.bottom - in.top) * 0.5);
        RECT up = {in.left, in.top, in.right, in.top + g};
        RECT low = {in.left, in.top + g, in.right, in.bottom};
        PaintVerticalGradient(dc, up, ut, ub);
        PaintVerticalGradient(dc, low, lt, lb);
    }
    ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    RoundFrame(dc, rect, outer);
    RECT r1 = rect;
    ::InflateRect(&r1, -1, -1);
    RoundFrame(dc, r1, inner);
}

void PaintGradientButtonFace(void*, HDC dc, const RECT& rect, COLORREF c1, COLORREF c2, COLORREF c3, COLORREF c4,
                             COLORREF outer, COLORREF inner) {
    PaintGradientButtonFace(dc, rect, c1, c2, c3, c4, outer, inner);
}

void PaintParentBackground(HWND child, HDC dc) {
    HWND parent = ::GetParent(child);
    if (parent == nullptr) return;
    POINT at = {0, 0};
    ::MapWindowPoints(child, parent, &at, 1);
    POINT old;
    ::OffsetWindowOrgEx(dc, at.x, at.y, &old);
    ::SendMessageA(parent, WM_ERASEBKGND, (WPARAM)dc, 0);
    ::SetWindowOrgEx(dc, old.x, old.y, nullptr);
}

void PaintButtonFaceNormal(HDC dc, const RECT& r) {
    PaintGradientButtonFace(dc, r, 0xFFFFFF, 0xF5F1E9, 0xFFDCC8, 0xCFB8A6, ::GetSysColor(COLOR_3DDKSHADOW), 0xFFFFFF);
}
void PaintButtonFacePressed(COLORREF c, HDC dc, const RECT& r) {
    PaintGradientButtonFace(dc, r, c, c, c, c, ::GetSysColor(COLOR_3DDKSHADOW), 0xFFFFFF);
}
void PaintButtonFaceYellow(HDC dc, const RECT& r) { PaintButtonFacePressed(kFaceYellow, dc, r); }
void PaintButtonFaceOrange(HDC dc, const RECT& r) { PaintButtonFacePressed(kFaceOrange, dc, r); }
void PaintButtonFaceDisabled(HDC dc, const RECT& r) { PaintButtonFacePressed(kFaceDisabled, dc, r); }

int GradientButtonFontHeight(int h) {
    if (h <= 13) return h - 2;
    if (h <= 18) return 12;
    return 14;
}

void DrawGradientPushButton(HDC dc, HWND w) {
    RECT r;
    ::GetClientRect(w, &r);
    PaintParentBackground(w, dc);
    if (::GetWindowLongA(w, 0) != 0 || ::GetWindowLongA(w, 4) != 0)
        PaintButtonFaceYellow(dc, r);
    else
        PaintButtonFaceNormal(dc, r);
    LOGFONTA lf = {};
    lf.lfHeight = GradientButtonFontHeight(r.bottom - r.top);
    lf.lfWeight = 700;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    const char* face = Running().SYSTEMFONT[0] ? Running().SYSTEMFONT : "ＭＳ ゴシック";
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    HFONT font = ::CreateFontIndirectA(&lf);
    HGDIOBJ old = ::SelectObject(dc, font);
    TEXTMETRICA tm;
    ::GetTextMetricsA(dc, &tm);
    const int avg = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 1;
    char text[256] = {};
    int n = ::GetWindowTextA(w, text, 256);
    if (n > r.right / avg) n = (int)DbcsBoundary(text, (size_t)(r.right / avg));
    ::SetTextColor(dc, kFaceText);
    ::SetBkMode(dc, TRANSPARENT);
    ::TextOutA(dc, (r.right - n * avg) / 2 + 2, r.bottom / 2 - tm.tmHeight / 2, text, n);
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    if (::GetFocus() == w) {
        HPEN pen = ::CreatePen(PS_SOLID, 1, 0x7F7F7F);
        HGDIOBJ op = ::SelectObject(dc, pen);
        POINT pts[5] = {{5, 5}, {5, r.bottom - 5}, {r.right - 5, r.bottom - 5}, {r.right - 5, 5}, {5, 5}};
        ::Polyline(dc, pts, 5);
        ::SelectObject(dc, op);
        ::DeleteObject(pen);
    }
}

HIMAGELIST& PushButtonImageList() {
    static HIMAGELIST list = nullptr;
    return list;
}

void DrawButtonImagePair(int image, HDC dc, int x, int y, int width) {
    HIMAGELIST list = PushButtonImageList();
    if (!list) return;
    ImageList_Draw(list, image, dc, x, y, ILD_NORMAL);
    if (width > 76) ImageList_Draw(list, image + 2, dc, width - 76, y, ILD_NORMAL);
}
