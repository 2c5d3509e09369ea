// Page 10 "表示": how line ends, points and line widths follow the paper scale.
#include "base/running_settings.h"
#include "setup/config_pages.h"
#include "setup/config_sheet.h"
#include "setup/setup_dialog_ids.h"

Config10Values ReadConfig10() {
    const RunningSettings& r = Running();
    return Config10Values{r.bTermDrawFg != 0, r.bPointSize != 0,
                          r.bLineWidthSize == 1 || r.bLineWidthSize == 2 ? r.bLineWidthSize : 0};
}

void StoreConfig10(const Config10Values& v) {
    RunningSettings& r = Running();
    r.bTermDrawFg = v.lineEndsFixed ? 1 : 0;
    r.bPointSize = v.pointsFixed ? 1 : 0;
    r.bLineWidthSize = v.lineWidth;
}

namespace {

class CSetConfig10Dlg : public CSetConfigPropertyPage {
public:
    CSetConfig10Dlg() : CSetConfigPropertyPage(IDD_CONFIG_10) {}

    BEGIN_MSG_MAP(CSetConfig10Dlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    CHAIN_MSG_MAP(CSetConfigPropertyPage)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
        const Config10Values v = ReadConfig10();
        CheckRadio(1200, 1201, v.lineEndsFixed ? 1200 : 1201);
        CheckRadio(1204, 1205, v.pointsFixed ? 1204 : 1205);
        SetCheck(1207, v.lineWidth == 1);
        SetCheck(1208, v.lineWidth == 2);
        SetCheck(1203, v.lineWidth == 0);
        for (int id : {1403, 1305, 1306, 1607, 1608, 1609})
            ShowItem(id, false);
        handled = FALSE;
        return TRUE;
    }
    bool Store() override {
        StoreConfig10(Config10Values{IsChecked(1200), IsChecked(1204), IsChecked(1207) ? 1 : IsChecked(1208) ? 2 : 0});
        return true;
    }
};

}  // namespace

std::unique_ptr<CSetConfigPropertyPage> MakeConfigPage10() { return std::make_unique<CSetConfig10Dlg>(); }
