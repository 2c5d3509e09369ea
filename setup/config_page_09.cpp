// Page 09 "拡張設定": the snap-mode exception and the last-position cursor.
#include "base/running_settings.h"
#include "setup/config_pages.h"
#include "setup/config_sheet.h"
#include "setup/setup_dialog_ids.h"

Config09Values ReadConfig09() { return Config09Values{Running().bCurModeChk != 0, Running().bLastPosViewFg != 0}; }

void StoreConfig09(const Config09Values& v) {
    Running().bCurModeChk = v.ignoreSnapMode ? 1 : 0;
    Running().bLastPosViewFg = v.lastPosition ? 1 : 0;
}

namespace {

class CSetConfig09Dlg : public CSetConfigPropertyPage {
public:
    CSetConfig09Dlg() : CSetConfigPropertyPage(IDD_CONFIG_09) {}

    BEGIN_MSG_MAP(CSetConfig09Dlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    CHAIN_MSG_MAP(CSetConfigPropertyPage)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
        const Config09Values v = ReadConfig09();
        SetCheck(1100, v.ignoreSnapMode);
        SetCheck(1103, v.lastPosition);
        handled = FALSE;
        return TRUE;
    }
    bool Store() override {
        StoreConfig09(Config09Values{IsChecked(1100), IsChecked(1103)});
        return true;
    }
};

}  // namespace

std::unique_ptr<CSetConfigPropertyPage> MakeConfigPage09() { return std::make_unique<CSetConfig09Dlg>(); }
