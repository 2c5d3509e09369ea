#include "panels/app_panel.h"

#include <cstring>
#include <vector>

#include "base/local_settings_ini.h"
#include "base/running_settings.h"
#include "command/command_system.h"
#include "command/host_hooks.h"
#include "command/wait_loop.h"
#include "panels/button_faces.h"
#include "panels/pbox_input_items.h"
#include "panels/rp_menu.h"

namespace {
ATOM RegisterItemClass() {
    WindowClassArgs a;
    a.name = kPanelItemClass;
    a.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    a.background = nullptr;
    a.windowExtra = 12;
    return win::RegisterWindowClass(a);
}

bool IsDefaultCaption(const char* t) { return t && (!strcmp(t, "OK") || !strcmp(t, "完了") || !strcmp(t, "Ok")); }

// Splits comma-separated fields (double-byte aware, blanks trimmed).
std::vector<std::string> SplitFields(const char* text) {
    std::vector<std::string> out;
    if (!text) return out;
    std::string cur;
    for (const char* p = text; *p; ++p) {
        const unsigned char c = (unsigned char)*p;
        if (((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) && p[1]) {
            cur += *p++;
            cur += *p;
            continue;
        }
        if (c == ',') {
            out.push_back(cur);
            cur.clear();
        } else {
            cur += *p;
        }
    }
    out.push_back(cur);
    for (std::string& s : out) {
        size_t b = s.find_first_not_of(" \t\""), e = s.find_last_not_of(" \t\"");
        s = b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
    }
    return out;
}
}  // namespace

std::vector<std::string> SplitPanelFields(const char* text) { return SplitFields(text); }

COLORREF PBoxPenColor(int index) {
    if (index < 0 || index > 256) return 0;
    return Running().penColors[index];
}

// The calculator is the shell's; while it is up the items take no input.
bool PanelCalculatorOpen() {
    auto& hook = HostHooks().isCalculatorOpen;
    return hook && hook() != 0;
}

bool PanelCalculatorEnabled() { return Running().bDspNumDlgFg != 0; }

void PostFocusView() {
    if (HWND f = CmdMainFrame()) ::PostMessageA(f, UM_FOCUS_VIEW, 0, 0);
}

void PaintCheckerboard(HDC dc, const RECT& r, COLORREF color) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left + ((y - r.top) & 1); x < r.right; x += 2)
            ::SetPixel(dc, x, y, color);
}

// --- The docked panel ---------------------------------------------------------------------
CAppPanel::~CAppPanel() {
    if (m_panelBrush) ::DeleteObject(m_panelBrush);
}

HWND CAppPanel::Create(HWND pane) {
    CreateArgs a;
    a.parent = pane;
    a.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    a.id = 200;
    RECT rc = {0, 0, 100, 60};
    if (pane) ::GetClientRect(pane, &rc);
    a.SetRect(rc);
    HWND w = CWindowBase::Create(a);
    if (w) SetPBoxPanelWindow(w);
    return w;
}

LRESULT CAppPanel::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (CMessageLoop* loop = win::GetMessageLoop()) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
    }
    m_panelColor = Running().colorPanel ? Running().colorPanel : ::GetSysColor(COLOR_BTNFACE);
    m_panelBrush = ::CreateSolidBrush(m_panelColor);
    handled = FALSE;
    return 0;
}

LRESULT CAppPanel::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (CMessageLoop* loop = win::GetMessageLoop()) {
        loop->RemoveMessageFilter(this);
        loop->RemoveIdleHandler(this);
    }
    if (PBoxPanelWindow() == m_hWnd) SetPBoxPanelWindow(nullptr);
    handled = FALSE;
    return 0;
}

LRESULT CAppPanel::OnEraseBkgnd(UINT, WPARAM w, LPARAM, BOOL&) {
    RECT rc = GetClientRect();
    HBRUSH b = ::CreateSolidBrush(m_panelColor);
    ::FillRect((HDC)w, &rc, b);
    ::DeleteObject(b);
    return 1;
}

// Nothing is drawn (the items are windows of their own), but the update is
// taken through BeginPaint: a bare validation would drop the pending erase
// and leave the background unpainted.
LRESULT CAppPanel::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PAINTSTRUCT ps;
    ::BeginPaint(m_hWnd, &ps);
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CAppPanel::OnCtlColor(UINT, WPARAM w, LPARAM, BOOL&) {
    ::SetBkColor((HDC)w, m_panelColor);
    return (LRESULT)m_panelBrush;
}

LRESULT CAppPanel::OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
    for (int p = 0; p < kPBoxPageCount; ++p)
        if (!IsPBoxPageFree(p)) return 0;
    ::SendMessageA(GetParent(), WM_COMMAND, 1000, 0);
    return 0;
}

