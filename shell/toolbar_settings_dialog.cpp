#include "shell/toolbar_settings_dialog.h"

#include <commctrl.h>

#include <cstring>
#include <string>

#include "shell/dialog_base.h"
#include "shell/dialog_ids.h"
#include "command/host_messages.h"
#include "shell/main_frame.h"
#include "shell/toolbar_manager.h"
#include "win/message_box.h"

namespace {

// Check boxes in the rows of the toolbar group table.
const int kGroupChecks[kToolbarGroupCount] = {1808, 1101, 1809, 1810, 1811, 1812, 1813, 1814, 1815, 1816};
const int kSizeRadios[4] = {1860, 1861, 1862, 1863};  // size modes -1 .. 2
const int kList = 1136;

UINT DragListMessage() {
    // Registered once; the platform gives every caller the same number.
    static const UINT message = ::RegisterWindowMessageA(DRAGLISTMSGSTRING);
    return message;
}

int GroupIndex(const char* caption) {
    for (size_t i = 0; i < kToolbarGroupCount; ++i)
        if (std::strcmp(ToolbarGroupTable[i].caption, caption) == 0) return static_cast<int>(i);
    return -1;
}

class CSetToolBarDlg : public CDialogBase<CSetToolBarDlg> {
public:
    CSetToolBarDlg() : CDialogBase(IDD_TOOLBAR_SETTINGS) {
        m_centerFlag = 1;
        m_list.m_sizeMode = 1;
    }

