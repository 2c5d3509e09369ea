// What the drawing-setup dialogs need of the application above them: the
// command-panel and toolbar editors, the command panel's tooltips and the UI
// library's coloured buttons. The shell fills the table at start-up
// (InstallHostServices) and logs each entry left empty; unit tests fill only
// what they use.
#pragma once

#include <windows.h>

struct SetupHooks {
    // Switches the command panel's tooltips on (1) or off (0).
    void (*enableCmdPanelTips)(int on) = nullptr;
    // The command-panel editor and the shortcut-key editor, modal over the
    // window; their results are not used.
    void (*runCmdPanelEditor)(HWND parent) = nullptr;
    void (*runShortcutKeyEditor)(HWND parent) = nullptr;
    // The toolbar settings dialog, modal over the window: 1 after OK.
    int (*runToolbarSettings)(HWND parent) = nullptr;
    // The main frame rebuilds its toolbars from the stored list.
    void (*notifyToolbarsChanged)() = nullptr;
    // The UI library's coloured button face; false when it painted nothing.
    bool (*drawColorButton)(const DRAWITEMSTRUCT* item, COLORREF background, COLORREF text,
                            COLORREF disabled) = nullptr;
};

SetupHooks& SetupHost();
