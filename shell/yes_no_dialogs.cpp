#include "shell/yes_no_dialogs.h"

#include <commctrl.h>

#include <cstring>
#include <string>

#include "base/monitor.h"
#include "base/running_settings.h"
#include "command/host_messages.h"
#include "panels/tool_buttons.h"
#include "shell/cad_system.h"
#include "shell/calculator.h"
#include "shell/dialog_ids.h"
#include "shell/ui_library.h"
#include "win/dialog.h"
#include "win/message_box.h"

// --- CYesNoButtonPaint ----------------------------------------------------------------------------

CYesNoButtonPaint::~CYesNoButtonPaint() {
    if (m_font) ::DeleteObject(m_font);
}

void CYesNoButtonPaint::SetFont(HFONT font) {
    if (m_font && m_font != font) ::DeleteObject(m_font);
    m_font = font;
}

void CYesNoButtonPaint::PaintBackground(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    TRIVERTEX v[2] = {{rect.left, rect.top, (COLOR16)(GetRValue(top) << 8), (COLOR16)(GetGValue(top) << 8),
                       (COLOR16)(GetBValue(top) << 8), 0},
                      {rect.right, rect.bottom, (COLOR16)(GetRValue(bottom) << 8), (COLOR16)(GetGValue(bottom) << 8),
                       (COLOR16)(GetBValue(bottom) << 8), 0}};
    GRADIENT_RECT g = {0, 1};
    ::GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
}

void CYesNoButtonPaint::PaintFace(HDC dc, const RECT& rect, COLORREF c1, COLORREF c2, COLORREF c3, COLORREF c4,
                                  COLORREF outer, COLORREF inner) {
    PaintGradientButtonFace(this, dc, rect, c1, c2, c3, c4, outer, inner);
}

void CYesNoButtonPaint::PaintNormalFace(HDC dc, const RECT& rect) {
    PaintFace(dc, rect, RGB(255, 255, 255), RGB(233, 241, 245), RGB(200, 220, 255), RGB(166, 184, 207),
              ::GetSysColor(COLOR_3DDKSHADOW), RGB(255, 255, 255));
}

void CYesNoButtonPaint::PaintGreyFace(HDC dc, const RECT& rect) {
    PaintFace(dc, rect, RGB(213, 213, 213), RGB(220, 220, 220), RGB(253, 253, 253), RGB(235, 235, 235),
              ::GetSysColor(COLOR_3DDKSHADOW), RGB(255, 255, 255));
}

void CYesNoButtonPaint::PaintStateFace(HDC dc, const RECT& rect, int state) {
    const COLORREF c = state == 1 ? m_state1Face : m_state2Face;
    PaintFace(dc, rect, c, c, c, c, ::GetSysColor(COLOR_3DDKSHADOW), RGB(255, 255, 255));
}

void CYesNoButtonPaint::PaintOrangeFace(HDC dc, const RECT& rect) {
    const COLORREF c = RGB(255, 168, 0);
    PaintFace(dc, rect, c, c, c, c, ::GetSysColor(COLOR_3DDKSHADOW), RGB(255, 255, 255));
}

void CYesNoButtonPaint::Paint(HWND window, HDC dc, int state, const RECT& rect, const char* caption) {
    if (state)
        PaintStateFace(dc, rect, state);
    else
        PaintNormalFace(dc, rect);
    const int h = rect.bottom - rect.top;
    HFONT made = nullptr;
    HFONT font = m_font;
    if (!font) {
        const int height = h < 14 ? h - 2 : h <= 26 ? 12 : 14;
        made = font = ::CreateFontA(height, 0, 0, 0, FW_BOLD, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, FaceName());
    }
    HGDIOBJ old = ::SelectObject(dc, font);
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(dc, &tm);
    const char* text = caption ? caption : "";
    const int average = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 1;
    const int w = rect.right - rect.left;
    int count = static_cast<int>(std::strlen(text));
    SIZE extent = {};
    ::GetTextExtentPoint32A(dc, text, count, &extent);
    while (count > 0 && extent.cx > w) {  // at most what fits
        --count;
        ::GetTextExtentPoint32A(dc, text, count, &extent);
    }
    (void)average;
    const bool enabled = !window || ::IsWindowEnabled(window);
    COLORREF color = state == 1 ? m_state1Text : state == 2 ? m_state2Text : m_normalText;
    if (!enabled) color = ::GetSysColor(COLOR_GRAYTEXT);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, color);
    ::TextOutA(dc, rect.left + (w - extent.cx) / 2, rect.top + (h - tm.tmHeight) / 2, text, count);
    ::SelectObject(dc, old);
    if (made) ::DeleteObject(made);
    if (window && ::GetFocus() == window) {
        RECT focus = rect;
        ::InflateRect(&focus, -2, -2);
        ::DrawFocusRect(dc, &focus);
    }
}

