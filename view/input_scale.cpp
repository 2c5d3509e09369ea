#include "view/input_scale.h"

#include <cmath>
#include <cstring>
#include <list>
#include <string>

#include "base/monitor.h"
#include "base/running_settings.h"
#include "base/settings_layer.h"
#include "base/text_utils.h"
#include "win/message_box.h"
#include "command/command_system.h"
#include "command/executor.h"
#include "view/element_transform.h"
#include "view/scale_value.h"
#include "view/view_data.h"
#include "view/view_table.h"

namespace {
constexpr const char* kInputScaleClass = "#inputscaledisp#";
constexpr int kDrawCombo = 1000, kInputCombo = 1001;
constexpr double kTiny = 1e-21;

struct InputScaleState {
    double scale = 1.0;
    int enabled = 1;  // the conversion switch
    int blocked = 0;
    HWND window = nullptr;
    HWND drawCombo = nullptr, inputCombo = nullptr;
    HWND view = nullptr;
    DbHeader* db = nullptr;
    POINT pos = {10, 10};
    int movedToMonitor = 0;
    HFONT font = nullptr;
    HINSTANCE instance = nullptr;
} g_scale;

void ClearOpenState() {
    g_scale.scale = 1.0;
    g_scale.window = g_scale.drawCombo = g_scale.inputCombo = nullptr;
    g_scale.view = nullptr;
    g_scale.db = nullptr;
}

double DrawingScale(DbHeader* db) {
    if (!db) return 1.0;
    DbInfo* info = DAriGetDbInfoPtr(0, db);
    const double d = info ? CadGetF64(info, kInfoScale) : 1.0;
    return std::fabs(d) > kTiny ? d : 1.0;
}

// Whether the conversions apply to the drawing of this view.
bool AppliesTo(HWND view) {
    if (!IsInputScaleActive()) return false;
    DbHeader* db = GetViewDb(view);
    return db && db == g_scale.db;
}

double Clamp(double v) { return (v < kTiny || !std::isfinite(v)) ? 1.0 : v; }

double Evaluate(const char* text) {
    CSimpleCalc calc;
    return calc.Evaluate(text);
}

int ScalePoint(double* p, double f) {
    if (!p) return 1;
    p[0] *= f;
    p[1] *= f;
    return 1;
}

int ScaleElement(void* element, double f) {
    if (!element || std::fabs(f) < kTiny) return 1;
    const double record[9] = {f, 1, 0, 0, 1, 0, 0, 0, 0};
    auto* r = static_cast<ElementRecord*>(element);
    switch (r->kind) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 31:
    case 32: TransformRecord(r, record); break;
    default: break;
    }
    return 1;
}

void FillInputCombo(const char* current, double currentValue) {
    HWND c = g_scale.inputCombo;
    ::SendMessageA(c, CB_RESETCONTENT, 0, 0);
    std::list<std::string> items;
    GetScaleList(items);
    int inserted = -1;
    for (const std::string& item : items) {
        if (item.empty()) break;
        const double v = Evaluate(item.c_str());
        if (inserted < 0 && v < currentValue)
            inserted = static_cast<int>(::SendMessageA(c, CB_ADDSTRING, 0, (LPARAM)current));
        if (std::fabs(v - currentValue) >= kTiny) ::SendMessageA(c, CB_ADDSTRING, 0, (LPARAM)item.c_str());
    }
    if (inserted < 0) inserted = static_cast<int>(::SendMessageA(c, CB_ADDSTRING, 0, (LPARAM)current));
    ::SendMessageA(c, CB_SETCURSEL, inserted, 0);
    ::EnableWindow(c, IsModuleCmdRunning() ? FALSE : TRUE);
}

void OnInputEdit() {
    char text[101] = "";
    ::GetWindowTextA(g_scale.inputCombo, text, sizeof text);
    const double v = Clamp(Evaluate(text));
    g_scale.scale = v;
    if (!IsScaleText(text)) {
        char shown[64];
        FormatScaleValue(v, shown, sizeof shown);
        ::SetWindowTextA(g_scale.inputCombo, shown);
    }
}

void OnInputSelected() {
    const int sel = static_cast<int>(::SendMessageA(g_scale.inputCombo, CB_GETCURSEL, 0, 0));
    if (sel < 0) return;
    char text[101] = "";
    if (::SendMessageA(g_scale.inputCombo, CB_GETLBTEXTLEN, sel, 0) < static_cast<LRESULT>(sizeof text))
        ::SendMessageA(g_scale.inputCombo, CB_GETLBTEXT, sel, (LPARAM)text);
    g_scale.scale = Clamp(Evaluate(text));
}

