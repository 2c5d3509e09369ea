// Toolbars, their rebar bands and the button-to-command map.
#include "shell/toolbar_manager.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/csv_parser.h"
#include "command/command_ids.h"
#include "shell/shell_seams.h"

namespace {

const char kSection[] = "TOOLBAR";

#pragma pack(push, 1)
struct ToolbarResourceHeader {
    WORD version, width, height, count;
};
#pragma pack(pop)
static_assert(sizeof(ToolbarResourceHeader) == 8, "toolbar resource header");

// The colour of the top-left pixel, which the button images treat as
// transparent.
COLORREF TopLeftColour(HBITMAP bmp) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    COLORREF c = GetPixel(dc, 0, 0);
    SelectObject(dc, old);
    DeleteDC(dc);
    return c;
}

REBARBANDINFOA NewBandInfo() {
    REBARBANDINFOA info = {};
    info.cbSize = sizeof info;
    return info;
}

}  // namespace

HWND CreateToolbarFromResource(HWND parent, int resourceId, DWORD style, UINT controlId, HINSTANCE instance) {
    if (!instance) instance = GetModuleHandleA(nullptr);
    HRSRC res = FindResourceA(instance, MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(241));
    if (!res) return nullptr;
    HGLOBAL mem = LoadResource(instance, res);
    const BYTE* data = mem ? (const BYTE*)LockResource(mem) : nullptr;
    DWORD size = SizeofResource(instance, res);
    if (!data || size < sizeof(ToolbarResourceHeader)) return nullptr;
    ToolbarResourceHeader head;
    std::memcpy(&head, data, sizeof head);
    if (head.version != 1 || size < sizeof head + head.count * sizeof(WORD)) return nullptr;

    std::vector<TBBUTTON> buttons(head.count);
    int images = 0;
    for (int i = 0; i < head.count; ++i) {
        WORD id;
        std::memcpy(&id, data + sizeof head + i * sizeof(WORD), sizeof id);
        TBBUTTON& b = buttons[i];
        b = TBBUTTON{};
        if (id == 0) {
            b.iBitmap = 8;
            b.fsStyle = BTNS_SEP;
        } else {
            b.iBitmap = images++;
            b.idCommand = id;
            b.fsState = TBSTATE_ENABLED;
            b.fsStyle = BTNS_BUTTON;
        }
    }

    HWND tb = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", style, 0, 0, 100, 30, parent, (HMENU)(UINT_PTR)controlId,
                              instance, nullptr);
    if (!tb) return nullptr;
    SendMessageA(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);

    HFONT font = (HFONT)SendMessageA(tb, WM_GETFONT, 0, 0);
    if (!font) font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    int fontHeight = 0;
    {
        LOGFONTA lf = {};
        GetObjectA(font, sizeof lf, &lf);
        fontHeight = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    }

    HBITMAP bmp = (HBITMAP)LoadImageA(instance, MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (bmp) {
        DIBSECTION ds = {};
        GetObjectA(bmp, sizeof ds, &ds);
        int bits = ds.dsBm.bmBitsPixel;
        if (bits <= 4) {
            TBADDBITMAP ab = {nullptr, (UINT_PTR)bmp};
            SendMessageA(tb, TB_SETBITMAPSIZE, 0, MAKELONG(head.width, head.height));
            SendMessageA(tb, TB_ADDBITMAP, images, (LPARAM)&ab);
        } else {
            COLORREF mask = bits == 32 ? CLR_NONE : TopLeftColour(bmp);
            DeleteObject(bmp);
            bmp = nullptr;
            HIMAGELIST list = ImageList_LoadImageA(instance, MAKEINTRESOURCEA(resourceId), head.width, 0, mask,
                                                   IMAGE_BITMAP, LR_CREATEDIBSECTION | LR_DEFAULTSIZE);
            if (list) SendMessageA(tb, TB_SETIMAGELIST, 0, (LPARAM)list);
        }
    }
    int height = head.height > fontHeight ? head.height : fontHeight;
    SendMessageA(tb, TB_SETBITMAPSIZE, 0, MAKELONG(head.width, height));
    SendMessageA(tb, TB_SETBUTTONSIZE, 0, MAKELONG(head.width + 7, height + 7));
    SendMessageA(tb, TB_ADDBUTTONSA, buttons.size(), (LPARAM)buttons.data());
    SendMessageA(tb, TB_AUTOSIZE, 0, 0);
    return tb;
}

