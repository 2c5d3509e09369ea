// The look shared by the system's small modal dialogs: the client area in
// the panel colour of the settings, the OK button and a button 1000 drawn as
// coloured owner-drawn buttons, labels on the panel colour, and, when the
// dialog asks for it, centring over the parent window.
//
//   class CVersionInfoDlg : public CDialogBase<CVersionInfoDlg> {
//     BEGIN_MSG_MAP(CVersionInfoDlg)
//       MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)  // clears `handled`
//       COMMAND_ID_HANDLER(IDOK, OnCloseCmd)
//       CHAIN_MSG_MAP(CDialogBase<CVersionInfoDlg>)
//     END_MSG_MAP()
//   };
//
// A dialog whose own handler keeps a message (leaves `handled` set) gets
// nothing of the base for it.
#pragma once

#include <windows.h>

#include "win/dialog.h"

// The colours and button faces belong to the settings and the UI library
// above this framework; the application fills these at start-up. Empty
// entries (unit tests) leave the platform's button face and buttons.
struct DialogLookHooks {
    COLORREF (*panelColor)() = nullptr;
    // Row 0 of the button colours (the OK button).
    void (*drawOkButton)(const DRAWITEMSTRUCT* item) = nullptr;
    // The colours of a button kind (0: button 1000).
    void (*drawKindButton)(const DRAWITEMSTRUCT* item, int kind) = nullptr;
};
DialogLookHooks& DialogLook();
// The panel colour of the settings (the button face without the hook).
COLORREF DialogPanelColor();

// Centres `dialog` over `parent`: over its client area when the dialog is a
// child, over the parent window when that is visible and not minimised,
// else over the work area of the dialog's monitor; the result is kept
// inside that work area (right and bottom edges first, then left and top).
void CenterDialogOver(HWND dialog, HWND parent);

// Paints the owner-drawn OK button (row 0 of the button colours) and button
// 1000 (button kind 0); other controls are left alone.
void DrawDialogBaseButton(const DRAWITEMSTRUCT* item);

template <class T>
class CDialogBase : public CDialog {
public:
    explicit CDialogBase(UINT templateId, HINSTANCE instance = nullptr) : CDialog(templateId, instance) {}
    ~CDialogBase() override {
        if (m_backBrush) ::DeleteObject(m_backBrush);
    }

    // The base's handling of one message; TRUE when it took the message,
    // with its answer in `result`.
    BOOL HandleBaseMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        m_baseHandled = FALSE;
        result = 0;
        switch (msg) {
        case WM_ERASEBKGND: {
            RECT rc;
            ::GetClientRect(m_hWnd, &rc);
            HBRUSH brush = ::CreateSolidBrush(DialogPanelColor());
            HDC dc = (HDC)wParam;
            HGDIOBJ oldBrush = ::SelectObject(dc, brush);
            HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(NULL_PEN));
            ::Rectangle(dc, rc.left, rc.top, rc.right + 2, rc.bottom + 2);  // one pixel more: no outline
            ::SelectObject(dc, oldPen);
            ::SelectObject(dc, oldBrush);
            ::DeleteObject(brush);
            m_baseHandled = TRUE;
            return TRUE;
        }
        case WM_DRAWITEM:
            // Drawn, but left to the dialog's own map too.
            DrawDialogBaseButton(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return FALSE;
        case WM_INITDIALOG:
            if (!m_backBrush) m_backBrush = ::CreateSolidBrush(DialogPanelColor());
            for (int id : {IDOK, 1000})
                if (HWND button = ::GetDlgItem(m_hWnd, id)) {
                    LONG style = ::GetWindowLongA(button, GWL_STYLE);
                    ::SetWindowLongA(button, GWL_STYLE, (style & ~0x0F) | BS_OWNERDRAW);
                }
            if (m_centerFlag) CenterDialogOver(m_hWnd, ::GetParent(m_hWnd));
            m_baseHandled = TRUE;
            return TRUE;
        case WM_CTLCOLORBTN: {
            const int id = ::GetDlgCtrlID((HWND)lParam);
            if (id == IDOK || id == 1000) {
                ::SetBkColor((HDC)wParam, RGB(0, 0, 255));
                ::SetTextColor((HDC)wParam, RGB(0, 0, 0));
                result = (LRESULT)m_backBrush;
            }
            m_baseHandled = TRUE;
            return TRUE;
        }
        case WM_CTLCOLORSTATIC:
            ::SetBkColor((HDC)wParam, DialogPanelColor());
            ::SetTextColor((HDC)wParam, RGB(0, 0, 0));
            result = (LRESULT)(m_backBrush ? m_backBrush : ::GetSysColorBrush(COLOR_BTNFACE));
            m_baseHandled = TRUE;
            return TRUE;
        }
        return FALSE;
    }

    BOOL ProcessWindowMessage(HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD mapId = 0) override {
        if (mapId != 0) return FALSE;
        const BOOL saved = m_baseHandled;
        const BOOL took = HandleBaseMessage(msg, wParam, lParam, result);
        m_baseHandled = saved;
        return took;
    }

    HBRUSH BackBrush() const { return m_backBrush; }
    bool CenterFlag() const { return m_centerFlag != 0; }

protected:
    HBRUSH m_backBrush = nullptr;
    int m_centerFlag = 0;
    BOOL m_baseHandled = FALSE;
};