namespace {

// --- Placement shared by the two large dialogs -------------------------------------------------------

// Places the dialog by the pointer (or at the remembered position) and puts
// the pointer on its default answer; `divisor` picks that answer's place.
void PlaceByPointer(HWND dlg, int* placed, int* px, int* py, int divisor) {
    POINT mouse = {};
    ::GetCursorPos(&mouse);
    int y0 = mouse.y - 100;
    if (y0 < 0) y0 = 0;
    int x = 0, y = 0;
    if (*placed) {
        x = *px;
        y = *py;
    } else {
        int right = 0, bottom = 0;
        GetMonitorExtent(mouse.x, y0, &right, &bottom);
        x = mouse.x > right - 150 ? mouse.x - 150 : mouse.x + 50;
        y = y0 > bottom - 100 ? y0 - 150 : y0 + 50;
        *px = x;
        *py = y;
        *placed = 1;
    }
    ::SetWindowPos(dlg, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT rc;
    ::GetWindowRect(dlg, &rc);
    ::SetCursorPos(rc.left + (rc.right - rc.left) / divisor,
                   (::GetSystemMetrics(SM_CYCAPTION) + rc.top + rc.bottom) / 2);
}

void SetDialogIcons(HWND dlg) {
    HINSTANCE inst = ::GetModuleHandleA(nullptr);
    HICON big = (HICON)::LoadImageA(inst, MAKEINTRESOURCEA(IDI_YESNO), IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
                                    ::GetSystemMetrics(SM_CYICON), 0);
    HICON small = (HICON)::LoadImageA(inst, MAKEINTRESOURCEA(IDI_YESNO), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                      ::GetSystemMetrics(SM_CYSMICON), 0);
    if (big) ::SendMessageA(dlg, WM_SETICON, ICON_BIG, (LPARAM)big);
    if (small) ::SendMessageA(dlg, WM_SETICON, ICON_SMALL, (LPARAM)small);
}

// --- CYesNoCanDlg ------------------------------------------------------------------------------------

class CYesNoCanDlg;
HHOOK g_keyHook = nullptr;
CYesNoCanDlg* g_hookedDialog = nullptr;
LRESULT CALLBACK YesNoKeyHook(int code, WPARAM wParam, LPARAM lParam);

class CYesNoCanDlg : public CDialog {
public:
    CYesNoCanDlg(int* placed, int* x, int* y, const char* title)
        : CDialog(IDD_YESNO_CANCEL, ::GetModuleHandleA(nullptr)),
          m_placed(placed),
          m_x(x),
          m_y(y),
          m_title(title ? title : "") {}
    ~CYesNoCanDlg() override {
        if (m_brush) ::DeleteObject(m_brush);
    }

    BEGIN_MSG_MAP(CYesNoCanDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
    MESSAGE_HANDLER(WM_CTLCOLORBTN, OnCtlColorBtn)
    MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    COMMAND_ID_HANDLER(6, OnYes)
    COMMAND_ID_HANDLER(1001, OnNo)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()

private:
    struct Face {
        int id;
        const char* caption;
        COLORREF color;
    };
    static constexpr Face kFaces[3] = {
        {6, "Yes", RGB(160, 200, 240)}, {1001, "No", RGB(253, 176, 201)}, {IDCANCEL, "ｷｬﾝｾﾙ", RGB(238, 227, 182)}};

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
        SetDialogIcons(m_hWnd);
        if (!m_title.empty()) ::SetWindowTextA(m_hWnd, m_title.c_str());
        PlaceByPointer(m_hWnd, m_placed, m_x, m_y, 6);
        g_hookedDialog = this;
        g_keyHook = ::SetWindowsHookExA(WH_KEYBOARD, YesNoKeyHook, nullptr, ::GetCurrentThreadId());
        m_brush = ::CreateSolidBrush(GetPanelColor());
        for (int i = 0; i < 3; ++i) {
            if (HWND b = GetDlgItem(kFaces[i].id)) {
                LONG style = ::GetWindowLongA(b, GWL_STYLE);
                ::SetWindowLongA(b, GWL_STYLE, (style & ~0x0F) | BS_OWNERDRAW);
            }
            m_painters[i].SetFont(
                ::CreateFontA(24, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ ゴシック"));
            m_painters[i].m_state1Face = kFaces[i].color;
        }
        return 0;
    }
    int FaceIndex(int id) const {
        for (int i = 0; i < 3; ++i)
            if (kFaces[i].id == id) return i;
        return -1;
    }
    LRESULT OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const int i = item ? FaceIndex(static_cast<int>(item->CtlID)) : -1;
        if (i < 0) {
            handled = FALSE;
            return 0;
        }
        m_painters[i].Paint(item->hwndItem, item->hDC, 1, item->rcItem, kFaces[i].caption);
        return TRUE;
    }
    LRESULT OnCtlColorBtn(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
        if (FaceIndex(::GetDlgCtrlID((HWND)lParam)) < 0) return 0;
        ::SetBkColor((HDC)wParam, RGB(0, 0, 255));
        ::SetTextColor((HDC)wParam, RGB(0, 0, 0));
        return (LRESULT)m_brush;
    }
    LRESULT OnKeyDown(UINT, WPARAM key, LPARAM, BOOL&) {
        switch (key) {
        case VK_ESCAPE:
            *m_placed = 0;
            EndDialog(2);
            break;
        case 'Y':
            *m_placed = 0;
            EndDialog(6);
            break;
        case 'N': EndDialog(1001); break;
        default: break;  // Space: nothing
        }
        return 0;
    }
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
        if (g_keyHook) ::UnhookWindowsHookEx(g_keyHook);
        g_keyHook = nullptr;
        g_hookedDialog = nullptr;
        handled = FALSE;
        return 0;
    }
    LRESULT OnYes(WORD, WORD, HWND, BOOL&) {
        *m_placed = 0;
        EndDialog(6);
        return 0;
    }
    LRESULT OnNo(WORD, WORD, HWND, BOOL&) {
        EndDialog(1001);  // the next question opens at the same place
        return 0;
    }
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&) {
        *m_placed = 0;
        EndDialog(2);
        return 0;
    }

    int* m_placed;
    int* m_x;
    int* m_y;
    std::string m_title;
    HBRUSH m_brush = nullptr;
    CYesNoButtonPaint m_painters[3];
};
constexpr CYesNoCanDlg::Face CYesNoCanDlg::kFaces[3];

LRESULT CALLBACK YesNoKeyHook(int code, WPARAM wParam, LPARAM lParam) {
    const bool down = (lParam & 0x80000000) == 0 && (lParam & 0x40000000) == 0;
    if (code == HC_ACTION && down && g_hookedDialog &&
        (wParam == VK_ESCAPE || wParam == VK_SPACE || wParam == 'N' || wParam == 'Y')) {
        ::SendMessageA(g_hookedDialog->m_hWnd, WM_KEYDOWN, wParam, 0);
        return 1;
    }
    return ::CallNextHookEx(g_keyHook, code, wParam, lParam);
}

// --- CYesNoButton and CYesNoDlg --------------------------------------------------------------------

class CYesNoButton : public CWindowBase, public CYesNoButtonPaint {
public:
    int GetState() const { return m_state; }
    int SetState(int state) {
        const int old = m_state;
        m_state = state;
        return old;
    }
    int ToggleState(int state) {
        const int old = m_state;
        m_state = old ? 0 : (state > 0 ? state : 1);
        return old;
    }

