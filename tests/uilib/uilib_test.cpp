// WmCadApi.dll through its exports: data folders, colours from the live
// settings record, dialog look painted into memory bitmaps, owner-drawn
// buttons of a real dialog, drawing attributes and the modeless window.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/config_data.h"
#include "cadlib/WmCadApiDb.h"
#include "uilib/WmCadApi.h"

namespace {

// A 32-bit memory bitmap to paint into and read back.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    COLORREF At(int x, int y) const {
        GdiFlush();
        DWORD p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Ink inside the rectangle inset by 4 pixels, by hue: pixels leaning to
    // red+green (yellow text) or to blue (the disabled colour below).
    int Yellowish(int inset = 4) const { return Ink(inset, true); }
    int Bluish(int inset = 4) const { return Ink(inset, false); }
    int Ink(int inset, bool yellow) const {
        int n = 0;
        for (int y = inset; y < height_ - inset; ++y)
            for (int x = inset; x < width_ - inset; ++x) {
                COLORREF c = At(x, y);
                int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
                n += yellow ? (r > b + 40 && g > b + 40) : (b > r + 40 && b > g + 40);
            }
        return n;
    }
    int Count(COLORREF color) const {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                n += At(x, y) == color;
        return n;
    }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    DWORD* bits_ = nullptr;
};

INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// A dialog from an in-memory template: two push buttons and a label.
HWND MakeDialog() {
    std::vector<WORD> t(512, 0);
    WORD* p = t.data();
    auto align = [&]() {
        while ((reinterpret_cast<ULONG_PTR>(p) - reinterpret_cast<ULONG_PTR>(t.data())) % 4)
            ++p;
    };
    auto text = [&](const wchar_t* s) {
        while ((*p++ = *s++)) {}
    };
    DLGTEMPLATE* dlg = reinterpret_cast<DLGTEMPLATE*>(p);
    dlg->style = WS_POPUP | WS_CAPTION | DS_SETFONT;
    dlg->cdit = 3;
    dlg->cx = 200;
    dlg->cy = 100;
    p = reinterpret_cast<WORD*>(dlg + 1);
    *p++ = 0;  // menu
    *p++ = 0;  // class
    text(L"test");
    *p++ = 9;
    text(L"MS Shell Dlg");
    struct Item {
        DWORD style;
        short x;
        WORD id;
        WORD cls;
        const wchar_t* caption;
    } items[] = {
        {WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 10, IDOK, 0x0080, L"OK"},
        {WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 70, IDCANCEL, 0x0080, L"Cancel"},
        {WS_CHILD | WS_VISIBLE, 130, 100, 0x0082, L"label"},
    };
    for (const Item& item : items) {
        align();
        DLGITEMTEMPLATE* it = reinterpret_cast<DLGITEMTEMPLATE*>(p);
        it->style = item.style;
        it->x = item.x;
        it->y = 10;
        it->cx = 50;
        it->cy = 14;
        it->id = item.id;
        p = reinterpret_cast<WORD*>(it + 1);
        *p++ = 0xFFFF;
        *p++ = item.cls;
        text(item.caption);
        *p++ = 0;
    }
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), dlg, nullptr, NoDialogProc, 0);
}

}  // namespace

TEST(UiLibrary, DataFolderTable) {
    struct Row {
        int folder;
        const char* file;
        int result;
        const char* path;
    } rows[] = {
        {0, "a.ini", 0, "a.ini"},
        {0, nullptr, 0, ""},
        {1, nullptr, 0, "CFG"},
        {2, "m.txt", 0, "SETTEI\\OptionMenu\\m.txt"},
        {7, "to_cad.atr", 0, "SETTEI\\to_cad.atr"},
        {9, "表示.ptn", 0, "KENTIKUD\\HATCH\\表示.ptn"},
        {10, "hiroisyuukei.csv", 0, "DENKID\\hiroisyuukei.csv"},
        {13, nullptr, 0, "TEMP"},
        {14, "x", -1, ""},
        {-1, "x", -1, ""},
    };
    for (const Row& row : rows) {
        char out[MAX_PATH] = "garbage";
        EXPECT_EQ(row.result, Rodad_GetDataPath(row.folder, out, row.file, 0)) << row.folder;
        EXPECT_STREQ(row.path, out) << row.folder;
    }
    char small[8] = "garbage";
    EXPECT_EQ(-1, Rodad_GetDataPath(7, small, "long.ini", sizeof small)) << "never cut, never overrun";
    EXPECT_STREQ("", small);
    char exact[13];  // "SETTEI\a.ini" and its zero
    EXPECT_EQ(0, Rodad_GetDataPath(7, exact, "a.ini", sizeof exact));
    EXPECT_STREQ("SETTEI\\a.ini", exact);
    EXPECT_EQ(-1, Rodad_GetDataPath(7, exact, "a.ini", sizeof exact - 1));
}