// --- ToolbarList -----------------------------------------------------------------
int ToolbarList::Load(HWND parent) {
    std::string mode = ReadProgramIniText(kSection, "SizeMode", "1");
    m_sizeMode = std::atoi(mode.c_str());
    for (Row& r : m_rows)
        if (r.window) DestroyWindow(r.window);
    m_rows.clear();
    for (int n = 1; n <= 10; ++n) {
        char key[16];
        std::snprintf(key, sizeof key, "TB%02d", n);
        std::string value = ReadProgramIniText(kSection, key, "");
        CCsvParser csv(value);
        ToolbarGroupDef group;
        if (value.empty() || csv.GetCount() != 2 || !FindToolbarGroup(csv[1].c_str(), &group)) break;
        Row row;
        row.visible = std::atoi(csv[0].c_str());
        row.caption = group.caption;
        row.resLarge = group.resLarge;
        row.resMedium = group.resMedium;
        row.resSmall = group.resSmall;
        m_rows.push_back(row);
    }
    if (m_rows.size() != kToolbarGroupCount) {
        // A partly valid stored list is dropped whole.
        m_rows.clear();
        for (const ToolbarGroupDef& g : ToolbarGroupTable) {
            Row row;
            row.visible = 1;
            row.caption = g.caption;
            row.resLarge = g.resLarge;
            row.resMedium = g.resMedium;
            row.resSmall = g.resSmall;
            m_rows.push_back(row);
        }
    }
    if (!parent || m_sizeMode < 0) return 1;
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CCS_NODIVIDER | CCS_NORESIZE |
                        CCS_NOPARENTALIGN | TBSTYLE_TOOLTIPS | TBSTYLE_FLAT;
    for (Row& r : m_rows) {
        int res = m_sizeMode == 1 ? r.resMedium : m_sizeMode == 2 ? r.resSmall : r.resLarge;
        r.window = CreateToolbarFromResource(parent, res, style, kToolbarControlId);
        if (r.window) SetWindowTextA(r.window, r.caption.c_str());
    }
    return m_rows.size() == kToolbarGroupCount ? 1 : 0;
}

int ToolbarList::Save() {
    char value[300];
    std::snprintf(value, sizeof value, "%d", m_sizeMode);
    WriteProgramIniText(kSection, "SizeMode", value);
    for (size_t i = 0; i < m_rows.size(); ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "TB%02d", (int)i + 1);
        std::snprintf(value, sizeof value, "%d,%s", m_rows[i].visible ? 1 : 0, m_rows[i].caption.c_str());
        WriteProgramIniText(kSection, key, value);
    }
    return 1;
}

int ToolbarList::IsVisible(const char* caption) const {
    for (const Row& r : m_rows)
        if (r.caption == caption) return r.visible;
    return 1;
}

int ToolbarList::FindByCaption(const char* caption, Row* row) const {
    for (const Row& r : m_rows) {
        if (r.caption == caption) {
            if (row) *row = r;
            return 1;
        }
    }
    return 0;
}

HWND ToolbarList::ToolbarWindow(int i) const {
    if (i < 0 || i >= (int)m_rows.size()) return nullptr;
    return m_rows[i].window;
}

