#include "win/property_sheet.h"

namespace {
// The sheet whose window the platform is making (for its callback).
thread_local CPropertySheet* t_pendingSheet = nullptr;
}  // namespace

// ---------------------------------------------------------------- page

CPropertyPage::CPropertyPage(UINT templateId, const char* title, HINSTANCE instance) : CDialog(templateId, instance) {
    if (title != nullptr) {
        m_title = title;
        m_hasTitle = true;
    }
}

HPROPSHEETPAGE CPropertyPage::CreatePage() {
    PROPSHEETPAGEA psp = {};
    psp.dwSize = sizeof(psp);
    psp.dwFlags = PSP_DEFAULT;
    psp.hInstance = Instance();
    psp.pszTemplate = MAKEINTRESOURCEA(m_templateId);
    psp.pfnDlgProc = &StaticPageProc;
    psp.lParam = (LPARAM)this;
    if (m_hasTitle) {
        psp.dwFlags |= PSP_USETITLE;
        psp.pszTitle = m_title.c_str();
    }
    return ::CreatePropertySheetPageA(&psp);
}

void CPropertyPage::SetModified(bool changed) const {
    HWND sheet = GetSheet();
    if (sheet != nullptr) ::SendMessageA(sheet, changed ? PSM_CHANGED : PSM_UNCHANGED, (WPARAM)m_hWnd, 0);
}

LRESULT CPropertyPage::OnSheetNotify(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    const NMHDR* nmh = (const NMHDR*)lParam;
    if (nmh == nullptr || nmh->hwndFrom != GetSheet()) {
        handled = FALSE;
        return 0;
    }
    switch (nmh->code) {
    case PSN_SETACTIVE: return OnSetActive() ? 0 : -1;
    case PSN_KILLACTIVE: return OnKillActive();
    case PSN_APPLY: return OnApply();
    case PSN_RESET: OnReset(); return 0;
    case PSN_QUERYCANCEL: return OnQueryCancel();
    default: handled = FALSE; return 0;
    }
}

INT_PTR CALLBACK CPropertyPage::StaticPageProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    CPropertyPage* self = dynamic_cast<CPropertyPage*>(FromHandle(hWnd));
    if (self == nullptr) {
        // Bound on WM_INITDIALOG, whose lParam is the page record we filled.
        if (uMsg != WM_INITDIALOG || lParam == 0 || FromHandle(hWnd) != nullptr) return FALSE;
        self = (CPropertyPage*)((const PROPSHEETPAGEA*)lParam)->lParam;
        if (self == nullptr) return FALSE;
        if (self->m_hWnd != nullptr) self->Unbind();  // a stale window of an earlier run
        self->m_modal = false;
        self->Bind(hWnd);
    }
    return RouteDialogMessage(self, hWnd, uMsg, wParam, lParam);
}

// ---------------------------------------------------------------- sheet

CPropertySheet::CPropertySheet(const char* caption, UINT startPage)
    : m_caption(caption ? caption : ""), m_startPage(startPage) {}

int CALLBACK CPropertySheet::SheetCallback(HWND hWnd, UINT msg, LPARAM) {
    if (msg == PSCB_INITIALIZED && t_pendingSheet != nullptr) {
        CPropertySheet* self = t_pendingSheet;
        t_pendingSheet = nullptr;
        if (self->SubclassWindow(hWnd)) self->OnSheetInitialized();
    }
    return 0;
}

INT_PTR CPropertySheet::DoModal(HWND parent) {
    if (m_hWnd != nullptr || m_pages.empty()) return -1;
    if (win::ModalDialogTestHook* hook = win::ActiveModalDialogTestHook()) return hook->Take(0);
    std::vector<HPROPSHEETPAGE> handles;
    for (CPropertyPage* p : m_pages) {
        HPROPSHEETPAGE h = p->CreatePage();
        if (h == nullptr) {
            for (HPROPSHEETPAGE made : handles)
                ::DestroyPropertySheetPage(made);
            return -1;
        }
        handles.push_back(h);
    }
    PROPSHEETHEADERA psh = {};
    psh.dwSize = sizeof(psh);
    psh.dwFlags = m_flags | PSH_USECALLBACK;
    psh.hwndParent = parent;
    psh.hInstance = win::ModuleInstance();
    psh.pszCaption = m_caption.c_str();
    psh.nPages = (UINT)handles.size();
    psh.nStartPage = m_startPage < handles.size() ? m_startPage : 0;
    psh.phpage = handles.data();
    psh.pfnCallback = &SheetCallback;
    t_pendingSheet = this;
    INT_PTR r = ::PropertySheetA(&psh);
    if (t_pendingSheet == this) t_pendingSheet = nullptr;
    if (m_hWnd != nullptr) Unbind();
    for (CPropertyPage* p : m_pages)
        if (p->m_hWnd != nullptr && !::IsWindow(p->m_hWnd)) p->m_hWnd = nullptr;
    return r;
}

HWND CPropertySheet::GetActivePageWindow() const { return (HWND)::SendMessageA(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0); }

BOOL CPropertySheet::SetActivePage(int index) const {
    return (BOOL)::SendMessageA(m_hWnd, PSM_SETCURSEL, (WPARAM)index, 0);
}

void CPropertySheet::PressButton(int button) const { ::PostMessageA(m_hWnd, PSM_PRESSBUTTON, (WPARAM)button, 0); }
