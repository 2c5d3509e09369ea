#include "panels/cmd_panel.h"

#include <commctrl.h>

#include <algorithm>

#include "base/local_settings_ini.h"
#include "base/running_settings.h"
#include "base/settings_layer.h"
#include "command/command_system.h"
#include "command/host_hooks.h"
#include "win/message_box.h"

namespace {

constexpr int kComboId = 2000;

int ClientWidth(HWND w) {
    RECT rc = {};
    if (w) ::GetClientRect(w, &rc);
    return rc.right;
}

HFONT MakeFont(int height, int weight, const char* face) {
    LOGFONTA lf = {};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    return ::CreateFontIndirectA(&lf);
}

void ShowLoadError(const std::string& text) { ZavMessageBox(nullptr, text.c_str(), "エラー", MB_OK | MB_ICONWARNING); }

}  // namespace

std::string UserCmdPanelPath() {
    std::string path;
    ResolveSettingsPath("%USER_LOCAL_APPDATA%CmdPanel.def", path);
    return path;
}

namespace {
CCmdPanelSet& Catalogue(CCmdPanelSet& set, const char* file, const char* section) {
    if (set.PageCount() == 0) {
        std::string path;
        ResolveSettingsPath(file, path);
        set.Load(path.c_str(), section);
    }
    return set;
}
}  // namespace

CCmdPanelSet& CmdPanelCatalogue() {
    static CCmdPanelSet set;
    return Catalogue(set, "%EXE_DIR%CmdPanelBase.def", kCmdPanelSection);
}

CCmdPanelSet& CmdKeyCatalogue() {
    static CCmdPanelSet set;
    return Catalogue(set, "%EXE_DIR%CmdKeyBase.def", kCmdKeySection);
}

// --- One page --------------------------------------------------------------------------------
CCmdPanelData::~CCmdPanelData() { DestroyWindows(); }

void CCmdPanelData::DestroyWindows() {
    for (auto& b : m_buttons)
        if (b && b->m_hWnd) b->DestroyWindow();
    m_buttons.clear();
    m_windowsMade = false;
    if (m_tooltip && ::IsWindow(m_tooltip)) ::DestroyWindow(m_tooltip);
    m_tooltip = nullptr;
    if (m_tipFont) ::DeleteObject(m_tipFont);
    m_tipFont = nullptr;
}

int CCmdPanelData::ComboWidth() const {
    HWND combo = m_combo ? *m_combo : nullptr;
    return combo ? ClientWidth(combo) : 100;
}

int CCmdPanelData::Create(HWND owner, int layoutFlag, int rightMargin, int topMargin, int gapX, int gapY) {
    if (!owner) return -1;
    DestroyWindows();
    m_owner = owner;
    m_layoutFlag = layoutFlag;
    m_rightMargin = rightMargin;
    m_topMargin = topMargin;
    m_gapX = gapX;
    m_gapY = gapY;
    // Column 0 of the first row is the page combo's place.
    std::vector<int> widths(1, ComboWidth());
    int row = 0;
    size_t column = 1;
    for (const std::string& item : m_items) {
        if (IsCmdPanelRowBreak(item)) {
            m_buttons.emplace_back();
            ++row;
            column = layoutFlag == 1 ? 1 : 0;
            continue;
        }
        CmdPanelItem parsed;
        if (!ParseCmdPanelItem(item, &parsed)) continue;
        std::unique_ptr<CCmdPnlButton> b(new CCmdPnlButton);
        b->SetData(parsed.label.c_str(), parsed.id, parsed.tip.c_str(), parsed.style);
        int w = 0, h = 0;
        b->Measure(&w, &h);
        if (row == 0 || column >= widths.size())
            widths.push_back(w);
        else
            widths[column] = std::max(widths[column], w);
        b->m_width = w;
        b->m_height = h;
        m_buttons.push_back(std::move(b));
        ++column;
    }
    // A row that began past the known columns appended its widths in order;
    // the first row's widths sit behind the combo's.
    column = 1;
    for (auto& b : m_buttons) {
        if (!b) {
            column = layoutFlag == 1 ? 1 : 0;
            continue;
        }
        if (column < widths.size()) b->m_width = widths[column];
        ++column;
    }
    return 0;
}

