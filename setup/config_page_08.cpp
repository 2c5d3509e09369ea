// Page 08 "カーソル": the cursor shape, the pick aperture and the hand cursor.
#include <cstdio>

#include "base/running_settings.h"
#include "base/settings_layer.h"
#include "command/command_system.h"
#include "command/host_messages.h"
#include "setup/config_pages.h"
#include "setup/config_sheet.h"
#include "setup/setup_dialog_ids.h"

Config08Values ReadConfig08() {
    const RunningSettings& r = Running();
    Config08Values v;
    v.cursor = r.mouseMode >= 0 && r.mouseMode <= 2 ? r.mouseMode : -1;
    v.apertureShown = r.bCurSorAreaDsp != 0;
    v.hand = r.CURSOR02TYPE != 0;
    return v;
}

void StoreCursorShape(int cursor, bool hand) {
    RunningSettings& r = Running();
    r.mouseMode = cursor == 0 ? 0 : cursor == 1 ? 1 : 2;
    const int handValue = hand ? 1 : 0;
    if (handValue != r.CURSOR02TYPE) {
        r.CURSOR02TYPE = handValue;
        char text[8];
        std::snprintf(text, sizeof text, "%d", handValue);
        WriteSettingText("SYSTEM", "CURSOR02TYPE", text);
    }
}

bool StoreConfig08(const Config08Values& v) {
    RunningSettings& r = Running();
    const int mouse = r.mouseMode, aperture = r.bCurSorAreaDsp;
    StoreCursorShape(v.cursor, v.hand);
    r.bCurSorAreaDsp = v.apertureShown ? 1 : 0;
    // The hand cursor alone changes nothing the views keep.
    if (r.mouseMode == mouse && r.bCurSorAreaDsp == aperture) return false;
    if (HWND frame = CmdMainFrame()) ::SendMessageA(frame, UM_CURSOR_SETTINGS, 0, 0);
    return true;
}

namespace {

class CSetConfig08Dlg : public CSetConfigPropertyPage {
public:
    CSetConfig08Dlg() : CSetConfigPropertyPage(IDD_CONFIG_08) {}

    BEGIN_MSG_MAP(CSetConfig08Dlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    CHAIN_MSG_MAP(CSetConfigPropertyPage)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
        const Config08Values v = ReadConfig08();
        if (v.cursor >= 0) CheckRadio(1200, 1202, 1200 + v.cursor);
        SetCheck(1100, v.apertureShown);
        SetCheck(1101, v.hand);
        handled = FALSE;
        return TRUE;
    }
    bool Store() override {
        Config08Values v;
        v.cursor = IsChecked(1200) ? 0 : IsChecked(1201) ? 1 : 2;
        v.apertureShown = IsChecked(1100);
        v.hand = IsChecked(1101);
        StoreConfig08(v);
        return true;
    }
};

}  // namespace

std::unique_ptr<CSetConfigPropertyPage> MakeConfigPage08() { return std::make_unique<CSetConfig08Dlg>(); }
