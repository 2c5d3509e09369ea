#include "view/cadwin_frame.h"

#include <cstdio>
#include <string>

#include "base/message_table.h"
#include "command/wait_loop.h"
#include "panels/panel_windows.h"
#include "view/drawing_state.h"
#include "view/input_scale.h"
#include "view/key_cursor.h"
#include "view/view_table.h"
#include "win/message_box.h"

int DrawingIdCounter = 0;
int (*CadwinSaveHandler)(HWND view) = nullptr;

namespace {
constexpr const char* kViewClass = "CadwinView";
}  // namespace

int RegisterCadwinClasses() {
    WindowClassArgs wc;
    wc.name = kViewClass;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.background = nullptr;  // the view paints its whole client area
    wc.windowExtra = 3 * sizeof(LONG_PTR);  // 0: ViewData, 4: overview children
    return win::RegisterWindowClass(wc) != 0 ? 1 : 0;
}

// ---- view ---------------------------------------------------------------

HWND CCadwinView::Create(HWND parent) {
    if (!RegisterCadwinClasses()) return nullptr;
    CreateArgs a;
    a.className = kViewClass;
    a.parent = parent;
    // Both scroll bars stay, so the client area does not change under a fit.
    a.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_HSCROLL | WS_VSCROLL;
    a.exStyle = WS_EX_CLIENTEDGE;
    RECT rc;
    ::GetClientRect(parent, &rc);
    a.SetRect(rc);
    return CWindowBase::Create(a);
}

int CCadwinView::CreateDatabase() {
    if (!m_database) {
        ::SetWindowLongPtrA(m_hWnd, 0, 0);
        return 0;
    }
    int undoLevel = 0;
    int result = m_database->Create(&DrawingIdCounter, &undoLevel, nullptr, nullptr);
    ::SetWindowLongPtrA(m_hWnd, 0, (LONG_PTR)&m_database->m_data);
    return result;
}

LRESULT CCadwinView::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
    CreateDatabase();
    CenterViewScrollBars(m_hWnd);
    handled = FALSE;
    return 0;
}

LRESULT CCadwinView::OnClose(UINT, WPARAM, LPARAM, BOOL&) {
    // A view never closes by itself; its frame decides. A running command
    // still ends.
    HWND frame = ::GetParent(m_hWnd);
    HWND client = frame ? ::GetParent(frame) : nullptr;
    if (HWND main = client ? ::GetParent(client) : nullptr)
        ::SendMessageA(main, UM_END_CMD, 0, 0);
    return 0;
}

LRESULT CCadwinView::OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }

LRESULT CCadwinView::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    ::FillRect(dc, &ps.rcPaint, (HBRUSH)::GetStockObject(BLACK_BRUSH));
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

// ---- frame --------------------------------------------------------------

CCadwinFrame::CCadwinFrame() : m_view(&m_database) {}

CCadwinFrame::~CCadwinFrame() {
    // The view leaves the system before the record it points at goes.
    if (m_view.m_hWnd) CloseView(m_view.m_hWnd);
}

HWND CCadwinFrame::CreateEx(HWND parent, const RECT* rect, const char* title) {
    char loaded[257] = "";
    if (!title) {
        ::LoadStringA(win::ModuleInstance(), 128, loaded, sizeof loaded);
        title = loaded;
    }
    m_baseTitle = title;
    CreateArgs a;
    a.parent = parent;
    a.title = title;
    a.style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    if (rect) a.SetRect(*rect);
    return CMDIChildWindow::Create(a);
}

void CCadwinFrame::OnFinalMessage(HWND) {
    if (m_autoDelete) delete this;
}

LRESULT CCadwinFrame::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
    m_view.Create(m_hWnd);
    handled = FALSE;  // the MDI child's own creation goes on
    return 0;
}

LRESULT CCadwinFrame::OnSize(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    if (m_view.m_hWnd)
        ::MoveWindow(m_view.m_hWnd, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    handled = FALSE;  // DefMDIChildProc keeps the client's state right
    return 0;
}

LRESULT CCadwinFrame::OnGetView(UINT, WPARAM, LPARAM, BOOL&) {
    return (LRESULT)m_view.m_hWnd;
}

LRESULT CCadwinFrame::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    // A frame destroyed without WM_CLOSE still takes its view out of the table.
    if (m_view.m_hWnd) CloseView(m_view.m_hWnd);
    handled = FALSE;
    return 0;
}

LRESULT CCadwinFrame::OnClose(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    int* cancelWord = (wParam == 100 && lParam) ? reinterpret_cast<int*>(lParam) : nullptr;
    if (cancelWord) *cancelWord = 0;
    CloseInputScaleWindow();
    DrawInputBasePoint(0, 0, 0);
    CmdWaitState().basePointShown = 0;
    if (HWND main = GetMDIFrame()) ::SendMessageA(main, UM_END_CMD, 0, 0);

    HWND view = m_view.m_hWnd;
    ViewData* d = GetViewData(view);
    if (d && d->db && d->modified && CountDrawingViews(view) <= 1) {
        std::string title = GetWindowText();
        if (title.size() > 256) title.resize(256);
        char text[1024];
        snprintf(text, sizeof text,
                 "%s\n\n%s\n\n[はい]----保存する\n[いいえ]--保存しない\n[ｷｬﾝｾﾙ]--終了しない",
                 title.c_str(), GetMessageText(5001));
        int answer = ZavMessageBox(m_hWnd, text, "確認", MB_YESNOCANCEL | MB_ICONQUESTION);
        bool keep = answer == IDCANCEL;
        if (answer == IDYES) keep = !(CadwinSaveHandler && CadwinSaveHandler(view));
        if (keep) {
            if (cancelWord) *cancelWord = 1;
            return 0;  // handled: the window stays open
        }
    }
    CloseView(view);
    handled = FALSE;  // the default processing destroys the child
    return 0;
}