LRESULT CALLBACK InputScaleProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    const bool english = Running().LANGUAGE != 0;
    switch (m) {
    case WM_CREATE: {
        ::SetWindowTextA(h, english ? "Drawing Scale" : "作画スケール設定");
        ::SendMessageA(h, WM_SETFONT, (WPARAM)g_scale.font, 0);
        HINSTANCE inst = ::GetModuleHandleA(nullptr);
        g_scale.drawCombo = ::CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 1, 1, 90, 180, h,
                                              (HMENU)(INT_PTR)kDrawCombo, inst, nullptr);
        g_scale.inputCombo = ::CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | WS_VSCROLL, 1,
                                               27, 90, 180, h, (HMENU)(INT_PTR)kInputCombo, inst, nullptr);
        ::SendMessageA(g_scale.drawCombo, WM_SETFONT, (WPARAM)g_scale.font, 0);
        ::SendMessageA(g_scale.inputCombo, WM_SETFONT, (WPARAM)g_scale.font, 0);
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(h, &ps);
        RECT rc;
        ::GetClientRect(h, &rc);
        ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
        HGDIOBJ old = ::SelectObject(dc, g_scale.font);
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
        ::SetBkMode(dc, TRANSPARENT);
        const char* a = english ? "DrawScale" : "図面ｽｹｰﾙ設定";
        const char* b = english ? "InpScale" : "作画ｽｹｰﾙ設定";
        ::TextOutA(dc, 95, 4, a, lstrlenA(a));
        ::TextOutA(dc, 95, 33, b, lstrlenA(b));
        ::SelectObject(dc, old);
        ::EndPaint(h, &ps);
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(w) == kInputCombo) {
            if (HIWORD(w) == CBN_EDITCHANGE) OnInputEdit();
            if (HIWORD(w) == CBN_CLOSEUP || HIWORD(w) == CBN_SELCHANGE) OnInputSelected();
        }
        return 0;
    case WM_CLOSE:
        ClearOpenState();
        ::DestroyWindow(h);
        return 0;
    case WM_DESTROY: {
        RECT wr;
        if (::GetWindowRect(h, &wr)) g_scale.pos = {wr.left, wr.top};
        if (g_scale.window == h) ClearOpenState();
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: return 0;
    default: break;
    }
    return ::DefWindowProcA(h, m, w, l);
}
}  // namespace

int RegisterInputScaleClass(HINSTANCE instance) {
    WNDCLASSA existing;
    if (!::GetClassInfoA(instance, kInputScaleClass, &existing)) {
        WNDCLASSA wc = {};
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = InputScaleProc;
        wc.cbWndExtra = 4;
        wc.hInstance = instance;
        wc.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(247));
        wc.hCursor = ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
        wc.hbrBackground = (HBRUSH)::GetStockObject(BLACK_BRUSH);
        wc.lpszClassName = kInputScaleClass;
        if (!::RegisterClassA(&wc)) return 0;
    }
    g_scale.instance = instance;
    ClearOpenState();
    if (!g_scale.font)
        g_scale.font = ::CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "ＭＳ ゴシック");
    return 1;
}

int DestroyInputScaleWindow() {
    CloseInputScaleWindow();
    if (g_scale.font) ::DeleteObject(g_scale.font);
    g_scale.font = nullptr;
    return 1;
}

HWND InputScaleWindow() { return g_scale.window; }
int IsInputScaleActive() { return (g_scale.enabled && g_scale.window) ? 1 : 0; }

