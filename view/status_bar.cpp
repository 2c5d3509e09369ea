// Prompt and number-entry bar.
#include "view/status_bar.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/dbcs.h"
#include "base/message_table.h"
#include "command/command_system.h"
#include "command/host_messages.h"
#include "panels/rp_menu.h"
#include "view/view_table.h"

namespace {
const char kStatusBarClass[] = "CadStatusBar";
const int kDefaultPromptId = 5000;
const int kEndCommandMenuText = 5180;

void FocusActiveView() {
    HWND view = GetActiveView();
    if (view) ::SetFocus(view);
}
}  // namespace

HWND CurrentStatusBarWindow() { return CmdStatusBar(); }

CCadStatusBar::CCadStatusBar() {}

CCadStatusBar::~CCadStatusBar() {
    if (m_hWnd && CmdStatusBar() == m_hWnd) SetCmdStatusBar(nullptr);
    DestroyMembers();
}

void CCadStatusBar::DestroyMembers() {
    if (m_font) {
        DeleteObject(m_font);
        m_font = nullptr;
    }
    for (Pane& p : m_panes) {
        p.text.clear();
        p.saved.clear();
    }
}

HWND CCadStatusBar::Create(HWND parent, const RECT& rc, UINT id) {
    WindowClassArgs wc;
    wc.name = kStatusBarClass;
    wc.style = 0;
    wc.background = (HBRUSH)(COLOR_BTNFACE + 1);
    win::RegisterWindowClass(wc);
    CreateArgs a;
    a.className = kStatusBarClass;
    a.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    a.parent = parent;
    a.SetRect(rc);
    a.id = id;
    HWND h = CWindowBase::Create(a);
    if (h) SetCmdStatusBar(h);  // the bar created last is the prompt bar
    return h;
}

std::string CCadStatusBar::CleanPrompt(const char* text) {
    std::string s;
    if (text) {
        char buf[256];
        DbcsCopy(buf, sizeof buf, text);
        s = buf;
    }
    // From the end: the first '(' after a ')' pairs with the ')' nearest it.
    size_t close = std::string::npos;
    for (size_t i = s.size(); i-- > 0;) {
        if (IsDbcsTrailAt(s, i)) continue;
        if (s[i] == ')') {
            close = i;
        } else if (s[i] == '(' && close != std::string::npos) {
            if (close == i + 1) return s;  // "()" is shown as it stands
            std::string inside = s.substr(i + 1, close - i - 1);
            size_t eq = DbcsFind(inside, '=');
            std::string key = inside.substr(0, eq);
            std::string value = eq == std::string::npos ? std::string() : inside.substr(eq + 1);
            (void)key;
            (void)value;
            return s.substr(0, i);
        }
    }
    return s;
}

LRESULT CCadStatusBar::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    RECT rc = GetClientRect();
    m_grip = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN, 0,
                             0, rc.right, rc.bottom, m_hWnd, (HMENU)0xE801, GetModuleHandleA(nullptr), nullptr);
    if (m_grip) {
        ::GetWindowRect(m_grip, &m_gripRect);
        // The grip keeps the size of the system's size box.
        int cx = GetSystemMetrics(SM_CXVSCROLL), cy = GetSystemMetrics(SM_CYHSCROLL);
        m_gripRect.right = m_gripRect.left + cx;
        m_gripRect.bottom = m_gripRect.top + cy;
    }
    m_panes[0].textColor = RGB(0, 0, 255);
    m_panes[0].background = RGB(236, 236, 236);
    m_panes[1].width = 110;
    m_panes[1].background = GetSysColor(COLOR_BTNFACE);
    m_panes[2].width = 70;
    m_panes[2].background = GetSysColor(COLOR_BTNFACE);
    m_font = CreateFontA(m_barHeight - 10, 0, 0, 0, FW_BOLD, 0, 0, 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, PROOF_QUALITY, VARIABLE_PITCH | FF_MODERN, "ＭＳ Ｐゴシック");
    m_panes[0].text = CleanPrompt(GetMessageText(kDefaultPromptId));
    return 0;
}