// A page's windows cost most of a panel's start: only the page shown makes them.
void CCmdPanelData::MakeWindows() {
    if (m_windowsMade || !m_owner) return;
    m_windowsMade = true;
    for (auto& b : m_buttons) {
        if (!b) continue;
        b->Create(m_owner, 0, 0, b->m_width, b->m_height);
        ::ShowWindow(b->m_hWnd, SW_HIDE);
    }
    const HWND owner = m_owner;
    m_tooltip = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, nullptr, nullptr);
    if (m_tooltip) {
        m_tipFont = MakeFont(20, 400, "ＭＳ Ｐゴシック");
        ::SendMessageA(m_tooltip, WM_SETFONT, (WPARAM)m_tipFont, 0);
        ::SendMessageA(m_tooltip, TTM_ACTIVATE, m_tipsOn ? TRUE : FALSE, 0);
        for (auto& b : m_buttons) {
            if (!b || !b->m_hWnd) continue;
            TOOLINFOA ti = {};
            ti.cbSize = sizeof ti;
            ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            ti.hwnd = owner;
            ti.uId = (UINT_PTR)b->m_hWnd;
            ti.lpszText = const_cast<char*>(b->m_tip.c_str());
            ::SendMessageA(m_tooltip, TTM_ADDTOOLA, 0, (LPARAM)&ti);
        }
    }
}

void CCmdPanelData::Layout() {
    if (!m_owner) return;
    RECT client;
    ::GetClientRect(m_owner, &client);
    const int cw = client.right, ch = client.bottom;
    if (cw >= ch) {
        int pitch = CmdButtonImages.height;
        if (!m_buttons.empty() && m_buttons[0]) pitch = m_buttons[0]->m_height;
        pitch += m_gapY;
        const int firstX = cw - m_rightMargin - ComboWidth();
        int x = firstX, y = m_topMargin - 2;
        for (auto& b : m_buttons) {
            if (!b) {
                y += pitch;
                x = m_layoutFlag == 1 ? firstX : cw - m_rightMargin;
                continue;
            }
            if (!b->m_hWnd) continue;
            x -= b->m_width + m_gapX;
            ::SetWindowPos(b->m_hWnd, nullptr, x, y, b->m_width, b->m_height, SWP_NOZORDER | SWP_NOACTIVATE);
            ::InvalidateRect(b->m_hWnd, nullptr, FALSE);
        }
        return;
    }
    // Taller than wide: columns of equal buttons under the combo.
    HWND combo = m_combo ? *m_combo : nullptr;
    RECT comboRect = {0, 0, 100, 24};
    if (combo) {
        ::GetWindowRect(combo, &comboRect);
        ::SetWindowPos(combo, nullptr, 4, 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    int maxW = 0, maxH = 0;
    for (auto& b : m_buttons) {
        if (!b) continue;
        int w = 0, h = 0;
        b->Measure(&w, &h);
        maxW = std::max(maxW, w);
        maxH = std::max(maxH, h);
    }
    const int firstY = (comboRect.bottom - comboRect.top) + 6;
    int x = 4, y = firstY;
    for (auto& b : m_buttons) {
        if (!b) {
            x += maxW;
            y = firstY;
            continue;
        }
        if (!b->m_hWnd) continue;
        b->m_width = maxW;
        b->m_height = maxH;
        ::SetWindowPos(b->m_hWnd, nullptr, x, y, maxW, maxH, SWP_NOZORDER | SWP_NOACTIVATE);
        ::InvalidateRect(b->m_hWnd, nullptr, FALSE);
        y += maxH + m_gapY;
    }
}

void CCmdPanelData::Show(int showCommand) {
    if (showCommand != SW_HIDE) MakeWindows();
    for (auto& b : m_buttons)
        if (b && b->m_hWnd) ::ShowWindow(b->m_hWnd, showCommand);
}

int CCmdPanelData::GetBounds(HWND window, RECT* rect) const {
    if (!window || !::IsWindow(window) || m_items.empty()) return 0;
    RECT u = {0, 0, 0, 0};
    bool any = false;
    for (auto& b : m_buttons) {
        if (!b || !b->m_hWnd) continue;
        RECT r;
        ::GetWindowRect(b->m_hWnd, &r);
        ::MapWindowPoints(nullptr, window, (POINT*)&r, 2);
        if (!any)
            u = r;
        else
            ::UnionRect(&u, &u, &r);
        any = true;
    }
    if (rect) *rect = u;
    return 1;
}

void CCmdPanelData::MarkCommand(int id, int on) {
    for (auto& b : m_buttons)
        if (b && b->m_id == id) b->SetMarked(on);
}

void CCmdPanelData::EnableTips(int on) {
    m_tipsOn = on != 0;
    if (m_tooltip) ::SendMessageA(m_tooltip, TTM_ACTIVATE, on ? TRUE : FALSE, 0);
}

// --- Page-select row -------------------------------------------------------------------------
CTypeSelBtn::~CTypeSelBtn() { Destroy(); }

void CTypeSelBtn::Destroy() {
    for (auto& b : m_buttons)
        if (b && b->m_hWnd) b->DestroyWindow();
    m_buttons.clear();
}

void CTypeSelBtn::Create(HWND owner, const std::vector<std::string>& names) {
    Destroy();
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i].empty()) continue;
        std::unique_ptr<CCmdPnlButton> b(new CCmdPnlButton);
        b->SetData(names[i].c_str(), 100 + (int)i, "", 0);
        b->m_pageSelect = 1;
        b->Create(owner, 0, 0, b->m_width, b->m_height);
        m_buttons.push_back(std::move(b));
    }
}

