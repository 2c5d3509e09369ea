#include "panels/attr_pickup.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "base/dbcs.h"
#include "base/file_utils.h"
#include "cadlib/WmCadApiDb.h"
#include "command/command_system.h"
#include "command/host_hooks.h"
#include "panels/attr_samples.h"
#include "panels/attr_selectors.h"
#include "panels/panel_dialog_ids.h"
#include "panels/tool_panel.h"
#include "win/dialog.h"
#include "win/message_box.h"

namespace {

double F64(const uint8_t* p) {
    double v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

std::string IniPath() { return ToolPanelHost().localSettingsIniPath ? ToolPanelHost().localSettingsIniPath() : ""; }

int ReadAttrSetting(const char* key, int def) {
    const std::string path = IniPath();
    return path.empty() ? def : (int)::GetPrivateProfileIntA("AttrSettings", key, def, path.c_str());
}

const char* TypeName(int type) {
    static const char* const names[] = {"線分", "点", "円", "円弧", "文字", "楕円", "楕円弧"};
    return type >= 1 && type <= 7 ? names[type - 1] : nullptr;
}

class CAttrSettingsDlg : public CDialog {
public:
    CAttrSettingsDlg(const PickedElementAttrs& e, int checkLayer) : CDialog(IDD_ATTR_PICKUP), m_check(checkLayer), m_e(e) {}
    int m_check;

    BEGIN_MSG_MAP(CAttrSettingsDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
    COMMAND_ID_HANDLER(IDOK, OnOk)
    COMMAND_ID_HANDLER(IDCANCEL, OnCloseCmd)
    REFLECT_NOTIFICATIONS()
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDrawItem(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOk(WORD, WORD, HWND, BOOL&) {
        m_check = IsChecked(IDC_PICKUP_TAKE_LAYER) ? 1 : 0;
        EndDialog(IDOK);
        return 0;
    }
    const PickedElementAttrs& m_e;
    bool m_text = false;
    COLORREF m_panel = ::GetSysColor(COLOR_BTNFACE);
    AttrSelectorModel m_colours{AttrKind::Colour}, m_widths{AttrKind::LineWidth}, m_lineEnds{AttrKind::LineEnd};
    CLineWidthListBox m_width;
    CLineEndTypeListBox m_start{0}, m_end{1};
};

LRESULT CAttrSettingsDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    m_colours.Load();
    m_lineEnds.Load();
    if (ToolPanelHost().panelColor) m_panel = ToolPanelHost().panelColor();
    SetCheck(IDC_PICKUP_TAKE_LAYER, m_check != 0);
    if (const char* name = TypeName(m_e.type)) {
        char caption[128];
        snprintf(caption, sizeof caption, "%sの属性を取り込みます", name);
        SetWindowText(caption);
    }
    auto hide = [&](std::initializer_list<int> ids) {
        for (int id : ids)
            ShowItem(id, false);
    };
    switch (m_e.type) {
    case 2: hide({1814, 1815, 1816, 1817, 1823, 1824, 1826}); break;
    case 3:
    case 6: hide({1816, 1817, 1826}); break;
    case 5: {
        m_text = true;
        SetItemText(1823, "文字高さ");
        SetItemText(1824, "文字縦横比");
        SetItemText(1825, "文字間隔");
        SetItemText(1826, "フォント名");
        hide({1814, 1815, 1816, 1817});
        for (int id : {1825, 1850, 1851, 1852, 1853})
            ShowItem(id, true);
        double factor = 1;
        GetTextScaleFactor(m_e.page, &factor);
        const PickedText t = PickedTextOf(&m_e);
        SetItemText(1850, FormatDouble(t.height * factor, 8, 1).c_str());
        SetItemText(1851, FormatDouble(t.aspect, 15, 1).c_str());
        SetItemText(1852, FormatDouble(t.spacing * factor, 15, 1).c_str());
        SetItemText(1853, t.font);
        break;
    }
    default: break;
    }
    char text[300];
    snprintf(text, sizeof text, "%d", m_e.layer + 1);
    SetItemText(IDC_PICKUP_LAYER_NUMBER, text);
    snprintf(text, sizeof text, "%dP %s", (int)m_e.page, m_e.pageKind ? "ﾚｲｱｳﾄ" : "ﾘｱﾙ");
    SetItemText(IDC_PICKUP_PAGE_NUMBER, text);
    char name[300] = {}, second[300] = {};
    if (HostHooks().getLayerNameOfPage && HostHooks().getLayerNameOfPage(m_e.page, m_e.layer, name, second))
        SetItemText(IDC_PICKUP_LAYER_NAME, name);
    if (!m_text) {
        m_width.Attach(GetDlgItem(IDC_PICKUP_WIDTH), &m_widths);
        m_width.m_fixedIndex = m_e.lineWidth;
        m_start.Attach(GetDlgItem(IDC_PICKUP_START), &m_lineEnds);
        m_start.m_fixedIndex = m_e.lineStart;
        m_start.m_background = m_panel;
        m_end.Attach(GetDlgItem(IDC_PICKUP_END), &m_lineEnds);
        m_end.m_fixedIndex = m_e.lineEnd;
        m_end.m_background = m_panel;
    }
    CenterWindow();
    return TRUE;
}

LRESULT CAttrSettingsDlg::OnDrawItem(UINT, WPARAM w, LPARAM l, BOOL& handled) {
    const DRAWITEMSTRUCT& d = *reinterpret_cast<DRAWITEMSTRUCT*>(l);
    handled = FALSE;  // the boxes draw their own fields after this
    HDC dc = d.hDC;
    const RECT& r = d.rcItem;
    char text[32];
    auto fill = [&](COLORREF c, const RECT& rc) {
        ::SetBkColor(dc, c);
        ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    };
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    if (w == IDC_PICKUP_COLOUR) {
        fill(m_panel, r);
        snprintf(text, sizeof text, "%3ld", (long)m_e.colour);
        ::TextOutA(dc, r.left + 2, r.top + 4, text, (int)strlen(text));
        RECT patch = {r.left + 30, r.top + 2, r.right - 10, r.bottom - 3};
        if (m_colours.Contains(m_e.colour - 1)) fill(m_colours.colours[m_e.colour - 1], patch);
        return 1;
    }
    if (w == IDC_PICKUP_LINE_TYPE && !m_text && m_e.lineType < 32) {
        fill(m_panel, r);
        snprintf(text, sizeof text, "%3ld", (long)m_e.lineType);
        ::TextOutA(dc, r.left + 2, r.top + 2, text, (int)strlen(text));
        const COLORREF c = (d.itemState & ODS_SELECTED) ? ::GetSysColor(COLOR_WINDOW) : RGB(0, 0, 0);
        DrawLinePattern(dc, SelectorLineType(m_e.lineType), c, r.left + 32, r.right - 8, (r.top + r.bottom) / 2);
        return 1;
    }
    return 0;
}

}  // namespace

PickedText PickedTextOf(const void* element) {
    PickedText t;
    if (!element) return t;
    const auto* rec = static_cast<const ElementRecord*>(element);
    t.height = CadGetF64(rec, kOffTextSize1);
    const double width = CadGetF64(rec, kOffTextSize2);
    t.aspect = t.height != 0 ? width / t.height : 0;
    t.spacing = CadGetF64(rec, kOffTextSize3);
    std::memcpy(t.font, reinterpret_cast<const uint8_t*>(rec) + kOffTextFont, sizeof t.font - 1);
    TruncateDbcsText(t.font, std::strlen(t.font));
    return t;
}

std::string AttrRangeErrors(const PickedElementAttrs& e) {
    std::string text;
    char part[32];
    // Layers are numbered 0..1023 in records: a page holds no layer 1024,
    // so taking it over would make a layer current that does not exist.
    if (e.layer >= 1024) {
        snprintf(part, sizeof part, "レイヤ:%d ", e.layer + 1);
        text += part;
    }
    if (e.colour == 0 || e.colour > 256) {
        snprintf(part, sizeof part, "色:%d ", e.colour);
        text += part;
    }
    if (e.lineType >= 32) {
        snprintf(part, sizeof part, "線種:%d ", e.lineType);
        text += part;
    }
    if (e.lineWidth >= 16) {
        snprintf(part, sizeof part, "線幅:%d ", e.lineWidth);
        text += part;
    }
    const size_t b = text.find_first_not_of(' '), last = text.find_last_not_of(' ');
    return b == std::string::npos ? std::string() : text.substr(b, last - b + 1);
}

int PickUpElementAttributes(const void* element, int* takeLayer) {
    if (!element) return 0;
    PickedElementAttrs e;
    std::memcpy(&e, element, sizeof e);
    const std::string errors = AttrRangeErrors(e);
    if (!errors.empty()) {
        char message[256];
        snprintf(message, sizeof message, "属性値(%s)が異常で取り込めません。", errors.c_str());
        ZavMessageBox(CmdMainFrame(), message, "エラー", MB_OK | MB_ICONERROR);
        return 0;
    }
    if (ReadAttrSetting("ViewDialog", 0)) {
        const int checkLayer = ReadAttrSetting("DlgChkLay", 1);
        CAttrSettingsDlg dlg(e, checkLayer);
        if (dlg.DoModal(::GetActiveWindow()) != IDOK) {
            if (takeLayer) *takeLayer = checkLayer;
            return 0;
        }
        char value[16];
        snprintf(value, sizeof value, "%d", dlg.m_check);
        const std::string path = IniPath();
        if (!path.empty()) ::WritePrivateProfileStringA("AttrSettings", "DlgChkLay", value, path.c_str());
        if (HWND panel = ToolPanelWindow()) ::PostMessageA(panel, WM_COMMAND, MAKEWPARAM(3311, 1), 0);
        if (takeLayer) *takeLayer = dlg.m_check;
        return 1;
    }
    if (takeLayer) *takeLayer = ReadAttrSetting("SetLayer", 0);
    return 1;
}

int GetTextScaleFactor(int page, double* factor) {
    DbHeader* db = HostHooks().activeDb ? static_cast<DbHeader*>(HostHooks().activeDb()) : nullptr;
    if (!db) return 0;
    std::vector<char> head(kDbInfoHeadSize);
    if (!DAriGetDBInfo(head.data(), db)) return 0;
    // A scale too small to divide by is refused and the caller's factor is
    // left as it was, so the sizes are shown unscaled rather than as zeros.
    const double scale = F64(reinterpret_cast<const DbInfo*>(head.data())->scale);
    if (!(scale >= 1e-8)) return 0;
    *factor = scale;
    if (page > 0) {
        int values[6];
        double placement = 1, angle = 0;
        std::vector<char> pageHead(kDbInfoHeadSize);
        if (HostHooks().getPagePlacement && HostHooks().getPagePlacement(page, values, &placement, &angle) &&
            HostHooks().getPageDbInfo && HostHooks().getPageDbInfo(page, pageHead.data()))
            *factor = placement * F64(reinterpret_cast<const DbInfo*>(pageHead.data())->scale) * *factor;
    }
    return 1;
}
