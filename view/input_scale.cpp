#include "view/input_scale.h"

#include "view/view_data.h"
#include "view/view_table.h"

namespace {
constexpr const char* kInputScaleClass = "#inputscaledisp#";
struct InputScaleState {
    double scale = 1.0;
    HWND window = nullptr;
    HFONT font = nullptr;
    int on = 0;
    int blocked = 0;
    int enabled = 1;
    HINSTANCE instance = nullptr;
} g_scale;

LRESULT CALLBACK InputScaleProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_NCDESTROY && h == g_scale.window) g_scale.window = nullptr;
    return ::DefWindowProcA(h, m, w, l);
}

// Drawing scale of a view's drawing: 1.0 until the drawing information is
// read from the library.
double DrawingScaleOf(HWND) { return 1.0; }
}  // namespace

int RegisterInputScaleClass(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = InputScaleProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = kInputScaleClass;
    WNDCLASSA existing;
    if (!::GetClassInfoA(instance, kInputScaleClass, &existing) && !::RegisterClassA(&wc)) return 0;
    g_scale.instance = instance;
    g_scale.scale = 1.0;
    g_scale.window = nullptr;
    if (!g_scale.font)
        g_scale.font = ::CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "ＭＳ ゴシック");
    return 1;
}

int DestroyInputScaleWindow() {
    CloseInputScaleWindow();
    if (g_scale.font) ::DeleteObject(g_scale.font);
    g_scale.font = nullptr;
    return 1;
}

int IsInputScaleActive() { return (g_scale.on && g_scale.window) ? 1 : 0; }
int ShowInputScaleWindow() { return 0; }

void CloseInputScaleWindow() {
    if (g_scale.window) ::DestroyWindow(g_scale.window);
    g_scale.window = nullptr;
    g_scale.on = 0;
    g_scale.scale = 1.0;
}

void SetInputScaleBlocked(int on) { g_scale.blocked = on; }
void SetInputScaleEnabled(int on) { g_scale.enabled = on; }
void EnableInputScaleCombo(int on) { g_scale.enabled = on; }

double GetInputScale() { return IsInputScaleActive() ? g_scale.scale : 1.0; }

double GetDrawToInputRatio() {
    if (!IsInputScaleActive()) return 1.0;
    return DrawingScaleOf(GetActiveView()) / g_scale.scale;
}

double GetInputToDrawRatio() { return 1.0 / GetDrawToInputRatio(); }

double GetInputToDrawRatioOf(HWND view) { return GetInputScale() / DrawingScaleOf(view); }

namespace {
int ScalePoint(double* p, double factor) {
    if (!p) return 0;
    p[0] *= factor;
    p[1] *= factor;
    return 1;
}
}  // namespace

int ToInputScalePoint(double* p) { return ScalePoint(p, GetDrawToInputRatio()); }
int ToInputScalePointCmd(double* p) { return ScalePoint(p, GetDrawToInputRatio()); }
int FromInputScalePointCmd(double* p) { return ScalePoint(p, GetInputToDrawRatio()); }
int ToInputScalePointOf(HWND view, double* p) { return ScalePoint(p, 1.0 / GetInputToDrawRatioOf(view)); }
int FromInputScalePointOf(HWND view, double* p) { return ScalePoint(p, GetInputToDrawRatioOf(view)); }
int ToInputScaleElement(void*) { return 0; }
int FromInputScaleElement(void*) { return 0; }
int ToInputScaleElementOf(HWND, void*) { return 0; }
int FromInputScaleElementOf(HWND, void*) { return 0; }