void CCadStatusBar::Layout() {
    if (m_inLayout) return;
    m_inLayout = true;
    HWND parent = GetParent();
    HWND frame = GetAncestor(m_hWnd, GA_ROOT);
    bool maximized = IsZoomed(frame) != FALSE;
    if (m_grip) ::ShowWindow(m_grip, maximized ? SW_HIDE : SW_SHOW);
    RECT pc;
    ::GetClientRect(parent, &pc);
    int width = pc.right - pc.left;
    SetWindowPos(nullptr, 0, pc.bottom - m_barHeight, width, m_barHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    int gw = m_gripRect.right - m_gripRect.left, gh = m_gripRect.bottom - m_gripRect.top;
    if (m_grip) ::MoveWindow(m_grip, width - gw, m_barHeight - gh, gw, gh, TRUE);
    m_panes[0].width = width - m_panes[1].width - m_panes[2].width - (maximized ? 0 : gw);
    if (m_panes[0].width < 0) m_panes[0].width = 0;
    Invalidate();
    m_inLayout = false;
}

LRESULT CCadStatusBar::OnSize(UINT type, int, int, BOOL&) {
    if (type != SIZE_MINIMIZED) Layout();
    return 0;
}

LRESULT CCadStatusBar::OnEraseBkgnd(UINT, WPARAM wParam, LPARAM, BOOL&) {
    RECT rc = GetClientRect();
    FillRect((HDC)wParam, &rc, GetSysColorBrush(COLOR_BTNFACE));
    return 1;
}

void CCadStatusBar::PaintPane(HDC dc, int k, int left) {
    const Pane& p = m_panes[k];
    RECT rc = {left + 2 + (k == 0 ? 2 : 0), 3, left + p.width - 2, m_barHeight - 3};
    if (rc.right <= rc.left) return;
    if (p.background != GetSysColor(COLOR_BTNFACE)) {
        HBRUSH br = CreateSolidBrush(p.background);
        FillRect(dc, &rc, br);
        DeleteObject(br);
    }
    HPEN dark = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DDKSHADOW));
    HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    HGDIOBJ old = SelectObject(dc, dark);
    MoveToEx(dc, rc.left, rc.bottom - 1, nullptr);
    LineTo(dc, rc.left, rc.top);
    LineTo(dc, rc.right, rc.top);
    SelectObject(dc, light);
    MoveToEx(dc, rc.right - 1, rc.top + 1, nullptr);
    LineTo(dc, rc.right - 1, rc.bottom - 1);
    LineTo(dc, rc.left, rc.bottom - 1);
    SelectObject(dc, old);
    DeleteObject(dark);
    DeleteObject(light);
    if (!p.text.empty() && p.visible) {
        HGDIOBJ oldFont = SelectObject(dc, m_font ? (HGDIOBJ)m_font : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, p.textColor);
        RECT tr = {rc.left + 2, rc.top + 2, rc.right - 2, rc.bottom};
        UINT fmt = DT_SINGLELINE | DT_NOPREFIX | (p.align == 2 ? DT_RIGHT : DT_LEFT);
        DrawTextA(dc, p.text.c_str(), (int)p.text.size(), &tr, fmt);
        SelectObject(dc, oldFont);
    }
}

void CCadStatusBar::Paint(HDC dc) {
    int left = 0;
    for (int k = 0; k < m_paneCount; ++k) {
        PaintPane(dc, k, left);
        left += m_panes[k].width;
    }
}

LRESULT CCadStatusBar::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    Paint(dc);
    EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CCadStatusBar::OnPrintClient(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    HDC dc = (HDC)wParam;
    if (lParam & PRF_ERASEBKGND) {
        RECT rc = GetClientRect();
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
    }
    Paint(dc);
    return 0;
}

void CCadStatusBar::SetPaneText(int pane, const char* text) {
    Pane& p = m_panes[pane];
    if (p.append)
        p.text += text ? text : "";
    else
        p.text = text ? text : "";
}

void CCadStatusBar::TypeChar(char c) {
    Pane& p = m_panes[2];
    if (c == 0) {
        p.text.clear();
    } else {
        if (c == '.' && !p.text.empty() && p.text.find('.') != std::string::npos) return;
        if (c == '-') p.text.clear();
        char one[2] = {c, 0};
        SetPaneText(2, one);
    }
    p.append = 1;
}

