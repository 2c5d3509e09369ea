#include "shell/calculator.h"

#include <windowsx.h>

#include <cstdio>
#include <cstring>

#include "base/dbcs.h"
#include "base/message_table.h"
#include "base/monitor.h"
#include "base/running_settings.h"
#include "panels/tool_buttons.h"
#include "shell/cad_system.h"
#include "win/message_box.h"
#include "win/message_loop.h"

namespace {

const char kClassName[] = "DENTAKU";
const int kDisplayId = 1000;
const char kFace[] = "ＭＳ ゴシック";

// One key of the calculator.
class CDentakuButton {
public:
    CDentakuButton(const char* caption, int commandId, RECT rect) : m_rect(rect), m_caption(caption), m_id(commandId) {}
    virtual ~CDentakuButton() = default;
    virtual int GetState() const { return m_toggle; }
    virtual int SetState(int state) {
        const int old = m_toggle;
        m_toggle = state;
        return old;
    }
    virtual int FlipState() {
        const int old = m_toggle;
        m_toggle = !m_toggle;
        return old;
    }

    void Paint(HDC dc, bool pressed) const {
        const COLORREF dark = ::GetSysColor(COLOR_3DDKSHADOW), white = RGB(255, 255, 255);
        if (!m_enabled) {
            const COLORREF g = RGB(231, 231, 231);
            PaintGradientButtonFace(nullptr, dc, m_rect, g, g, g, g, dark, white);
        } else if (pressed) {
            PaintGradientButtonFace(nullptr, dc, m_rect, m_pressedColor, m_pressedColor, m_pressedColor, m_pressedColor,
                                    dark, white);
        } else {
            PaintGradientButtonFace(nullptr, dc, m_rect, white, RGB(233, 241, 245), RGB(200, 220, 255),
                                    RGB(166, 184, 207), dark, white);
        }
        const int h = m_rect.bottom - m_rect.top + 1;
        const int fontHeight = h < 14 ? h - 2 : h <= 26 ? 12 : 14;
        HFONT font = ::CreateFontA(fontHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, m_face);
        HGDIOBJ old = ::SelectObject(dc, font);
        TEXTMETRICA tm = {};
        ::GetTextMetricsA(dc, &tm);
        const int w = m_rect.right - m_rect.left + 1;
        const int average = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 1;
        int count = static_cast<int>(std::strlen(m_caption));
        if (count * average > w) count = w / average;  // at most what fits
        const int x = m_rect.left + (w - count * average) / 2;
        const int y = m_rect.top + (h - tm.tmHeight) / 2;
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, m_enabled ? RGB(0, 0, 0) : ::GetSysColor(COLOR_GRAYTEXT));
        ::TextOutA(dc, x, y, m_caption, count);
        ::SelectObject(dc, old);
        ::DeleteObject(font);
    }
    bool Contains(POINT pt) const {
        return m_shown && pt.x >= m_rect.left && pt.x <= m_rect.right && pt.y >= m_rect.top && pt.y <= m_rect.bottom;
    }

    int m_shown = 1;
    RECT m_rect;
    const char* m_caption;
    int m_id;
    int m_width = 30, m_height = 30;
    const char* m_face = kFace;
    COLORREF m_pressedColor = RGB(255, 222, 0);
    int m_toggle = 0;
    int m_enabled = 1;
    int m_textColorIndex = 0;
};

RECT GridRect(int row, int column, int rowSpan = 1) {
    const int left = 5 + 31 * column, top = 38 + 31 * row;
    return RECT{left, top, left + 31 - 1, top + 31 * rowSpan - 1};
}