int ToolbarList::AddBands(HWND rebar, std::vector<HWND>& detached) {
    bool first = true;
    for (Row& r : m_rows) {
        if (!r.window) continue;
        int count = (int)SendMessageA(r.window, TB_BUTTONCOUNT, 0, 0);
        REBARBANDINFOA info = NewBandInfo();
        info.fMask = RBBIM_STYLE | RBBIM_ID | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_IDEALSIZE;
        info.fStyle = RBBS_CHILDEDGE | (count > 0 ? RBBS_USECHEVRON : 0) | (first ? RBBS_BREAK : 0);
        info.wID = kFirstBandId + (UINT)SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0);
        if (count > 0) {
            RECT firstRc = {}, lastRc = {};
            SendMessageA(r.window, TB_GETITEMRECT, 0, (LPARAM)&firstRc);
            SendMessageA(r.window, TB_GETITEMRECT, count - 1, (LPARAM)&lastRc);
            info.cxMinChild = firstRc.right;
            info.cyMinChild = lastRc.bottom - lastRc.top;
            info.cx = info.cxIdeal = lastRc.right;
        } else {
            RECT rc;
            GetWindowRect(r.window, &rc);
            info.cxMinChild = 0;
            info.cx = info.cxIdeal = rc.right - rc.left;
            info.cyMinChild = rc.bottom - rc.top;
        }
        first = false;
        if (!SendMessageA(rebar, RB_INSERTBANDA, (WPARAM)-1, (LPARAM)&info)) return 0;
        detached.push_back(r.window);
        SendMessageA(r.window, TB_SETEXTENDEDSTYLE, 0,
                     SendMessageA(r.window, TB_GETEXTENDEDSTYLE, 0, 0) | TBSTYLE_EX_HIDECLIPPEDBUTTONS);
    }
    return 1;
}

// --- ToolbarManager -----------------------------------------------------------------
int ToolbarManager::Create(HWND frame, HWND commandBar) {
    if (!m_list.Load(frame)) return 0;
    m_rebar =
        CreateWindowExA(0, REBARCLASSNAMEA, "",
                        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_VARHEIGHT | RBS_BANDBORDERS |
                            RBS_AUTOSIZE | CCS_NODIVIDER,
                        0, 0, 0, 0, frame, (HMENU)(UINT_PTR)kToolbarControlId, GetModuleHandleA(nullptr), nullptr);
    if (!m_rebar) return 0;
    m_created = true;
    if (commandBar) {
        REBARBANDINFOA info = NewBandInfo();
        info.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_ID | RBBIM_CHILDSIZE | RBBIM_SIZE;
        info.fStyle = RBBS_CHILDEDGE;
        info.hwndChild = commandBar;
        info.wID = kFirstBandId;
        RECT rc = {};
        GetWindowRect(commandBar, &rc);
        int count = (int)SendMessageA(commandBar, TB_BUTTONCOUNT, 0, 0);
        if (count > 0) SendMessageA(commandBar, TB_GETITEMRECT, count - 1, (LPARAM)&rc);
        info.cyMinChild = rc.bottom - rc.top;
        info.cxMinChild = 0;
        info.cx = rc.right;
        SendMessageA(m_rebar, RB_INSERTBANDA, (WPARAM)-1, (LPARAM)&info);
    }
    InstallToolbarBands();
    return 1;
}

// Every change to a band lays the rebar out again and moves each of its
// child windows; the bands take their final sizes, styles and visibility
// while still empty, and the toolbars join them once, at the end.
void ToolbarManager::InstallToolbarBands() {
    const int firstDetached = (int)SendMessageA(m_rebar, RB_GETBANDCOUNT, 0, 0);
    std::vector<HWND> detached;
    m_list.AddBands(m_rebar, detached);
    LockBands();
    SizeBands();
    ApplyBandVisibility(firstDetached, detached);
    const int n = (int)SendMessageA(m_rebar, RB_GETBANDCOUNT, 0, 0);
    int last = -1;
    bool lastShown = false;
    for (int i = firstDetached; i < n && i - firstDetached < (int)detached.size(); ++i) {
        HWND child = detached[i - firstDetached];
        REBARBANDINFOA info = NewBandInfo();
        info.fMask = RBBIM_CHILD;
        info.hwndChild = child;
        SendMessageA(m_rebar, RB_SETBANDINFOA, i, (LPARAM)&info);
        info = NewBandInfo();
        info.fMask = RBBIM_STYLE;
        SendMessageA(m_rebar, RB_GETBANDINFOA, i, (LPARAM)&info);
        // As a band shown or hidden with its toolbar in it would have left it.
        lastShown = !(info.fStyle & RBBS_HIDDEN);
        ShowWindow(child, lastShown ? SW_SHOW : SW_HIDE);
        last = i;
    }
    // One layout with the toolbars in place, as the last change to a band
    // would have made.
    if (last >= 0) SendMessageA(m_rebar, RB_SHOWBAND, last, lastShown ? TRUE : FALSE);
}