TEST(UiLibrary, ColoursFollowTheLiveSettingsRecord) {
    Rodad_SetTheConfigDataPtr(nullptr);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), EsGetSysColor(ES_SYSCOLOR_DIALOG));

    ConfigData config;
    config.SystemColor.COLOR_DLG_BK.color = RGB(10, 20, 30);
    config.SystemColor.COLOR_SYS_BK.color = RGB(1, 2, 3);
    config.SystemColor.COLOR_PANEL.color = RGB(4, 5, 6);
    Rodad_SetTheConfigDataPtr(&config);
    EXPECT_EQ(RGB(10, 20, 30), EsGetSysColor(ES_SYSCOLOR_DIALOG));
    EXPECT_EQ(RGB(1, 2, 3), EsGetSysColor(ES_SYSCOLOR_DRAW_BK));
    EXPECT_EQ(RGB(4, 5, 6), EsGetSysColor(ES_SYSCOLOR_PANEL));
    config.SystemColor.COLOR_DLG_BK.color = RGB(200, 100, 50);  // read live, not copied
    EXPECT_EQ(RGB(200, 100, 50), EsGetSysColor(ES_SYSCOLOR_DIALOG));

    // Background and control colours of a dialog, painted for real.
    HWND dialog = MakeDialog();
    ASSERT_TRUE(dialog);
    Canvas canvas(400, 300);
    EXPECT_TRUE(Rodad_OnEraseBkgnd(dialog, canvas.Dc()));
    EXPECT_EQ(RGB(200, 100, 50), canvas.At(5, 5));
    HBRUSH brush = Rodad_OnCtlColor(dialog, canvas.Dc(), GetDlgItem(dialog, 100), RODAD_CTL_STATIC);
    LOGBRUSH lb = {};
    ASSERT_TRUE(GetObjectA(brush, sizeof lb, &lb));
    EXPECT_EQ(RGB(200, 100, 50), lb.lbColor);
    EXPECT_EQ(RGB(200, 100, 50), GetBkColor(canvas.Dc()));
    config.SystemColor.COLOR_BTN_ATTR[0].text = RGB(0, 0, 255);
    Rodad_OnCtlColor(dialog, canvas.Dc(), GetDlgItem(dialog, IDOK), RODAD_CTL_BUTTON);
    EXPECT_EQ(RGB(0, 0, 255), GetTextColor(canvas.Dc()));
    DestroyWindow(dialog);
    Rodad_SetTheConfigDataPtr(nullptr);
}

TEST(UiLibrary, ColourButtonDrawsItsStates) {
    HWND dialog = MakeDialog();
    ASSERT_TRUE(dialog);
    HWND ok = GetDlgItem(dialog, IDOK);
    const COLORREF back = RGB(0, 0, 0), text = RGB(255, 255, 0), disabled = RGB(0, 0, 255);
    struct Row {
        UINT state;
        bool textShown;
        bool disabledShown;
    } rows[] = {
        {0, true, false},
        {ODS_SELECTED, true, false},
        {ODS_DISABLED, false, true},
        {ODS_FOCUS, true, false},
    };
    for (const Row& row : rows) {
        Canvas canvas(80, 30);
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.CtlID = IDOK;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = row.state;
        item.hwndItem = ok;
        item.hDC = canvas.Dc();
        SetRect(&item.rcItem, 0, 0, 80, 30);
        TqCadApi_ColorBtn_DrawItem(&item, back, text, disabled);
        EXPECT_EQ(back, canvas.At(6, 15)) << "state " << row.state;
        EXPECT_EQ(row.textShown, canvas.Yellowish() > 0) << "state " << row.state;
        EXPECT_EQ(row.disabledShown, canvas.Bluish() > 0) << "state " << row.state;
    }
    DestroyWindow(dialog);
}

TEST(UiLibrary, OwnerDrawnButtonsOfADialog) {
    ConfigData config;
    config.SystemColor.COLOR_BTN_ATTR[0].bkgnd = RGB(0, 128, 0);
    config.SystemColor.COLOR_BTN_ATTR[0].text = RGB(255, 255, 0);
    Rodad_SetTheConfigDataPtr(&config);
    HWND dialog = MakeDialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(2, Rodad_ChgBtnStyleOwnerDraw(dialog, 1)) << "the two push buttons, not the label";
    for (int id : {IDOK, IDCANCEL})
        EXPECT_EQ(BS_OWNERDRAW, GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE) & BS_TYPEMASK) << id;

    // The dialog's WM_DRAWITEM paints the button in the library's colours.
    Canvas canvas(80, 30);
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = IDCANCEL;
    item.itemAction = ODA_DRAWENTIRE;
    item.hwndItem = GetDlgItem(dialog, IDCANCEL);
    item.hDC = canvas.Dc();
    SetRect(&item.rcItem, 0, 0, 80, 30);
    SendMessageA(dialog, WM_DRAWITEM, IDCANCEL, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(RGB(0, 128, 0), canvas.At(6, 15));
    EXPECT_GT(canvas.Yellowish(), 0) << "the caption in the library's text colour";

    // The same drawing through the handler dialogs call themselves.
    Canvas direct(80, 30);
    item.hDC = direct.Dc();
    EXPECT_TRUE(Rodad_OnDrawItem(dialog, &item));
    EXPECT_EQ(RGB(0, 128, 0), direct.At(6, 15));
    item.CtlType = ODT_LISTBOX;
    EXPECT_FALSE(Rodad_OnDrawItem(dialog, &item));

    EXPECT_EQ(2, Rodad_ChgBtnStyleOwnerDraw(dialog, 0));
    EXPECT_EQ(BS_DEFPUSHBUTTON, GetWindowLongA(GetDlgItem(dialog, IDOK), GWL_STYLE) & BS_TYPEMASK);
    EXPECT_EQ(BS_PUSHBUTTON, GetWindowLongA(GetDlgItem(dialog, IDCANCEL), GWL_STYLE) & BS_TYPEMASK);
    DestroyWindow(dialog);
    Rodad_SetTheConfigDataPtr(nullptr);
    EXPECT_EQ(0, Rodad_ChgBtnStyleOwnerDraw(nullptr, 1));
}

