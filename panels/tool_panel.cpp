#include "panels/tool_panel.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/paper_sizes.h"
#include "base/running_settings.h"
#include "cadlib/WmCadApiDb.h"
#include "command/host_hooks.h"
#include "command/wait_loop.h"
#include "panels/rp_menu.h"

AttrWords PanelAttrDefaults = {4, 0, 0, 0, 0};
int32_t& ToolPanelNoViewSelection = PanelAttrDefaults.color;

namespace {

HWND g_toolPanel = nullptr;

const int kSnapButtonIds[] = {3402, 3404, 3405, 3410, 3411, 3412, 3418};

struct FontSpec {
    const char* face;
    int height, weight;
};
const FontSpec kFonts[4] = {
    {"ＭＳ Ｐゴシック", 12, FW_NORMAL},
    {"ＭＳ ゴシック", 12, FW_BOLD},
    {"ＭＳ ゴシック", 14, FW_NORMAL},
    {"ＭＳ ゴシック", 14, FW_BOLD},
};

void SetChecked(HWND button, int on) {
    ::SetWindowLongA(button, 4, on ? 1 : 0);
    ::InvalidateRect(button, nullptr, TRUE);
    ::UpdateWindow(button);
}

// The snap buttons of the panel and of the right-click pop-up follow `m`.
void ShowSnapModes(long m) {
    for (HWND owner : {ToolPanelWindow(), RPMenuWindow()}) {
        if (!owner) continue;
        for (int id : kSnapButtonIds)
            if (HWND b = ::GetDlgItem(owner, id)) SetChecked(b, (m & SnapBitOfButton(id)) != 0);
    }
}

}  // namespace

long NormaliseSnapModes(long m) {
    if (m & SNAP_END_AND_INTERSECTION) m = (m & ~SNAP_END_AND_INTERSECTION) | SNAP_END_POINT | SNAP_INTERSECTION;
    return m;
}

long ToggleSnapMode(long m, long bit) {
    if (m != bit) m ^= bit;  // the only mode on cannot be switched off with its own button
    return NormaliseSnapModes(m);
}

long SnapBitOfButton(int id) {
    switch (id) {
    case 3402: return SNAP_END_AND_INTERSECTION;
    case 3404: return SNAP_MIDPOINT;
    case 3405: return SNAP_ANY_POINT;
    case 3418: return SNAP_CIRCLE_CENTRE;
    case 3410: return SNAP_END_POINT;
    case 3411: return SNAP_INTERSECTION;
    case 3412: return SNAP_ON_LINE;
    }
    return 0;
}

// --- The window -----------------------------------------------------------------------------

CToolPanel::CToolPanel(CWindow* pane) : m_pane(pane) { m_end.SetEndFlag(1); }

CToolPanel::~CToolPanel() { DestroyMembers(); }

void CToolPanel::DestroyMembers() {
    if (g_toolPanel && g_toolPanel == m_hWnd) g_toolPanel = nullptr;
    DeleteFonts();
    if (m_brush) ::DeleteObject(m_brush);
    m_brush = nullptr;
}

HWND CToolPanel::Create(HWND pane) {
    if (!pane && m_pane) pane = m_pane->m_hWnd;
    WindowClassArgs wc;
    wc.name = "ZavToolPanel";
    wc.background = nullptr;
    if (!win::RegisterWindowClass(wc)) return nullptr;
    CreateArgs a;
    a.className = wc.name;
    a.parent = pane;
    a.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    a.id = 200;
    RECT rc = {0, 0, 0, 0};
    if (pane) ::GetClientRect(pane, &rc);
    a.SetRect(rc);
    return CWindowBase::Create(a);
}

CLineAttrCombo* CToolPanel::Selector(int id) {
    switch (id) {
    case 5001: return &m_colour;
    case 5002: return &m_lineType;
    case 5004: return &m_width;
    case 5000: return &m_start;
    case 5003: return &m_end;
    }
    return nullptr;
}

void CToolPanel::CreateFonts() {
    for (int i = 0; i < 4; ++i) {
        LOGFONTA lf = {};
        lf.lfHeight = kFonts[i].height;
        lf.lfWeight = kFonts[i].weight;
        lf.lfCharSet = SHIFTJIS_CHARSET;
        lstrcpynA(lf.lfFaceName, kFonts[i].face, LF_FACESIZE);
        m_fonts[i] = ::CreateFontIndirectA(&lf);
    }
}

void CToolPanel::DeleteFonts() {
    for (HFONT& f : m_fonts) {
        if (f) ::DeleteObject(f);
        f = nullptr;
    }
}

HFONT CToolPanel::Font(char which) const { return m_fonts[(which - 'A') & 3]; }

LRESULT CToolPanel::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    if (CMessageLoop* loop = win::GetMessageLoop()) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
    }
    CreateFonts();
    m_color = ToolPanelHost().panelColor ? ToolPanelHost().panelColor() : ::GetSysColor(COLOR_BTNFACE);
    m_brush = ::CreateSolidBrush(m_color);
    g_toolPanel = m_hWnd;
    LayoutToolPanel();
    return 0;
}

