// What the prompt bar understands: a WM_USER message whose wParam says what
// lParam carries, two messages that keep and bring back its texts, and a few
// WM_COMMAND ids. Senders use the helpers below rather than the numbers.
#pragma once

#include <windows.h>

// The message the typed helpers send (wParam a StatusCode).
constexpr UINT UM_STATUS_TEXT = WM_USER;
// Keep the texts of the prompt and message panes, and bring them back.
constexpr UINT UM_STATUS_SAVE_TEXTS = WM_USER + 1;
constexpr UINT UM_STATUS_RESTORE_TEXTS = WM_USER + 2;

enum class StatusCode : WPARAM {
    Message = 1,   // lParam the text; null or empty clears the pane
    Prompt = 2,    // lParam the text; null or empty: the default prompt
    TypeChar = 3,  // lParam a typed character; 0 empties the typed number
    Nothing = 4,
    ElementCount = 5,  // lParam the count
    Backspace = 6,     // the last typed byte goes
};

// The bar's panes, left to right.
enum StatusPane : int { kStatusPanePrompt = 0, kStatusPaneMessage = 1, kStatusPaneTyped = 2 };

// WM_COMMAND ids the bar takes (HIWORD the pane where noted).
enum StatusBarCommand : int {
    kStatusCmdResetTexts = 100,
    kStatusCmdEndCommand = 1000,  // also the bar's own pop-up item
    kStatusCmdToggleMessage = 1010,
    kStatusCmdCopyPane = 2000,     // into lParam (kStatusBarTextSize bytes)
    kStatusCmdPaneVisible = 2001,  // lParam non-zero shows the pane
    kStatusCmdPaneAppend = 2002,   // lParam non-zero: typing appends
};

inline LRESULT SendStatusCode(HWND bar, StatusCode code, LPARAM arg = 0) {
    return ::SendMessageA(bar, UM_STATUS_TEXT, static_cast<WPARAM>(code), arg);
}
inline LRESULT SetStatusMessage(HWND bar, const char* text) {
    return SendStatusCode(bar, StatusCode::Message, reinterpret_cast<LPARAM>(text));
}
inline LRESULT SetStatusPrompt(HWND bar, const char* text) {
    return SendStatusCode(bar, StatusCode::Prompt, reinterpret_cast<LPARAM>(text));
}
// A character typed into the number field; 0 empties the field.
inline LRESULT TypeStatusChar(HWND bar, unsigned char c) {
    return SendStatusCode(bar, StatusCode::TypeChar, static_cast<LPARAM>(c));
}
inline LRESULT SetStatusElementCount(HWND bar, long count) {
    return SendStatusCode(bar, StatusCode::ElementCount, static_cast<LPARAM>(count));
}
inline LRESULT StatusBackspace(HWND bar) { return SendStatusCode(bar, StatusCode::Backspace); }
