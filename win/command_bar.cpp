#include "win/command_bar.h"

#include <cctype>
#include <string>
#include <vector>

#include "base/dbcs.h"

namespace {

std::string MenuItemText(HMENU menu, int pos) {
    char buf[1025] = {};
    ::GetMenuStringA(menu, (UINT)pos, buf, sizeof(buf), MF_BYPOSITION);
    return buf;
}

// The mnemonic of a menu text: the character after a single '&' ("&&" is a
// literal ampersand), found without mistaking a trail byte for '&'.
char Mnemonic(const std::string& text) {
    const char* p = text.c_str();
    while (*p != '\0') {
        if (*p == '&') {
            if (p[1] == '&') {
                p += 2;
                continue;
            }
            unsigned char c = (unsigned char)p[1];
            if (c != 0 && !IsSjisLeadByte(c)) return (char)std::toupper(c);
            return 0;
        }
        p = DbcsNext(p);
    }
    return 0;
}

}  // namespace

HWND CCommandBar::Create(HWND parent, UINT id, DWORD style) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    CreateArgs a;
    a.className = TOOLBARCLASSNAMEA;
    a.parent = parent;
    a.style = style;
    a.id = id;
    a.x = a.y = 0;
    a.cx = a.cy = 0;
    HWND h = CWindowBase::Create(a);
    if (h == nullptr) return nullptr;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    return h;
}

int CCommandBar::ButtonCount() const { return m_hWnd ? (int)SendMessage(TB_BUTTONCOUNT) : 0; }

void CCommandBar::RemoveButtons() {
    for (int n = ButtonCount(); n > 0; --n)
        SendMessage(TB_DELETEBUTTON, n - 1);
}

BOOL CCommandBar::AttachMenu(HMENU menu) {
    if (m_hWnd == nullptr) return FALSE;
    if (menu != nullptr && !::IsMenu(menu)) return FALSE;
    SendMessage(WM_SETREDRAW, FALSE);
    RemoveButtons();
    m_menu = menu;
    int n = menu ? ::GetMenuItemCount(menu) : 0;
    for (int i = 0; i < n; ++i) {
        std::string text = MenuItemText(menu, i);
        UINT state = ::GetMenuState(menu, (UINT)i, MF_BYPOSITION);
        std::vector<char> str(text.begin(), text.end());
        str.push_back('\0');
        str.push_back('\0');
        TBBUTTON b = {};
        b.iBitmap = I_IMAGENONE;
        b.idCommand = (int)(kFirstButtonId + i);
        b.fsState = (state & (MF_GRAYED | MF_DISABLED)) ? 0 : TBSTATE_ENABLED;
        b.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE;
        b.iString = (INT_PTR)SendMessage(TB_ADDSTRINGA, 0, (LPARAM)str.data());
        SendMessage(TB_ADDBUTTONSA, 1, (LPARAM)&b);
    }
    SendMessage(WM_SETREDRAW, TRUE);
    SendMessage(TB_AUTOSIZE);
    Invalidate();
    return TRUE;
}

BOOL CCommandBar::TakeOverMenu(HWND frame) {
    HMENU menu = ::GetMenu(frame);
    if (menu == nullptr || !AttachMenu(menu)) return FALSE;
    ::SetMenu(frame, nullptr);
    return TRUE;
}

BOOL CCommandBar::SetMDIClient(HWND client) {
    if (m_clientHook.m_hWnd != nullptr) m_clientHook.UnsubclassWindow();
    if (client == nullptr) return TRUE;
    m_clientHook.m_bar = this;
    return m_clientHook.SubclassWindow(client);
}

LRESULT CCommandBar::CMDIClientHook::OnMDISetMenu(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    HMENU old = m_bar->GetMenu();
    HMENU frameMenu = (HMENU)wParam;
    if (frameMenu != nullptr && frameMenu != old) m_bar->AttachMenu(frameMenu);
    // The client still keeps its window list in the window menu; the frame
    // window itself gets no menu bar.
    if (lParam != 0) DefWindowProc(WM_MDISETMENU, 0, lParam);
    return (LRESULT)old;
}

LRESULT CCommandBar::CMDIClientHook::OnMDIRefreshMenu(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
    // The default refresh puts the frame menu back on the frame window; the
    // bar shows it instead.
    LRESULT r = DefWindowProc(msg, wParam, lParam);
    ::SetMenu(::GetParent(m_hWnd), nullptr);
    return r;
}

BOOL CCommandBar::OpenMenu(int index) {
    if (m_menu == nullptr || index < 0 || index >= ::GetMenuItemCount(m_menu)) return FALSE;
    HMENU popup = ::GetSubMenu(m_menu, index);
    if (popup == nullptr) return FALSE;
    UINT id = kFirstButtonId + (UINT)index;
    RECT rc = {0, 0, 0, 0};
    SendMessage(TB_GETRECT, id, (LPARAM)&rc);
    ::MapWindowPoints(m_hWnd, nullptr, (POINT*)&rc, 2);
    TPMPARAMS tpm = {sizeof(tpm), rc};
    m_openIndex = index;
    SendMessage(TB_PRESSBUTTON, id, MAKELPARAM(TRUE, 0));
    // The bar, as owner, receives WM_INITMENU and the rest and sends them on.
    ::TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_LEFTBUTTON, rc.left, rc.bottom, m_hWnd,
                       &tpm);
    if (m_hWnd != nullptr) SendMessage(TB_PRESSBUTTON, id, MAKELPARAM(FALSE, 0));
    m_openIndex = -1;
    return TRUE;
}

BOOL CCommandBar::OpenMenuByMnemonic(char ch) {
    if (m_menu == nullptr || ch == 0) return FALSE;
    char want = (char)std::toupper((unsigned char)ch);
    int n = ::GetMenuItemCount(m_menu);
    for (int i = 0; i < n; ++i)
        if (Mnemonic(MenuItemText(m_menu, i)) == want) return OpenMenu(i);
    return FALSE;
}

LRESULT CCommandBar::OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    int index = (int)SendMessage(TB_HITTEST, 0, (LPARAM)&pt);
    if (index < 0 || index >= ButtonCount()) {
        handled = FALSE;
        return 0;
    }
    OpenMenu(index);
    return 0;
}

LRESULT CCommandBar::OnForward(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    HWND target = GetCommandTarget();
    if (target == nullptr || target == m_hWnd) {
        handled = FALSE;
        return 0;
    }
    return ::SendMessageA(target, uMsg, wParam, lParam);
}

LRESULT CCommandBar::OnForwardMenuOwnerDraw(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    // Only menu items are the target's; the bar's own items are its own.
    UINT type = uMsg == WM_DRAWITEM ? ((DRAWITEMSTRUCT*)lParam)->CtlType : ((MEASUREITEMSTRUCT*)lParam)->CtlType;
    if (type != ODT_MENU) {
        handled = FALSE;
        return 0;
    }
    return OnForward(uMsg, wParam, lParam, handled);
}
