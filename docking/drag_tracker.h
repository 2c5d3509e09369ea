// The modal mouse loop shared by splitter and pane-edge drags, the trackers
// that give a drag its meaning, and inverted outlines drawn on the screen.
#pragma once
#include <windows.h>
#include "docking/frames_package.h"

namespace zav {

class IDDTracker {
public:
    virtual ~IDDTracker() {}
    virtual void Begin() {}
    virtual void End(bool cancelled) { (void)cancelled; }
    virtual void MoveTo(int x, int y) = 0;
    virtual void Cancel(int x, int y) {
        (void)x;
        (void)y;
    }
    virtual bool Drop(int x, int y) {
        (void)x;
        (void)y;
        return true;
    }
    virtual bool DropRight(int x, int y) { return Drop(x, y); }
    virtual bool DropLeft(int x, int y) { return Drop(x, y); }
    virtual bool Filter(const MSG& msg) {
        (void)msg;
        return false;
    }
    virtual void Step() = 0;
};

// Runs the drag with `wnd` holding the capture; false when it was cancelled.
bool TrackDragAndDrop(IDDTracker& tracker, HWND wnd);

// Inverts a filled rectangle, or a frame of the given thickness, on the
// screen with the halftone pattern; doing it twice removes it.
void InvertScreenRect(const RECT& r);
void InvertScreenFrame(const RECT& r, int thickness);

// Splitter of a package: range, offset and the live move.
class CSplitterMoveTrackerBase : public IDDTracker {
public:
    // `pt` is the button-down point in `wnd`'s client coordinates.
    CSplitterMoveTrackerBase(CWndFramesPackageBase& pkg, size_t index, POINT pt, HWND wnd);
    void MoveTo(int x, int y) override;
    void Step() override;
    int Current() const { return m_current; }

protected:
    CWndFramesPackageBase& m_pkg;
    size_t m_index;
    int m_lo, m_hi, m_offset, m_current;
    HWND m_wnd;
};

// The splitter moved at every step.
class CSplitterMoveTrackerFull : public CSplitterMoveTrackerBase {
public:
    using CSplitterMoveTrackerBase::CSplitterMoveTrackerBase;
};

// The same with only an outline moving; the package moves once at the end.
class CSplitterMoveTrackerGhost : public CSplitterMoveTrackerFull {
public:
    using CSplitterMoveTrackerFull::CSplitterMoveTrackerFull;
    void Begin() override;
    void End(bool cancelled) override;
    void Step() override;

private:
    RECT OutlineAt(int pos) const;
    int m_drawn = 0;
};

// Runs a splitter drag over a package in the drag mode of the settings.
void DragPackageSplitter(CWndFramesPackageBase& pkg, size_t index, POINT pt, HWND wnd);

// The edge of a slid-out auto-hide pane that faces the frame's interior.
class CSizeTrackerFull : public IDDTracker {
public:
    // rc: the pane in its parent's client coordinates; limits: the layout rectangle.
    CSizeTrackerFull(HWND pane, const RECT& rc, int side, const RECT& limits, POINT pt);
    void MoveTo(int x, int y) override;
    bool Filter(const MSG& msg) override { return msg.message == WM_TIMER; }
    void Step() override;
    const RECT& PaneRect() const { return m_rc; }

protected:
    LONG& Edge();
    HWND m_pane;
    RECT m_rc;
    int m_side;
    int m_lo, m_hi, m_offset;
};

class CSizeTrackerGhost : public CSizeTrackerFull {
public:
    using CSizeTrackerFull::CSizeTrackerFull;
    void Begin() override;
    void End(bool cancelled) override;
    void Step() override;

private:
    RECT Outline() const;
    RECT m_drawn = {0, 0, 0, 0};
};

}  // namespace zav