void ToolbarManager::LockBands() {
    int n = (int)SendMessageA(m_rebar, RB_GETBANDCOUNT, 0, 0);
    for (int i = 0; i < n; ++i) {
        REBARBANDINFOA info = NewBandInfo();
        info.fMask = RBBIM_STYLE;
        SendMessageA(m_rebar, RB_GETBANDINFOA, i, (LPARAM)&info);
        info.fStyle = (info.fStyle & ~RBBS_GRIPPERALWAYS) | RBBS_NOGRIPPER;
        SendMessageA(m_rebar, RB_SETBANDINFOA, i, (LPARAM)&info);
    }
}

void ToolbarManager::SizeBands() {
    int n = (int)SendMessageA(m_rebar, RB_GETBANDCOUNT, 0, 0);
    for (int i = 0; i < n; ++i) {
        RECT border = {};
        SendMessageA(m_rebar, RB_GETBANDBORDERS, i, (LPARAM)&border);
        REBARBANDINFOA info = NewBandInfo();
        info.fMask = RBBIM_SIZE;
        SendMessageA(m_rebar, RB_GETBANDINFOA, i, (LPARAM)&info);
        info.cx += border.left + border.right;
        SendMessageA(m_rebar, RB_SETBANDINFOA, i, (LPARAM)&info);
    }
}

void ToolbarManager::ShowBand(int bandIndex, BOOL show) {
    if (!m_created || bandIndex < 1 || bandIndex > m_list.Count()) return;
    SendMessageA(m_rebar, RB_SHOWBAND, bandIndex, show);
    ArrangeRows(true);
}

void ToolbarManager::ArrangeRows(bool fitWidths) {
    int n = (int)SendMessageA(m_rebar, RB_GETBANDCOUNT, 0, 0);
    int visibleIndex = 0;
    for (int i = 0; i < n; ++i) {
        RECT border = {};
        SendMessageA(m_rebar, RB_GETBANDBORDERS, i, (LPARAM)&border);
        REBARBANDINFOA info = NewBandInfo();
        info.fMask = RBBIM_SIZE | RBBIM_STYLE;
        SendMessageA(m_rebar, RB_GETBANDINFOA, i, (LPARAM)&info);
        if (fitWidths) info.cx += border.left + border.right - 4;
        if (!(info.fStyle & RBBS_HIDDEN)) {
            // The first visible toolbar starts the row under the command bar;
            // the others follow it on that row.
            if (visibleIndex == 1)
                info.fStyle |= RBBS_BREAK;
            else if (visibleIndex > 1)
                info.fStyle &= ~RBBS_BREAK;
            ++visibleIndex;
        }
        SendMessageA(m_rebar, RB_SETBANDINFOA, i, (LPARAM)&info);
    }
}