LRESULT CAppPanel::OnCommand(UINT, WPARAM w, LPARAM, BOOL& handled) {
    const UINT id = LOWORD(w);
    if (id == kPanelCmdSwallowA || id == kPanelCmdSwallowB) return 0;
    handled = FALSE;
    return 0;
}

// --- Item base -----------------------------------------------------------------------------
CPanelItem::CPanelItem() {
    std::memset(&m_own, 0, sizeof m_own);
    m_own.enabled = 1;
    m_item = &m_own;
    m_input = &CmdInput();
}

CPanelItem::~CPanelItem() {
    if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

void CPanelItem::Bind(PBoxItem* item, int page, int index) {
    m_item = item ? item : &m_own;
    m_page = page;
    m_index = index;
}

HWND CPanelItem::CreateItem(HWND host, const RECT& rect, int id, const char* text) {
    RegisterItemClass();
    CreateArgs a;
    a.className = kPanelItemClass;
    a.parent = host;
    a.title = text ? text : "";
    a.style = WS_CHILD | WS_VISIBLE;
    a.id = (UINT)id;
    a.menu = (HMENU)(INT_PTR)id;
    a.SetRect(rect);
    return Create(a);
}

void CPanelItem::Repaint(bool erase) {
    if (!m_hWnd) return;
    ::InvalidateRect(m_hWnd, nullptr, erase);
    ::UpdateWindow(m_hWnd);
}

// --- Push button ---------------------------------------------------------------------------
LRESULT CAppPanelButton::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
    ::SetWindowLongA(m_hWnd, 0, 0);
    ::SetWindowLongA(m_hWnd, 4, 0);
    m_notifyMessage = UM_PANEL_ITEM_EVENT;
    m_commandFlag = 0;
    handled = FALSE;
    return 0;
}

void CAppPanelButton::PaintFace(HDC dc, const RECT& r, const char* text, int length, bool pressed) {
    const bool enabled = m_item->enabled != 0 && ::IsWindowEnabled(m_hWnd);
    if (!enabled)
        PaintButtonFaceDisabled(dc, r);
    else if (pressed)
        PaintButtonFacePressed(m_pressedColor, dc, r);
    else
        PaintButtonFaceNormal(dc, r);
    const int h = r.bottom - r.top;
    LOGFONTA lf = {};
    if (h < 14) {
        lf.lfHeight = h - 2;
    } else if (h >= 24 && h <= 26) {
        lf.lfHeight = 12;
    } else if (h <= 22) {
        lf.lfHeight = 12;
        lf.lfWeight = 500;
    } else {
        lf.lfHeight = 14;
        lf.lfWeight = 700;
    }
    if (::GetSystemMetrics(SM_CYSCREEN) > 1024 || LocalIni().iCmdPanelTypeLowResoH <= 0) lf.lfWeight = 700;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynA(lf.lfFaceName, m_faceName, LF_FACESIZE);
    HFONT font = ::CreateFontIndirectA(&lf);
    HGDIOBJ old = ::SelectObject(dc, font);
    COLORREF color = kFaceText;
    if (!enabled)
        color = ::GetSysColor(COLOR_GRAYTEXT);
    else if (m_item->textColor == 0)
        color = 0;
    else if (m_item->textColor > 0)
        color = PBoxPenColor(m_item->textColor);
    ::SetTextColor(dc, color);
    ::SetBkMode(dc, TRANSPARENT);
    TEXTMETRICA tm;
    ::GetTextMetricsA(dc, &tm);
    const int avg = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 1;
    int n = length;
    if (n > (r.right - r.left) / avg) n = (r.right - r.left) / avg;
    ::TextOutA(dc, ((r.right - r.left) - avg * n) / 2 + r.left + 2, r.bottom - (h + tm.tmHeight) / 2, text, n);
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    if (::GetFocus() == m_hWnd) {
        HPEN pen = ::CreatePen(PS_SOLID, 1, 0x7F7F7F);
        HGDIOBJ op = ::SelectObject(dc, pen);
        HGDIOBJ ob = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
        ::Rectangle(dc, 5, 5, r.right - 5, r.bottom - 5);
        ::SelectObject(dc, ob);
        ::SelectObject(dc, op);
        ::DeleteObject(pen);
    }
}

void CAppPanelButton::Paint(HDC dc) {
    RECT r = GetClientRect();
    char text[512] = {};
    int n = ::GetWindowTextA(m_hWnd, text, sizeof text);
    PaintParentBackground(m_hWnd, dc);
    PaintFace(dc, r, text, n, GetState() == 1);
}

LRESULT CAppPanelButton::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    Paint(dc);
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

void CAppPanelButton::SendClick() { ::SendMessageA(Host(), WM_COMMAND, MAKEWPARAM(m_item->id, 0), (LPARAM)m_hWnd); }

