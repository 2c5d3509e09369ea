// Page 03 "回復": undo levels and the two automatic backups.
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "base/apply_settings.h"
#include "base/running_settings.h"
#include "base/settings_files.h"
#include "setup/config_pages.h"
#include "setup/config_sheet.h"
#include "setup/setup_dialog_ids.h"
#include "view/view_data.h"
#include "view/view_table.h"

int ReadLeadingInt(const std::string& text) {
    const std::string head = text.substr(0, 14);
    return std::atoi(head.c_str());
}

namespace {
CadFileBackupSettings* BackupRecord() {
    CCadSystemSettings* s = GetCadSystemSettings();
    return s ? &s->m_CadFileBackup : nullptr;
}
std::string Number(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", n);
    return text;
}
}  // namespace

Config03Values ReadConfig03() {
    Config03Values v;
    const CadFileBackupSettings fallback;
    const CadFileBackupSettings& b = BackupRecord() ? *BackupRecord() : fallback;
    v.undo = Running().iUndoCount != 0;
    v.undoCount = Number(Running().iUndoCount);
    v.countBackup = b.bCountBakup != 0;
    v.countSpan = Number(b.nBackupCountSpan);
    v.timeBackup = b.bTimeBackup != 0;
    v.minutes = Number(b.nBackupTimeSpanSec / 60);
    return v;
}

void StoreConfig03(const Config03Values& v) {
    const int undo = v.undo ? ReadLeadingInt(v.undoCount) : 0;
    Running().iUndoCount = undo;
    // Every open drawing records undo steps to the new level (0: none).
    for (HWND view = GetNextView(nullptr); view; view = GetNextView(view))
        if (ViewData* data = GetViewData(view))
            if (data->db) DAriUndoFgSet(static_cast<DbHeader*>(data->db), undo);
    CadFileBackupSettings* b = BackupRecord();
    if (!b) return;
    const int span = ReadLeadingInt(v.countSpan);
    b->nBackupCountSpan = span < 0 ? 0 : span;
    b->bCountBakup = v.countBackup ? 1 : 0;
    const int minutes = ReadLeadingInt(v.minutes);
    b->nBackupTimeSpanSec = minutes > 0 ? minutes * 60 : 0;
    b->bTimeBackup = v.timeBackup ? 1 : 0;
    InitCadFileBackup(*b);
}

namespace {

class CSetConfig03Dlg : public CSetConfigPropertyPage {
public:
    CSetConfig03Dlg() : CSetConfigPropertyPage(IDD_CONFIG_03) {}

    BEGIN_MSG_MAP(CSetConfig03Dlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    CHAIN_MSG_MAP(CSetConfigPropertyPage)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
        const Config03Values v = ReadConfig03();
        SetCheck(1100, v.undo);
        SetItemText(1300, v.undoCount.c_str());
        SetCheck(1101, v.countBackup);
        SetItemText(1301, v.countSpan.c_str());
        SetCheck(1102, v.timeBackup);
        SetItemText(1302, v.minutes.c_str());
        handled = FALSE;
        return TRUE;
    }

    bool Store() override {
        Config03Values v;
        v.undo = IsChecked(1100);
        v.undoCount = GetItemText(1300);
        v.countBackup = IsChecked(1101);
        v.countSpan = GetItemText(1301);
        v.timeBackup = IsChecked(1102);
        v.minutes = GetItemText(1302);
        StoreConfig03(v);
        return true;
    }
};

}  // namespace

std::unique_ptr<CSetConfigPropertyPage> MakeConfigPage03() { return std::make_unique<CSetConfig03Dlg>(); }
