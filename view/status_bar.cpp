#include "view/status_bar.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/dbcs.h"
#include "base/message_table.h"
#include "view/cadwin_frame.h"

namespace {
HWND g_currentBar = nullptr;
constexpr int kDefaultPrompt = 5000;
constexpr size_t kPromptLimit = 255;
constexpr size_t kNumberLimit = kStatusBarTextSize - 1;

// The prompt as shown: up to 255 bytes, a final "(...)" group and what
// follows it dropped (an empty "()" keeps the text whole). Scanned by
// characters so that a trail byte is never taken for a bracket.
std::string CleanPrompt(const char* text) {
    std::string t = text;
    TruncateDbcsText(t, kPromptLimit);
    std::vector<size_t> starts;  // where each character begins
    for (size_t i = 0; i < t.size(); i += DbcsCharLength(t.c_str() + i)) starts.push_back(i);
    // From the end: the first '(' met after a ')' pairs with the ')' met last.
    size_t open = std::string::npos, close = std::string::npos;
    for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
        char c = t[*it];
        if (c == ')') {
            close = *it;
        } else if (c == '(' && close != std::string::npos) {
            open = *it;
            break;
        }
    }
    if (open == std::string::npos || close == open + 1) return t;
    return t.substr(0, open);
}
}  // namespace

HWND CurrentStatusBarWindow() {
    return (g_currentBar && ::IsWindow(g_currentBar)) ? g_currentBar : nullptr;
}

CCadStatusBar::CCadStatusBar() {
    m_panes[0].textColor = RGB(0, 0, 255);
    m_panes[0].background = RGB(236, 236, 236);
    m_panes[1].width = 110;
    m_panes[2].width = 70;
    m_panes[1].background = m_panes[2].background = ::GetSysColor(COLOR_BTNFACE);
}

CCadStatusBar::~CCadStatusBar() { DestroyMembers(); }

void CCadStatusBar::DestroyMembers() {
    if (m_font) {
        ::DeleteObject(m_font);
        m_font = nullptr;
    }
    if (g_currentBar && g_currentBar == m_hWnd) g_currentBar = nullptr;
}

HWND CCadStatusBar::Create(HWND parent, const RECT& rect, UINT id) {
    WindowClassArgs wc;
    wc.name = "CadStatusBar";
    wc.background = nullptr;
    if (!win::RegisterWindowClass(wc)) return nullptr;
    CreateArgs a;
    a.className = wc.name;
    a.parent = parent;
    a.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    a.id = id;
    a.SetRect(rect);
    HWND h = CWindowBase::Create(a);
    if (h) g_currentBar = h;
    return h;
}

LRESULT CCadStatusBar::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
    m_font = ::CreateFontA(-(kStatusBarHeight - 10), 0, 0, 0, FW_BOLD, 0, 0, 0, SHIFTJIS_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                           VARIABLE_PITCH | FF_MODERN, "ＭＳ Ｐゴシック");
    SetPrompt(nullptr);
    Layout();
    handled = FALSE;
    return 0;
}

void CCadStatusBar::SetPrompt(const char* text) {
    m_panes[0].text = (text && text[0]) ? CleanPrompt(text) : GetMessageText(kDefaultPrompt);
}

void CCadStatusBar::TypeChar(int ch) {
    Pane& p = m_panes[2];
    if (ch == 0) {
        p.text.clear();
    } else {
        if (ch == '.' && !p.text.empty() && p.text.find('.') != std::string::npos) return;
        if (ch == '-') p.text.clear();
        std::string c(1, (char)ch);
        if (p.append) {
            if (p.text.size() < kNumberLimit) p.text += c;  // bounded entry
        } else {
            p.text = c;
        }
    }
    p.append = true;
}

LRESULT CCadStatusBar::OnSetField(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    const char* text = reinterpret_cast<const char*>(lParam);
    switch (wParam) {
        case 1:
            if (!text || !text[0]) m_panes[1].text.clear();
            else if (m_panes[1].append) m_panes[1].text += text;
            else m_panes[1].text = text;
            break;
        case 2:
            SetPrompt(text);
            if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
            return 0;
        case 3:
            TypeChar((int)lParam);
            break;
        case 4:
            return 0;
        case 5: {
            char buf[32];
            snprintf(buf, sizeof buf, "%6ld", (long)lParam);
            m_countText = buf;
            break;
        }
        case 6:
            if (!m_panes[2].text.empty()) m_panes[2].text.pop_back();
            m_panes[2].append = true;
            break;
        default:
            break;
    }
    Invalidate();
    return 0;
}

LRESULT CCadStatusBar::OnSaveTexts(UINT, WPARAM, LPARAM, BOOL&) {
    for (int i = 0; i < 2; ++i) m_panes[i].saved = m_panes[i].text;
    return 0;
}

LRESULT CCadStatusBar::OnRestoreTexts(UINT, WPARAM, LPARAM, BOOL&) {
    for (int i = 0; i < 2; ++i) m_panes[i].text = m_panes[i].saved;
    Invalidate();
    UpdateWindow();
    return 0;
}

