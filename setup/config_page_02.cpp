// Page 02 "システム環境Ｂ": the drawing folder, the start menu, the parts of
// the tool panel and the editors of the command menu, keys and toolbars.
#include <shlobj.h>

#include "base/dbcs.h"
#include "base/running_settings.h"
#include "base/settings_files.h"
#include "panels/panel_windows.h"
#include "setup/config_pages.h"
#include "setup/config_sheet.h"
#include "setup/setup_dialog_ids.h"
#include "setup/setup_hooks.h"

namespace {
int* ToolPanelParts() {
    CCadSystemSettings* s = GetCadSystemSettings();
    return s ? &s->m_LocalSettingsWindow.ToolPanelDispMode : nullptr;
}
}  // namespace

Config02Values ReadConfig02() {
    Config02Values v;
    v.folder = Running().zumenDir;
    v.startMenu = Running().iStartOpenDlgFg == 0;
    v.toolPanelParts = ToolPanelParts() ? *ToolPanelParts() : 0;
    return v;
}

bool StoreConfig02(const Config02Values& v, int shownParts) {
    RunningSettings& r = Running();
    r.iStartOpenDlgFg = v.startMenu ? 0 : 1;
    DbcsCopy(r.zumenDir, sizeof r.zumenDir, v.folder.c_str());
    if (v.toolPanelParts == shownParts) return false;
    if (int* parts = ToolPanelParts()) *parts = v.toolPanelParts;
    if (HWND panel = ToolPanelWindow()) ::PostMessageA(panel, WM_COMMAND, 10, 0);
    return true;
}

namespace {

class CSetConfig02Dlg : public CSetConfigPropertyPage {
public:
    CSetConfig02Dlg() : CSetConfigPropertyPage(IDD_CONFIG_02) {}

    BEGIN_MSG_MAP(CSetConfig02Dlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(1100, OnBrowse)
    COMMAND_ID_HANDLER(1803, OnEditor)
    COMMAND_ID_HANDLER(1804, OnEditor)
    COMMAND_ID_HANDLER(1805, OnEditor)
    CHAIN_MSG_MAP(CSetConfigPropertyPage)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
        const Config02Values v = ReadConfig02();
        SendItemMessage(1300, EM_LIMITTEXT, 256);
        SetItemText(1300, v.folder.c_str());
        SetCheck(1103, v.startMenu);
        for (int bit = 0; bit < 4; ++bit)
            SetCheck(1104 + bit, (v.toolPanelParts >> bit) & 1);
        m_shownParts = v.toolPanelParts;
        handled = FALSE;
        return TRUE;
    }

    LRESULT OnBrowse(WORD, WORD, HWND, BOOL&) {
        BROWSEINFOA info = {};
        info.hwndOwner = ::GetActiveWindow();
        info.lpszTitle = "フォルダを選択してください。";
        info.ulFlags = BIF_RETURNONLYFSDIRS;
        if (LPITEMIDLIST chosen = ::SHBrowseForFolderA(&info)) {
            char path[MAX_PATH] = "";
            if (::SHGetPathFromIDListA(chosen, path)) SetItemText(1300, path);
            ::CoTaskMemFree(chosen);
        }
        return 0;
    }

    LRESULT OnEditor(WORD, WORD id, HWND, BOOL&) {
        const SetupHooks& host = SetupHost();
        HWND over = ::GetActiveWindow();
        if (id == 1803 && host.runCmdPanelEditor) host.runCmdPanelEditor(over);
        if (id == 1804 && host.runShortcutKeyEditor) host.runShortcutKeyEditor(over);
        if (id == 1805 && host.runToolbarSettings && host.runToolbarSettings(over) == 1 && host.notifyToolbarsChanged)
            host.notifyToolbarsChanged();
        return 0;
    }

    bool Store() override {
        Config02Values v;
        v.folder = GetItemText(1300);
        v.startMenu = IsChecked(1103);
        for (int bit = 0; bit < 4; ++bit)
            if (IsChecked(1104 + bit)) v.toolPanelParts |= 1 << bit;
        StoreConfig02(v, m_shownParts);
        m_shownParts = v.toolPanelParts;
        return true;
    }

    int m_shownParts = 0;
};

}  // namespace

std::unique_ptr<CSetConfigPropertyPage> MakeConfigPage02() { return std::make_unique<CSetConfig02Dlg>(); }
