#include "win/update_ui.h"

#include <algorithm>

#include <commctrl.h>

CUpdateUI::Entry* CUpdateUI::Find(UINT id) {
    for (auto& e : m_entries)
        if (e.id == id) return &e;
    return nullptr;
}

const CUpdateUI::Entry* CUpdateUI::Find(UINT id) const {
    for (const auto& e : m_entries)
        if (e.id == id) return &e;
    return nullptr;
}

void CUpdateUI::UIAdd(UINT id, DWORD kinds) {
    if (Entry* e = Find(id)) {
        e->kinds = kinds;
        e->changedBars = ~0u;
        return;
    }
    Entry e;
    e.id = id;
    e.kinds = kinds;
    m_entries.push_back(e);
}

BOOL CUpdateUI::UIEnable(UINT id, bool enable) {
    Entry* e = Find(id);
    if (e == nullptr) return FALSE;
    if (e->enabled != enable) {
        e->enabled = enable;
        e->changedBars = ~0u;
    }
    return TRUE;
}

BOOL CUpdateUI::UISetCheck(UINT id, int check) {
    Entry* e = Find(id);
    if (e == nullptr) return FALSE;
    if (e->check != check) {
        e->check = check;
        e->changedBars = ~0u;
    }
    return TRUE;
}

BOOL CUpdateUI::UISetText(UINT id, const char* text) {
    Entry* e = Find(id);
    if (e == nullptr) return FALSE;
    std::string t = text ? text : "";
    if (!e->hasText || e->text != t) {
        e->text = t;
        e->hasText = true;
        e->changedBars = ~0u;
    }
    return TRUE;
}

bool CUpdateUI::UIIsEnabled(UINT id) const {
    const Entry* e = Find(id);
    return e == nullptr || e->enabled;
}

int CUpdateUI::UIGetCheck(UINT id) const {
    const Entry* e = Find(id);
    return e ? e->check : 0;
}

void CUpdateUI::UIAddToolBar(HWND toolbar) {
    if (toolbar && std::find(m_toolbars.begin(), m_toolbars.end(), toolbar) == m_toolbars.end())
        m_toolbars.push_back(toolbar);
}

void CUpdateUI::UIAddStatusBar(HWND statusbar) {
    if (statusbar && std::find(m_statusbars.begin(), m_statusbars.end(), statusbar) == m_statusbars.end())
        m_statusbars.push_back(statusbar);
}

void CUpdateUI::UIRemoveWindow(HWND bar) {
    m_toolbars.erase(std::remove(m_toolbars.begin(), m_toolbars.end(), bar), m_toolbars.end());
    m_statusbars.erase(std::remove(m_statusbars.begin(), m_statusbars.end(), bar), m_statusbars.end());
}

void CUpdateUI::ApplyToMenuItem(HMENU menu, int pos, const Entry& e) const {
    ::EnableMenuItem(menu, (UINT)pos, MF_BYPOSITION | (e.enabled ? MF_ENABLED : MF_GRAYED));
    ::CheckMenuItem(menu, (UINT)pos, MF_BYPOSITION | (e.check ? MF_CHECKED : MF_UNCHECKED));
    if (e.hasText) {
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_STRING;
        mii.dwTypeData = const_cast<char*>(e.text.c_str());
        ::SetMenuItemInfoA(menu, (UINT)pos, TRUE, &mii);
    }
}

void CUpdateUI::UIUpdateMenu(HMENU menu, bool deep) const {
    if (menu == nullptr) return;
    int n = ::GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        HMENU sub = ::GetSubMenu(menu, i);
        if (sub != nullptr) {
            if (deep) UIUpdateMenu(sub, true);
            continue;
        }
        UINT id = ::GetMenuItemID(menu, i);
        if (id == 0 || id == (UINT)-1) continue;  // separators
        const Entry* e = Find(id);
        if (e != nullptr && (e->kinds & (UPDUI_MENUPOPUP | UPDUI_MENUBAR))) ApplyToMenuItem(menu, i, *e);
    }
}

void CUpdateUI::UIUpdateToolBar(bool force) {
    for (auto& e : m_entries) {
        if (!(e.kinds & UPDUI_TOOLBAR)) continue;
        if (!force && !(e.changedBars & UPDUI_TOOLBAR)) continue;
        for (HWND tb : m_toolbars) {
            if (!::IsWindow(tb)) continue;
            // A toolbar without the button answers -1 and is left alone.
            if (::SendMessageA(tb, TB_COMMANDTOINDEX, e.id, 0) < 0) continue;
            ::SendMessageA(tb, TB_ENABLEBUTTON, e.id, MAKELPARAM(e.enabled ? TRUE : FALSE, 0));
            ::SendMessageA(tb, TB_CHECKBUTTON, e.id, MAKELPARAM(e.check ? TRUE : FALSE, 0));
            ::SendMessageA(tb, TB_INDETERMINATE, e.id, MAKELPARAM(e.check == 2 ? TRUE : FALSE, 0));
        }
        e.changedBars &= ~(DWORD)UPDUI_TOOLBAR;
    }
}

void CUpdateUI::UIUpdateStatusBar(bool force) {
    for (auto& e : m_entries) {
        if (!(e.kinds & UPDUI_STATUSBAR)) continue;
        if (!force && !(e.changedBars & UPDUI_STATUSBAR)) continue;
        for (HWND sb : m_statusbars) {
            if (!::IsWindow(sb)) continue;
            if (e.hasText) ::SendMessageA(sb, SB_SETTEXTA, e.id, (LPARAM)e.text.c_str());
        }
        e.changedBars &= ~(DWORD)UPDUI_STATUSBAR;
    }
}

LRESULT CUpdateUI::OnInitMenu(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    // Only items of the bar itself; its popups are done as they open.
    HMENU bar = (HMENU)wParam;
    if (bar != nullptr && ::IsMenu(bar)) {
        int n = ::GetMenuItemCount(bar);
        for (int i = 0; i < n; ++i) {
            if (::GetSubMenu(bar, i) != nullptr) continue;
            const Entry* e = Find(::GetMenuItemID(bar, i));
            if (e != nullptr && (e->kinds & UPDUI_MENUBAR)) ApplyToMenuItem(bar, i, *e);
        }
    }
    handled = FALSE;
    return 0;
}

LRESULT CUpdateUI::OnInitMenuPopup(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    UIUpdateMenu((HMENU)wParam, false);
    handled = FALSE;  // others may fill the menu too
    return 0;
}