LRESULT CToolPanel::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    if (CMessageLoop* loop = win::GetMessageLoop()) {
        loop->RemoveMessageFilter(this);
        loop->RemoveIdleHandler(this);
    }
    if (g_toolPanel == m_hWnd) g_toolPanel = nullptr;
    handled = FALSE;
    return 0;
}

void CToolPanel::LayoutToolPanel() {
    ComputeToolPanelLayout(m_metrics, Running().toolPanelDispMode);
    for (HWND c = ::GetWindow(m_hWnd, GW_CHILD); c;) {
        HWND next = ::GetWindow(c, GW_HWNDNEXT);
        ::DestroyWindow(c);
        c = next;
    }
    m_buttons.clear();
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const bool lowRes = ToolPanelHost().lowRes && ToolPanelHost().lowRes();
    HINSTANCE inst = win::ModuleInstance();
    for (const ToolPanelChild& c : ToolPanelChildren(m_metrics, lowRes)) {
        const RECT& r = c.rect;
        HWND w = nullptr;
        switch (c.kind) {
        case PanelChildKind::Static:
            w = ::CreateWindowExA(0, "STATIC", c.text, WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left,
                                  r.bottom - r.top, m_hWnd, (HMENU)(INT_PTR)c.id, inst, nullptr);
            break;
        case PanelChildKind::Button: {
            auto button = std::make_unique<CPanelCheckButton>();
            w = button->Create(m_hWnd, r, c.id, c.text);
            m_buttons.push_back(std::move(button));
            break;
        }
        case PanelChildKind::LayerField:
            w = ::CreateWindowExA(0, "CmdLayerClass", "", WS_CHILD, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                  m_hWnd, (HMENU)(INT_PTR)c.id, inst, nullptr);
            if (w) {
                ::SendMessageA(w, WM_SETFONT, (WPARAM)Font(c.font), FALSE);
                ::ShowWindow(w, SW_SHOW);
            }
            continue;
        default:
            if (CLineAttrCombo* s = Selector(c.id)) w = s->Create(m_hWnd, r, c.id);
            break;
        }
        if (w) ::SendMessageA(w, WM_SETFONT, (WPARAM)Font(c.font), FALSE);
    }
    const long m = NormaliseSnapModes(Running().snapModeFlags);
    ShowSnapModes(m);
    if (m_metrics.blockY[2] >= 0)
        for (auto& b : m_buttons)
            if (b->GetDlgCtrlID() == 3405) b->SetLocked(Running().iLockBtnSnapNINNITEN != 0);
}

LRESULT CToolPanel::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    const RECT rc = GetClientRect();
    HPEN pen = ::CreatePen(PS_SOLID, 3, ::GetSysColor(COLOR_BTNFACE));
    HGDIOBJ old = ::SelectObject(dc, pen);
    for (int y : m_metrics.separators) {
        if (!y) break;
        ::MoveToEx(dc, 0, y, nullptr);
        ::LineTo(dc, rc.right, y);
    }
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CToolPanel::OnEraseBkgnd(UINT, WPARAM w, LPARAM, BOOL&) {
    RECT rc = GetClientRect();
    ::FillRect((HDC)w, &rc, m_brush ? m_brush : (HBRUSH)(COLOR_BTNFACE + 1));
    return 1;
}

LRESULT CToolPanel::OnCtlColorStatic(UINT, WPARAM w, LPARAM, BOOL&) {
    ::SetBkColor((HDC)w, m_color);
    return (LRESULT)m_brush;
}

LRESULT CToolPanel::OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
    ::SendMessageA(GetParent(), WM_COMMAND, 1000, 0);
    return 0;
}

