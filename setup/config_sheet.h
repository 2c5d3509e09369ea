// The configuration sheet "環境設定": ten pages over the per-user behaviour
// and drawing settings. A page reads the settings when the platform makes
// it (the first time it is shown) and stores its controls each time the user
// leaves it, OK included; the values themselves and their rules are in
// config_pages.h.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "setup/color_number_list.h"
#include "win/property_sheet.h"

// The base of every page: the panel-coloured background and labels, the
// sheet's OK button moved to Cancel's place and drawn coloured, the colour
// lists painted, and the store step when the page is left.
class CSetConfigPropertyPage : public CPropertyPage {
public:
    explicit CSetConfigPropertyPage(UINT templateId) : CPropertyPage(templateId) {}
    ~CSetConfigPropertyPage() override;

    BEGIN_MSG_MAP(CSetConfigPropertyPage)
    MESSAGE_HANDLER(WM_INITDIALOG, OnBaseInitDialog)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
    MESSAGE_HANDLER(WM_DRAWITEM, OnDrawListItem)
    CHAIN_MSG_MAP(CPropertyPage)
    END_MSG_MAP()

    // Leaving the page stores it; a page whose values are refused keeps the
    // user on it.
    BOOL OnKillActive() override { return Store() ? FALSE : TRUE; }

protected:
    // The page's store step; false when a value was refused.
    virtual bool Store() = 0;
    // A colour list of the page on control `id`, painted by the base.
    ColorNumberList& AttachList(ColorNumberList& list, int id);

    ColorNumberList m_lists[3];

private:
    LRESULT OnBaseInitDialog(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&);
    LRESULT OnCtlColorStatic(UINT, WPARAM wParam, LPARAM, BOOL&);
    LRESULT OnDrawListItem(UINT, WPARAM, LPARAM lParam, BOOL& handled);

    HBRUSH m_brush = nullptr;
};

// The ten pages in their order.
std::unique_ptr<CSetConfigPropertyPage> MakeConfigPage01();
std::unique_ptr<CSetConfigPropertyPage> MakeConfigPage02();
std::unique_ptr<CSetConfigPropertyPage> MakeConfigPage03();
std::unique_ptr<CSetConfigPropertyPage> MakeConfigPage04();
std::unique_ptr<CSetConfigPropertyPage> MakeConfigPage05();
std::unique_ptr<CSetConfigPropertyPage> MakeConfigPage06();
std::unique_ptr<CSetConfigPropertyPage> MakeConfigPage07();
std::unique_ptr<CSetConfigPropertyPage> MakeConfigPage08();
std::unique_ptr<CSetConfigPropertyPage> MakeConfigPage09();
std::unique_ptr<CSetConfigPropertyPage> MakeConfigPage10();

class CSetConfigDlg : public CPropertySheet {
public:
    explicit CSetConfigDlg(const char* caption = "");
    ~CSetConfigDlg() override;
    const char* Caption() const { return m_caption.c_str(); }

    BEGIN_MSG_MAP(CSetConfigDlg)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_SHOWWINDOW, OnShowWindow)
    MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
    MESSAGE_HANDLER(WM_CTLCOLORBTN, OnCtlColorButton)
    COMMAND_ID_HANDLER(IDOK, OnOk)
    END_MSG_MAP()

private:
    LRESULT OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&);
    LRESULT OnShowWindow(UINT, WPARAM wParam, LPARAM, BOOL& handled);
    LRESULT OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL& handled);
    LRESULT OnCtlColorButton(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnOk(WORD, WORD, HWND, BOOL& handled);

    std::vector<std::unique_ptr<CSetConfigPropertyPage>> m_pages;
    HBRUSH m_backgroundBrush = nullptr;
    bool m_centred = false;
};

// Fills a rectangle with the panel colour, without an outline.
void FillPanelColor(HWND window, HDC dc);
