#include "docking/docking_settings.h"
#include <algorithm>
#include "docking/docking_hooks.h"

namespace zav {

CDockingSettings& CDockingSettings::Instance() {
    static CDockingSettings s;
    return s;
}

COLORREF LightenForStrip(COLORREF face) {
    int ch[3] = {GetRValue(face), GetGValue(face), GetBValue(face)};
    const int m = std::max(ch[0], std::max(ch[1], ch[2]));
    const int e = m <= 220 ? 35 : 255 - m;
    for (int& x : ch)
        x = m == 0 ? x + e : x + (2 * e * x + m) / (2 * m);  // nearest, halves up
    return RGB(ch[0], ch[1], ch[2]);
}

COLORREF MixLabelText(COLORREF text, COLORREF grey) {
    auto mix = [](int t, int g) { return t + 2 * ((g - t) / 3); };
    return RGB(mix(GetRValue(text), GetRValue(grey)), mix(GetGValue(text), GetGValue(grey)),
               mix(GetBValue(text), GetBValue(grey)));
}

void CDockingSettings::Update() {
    flags &= ~(kOutlineDrag | kFullDrag);
    const int mode = DockFullDragMode();
    if (mode == -1) {
        BOOL full = FALSE;
        ::SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &full, 0);
        flags |= full ? kFullDrag : kOutlineDrag;
    } else {
        flags |= mode == 0 ? kOutlineDrag : kFullDrag;
    }
    HFONT gui = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    if (gui != hFontHorizontal || !hFontVertical) {
        hFontHorizontal = gui;
        LOGFONTA lf = {};
        ::GetObjectA(gui, sizeof lf, &lf);
        lf.lfEscapement = lf.lfOrientation = 2700;
        lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;  // 7
        lstrcpynA(lf.lfFaceName, "@MS UI Gothic", LF_FACESIZE);
        HFONT v = ::CreateFontIndirectA(&lf);
        if (hFontVertical) ::DeleteObject(hFontVertical);
        hFontVertical = v;
    }
    hCursorNS = ::LoadCursor(nullptr, IDC_SIZENS);
    hCursorWE = ::LoadCursor(nullptr, IDC_SIZEWE);
    stripColour = LightenForStrip(::GetSysColor(COLOR_BTNFACE));
    labelTextColour = MixLabelText(::GetSysColor(COLOR_BTNTEXT), ::GetSysColor(COLOR_GRAYTEXT));
}

}  // namespace zav
