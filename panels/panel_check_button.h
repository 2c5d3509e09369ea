// The tool panel's owner-painted check button ("PanelCheckButton"): a
// gradient face that turns solid yellow while pressed or switched on. Its
// parent decides the switched-on state (window word 4); word 0 is the
// pressed state (0 released, 1 pressed on the button, 2 pressed outside).
#pragma once

#include <windows.h>

#include "win/window.h"

constexpr const char* kPanelCheckButtonClass = "PanelCheckButton";

class CPanelCheckButton : public CWindowBase {
public:
    CPanelCheckButton();
    HWND Create(HWND parent, const RECT& rect, int id, const char* text);
    // Any non-zero flag locks; returns the previous flag.
    int SetLocked(int flag);
    int Locked() const { return m_locked; }
    // Caption font height for a client height.
    static int FontHeight(int clientHeight);

    BEGIN_MSG_MAP(CPanelCheckButton)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
    MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
    MESSAGE_HANDLER(WM_KEYUP, OnKeyUp)
    MESSAGE_HANDLER(WM_GETDLGCODE, OnGetDlgCode)
    MESSAGE_HANDLER(WM_SETFOCUS, OnFocus)
    MESSAGE_HANDLER(WM_KILLFOCUS, OnFocus)
    MESSAGE_HANDLER(WM_RBUTTONDOWN, OnRButtonDown)
    MESSAGE_HANDLER(WM_NCMOUSEMOVE, OnNcMouseMove)
    MESSAGE_HANDLER(WM_RBUTTONUP, OnSwallow)
    MESSAGE_HANDLER(WM_DESTROY, OnSwallow)
    MESSAGE_HANDLER(WM_INITDIALOG, OnSwallow)
    END_MSG_MAP()

    UINT m_notifyMessage = WM_USER + 39;
    int m_clickParamMode = 0;
    char m_faceName[LF_FACESIZE] = "ＭＳ ゴシック";

private:
    int m_locked = 0;
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnKeyDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnKeyUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetDlgCode(UINT, WPARAM, LPARAM, BOOL&) { return DLGC_WANTALLKEYS; }
    LRESULT OnFocus(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSwallow(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    int State() const { return ::GetWindowLongA(m_hWnd, 0); }
    void SetPressed(int s);
    void Click();
};
