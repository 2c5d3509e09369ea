// The prompt and number-entry bar along the bottom of the main frame: the
// running command's prompt, a message, and the number typed on the keyboard.
//
// What it takes is in status_codes.h (a prompt's trailing "(key=value)"
// group is not shown).
#pragma once

#include <windows.h>

#include <string>

#include "command/status_codes.h"
#include "win/message_loop.h"
#include "win/window.h"

constexpr int kStatusBarTextSize = 1024;
constexpr int kStatusBarHeight = 26;

class CCadStatusBar : public CWindowBase, public CMessageFilter, public CIdleHandler {
public:
    struct Pane {
        int width = 0;
        int align = 0;  // 0 left, 2 right
        std::string text;
        std::string saved;
        COLORREF textColor = RGB(0, 0, 0);
        COLORREF background = 0;
        int visible = 1;
        int append = 0;
    };

    CCadStatusBar();
    ~CCadStatusBar() override;

    // The main frame creates it at 0, 0, 200, 30; it lays itself out along
    // the bottom of its parent.
    HWND Create(HWND parent, const RECT& rc, UINT id = 0);
    BOOL PreTranslateMessage(MSG*) override { return FALSE; }
    BOOL OnIdle() override { return FALSE; }
    void DestroyMembers();

    const Pane& GetPane(int i) const { return m_panes[i]; }
    int BarHeight() const { return m_barHeight; }
    // The element count of StatusCode::ElementCount, formatted "%6ld" (shown nowhere).
    const std::string& CountText() const { return m_elementCount; }
    // The message display switch that kStatusCmdToggleMessage flips.
    bool MessageShown() const { return m_messageShown; }

    // The prompt as shown: the text before a final "(...)" group.
    static std::string CleanPrompt(const char* text);

    BEGIN_MSG_MAP(CCadStatusBar)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MSG_WM_SIZE(OnSize)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_CHAR, OnChar)
    MESSAGE_HANDLER(WM_SYSKEYDOWN, OnSysKeyDown)
    MSG_WM_LBUTTONDOWN(OnLButtonDown)
    MSG_WM_RBUTTONDOWN(OnRButtonDown)
    MESSAGE_HANDLER(UM_STATUS_TEXT, OnUser)
    MESSAGE_HANDLER(UM_STATUS_SAVE_TEXTS, OnSaveTexts)
    MESSAGE_HANDLER(UM_STATUS_RESTORE_TEXTS, OnRestoreTexts)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)  // lParam an argument, not a control
    END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT type, int cx, int cy, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPrintClient(UINT, WPARAM, LPARAM, BOOL&);
    void Paint(HDC dc);
    LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnChar(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnSysKeyDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDown(UINT keys, POINT pt, BOOL&);
    LRESULT OnRButtonDown(UINT keys, POINT pt, BOOL&);
    LRESULT OnUser(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSaveTexts(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRestoreTexts(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);

    void SetPaneText(int pane, const char* text);
    void TypeChar(char c);
    void Layout();
    void PaintPane(HDC dc, int k, int left);

    HWND m_grip = nullptr;
    RECT m_gripRect = {};
    bool m_inLayout = false;
    int m_barHeight = 26;
    Pane m_panes[3];
    int m_paneCount = 3;
    HFONT m_font = nullptr;
    std::string m_elementCount;
    bool m_messageShown = true;
};

// The bar created last (the main frame's), or null.
HWND CurrentStatusBarWindow();

// The typed number of the prompt bar.
double GetStatusBarNumber();  // atof; 0 when nothing is typed
long GetStatusBarInteger();   // atol; -1 when nothing is typed
int HasStatusBarInput();      // 1 when something is typed
// Empties the typed number and repaints the bar: the key handling that
// calls it goes on as if nothing had been typed.
void ClearStatusBarInput(HWND statusBar);