LRESULT CAppPanelButton::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
    if (PanelCalculatorOpen()) return 0;
    PostFocusView();
    if (!m_item->enabled) return 0;
    ::SetCapture(m_hWnd);
    SetState(1);
    Repaint();
    return 0;
}

LRESULT CAppPanelButton::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&) {
    if (!m_item->enabled) return 0;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    const int old = SetState(0);
    Repaint();
    if (old == 1) {
        InputRecord& in = *m_input;
        in.panelKind = PANEL_SUB_PUSH;
        in.panelValue = m_item->id;
        in.event = CMD_EV_PANEL;
        SendClick();
        CloseRPMenu();
        RPMenuState.windowOpen = 0;
        RPMenuState.shown = 0;
    }
    return 0;
}

LRESULT CAppPanelButton::OnKeyDown(UINT, WPARAM w, LPARAM, BOOL& handled) {
    if (w != VK_SPACE) {
        handled = FALSE;
        return 0;
    }
    SetState(1);
    Repaint();
    return 0;
}

LRESULT CAppPanelButton::OnKeyUp(UINT, WPARAM w, LPARAM, BOOL& handled) {
    if (w != VK_SPACE) {
        handled = FALSE;
        return 0;
    }
    if (GetState() == 1) {
        SetState(0);
        Repaint();
        // The space key is a push like the mouse: the module hears of it
        // through the same panel event.
        if (m_item->enabled) {
            InputRecord& in = *m_input;
            in.panelKind = PANEL_SUB_PUSH;
            in.panelValue = m_item->id;
            in.event = CMD_EV_PANEL;
        }
        SendClick();
    }
    return 0;
}

LRESULT CAppPanelButton::OnFocusChange(UINT, WPARAM w, LPARAM, BOOL&) {
    if ((HWND)w == m_hWnd && m_pressed) SetState(0);
    Repaint();
    return 0;
}

LRESULT CAppPanelButton::OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
    HWND f = CmdMainFrame();
    if (!f || ::IsWindowEnabled(f)) ::SendMessageA(Host(), WM_RBUTTONDOWN, 0, 0);
    return 0;
}

LRESULT CAppPanelButton::OnNcMouseMove(UINT, WPARAM, LPARAM, BOOL&) {
    ::SendMessageA(Host(), m_notifyMessage, m_item->id, 1);
    return 0;
}

// --- Check button --------------------------------------------------------------------------
LRESULT CAppPanelCheckButton::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
    if (PanelCalculatorOpen() || !m_item->enabled) return 0;
    ::SetCapture(m_hWnd);
    ToggleState();
    Repaint();
    const int state = GetState();
    PostPanelEvent(PANEL_SUB_CHECK, m_item->id, state);
    if (m_twin) {
        m_twin->SetState(state);
        m_twin->Repaint();
    }
    return 0;
}

LRESULT CAppPanelCheckButton::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&) {
    if (!m_item->enabled) return 0;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    CloseRPMenu();
    return 0;
}

// --- Radio strip ---------------------------------------------------------------------------
int CAppPanelRadioButton::SegmentAt(int x, int clientWidth, int count) {
    if (count < 2) return 0;
    const int w = clientWidth / count - 1;
    if (w + 1 <= 0) return 0;  // a strip narrower than its segments: the first
    int k = x / (w + 1);
    if (k < 0) k = 0;
    if (k > count - 1) k = count - 1;  // the few pixels right of the last segment
    return k;
}

int CAppPanelRadioButton::SegmentCount() {
    char text[1024] = {};
    ::GetWindowTextA(m_hWnd, text, sizeof text);
    if (!text[0]) return 0;
    return (int)SplitFields(text).size();
}

void CAppPanelRadioButton::Paint(HDC dc) {
    RECT rc = GetClientRect();
    char text[1024] = {};
    ::GetWindowTextA(m_hWnd, text, sizeof text);
    if (!text[0]) return;
    std::vector<std::string> segs = SplitFields(text);
    const int count = (int)segs.size();
    HBRUSH bg = ::CreateSolidBrush(Running().colorPanel ? Running().colorPanel : ::GetSysColor(COLOR_BTNFACE));
    ::FillRect(dc, &rc, bg);
    ::DeleteObject(bg);
    if (count < 2) {
        PaintFace(dc, rc, segs[0].c_str(), (int)segs[0].size(), false);
        return;
    }
    m_segmentWidth = rc.right / count - 1;
    for (int k = 0; k < count; ++k) {
        RECT s = {k * (m_segmentWidth + 1), 0, k * (m_segmentWidth + 1) + m_segmentWidth, rc.bottom};
        PaintFace(dc, s, segs[k].c_str(), (int)segs[k].size(), k == m_item->value);
    }
}

