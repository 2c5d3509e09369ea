#include "view/cadwin_frame.h"
#include "view/host_view_service.h"

#include <cstdio>
#include <string>

#include "base/dbcs.h"
#include "base/message_ids.h"
#include "base/message_table.h"
#include "base/running_settings.h"
#include "base/system_log.h"
#include "command/cad_app_cmd.h"
#include "command/command_ids.h"
#include "command/drawing_events.h"
#include "command/executor.h"
#include "panels/panel_windows.h"
#include "view/drawing_state.h"
#include "view/input_scale.h"
#include "view/key_cursor.h"
#include "view/rubber_band.h"
#include "view/view_coords.h"
#include "view/view_table.h"
#include "win/message_box.h"

int DrawingIdCounter = 0;
int CreatingDrawingWindow = 0;
int (*CadwinSaveHandler)(HWND view) = nullptr;

CadwinHostLinks& CadwinHost() {
    static CadwinHostLinks links;
    return links;
}

namespace {
constexpr const char* kViewClass = "CadwinView";
constexpr int kEdgeTop = 0, kEdgeBottom = 1, kEdgeLeft = 2, kEdgeRight = 3;

int KeyboardDelayMs() {
    int delay = 0;
    if (!::SystemParametersInfoA(SPI_GETKEYBOARDDELAY, 0, &delay, 0)) return 250;
    return (delay + 1) * 250;
}
int KeyboardRepeatMs() {
    DWORD speed = 0;
    if (!::SystemParametersInfoA(SPI_GETKEYBOARDSPEED, 0, &speed, 0)) return 250;
    return 10000 / (int)(speed * 10 + 25);
}

COLORREF ButtonRowColour(const COLORREF* table, int row, COLORREF fallback) {
    return table[row] ? table[row] : fallback;
}
}  // namespace

int RegisterCadwinClasses() {
    WindowClassArgs wc;
    wc.name = kViewClass;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.background = nullptr;                // the view paints its whole client area
    wc.windowExtra = 3 * sizeof(LONG_PTR);  // 0: ViewData, 4: overview children
    if (!win::RegisterWindowClass(wc)) return 0;
    WindowClassArgs bc;
    bc.name = "CadWinScrollButton";
    bc.style = CS_DBLCLKS;
    return win::RegisterWindowClass(bc) != 0 ? 1 : 0;
}

// ---- edge buttons ----------------------------------------------------------

namespace {
// The first repeat waits the keyboard delay, the following ones the
// keyboard repeat rate.
const UINT_PTR kDelayTimer = 1000;
const UINT_PTR kRepeatTimer = 1001;
}  // namespace

HWND CCadwinScrollButton::Create(HWND parent, UINT id, int direction, const char* text, COLORREF face, COLORREF ink) {
    m_direction = direction;
    m_text = text ? text : "";
    m_face = face;
    m_ink = ink;
    m_id = id;
    CreateArgs a;
    a.className = "CadWinScrollButton";
    a.parent = parent;
    a.title = m_text.c_str();
    a.style = WS_CHILD | WS_CLIPSIBLINGS;
    a.id = id;
    a.x = a.y = 0;
    a.cx = a.cy = 1;
    return CWindowBase::Create(a);
}

