// The toolbar settings dialog: which of the ten toolbars are shown, in which
// order their bands stand, and the button size of all toolbars. It edits the
// stored toolbar list (section "TOOLBAR" of ProgramIni) and nothing else;
// the main frame applies it when told that the toolbars changed.
#pragma once

#include <windows.h>

// Runs the dialog modally over `parent`: 1 after OK (the list is stored),
// 2 after cancel.
int RunToolbarSettingsDialog(HWND parent);
// WM_NOTIFY TOOLBARS_CHANGED (1002) to the main frame: it rebuilds its
// toolbars from the stored list.
void NotifyToolbarsChanged();
// Service command 1337: the dialog over the active window, then the
// rebuild when it was closed with OK. 0.
int RunToolbarSettingsCommand();