// In key-index order: "0" .. "9", "・", "＝", "÷", "×", "－", "＋", "C", "OK", "ｷｬﾝｾﾙ", "00", "000".
CDentakuButton g_keys[] = {
    {"0", 2000, GridRect(3, 0)},
    {"1", 2001, GridRect(2, 0)},
    {"2", 2002, GridRect(2, 1)},
    {"3", 2003, GridRect(2, 2)},
    {"4", 2004, GridRect(1, 0)},
    {"5", 2005, GridRect(1, 1)},
    {"6", 2006, GridRect(1, 2)},
    {"7", 2007, GridRect(0, 0)},
    {"8", 2008, GridRect(0, 1)},
    {"9", 2009, GridRect(0, 2)},
    {"・", 2010, GridRect(2, 3)},
    {"＝", 2011, GridRect(3, 3)},
    {"÷", 2012, GridRect(0, 3)},
    {"×", 2013, GridRect(1, 3)},
    {"－", 2014, GridRect(1, 4)},
    {"＋", 2015, GridRect(2, 4, 2)},
    {"C", 2016, GridRect(0, 4)},
    {"OK", 2017, RECT{5, 173, 70, 203}},
    {"ｷｬﾝｾﾙ", 2018, RECT{94, 173, 159, 203}},
    {"00", 2019, GridRect(3, 1)},
    {"000", 2020, GridRect(3, 2)},
};
const int kKeyCount = sizeof g_keys / sizeof g_keys[0];

// The process-wide state of the one calculator.
struct Calculator {
    CalculatorState keys;
    char title[32] = "";
    int charKey = 0;   // an operator key typed as a character is held down
    int pressed = -1;  // key held down with the mouse
    int mouseDown = 0;
    int open = 0;
    int result = 0;
    int mode = 0;
    HWND parent = nullptr;
    HWND window = nullptr;
    HFONT font = nullptr;
    bool done = true;
} g_calc;

CDentakuButton* KeyById(int id) {
    for (CDentakuButton& k : g_keys)
        if (k.m_id == id) return &k;
    return nullptr;
}

void PaintKey(HWND hwnd, int id, bool pressed) {
    const CDentakuButton* key = KeyById(id);
    if (!key || !key->m_shown) return;
    HDC dc = ::GetDC(hwnd);
    key->Paint(dc, pressed);
    ::ReleaseDC(hwnd, dc);
}

void PressAndPost(HWND hwnd, int id) {
    PaintKey(hwnd, id, true);
    ::PostMessageA(hwnd, WM_COMMAND, id, 0);
}

const int kOperatorKeys[] = {2010, 2011, 2012, 2013, 2014, 2015};

void ReleaseKeysAfterMessage(HWND hwnd) {
    for (int id = 2000; id <= 2015; ++id)
        PaintKey(hwnd, id, false);
}

void ShowDisplay(HWND hwnd) { ::SetDlgItemTextA(hwnd, kDisplayId, g_calc.keys.display); }

void EndCalculator(HWND hwnd, int result) {
    g_calc.open = 0;
    g_calc.result = result;
    if (g_calc.parent) ::EnableWindow(g_calc.parent, TRUE);
    ::DestroyWindow(hwnd);
}

void OnKeyCommand(HWND hwnd, int id) {
    if (id == kCalcKeyOK) {
        const int message = CalculatorValidate(g_calc.keys.display, g_calc.mode);
        if (message) {
            ZavMessageBox(hwnd, GetMessageText(message), g_calc.title, MB_OK | MB_ICONERROR);
            return;
        }
        EndCalculator(hwnd, 1);
        return;
    }
    if (id == kCalcKeyCancel) {
        EndCalculator(hwnd, 0);
        return;
    }
    if (id >= 2000 && id <= 2020) {
        switch (CalculatorPressKey(g_calc.keys, id)) {
        case CalculatorEvent::DivideByZero:
            ReleaseKeysAfterMessage(hwnd);
            ZavMessageBox(hwnd, GetMessageText(7115), GetMessageText(7618), MB_OK | MB_ICONINFORMATION);
            g_calc.charKey = 0;
            break;
        case CalculatorEvent::OutOfRange:
            // A result the display cannot hold: the total stays as it was.
            ::MessageBeep(MB_ICONEXCLAMATION);
            break;
        default: break;
        }
    }
    ShowDisplay(hwnd);
}

int DigitKeyOf(WPARAM vk) {
    // With Shift a digit key types an operator character ("*" and the
    // like), which WM_CHAR takes.
    if (vk >= '0' && vk <= '9') return ::GetKeyState(VK_SHIFT) < 0 ? 0 : 2000 + static_cast<int>(vk - '0');
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return 2000 + static_cast<int>(vk - VK_NUMPAD0);
    if (vk == 'C') return kCalcKeyClear;
    if (vk == VK_ESCAPE) return kCalcKeyCancel;
    return 0;
}

