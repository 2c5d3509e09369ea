#include "docking/frames_package.h"
#include <algorithm>
#include "docking/docking_settings.h"

namespace zav {

HDWP IFrame::DeferMove(HDWP hdwp, int left, int top, int right, int bottom) {
    HWND w = WindowHandle();
    if (!w) return hdwp;
    return ::DeferWindowPos(hdwp, w, nullptr, left, top, right - left, bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
}

MINMAXINFO WindowMinMax(HWND hwnd) {
    MINMAXINFO mmi = {};
    if (hwnd) ::SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    return mmi;
}

int CWndFrame::MinExtent() {
    // Inside a bar the bar answers for its window (code 13), so that its layout
    // and its splitter drags ask the way every other placement question goes.
    DockRequestHeader h = {m_hwnd, ::GetParent(m_hwnd), DOCK_CODE_MIN_DISTANCE};
    if (h.bar) {
        const LRESULT v = SendDockRequest(h.bar, &h);
        if (v > 0) return static_cast<int>(v);
    }
    MINMAXINFO mmi = WindowMinMax(m_hwnd);
    return m_horizontal ? mmi.ptMinTrackSize.x : mmi.ptMinTrackSize.y;
}

void CWndFrame::QueryMinTrackSize(MINMAXINFO* mmi) { *mmi = WindowMinMax(m_hwnd); }

int CWindowPtrWrapper::MinExtent() {
    MINMAXINFO mmi = {};
    QueryMinTrackSize(&mmi);
    return mmi.ptMinTrackSize.x;
}

void CWindowPtrWrapper::QueryMinTrackSize(MINMAXINFO* mmi) {
    if (*m_phwnd) ::SendMessageA(*m_phwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(mmi));
}

HDWP CWindowPtrWrapper::DeferMove(HDWP hdwp, int left, int top, int right, int bottom) {
    if (!*m_phwnd) return hdwp;
    return IFrame::DeferMove(hdwp, left, top, right, bottom);
}

int CFrameWrapper::MinExtent() {
    MINMAXINFO mmi = {};
    m_inner->QueryMinTrackSize(&mmi);
    return m_inner->IsHorizontal() ? mmi.ptMinTrackSize.y : mmi.ptMinTrackSize.x;
}

HDWP CFrameWrapper::DeferMove(HDWP hdwp, int left, int top, int right, int bottom) {
    RECT r = {left, top, right, bottom};
    m_inner->SetRect(r);
    return hdwp;
}

int CWndFramesPackageBase::CentreIndex() const {
    for (size_t i = 0; i < m_frames.size(); ++i)
        if (m_frames[i].frame.get() == m_centre) return static_cast<int>(i);
    return -1;
}

int CWndFramesPackageBase::FindWindow(HWND hwnd) const {
    if (!hwnd) return -1;
    for (size_t i = 0; i < m_frames.size(); ++i)
        if (m_frames[i].frame->WindowHandle() == hwnd) return static_cast<int>(i);
    return -1;
}

int CWndFramesPackageBase::SumMin(size_t from, size_t to) const {
    int s = 0;
    for (size_t i = from; i < to && i < m_frames.size(); ++i)
        s += MinOf(i) + DOCK_SPLITTER;
    return s;
}

int CWndFramesPackageBase::MinTotal() const { return SumMin(0, m_frames.size()); }

void CWndFramesPackageBase::QueryMinTrackSize(MINMAXINFO* mmi) const {
    LONG along = 0, across = 0;
    for (const CPtrFrame& e : m_frames) {
        MINMAXINFO m = {};
        e.frame->QueryMinTrackSize(&m);
        along += (m_horizontal ? m.ptMinTrackSize.x : m.ptMinTrackSize.y) + DOCK_SPLITTER;
        across = std::max(across, m_horizontal ? m.ptMinTrackSize.y : m.ptMinTrackSize.x);
    }
    along -= DOCK_SPLITTER;  // the first splitter lies outside the rectangle
    if (along < 0) along = 0;
    mmi->ptMinTrackSize.x = m_horizontal ? along : across;
    mmi->ptMinTrackSize.y = m_horizontal ? across : along;
}

void CWndFramesPackageBase::Redistribute(int oldSize, int newSize, int s0, int e0) {
    if (m_frames.empty()) return;
    const int p0 = m_frames[0].position;
    m_frames[0].position = s0;
    int lowest = s0 + MinOf(0) + DOCK_SPLITTER;
    int highest = e0 - SumMin(1, m_frames.size());
    for (size_t i = 1; i < m_frames.size(); ++i) {
        int pos = m_frames[i].position + (s0 - p0);
        int v = oldSize > 0 ? s0 + ::MulDiv(pos - s0, newSize, oldSize) : pos;
        if (v < lowest) v = lowest;
        if (v > highest) v = highest;
        m_frames[i].position = v;
        const int step = MinOf(i) + DOCK_SPLITTER;
        lowest = v + step;
        highest += step;
    }
}

void CWndFramesPackageBase::SetRect(const RECT& rc) {
    if (m_centre && m_boundsSet && ::EqualRect(&rc, &m_rc)) return;
    m_rc = rc;
    const int ns = Near(rc) - DOCK_SPLITTER;
    int ne = Far(rc);
    const int minTotal = MinTotal();
    if (ne - ns < minTotal) ne = ns + minTotal;
    if (!m_boundsSet) {
        m_boundsSet = true;
    } else if (!m_centre) {
        Redistribute(m_end - m_start, ne - ns, ns, ne);
    } else {
        const int oldSize = m_end - m_start;
        int d = (ne - ns) - oldSize;
        const int c = CentreIndex();
        if (d < 0) {
            const int slack = std::max(0, SpanEnd(c) - m_frames[c].position - MinOf(c) - DOCK_SPLITTER);
            if (-d > slack) d = -slack;
        }
        for (size_t i = c + 1; i < m_frames.size(); ++i)
            m_frames[i].position += d;
        Redistribute(oldSize + d, ne - ns, ns, ne);
    }
    m_start = ns;
    m_end = ne;
    if (!m_frames.empty()) m_frames[0].position = m_start;
    Arrange();
}

void CWndFramesPackageBase::Arrange() const {
    if (m_frames.empty()) return;
    HDWP h = ::BeginDeferWindowPos(static_cast<int>(m_frames.size()));
    if (!h) return;
    for (size_t i = 0; i < m_frames.size(); ++i) {
        const int a = m_frames[i].position + DOCK_SPLITTER;
        const int b = i + 1 < m_frames.size() ? m_frames[i + 1].position : Far(m_rc);
        h = m_horizontal ? m_frames[i].frame->DeferMove(h, a, m_rc.top, b, m_rc.bottom)
                         : m_frames[i].frame->DeferMove(h, m_rc.left, a, m_rc.right, b);
        if (!h) return;
    }
    ::EndDeferWindowPos(h);
}

size_t CWndFramesPackageBase::Insert(size_t at, IFrame* frame, int wantedPos, int size) {
    at = std::min(at, m_frames.size());
    if (size < 0) size = 0;
    const int c = CentreIndex();
    if (c >= 0) {
        const int slack = std::max(0, SpanEnd(c) - m_frames[c].position - MinOf(c) - DOCK_SPLITTER);
        if (size > slack) size = slack;
        if (static_cast<size_t>(c) >= at) {
            for (size_t i = at; i <= static_cast<size_t>(c); ++i)
                m_frames[i].position += size;
        } else {
            for (size_t i = c + 1; i < at; ++i)
                m_frames[i].position -= size;
        }
    }
    const int lo = m_start + SumMin(0, at);
    const int hi = m_end - SumMin(at, m_frames.size());
    if (size > hi - lo) size = std::max(0, hi - lo);
    int p = std::max(wantedPos, lo);
    if (p + size > hi) p = hi - size;
    // Push the following frames forward and the earlier ones back where they would overlap.
    for (size_t k = m_frames.size(); k-- > at;)
        m_frames[k].position = std::max(m_frames[k].position, p + size + SumMin(at, k));
    for (size_t k = 0; k < at; ++k)
        m_frames[k].position = std::min(m_frames[k].position, p - SumMin(k, at));
    CPtrFrame e;
    e.position = at == 0 ? m_start : p;
    e.frame.reset(frame);
    m_frames.insert(m_frames.begin() + at, std::move(e));
    return at;
}

size_t CWndFramesPackageBase::InsertCentre(IFrame* frame, int wantedPos, int wantedSize) {
    size_t at = 0;
    while (at < m_frames.size() && m_frames[at].position < wantedPos)
        ++at;
    size_t i = Insert(at, frame, wantedPos, wantedSize);
    m_centre = frame;
    return i;
}

std::unique_ptr<IFrame> CWndFramesPackageBase::Remove(size_t i) {
    std::unique_ptr<IFrame> out;
    if (i >= m_frames.size()) return out;
    const int span = SpanEnd(i) - m_frames[i].position;
    const int c = CentreIndex();
    if (c >= 0 && static_cast<size_t>(c) != i) {
        if (static_cast<size_t>(c) > i) {
            for (size_t k = i + 1; k <= static_cast<size_t>(c); ++k)
                m_frames[k].position -= span;
        } else {
            for (size_t k = c + 1; k < i; ++k)
                m_frames[k].position += span;
        }
    }
    if (m_frames[i].frame.get() == m_centre) m_centre = nullptr;
    out = std::move(m_frames[i].frame);
    m_frames.erase(m_frames.begin() + i);
    if (!m_frames.empty()) m_frames[0].position = m_start;
    return out;
}

int CWndFramesPackageBase::HitSplitter(POINT pt) const {
    if (!::PtInRect(&m_rc, pt)) return -1;
    const int v = Axis(pt);
    int found = -1;
    for (size_t i = 0; i < m_frames.size(); ++i)
        if (m_frames[i].position <= v) found = static_cast<int>(i);
    if (found < 0) return -1;
    const int p = m_frames[found].position;
    return (v >= p && v < p + DOCK_SPLITTER) ? found : -1;
}

void CWndFramesPackageBase::MoveRange(size_t i, int* lo, int* hi) const {
    *lo = m_start + SumMin(0, i);
    *hi = m_end - SumMin(i, m_frames.size());
}

void CWndFramesPackageBase::MoveSplitter(size_t i, int value) {
    if (i >= m_frames.size()) return;
    m_frames[i].position = value;
    for (size_t k = 0; k < i; ++k)
        m_frames[k].position = std::min(m_frames[k].position, value - SumMin(k, i));
    for (size_t k = m_frames.size(); k-- > i + 1;)
        m_frames[k].position = std::max(m_frames[k].position, value + SumMin(i, k));
}

RECT CSimpleSplitterBar::At(int p, const RECT& across) const {
    RECT r = across;
    if (m_horizontal) {
        r.left = p;
        r.right = p + kWidth;
    } else {
        r.top = p;
        r.bottom = p + kWidth;
    }
    return r;
}

void CSimpleSplitterBar::Paint(HDC dc, const RECT& r) const { ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE)); }

HCURSOR CSimpleSplitterBar::Cursor() const {
    const CDockingSettings& s = CDockingSettings::Instance();
    return m_horizontal ? s.hCursorWE : s.hCursorNS;
}

RECT CWndFramesPackageBase::SplitterRect(size_t i) const { return m_splitter.At(m_frames[i].position, m_rc); }

// The first splitter lies outside the rectangle and is never painted.
void CWndFramesPackageBase::PaintSplitters(HDC dc) const {
    for (size_t i = 1; i < m_frames.size(); ++i)
        m_splitter.Paint(dc, SplitterRect(i));
}

}  // namespace zav