int CTypeSelBtn::SelectByName(const std::string& name) {
    m_selected.clear();
    int found = -1;
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        const bool match = m_buttons[i]->m_label == name;
        m_buttons[i]->SetMarked(match ? 1 : 0);
        if (match) {
            m_selected = m_buttons[i]->m_label;
            found = (int)i;
        }
    }
    return found;
}

int CTypeSelBtn::SelectById(int id) {
    m_selected.clear();
    int found = -1;
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        const bool match = m_buttons[i]->m_id == id;
        m_buttons[i]->SetMarked(match ? 1 : 0);
        if (match) {
            m_selected = m_buttons[i]->m_label;
            found = (int)i;
        }
    }
    return found;
}

void CTypeSelBtn::LayoutHorizontal(int x, int y, int length, int thickness) {
    if (m_buttons.empty()) return;
    if (length == 0) length = m_length;
    if (thickness == 0) thickness = m_thickness;
    const int w = length / (int)m_buttons.size();
    int right = x;
    for (auto& b : m_buttons) {
        b->m_vertical = 0;
        b->m_width = w;
        b->m_height = thickness;
        ::SetWindowPos(b->m_hWnd, nullptr, right - w, y, w, thickness, SWP_NOZORDER | SWP_NOACTIVATE);
        ::InvalidateRect(b->m_hWnd, nullptr, FALSE);
        right -= w;
    }
}

void CTypeSelBtn::LayoutVertical(int x, int y, int length, int thickness) {
    if (m_buttons.empty()) return;
    if (length == 0) length = (int)(m_length * 0.7);
    if (thickness == 0) thickness = m_thickness;
    const int h = length / (int)m_buttons.size();
    for (auto& b : m_buttons) {
        b->m_vertical = 1;
        b->m_width = thickness;
        b->m_height = h;
        ::SetWindowPos(b->m_hWnd, nullptr, x, y, thickness, h, SWP_NOZORDER | SWP_NOACTIVATE);
        ::InvalidateRect(b->m_hWnd, nullptr, FALSE);
        y += h;
    }
}

// --- The page set ----------------------------------------------------------------------------
CCmdPanelSet::~CCmdPanelSet() {
    DestroyPages();
    if (m_combo && ::IsWindow(m_combo)) ::DestroyWindow(m_combo);
    if (m_comboFont) ::DeleteObject(m_comboFont);
}

void CCmdPanelSet::DestroyPages() {
    m_pages.clear();
    m_typeSel.Destroy();
}