int ShowInputScaleWindow() {
    HWND frame = CmdMainFrame();
    if (g_scale.blocked) {
        if (Running().LANGUAGE)
            ZavMessageBox(frame, "This function cannot be used by a present command.", "Warning", MB_OK);
        else
            ZavMessageBox(frame, "現在のコマンドではこの機能は利用できません", "警告", MB_OK);
        return 1;
    }
    if (g_scale.window) CloseInputScaleWindow();
    HWND view = GetActiveView();
    DbHeader* db = GetViewDb(view);
    if (!view || !db) {
        ClearOpenState();
        return 1;
    }
    if (!g_scale.movedToMonitor) {
        RECT work;
        if (frame && GetWindowMonitorRect(frame, &work)) {
            g_scale.pos.x += work.left;
            g_scale.pos.y += work.top;
        }
        g_scale.movedToMonitor = 1;
    }
    if (!g_scale.instance) RegisterInputScaleClass(::GetModuleHandleA(nullptr));
    HWND w = ::CreateWindowExA(0, kInputScaleClass, "", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME, g_scale.pos.x,
                               g_scale.pos.y, 205, 88, frame, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (!w) return 1;
    g_scale.window = w;
    g_scale.view = view;
    g_scale.db = db;
    ::ShowWindow(w, SW_SHOWNOACTIVATE);
    if (frame) ::SetActiveWindow(frame);
    const double d = DrawingScale(db);
    char text[64];
    FormatScaleValue(d, text, sizeof text);
    ::SendMessageA(g_scale.drawCombo, CB_RESETCONTENT, 0, 0);
    ::SendMessageA(g_scale.drawCombo, CB_ADDSTRING, 0, (LPARAM)text);
    ::SendMessageA(g_scale.drawCombo, CB_SETCURSEL, 0, 0);
    ::EnableWindow(g_scale.drawCombo, FALSE);
    g_scale.scale = d;
    FillInputCombo(text, d);
    return 1;
}

int CloseInputScaleWindow() {
    HWND w = g_scale.window;
    ClearOpenState();
    if (w) ::DestroyWindow(w);
    return 1;
}

int SetInputScaleBlocked(int on) {
    g_scale.blocked = on;
    return 1;
}
void SetInputScaleEnabled(int on) { g_scale.enabled = on ? 1 : 0; }
int EnableInputScaleCombo(int on) {
    if (!g_scale.inputCombo) return 0;
    ::EnableWindow(g_scale.inputCombo, on ? TRUE : FALSE);
    return 1;
}

double GetInputScale() { return g_scale.window ? g_scale.scale : 1.0; }
void SetInputScaleValue(double value) { g_scale.scale = Clamp(value); }

double GetDrawToInputRatio() {
    HWND view = GetActiveView();
    if (!AppliesTo(view)) return 1.0;
    return DrawingScale(g_scale.db) / g_scale.scale;
}
double GetInputToDrawRatio() {
    HWND view = GetActiveView();
    if (!AppliesTo(view)) return 1.0;
    return g_scale.scale / DrawingScale(g_scale.db);
}
double GetInputToDrawRatioOf(HWND view) {
    if (!AppliesTo(view)) return 1.0;
    return g_scale.scale / DrawingScale(g_scale.db);
}

int ToInputScalePoint(double* p) { return ScalePoint(p, GetDrawToInputRatio()); }
int FromInputScalePoint(double* p) { return ScalePoint(p, GetInputToDrawRatio()); }
int ToInputScalePointCmd(double* p) { return ToInputScalePoint(p); }
int FromInputScalePointCmd(double* p) { return FromInputScalePoint(p); }
int ToInputScalePointOf(HWND view, double* p) { return ScalePoint(p, 1.0 / GetInputToDrawRatioOf(view)); }
int FromInputScalePointOf(HWND view, double* p) { return ScalePoint(p, GetInputToDrawRatioOf(view)); }
int ToInputScaleElement(void* e) { return ScaleElement(e, GetDrawToInputRatio()); }
int FromInputScaleElement(void* e) { return ScaleElement(e, GetInputToDrawRatio()); }
int ToInputScaleElementOf(HWND view, void* e) { return ScaleElement(e, 1.0 / GetInputToDrawRatioOf(view)); }
int FromInputScaleElementOf(HWND view, void* e) { return ScaleElement(e, GetInputToDrawRatioOf(view)); }

int IsScaleText(const char* text) {
    if (!text) return 1;
    for (const char* c = text; *c; ++c)
        if (!std::strchr("0123456789./", *c)) return 0;
    return 1;
}

LRESULT InputScaleFunc(WPARAM code, LPARAM lParam) {
    auto* pointer = reinterpret_cast<double*>(lParam);
    switch (code) {
    case 1:
        if (!IsInputScaleActive()) ShowInputScaleWindow();
        return 1;
    case 2:
        if (IsInputScaleActive()) CloseInputScaleWindow();
        return 1;
    case 3: return IsInputScaleActive();
    case 4:
        if (pointer) {
            const double v = GetDrawToInputRatio();
            std::memcpy(pointer, &v, sizeof v);
        }
        return 1;
    case 5:
        if (pointer) {
            const double v = GetInputToDrawRatio();
            std::memcpy(pointer, &v, sizeof v);
        }
        return 1;
    case 6: return ToInputScaleElement(pointer);
    case 7: return ToInputScalePointCmd(pointer);
    case 8: return FromInputScaleElement(pointer);
    case 9: return FromInputScalePointCmd(pointer);
    case 10: return SetInputScaleBlocked(1);
    case 11: return SetInputScaleBlocked(0);
    case 12:
    case 13: {
        if (!lParam) return 0;
        const auto* words = reinterpret_cast<const uint32_t*>(lParam);
        HWND view = reinterpret_cast<HWND>(words[0]);
        void* record = reinterpret_cast<void*>(words[1]);
        return code == 12 ? FromInputScaleElementOf(view, record) : ToInputScaleElementOf(view, record);
    }
    case 20: SetInputScaleEnabled(lParam != 0); return 0;
    default: return 0;
    }
}

int InputScaleComboTexts(char texts[][64], int max, int* selected) {
    if (!g_scale.inputCombo) return 0;
    const int n = static_cast<int>(::SendMessageA(g_scale.inputCombo, CB_GETCOUNT, 0, 0));
    int k = 0;
    for (; k < n && k < max; ++k) {
        texts[k][0] = 0;
        if (::SendMessageA(g_scale.inputCombo, CB_GETLBTEXTLEN, k, 0) < 64)
            ::SendMessageA(g_scale.inputCombo, CB_GETLBTEXT, k, (LPARAM)texts[k]);
    }
    if (selected) *selected = static_cast<int>(::SendMessageA(g_scale.inputCombo, CB_GETCURSEL, 0, 0));
    return k;
}
