// The prompt and number-entry bar CCadStatusBar: the running command's
// name, its prompt, the number being typed and the element count.
//
// Messages it answers (no result is relied on):
//   WM_USER, wParam 1, lParam text or 0    command name (0 clears)
//   WM_USER, wParam 2, lParam text or 0    prompt (0 or "" shows message 5000)
//   WM_USER, wParam 3, lParam character    digit, '-' or '.' typed; 0 empties
//   WM_USER, wParam 5, lParam number       element count, shown as "%6ld"
//   WM_USER+1 (1025)                       saves the prompt and command texts
//   WM_USER+2 (1026)                       restores them and repaints
//   WM_COMMAND 2000, code 2, lParam buf    copies the typed text (1024 bytes)
//   WM_COMMAND 100, lParam 0               command name cleared, default prompt
//   WM_COMMAND 1010                        flips the count display and asks
//                                          the main frame to lay out again
#pragma once

#include <windows.h>

#include <string>

#include "win/window.h"

constexpr int kStatusBarTextSize = 1024;

class CCadStatusBar : public CWindowBase {
 public:
    CCadStatusBar() = default;
    ~CCadStatusBar() override;

    // Creates the bar as a child of `parent` (the main frame places it at
    // 0, 0, 200, 30).
    HWND Create(HWND parent, const RECT& rect, UINT id = 0);
    void DestroyMembers();

    // What the bar shows now (for painting and tests).
    const std::string& CommandName() const { return m_command; }
    const std::string& Prompt() const { return m_prompt; }
    const std::string& Number() const { return m_number; }
    const std::string& CountText() const { return m_countText; }
    bool CountShown() const { return m_showCount; }

    BEGIN_MSG_MAP(CCadStatusBar)
        MESSAGE_HANDLER(WM_USER, OnSetField)
        MESSAGE_HANDLER(WM_USER + 1, OnSaveTexts)
        MESSAGE_HANDLER(WM_USER + 2, OnRestoreTexts)
        COMMAND_HANDLER(2000, 2, OnGetTypedText)
        COMMAND_ID_HANDLER(100, OnResetTexts)
        COMMAND_ID_HANDLER(1010, OnToggleDisplay)
        MESSAGE_HANDLER(WM_PAINT, OnPaint)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    END_MSG_MAP()

 private:
    LRESULT OnSetField(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSaveTexts(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRestoreTexts(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetTypedText(WORD, WORD, HWND, BOOL&);
    LRESULT OnResetTexts(WORD, WORD, HWND, BOOL&);
    LRESULT OnToggleDisplay(WORD, WORD, HWND, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    void SetPrompt(const char* text);
    void TypeChar(int ch);

    std::string m_command;
    std::string m_prompt;
    std::string m_number;
    std::string m_countText;
    std::string m_savedCommand;
    std::string m_savedPrompt;
    bool m_hasSaved = false;
    bool m_showCount = true;
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
// Empties the typed text and repaints the field.
void ClearStatusBarInput(HWND statusBar);