void ToolbarManager::SettleRestoredBands() {
    if (!m_created) return;
    int n = (int)SendMessageA(m_rebar, RB_GETBANDCOUNT, 0, 0);
    for (int i = 1; i < n; ++i) {
        REBARBANDINFOA info = NewBandInfo();
        info.fMask = RBBIM_CHILD | RBBIM_STYLE;
        SendMessageA(m_rebar, RB_GETBANDINFOA, i, (LPARAM)&info);
        char text[257] = {};
        if (info.hwndChild) GetWindowTextA(info.hwndChild, text, 256);
        const BOOL show = !(info.fStyle & RBBS_HIDDEN) && (!text[0] || m_list.IsVisible(text));
        // Showing or hiding through the rebar also shows or hides the toolbar
        // window itself, which a restored band style alone does not. A band
        // and toolbar already as wanted are left alone: each call lays the
        // rebar out again.
        const bool shown = !(info.fStyle & RBBS_HIDDEN);
        const bool childShown = info.hwndChild && (GetWindowLongA(info.hwndChild, GWL_STYLE) & WS_VISIBLE);
        if (shown == (show != FALSE) && (!info.hwndChild || childShown == shown)) continue;
        SendMessageA(m_rebar, RB_SHOWBAND, i, show);
    }
    // The stored widths are kept as they are: only the rows follow the bands shown.
    ArrangeRows(false);
}

void ToolbarManager::ApplyBandVisibility(int firstDetached, const std::vector<HWND>& detached) {
    if (!m_rebar) return;
    int n = (int)SendMessageA(m_rebar, RB_GETBANDCOUNT, 0, 0);
    for (int i = 0; i < n; ++i) {
        REBARBANDINFOA info = NewBandInfo();
        info.fMask = RBBIM_CHILD;
        SendMessageA(m_rebar, RB_GETBANDINFOA, i, (LPARAM)&info);
        if (!info.hwndChild && i >= firstDetached && i - firstDetached < (int)detached.size())
            info.hwndChild = detached[i - firstDetached];
        char text[257] = {};
        if (info.hwndChild) GetWindowTextA(info.hwndChild, text, 256);
        if (text[0]) ShowBand(i, m_list.IsVisible(text));
    }
}

int ToolbarManager::MapButtonCommand(WPARAM& wParam, LPARAM& lParam, int& buttonId) const {
    buttonId = 0;
    int id = LOWORD(wParam);
    if (!IsToolbarButton(id)) return 1;
    if (!m_created) return 0;
    for (const ToolbarButtonDef& row : ToolbarButtonTable) {
        if (row.buttonId == id) {
            wParam = (WPARAM)row.commandId;
            lParam = 0;
            buttonId = id;
            return 1;
        }
    }
    wParam = 0;
    return 0;
}

int ToolbarManager::CheckCommandButtons(int commandId, BOOL pressed) {
    int button = ToolbarButtonFromCommand(commandId);
    int took = 0;
    for (const ToolbarList::Row& r : m_list.m_rows) {
        if (!r.window) continue;
        if (SendMessageA(r.window, TB_CHECKBUTTON, button, MAKELONG(pressed ? TRUE : FALSE, 0))) took = 1;
    }
    return took;
}

void ToolbarManager::Rebuild(HWND frame) {
    if (!m_rebar) return;
    int n = (int)SendMessageA(m_rebar, RB_GETBANDCOUNT, 0, 0);
    for (int i = n - 1; i >= 1; --i)
        SendMessageA(m_rebar, RB_DELETEBAND, i, 0);
    std::vector<int> pressed;
    for (const ToolbarList::Row& r : m_list.m_rows) {
        if (!r.window) continue;
        int count = (int)SendMessageA(r.window, TB_BUTTONCOUNT, 0, 0);
        for (int i = 0; i < count; ++i) {
            TBBUTTON b = {};
            SendMessageA(r.window, TB_GETBUTTON, i, (LPARAM)&b);
            if (b.idCommand && (b.fsState & (TBSTATE_CHECKED | TBSTATE_PRESSED))) pressed.push_back(b.idCommand);
        }
    }
    // The replaced toolbars are destroyed by Load.
    if (!m_list.Load(frame)) return;
    for (const ToolbarList::Row& r : m_list.m_rows)
        if (r.window)
            for (int id : pressed)
                SendMessageA(r.window, TB_CHECKBUTTON, id, MAKELONG(TRUE, 0));
    InstallToolbarBands();
}
