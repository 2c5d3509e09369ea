// The input-layer dialog (resource 246): a modeless list of the layers of
// the current page; the clicked one becomes the input layer at once.
#pragma once

#include <windows.h>

#include <string>

#include "win/dialog_base.h"

class CLayerSetCurrDlg : public CDialogBase<CLayerSetCurrDlg>, public CIdleHandler {
public:
    CLayerSetCurrDlg();
    ~CLayerSetCurrDlg() override;

    // Creates the window over `parent`; null when it cannot be made.
    HWND Create(HWND parent, LPARAM param = 0);
    void RefreshList();

    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnIdle() override { return FALSE; }

    BEGIN_MSG_MAP(CLayerSetCurrDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    COMMAND_HANDLER(1136, LBN_SELCHANGE, OnListSelChange)
    COMMAND_ID_HANDLER(IDOK, OnClose)
    COMMAND_ID_HANDLER(IDCANCEL, OnClose)
    CHAIN_MSG_MAP(CDialogBase<CLayerSetCurrDlg>)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetMinMaxInfo(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnListSelChange(WORD, WORD, HWND, BOOL&);
    LRESULT OnClose(WORD, WORD, HWND, BOOL&);

    HWND m_listWindow = nullptr;
    SIZE m_initialSize = {};
    POINT m_closeMargin = {};
    POINT m_listMargin = {};
    int m_captionRightMargin = 0;
    bool m_registered = false;
};

// The line of a layer: "%-4d %s" with the number + 1 and the name
// ("レイヤ %d" when the name is empty).
std::string InputLayerLine(int layer, const char* name);
// The caption of static 1812: "ﾍﾟｰｼﾞ:%s" with the title, or the page number.
std::string InputLayerCaption(int page, const char* title);

// The tool panel's road to the dialog: code 0 show (made on first use,
// else refreshed), 1 refresh when it exists, 2 hide.
void ShowInputLayerDialog(int code);
// The dialog's window, or null before it was made.
HWND InputLayerDialogWindow();