    BEGIN_MSG_MAP(CYesNoButton)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnButtonDown)
    MESSAGE_HANDLER(WM_RBUTTONDOWN, OnButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnButtonUp)
    MESSAGE_HANDLER(WM_RBUTTONUP, OnButtonUp)
    MESSAGE_HANDLER(WM_KEYUP, OnKeyUp)
    MESSAGE_HANDLER(WM_SETFOCUS, OnFocus)
    MESSAGE_HANDLER(WM_KILLFOCUS, OnFocus)
    END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
        ::SetWindowTextA(m_hWnd, "Yes/No");
        m_state = 0;
        handled = FALSE;
        return 0;
    }
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(m_hWnd, &ps);
        RECT rc;
        ::GetClientRect(m_hWnd, &rc);
        char text[64] = "";
        ::GetWindowTextA(m_hWnd, text, sizeof text);
        Paint(m_hWnd, dc, m_state, rc, m_state == 1 ? m_yes : m_state == 2 ? m_no : text);
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }
    LRESULT OnButtonDown(UINT msg, WPARAM, LPARAM, BOOL&) {
        if (IsCalculatorOpen()) return 0;
        if (HWND frame = MainFrameWindow()) ::PostMessageA(frame, UM_FOCUS_VIEW, 0, 0);
        ::SetCapture(m_hWnd);
        m_state = msg == WM_LBUTTONDOWN ? 1 : 2;
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        ::UpdateWindow(m_hWnd);
        return 0;
    }
    LRESULT OnButtonUp(UINT, WPARAM, LPARAM, BOOL&) {
        ::ReleaseCapture();
        const int held = m_state;
        m_state = 0;
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        if (held) Notify(held == 1 ? NM_CLICK : NM_RCLICK);
        return 0;
    }
    LRESULT OnKeyUp(UINT, WPARAM key, LPARAM, BOOL& handled) {
        if (key != VK_SPACE && key != VK_RETURN) {
            handled = FALSE;
            return 0;
        }
        m_state = 0;
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        Notify(NM_CLICK);
        return 0;
    }
    LRESULT OnFocus(UINT, WPARAM, LPARAM, BOOL& handled) {
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        ::UpdateWindow(m_hWnd);
        handled = FALSE;
        return 0;
    }
    void Notify(int code) {
        NMHDR nm = {m_hWnd, static_cast<UINT_PTR>(::GetDlgCtrlID(m_hWnd)), static_cast<UINT>(code)};
        ::SendMessageA(::GetParent(m_hWnd), WM_NOTIFY, nm.idFrom, (LPARAM)&nm);
    }

    const char* m_yes = "Yes";
    const char* m_no = "No";
    int m_state = 0;
};