LRESULT CToolPanel::OnSettingsChanged(UINT, WPARAM, LPARAM l, BOOL&) {
    PostSettingsChangedEvent();
    SendMessage(WM_COMMAND, 3822, 0);
    if (l == 0) {
        for (int id : {3312, 5001})
            if (HWND f = GetDlgItem(id)) ::SendMessageA(f, WM_USER + 1, 0, 0);
    }
    for (int id : {5000, 5001, 5002, 5003, 5004, 3312})
        if (HWND f = GetDlgItem(id)) ::RedrawWindow(f, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return 0;
}

LRESULT CToolPanel::OnCoordinates(UINT, WPARAM, LPARAM l, BOOL&) {
    if (!(m_metrics.blockY[0] >= 0)) return 0;
    const double* p = reinterpret_cast<const double*>(l);
    HWND x = GetDlgItem(8000), y = GetDlgItem(8001), d = GetDlgItem(8002), label = GetDlgItem(3782);
    auto set = [](HWND w, const char* t) {
        if (w) ::SetWindowTextA(w, t);
    };
    if (!p) {
        for (HWND w : {x, y, d, label})
            set(w, "");
        return 0;
    }
    const int D = Running().DEGIT, W = D > 3 ? 12 : 10;
    char fmt[32];
    snprintf(fmt, sizeof fmt, "%%%ld.%ldlf", (long)W, (long)D);
    double px = p[0], py = p[1];
    std::string distance, labelText;
    if (Running().bDispLastPosFg) {
        double lx = 0, ly = 0;
        if (ToolPanelHost().lastInputPoint) ToolPanelHost().lastInputPoint(&lx, &ly);
        px -= lx;
        py -= ly;
        char t[64];
        snprintf(t, sizeof t, fmt, std::sqrt(px * px + py * py));
        distance = t;
        labelText = "距離:";
    }
    char tx[64], ty[64];
    snprintf(tx, sizeof tx, fmt, px);
    snprintf(ty, sizeof ty, fmt, py);
    const int lx = (int)strlen(tx), ly = (int)strlen(ty);
    if (lx > W || ly > W) {
        const int width = lx > ly ? lx : ly;
        char wide[16], bx[64], by[64];
        snprintf(wide, sizeof wide, "%%%lds", (long)width);
        snprintf(bx, sizeof bx, wide, tx);
        snprintf(by, sizeof by, wide, ty);
        strcpy(tx, bx);
        strcpy(ty, by);
    }
    set(x, tx);
    set(y, ty);
    set(d, distance.c_str());
    set(label, labelText.c_str());
    return 0;
}

// --- Free functions -------------------------------------------------------------------------

HWND ToolPanelWindow() { return (g_toolPanel && ::IsWindow(g_toolPanel)) ? g_toolPanel : nullptr; }

void SyncToolPanelAttributes() {
    if (HWND panel = ToolPanelWindow()) ::SendMessageA(panel, WM_COMMAND, 3822, 0);
}

int PostSettingsChangedEvent() {
    // A pending event is never overwritten.
    if (CmdInput().event == 0) PostCmdEvent(CMD_EV_ATTR_CHANGED);
    return 1;
}

void RefreshToolPanel() {
    PostSettingsChangedEvent();
    SyncToolPanelAttributes();
}

LRESULT ShowToolPanelCoordinates(const double* point) {
    HWND panel = ToolPanelWindow();
    return panel ? ::SendMessageA(panel, WM_APP, 0, reinterpret_cast<LPARAM>(point)) : 0;
}

void SyncSnapButtons() {
    long& flags = Running().snapModeFlags;
    if (Running().iLockBtnSnapNINNITEN) flags |= SNAP_ANY_POINT;
    flags = NormaliseSnapModes(flags);
    HWND panel = ToolPanelWindow();
    if (!panel || !(::GetDlgItem(panel, 3402) || ::GetDlgItem(panel, 3410))) return;
    static const struct {
        int id;
        long bit;
    } rows[] = {{3402, 0x01}, {3404, 0x04}, {3405, 0x08}, {3418, 0x10}, {3410, 0x20}, {3411, 0x40}, {3412, 0x80}};
    for (const auto& r : rows)
        if (HWND b = ::GetDlgItem(panel, r.id)) SetChecked(b, (flags & r.bit) != 0);
    if (HWND popup = RPMenuWindow()) {
        for (const auto& r : rows)
            if (HWND b = ::GetDlgItem(popup, r.id))
                ::SetWindowLongA(b, 4, (flags & r.bit) && ::GetDlgItem(panel, r.id) ? 1 : 0);
        ::RedrawWindow(popup, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}

void UpdateToolPanelPaper(HWND view) {
    HWND panel = ToolPanelWindow();
    HWND size = panel ? ::GetDlgItem(panel, 3771) : nullptr, scale = panel ? ::GetDlgItem(panel, 3773) : nullptr;
    if (!size || !scale) return;
    std::string paper, scaleText;
    DbHeader* db = view && HostHooks().viewDb ? HostHooks().viewDb(view) : nullptr;
    if (db) {
        std::vector<char> head(kDbInfoHeadSize);
        if (DAriGetDBInfo(head.data(), db)) {
            const DbInfo* info = reinterpret_cast<const DbInfo*>(head.data());
            paper = "その他";
            for (int i = 0; i < kCustomPaperRow; ++i)
                if (PaperSizeTable[i].code == info->paperCode) {
                    paper = PaperSizeTable[i].name;
                    break;
                }
            double s;
            memcpy(&s, info->scale, sizeof s);
            char t[64] = "";
            if (ToolPanelHost().formatScale) ToolPanelHost().formatScale(s, t, sizeof t);
            scaleText = t;
        }
    }
    ::SetWindowTextA(size, paper.c_str());
    ::SetWindowTextA(scale, scaleText.c_str());
}

void UpdateToolPanelPaperActive() { UpdateToolPanelPaper(HostHooks().activeView ? HostHooks().activeView() : nullptr); }

int UpdateToolPanelDrawingInfo() {
    UpdateToolPanelPaperActive();
    return 1;
}
