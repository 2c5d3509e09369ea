// The 1-D layout engine: a row or column of frames inside a rectangle, each
// frame behind a 5-pixel splitter, kept at or above its minimum along the axis.
// The frame's two packages (bars around a centre) and the package inside every
// bar (docked windows, no centre) share it. It knows frames only through
// IFrame, so the layout rules can be exercised without any window.
#pragma once
#include <windows.h>
#include <memory>
#include <vector>
#include "docking/dock_protocol.h"

namespace zav {

class IFrame {
public:
    virtual ~IFrame() {}
    virtual HWND WindowHandle() = 0;
    virtual bool AcceptDrop(DockRect* request) = 0;
    // Minimum size along the axis of the package that holds this frame.
    virtual int MinExtent() = 0;
    virtual void QueryMinTrackSize(MINMAXINFO* mmi) = 0;
    virtual HDWP DeferMove(HDWP hdwp, int left, int top, int right, int bottom);
};

// One entry of a package: where its span starts along the axis, and the frame.
struct CPtrFrame {
    int position;
    std::unique_ptr<IFrame> frame;
};

// The 5-pixel splitter in front of every frame: its place across the package
// rectangle, its face, and the size cursor shown over it.
class CSimpleSplitterBar {
public:
    static const int kWidth = DOCK_SPLITTER;
    explicit CSimpleSplitterBar(bool horizontal) : m_horizontal(horizontal) {}
    // The bar at `position` along the axis, across the whole of `across`.
    RECT At(int position, const RECT& across) const;
    void Paint(HDC dc, const RECT& r) const;
    // West-east for a package laid left to right, north-south for a stacked one.
    HCURSOR Cursor() const;

private:
    bool m_horizontal;
};

class CWndFramesPackageBase {
public:
    explicit CWndFramesPackageBase(bool horizontal) : m_horizontal(horizontal), m_splitter(horizontal) {}
    virtual ~CWndFramesPackageBase() {}

    bool IsHorizontal() const { return m_horizontal; }
    int Start() const { return m_start; }
    int End() const { return m_end; }
    const RECT& Rect() const { return m_rc; }
    size_t Count() const { return m_frames.size(); }
    int Position(size_t i) const { return m_frames[i].position; }
    IFrame* Frame(size_t i) const { return m_frames[i].frame.get(); }
    int SpanEnd(size_t i) const { return i + 1 < m_frames.size() ? m_frames[i + 1].position : m_end; }
    int Length() const { return m_end - m_start; }
    // Index of the centre frame, or -1 (bars have none).
    int CentreIndex() const;
    bool HasCentre() const { return m_centre != nullptr; }
    int FindWindow(HWND hwnd) const;

    // The coordinate of a point along the axis, and the near/far edges of a rectangle.
    int Axis(POINT pt) const { return m_horizontal ? pt.x : pt.y; }
    int Near(const RECT& r) const { return m_horizontal ? r.left : r.top; }
    int Far(const RECT& r) const { return m_horizontal ? r.right : r.bottom; }

    int MinTotal() const;  // sum of (minimum + 5)
    void QueryMinTrackSize(MINMAXINFO* mmi) const;

    void SetRect(const RECT& rc);
    void Arrange() const;
    // Inserts before index `at` (Count() appends) and arranges nothing. Returns the new index.
    size_t Insert(size_t at, IFrame* frame, int wantedPos, int wantedSize);
    size_t InsertCentre(IFrame* frame, int wantedPos, int wantedSize);
    // Removes the entry; the frame object is handed back to the caller.
    std::unique_ptr<IFrame> Remove(size_t i);

    // Splitter under a point of the package rectangle: the frame index, or -1.
    int HitSplitter(POINT pt) const;
    void MoveRange(size_t i, int* lo, int* hi) const;
    void MoveSplitter(size_t i, int value);
    RECT SplitterRect(size_t i) const;
    void PaintSplitters(HDC dc) const;
    const CSimpleSplitterBar& Splitter() const { return m_splitter; }

protected:
    int MinOf(size_t i) const { return m_frames[i].frame->MinExtent(); }
    int SumMin(size_t from, size_t to) const;  // sum of (minimum + 5) over [from, to)
    void Redistribute(int oldSize, int newSize, int s0, int e0);

    bool m_horizontal;
    CSimpleSplitterBar m_splitter;
    std::vector<CPtrFrame> m_frames;
    IFrame* m_centre = nullptr;
    int m_start = 0;
    int m_end = 0;
    bool m_boundsSet = false;
    RECT m_rc = {0, 0, 0, 0};
};

// The package inside a bar: its frames are the docked windows, it has no centre.
class CSubWndFramesPackage : public CWndFramesPackageBase {
public:
    using CWndFramesPackageBase::CWndFramesPackageBase;
};

// A docked window inside a bar: its minimum is what it answers to WM_GETMINMAXINFO.
class CWndFrame : public IFrame {
public:
    CWndFrame(HWND hwnd, bool horizontal) : m_hwnd(hwnd), m_horizontal(horizontal) {}
    HWND WindowHandle() override { return m_hwnd; }
    bool AcceptDrop(DockRect*) override { return false; }
    int MinExtent() override;
    void QueryMinTrackSize(MINMAXINFO* mmi) override;

private:
    HWND m_hwnd;
    bool m_horizontal;
};

// The MDI client, through the address of the frame's handle variable so that
// the client may be created after the layout.
class CWindowPtrWrapper : public IFrame {
public:
    explicit CWindowPtrWrapper(HWND* phwnd) : m_phwnd(phwnd) {}
    HWND WindowHandle() override { return *m_phwnd; }
    bool AcceptDrop(DockRect*) override { return false; }
    int MinExtent() override;
    void QueryMinTrackSize(MINMAXINFO* mmi) override;
    HDWP DeferMove(HDWP hdwp, int left, int top, int right, int bottom) override;

private:
    HWND* m_phwnd;
};

// An inner package used as the centre of an outer one.
class CFrameWrapper : public IFrame {
public:
    explicit CFrameWrapper(CWndFramesPackageBase* inner) : m_inner(inner) {}
    HWND WindowHandle() override { return nullptr; }
    bool AcceptDrop(DockRect*) override { return true; }
    int MinExtent() override;
    void QueryMinTrackSize(MINMAXINFO* mmi) override { m_inner->QueryMinTrackSize(mmi); }
    HDWP DeferMove(HDWP hdwp, int left, int top, int right, int bottom) override;

private:
    CWndFramesPackageBase* m_inner;
};

// Minimum tracking size a window answers (default processing included).
MINMAXINFO WindowMinMax(HWND hwnd);

}  // namespace zav
