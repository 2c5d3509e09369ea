// The docked application panel, the page builder and the item windows that
// show a page's items (push, check, radio, text; the input items are in
// pbox_input_items.cpp).
#pragma once

#include <windows.h>

#include "command/host_messages.h"
#include "panels/pbox.h"
#include "win/message_loop.h"
#include "win/window.h"

// The window class of every item window (12 bytes of window words: 0 the
// item's state at creation, 4 page index, 8 item index).
constexpr const char* kPanelItemClass = "AppPanelItem";
constexpr UINT kPanelCmdSwallowA = 33025;
constexpr UINT kPanelCmdSwallowB = 33026;

// The docked panel: a child of its pane (control id 200) that hosts the
// item windows of the docked page.
class CAppPanel : public CWindowBase, public CMessageFilter, public CIdleHandler {
public:
    explicit CAppPanel(CWindow* pane = nullptr) : m_pane(pane) {}
    ~CAppPanel() override;
    HWND Create(HWND pane);
    BOOL PreTranslateMessage(MSG*) override { return FALSE; }
    BOOL OnIdle() override { return FALSE; }

    BEGIN_MSG_MAP(CAppPanel)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColor)
    MESSAGE_HANDLER(WM_RBUTTONDOWN, OnRButtonDown)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCtlColor(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
    CWindow* m_pane;
    COLORREF m_panelColor = RGB(212, 208, 200);
    HBRUSH m_panelBrush = nullptr;
};

// Base of the item windows.
class CPanelItem : public CWindowBase {
public:
    CPanelItem();
    ~CPanelItem() override;
    // Creates the item window in `host`; null when it could not be made.
    HWND CreateItem(HWND host, const RECT& rect, int id, const char* text);
    // Which item the window shows (the page's item, or its own one).
    void Bind(PBoxItem* item, int page, int index);
    virtual int GetState() { return -1; }
    virtual int SetState(int) { return -1; }
    virtual int ToggleState() { return -1; }
    // Repaints the window at once.
    void Repaint(bool erase = true);

    PBoxItem* m_item;
    PBoxItem m_own;
    InputRecord* m_input;
    CPanelItem* m_twin = nullptr;
    int m_page = -1;
    int m_index = -1;

protected:
    bool Enabled() const { return m_item->enabled != 0 && ::IsWindowEnabled(m_hWnd); }
    HWND Host() const { return ::GetParent(m_hWnd); }
};

class CAppPanelButton : public CPanelItem {
public:
    int GetState() override { return m_pressed; }
    int SetState(int s) override {
        const int old = m_pressed;
        m_pressed = s;
        return old;
    }
    int ToggleState() override {
        const int old = m_pressed;
        m_pressed = !m_pressed;
        return old;
    }
    // Focus gain and loss: a pressed button let go by the focus is released.
    LRESULT OnFocusChange(UINT, WPARAM, LPARAM, BOOL&);

    BEGIN_MSG_MAP(CAppPanelButton)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
    MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
    MESSAGE_HANDLER(WM_KEYUP, OnKeyUp)
    MESSAGE_HANDLER(WM_GETDLGCODE, OnGetDlgCode)
    MESSAGE_HANDLER(WM_SETFOCUS, OnFocusChange)
    MESSAGE_HANDLER(WM_KILLFOCUS, OnFocusChange)
    MESSAGE_HANDLER(WM_RBUTTONDOWN, OnRButtonDown)
    MESSAGE_HANDLER(WM_RBUTTONUP, OnSwallow)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnSwallow)
    MESSAGE_HANDLER(WM_NCMOUSEMOVE, OnNcMouseMove)
    END_MSG_MAP()

    UINT m_notifyMessage = UM_PANEL_ITEM_EVENT;
    int m_commandFlag = 0;
    char m_faceName[LF_FACESIZE] = "ＭＳ ゴシック";
    COLORREF m_pressedColor = 0x00DEFF;
    int m_pressed = 0;

protected:
    // The face of the item over `r` with `text`, pressed or not.
    void PaintFace(HDC dc, const RECT& r, const char* text, int length, bool pressed);
    virtual LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    virtual LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
    virtual void Paint(HDC dc);
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnKeyDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnKeyUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetDlgCode(UINT, WPARAM, LPARAM, BOOL&) { return DLGC_WANTALLKEYS | DLGC_WANTCHARS; }
    LRESULT OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSwallow(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnNcMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    // The completed push: WM_COMMAND (item id, window) to the host.
    void SendClick();
};

class CAppPanelCheckButton : public CAppPanelButton {
public:
    int GetState() override { return m_item->state; }
    int SetState(int s) override {
        const int old = m_item->state;
        m_item->state = s;
        return old;
    }
    int ToggleState() override {
        const int old = m_item->state;
        m_item->state = old ? 0 : 1;
        return old;
    }

protected:
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) override;
    LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&) override;
};

class CAppPanelRadioButton : public CAppPanelButton {
public:
    CAppPanelRadioButton() { m_pressedColor = 0x00A8FF; }
    // Segment under client x for a client width (never divides by zero).
    static int SegmentAt(int x, int clientWidth, int count);

protected:
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) override;
    LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&) override;
    void Paint(HDC dc) override;
    int SegmentCount();
    int m_segmentWidth = 0;
};

class CAppPanelTextBox : public CPanelItem {
public:
    BEGIN_MSG_MAP(CAppPanelTextBox)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_SETTEXT, OnSetText)
    END_MSG_MAP()

private:
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnSetText(UINT, WPARAM, LPARAM, BOOL&);
};

// The item window object for an item type, or null.
CPanelItem* NewPanelItem(int type);

// Builds the page shownPage (mode 0) or the pop-up copy of the docked page
// (mode 1) into `host`; 1 when at least one item window was made. The
// largest item top goes to outMaxY.
int BuildPBoxPage(HWND host, int* outMaxY, int mode);

// Helpers shared by the item windows.
COLORREF PBoxPenColor(int index);  // the pen colour table entry 0-256
bool PanelCalculatorOpen();
// The per-user switch that lets numeric items open the calculator.
bool PanelCalculatorEnabled();
void PostFocusView();
// Paints a rectangle of single pixels in `color` on every second pixel.
void PaintCheckerboard(HDC dc, const RECT& r, COLORREF color);
