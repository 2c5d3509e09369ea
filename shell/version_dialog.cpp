#include "shell/version_dialog.h"

#include <cstring>

#include "base/running_settings.h"
#include "shell/dialog_base.h"
#include "shell/dialog_ids.h"
#include "shell/main_frame.h"

namespace {

class CVersionInfoDlg : public CDialogBase<CVersionInfoDlg> {
public:
    CVersionInfoDlg() : CDialogBase(IDD_VERSION_INFO) { m_centerFlag = 1; }

    BEGIN_MSG_MAP(CVersionInfoDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnCloseCmd)
    COMMAND_ID_HANDLER(IDCANCEL, OnCloseCmd)
    CHAIN_MSG_MAP(CDialogBase<CVersionInfoDlg>)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
        SetItemText(1600, VersionLineText(AppTitleText().c_str(), Running().versionText).c_str());
        handled = FALSE;  // the base colours the OK button and centres the dialog
        return 0;
    }
};

}  // namespace

std::string VersionLineText(const char* title, const char* versionText) {
    std::string version = versionText ? versionText : "";
    const size_t first = version.find_first_not_of(" \t");
    version = first == std::string::npos ? std::string() : version.substr(first);
    const size_t blank = version.find_first_of(" \t");
    if (blank != std::string::npos) version.resize(blank);
    return std::string(title ? title : "") + " " + version;
}

int RunVersionInfoDialog() {
    CVersionInfoDlg dlg;
    return dlg.DoModal(::GetActiveWindow()) == IDOK ? 1 : 0;
}
