// Pinned windows: labels on strips along the frame's four edges, and the
// manager window in which a pinned window slides out over the frame while the
// mouse rests on its label.
#pragma once
#include <windows.h>
#include <memory>
#include <string>
#include <vector>
#include "docking/caption.h"
#include "docking/dock_protocol.h"
#include "win/window.h"

namespace zav {

// The width a label asks for: text extent cx of a text of `bytes` bytes, with
// an icon or without. An empty text asks for no room for its characters.
int DesiredLabelWidth(int cx, size_t bytes, bool icon);
// Label widths along a strip of length L: one label takes L - 6; many share
// the length when their wishes do not fit.
std::vector<int> PinnedLabelWidths(int L, const std::vector<int>& desired);

struct PinnedRecord {
    int paneSize = 0;
    HWND hwnd = nullptr;
    HICON icon = nullptr;
    std::string text;
};

class IPinnedLabel {
public:
    virtual ~IPinnedLabel() {}
    virtual PinnedRecord& Record() = 0;
    virtual int Width() const = 0;
    virtual void SetWidth(int w) = 0;
    virtual int DesiredWidth(HDC dc) const = 0;
    virtual void Draw(HDC dc, const RECT& rc, int side, HFONT font) const = 0;
};

class CSinglePinnedLabel : public IPinnedLabel {
public:
    explicit CSinglePinnedLabel(const PinnedRecord& r) : m_rec(r) {}
    PinnedRecord& Record() override { return m_rec; }
    int Width() const override { return m_width; }
    void SetWidth(int w) override { m_width = w; }
    int DesiredWidth(HDC dc) const override;
    void Draw(HDC dc, const RECT& rc, int side, HFONT font) const override;

private:
    PinnedRecord m_rec;
    int m_width = 0;
};

// The window in which a pinned window slides out: a caption whose pin button
// (icon 205) docks the window again, and a 5-pixel edge splitter on the side
// that faces the frame's interior. The manager below adds the strips.
class CAutoHidePaneImpl : public CWindowBase {
public:
    CAutoHidePaneImpl() : m_caption(0) {}
    COutlookLikeExCaption& Caption() { return m_caption; }

    BEGIN_MSG_MAP(CAutoHidePaneImpl)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_NCCALCSIZE, OnNcCalcSize)
    MESSAGE_HANDLER(WM_NCHITTEST, OnNcHitTest)
    MESSAGE_HANDLER(WM_NCPAINT, OnNcPaint)
    MESSAGE_HANDLER(WM_PRINT, OnPrint)
    MESSAGE_HANDLER(WM_NCMOUSEMOVE, OnNcMouseMove)
    MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
    MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
    MESSAGE_HANDLER(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
    MESSAGE_HANDLER(WM_SETTEXT, OnSetTextOrIcon)
    MESSAGE_HANDLER(WM_SETICON, OnSetTextOrIcon)
    MESSAGE_HANDLER(WM_NCACTIVATE, OnNcActivate)
    MESSAGE_HANDLER(WM_SYSCOLORCHANGE, OnSettingChange)
    MESSAGE_HANDLER(WM_SETTINGCHANGE, OnSettingChange)
    END_MSG_MAP()

protected:
    RECT SplitterRect() const;  // window coordinates
    int OutSide() const { return m_outSide; }

    COutlookLikeExCaption m_caption;
    int m_outSide = 0;  // the strip side of the pane that is out

private:
    LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcCalcSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcHitTest(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPrint(UINT, WPARAM, LPARAM, BOOL&);
    void DrawNc(HDC dc);
    LRESULT OnNcMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetMinMaxInfo(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcLButtonDblClk(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnSetTextOrIcon(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcActivate(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnSettingChange(UINT, WPARAM, LPARAM, BOOL&);
};

class CAutoHideManager : public CAutoHidePaneImpl {
public:
    struct Strip {
        int side = 0;
        RECT rc = {0, 0, 0, 0};
        std::vector<std::unique_ptr<IPinnedLabel>> labels;
    };

    CAutoHideManager();
    bool CreateIn(HWND frame);
    void MeasureThickness();
    int Thickness() const { return m_thickness; }
    // Thickness a strip takes from the frame (0 while it has no labels).
    int StripTaken(int side) const { return m_strips[side].labels.empty() ? 0 : m_thickness; }
    const Strip& GetStrip(int side) const { return m_strips[side & 3]; }
    const RECT& LayoutRect() const { return m_rcLayout; }
    HWND OutWindow() const { return m_out ? m_out->hwnd : nullptr; }

    // Takes the strips' space from rc (frame client coordinates) and places a pane that is out.
    void LayoutStrips(RECT& rc);
    // All strips with labels, with the corner squares.
    void PaintStrips(HDC dc);

    bool PinUp(DockPinRequest& r);
    bool GetPosition(DockPosition& p);
    // Frame's mouse move (client point): true when a label is under it.
    bool TrackHover(POINT pt);
    // Frame's hover (client point).
    void OnHover(POINT pt);
    // Slides the pane of a pinned window out (as its label's hover would).
    bool ShowPane(HWND pinned, bool animate);
    void HidePane();
    bool Unpin(HWND w, bool redock);
    // The label under a frame client point, and its strip.
    IPinnedLabel* LabelAt(POINT pt, int* side = nullptr);

    BEGIN_MSG_MAP(CAutoHideManager)
    MESSAGE_HANDLER(UM_DOCKING_REQUEST, OnDockingRequest)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    MESSAGE_HANDLER(WM_NCLBUTTONDOWN, OnNcLButtonDown)
    MESSAGE_HANDLER(WM_PARENTNOTIFY, OnParentNotify)
    CHAIN_MSG_MAP(CAutoHidePaneImpl)
    END_MSG_MAP()

private:
    LRESULT OnDockingRequest(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnParentNotify(UINT, WPARAM, LPARAM, BOOL&);
    void RemoveLabel(Strip& s, size_t i);

    void LayoutLabels(Strip& s);
    void PaintStrip(HDC dc, const Strip& s);
    void RefreshStrip(Strip& s);
    // Where the manager goes when the pane of a side slides out.
    RECT OutRect(int side, int paneSize) const;
    HFONT StripFont(int side) const;

    HWND m_frame = nullptr;
    Strip m_strips[4];
    int m_thickness = 0;
    RECT m_rcLayout = {0, 0, 0, 0};
    PinnedRecord* m_out = nullptr;
    IPinnedLabel* m_hover = nullptr;
    bool m_destroying = false;
};

}  // namespace zav