class CYesNoDlg : public CDialog {
public:
    CYesNoDlg(int* placed, int* x, int* y, const char* title)
        : CDialog(IDD_YESNO_ONE, ::GetModuleHandleA(nullptr)),
          m_placed(placed),
          m_x(x),
          m_y(y),
          m_title(title ? title : "") {}

    BEGIN_MSG_MAP(CYesNoDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    NOTIFY_HANDLER(1803, NM_CLICK, OnLeft)
    NOTIFY_HANDLER(1803, NM_RCLICK, OnRight)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
        SetDialogIcons(m_hWnd);
        if (!m_title.empty()) ::SetWindowTextA(m_hWnd, m_title.c_str());
        PlaceByPointer(m_hWnd, m_placed, m_x, m_y, 4);
        RECT cancel = {};
        if (HWND c = GetDlgItem(IDCANCEL)) ::GetWindowRect(c, &cancel);
        CreateArgs args;
        args.style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_TABSTOP;
        args.parent = m_hWnd;
        args.id = 1803;
        args.x = 1;
        args.y = 1;
        args.cx = cancel.right - cancel.left - 1;
        args.cy = cancel.bottom - cancel.top - 2;
        if (m_button.Create(args)) {
            // Over the cancel button, which only keeps Escape's meaning.
            if (HWND c = GetDlgItem(IDCANCEL)) ::ShowWindow(c, SW_HIDE);
            ::SetWindowPos(m_button.m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
            ::SetFocus(m_button.m_hWnd);
        }
        return 0;
    }
    LRESULT OnLeft(int, LPNMHDR, BOOL&) {
        *m_placed = 0;
        EndDialog(6);
        return 0;
    }
    LRESULT OnRight(int, LPNMHDR, BOOL&) {
        EndDialog(7);  // the next question opens at the same place
        return 0;
    }
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&) {
        *m_placed = 0;
        EndDialog(2);
        return 0;
    }

    int* m_placed;
    int* m_x;
    int* m_y;
    std::string m_title;
    CYesNoButton m_button;
};

// --- "YesNo0" ------------------------------------------------------------------------------------------

struct PlainState {
    int placed = 0;
    int variant = 0;
    POINT base = {};
} g_plain;