LRESULT CCadStatusBar::OnUser(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    switch (static_cast<StatusCode>(wParam)) {
    case StatusCode::Message: {
        const char* text = (const char*)lParam;
        if (!text || !*text)
            m_panes[1].text.clear();
        else
            SetPaneText(1, text);
        break;
    }
    case StatusCode::Prompt: {
        const char* text = (const char*)lParam;
        if (!text || !*text) text = GetMessageText(kDefaultPromptId);
        std::string shown = CleanPrompt(text);
        SetPaneText(0, shown.c_str());
        Invalidate(FALSE);
        return 0;
    }
    case StatusCode::TypeChar: TypeChar((char)lParam); break;
    case StatusCode::Nothing: return 0;
    case StatusCode::ElementCount: {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%6ld", (long)lParam);
        m_elementCount = buf;  // kept, shown in no pane
        break;
    }
    case StatusCode::Backspace:
        if (!m_panes[2].text.empty()) {
            // The last byte goes, as typed input is single-byte.
            m_panes[2].text.pop_back();
            m_panes[2].append = 1;
        }
        break;
    }
    Invalidate();
    return 0;
}

LRESULT CCadStatusBar::OnSaveTexts(UINT, WPARAM, LPARAM, BOOL&) {
    m_panes[0].saved = m_panes[0].text;
    m_panes[1].saved = m_panes[1].text;
    return 0;
}

LRESULT CCadStatusBar::OnRestoreTexts(UINT, WPARAM, LPARAM, BOOL&) {
    m_panes[0].text = m_panes[0].saved;
    m_panes[1].text = m_panes[1].saved;
    Invalidate();
    return 0;
}

LRESULT CCadStatusBar::OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    int id = LOWORD(wParam);
    int pane = HIWORD(wParam);
    if (pane < 0 || pane > 2) pane = 0;
    switch (id) {
    case kStatusCmdResetTexts:
        SetStatusMessage(m_hWnd, nullptr);
        SetStatusPrompt(m_hWnd, nullptr);
        handled = FALSE;
        return 0;
    case kStatusCmdEndCommand:  // the bar's parent is the main frame
        ::SendMessageA(GetParent(), UM_END_CMD, 0, 0);
        return 0;
    case kStatusCmdToggleMessage:
        m_messageShown = !m_messageShown;
        ::PostMessageA(GetParent(), WM_SIZE, 0, 0);
        return 0;
    case kStatusCmdCopyPane:
        if (lParam) DbcsCopy((char*)lParam, kStatusBarTextSize, m_panes[pane].text.c_str());
        return 0;
    case kStatusCmdPaneVisible:
        m_panes[pane].visible = lParam != 0;
        Invalidate();
        return 0;
    case kStatusCmdPaneAppend: m_panes[pane].append = lParam != 0; return 0;
    }
    handled = FALSE;
    return 0;
}

LRESULT CCadStatusBar::OnSysKeyDown(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (!CloseRPMenu()) GetActiveView();
    handled = FALSE;
    return 0;
}

LRESULT CCadStatusBar::OnLButtonDown(UINT keys, POINT, BOOL&) {
    if (CloseRPMenu()) return 0;
    FocusActiveView();
    if (keys & MK_CONTROL) SendMessage(WM_COMMAND, kStatusCmdToggleMessage, 0);
    return 0;
}

LRESULT CCadStatusBar::OnRButtonDown(UINT, POINT at, BOOL&) {
    if (CloseRPMenu()) return 0;
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, kStatusCmdEndCommand, GetMessageText(kEndCommandMenuText));
    POINT pt = at;
    ClientToScreen(m_hWnd, &pt);
    TrackPopupMenu(menu, TPM_CENTERALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, m_hWnd, nullptr);
    DestroyMenu(menu);
    return 0;
}

// --- Functions over StatusBarWindow -------------------------------------------------
static std::string TypedText() {
    char buf[kStatusBarTextSize] = {};
    HWND bar = CurrentStatusBarWindow();
    if (bar) SendMessageA(bar, WM_COMMAND, MAKEWPARAM(kStatusCmdCopyPane, kStatusPaneTyped), (LPARAM)buf);
    return buf;
}

double GetStatusBarNumber() { return std::atof(TypedText().c_str()); }

long GetStatusBarInteger() {
    std::string t = TypedText();
    return t.empty() ? -1 : std::atol(t.c_str());
}

int HasStatusBarInput() { return TypedText().empty() ? 0 : 1; }

void ClearStatusBarInput(HWND statusBar) {
    // The callers go on as if nothing had been typed, so the typed number is
    // emptied (not only repainted).
    if (statusBar) TypeStatusChar(statusBar, 0);
}
