// The command panel: a docked pane of command buttons, one page at a time,
// pages chosen with a drop-down list of page names (the page combo) or a
// row of page-select buttons. A button posts its command id to the main
// frame as WM_COMMAND. The pages come from the user's "CmdPanel.def"; the
// same page set holds the command catalogues of the two editors.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "panels/cmd_panel_button.h"
#include "panels/cmd_panel_def.h"
#include "command/host_messages.h"
#include "win/window.h"

// One page: its entries and their buttons (null for a row break).
class CCmdPanelData {
public:
    CCmdPanelData(const std::string& name, HWND* combo) : m_name(name), m_combo(combo) {}
    virtual ~CCmdPanelData();

    // Measures the buttons; their windows are made when the page is first
    // shown (MakeWindows). 0, or -1 without an owner window.
    int Create(HWND owner, int layoutFlag, int rightMargin, int topMargin, int gapX, int gapY);
    // The button windows (hidden) and their tooltips, once.
    void MakeWindows();
    void Layout();
    // Showing makes the windows first.
    void Show(int showCommand);
    // Union of the button windows in `window`'s client coordinates; 1, or 0
    // when the window is not valid or the page has no entries.
    int GetBounds(HWND window, RECT* rect) const;
    void MarkCommand(int id, int on);
    void EnableTips(int on);
    void DestroyWindows();

    std::string m_name;
    std::vector<std::string> m_items;
    std::vector<std::unique_ptr<CCmdPnlButton>> m_buttons;  // null: a row break
    HWND* m_combo;
    HWND m_owner = nullptr;
    int m_layoutFlag = 0;
    int m_rightMargin = 10, m_topMargin = 4, m_gapX = 0, m_gapY = 0;
    HWND m_tooltip = nullptr;
    HFONT m_tipFont = nullptr;
    bool m_windowsMade = false;
    bool m_tipsOn = true;

private:
    int ComboWidth() const;
};

// The row of page-select buttons.
class CTypeSelBtn {
public:
    virtual ~CTypeSelBtn();
    void Create(HWND owner, const std::vector<std::string>& names);
    int SelectByName(const std::string& name);
    int SelectById(int id);
    void LayoutHorizontal(int x, int y, int length, int thickness);
    void LayoutVertical(int x, int y, int length, int thickness);
    void Destroy();

    std::vector<std::unique_ptr<CCmdPnlButton>> m_buttons;
    std::string m_selected;
    int m_length = 768;
    int m_thickness = 24;
};

class CCmdPanelSet {
public:
    CCmdPanelSet() = default;
    ~CCmdPanelSet();
    CCmdPanelSet(const CCmdPanelSet&) = delete;
    CCmdPanelSet& operator=(const CCmdPanelSet&) = delete;

    // path null: the user's CmdPanel.def; section null: "PanelInfo".
    // 0, or -1 after the file's error was shown.
    int Load(const char* path = nullptr, const char* section = nullptr);
    // Writes the pages back to the user's file in their order. 0, or -1.
    int Save();
    void Create(HWND owner, int layoutFlag);
    void Layout();
    void SelectPage(int index);
    void SelectFromCombo();
    void MarkCommand(int id, int on);
    void EnableTips(int on);
    void DestroyPages();

    // The pages as definitions (name and entries), in order.
    std::vector<CmdPanelPageDef> PageDefs() const;
    int PageCount() const { return (int)m_pages.size(); }
    CCmdPanelData* Page(int i) const { return i >= 0 && i < PageCount() ? m_pages[i].get() : nullptr; }

    HWND m_owner = nullptr;
    int m_layoutFlag = 0;
    std::vector<std::unique_ptr<CCmdPanelData>> m_pages;
    HWND m_combo = nullptr;
    CTypeSelBtn m_typeSel;
    std::vector<std::string> m_names;
    int m_current = 0;
    HFONT m_comboFont = nullptr;
    std::string m_path;  // the file loaded last
    std::string m_section;
};

// The path of the user's "CmdPanel.def" (seeded from the installation).
std::string UserCmdPanelPath();
// The catalogues of the editors, loaded on first use, kept for the run.
CCmdPanelSet& CmdPanelCatalogue();  // "%EXE_DIR%CmdPanelBase.def", "PanelInfo"
CCmdPanelSet& CmdKeyCatalogue();    // "%EXE_DIR%CmdKeyBase.def", "KeyInfo"

// The pane's panel window (child id 0 of a CCmdPanelDockWin).
class CCmdPanel : public CWindowBase {
public:
    CCmdPanel() = default;
    ~CCmdPanel() override;
    HWND Create(HWND pane);
    int GetCurrentPage();
    void SetCurrentPage(int index);
    CCmdPanelSet* PageSet() const { return m_set.get(); }
    bool TipsEnabled() const { return m_tips; }

    BEGIN_MSG_MAP(CCmdPanel)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_RBUTTONDOWN, OnRButtonDown)
    MESSAGE_HANDLER(UM_CMDPANEL_BUTTON, OnPanelButton)
    MESSAGE_HANDLER(UM_CMD_BUSY, OnCmdBusy)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    MESSAGE_HANDLER(WM_DESTROY, OnNothing)
    MESSAGE_HANDLER(WM_USER, OnNothing)
    END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPanelButton(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCmdBusy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNothing(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    std::unique_ptr<CCmdPanelSet> m_set;
    int m_layoutFlag = 0;
    int m_current = 0;
    bool m_tips = true;
};
