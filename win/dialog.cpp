#include "win/dialog.h"

#include <cstring>
#include <vector>

namespace {
// The dialog waiting for its window. Kept apart from the window slot so that
// a control of one of our classes, made from the template, never takes it.
thread_local CDialog* t_pendingDialog = nullptr;
}  // namespace

HINSTANCE CDialog::Instance() const { return m_instance ? m_instance : win::ModuleInstance(); }

namespace {
win::ModalDialogTestHook* g_modalHook = nullptr;
}  // namespace

namespace win {

ModalDialogTestHook::ModalDialogTestHook(INT_PTR answer) : m_default(answer), m_outer(g_modalHook) {
    g_modalHook = this;
}

ModalDialogTestHook::~ModalDialogTestHook() { g_modalHook = m_outer; }

INT_PTR ModalDialogTestHook::Take(UINT templateId) {
    m_shown.push_back(templateId);
    const auto it = m_answers.find(templateId);
    return it == m_answers.end() ? m_default : it->second;
}

ModalDialogTestHook* ActiveModalDialogTestHook() { return g_modalHook; }

std::vector<WORD> EmptyDialogTemplate(DWORD style, DWORD exStyle, short x, short y, short cx, short cy, WORD points,
                                      const char* face) {
    DLGTEMPLATE head = {};
    head.style = style | DS_SETFONT;
    head.dwExtendedStyle = exStyle;
    head.x = x;
    head.y = y;
    head.cx = cx;
    head.cy = cy;
    std::vector<WORD> words(sizeof head / sizeof(WORD));
    std::memcpy(words.data(), &head, sizeof head);
    words.push_back(0);  // no menu
    words.push_back(0);  // the standard dialog class
    words.push_back(0);  // no caption
    words.push_back(points);
    WCHAR wide[LF_FACESIZE] = {};
    ::MultiByteToWideChar(932, 0, face, -1, wide, LF_FACESIZE);
    for (const WCHAR* c = wide;; ++c) {
        words.push_back(static_cast<WORD>(*c));
        if (!*c) break;
    }
    return words;
}

}  // namespace win

INT_PTR CDialog::DoModal(HWND parent, LPARAM initParam) {
    if (m_hWnd != nullptr) return -1;
    if (win::ModalDialogTestHook* hook = win::ActiveModalDialogTestHook()) return hook->Take(m_templateId);
    m_modal = true;
    t_pendingDialog = this;
    INT_PTR r = ::DialogBoxParamA(Instance(), TemplateResource(), parent, &StaticDialogProc, initParam);
    if (t_pendingDialog == this) t_pendingDialog = nullptr;
    m_modal = false;
    if (m_hWnd != nullptr && !::IsWindow(m_hWnd)) m_hWnd = nullptr;
    return r;
}

HWND CDialog::Create(HWND parent, LPARAM initParam) { return CreateModeless(parent, nullptr, initParam); }

HWND CDialog::CreateIndirect(HWND parent, const DLGTEMPLATE* tpl, LPARAM initParam) {
    return tpl ? CreateModeless(parent, tpl, initParam) : nullptr;
}

HWND CDialog::CreateModeless(HWND parent, const DLGTEMPLATE* tpl, LPARAM initParam) {
    if (m_hWnd != nullptr) return nullptr;
    m_modal = false;
    t_pendingDialog = this;
    m_inCreate = true;
    HWND h = tpl ? ::CreateDialogIndirectParamA(Instance(), tpl, parent, &StaticDialogProc, initParam)
                 : ::CreateDialogParamA(Instance(), TemplateResource(), parent, &StaticDialogProc, initParam);
    m_inCreate = false;
    if (t_pendingDialog == this) t_pendingDialog = nullptr;
    if (h == nullptr) {
        if (m_hWnd != nullptr) Unbind();
        return nullptr;
    }
    m_ownsWindow = true;
    return h;
}

BOOL CDialog::EndDialog(INT_PTR result) {
    if (m_hWnd == nullptr) return FALSE;
    if (m_modal) return ::EndDialog(m_hWnd, result);
    m_result = result;
    return ::DestroyWindow(m_hWnd);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    if (m_hWnd == nullptr || !::IsWindow(m_hWnd)) return FALSE;
    // Only messages for this dialog and its controls.
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return FALSE;
    return ::IsDialogMessageA(m_hWnd, pMsg);
}

std::string CDialog::GetItemText(int id) const {
    HWND item = GetDlgItem(id);
    if (item == nullptr) return std::string();
    return CWindow(item).GetWindowText();
}

INT_PTR CDialog::RouteDialogMessage(CDialog* self, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    BOOL done = self->Route(hWnd, uMsg, wParam, lParam, result);
    self->FinishIfDestroyed(hWnd);  // may delete the object: not used below
    if (!done) return uMsg == WM_INITDIALOG ? TRUE : FALSE;
    switch (uMsg) {
    // These give their answer as the procedure's return value.
    case WM_INITDIALOG:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return (INT_PTR)result;
    default:
        if (::IsWindow(hWnd)) ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, (LONG_PTR)result);
        return TRUE;
    }
}

INT_PTR CALLBACK CDialog::StaticDialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    CDialog* self = dynamic_cast<CDialog*>(FromHandle(hWnd));
    if (self == nullptr) {
        if (FromHandle(hWnd) != nullptr || t_pendingDialog == nullptr) return FALSE;
        self = t_pendingDialog;
        t_pendingDialog = nullptr;
        self->Bind(hWnd);
    }
    return RouteDialogMessage(self, hWnd, uMsg, wParam, lParam);
}
