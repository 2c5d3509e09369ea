// Property sheets whose pages are dialog objects with message maps.
//
// A page is created by the sheet when it is first shown; each creation
// binds the page object anew (WM_INITDIALOG), so a page reads its values in
// its WM_INITDIALOG handler once per run. The sheet notifications reach the
// page as virtual calls (OnSetActive, OnKillActive, OnApply, OnReset,
// OnQueryCancel) through CPropertyPage's map: a page's own map chains to it.
//
//   class CGridPage : public CPropertyPage {
//    public:
//     CGridPage() : CPropertyPage(204) {}
//     BEGIN_MSG_MAP(CGridPage)
//       MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
//       CHAIN_MSG_MAP(CPropertyPage)
//     END_MSG_MAP()
//     int OnApply() override { ...store...; return PSNRET_NOERROR; }
//   };
//
// The sheet window itself is subclassed to the CPropertySheet object once the
// platform has made it (OnSheetInitialized), so a derived sheet can have a
// map of its own and move or rename the sheet's buttons.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "win/dialog.h"

class CPropertyPage : public CDialog {
public:
    // `title` null: the template's caption names the tab.
    explicit CPropertyPage(UINT templateId, const char* title = nullptr, HINSTANCE instance = nullptr);

    // The page handle the platform's sheet takes (made anew on each call).
    HPROPSHEETPAGE CreatePage();

    // Sheet notifications. OnSetActive: TRUE accepts the activation.
    // OnKillActive: TRUE keeps the user on the page (invalid input).
    // OnApply: PSNRET_NOERROR, or PSNRET_INVALID... to refuse.
    // OnQueryCancel: TRUE refuses the cancel.
    virtual BOOL OnSetActive() { return TRUE; }
    virtual BOOL OnKillActive() { return FALSE; }
    virtual int OnApply() { return PSNRET_NOERROR; }
    virtual void OnReset() {}
    virtual BOOL OnQueryCancel() { return FALSE; }

    // Marks the page changed (enables Apply) or unchanged.
    void SetModified(bool changed = true) const;
    HWND GetSheet() const { return ::GetParent(m_hWnd); }

    BEGIN_MSG_MAP(CPropertyPage)
    MESSAGE_HANDLER(WM_NOTIFY, OnSheetNotify)
    END_MSG_MAP()

    static INT_PTR CALLBACK StaticPageProc(HWND, UINT, WPARAM, LPARAM);

protected:
    LRESULT OnSheetNotify(UINT, WPARAM, LPARAM lParam, BOOL& handled);

    std::string m_title;
    bool m_hasTitle = false;
};

class CPropertySheet : public CWindowBase {
public:
    explicit CPropertySheet(const char* caption = "", UINT startPage = 0);

    // Pages are shown in the order added; the sheet does not own them.
    void AddPage(CPropertyPage* page) { m_pages.push_back(page); }
    int PageCount() const { return (int)m_pages.size(); }

    // Runs the sheet modally. Returns what the platform returns: a positive
    // value after OK (or Apply), 0 after Cancel, -1 on failure.
    INT_PTR DoModal(HWND parent = ::GetActiveWindow());

    // Called once the sheet window exists and is bound to this object,
    // before the first page is shown.
    virtual void OnSheetInitialized() {}

    HWND GetActivePageWindow() const;
    BOOL SetActivePage(int index) const;
    // Presses PSBTN_OK, PSBTN_CANCEL, PSBTN_APPLYNOW, ... (posted, so it
    // takes effect once the caller has returned to the sheet's loop).
    void PressButton(int button) const;

    DWORD m_flags = PSH_NOAPPLYNOW;  // PSH_ flags added to the header
    std::string m_caption;
    UINT m_startPage;

private:
    static int CALLBACK SheetCallback(HWND hWnd, UINT msg, LPARAM lParam);
    std::vector<CPropertyPage*> m_pages;
};