LRESULT CAppPanelRadioButton::OnLButtonDown(UINT, WPARAM, LPARAM l, BOOL&) {
    if (PanelCalculatorOpen() || !m_item->enabled) return 0;
    ::SetCapture(m_hWnd);
    RECT rc = GetClientRect();
    m_item->value = SegmentAt((short)LOWORD(l), rc.right, SegmentCount());
    Repaint();
    PostPanelEvent(PANEL_SUB_RADIO, m_item->id, m_item->value);
    if (m_twin) {
        m_twin->m_item->value = m_item->value;
        m_twin->Repaint();
    }
    return 0;
}

LRESULT CAppPanelRadioButton::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&) {
    if (!m_item->enabled) return 0;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    CloseRPMenu();
    return 0;
}

// --- Static text ---------------------------------------------------------------------------
LRESULT CAppPanelTextBox::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT rc = GetClientRect();
    HBRUSH bg = ::CreateSolidBrush(Running().colorPanel ? Running().colorPanel : ::GetSysColor(COLOR_BTNFACE));
    ::FillRect(dc, &rc, bg);
    ::DeleteObject(bg);
    COLORREF color = ::GetSysColor(COLOR_BTNTEXT);
    if (m_item->textColor == 0) color = 0;
    if (m_item->textColor > 0) color = PBoxPenColor(m_item->textColor);
    ::SetTextColor(dc, color);
    ::SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = ::SelectObject(dc, PBoxFont());
    TEXTMETRICA tm;
    ::GetTextMetricsA(dc, &tm);
    const int avg = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 1;
    char text[512] = {};
    int n = ::GetWindowTextA(m_hWnd, text, sizeof text);
    if (n > rc.right / avg) n = rc.right / avg;
    ::TextOutA(dc, rc.right / 2 - avg * (n / 2) - avg / 2, rc.bottom / 2 - tm.tmHeight / 2, text, n);
    ::SelectObject(dc, old);
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CAppPanelTextBox::OnSetText(UINT, WPARAM, LPARAM, BOOL& handled) {
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    handled = FALSE;
    return 0;
}

// --- Builder -------------------------------------------------------------------------------
CPanelItem* NewPanelItem(int type) {
    switch (type) {
    case PBOX_BUTTON: return new CAppPanelButton;
    case PBOX_RADIO: return new CAppPanelRadioButton;
    case PBOX_CHECK: return new CAppPanelCheckButton;
    case PBOX_COMBOLIST: return new CAppPanelComboList;
    case PBOX_EDIT: return new CAppPanelEditBox;
    case PBOX_TEXT: return new CAppPanelTextBox;
    case PBOX_COMBO: return new CAppPanelComboBox;
    default: return nullptr;
    }
}

int BuildPBoxPage(HWND host, int* outMaxY, int mode) {
    int source, target;
    PBoxPage* tp;
    if (mode == 1) {
        if (DockedPBoxPage == -1) return 0;
        source = DockedPBoxPage;
        target = kPBoxMirror;
    } else {
        source = target = PBoxBuildState.shownPage;
    }
    PBoxPage* sp = PBoxPageAt(source);
    tp = PBoxPageAt(target);
    if (!sp || !tp || (mode != 1 && source >= kPBoxPageCount)) return 0;
    if (mode == 1) {
        ClearPBoxPage(*tp);
        for (int i = 0; i < kPBoxItemCount; ++i)
            tp->items[i] = sp->items[i];  // text blocks shared with the docked page
    }
    int maxY = 0, made = 0;
    for (int i = 0; i < kPBoxItemCount; ++i) {
        PBoxItem& it = tp->items[i];
        if (it.type == 0) continue;
        PBoxBuildState.builtItem = i;
        // The raise is applied to the window only: the stored y stays, so a
        // page shown again does not climb 15 pixels each time.
        const int y = PBoxBuildState.floating == 1 ? it.y - kPBoxFloatRaise : it.y;
        if (y > maxY) maxY = y;
        if (tp->itemWindows[i]) {
            delete tp->itemWindows[i];
            tp->itemWindows[i] = nullptr;
        }
        CPanelItem* obj = NewPanelItem(it.type);
        if (!obj) continue;
        obj->Bind(&it, target, i);
        RECT rc = {it.x, y, it.x + it.width, y + it.height};
        const char* text = it.type == PBOX_COMBO ? it.listText : (it.text ? it.text : "");
        if (!obj->CreateItem(host, rc, it.id, text)) {
            delete obj;
            continue;
        }
        ::SetWindowLongA(obj->m_hWnd, 0, it.state);
        tp->itemWindows[i] = obj;
        ++made;
        if (it.type != PBOX_TEXT && source != target) obj->m_twin = sp->itemWindows[i];
        if (it.type == PBOX_BUTTON && IsDefaultCaption(it.text)) {
            PBoxHasDefaultButton = 1;
            PBoxDefaultButtonId = it.id;
        }
    }
    if (outMaxY) *outMaxY = maxY;
    return made ? 1 : 0;
}
