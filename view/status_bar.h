// The prompt and number-entry bar CCadStatusBar along the bottom of the main
// frame. Three panes: 0 the prompt, 1 a message (the command name), 2 the
// number typed on the keyboard.
//
// Messages it answers (no result is relied on):
//   WM_USER code 1, lParam text or 0    pane 1 (0 or "" empties it)
//   WM_USER code 2, lParam text or 0    prompt (0 or "" shows message 5000);
//                                       a trailing "(...)" group is dropped
//   WM_USER code 3, lParam character    typed digit, '-' or '.'; 0 empties
//   WM_USER code 5, lParam number       element count, formatted "%6ld"
//   WM_USER code 6                      backspace in the typed number
//   WM_USER+1 (1025) / WM_USER+2 (1026) save / restore panes 0 and 1
//   WM_COMMAND 2000, code = pane, lParam buffer of 1024 bytes: the pane text
//   WM_COMMAND 2001 / 2002, code = pane: visible / append flag = lParam != 0
//   WM_COMMAND 100                      pane 1 emptied, default prompt
//   WM_COMMAND 1000                     ends the running command
//   WM_COMMAND 1010                     flips the message display switch and
//                                       asks the main frame to lay out again
#pragma once

#include <windows.h>

#include <string>

#include "win/window.h"

constexpr int kStatusBarTextSize = 1024;
constexpr int kStatusBarHeight = 26;

class CCadStatusBar : public CWindowBase {
 public:
    struct Pane {
        int width = 0;
        std::string text;
        std::string saved;
        COLORREF textColor = RGB(0, 0, 0);
        COLORREF background = 0;
        bool visible = true;
        bool append = false;
    };

    CCadStatusBar();
    ~CCadStatusBar() override;

    // Creates the bar as a child of `parent` (the main frame creates it at
    // 0, 0, 200, 30 and lays it out along its bottom edge).
    HWND Create(HWND parent, const RECT& rect, UINT id = 0);
    void DestroyMembers();

    const Pane& GetPane(int index) const { return m_panes[index]; }
    const std::string& CountText() const { return m_countText; }
    // The message display switch that WM_COMMAND 1010 flips. Interim form:
    // kept here until the status-bar setting is reachable.
    bool MessageShown() const { return m_messageShown; }

    BEGIN_MSG_MAP(CCadStatusBar)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_USER, OnSetField)
        MESSAGE_HANDLER(WM_USER + 1, OnSaveTexts)
        MESSAGE_HANDLER(WM_USER + 2, OnRestoreTexts)
        COMMAND_ID_HANDLER(2000, OnGetPaneText)
        COMMAND_ID_HANDLER(2001, OnSetPaneVisible)
        COMMAND_ID_HANDLER(2002, OnSetPaneAppend)
        COMMAND_ID_HANDLER(100, OnResetTexts)
        COMMAND_ID_HANDLER(1000, OnEndCommand)
        COMMAND_ID_HANDLER(1010, OnToggleDisplay)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_CHAR, OnChar)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    END_MSG_MAP()

 private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetField(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSaveTexts(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRestoreTexts(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetPaneText(WORD, WORD, HWND, BOOL&);
    LRESULT OnSetPaneVisible(WORD, WORD, HWND, BOOL&);
    LRESULT OnSetPaneAppend(WORD, WORD, HWND, BOOL&);
    LRESULT OnResetTexts(WORD, WORD, HWND, BOOL&);
    LRESULT OnEndCommand(WORD, WORD, HWND, BOOL&);
    LRESULT OnToggleDisplay(WORD, WORD, HWND, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnChar(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    void SetPrompt(const char* text);
    void TypeChar(int ch);
    void Layout();

    Pane m_panes[3];
    std::string m_countText;
    bool m_messageShown = true;
    HFONT m_font = nullptr;
};

// The bar created last (the main frame's), or null. Interim form of the
// lookup the helpers below use until the frame's handle is reachable.
HWND CurrentStatusBarWindow();

// Non-zero when the prompt bar holds typed text.
int HasStatusBarInput();
// The typed number (atof); 0 when nothing is typed.
double GetStatusBarNumber();
// The typed number as an integer (atol); -1 when nothing is typed.
long GetStatusBarInteger();
// Empties the typed number of the bar and repaints it.
void ClearStatusBarInput(HWND statusBar);