TEST(UiLibrary, SmallServices) {
    EXPECT_EQ(1234, Rodad_wParamToCtrlID(MAKEWPARAM(1234, BN_CLICKED)));
    EXPECT_EQ(65535, Rodad_wParamToCtrlID(MAKEWPARAM(65535, 0)));

    EsSysAtr saved = {};
    ASSERT_EQ(1, EsGET_SYS_ATR(&saved));
    EsSysAtr changed = saved;
    changed.color = 5;
    changed.layer = 1023;
    std::strcpy(changed.fontName, "ＭＳ ゴシック");
    changed.textHeight = 3.5;
    ASSERT_EQ(1, EsSET_SYS_ATR(&changed));
    EsSysAtr back = {};
    EsGET_SYS_ATR(&back);
    EXPECT_EQ(0, std::memcmp(&changed, &back, sizeof back));
    EXPECT_EQ(1, EsSET_SYS_ATR(&saved));
    EXPECT_EQ(0, EsGET_SYS_ATR(nullptr));
    EXPECT_EQ(0, EsSET_SYS_ATR(nullptr));

    EXPECT_EQ(0, EsLayerSplit(1));
    EXPECT_EQ(1, EsLayerSplit(0));
    EXPECT_EQ(0, EsLayerSplit(0));

    Rodad_InitCadApi(nullptr);
    Rodad_SetCmdPanelType(1);
}

// Element records and the highlight colour come from the CAD library.
TEST(UiLibrary, ElementRecordAndHighlightColour) {
    DbHeader db;
    std::memset(&db, 0, sizeof db);
    ASSERT_EQ(1, DAriCreateDB(&db));
    ElementRecord line;
    std::memset(&line, 0, sizeof line);
    line.kind = 1;
    line.layer = 7;
    line.colour = 5;
    for (size_t i = 0; i < sizeof line.body; ++i)
        line.body[i] = static_cast<uint8_t>(i * 7 + 1);
    StoredElement* stored = DAriAppendElement(&line, &db);
    ASSERT_NE(nullptr, stored);

    unsigned char record[ES_ELEMENT_RECORD_SIZE];
    std::memset(record, 0xEE, sizeof record);
    ASSERT_EQ(1, EsGET_ELEMENT(stored, record, &db));
    ElementRecord back;
    std::memcpy(&back, record, sizeof back);
    EXPECT_EQ(7, back.layer);
    EXPECT_EQ(5, back.colour);
    EXPECT_EQ(0, std::memcmp(line.body, back.body, sizeof back.body));
    EXPECT_EQ(0, EsGET_ELEMENT(nullptr, record, &db));
    EXPECT_EQ(0, EsGET_ELEMENT(stored, nullptr, &db));
    DAriDeleteDB(&db);

    const int old = TqSetHighlightColor(12);
    EXPECT_EQ(12, EsGET_HILIGHT_COLOR());
    EXPECT_EQ(12, EsGET_HILIGHT_COLOR()) << "reading leaves the colour as it was";
    TqSetHighlightColor(old);
}

TEST(UiLibrary, CurrentModelessWindow) {
    EXPECT_EQ(0, CwEnableCurModelessWindow(0)) << "none named";
    HWND window = CreateWindowA("STATIC", "modeless", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    CwSetCurModelessWindow(window);
    EXPECT_EQ(1, CwEnableCurModelessWindow(0));
    EXPECT_FALSE(IsWindowEnabled(window));
    EXPECT_EQ(0, CwEnableCurModelessWindow(0)) << "already off";
    EXPECT_EQ(0, CwEnableCurModelessWindow(1));
    EXPECT_TRUE(IsWindowEnabled(window));
    DestroyWindow(window);
    EXPECT_EQ(0, CwEnableCurModelessWindow(0)) << "a closed window is none";
    CwSetCurModelessWindow(nullptr);
}
