// Page 04 "グリッド": the grid pitch.
#include <cstdio>
#include <cstdlib>

#include "base/running_settings.h"
#include "setup/config_pages.h"
#include "setup/config_sheet.h"
#include "setup/setup_dialog_ids.h"

namespace {
std::string G(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}
// A field's value when it reads as a number above 0; else the old value.
double PitchOr(const std::string& text, double old) {
    const std::string head = text.substr(0, 249);
    const double v = std::strtod(head.c_str(), nullptr);
    return v > 0 ? v : old;
}
}  // namespace

Config04Values ReadConfig04() { return Config04Values{G(Running().grid.x), G(Running().grid.y)}; }

void StoreConfig04(const Config04Values& v) {
    Running().grid.x = PitchOr(v.x, Running().grid.x);
    Running().grid.y = PitchOr(v.y, Running().grid.y);
}

namespace {

class CSetConfig04Dlg : public CSetConfigPropertyPage {
public:
    CSetConfig04Dlg() : CSetConfigPropertyPage(IDD_CONFIG_04) {}

    BEGIN_MSG_MAP(CSetConfig04Dlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    CHAIN_MSG_MAP(CSetConfigPropertyPage)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
        const Config04Values v = ReadConfig04();
        SetItemText(1300, v.x.c_str());
        SetItemText(1301, v.y.c_str());
        handled = FALSE;
        return TRUE;
    }
    bool Store() override {
        StoreConfig04(Config04Values{GetItemText(1300), GetItemText(1301)});
        return true;
    }
};

}  // namespace

std::unique_ptr<CSetConfigPropertyPage> MakeConfigPage04() { return std::make_unique<CSetConfig04Dlg>(); }
