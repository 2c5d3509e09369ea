// Page 01 "システム環境Ａ": tooltips, window positions, the number dialog,
// the colour mode, and the background, rubber-band and highlight colours.
#include <vector>

#include "base/local_settings_ini.h"
#include "base/running_settings.h"
#include "command/command_system.h"
#include "command/host_messages.h"
#include "setup/config_pages.h"
#include "setup/config_sheet.h"
#include "setup/setup_dialog_ids.h"
#include "setup/setup_hooks.h"

Config01Values ReadConfig01() {
    const RunningSettings& r = Running();
    Config01Values v;
    v.toolHelp = r.bToolHlp != 0;
    v.resetWindows = r.bWindowSz == 0;
    v.numberDialog = r.bDspNumDlgFg != 0;
    v.colorMode = r.bColorMode;
    v.background = r.backgroundMode;
    v.rubber = r.rubberColor - 1;
    v.highlight = LocalIni().iHighlightColor - 1;
    return v;
}

void StoreConfig01(const Config01Values& v) {
    RunningSettings& r = Running();
    r.bToolHlp = v.toolHelp ? 1 : 0;
    if (SetupHost().enableCmdPanelTips) SetupHost().enableCmdPanelTips(r.bToolHlp);
    r.bWindowSz = v.resetWindows ? 0 : 1;
    r.bDspNumDlgFg = v.numberDialog ? 1 : 0;
    r.bColorMode = v.colorMode;
    r.backgroundMode = v.background;
    r.rubberColor = v.rubber + 1;
    LocalIni().iHighlightColor = v.highlight + 1;
    SaveLocalSettingsIni(nullptr);
}

namespace {

// The highlight swatches: the active drawing's colours against the
// background `mode`; the pen colours without a drawing.
std::vector<COLORREF> HighlightSwatches(int mode) {
    COLORREF table[257] = {};
    RunningSettings& r = Running();
    const int saved = r.backgroundMode;
    r.backgroundMode = mode;
    const LRESULT drawing =
        CmdMainFrame() ? ::SendMessageA(CmdMainFrame(), UM_GET_COLOR_TABLE, 101, reinterpret_cast<LPARAM>(table)) : 0;
    r.backgroundMode = saved;
    const COLORREF* source = drawing ? table : PenColors();
    return std::vector<COLORREF>(source + 1, source + 257);
}

class CSetConfig01Dlg : public CSetConfigPropertyPage {
public:
    CSetConfig01Dlg() : CSetConfigPropertyPage(IDD_CONFIG_01) {}

    BEGIN_MSG_MAP(CSetConfig01Dlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_HANDLER(1401, CBN_SELCHANGE, OnBackgroundChanged)
    CHAIN_MSG_MAP(CSetConfigPropertyPage)
    END_MSG_MAP()

private:
    ColorNumberList& Background() { return m_lists[0]; }
    ColorNumberList& Rubber() { return m_lists[1]; }
    ColorNumberList& Highlight() { return m_lists[2]; }

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
        const Config01Values v = ReadConfig01();
        SetCheck(1100, v.toolHelp);
        SetCheck(1101, v.resetWindows);
        SetCheck(1102, v.numberDialog);
        if (v.colorMode >= 0 && v.colorMode <= 2) CheckRadio(1204, 1206, 1204 + v.colorMode);
        ShowItem(1105, false);
        EnableItem(1105, false);
        const COLORREF backgrounds[3] = {BackgroundColorOf(0), BackgroundColorOf(1), BackgroundColorOf(2)};
        AttachList(Background(), 1401).AddNumbers(0, 2);
        Background().AppendColors(backgrounds, 0, 2);
        Background().Select(v.background);
        const std::vector<COLORREF> rubber = RubberBandSwatches(BackgroundColorOf(v.background));
        AttachList(Rubber(), 1402).AddNumbers(1, 15);
        Rubber().AppendColors(rubber.data(), 0, 14);
        Rubber().Select(v.rubber);
        const std::vector<COLORREF> highlight = HighlightSwatches(v.background);
        AttachList(Highlight(), 1403).AddNumbers(1, 256);
        Highlight().AppendColors(highlight.data(), 0, 255);
        Highlight().Select(v.highlight);
        for (ColorNumberList& list : m_lists)
            list.ShowAtLeast(16);
        handled = FALSE;
        return TRUE;
    }

    LRESULT OnBackgroundChanged(WORD, WORD, HWND, BOOL&) {
        const int mode = Background().Selected();
        if (mode < 0) return 0;
        Rubber().ReplaceColors(RubberBandSwatches(BackgroundColorOf(mode)).data(), 0);
        Highlight().ReplaceColors(HighlightSwatches(mode).data(), 0);
        ::InvalidateRect(Rubber().combo, nullptr, TRUE);
        ::InvalidateRect(Highlight().combo, nullptr, TRUE);
        return 0;
    }

    bool Store() override {
        Config01Values v;
        v.toolHelp = IsChecked(1100);
        v.resetWindows = IsChecked(1101);
        v.numberDialog = IsChecked(1102);
        v.colorMode = IsChecked(1206) ? 2 : IsChecked(1205) ? 1 : 0;
        v.background = Background().Selected();
        v.rubber = Rubber().Selected();
        v.highlight = Highlight().Selected();
        StoreConfig01(v);
        return true;
    }
};

}  // namespace

std::unique_ptr<CSetConfigPropertyPage> MakeConfigPage01() { return std::make_unique<CSetConfig01Dlg>(); }