int CCmdPanelSet::Load(const char* path, const char* section) {
    m_path = path ? path : UserCmdPanelPath();
    m_section = section ? section : kCmdPanelSection;
    std::vector<CmdPanelPageDef> defs;
    std::string error;
    if (LoadCmdPanelPages(m_path.c_str(), m_section.c_str(), defs, &error) != 0) {
        ShowLoadError(error.empty() ? m_path : error);
        return -1;
    }
    DestroyPages();
    m_names.clear();
    for (CmdPanelPageDef& d : defs) {
        m_names.push_back(d.name);
        std::unique_ptr<CCmdPanelData> page(new CCmdPanelData(d.name, &m_combo));
        page->m_items = std::move(d.items);
        m_pages.push_back(std::move(page));
    }
    return 0;
}

std::vector<CmdPanelPageDef> CCmdPanelSet::PageDefs() const {
    std::vector<CmdPanelPageDef> defs;
    for (auto& p : m_pages) defs.push_back(CmdPanelPageDef{p->m_name, p->m_items});
    return defs;
}

int CCmdPanelSet::Save() {
    const std::string path = UserCmdPanelPath();
    std::string error;
    if (SaveCmdPanelPages(path.c_str(), kCmdPanelSection, PageDefs(), &error) != 0) {
        ShowLoadError(error.empty() ? path : error);
        return -1;
    }
    return 0;
}

void CCmdPanelSet::Create(HWND owner, int layoutFlag) {
    m_owner = owner;
    m_layoutFlag = layoutFlag;
    const int screen = ::GetSystemMetrics(SM_CXSCREEN);
    const int low = LocalIni().iCmdPanelTypeLowResoW;
    const int comboWidth = (low > 0 && screen < 1680) ? 80 : 100;
    m_combo = ::CreateWindowExA(0, "COMBOBOX", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 0,
                                comboWidth, 640, owner, (HMENU)(INT_PTR)kComboId, nullptr, nullptr);
    for (const std::string& name : m_names) ::SendMessageA(m_combo, CB_ADDSTRING, 0, (LPARAM)name.c_str());
    if (m_current < 0 || m_current >= PageCount()) m_current = 0;
    if (!m_names.empty()) ::SendMessageA(m_combo, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)m_names[m_current].c_str());
    ::SendMessageA(m_combo, CB_SETMINVISIBLE, 32, 0);
    if (low <= 0 || screen >= 1680)
        m_comboFont = MakeFont(-16, 700, "ＭＳ ゴシック");
    else
        m_comboFont = MakeFont(-11, 400, "ＭＳ ゴシック");
    ::SendMessageA(m_combo, WM_SETFONT, (WPARAM)m_comboFont, TRUE);
    for (auto& page : m_pages) page->Create(owner, layoutFlag, 10, 4, 0, 0);
    if (m_current < PageCount()) Page(m_current)->MakeWindows();
    m_typeSel.Create(owner, m_names);
    if (CCmdPanelData* page = Page(m_current)) {
        m_typeSel.SelectByName(page->m_name);
        page->Show(SW_SHOW);
    }
}