INT_PTR CALLBACK PlainYesNoProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG: {
        POINT base = {};
        ::GetCursorPos(&base);
        if (g_plain.placed == 1)
            base = g_plain.base;
        else
            g_plain.base = base;
        int y0 = base.y - 100;
        if (y0 < 0) y0 = 0;
        int right = 0;
        GetMonitorExtent(base.x, y0, &right, nullptr);
        int x, y;
        if (base.x > right - 150) {
            x = base.x - 150;
            y = y0 < 210 ? y0 + 150 : y0;
        } else {
            x = base.x + 50;
            y = y0 < 210 ? y0 + 100 : y0;
        }
        ::SetWindowPos(dlg, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        if (HWND yes = ::GetDlgItem(dlg, 100)) {
            RECT rc;
            ::GetWindowRect(yes, &rc);
            ::SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        }
        char text[32] = "";
        if (Running().LANGUAGE && ::GetDlgItemTextA(dlg, 110, text, sizeof text) && std::strcmp(text, "ｷｬﾝｾﾙ") == 0)
            ::SetDlgItemTextA(dlg, 110, "Cancel");
        if (Running().YESNOMSG[0]) ::SetWindowTextA(dlg, Running().YESNOMSG);
        return FALSE;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const bool extended = Running().YNCMSG != 0;
        switch (id) {
        case 100: ::EndDialog(dlg, 6); return TRUE;
        case 102: ::EndDialog(dlg, 7); return TRUE;
        // Escape or the close box: the question is not answered yes.
        case IDCANCEL: ::EndDialog(dlg, 7); return TRUE;
        default: break;
        }
        if (extended) {
            switch (id) {
            case 101: ::EndDialog(dlg, g_plain.variant == 1 ? 7 : 6); return TRUE;
            case 103: ::EndDialog(dlg, 7); return TRUE;
            case 110:
            case 111: ::EndDialog(dlg, 2); return TRUE;
            default: break;
            }
        }
        return FALSE;
    }
    case WM_ERASEBKGND:
        if (UiOnEraseBkgnd(dlg, (HDC)wParam)) {
            ::SetWindowLongPtrA(dlg, DWLP_MSGRESULT, 1);
            return TRUE;
        }
        return FALSE;
    case WM_CTLCOLORBTN: return (INT_PTR)UiOnCtlColor(dlg, (HDC)wParam, (HWND)lParam, 3);
    case WM_CTLCOLORSTATIC: return (INT_PTR)UiOnCtlColor(dlg, (HDC)wParam, (HWND)lParam, 6);
    case WM_DRAWITEM:
        if (wParam == 1) {
            DrawColorButton(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        return FALSE;
    default: return FALSE;
    }
}

struct LargeQuestion {
    int* placed;
    int* x;
    int* y;
    const char* title;
    bool oneButton;
};

int ShowLargeQuestion(void* context) {
    auto* q = static_cast<LargeQuestion*>(context);
    HWND owner = ::GetActiveWindow();
    if (q->oneButton) {
        CYesNoDlg dlg(q->placed, q->x, q->y, q->title);
        return static_cast<int>(dlg.DoModal(owner));
    }
    CYesNoCanDlg dlg(q->placed, q->x, q->y, q->title);
    return static_cast<int>(dlg.DoModal(owner));
}

int ShowPlain(void*) {
    HWND frame = MainFrameWindow();
    return static_cast<int>(
        ::DialogBoxParamA(::GetModuleHandleA(nullptr), IDD_YESNO_PLAIN_NAME, frame, PlainYesNoProc, 0));
}

}  // namespace

int RunYesNoDialog(int* placed, int* x, int* y, const char* title, const char* question) {
    int localPlaced = 0, localX = 0, localY = 0;
    LargeQuestion q = {placed ? placed : &localPlaced, x ? x : &localX, y ? y : &localY, title, Running().YNCMSG != 0};
    POINT mouse = {};
    const BOOL hadMouse = ::GetCursorPos(&mouse);
    const char* text = question ? question : title ? title : "";
    int answer =
        ZavAskQuestion(::GetActiveWindow(), text, "確認 ?", MB_YESNOCANCEL | MB_ICONQUESTION, ShowLargeQuestion, &q);
    if (hadMouse) ::SetCursorPos(mouse.x, mouse.y);
    // A test's answer is a box's: its "no" is the dialog's.
    if (answer == IDNO && !q.oneButton) answer = 1001;
    if (answer == -1) answer = 2;  // the dialog could not be made: nothing is answered yes
    return answer;
}

int RunYesNoPlainBox(const char* prompt, int placed, int variant) {
    g_plain.placed = placed;
    g_plain.variant = variant;
    const char* caption = Running().YESNOMSG[0] ? Running().YESNOMSG : "?";
    const int answer = ZavAskQuestion(MainFrameWindow(), prompt ? prompt : "", caption, MB_YESNO | MB_ICONQUESTION,
                                      ShowPlain, nullptr);
    return answer == -1 ? 7 : answer;
}
