#include <algorithm>
#include "docking/dock_bar.h"
#include "docking/docking_frame.h"

namespace zav {

namespace {

const int kDropZone = 20;  // pixels around a splitter or an edge that propose a new bar

size_t FrameContaining(const CWndFramesPackageBase& pkg, int c) {
    size_t at = pkg.Count();
    for (size_t i = 0; i < pkg.Count(); ++i)
        if (c >= pkg.Position(i) && c < pkg.SpanEnd(i)) return i;
    return at;
}

CPackageWindowT* NewBar(CWndFramesPackageBase& pkg, HWND frame) {
    return CPackageWindowT::CreateBar(frame, !pkg.IsHorizontal());
}

}  // namespace

void LimitDragRect(RECT& r, int W, int H) {
    if (r.right - r.left > W / 3) r.right = r.left + W / 3;
    if (r.right - r.left < ::GetSystemMetrics(SM_CXMIN)) r.right = r.left + ::GetSystemMetrics(SM_CXMIN);
    if (r.bottom - r.top > H / 3) r.bottom = r.top + H / 3;
    if (r.bottom - r.top < ::GetSystemMetrics(SM_CYMIN)) r.bottom = r.top + ::GetSystemMetrics(SM_CYMIN);
}

bool FramePackageAccept(CWndFramesPackageBase& pkg, DockRect& r) {
    const POINT pt = {r.rect.left, r.rect.top};
    const int c = pkg.Axis(pt);
    const RECT prc = pkg.Rect();
    RECT wide = prc;
    if (pkg.IsHorizontal()) {
        wide.left -= kDropZone;
        wide.right += kDropZone;
    } else {
        wide.top -= kDropZone;
        wide.bottom += kDropZone;
    }
    size_t at;
    if (::PtInRect(&prc, pt) && pkg.Count() > 0) {
        size_t i = 0;
        for (size_t k = 0; k < pkg.Count(); ++k)
            if (pkg.Position(k) <= c) i = k;
        if (c < pkg.Position(i) + kDropZone) {
            at = i;
        } else if (c <= pkg.SpanEnd(i) - kDropZone) {
            if (static_cast<int>(i) == pkg.CentreIndex()) return false;
            return pkg.Frame(i)->AcceptDrop(&r);
        } else {
            at = i + 1;
        }
    } else if (::PtInRect(&wide, pt)) {
        at = c < pkg.End() ? 0 : pkg.Count();
    } else {
        return false;
    }
    const MINMAXINFO mmi = WindowMinMax(r.hdr.window);
    const int along = pkg.IsHorizontal() ? mmi.ptMinTrackSize.x : mmi.ptMinTrackSize.y;
    const bool fits = wide.right - wide.left >= mmi.ptMinTrackSize.x &&
                      wide.bottom - wide.top >= mmi.ptMinTrackSize.y && along + pkg.MinTotal() < pkg.Length();
    if (!fits) return false;
    const bool isFar = pkg.CentreIndex() < static_cast<int>(at);
    const int w = pkg.Far(r.rect) - pkg.Near(r.rect);
    int a, b;
    if (!isFar) {
        a = pkg.Position(at) + DOCK_SPLITTER;
        b = a + w;
    } else {
        b = at < pkg.Count() ? pkg.Position(at) : pkg.End();
        a = b - w;
    }
    if (pkg.IsHorizontal())
        r.rect = {a, prc.top, b, prc.bottom};
    else
        r.rect = {prc.left, a, prc.right, b};
    r.flags = (r.flags & ~DOCK_RECT_FAR) | (isFar ? DOCK_RECT_FAR : 0);
    return true;
}

bool FramePackageDock(CWndFramesPackageBase& pkg, DockRect& r, HWND frame) {
    CPackageWindowT* bar = NewBar(pkg, frame);
    if (!bar) return false;
    const int s = pkg.Near(r.rect), e = pkg.Far(r.rect);
    const size_t at = FrameContaining(pkg, (r.flags & DOCK_RECT_FAR) ? e : s);
    pkg.Insert(at, new CPackageWindowFrame(bar->m_hWnd, pkg.IsHorizontal()), s, e - s);
    pkg.Arrange();
    DockRect fw = r;
    fw.hdr.bar = bar->m_hWnd;
    fw.hdr.code = DOCK_CODE_DOCK;
    ::GetWindowRect(bar->m_hWnd, &fw.rect);
    return SendDockRequest(bar->m_hWnd, &fw) != 0;
}

bool FramePackageSetPosition(CWndFramesPackageBase& pkg, DockPosition& p, HWND frame) {
    const MINMAXINFO mmi = WindowMinMax(p.hdr.window);
    const int along = pkg.IsHorizontal() ? mmi.ptMinTrackSize.x : mmi.ptMinTrackSize.y;
    if (p.thickness < along) p.thickness = along;
    const int c = pkg.CentreIndex();
    const int count = static_cast<int>(pkg.Count());
    const bool isNear = DockSideIsNear(p.side);
    int t;
    if (isNear) {
        t = std::min(static_cast<int>(p.barIndex), c < 0 ? count - 1 : c);
    } else {
        int sp = count;
        for (uint32_t k = 0; k < p.barIndex && sp - 1 != c && sp > 1; ++k)
            --sp;
        t = sp - 1;
    }
    if (t < 0) return false;
    if (t != c && !(p.side & DOCK_FLAG_SINGLE)) {
        DockPosition fw = p;
        fw.hdr.bar = pkg.Frame(t)->WindowHandle();
        return SendDockRequest(fw.hdr.bar, &fw) != 0;
    }
    CPackageWindowT* bar = NewBar(pkg, frame);
    if (!bar) return false;
    IFrame* entry = new CPackageWindowFrame(bar->m_hWnd, pkg.IsHorizontal());
    const int size = p.thickness + DOCK_SPLITTER;
    if (isNear) {
        pkg.Insert(t, entry, pkg.Position(t), size);
    } else {
        const int next = t + 1 < count ? pkg.Position(t + 1) : pkg.End();
        pkg.Insert(t + 1, entry, std::max(pkg.Start(), next - size), size);
    }
    pkg.Arrange();
    DockPosition fw = p;
    fw.hdr.bar = bar->m_hWnd;
    return SendDockRequest(bar->m_hWnd, &fw) != 0;
}

bool FramePackageGetPosition(CWndFramesPackageBase& pkg, DockPosition& p) {
    const int i = pkg.FindWindow(p.hdr.bar);
    if (i < 0) return false;
    p.thickness = pkg.SpanEnd(i) - pkg.Position(i) - DOCK_SPLITTER;
    if (i < pkg.CentreIndex()) {
        p.side += 2;
        p.barIndex = static_cast<uint32_t>(i);
    } else {
        p.barIndex = static_cast<uint32_t>(pkg.Count() - i - 1);
    }
    return SendDockRequest(p.hdr.bar, &p) != 0;
}

bool FramePackageRemoveBar(CWndFramesPackageBase& pkg, HWND bar) {
    const int i = pkg.FindWindow(bar);
    if (i < 0 || i == pkg.CentreIndex()) return false;
    pkg.Remove(static_cast<size_t>(i));
    pkg.Arrange();
    return true;
}

}  // namespace zav