void CCmdPanelSet::Layout() {
    if (!m_owner) return;
    RECT client;
    ::GetClientRect(m_owner, &client);
    if (m_combo) {
        ::SetWindowPos(m_combo, nullptr, client.right - ClientWidth(m_combo) - 10, 4, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::InvalidateRect(m_combo, nullptr, TRUE);
    }
    CCmdPanelData* page = Page(m_current);
    if (!page) return;
    page->m_rightMargin = 10;
    page->m_topMargin = 4;
    page->Layout();
    RECT bounds = {0, 0, 0, 0};
    page->GetBounds(m_owner, &bounds);
    if (client.bottom > client.right)
        m_typeSel.LayoutVertical(bounds.right + 4, bounds.top, 0, 0);
    else
        m_typeSel.LayoutHorizontal(bounds.right, bounds.bottom + 4, 0, 0);
}

void CCmdPanelSet::SelectPage(int index) {
    if (index < 0 || index >= PageCount()) return;
    if (CCmdPanelData* old = Page(m_current)) old->Show(SW_HIDE);
    m_current = index;
    Page(m_current)->Show(SW_SHOW);
    Layout();
}

void CCmdPanelSet::SelectFromCombo() {
    if (!m_combo) return;
    SelectPage((int)::SendMessageA(m_combo, CB_GETCURSEL, 0, 0));
    char text[256] = {};
    ::GetWindowTextA(m_combo, text, sizeof text);
    m_typeSel.SelectByName(text);
}

void CCmdPanelSet::MarkCommand(int id, int on) {
    for (auto& p : m_pages) p->MarkCommand(id, on);
}

void CCmdPanelSet::EnableTips(int on) {
    for (auto& p : m_pages) p->EnableTips(on);
}

// --- The panel window ------------------------------------------------------------------------
CCmdPanel::~CCmdPanel() { m_set.reset(); }

HWND CCmdPanel::Create(HWND pane) {
    WindowClassArgs wc;
    wc.name = "ZavCmdPanel";
    wc.background = nullptr;
    if (!win::RegisterWindowClass(wc)) return nullptr;
    CreateArgs a;
    a.className = "ZavCmdPanel";
    a.parent = pane;
    a.style = WS_CHILD | WS_VISIBLE;
    a.id = 0;
    a.x = a.y = a.cx = a.cy = 0;
    return CWindowBase::Create(a);
}

int CCmdPanel::GetCurrentPage() {
    if (m_set) m_current = m_set->m_current;
    return m_current;
}

void CCmdPanel::SetCurrentPage(int index) {
    m_current = index;
    if (m_set) m_set->m_current = index;
}

LRESULT CCmdPanel::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    m_set.reset(new CCmdPanelSet);
    m_set->m_current = m_current;
    if (m_set->Load(nullptr, nullptr) != 0) {
        m_set.reset();
        return 0;
    }
    m_set->Create(m_hWnd, m_layoutFlag);
    m_set->EnableTips(m_tips ? 1 : 0);
    return 0;
}

LRESULT CCmdPanel::OnSize(UINT, WPARAM type, LPARAM, BOOL&) {
    if (type != SIZE_MINIMIZED && m_set) m_set->Layout();
    return 0;
}

LRESULT CCmdPanel::OnEraseBkgnd(UINT, WPARAM wParam, LPARAM, BOOL&) {
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    const COLORREF c = Running().colorPanel ? Running().colorPanel : ::GetSysColor(COLOR_BTNFACE);
    HBRUSH b = ::CreateSolidBrush(c);
    ::FillRect((HDC)wParam, &rc, b);
    ::DeleteObject(b);
    return 1;
}

LRESULT CCmdPanel::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    PAINTSTRUCT ps;
    ::BeginPaint(m_hWnd, &ps);
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CCmdPanel::OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
    ::SendMessageA(GetParent(), WM_COMMAND, 1000, 0);
    return 0;
}

LRESULT CCmdPanel::OnPanelButton(UINT, WPARAM wParam, LPARAM, BOOL&) {
    if (wParam > 0xFFFF) {
        if (!m_set) return 0;
        const int i = m_set->m_typeSel.SelectById((int)(wParam & 0xFFFF));
        if (i >= 0) {
            ::SendMessageA(m_set->m_combo, CB_SETCURSEL, (WPARAM)i, 0);
            m_set->SelectPage(i);
        }
        return 0;
    }
    if (HWND frame = CmdMainFrame()) ::PostMessageA(frame, WM_COMMAND, wParam, 0);
    return 0;
}

LRESULT CCmdPanel::OnCmdBusy(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    if (!m_set) return -1;
    m_set->MarkCommand((int)wParam, lParam ? 1 : 0);
    return 0;
}

LRESULT CCmdPanel::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL&) {
    const int id = LOWORD(wParam), code = HIWORD(wParam);
    if (id >= 32769 && id <= 32869) return 1;
    switch (id) {
    case kComboId:
        if (code == CBN_SELCHANGE && m_set) m_set->SelectFromCombo();
        if (code == CBN_SELCHANGE || code == CBN_SELENDCANCEL) {
            ::SetFocus(m_hWnd);
            ::PostMessageA(m_hWnd, WM_COMMAND, 110, 0);
        }
        return 0;
    case 100:
        m_tips = code != 0;
        if (m_set) m_set->EnableTips(m_tips ? 1 : 0);
        return 0;
    case 101: return (LRESULT)m_set.get();
    case 110:
        if (HostHooks().focusActiveView) HostHooks().focusActiveView();
        return 0;
    default: return 0;
    }
}