LRESULT CCadStatusBar::OnGetPaneText(WORD pane, WORD, HWND, BOOL&) {
    const MSG* msg = GetCurrentMessage();
    char* buffer = msg ? reinterpret_cast<char*>(msg->lParam) : nullptr;
    if (buffer && pane < 3) DbcsCopy(buffer, kStatusBarTextSize, m_panes[pane].text.c_str());
    return 0;
}

LRESULT CCadStatusBar::OnSetPaneVisible(WORD pane, WORD, HWND, BOOL&) {
    const MSG* msg = GetCurrentMessage();
    if (pane < 3 && msg) m_panes[pane].visible = msg->lParam != 0;
    Invalidate();
    return 0;
}

LRESULT CCadStatusBar::OnSetPaneAppend(WORD pane, WORD, HWND, BOOL&) {
    const MSG* msg = GetCurrentMessage();
    if (pane < 3 && msg) m_panes[pane].append = msg->lParam != 0;
    return 0;
}

LRESULT CCadStatusBar::OnResetTexts(WORD, WORD, HWND, BOOL& handled) {
    ::SendMessageA(m_hWnd, WM_USER, 1, 0);
    ::SendMessageA(m_hWnd, WM_USER, 2, 0);
    handled = FALSE;  // left to the default processing afterwards
    return 0;
}

LRESULT CCadStatusBar::OnEndCommand(WORD, WORD, HWND, BOOL&) {
    HWND top = ::GetAncestor(m_hWnd, GA_ROOT);
    if (top && top != m_hWnd) ::SendMessageA(top, UM_END_CMD, 0, 0);
    return 0;
}

LRESULT CCadStatusBar::OnToggleDisplay(WORD, WORD, HWND, BOOL&) {
    m_messageShown = !m_messageShown;
    HWND top = ::GetAncestor(m_hWnd, GA_ROOT);
    if (top && top != m_hWnd) ::PostMessageA(top, WM_SIZE, 0, 0);
    return 0;
}

void CCadStatusBar::Layout() {
    if (!m_hWnd) return;
    RECT rc = GetClientRect();
    int rest = (rc.right - rc.left) - m_panes[1].width - m_panes[2].width;
    m_panes[0].width = rest > 0 ? rest : 0;
    Invalidate();
}

LRESULT CCadStatusBar::OnSize(UINT, WPARAM wParam, LPARAM, BOOL&) {
    if (wParam != SIZE_MINIMIZED) Layout();
    return 0;
}

LRESULT CCadStatusBar::OnEraseBkgnd(UINT, WPARAM wParam, LPARAM, BOOL&) {
    RECT rc = GetClientRect();
    ::FillRect((HDC)wParam, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
    return 1;
}

LRESULT CCadStatusBar::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    HGDIOBJ oldFont = ::SelectObject(dc, m_font ? (HGDIOBJ)m_font : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    RECT client = GetClientRect();
    int x = 0;
    for (int k = 0; k < 3; ++k) {
        const Pane& p = m_panes[k];
        RECT r = {x + 2 + (k == 0 ? 2 : 0), client.top + 3, x + p.width - 2, client.bottom - 3};
        x += p.width;
        if (p.background != ::GetSysColor(COLOR_BTNFACE)) {
            HBRUSH b = ::CreateSolidBrush(p.background);
            ::FillRect(dc, &r, b);
            ::DeleteObject(b);
        }
        RECT edge = r;
        ::DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
        if (!p.text.empty() && p.visible) {
            ::SetTextColor(dc, p.textColor);
            ::TextOutA(dc, r.left + 2, r.top + 2, p.text.c_str(), (int)p.text.size());
        }
    }
    ::SelectObject(dc, oldFont);
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CCadStatusBar::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    DestroyMembers();
    handled = FALSE;
    return 0;
}

namespace {
// The typed number of the bar, "" when nothing is typed or there is no bar.
std::string TypedText() {
    HWND bar = CurrentStatusBarWindow();
    if (!bar) return std::string();
    char buffer[kStatusBarTextSize] = "";
    ::SendMessageA(bar, WM_COMMAND, MAKEWPARAM(2000, 2), (LPARAM)buffer);
    buffer[kStatusBarTextSize - 1] = '\0';
    return buffer;
}
}  // namespace

int HasStatusBarInput() { return TypedText().empty() ? 0 : 1; }

double GetStatusBarNumber() {
    std::string t = TypedText();
    return t.empty() ? 0.0 : atof(t.c_str());
}

long GetStatusBarInteger() {
    std::string t = TypedText();
    return t.empty() ? -1 : atol(t.c_str());
}

void ClearStatusBarInput(HWND statusBar) {
    // The key handling expects the typed number gone, so it is emptied here.
    if (statusBar) ::SendMessageA(statusBar, WM_USER, 3, 0);
}