int CharKeyOf(WPARAM ch) {
    switch (ch) {
    case '*': return kCalcKeyMultiply;
    case '+': return kCalcKeyAdd;
    case '-': return kCalcKeySubtract;
    case '.': return kCalcKeyPoint;
    case '/': return kCalcKeyDivide;
    case '=': return kCalcKeyEquals;
    default: return 0;
    }
}

LRESULT CALLBACK CalculatorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE: {
        g_calc.font = ::CreateFontA(23, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, kFace);
        HWND display = ::CreateWindowExA(0, "STATIC", "0", WS_CHILD | WS_VISIBLE | SS_RIGHT, 3, 7, 156, 26, hwnd,
                                         (HMENU)(INT_PTR)kDisplayId, ((CREATESTRUCTA*)lParam)->hInstance, nullptr);
        ::SendMessageA(display, WM_SETFONT, (WPARAM)g_calc.font, FALSE);
        return 0;
    }
    case WM_DESTROY:
        if (g_calc.font) ::DeleteObject(g_calc.font);
        g_calc.font = nullptr;
        g_calc.open = 0;
        g_calc.done = true;
        g_calc.window = nullptr;
        // The window the calculator served gets the activation back; the
        // main frame when that is gone.
        if (g_calc.parent && ::IsWindow(g_calc.parent) && ::IsWindowEnabled(g_calc.parent))
            ::SetActiveWindow(g_calc.parent);
        else if (MainFrameWindow())
            ::SetActiveWindow(MainFrameWindow());
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd, &ps);
        RECT rc;
        ::GetClientRect(hwnd, &rc);
        ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
        for (int i = 0; i < kKeyCount; ++i)
            if (g_keys[i].m_shown) g_keys[i].Paint(dc, i == g_calc.pressed);
        HPEN pen = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_3DDKSHADOW));
        HGDIOBJ oldPen = ::SelectObject(dc, pen);
        HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(WHITE_BRUSH));
        ::Rectangle(dc, 1, 1, 161, 35);
        ::SelectObject(dc, oldBrush);
        ::SelectObject(dc, oldPen);
        ::DeleteObject(pen);
        ::EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_CLOSE:
        if (g_calc.parent) ::EnableWindow(g_calc.parent, TRUE);
        g_calc.open = 0;
        break;  // destroyed by the default processing; the result stays 0
    case WM_LBUTTONDOWN: {
        const POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        for (int i = 0; i < kKeyCount; ++i) {
            if (!g_keys[i].Contains(pt)) continue;
            ::SetCapture(hwnd);
            PaintKey(hwnd, g_keys[i].m_id, true);
            g_calc.pressed = i;
            g_calc.mouseDown = 1;
            break;
        }
        return 0;
    }
    case WM_LBUTTONUP: {
        if (g_calc.pressed < 0) return 0;
        const POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const CDentakuButton& key = g_keys[g_calc.pressed];
        ::ReleaseCapture();
        PaintKey(hwnd, key.m_id, false);
        if (key.Contains(pt)) ::PostMessageA(hwnd, WM_COMMAND, key.m_id, 0);
        g_calc.pressed = -1;
        g_calc.mouseDown = 0;
        return 0;
    }
    case WM_KEYDOWN:
        if (const int id = DigitKeyOf(wParam))
            PressAndPost(hwnd, id);
        else if (wParam == VK_RETURN)
            PaintKey(hwnd, kCalcKeyOK, true);
        return 0;
    case WM_KEYUP:
        if (const int id = DigitKeyOf(wParam)) {
            PaintKey(hwnd, id, false);
        } else if (wParam == VK_RETURN) {
            PaintKey(hwnd, kCalcKeyOK, false);
            ::PostMessageA(hwnd, WM_COMMAND, kCalcKeyOK, 0);
        } else if (g_calc.charKey) {
            for (int id : kOperatorKeys)
                PaintKey(hwnd, id, false);
            g_calc.charKey = 0;
        }
        return 0;
    case WM_CHAR:
        if (const int id = CharKeyOf(wParam)) {
            if (g_calc.charKey) return 0;
            PressAndPost(hwnd, id);
            g_calc.charKey = 1;
        }
        return 0;
    case WM_COMMAND: OnKeyCommand(hwnd, LOWORD(wParam)); return 0;
    default: break;
    }
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int RegisterCalculatorClass(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_SAVEBITS;
    wc.lpfnWndProc = CalculatorProc;
    wc.cbWndExtra = 4;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)::GetStockObject(GRAY_BRUSH);
    wc.lpszClassName = kClassName;
    WNDCLASSA existing;
    if (::GetClassInfoA(instance, kClassName, &existing)) return 1;
    return ::RegisterClassA(&wc) ? 1 : 0;
}