void CCadwinScrollButton::Paint(HDC dc, const RECT& rc) const {
    const bool pressed = (m_state & kStatePressed) != 0;
    HBRUSH face = ::CreateSolidBrush(m_face);
    HPEN pen = ::CreatePen(PS_SOLID, 1, ::GetSysColor(pressed ? COLOR_3DDKSHADOW : COLOR_BTNFACE));
    HGDIOBJ oldBrush = ::SelectObject(dc, face), oldPen = ::SelectObject(dc, pen);
    ::Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(face);
    ::DeleteObject(pen);
    RECT edge = rc;
    ::DrawEdge(dc, &edge, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    const int cx = (rc.left + rc.right) / 2 - (pressed ? 1 : 0);
    const int cy = (rc.top + rc.bottom) / 2 - (pressed ? 1 : 0);
    if (m_direction >= kUp) {
        POINT t[3];
        switch (m_direction) {
        case kUp:
            t[0] = {cx, cy - 5};
            t[1] = {cx - 9, cy + 4};
            t[2] = {cx + 9, cy + 4};
            break;
        case kDown:
            t[0] = {cx, cy + 5};
            t[1] = {cx - 9, cy - 4};
            t[2] = {cx + 9, cy - 4};
            break;
        case kLeft:
            t[0] = {cx - 5, cy};
            t[1] = {cx + 4, cy - 9};
            t[2] = {cx + 4, cy + 9};
            break;
        default:
            t[0] = {cx + 5, cy};
            t[1] = {cx - 4, cy - 9};
            t[2] = {cx - 4, cy + 9};
            break;
        }
        HBRUSH ink = ::CreateSolidBrush(m_ink);
        HPEN inkPen = ::CreatePen(PS_SOLID, 1, m_ink);
        HGDIOBJ ob = ::SelectObject(dc, ink), op = ::SelectObject(dc, inkPen);
        ::Polygon(dc, t, 3);
        ::SelectObject(dc, ob);
        ::SelectObject(dc, op);
        ::DeleteObject(ink);
        ::DeleteObject(inkPen);
        return;
    }
    LOGFONTA lf = {};
    lf.lfHeight = -::MulDiv(10, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynA(lf.lfFaceName, "ＭＳ ゴシック", LF_FACESIZE);
    HFONT font = ::CreateFontIndirectA(&lf);
    HGDIOBJ of = ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, m_ink);
    RECT r = rc;
    if (pressed) ::OffsetRect(&r, -1, m_direction == kTextV ? -1 : 0);
    if (m_direction == kTextV) {
        // One character a line, the lines centred as a block.
        std::string lines;
        for (const char* p = m_text.c_str(); *p;) {
            size_t n = DbcsCharLength(p);
            if (!lines.empty()) lines += '\n';
            lines.append(p, n);
            p += n;
        }
        RECT calc = r;
        const int h = ::DrawTextA(dc, lines.c_str(), -1, &calc, DT_CENTER | DT_CALCRECT);
        r.top += ((r.bottom - r.top) - h) / 2;
        ::DrawTextA(dc, lines.c_str(), -1, &r, DT_CENTER);
    } else {
        ::DrawTextA(dc, m_text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    ::SelectObject(dc, of);
    ::DeleteObject(font);
}

LRESULT CCadwinScrollButton::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    Paint(dc, rc);
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

void CCadwinScrollButton::Click() {
    ::SendMessageA(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(m_id, BN_CLICKED), (LPARAM)m_hWnd);
}

LRESULT CCadwinScrollButton::OnPress(UINT, POINT, BOOL&) {
    m_state |= kStatePressed;
    ::SetCapture(m_hWnd);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    ::SetTimer(m_hWnd, kDelayTimer, KeyboardDelayMs(), nullptr);
    return 0;
}

LRESULT CCadwinScrollButton::OnMouseMove(UINT, POINT pt, BOOL&) {
    if (::GetCapture() != m_hWnd) return 0;
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    const int was = m_state;
    if (::PtInRect(&rc, pt))
        m_state |= kStatePressed;
    else
        m_state &= ~kStatePressed;
    if (was != m_state) ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return 0;
}

LRESULT CCadwinScrollButton::OnRelease(UINT, POINT, BOOL&) {
    const bool inside = (m_state & kStatePressed) != 0;
    m_state &= ~kStatePressed;
    ::KillTimer(m_hWnd, kDelayTimer);
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    HWND parent = ::GetParent(m_hWnd);
    if (inside) Click();
    if (parent && ::IsWindow(parent)) ::SetFocus(parent);
    return 0;
}

LRESULT CCadwinScrollButton::OnTimer(UINT, WPARAM id, LPARAM, BOOL&) {
    if (id == kDelayTimer) {
        ::KillTimer(m_hWnd, kDelayTimer);
        if (m_state & kStatePressed) {
            Click();
            ::SetTimer(m_hWnd, kRepeatTimer, KeyboardRepeatMs(), nullptr);
        }
    } else if (id == kRepeatTimer) {
        if (::GetCapture() != m_hWnd)
            ::KillTimer(m_hWnd, kRepeatTimer);
        else if (m_state & kStatePressed)
            Click();
    }
    return 0;
}

// ---- frame -------------------------------------------------------------------

CCadwinFrame::CCadwinFrame() : m_view(&m_database) {}

CCadwinFrame::~CCadwinFrame() {
    // The view leaves the system before the record it points at goes.
    if (m_view.m_hWnd && GetViewData(m_view.m_hWnd)) CloseView(m_view.m_hWnd);
}

HWND CCadwinFrame::CreateEx(HWND parent, const RECT* rect, const char* title) {
    char loaded[257] = "";
    if (!title) {
        ::LoadStringA(win::ModuleInstance(), 128, loaded, sizeof loaded);
        title = loaded;
    }
    m_baseTitle = title;
    BOOL maximized = FALSE;
    HWND active = parent ? (HWND)::SendMessageA(parent, WM_MDIGETACTIVE, 0, (LPARAM)&maximized) : nullptr;
    if (active) CadwinHost().rememberedMaximized = maximized ? 1 : 0;
    const bool max = CadwinHost().rememberedMaximized != 0;
    if (max && parent) ::SendMessageA(parent, WM_SETREDRAW, FALSE, 0);
    CreateArgs a;
    a.parent = parent;
    a.title = title;
    a.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW;
    if (rect) a.SetRect(*rect);
    HWND h = CMDIChildWindow::Create(a);
    if (max && parent) {
        if (h) ::SendMessageA(parent, WM_MDIMAXIMIZE, (WPARAM)h, 0);
        ::SendMessageA(parent, WM_SETREDRAW, TRUE, 0);
        ::RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
    }
    if (h && CadwinHost().loadAccelerator) m_accel = CadwinHost().loadAccelerator("ZavIrurer.key");
    return h;
}

void CCadwinFrame::OnFinalMessage(HWND) {
    if (m_autoDelete) delete this;
}

LRESULT CCadwinFrame::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
    const RunningSettings& rs = Running();
    const int rows[4] = {8, 6, 7, 7};
    const int arrows[4][2] = {{CCadwinScrollButton::kUp, CCadwinScrollButton::kUp},
                              {CCadwinScrollButton::kDown, CCadwinScrollButton::kDown},
                              {CCadwinScrollButton::kLeft, CCadwinScrollButton::kLeft},
                              {CCadwinScrollButton::kRight, CCadwinScrollButton::kRight}};
    for (int e = 0; e < 4; ++e) {
        const COLORREF face = ButtonRowColour(rs.btnBkgnd, rows[e], ::GetSysColor(COLOR_BTNFACE));
        const COLORREF ink = ButtonRowColour(rs.btnText, rows[e], ::GetSysColor(COLOR_BTNTEXT));
        for (int k = 0; k < 2; ++k)
            m_scroll[e * 2 + k].Create(m_hWnd, ID_CADWIN_SCROLL_UP + e, arrows[e][k], "", face, ink);
    }
    for (int e = 0; e < 4; ++e) {
        const int dir = e < 2 ? CCadwinScrollButton::kTextH : CCadwinScrollButton::kTextV;
        const COLORREF face = ::GetSysColor(COLOR_BTNFACE), ink = ::GetSysColor(COLOR_WINDOWTEXT);
        m_zoomIn[e].Create(m_hWnd, ID_CADWIN_ZOOM_IN, dir, "拡大", face, ink);
        m_fit[e].Create(m_hWnd, ID_CADWIN_ZOOM_FIT, dir, "基準", face, ink);
        m_zoomOut[e].Create(m_hWnd, ID_CADWIN_ZOOM_OUT, dir, "縮小", face, ink);
    }
    m_view.Create(m_hWnd);
    handled = FALSE;  // the MDI child's own creation goes on
    return 0;
}

void CCadwinFrame::Layout(int w, int h) {
    if (m_view.m_hWnd) ::MoveWindow(m_view.m_hWnd, 0, 0, w, h, TRUE);
    const int t = ::GetSystemMetrics(SM_CYSCREEN) > 1024 ? m_largeBarThickness : 20;
    auto show = [&](int edge, bool on) {
        const int sw = on ? SW_SHOWNA : SW_HIDE;
        for (int k = 0; k < 2; ++k)
            if (m_scroll[edge * 2 + k].m_hWnd) ::ShowWindow(m_scroll[edge * 2 + k].m_hWnd, sw);
        for (CCadwinScrollButton* b : {&m_zoomIn[edge], &m_fit[edge], &m_zoomOut[edge]})
            if (b->m_hWnd) ::ShowWindow(b->m_hWnd, sw);
    };
    for (int e = 0; e < 4; ++e)
        show(e, m_edgeButtonsEnabled && (m_edgeMask & (1 << e)));
    bool all = true;
    for (auto& b : m_scroll)
        all = all && b.m_hWnd;
    if (m_edgeButtonsEnabled && all) {
        const int bw = (w - 144) / 2, bh = (h - 144) / 2;
        auto place = [](CCadwinScrollButton& b, int x, int y, int cx, int cy) {
            if (b.m_hWnd) ::SetWindowPos(b.m_hWnd, HWND_TOP, x, y, cx, cy, SWP_NOACTIVATE);
        };
        place(m_scroll[0], 0, 0, bw, t);
        place(m_scroll[1], bw + 144, 0, bw, t);
        place(m_scroll[2], 0, h - t, bw, t);
        place(m_scroll[3], bw + 144, h - t, bw, t);
        place(m_scroll[4], 0, 0, t, bh);
        place(m_scroll[5], 0, bh + 144, t, bh);
        place(m_scroll[6], w - t, 0, t, bh);
        place(m_scroll[7], w - t, bh + 144, t, bh);
        const int ys[4] = {0, h - t, 0, 0}, xs[4] = {0, 0, 0, w - t};
        for (int e = 0; e < 4; ++e) {
            CCadwinScrollButton* order[3] = {&m_zoomIn[e], &m_fit[e], &m_zoomOut[e]};
            for (int k = 0; k < 3; ++k) {
                if (e < 2)
                    place(*order[k], bw + 48 * k, ys[e], 48, t);
                else
                    place(*order[k], xs[e], bh + 48 * k, t, 48);
            }
        }
        for (int e = 0; e < 4; ++e)
            show(e, m_edgeMask & (1 << e));
    }
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

LRESULT CCadwinFrame::OnSize(UINT type, int cx, int cy, BOOL& handled) {
    handled = FALSE;  // DefMDIChildProc keeps the client's state right
    if (type != SIZE_MINIMIZED) Layout(cx, cy);
    return 0;
}

LRESULT CCadwinFrame::OnCommand(WORD code, WORD id, HWND, BOOL& handled) {
    HWND view = m_view.m_hWnd;
    switch (id) {
    case ID_CADWIN_SCROLL_UP:
    case ID_CADWIN_SCROLL_DOWN:
        if (view) ::PostMessageA(view, WM_VSCROLL, id == ID_CADWIN_SCROLL_UP ? SB_LINEUP : SB_LINEDOWN, 0);
        return 0;
    case ID_CADWIN_SCROLL_LEFT:
    case ID_CADWIN_SCROLL_RIGHT:
        if (view) ::PostMessageA(view, WM_HSCROLL, id == ID_CADWIN_SCROLL_LEFT ? SB_LINELEFT : SB_LINERIGHT, 0);
        return 0;
    case ID_CADWIN_ZOOM_IN:
    case ID_CADWIN_ZOOM_OUT:
    case ID_CADWIN_ZOOM_FIT:
        if (view) ::PostMessageA(view, WM_COMMAND, id, 0);
        return 0;
    case ID_CADWIN_EDGE_BUTTONS: {
        m_edgeButtonsEnabled = code != 0;
        RECT rc;
        ::GetClientRect(m_hWnd, &rc);
        Layout(rc.right, rc.bottom);
        return 0;
    }
    case ID_CADWIN_EDGE_ZONES: {
        m_edgeMask = code;
        RECT rc;
        ::GetClientRect(m_hWnd, &rc);
        Layout(rc.right, rc.bottom);
        return 0;
    }
    default: handled = FALSE; return 0;
    }
}

LRESULT CCadwinFrame::OnMdiActivate(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    handled = FALSE;
    if (m_view.m_hWnd && m_view.OnMdiActivate((HWND)wParam, (HWND)lParam) == -1) {
        // The input lock keeps the other drawing active.
        if (wParam) ::SetWindowPos((HWND)wParam, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    if ((HWND)lParam == m_hWnd && CadwinHost().installWindowMenu) CadwinHost().installWindowMenu(GetMDIClient());
    return 0;
}

LRESULT CCadwinFrame::OnGetView(UINT, WPARAM, LPARAM, BOOL&) { return (LRESULT)m_view.m_hWnd; }

LRESULT CCadwinFrame::OnForwardMsg(UINT, WPARAM, LPARAM lParam, BOOL&) {
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    if (!m_accel || !msg) return 0;
    return ::TranslateAcceleratorA(m_hWnd, m_accel, msg) ? 1 : 0;
}

LRESULT CCadwinFrame::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    // A frame destroyed without WM_CLOSE still takes its view out of the table.
    if (m_view.m_hWnd && GetViewData(m_view.m_hWnd)) CloseView(m_view.m_hWnd);
    if (m_accel) {
        ::DestroyAcceleratorTable(m_accel);
        m_accel = nullptr;
    }
    handled = FALSE;
    return 0;
}

LRESULT CCadwinFrame::OnClose(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    CadwinHostLinks& host = CadwinHost();
    int* cancelWord = (wParam == 100 && lParam) ? reinterpret_cast<int*>(lParam) : nullptr;
    if (cancelWord) *cancelWord = 0;
    ShowToolPanelCoordinates(nullptr);
    CloseInputScaleWindow();
    DropInputBasePoint(m_view.m_hWnd);
    HWND main = GetMDIFrame();
    if (!host.mainFrameClosing) {
        // A module that opened a drawing by name keeps its command while
        // the empty untitled windows close.
        if (main && !KeepCmdOnCloseFlag) ::SendMessageA(main, UM_END_CMD, 0, 0);
        if (IsModuleCmdRunning() && !KeepCmdOnCloseFlag) {
            if (host.commandInitiatedClose) {
                host.commandInitiatedClose = 0;
            } else if (host.closeRetryCount < 10) {
                ++host.closeRetryCount;
                // The retry carries no pointer: the cancel word of a close-all
                // lives on its caller's stack and is gone when the retry runs.
                // That caller learns now that this window stays for the moment.
                if (cancelWord) *cancelWord = 1;
                if (message == WM_QUERYENDSESSION && main)
                    ::PostMessageA(main, WM_CLOSE, 0, 0);
                else
                    ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
                return 0;
            }
        } else {
            host.commandInitiatedClose = 0;
        }
    }
    if (host.closeRetryCount > 9)
        WriteSystemLog(0, "Warning", "終了時にコマンドがメモリに残っています EndCount=%ld", (long)host.closeRetryCount);
    host.closeRetryCount = 0;
    NotifyToolPanelViewChange();
    if (message == WM_QUERYENDSESSION) host.systemShutdown = 1;

    HWND view = m_view.m_hWnd;
    if (IsSaveQuestionNeeded(view)) {
        std::string title = GetWindowText();
        if (title.size() > 256) title.resize(256);
        char caption[300];
        snprintf(caption, sizeof caption, "%-50s", Running().TT);
        char text[1400];
        snprintf(text, sizeof text, "%s\n\n%s\n\n[はい]----保存する\n[いいえ]--保存しない\n[ｷｬﾝｾﾙ]--終了しない",
                 title.c_str(), GetMessageText(IDS_SAVE_CHANGES));
        const int answer = ZavMessageBox(m_hWnd, text, caption, MB_YESNOCANCEL | MB_ICONQUESTION);
        bool keep = answer == IDCANCEL;
        // With no save road installed a "yes" keeps the window: nothing unsaved is lost.
        if (answer == IDYES) keep = !(CadwinSaveHandler && CadwinSaveHandler(view) == 1);
        if (keep) {
            ClearSaveQuestionList();
            host.systemShutdown = 0;
            if (cancelWord) *cancelWord = 1;
            return 0;  // handled: the window stays open
        }
    }
    CloseView(view);
    char module[MAX_PATH] = "";
    if (GetCmdLineOfId(ID_CMD_WINDOW_CLOSED, module, sizeof module) && module[0]) {
        if (HMODULE lib = ::LoadLibraryA(module)) {
            using StartCmdFn = int(ZAVAPI*)(HWND, const char*);
            if (auto start = reinterpret_cast<StartCmdFn>(::GetProcAddress(lib, "StartCmd"))) {
                char arg[32];
                snprintf(arg, sizeof arg, "%ld", (long)(LONG_PTR)m_hWnd);
                start(main, arg);
            }
            ::FreeLibrary(lib);
        }
    }
    DAriClearDustMemory();
    if (message == WM_CLOSE) {
        PostSettingsChangedEvent();
        UpdateToolPanelDrawingInfo();
    }
    WriteSystemLog(2, "Cad Window", "CAD画面を閉じる");
    DocumentChangedFlag = 1;
    if (FindFreeViewSlot() == 0) {  // no view left
        // A module that saved drawings while the application closed learns
        // that the last window has gone.
        if (DrawingEventClosingFlag) ExecDrawingEventCmd(nullptr, 3);
        if (HWND panel = ToolPanelWindow()) ::PostMessageA(panel, WM_COMMAND, MAKEWPARAM(ID_PANEL_VIEW_REFRESH, 2), 0);
    }
    if (main) ::PostMessageA(main, UM_FOCUS_VIEW, 0, 0);
    if (HWND client = GetMDIClient()) {
        BOOL maximized = FALSE;
        HWND active = (HWND)::SendMessageA(client, WM_MDIGETACTIVE, 0, (LPARAM)&maximized);
        if (active && active != m_hWnd) host.rememberedMaximized = maximized ? 1 : 0;
    }
    handled = FALSE;  // the default processing destroys the child
    return 0;
}

// ---- creation ------------------------------------------------------------------

RunningTextAttr* ViewTextAttributes(HWND view) {
    auto* v = view ? dynamic_cast<CCadwinView*>(CWindowBase::FromHandle(view)) : nullptr;
    return v ? &v->m_textAttr : nullptr;
}

HWND CreateDrawingWindow(HWND mdiClient, const RECT* rect, const char* title) {
    if (!mdiClient || FindFreeViewSlot() < 0) return nullptr;
    auto* frame = new CCadwinFrame();
    frame->m_autoDelete = true;
    HWND h = frame->CreateEx(mdiClient, rect, title);
    if (!h) {
        delete frame;
        return nullptr;
    }
    HWND view = frame->GetViewWindow();
    if (!view) {
        ::SendMessageA(mdiClient, WM_MDIDESTROY, (WPARAM)h, 0);
        return nullptr;
    }
    AddViewToTable(view);
    return view;
}
