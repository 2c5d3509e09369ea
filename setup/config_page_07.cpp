// Page 07 "数値表現/誤差": decimals shown, zero suppression and the two
// tolerances of the geometry.
#include <cstdio>
#include <cstring>
#include <utility>

#include "base/apply_settings.h"
#include "base/file_utils.h"
#include "base/local_settings.h"
#include "base/running_settings.h"
#include "base/settings_files.h"
#include "setup/config_pages.h"
#include "setup/config_sheet.h"
#include "setup/setup_dialog_ids.h"
#include "win/message_box.h"

namespace {

LocalSettingsSetup* SetupRecord() {
    CCadSystemSettings* s = GetCadSystemSettings();
    return s ? &s->m_LocalSettingsSetup : nullptr;
}

double Tolerance(int digits) {
    double p = 1.0;
    for (int i = 0; i < digits + 1; ++i)
        p *= 10.0;
    return 1.0 / p;
}

// One tolerance: taken when the chosen count gives 0 < t < 1.
bool TakeTolerance(int digits, int& stored, HWND owner, const char* refusal) {
    const double t = digits >= 0 ? Tolerance(digits) : 0.0;
    if (digits >= 0 && t > 0 && t < 1) {
        stored = digits;
        return true;
    }
    ZavMessageBox(owner, refusal, "確認", MB_OK);
    return false;
}

}  // namespace

std::string ToleranceText(int digits) { return FormatDouble(Tolerance(digits), 15, 1); }

Config07Values ReadConfig07() {
    Config07Values v;
    v.digits = Running().iDigit;
    v.zeroSuppress = Running().bZero != 0;
    if (const LocalSettingsSetup* s = SetupRecord()) {
        v.epsDigits = s->iDigit_dEps;
        v.angleDigits = s->iDigit_dEpsAngle;
    }
    return v;
}

void StoreConfig07(const Config07Values& v, HWND owner) {
    RunningSettings& r = Running();
    r.bZero = v.zeroSuppress ? 1 : 0;
    if (v.digits >= 0) r.iDigit = v.digits;
    LocalSettingsSetup fallback;
    LocalSettingsSetup& s = SetupRecord() ? *SetupRecord() : fallback;
    TakeTolerance(v.epsDigits, s.iDigit_dEps, owner, "数値誤差の値が異常です。無視します。");
    TakeTolerance(v.angleDigits, s.iDigit_dEpsAngle, owner, "角度誤差の値が異常です。無視します。");
    s.UpdateEpsilons(false);
    r.dEps = s.dEps;
    r.dEpsAngle = s.dEpsAngle;
    if (Neighbours().SetTolerances) Neighbours().SetTolerances(s.dEps, s.dEpsAngle);
}

namespace {

class CSetConfig07Dlg : public CSetConfigPropertyPage {
public:
    CSetConfig07Dlg() : CSetConfigPropertyPage(IDD_CONFIG_07) {}

    BEGIN_MSG_MAP(CSetConfig07Dlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(1003, OnDefaults)
    CHAIN_MSG_MAP(CSetConfigPropertyPage)
    END_MSG_MAP()

private:
    void FillTolerances(int id, int current, int low, int high) {
        int chosen = 0;
        for (int n = low; n <= high; ++n) {
            const LRESULT at =
                SendItemMessage(id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToleranceText(n).c_str()));
            SendItemMessage(id, CB_SETITEMDATA, at, n);
            if (n == current) chosen = static_cast<int>(at);
        }
        SendItemMessage(id, CB_SETCURSEL, chosen);
    }
    int ChosenDigits(int id) const {
        const LRESULT at = SendItemMessage(id, CB_GETCURSEL);
        return at < 0 ? -1 : static_cast<int>(SendItemMessage(id, CB_GETITEMDATA, at));
    }

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
        const Config07Values v = ReadConfig07();
        for (int n = 0; n <= 9; ++n) {
            char text[4];
            std::snprintf(text, sizeof text, "%d", n);
            SendItemMessage(1400, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        }
        SendItemMessage(1400, CB_SETCURSEL, v.digits);
        SetCheck(1100, v.zeroSuppress);
        int distance[3], angle[3];
        LocalSettingsSetup::GetEpsDigitsRange(distance, angle);
        FillTolerances(1401, v.epsDigits, distance[1], distance[2]);
        FillTolerances(1403, v.angleDigits, angle[1], angle[2]);
        for (int id : {1402, 1603, 1604})
            ShowItem(id, false);
        handled = FALSE;
        return TRUE;
    }

    LRESULT OnDefaults(WORD, WORD, HWND, BOOL&) {
        if (ZavMessageBox(m_hWnd, "数値誤差を初期化します。", "確認", MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return 0;
        for (auto [id, text] : {std::pair<int, std::string>{1401, FormatDouble(0.000001, 15, 1)},
                                std::pair<int, std::string>{1403, FormatDouble(0.0001, 15, 1)}})
            SendItemMessage(id, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
        return 0;
    }

    bool Store() override {
        Config07Values v;
        v.zeroSuppress = IsChecked(1100);
        v.digits = static_cast<int>(SendItemMessage(1400, CB_GETCURSEL));
        v.epsDigits = ChosenDigits(1401);
        v.angleDigits = ChosenDigits(1403);
        StoreConfig07(v, m_hWnd);
        return true;
    }
};

}  // namespace

std::unique_ptr<CSetConfigPropertyPage> MakeConfigPage07() { return std::make_unique<CSetConfig07Dlg>(); }
