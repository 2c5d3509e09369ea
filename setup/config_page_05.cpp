// Page 05 "検出": the order of the element search, the beep and the snap marker.
#include "base/running_settings.h"
#include "setup/config_pages.h"
#include "setup/config_sheet.h"
#include "setup/setup_dialog_ids.h"

Config05Values ReadConfig05() {
    const RunningSettings& r = Running();
    Config05Values v;
    v.databaseOrder = r.bElmHit != 0;
    v.beep = r.bBeepFind != 0;
    v.snapShow = r.iSnapShowMode >= 0 && r.iSnapShowMode <= 2 ? r.iSnapShowMode : -1;
    return v;
}

void StoreConfig05(const Config05Values& v) {
    RunningSettings& r = Running();
    r.bElmHit = v.databaseOrder ? 1 : 0;
    r.bBeepFind = v.beep ? 1 : 0;
    if (v.snapShow >= 0) r.iSnapShowMode = v.snapShow;
}

namespace {

class CSetConfig05Dlg : public CSetConfigPropertyPage {
public:
    CSetConfig05Dlg() : CSetConfigPropertyPage(IDD_CONFIG_05) {}

    BEGIN_MSG_MAP(CSetConfig05Dlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    CHAIN_MSG_MAP(CSetConfigPropertyPage)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
        const Config05Values v = ReadConfig05();
        CheckRadio(1200, 1201, v.databaseOrder ? 1200 : 1201);
        SetCheck(1100, v.beep);
        if (v.snapShow >= 0) CheckRadio(1204, 1206, 1204 + v.snapShow);
        handled = FALSE;
        return TRUE;
    }
    bool Store() override {
        Config05Values v;
        v.databaseOrder = IsChecked(1200);
        v.beep = IsChecked(1100);
        for (int i = 0; i < 3; ++i)
            if (IsChecked(1204 + i)) v.snapShow = i;  // a later box wins
        StoreConfig05(v);
        return true;
    }
};

}  // namespace

std::unique_ptr<CSetConfigPropertyPage> MakeConfigPage05() { return std::make_unique<CSetConfig05Dlg>(); }
