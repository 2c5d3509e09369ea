// Dialogs from resource templates, modal or modeless, routed through the
// object's message map like any window.
//
//   class CAboutDlg : public CDialog {
//    public:
//     CAboutDlg() : CDialog(100) {}
//     BEGIN_MSG_MAP(CAboutDlg)
//       MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
//       COMMAND_ID_HANDLER(IDOK, OnCloseCmd)
//       COMMAND_ID_HANDLER(IDCANCEL, OnCloseCmd)
//     END_MSG_MAP()
//     ...
//   };
//   CAboutDlg().DoModal(owner);
//
// The object is bound from the dialog's first message, before WM_INITDIALOG,
// whose lParam stays the caller's init parameter. A handled message's result
// is given back as the dialog procedure expects (DWLP_MSGRESULT, or the
// return value for the messages that use it). WM_INITDIALOG that no entry
// takes sets the focus to the first control.
//
// A modeless dialog must see its keys through IsDialogMessage: a CDialog is
// a message filter that does just that; add it to the thread's loop
// (win::GetMessageLoop()->AddMessageFilter(&dlg)) while it is open.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "win/message_loop.h"
#include "win/window.h"

class CDialog : public CWindowBase, public CMessageFilter {
public:
    // `instance` null: the module this framework is linked into.
    explicit CDialog(UINT templateId, HINSTANCE instance = nullptr) : m_templateId(templateId), m_instance(instance) {}
    // A template named by text ("PAGE_EDIT").
    explicit CDialog(const char* templateName, HINSTANCE instance = nullptr)
        : m_templateId(0), m_templateName(templateName), m_instance(instance) {}

    // Runs the dialog modally; returns the code given to EndDialog, or -1
    // when the template could not be loaded.
    INT_PTR DoModal(HWND parent = ::GetActiveWindow(), LPARAM initParam = 0);
    // Creates the dialog modeless (shown when its template says WS_VISIBLE).
    HWND Create(HWND parent, LPARAM initParam = 0);
    // The same from a template held in memory (for modules without the
    // resource, such as test programs).
    HWND CreateIndirect(HWND parent, const DLGTEMPLATE* tpl, LPARAM initParam = 0);
    // Ends a modal run with `result`; a modeless dialog is destroyed and
    // keeps `result` in m_result.
    BOOL EndDialog(INT_PTR result);
    bool IsModal() const { return m_modal; }

    // For maps: ends the dialog with the command id (IDOK, IDCANCEL ...).
    LRESULT OnCloseCmd(WORD, WORD id, HWND, BOOL&) {
        EndDialog(id);
        return 0;
    }

    // IsDialogMessage for this dialog (keys such as Tab, Enter, Esc).
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // A dialog's default is the dialog manager's: "not handled".
    LRESULT DefWindowProc(UINT, WPARAM, LPARAM) override { return 0; }

    // Item helpers (no data exchange layer: read and write what you need).
    std::string GetItemText(int id) const;
    BOOL SetItemText(int id, const char* text) const { return ::SetDlgItemTextA(m_hWnd, id, text); }
    // Reads a decimal integer; `ok` says whether the text was a number.
    int GetItemInt(int id, BOOL* ok = nullptr, BOOL isSigned = TRUE) const {
        return (int)::GetDlgItemInt(m_hWnd, id, ok, isSigned);
    }
    BOOL SetItemInt(int id, int value, BOOL isSigned = TRUE) const {
        return ::SetDlgItemInt(m_hWnd, id, (UINT)value, isSigned);
    }
    bool IsChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED; }
    BOOL SetCheck(int id, bool checked) const {
        return ::CheckDlgButton(m_hWnd, id, checked ? BST_CHECKED : BST_UNCHECKED);
    }
    BOOL CheckRadio(int first, int last, int checked) const { return ::CheckRadioButton(m_hWnd, first, last, checked); }
    BOOL EnableItem(int id, bool enable) const { return ::EnableWindow(GetDlgItem(id), enable); }
    BOOL ShowItem(int id, bool show) const { return ::ShowWindow(GetDlgItem(id), show ? SW_SHOW : SW_HIDE); }
    LRESULT SendItemMessage(int id, UINT msg, WPARAM w = 0, LPARAM l = 0) const {
        return ::SendDlgItemMessageA(m_hWnd, id, msg, w, l);
    }

    INT_PTR m_result = 0;  // result of a modeless dialog

    static INT_PTR CALLBACK StaticDialogProc(HWND, UINT, WPARAM, LPARAM);

protected:
    // Shared by dialogs and property pages: routes one message and turns the
    // result into what the dialog manager expects.
    static INT_PTR RouteDialogMessage(CDialog* self, HWND, UINT, WPARAM, LPARAM);
    HINSTANCE Instance() const;
    HWND CreateModeless(HWND parent, const DLGTEMPLATE* tpl, LPARAM initParam);
    LPCSTR TemplateResource() const { return m_templateName ? m_templateName : MAKEINTRESOURCEA(m_templateId); }

    UINT m_templateId;
    const char* m_templateName = nullptr;
    HINSTANCE m_instance;
    bool m_modal = false;
};

namespace win {

// While one lives, modal dialogs and property sheets are not shown, the way
// MessageBoxTestHook stands in for message boxes: each DoModal returns the
// hook's answer for its template (a property sheet asks for template 0) and
// is recorded. For tests that run commands whose dialogs are not theirs.
class ModalDialogTestHook {
public:
    explicit ModalDialogTestHook(INT_PTR answer = IDCANCEL);
    ~ModalDialogTestHook();
    ModalDialogTestHook(const ModalDialogTestHook&) = delete;
    ModalDialogTestHook& operator=(const ModalDialogTestHook&) = delete;

    ModalDialogTestHook& Answer(UINT templateId, INT_PTR answer) {
        m_answers[templateId] = answer;
        return *this;
    }
    const std::vector<UINT>& Shown() const { return m_shown; }
    INT_PTR Take(UINT templateId);

private:
    INT_PTR m_default;
    std::map<UINT, INT_PTR> m_answers;
    std::vector<UINT> m_shown;
    ModalDialogTestHook* m_outer = nullptr;
};

// The hook that answers now, or null.
ModalDialogTestHook* ActiveModalDialogTestHook();

// A dialog template without controls, menu or caption, in a set font whose
// face is given in code page 932; for CDialog::CreateIndirect and the
// platform's indirect dialog calls.
std::vector<WORD> EmptyDialogTemplate(DWORD style, DWORD exStyle, short x, short y, short cx, short cy, WORD points,
                                      const char* face);

}  // namespace win