int UnregisterCalculatorClass(HINSTANCE instance) {
    ::UnregisterClassA(kClassName, instance);
    return 1;
}

int IsCalculatorOpen() { return g_calc.open; }
int IsNumDlgEnabled() { return Running().bDspNumDlgFg; }
HWND CalculatorWindow() { return g_calc.window; }

bool CalculatorKeyRect(int commandId, RECT* rect) {
    const CDentakuButton* key = KeyById(commandId);
    if (!key || !rect) return false;
    *rect = key->m_rect;
    return true;
}

int RunCalculator(HWND parent, int mode, const char* title, char* result) {
    if (mode == 0 || mode == 7) return 0;
    if (g_calc.window) return 0;  // one calculator at a time
    g_calc.keys.Reset();
    g_calc.mode = mode;
    g_calc.pressed = -1;
    g_calc.mouseDown = 0;
    g_calc.charKey = 0;
    g_calc.result = 0;
    g_calc.open = 1;
    g_calc.done = false;
    // A longer title is cut on a character boundary.
    DbcsCopy(g_calc.title, sizeof g_calc.title, title && title[0] ? title : "数値入力");

    if (parent) ::EnableWindow(parent, FALSE);
    g_calc.parent = parent;
    HINSTANCE instance = parent ? (HINSTANCE)::GetWindowLongPtrA(parent, GWLP_HINSTANCE) : nullptr;
    WNDCLASSA probe;
    if (!instance || !::GetClassInfoA(instance, kClassName, &probe)) instance = ::GetModuleHandleA(nullptr);
    RegisterCalculatorClass(instance);
    HWND hwnd = ::CreateWindowExA(WS_EX_TOPMOST, kClassName, "", WS_POPUP | WS_CAPTION, 0, 0, 170, 235, nullptr,
                                  nullptr, instance, nullptr);
    if (!hwnd) {
        g_calc.open = 0;
        g_calc.done = true;
        if (parent) ::EnableWindow(parent, TRUE);
        return 0;
    }
    g_calc.window = hwnd;

    // Next to the pointer, on its monitor.
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    RECT monitor;
    GetMonitorRect(cursor.x, cursor.y, &monitor, -1);
    const int frameW = ::GetSystemMetrics(SM_CXDLGFRAME), frameH = ::GetSystemMetrics(SM_CYDLGFRAME);
    const int w = 170 + 2 * frameW, h = 235 + 2 * frameH;
    int x = cursor.x - w / 2;
    if (x < monitor.left + frameW) x = monitor.left + frameW;
    if (cursor.x + w / 2 > monitor.right) x = monitor.right - w;
    int y = cursor.y - 4 * (h / 5);
    if (y < monitor.top + frameH) y = monitor.top + frameH;
    if (cursor.y + h / 5 > monitor.bottom) y = monitor.bottom - h;
    ::SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    ::SetWindowTextA(hwnd, g_calc.title);

    // Its own loop; a quit request ends the calculator as a cancel and goes
    // on to the loop outside.
    if (win::RunPrivateLoop([] { return g_calc.done; }, false, false) == win::LoopEnd::Quit && g_calc.window) {
        g_calc.result = 0;
        EndCalculator(g_calc.window, 0);
    }
    if (result) std::snprintf(result, 32, "%s", g_calc.keys.display);
    if (parent && ::IsWindow(parent)) ::EnableWindow(parent, TRUE);
    return g_calc.result;
}