    BEGIN_MSG_MAP(CSetToolBarDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCloseCmd)
    COMMAND_ID_HANDLER(1803, OnUp)
    COMMAND_ID_HANDLER(1003, OnDown)
    COMMAND_ID_HANDLER(1804, OnDefaults)
    CHAIN_MSG_MAP(CDialogBase<CSetToolBarDlg>)
    if (uMsg == DragListMessage()) {
        lResult = OnDragList(reinterpret_cast<const DRAGLISTINFO*>(lParam));
        return TRUE;
    }
    END_MSG_MAP()

private:
    HWND List() const { return GetDlgItem(kList); }

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
        HINSTANCE inst = ::GetModuleHandleA(nullptr);
        HICON big = (HICON)::LoadImageA(inst, MAKEINTRESOURCEA(128), IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
                                        ::GetSystemMetrics(SM_CYICON), 0);
        HICON small = (HICON)::LoadImageA(inst, MAKEINTRESOURCEA(128), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                          ::GetSystemMetrics(SM_CYSMICON), 0);
        if (big) ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, (LPARAM)big);
        if (small) ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, (LPARAM)small);
        m_list.Load(nullptr);
        ::MakeDragList(List());
        for (int id : kGroupChecks)
            SetCheck(id, false);
        for (const ToolbarList::Row& row : m_list.m_rows) {
            SendItemMessage(kList, LB_ADDSTRING, 0, (LPARAM)row.caption.c_str());
            const int group = GroupIndex(row.caption.c_str());
            if (group >= 0) SetCheck(kGroupChecks[group], row.visible != 0);
        }
        SendItemMessage(kList, LB_SETCURSEL, 0);
        int mode = m_list.m_sizeMode;
        if (mode < -1 || mode > 2) mode = 1;
        for (int i = 0; i < 4; ++i)
            SetCheck(kSizeRadios[i], i == mode + 1);
        handled = FALSE;  // the base: coloured OK, centred
        return 0;
    }

    // Moves the selected item by `step` places.
    void MoveSelection(int step) {
        const int sel = (int)SendItemMessage(kList, LB_GETCURSEL);
        const int count = (int)SendItemMessage(kList, LB_GETCOUNT);
        if (sel < 0 || sel + step < 0 || sel + step >= count) return;
        Move(sel, sel + step);
    }
    void Move(int from, int to) {
        char text[256] = "";
        const LRESULT len = SendItemMessage(kList, LB_GETTEXTLEN, from);
        if (len == LB_ERR || len >= (LRESULT)sizeof text) return;
        if (SendItemMessage(kList, LB_GETTEXT, from, (LPARAM)text) == LB_ERR) return;
        SendItemMessage(kList, LB_DELETESTRING, from);
        SendItemMessage(kList, LB_INSERTSTRING, to, (LPARAM)text);
        SendItemMessage(kList, LB_SETCURSEL, to);
    }
    LRESULT OnUp(WORD, WORD, HWND, BOOL&) {
        MoveSelection(-1);
        return 0;
    }
    LRESULT OnDown(WORD, WORD, HWND, BOOL&) {
        MoveSelection(1);
        return 0;
    }

    LRESULT OnDefaults(WORD, WORD, HWND, BOOL&) {
        if (ZavMessageBox(m_hWnd, "初期状態に戻します。よろしいですか？", "確認", MB_OKCANCEL | MB_ICONQUESTION) !=
            IDOK)
            return 0;
        for (int id : kGroupChecks)
            SetCheck(id, true);
        for (int i = 0; i < 4; ++i)
            SetCheck(kSizeRadios[i], i == 2);
        SendItemMessage(kList, LB_RESETCONTENT);
        for (const ToolbarGroupDef& g : ToolbarGroupTable)
            SendItemMessage(kList, LB_ADDSTRING, 0, (LPARAM)g.caption);
        SendItemMessage(kList, LB_SETCURSEL, 0);
        return 0;
    }

    LRESULT OnOK(WORD, WORD, HWND, BOOL&) {
        Apply();
        EndDialog(IDOK);
        return 0;
    }
    void Apply() {
        const int count = (int)SendItemMessage(kList, LB_GETCOUNT);
        if (m_list.Count() != (int)kToolbarGroupCount || count != (int)kToolbarGroupCount) return;
        std::vector<ToolbarList::Row> rows;
        for (int i = 0; i < count; ++i) {
            char text[256] = "";
            const LRESULT len = SendItemMessage(kList, LB_GETTEXTLEN, i);
            if (len == LB_ERR || len >= (LRESULT)sizeof text) return;
            SendItemMessage(kList, LB_GETTEXT, i, (LPARAM)text);
            const int group = GroupIndex(text);
            if (group < 0) return;  // stored nothing
            ToolbarList::Row row;
            row.visible = IsChecked(kGroupChecks[group]) ? 1 : 0;
            row.caption = text;
            rows.push_back(row);
        }
        int mode = 1;
        for (int i = 0; i < 4; ++i)
            if (IsChecked(kSizeRadios[i])) {
                mode = i - 1;
                break;
            }
        m_list.m_sizeMode = mode;
        m_list.m_rows = rows;
        m_list.Save();
    }

    int ItemUnder(POINT screenPoint) const { return ::LBItemFromPt(List(), screenPoint, TRUE); }

    LRESULT OnDragList(const DRAGLISTINFO* info) {
        if (!info) return 0;
        switch (info->uNotification) {
        case DL_BEGINDRAG: ::DrawInsert(m_hWnd, List(), ItemUnder(info->ptCursor)); return 1;
        case DL_DRAGGING: ::DrawInsert(m_hWnd, List(), ItemUnder(info->ptCursor)); return 0;
        case DL_DROPPED: {
            ::DrawInsert(m_hWnd, List(), -1);
            const int source = (int)SendItemMessage(kList, LB_GETCURSEL);
            const int target = ItemUnder(info->ptCursor);
            if (source >= 0 && target >= 0 && source != target) Move(source, target);
            return 0;
        }
        case DL_CANCELDRAG: ::DrawInsert(m_hWnd, List(), -1); return 0;
        default: return 0;
        }
    }

    ToolbarList m_list;
};

}  // namespace

int RunToolbarSettingsDialog(HWND parent) {
    CSetToolBarDlg dlg;
    return dlg.DoModal(parent) == IDOK ? 1 : 2;
}

void NotifyToolbarsChanged() {
    HWND frame = MainFrameWindow();
    if (!frame) return;
    NMHDR nm = {frame, 0, TOOLBARS_CHANGED};
    ::SendMessageA(frame, WM_NOTIFY, 0, (LPARAM)&nm);
}

int RunToolbarSettingsCommand() {
    if (RunToolbarSettingsDialog(::GetActiveWindow()) == 1) NotifyToolbarsChanged();
    return 0;
}
