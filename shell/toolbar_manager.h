// The rebar under the title bar: the command bar in its first band, then up
// to ten toolbars in the order and visibility stored in section "TOOLBAR"
// of ProgramIni, in one of three button sizes. Toolbar buttons carry ids
// 45100-45906 of their own; the manager maps them to command ids and shows
// the running command's buttons pressed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "shell/toolbar_tables.h"

// A toolbar from a toolbar resource and its bitmap of the same number;
// null when the resource or the window cannot be made.
HWND CreateToolbarFromResource(HWND parent, int resourceId, DWORD style, UINT controlId, HINSTANCE instance = nullptr);

class ToolbarList {
public:
    struct Row {
        int visible = 1;
        std::string caption;
        int resLarge = 0, resMedium = 0, resSmall = 0;
        HWND window = nullptr;
    };

    // 1; 0 when the list does not hold ten rows. With a parent, toolbar
    // windows are made for the current size mode.
    int Load(HWND parent);
    int Save();
    // Inserts an empty band for each toolbar, sized for it; the toolbars, in
    // band order, are added to `detached` to join their bands later. 1, or 0
    // when a band is refused.
    int AddBands(HWND rebar, std::vector<HWND>& detached);
    int IsVisible(const char* caption) const;
    int FindByCaption(const char* caption, Row* row) const;
    int Count() const { return (int)m_rows.size(); }
    HWND ToolbarWindow(int i) const;

    std::vector<Row> m_rows;
    int m_sizeMode = 1;  // -1 none, 0 large, 1 medium, 2 small
};

class ToolbarManager {
public:
    int Create(HWND frame, HWND commandBar);
    void Rebuild(HWND frame);
    // 1 to go on routing (wParam/lParam possibly rewritten), 0 to drop.
    int MapButtonCommand(WPARAM& wParam, LPARAM& lParam, int& buttonId) const;
    int CheckCommandButtons(int commandId, BOOL pressed);
    void ShowBand(int bandIndex, BOOL show);
    // After the bands were restored from the stored layout: each band is shown
    // when its stored style shows it and the toolbar settings list it as shown.
    void SettleRestoredBands();
    void LockBands();
    void SizeBands();

    HWND Rebar() const { return m_rebar; }
    bool IsCreated() const { return m_created; }
    ToolbarList& List() { return m_list; }
    int Count() const { return m_created ? m_list.Count() : 0; }
    HWND ToolbarWindow(int i) const { return m_created ? m_list.ToolbarWindow(i) : nullptr; }

private:
    void InstallToolbarBands();
    // Shows each band as the toolbar settings say; `detached` are the
    // toolbars of the bands from `firstDetached` on, not yet in their bands.
    void ApplyBandVisibility(int firstDetached, const std::vector<HWND>& detached);
    // Row breaks after a band was shown or hidden; `fitWidths` also widens
    // each band by its borders as a newly built band needs.
    void ArrangeRows(bool fitWidths);

    HWND m_rebar = nullptr;
    ToolbarList m_list;
    bool m_created = false;
};
