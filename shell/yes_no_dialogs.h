// The yes/no dialogs: small modal questions next to the mouse pointer that
// put the pointer on their default answer.
//   "YesNo0"       a "Yes" and a "No" tool button (UM_CONFIRM_YESNO)
//   CYesNoCanDlg   "Yes", "No" and "ｷｬﾝｾﾙ" as large coloured buttons, also
//                  answered with the keys Y, N and Escape
//   CYesNoDlg      one large button: left click yes, right click no
// Every one of them is asked through ZavAskQuestion, so tests can answer.
#pragma once

#include <windows.h>

// Painter of one large button; its gradient face also serves other button
// faces of the system.
class CYesNoButtonPaint {
public:
    CYesNoButtonPaint() = default;
    CYesNoButtonPaint(const CYesNoButtonPaint&) = delete;
    CYesNoButtonPaint& operator=(const CYesNoButtonPaint&) = delete;
    virtual ~CYesNoButtonPaint();
    virtual void PaintBackground(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom);
    // Face by state (the state face when non-zero), caption, focus frame.
    virtual void Paint(HWND window, HDC dc, int state, const RECT& rect, const char* caption);
    virtual void PaintFace(HDC dc, const RECT& rect, COLORREF c1, COLORREF c2, COLORREF c3, COLORREF c4, COLORREF outer,
                           COLORREF inner);
    virtual void PaintNormalFace(HDC dc, const RECT& rect);
    virtual void PaintGreyFace(HDC dc, const RECT& rect);
    virtual void PaintStateFace(HDC dc, const RECT& rect, int state);
    virtual void PaintOrangeFace(HDC dc, const RECT& rect);
    virtual const char* FaceName() const { return m_faceName; }

    // Takes the font; it is deleted with the painter.
    void SetFont(HFONT font);

    const char* m_faceName = "ＭＳ ゴシック";
    HFONT m_font = nullptr;
    COLORREF m_state1Face = RGB(0, 255, 0);
    COLORREF m_state2Face = RGB(255, 0, 0);
    COLORREF m_normalText = RGB(0, 0, 0);
    COLORREF m_state1Text = RGB(0, 0, 0);
    COLORREF m_state2Text = RGB(255, 255, 255);
};

// Picks CYesNoDlg when the setting YNCMSG is non-zero, else CYesNoCanDlg,
// and runs it modally over the active window: 6 yes; 1001 (CYesNoCanDlg)
// or 7 (CYesNoDlg) no; 2 cancel. The placement flag and position go in and
// come back, so that a caller keeping them gets each next dialog at the
// same place after a "no"; `title` (may be null or empty) is the caption.
// `question` is what a test's answer sees as the text (the title when null).
int RunYesNoDialog(int* placed, int* x, int* y, const char* title, const char* question = nullptr);

// The plain dialog "YesNo0" over the main frame: 6 yes, 7 no, 2 cancel.
// `prompt` is what is asked (shown in the prompt bar by the caller);
// `variant` 1 when asked for the extended question.
int RunYesNoPlainBox(const char* prompt, int placed, int variant);
