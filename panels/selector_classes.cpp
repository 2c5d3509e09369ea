#include "panels/selector_classes.h"

#include <initializer_list>

#include "panels/layer_field.h"
#include "panels/selector_fields.h"

namespace {
// Registers the field class, then the drop-down class; the result is that
// of the last registration.
int RegisterPair(HINSTANCE instance, const char* field, const char* drop, WNDPROC fieldProc = AttrFieldProc,
                 WNDPROC dropProc = AttrDropProc) {
    int ok = 1;
    for (const char* name : {field, drop}) {
        ok = 1;
        WNDCLASSA existing;
        if (::GetClassInfoA(instance, name, &existing)) continue;
        WNDCLASSA wc = {};
        wc.lpfnWndProc = name == field ? fieldProc : dropProc;
        // Fields are global: modules place them in their own dialogs.
        const bool isField = wc.lpfnWndProc == AttrFieldProc || wc.lpfnWndProc == LayerFieldProc;
        wc.style = CS_HREDRAW | CS_VREDRAW | (isField ? CS_GLOBALCLASS : 0);
        wc.cbWndExtra = 8;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
        wc.hbrBackground = (HBRUSH)::GetStockObject(GRAY_BRUSH);
        wc.lpszClassName = name;
        if (!::RegisterClassA(&wc)) ok = 0;
    }
    return ok;
}

int UnregisterPair(HINSTANCE instance, const char* field, const char* drop) {
    ::UnregisterClassA(field, instance);
    if (drop) ::UnregisterClassA(drop, instance);
    return 1;
}
}  // namespace

int RegisterLayerSelectorClasses(HINSTANCE i) {
    return RegisterPair(i, "cmdlayerclass", "eslayerwndclass", LayerFieldProc, LayerDropProc);
}
int RegisterColorSelectorClasses(HINSTANCE i) {
    RegisterPair(i, "cmdcolorclass", "cmdcolorclass2", AttrFieldProc, AttrFieldProc);
    return RegisterPair(i, "escolorwndclass", "escolorwndclass", AttrDropProc, AttrDropProc);
}
int RegisterLineTypeSelectorClasses(HINSTANCE i) { return RegisterPair(i, "cmdltypeclass", "esltypewndclass"); }
int RegisterPointSelectorClasses(HINSTANCE i) { return RegisterPair(i, "cmdpointclass", "espointwndclass"); }
int RegisterLineWidthSelectorClasses(HINSTANCE i) { return RegisterPair(i, "cmdlwidclass", "eslwidwndclass"); }
int RegisterLineStartSelectorClasses(HINSTANCE i) { return RegisterPair(i, "cmdltermsclass", "esltermswndclass"); }
int RegisterLineEndSelectorClasses(HINSTANCE i) { return RegisterPair(i, "cmdltermeclass", "esltermewndclass"); }
// The drop-down classes stay registered until the process ends, except the
// layer selector's.
int UnregisterLayerSelectorClasses(HINSTANCE i) { return UnregisterPair(i, "cmdlayerclass", "eslayerwndclass"); }
int UnregisterColorSelectorClasses(HINSTANCE i) { return UnregisterPair(i, "cmdcolorclass", "cmdcolorclass2"); }
int UnregisterLineTypeSelectorClass(HINSTANCE i) { return UnregisterPair(i, "cmdltypeclass", nullptr); }
int UnregisterPointSelectorClass(HINSTANCE i) { return UnregisterPair(i, "cmdpointclass", nullptr); }
int UnregisterLineWidthSelectorClass(HINSTANCE i) { return UnregisterPair(i, "cmdlwidclass", nullptr); }
int UnregisterLineStartSelectorClass(HINSTANCE i) { return UnregisterPair(i, "cmdltermsclass", nullptr); }
int UnregisterLineEndSelectorClass(HINSTANCE i) { return UnregisterPair(i, "cmdltermeclass", nullptr); }

int LineEndTypeIn(const int* table, int index) {
    for (int type = 0, n = 0; type < 16; ++type) {
        if (!table[type]) continue;
        if (n++ == index) return type;
    }
    return 0;
}

int LineEndIndexIn(const int* table, int type) {
    if (type < 0 || type >= 16) return 0;
    int n = 0;
    for (int t = 0; t <= type; ++t)
        if (table[t]) ++n;
    return n - 1;
}

int LineEndTypeFromIndex(int index) { return LineEndTypeIn(LineEndEnableTable, index); }
int LineEndIndexFromType(int type) { return LineEndIndexIn(LineEndEnableTable, type); }
