#include "setup/page_dialogs.h"

#include <commctrl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <list>
#include <memory>
#include <string>

#include "base/dbcs.h"
#include "base/message_table.h"
#include "base/monitor.h"
#include "base/paper_sizes.h"
#include "base/settings_layer.h"
#include "command/cad_app_cmd.h"
#include "command/command_system.h"
#include "command/executor.h"
#include "command/host_hooks.h"
#include "command/host_messages.h"
#include "command/undo_services.h"
#include "setup/page_services.h"
#include "setup/setup_dialog_ids.h"
#include "view/drawing_state.h"
#include "view/scale_value.h"
#include "view/view_table.h"
#include "win/dialog_base.h"
#include "win/message_box.h"

namespace {

// The signed client coordinates of a mouse message.
int PressX(LPARAM l) { return static_cast<short>(LOWORD(l)); }
int PressY(LPARAM l) { return static_cast<short>(HIWORD(l)); }

constexpr double kPi = 3.14159265358979323846;
constexpr int kMaxRecords = 254;

bool English() { return HostHooks().language && HostHooks().language() != 0; }
const char* Text(const char* japanese, const char* english) { return English() ? english : japanese; }

// What the next add-page dialog starts from.
struct AddPageDefaults {
    std::string title, author, remarks;
    int paper = 0;
    double scale = 1.0, factor = 1.0;
    double paperW = 1189, paperH = 841;
};
AddPageDefaults g_defaults;

bool g_referFlag = false;  // "参照": take the placement from a module
HWND g_editDialog = nullptr;
HWND g_appendDialog = nullptr;

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string ScaleText(double value) {
    char text[64];
    FormatScaleValue(value, text, sizeof text);
    return text;
}

void AddHistory(const char* value, const char* key) {
    if (HostHooks().addInputHistory) HostHooks().addInputHistory(value, key);
}

void RedrawAndCount() {
    if (HWND frame = CmdMainFrame()) ::SendMessageA(frame, UM_REDRAW_VIEW, 0, 0);
}

// The fields the page information and add-page dialogs share: texts, scale,
// paper and its sizes.
class PageFields {
public:
    explicit PageFields(CDialog* dlg) : m_dlg(dlg) {}

    void SetLabels() const {
        static const int kMessageLabels[][2] = {{100, 5110}, {200, 5111}, {300, 5112}, {400, 5113}, {500, 5114}};
        for (const auto& l : kMessageLabels)
            m_dlg->SetItemText(l[0], GetMessageText(l[1]));
        m_dlg->SetItemText(901, GetMessageText(7327));
        static const struct {
            int id;
            const char* ja;
            const char* en;
        } kLabels[] = {
            {700, "用紙横ｻｲｽﾞ", "Paper X"},   {701, "用紙縦ｻｲｽﾞ", "Paper Y"},
            {702, "図面横ｻｲｽﾞ", "Draw  X"},   {703, "図面縦ｻｲｽﾞ", "Draw  Y"},
            {656, "登録パターン", "Pattern"}, {13, "参照", "Get"},
            {704, "原点", "Origin"},          {705, "傾き", "Slant"},
            {706, "表", "D"},                 {707, "編", "E"},
            {708, "ページ名", "Page Name"},   {709, "ファイル名", "File Name"},
            {710, "外部参照", "Out Read"},    {711, "倍率-X", "Scale"},
            {1812, "[ 図面情報 ]", "Paper Info"}, {1148, "[ 配置情報 ]", "Arrangement Info"},
        };
        for (const auto& l : kLabels)
            if (m_dlg->GetDlgItem(l.id)) m_dlg->SetItemText(l.id, Text(l.ja, l.en));
        if (English()) {
            m_dlg->SetItemText(2, "Cancel");
            m_dlg->SetItemText(1501, "Add");
            m_dlg->SetItemText(1502, "Del");
        }
    }

    void FillLists() const {
        m_dlg->SendItemMessage(501, CB_RESETCONTENT);
        for (int i = 0; i < kCustomPaperRow; ++i)
            m_dlg->SendItemMessage(501, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(PaperSizeTable[i].name));
        m_dlg->SendItemMessage(501, CB_ADDSTRING, 0,
                               reinterpret_cast<LPARAM>(English() ? GetMessageText(2028) : "その他"));
        std::list<std::string> scales;
        GetScaleList(scales);
        for (int id : {401, 402}) {
            if (!m_dlg->GetDlgItem(id)) continue;
            m_dlg->SendItemMessage(id, CB_RESETCONTENT);
            for (const std::string& s : scales)
                m_dlg->SendItemMessage(id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
        }
    }

    int PaperIndex() const {
        const LRESULT sel = m_dlg->SendItemMessage(501, CB_GETCURSEL);
        return sel < 0 ? kCustomPaperRow : static_cast<int>(sel);
    }

    static int PaperIndexOfCode(uint16_t code) {
        for (int i = 0; i < kCustomPaperRow; ++i)
            if (code != 0 && PaperSizeTable[i].code == code) return i;
        return kCustomPaperRow;
    }

    // Drawing-unit sizes from the scale and the paper.
    void Recompute() const {
        const double scale = EvalNumberText(m_dlg->GetItemText(401).c_str());
        if (!(scale > 0)) return;
        double w, h;
        const int paper = PaperIndex();
        if (paper == kCustomPaperRow) {
            w = std::atof(m_dlg->GetItemText(800).c_str());
            h = std::atof(m_dlg->GetItemText(801).c_str());
            if (!(w > 0)) w = 0;
            if (!(h > 0)) h = 0;
        } else {
            w = PaperSizeTable[paper].width;
            h = PaperSizeTable[paper].height;
        }
        m_dlg->SetItemText(802, Format("%lg", w / scale).c_str());
        m_dlg->SetItemText(803, Format("%lg", h / scale).c_str());
    }

    void OnPaperChange() const {
        const int paper = PaperIndex();
        const bool custom = paper == kCustomPaperRow;
        m_dlg->EnableItem(800, custom);
        m_dlg->EnableItem(801, custom);
        if (!custom) {
            m_dlg->SetItemText(800, Format("%lg", PaperSizeTable[paper].width).c_str());
            m_dlg->SetItemText(801, Format("%lg", PaperSizeTable[paper].height).c_str());
        }
        Recompute();
    }

    void Show(const PageEditRecord& r) const {
        const int paper = PaperIndexOfCode(r.paperCode);
        m_dlg->SendItemMessage(501, CB_SETCURSEL, paper);
        m_dlg->SetItemText(101, r.title);
        m_dlg->SetItemText(201, r.author);
        m_dlg->SetItemText(301, r.remarks);
        m_dlg->SetItemText(401, ScaleText(r.scale).c_str());
        m_dlg->SetItemText(800, Format("%g", r.paperWmm).c_str());
        m_dlg->SetItemText(801, Format("%g", r.paperHmm).c_str());
        const double scale = r.scale > 0 ? r.scale : 1.0;
        m_dlg->SetItemText(802, Format("%lg", r.paperWmm / scale).c_str());
        m_dlg->SetItemText(803, Format("%lg", r.paperHmm / scale).c_str());
        m_dlg->EnableItem(800, paper == kCustomPaperRow);
        m_dlg->EnableItem(801, paper == kCustomPaperRow);
    }

    // Reads texts, scale and paper into the record; false (with the message
    // shown) on a scale or paper size that is not above 0.
    bool Read(PageEditRecord* r) const {
        DbcsCopy(r->title, sizeof r->title, m_dlg->GetItemText(101).c_str());
        DbcsCopy(r->author, sizeof r->author, m_dlg->GetItemText(201).c_str());
        DbcsCopy(r->remarks, sizeof r->remarks, m_dlg->GetItemText(301).c_str());
        AddHistory(r->title, "NZ_STR1");
        AddHistory(r->author, "NZ_STR2");
        AddHistory(r->remarks, "NZ_STR3");
        const std::string scaleText = m_dlg->GetItemText(401);
        const double scale = EvalNumberText(scaleText.c_str());
        if (!(scale > 0)) {
            Warn(7490);
            return false;
        }
        AddHistory(scaleText.c_str(), "NZ_STR4");
        const int paper = PaperIndex();
        double w, h;
        if (paper == kCustomPaperRow) {
            w = std::atof(m_dlg->GetItemText(800).c_str());
            h = std::atof(m_dlg->GetItemText(801).c_str());
            for (auto [id, value] : {std::pair<int, double>{800, w}, {801, h}})
                if (!(value > 0)) {
                    m_dlg->SetItemText(id, "0");
                    Warn(7491);
                    return false;
                }
            r->paperCode = 0;
        } else {
            w = PaperSizeTable[paper].width;
            h = PaperSizeTable[paper].height;
            r->paperCode = PaperSizeTable[paper].code;
        }
        r->scale = scale;
        r->paperWmm = w;
        r->paperHmm = h;
        r->drawW = w / scale;
        r->drawH = h / scale;
        g_defaults.paper = paper;
        g_defaults.paperW = w;
        g_defaults.paperH = h;
        g_defaults.scale = scale;
        g_defaults.title = r->title;
        g_defaults.author = r->author;
        g_defaults.remarks = r->remarks;
        return true;
    }

    // Placement fields (origin, angle, factor) into the record.
    void ReadPlacement(PageEditRecord* r) const {
        const double x = std::atof(m_dlg->GetItemText(804).c_str());
        const double y = std::atof(m_dlg->GetItemText(805).c_str());
        std::memcpy(r->origin, &x, 8);
        std::memcpy(r->origin + 8, &y, 8);
        r->angle = std::atof(m_dlg->GetItemText(806).c_str()) / 180.0 * kPi;
        const std::string factorText = m_dlg->GetItemText(402);
        double factor = EvalNumberText(factorText.c_str());
        if (!(factor > 0)) {
            factor = 1.0;
            AddHistory("0", "NZ_STR4");
        } else {
            AddHistory(factorText.c_str(), "NZ_STR4");
        }
        if (std::fabs(factor - r->factorX) > 1e-8) r->factorY = factor;
        r->factorX = factor;
        g_defaults.factor = factor;
    }

    // History buttons 7000-7004: the key and the field a choice goes into.
    static const char* HistoryKey(int button) {
        static const char* const kKeys[] = {"NZ_STR1", "NZ_STR2", "NZ_STR3", "NZ_STR4", "NZ_STR4"};
        return button >= 7000 && button <= 7004 ? kKeys[button - 7000] : nullptr;
    }
    static int HistoryField(int button) {
        static const int kFields[] = {101, 201, 301, 401, 402};
        return kFields[button - 7000];
    }
    void ShowHistory(int button) {
        const char* key = HistoryKey(button);
        if (!key || !HostHooks().showInputHistoryMenu) return;
        RECT rc;
        ::GetWindowRect(m_dlg->GetDlgItem(button), &rc);
        m_historyButton = button;
        HostHooks().showInputHistoryMenu(m_dlg->m_hWnd, key, MAKELPARAM(rc.left, rc.bottom));
    }
    // A history menu choice (1236-1259); true when it was one.
    bool TakeHistoryChoice(int id) {
        if (id < 1236 || id > 1259 || !m_historyButton || !HostHooks().getInputHistoryItem) return false;
        char value[300] = "";
        HostHooks().getInputHistoryItem(value, id - 1236);
        AddHistory(value, HistoryKey(m_historyButton));
        const int field = HistoryField(m_historyButton);
        m_dlg->SetItemText(field, value);
        if (field == 401) ::PostMessageA(m_dlg->m_hWnd, WM_COMMAND, 401, 0);
        if (field == 402) {
            m_dlg->SetItemText(1049, value);
            ::PostMessageA(m_dlg->m_hWnd, WM_COMMAND, 402, 0);
        }
        m_historyButton = 0;
        return true;
    }

    void Warn(int message) const {
        ZavMessageBox(m_dlg->m_hWnd, GetMessageText(message), GetMessageText(5150), MB_OK | MB_ICONWARNING);
    }

    // Common notifications of the fields; true when taken.
    bool OnCommand(int id, int code) {
        if (id == 401 || id == 800 || id == 801) {
            Recompute();
            return true;
        }
        if (id == 501 && code == CBN_SELCHANGE) {
            OnPaperChange();
            return true;
        }
        if (id == 402 && code == CBN_SETFOCUS) {
            m_factorOnFocus = m_dlg->GetItemText(402);
            return true;
        }
        if (id == 402 && code == CBN_KILLFOCUS) {
            const std::string now = m_dlg->GetItemText(402);
            if (now != m_factorOnFocus) m_dlg->SetItemText(1049, now.c_str());
            return true;
        }
        if (id >= 7000 && id <= 7004) {
            ShowHistory(id);
            return true;
        }
        return TakeHistoryChoice(id);
    }

private:
    CDialog* m_dlg;
    std::string m_factorOnFocus;
    int m_historyButton = 0;
};

// ---------------------------------------------------------------------------
// Page information dialog.
class CPageEditDlg : public CDialogBase<CPageEditDlg> {
public:
    CPageEditDlg() : CDialogBase<CPageEditDlg>(IDD_PAGE_EDIT_NAME), m_fields(this) {}

    BEGIN_MSG_MAP(CPageEditDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    NOTIFY_ID_HANDLER(1131, OnTreeNotify)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    COMMAND_ID_HANDLER(13, OnRefer)
    MESSAGE_HANDLER(WM_COMMAND, OnFieldCommand)
    CHAIN_MSG_MAP(CDialogBase<CPageEditDlg>)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
        handled = FALSE;  // the base colours the buttons
        g_referFlag = false;
        g_editDialog = m_hWnd;
        m_fields.SetLabels();
        m_fields.FillLists();
        ::SetWindowTextA(m_hWnd, Text("ページ情報設定", "Set Page"));
        for (int id : {101, 201, 301})
            SendItemMessage(id, EM_LIMITTEXT, 256);
        m_tree = GetDlgItem(1131);
        ::SetWindowSubclass(m_tree, &TreeProc, 1, reinterpret_cast<DWORD_PTR>(this));
        m_images = ImageList_Create(26, 18, ILC_MASK | ILC_COLOR32, 3, 0);
        for (int id : {IDI_PAGE_STATE_HIDDEN, IDI_PAGE_STATE_DISPLAY, IDI_PAGE_STATE_BOTH}) {
            HICON icon = static_cast<HICON>(
                ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, 26, 18, 0));
            ImageList_AddIcon(m_images, icon);
            if (icon) ::DestroyIcon(icon);
        }
        TreeView_SetImageList(m_tree, m_images, TVSIL_NORMAL);
        TreeView_SetIndent(m_tree, 29);  // one level is 29 pixels: the click zones count on it
        FillTree();
        ShowRecord(m_current);
        return TRUE;
    }

    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
        handled = FALSE;
        ::RemoveWindowSubclass(m_tree, &TreeProc, 1);
        if (m_images) ImageList_Destroy(m_images);
        m_images = nullptr;
        g_editDialog = nullptr;
        return 0;
    }

    // The legend: a framed white box with the two state icons and texts.
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL& handled) {
        handled = FALSE;
        ::DefWindowProcA(m_hWnd, WM_PAINT, 0, 0);
        HDC dc = ::GetDC(m_hWnd);
        RECT box = ItemRect(1153);
        ::SelectObject(dc, ::GetStockObject(WHITE_BRUSH));
        ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
        ::Rectangle(dc, box.left, box.top, box.right, box.bottom);
        ::SetBkMode(dc, TRANSPARENT);
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)));
        const struct {
            int id, image;
            const char* text;
        } kLegend[] = {{510, 2, "表示/検出(ﾏｳｽ左ﾎﾞﾀﾝで切替)"}, {511, 1, "表示のみ(ﾏｳｽ右ﾎﾞﾀﾝで切替)"}};
        for (const auto& l : kLegend) {
            RECT rc = ItemRect(l.id);
            ImageList_Draw(m_images, l.image, dc, rc.left - 30, rc.top - 2, ILD_TRANSPARENT);
            ::TextOutA(dc, rc.left, rc.top, l.text, static_cast<int>(std::strlen(l.text)));
        }
        ::ReleaseDC(m_hWnd, dc);
        return 0;
    }

    RECT ItemRect(int id) const {
        RECT rc = {};
        if (HWND item = GetDlgItem(id)) {
            ::GetWindowRect(item, &rc);
            ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
        }
        return rc;
    }

    void FillTree() {
        TreeView_DeleteAllItems(m_tree);
        HTREEITEM last = TVI_ROOT;
        for (int i = 0; i < PageEditRecordCount(); ++i) {
            PageEditRecord* r = PageEditRecordAt(i);
            HTREEITEM parent = TVI_ROOT;
            if (i > 0) {
                parent = last;
                for (int k = 0; k < i; ++k)
                    if (PageEditRecordAt(k)->page == r->parent) parent = PageEditRecordAt(k)->item;
            }
            TVINSERTSTRUCTA ins = {};
            ins.hParent = parent;
            ins.hInsertAfter = TVI_LAST;
            ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
            ins.item.pszText = r->title;
            ins.item.iImage = ins.item.iSelectedImage = PageStateIconIndex(r->flags);
            ins.item.lParam = r->key;
            r->item = reinterpret_cast<HTREEITEM>(::SendMessageA(m_tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
            last = r->item;
        }
        for (int i = 0; i < PageEditRecordCount(); ++i)
            TreeView_Expand(m_tree, PageEditRecordAt(i)->item, TVE_EXPAND);
        m_filling = true;
        TreeView_SelectItem(m_tree, PageEditRecordAt(m_current)->item);
        m_filling = false;
    }

    void ShowRecord(int index) {
        PageEditRecord* r = PageEditRecordAt(index);
        if (!r) return;
        for (int id : {101, 201, 301, 401, 501, 800, 801, 1131, 7000, 7001, 7002, 7003})
            EnableItem(id, true);
        const bool placeable = r->level == 1;
        for (int id : {402, 1049, 804, 805, 806, 7004, 13})
            EnableItem(id, placeable);
        m_fields.Show(*r);
        SetItemText(102, r->fileName);
        SetItemText(402, ScaleText(r->factorX).c_str());
        SetItemText(1049, index == 0 ? "1" : ScaleText(r->factorY).c_str());
        double x = 0, y = 0;
        std::memcpy(&x, r->origin, 8);
        std::memcpy(&y, r->origin + 8, 8);
        SetItemText(804, Format("%lg", x).c_str());
        SetItemText(805, Format("%lg", y).c_str());
        SetItemText(806, Format("%lg", r->angle / kPi * 180.0).c_str());
        ShowItem(1154, r->kind == 1);
        SetCheck(1066, (r->flags & kPageFlagExternalRef) != 0);
    }

    bool ReadRecord() {
        PageEditRecord* r = PageEditRecordAt(m_current);
        if (!r) return false;
        DbcsCopy(r->fileName, sizeof r->fileName, GetItemText(102).c_str());
        PageEditRecord edited = *r;
        if (!m_fields.Read(&edited)) return false;
        if (edited.level == 1) m_fields.ReadPlacement(&edited);
        if (IsChecked(1066))
            edited.flags |= kPageFlagExternalRef;
        else
            edited.flags &= ~kPageFlagExternalRef;
        *r = edited;
        if (r->item) {
            TVITEMA item = {};
            item.mask = TVIF_TEXT;
            item.hItem = r->item;
            item.pszText = r->title;
            ::SendMessageA(m_tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
        return true;
    }

    int RecordOfItem(HTREEITEM item) const {
        for (int i = 0; i < PageEditRecordCount(); ++i)
            if (PageEditRecordAt(i)->item == item) return i;
        return -1;
    }

    void MakeCurrent(int index) {
        if (index < 0 || index == m_current) return;
        m_current = index;
        ShowRecord(index);
    }

    LRESULT OnTreeNotify(int, LPNMHDR header, BOOL& handled) {
        if (header->code != TVN_SELCHANGEDA && header->code != TVN_SELCHANGEDW) {
            handled = FALSE;
            return 0;
        }
        if (m_filling) return 0;
        const auto* change = reinterpret_cast<const NMTREEVIEWA*>(header);
        ReadRecord();
        MakeCurrent(RecordOfItem(change->itemNew.hItem));
        return 0;
    }

    void SetItemImage(PageEditRecord* r) {
        TVITEMA item = {};
        item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        item.hItem = r->item;
        item.iImage = item.iSelectedImage = PageStateIconIndex(r->flags);
        ::SendMessageA(m_tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }

    // A press on the tree: true when the press is used up here.
    bool OnTreePress(UINT msg, LPARAM lParam) {
        ReadRecord();
        TVHITTESTINFO hit = {};
        hit.pt = {PressX(lParam), PressY(lParam)};
        HTREEITEM item = TreeView_HitTest(m_tree, &hit);
        const int index = RecordOfItem(item);
        if (index < 0) return false;
        PageEditRecord* r = PageEditRecordAt(index);
        const int zone = PageTreeZone(hit.pt.x + ::GetScrollPos(m_tree, SB_HORZ), r->level + 1);
        const bool right = msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK;
        const bool dbl = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK;
        MakeCurrent(index);
        if (zone == 1) {
            r->flags = TogglePageStateFlags(r->flags, right ? 1 : 0);
            SetItemImage(r);
            if (right) TreeView_SelectItem(m_tree, item);
            return dbl;
        }
        if (zone == 2) {
            const bool onText = (hit.flags & (TVHT_ONITEMLABEL | TVHT_ONITEMICON)) != 0;
            if (dbl && !onText) {
                TreeView_Expand(m_tree, item, TVE_TOGGLE);
                return true;
            }
            if (right || !onText) TreeView_SelectItem(m_tree, item);
        }
        return false;
    }

    static LRESULT CALLBACK TreeProc(HWND tree, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
        switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
            if (reinterpret_cast<CPageEditDlg*>(self)->OnTreePress(msg, lParam)) return 0;
            break;
        default: break;
        }
        return ::DefSubclassProc(tree, msg, wParam, lParam);
    }

    LRESULT OnFieldCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
        handled = m_fields.OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    }

    LRESULT OnOK(WORD, WORD, HWND, BOOL&) {
        if (PageEditRecordCount() == 0) {
            EndDialog(0);
            return 0;
        }
        if (ReadRecord()) EndDialog(1);
        return 0;
    }
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&) {
        EndDialog(0);
        return 0;
    }
    LRESULT OnRefer(WORD, WORD, HWND, BOOL&) {
        if (!ReadRecord()) return 0;
        g_referFlag = true;
        EndDialog(1);
        return 0;
    }

    PageFields m_fields;
    HWND m_tree = nullptr;
    HIMAGELIST m_images = nullptr;
    int m_current = 0;
    bool m_filling = false;

public:
    int Current() const { return m_current; }
};

// The placement of the current page from the module of command 5960.
// 1 when the module gave one (stored in the record).
int TakePlacementFromModule(PageEditRecord* r) {
    char line[MAX_PATH] = "";
    CCadAppCmd app;
    std::string path, args;
    HMODULE module = GetCmdLineOfId(5960, line, sizeof line) ? app.LoadCmdModule(5960, path, args) : nullptr;
    if (!module) {
        if (HostHooks().showErrorMessage) HostHooks().showErrorMessage(5118);
        return 0;
    }
    typedef int(__stdcall * GetPageTranProc)(HWND, int, double*, double*, void*);
    auto proc = reinterpret_cast<GetPageTranProc>(::GetProcAddress(module, "GetPageTran"));
    if (!proc) {
        app.ReleaseModule();
        return 0;
    }
    double angle = r->angle, factor = r->factorX;
    unsigned char origin[24];
    std::memcpy(origin, r->origin, sizeof origin);
    Executor().serviceCmdWaiting = 1;
    const int result = proc(CmdMainFrame(), r->page, &angle, &factor, origin);
    Executor().serviceCmdWaiting = 0;
    app.ReleaseModule();
    if (result != 1) return 0;
    r->angle = angle;
    r->factorX = factor;
    std::memcpy(r->origin, origin, sizeof origin);
    return 1;
}

void ClearPrompt() {
    if (HWND frame = CmdMainFrame()) ::SendMessageA(frame, UM_SET_PROMPT, 0, reinterpret_cast<LPARAM>(""));
}

// ---------------------------------------------------------------------------
// Add-page dialog.
class CAddPageDlg : public CDialogBase<CAddPageDlg> {
public:
    CAddPageDlg() : CDialogBase<CAddPageDlg>(IDD_ADD_PAGE_NAME), m_fields(this) {}

    BEGIN_MSG_MAP(CAddPageDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCloseCmd)
    MESSAGE_HANDLER(WM_COMMAND, OnFieldCommand)
    CHAIN_MSG_MAP(CDialogBase<CAddPageDlg>)
    END_MSG_MAP()

    PageEditRecord* m_added = nullptr;

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
        handled = FALSE;
        RECT work, self;
        GetWindowMonitorRect(m_hWnd, &work);
        ::GetWindowRect(m_hWnd, &self);
        ::SetWindowPos(m_hWnd, nullptr, (work.left + work.right - (self.right - self.left)) / 2,
                       (work.top + work.bottom - (self.bottom - self.top)) / 2, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::SetWindowTextA(m_hWnd, Text("ページ追加", "Add Page"));
        m_fields.SetLabels();
        ShowItem(901, false);
        ShowItem(902, false);
        m_fields.FillLists();
        EnableItem(802, false);
        EnableItem(803, false);
        const AddPageDefaults& d = g_defaults;
        SendItemMessage(501, CB_SETCURSEL, d.paper);
        SetItemText(401, ScaleText(d.scale).c_str());
        SetItemText(800, Format("%g", d.paperW).c_str());
        SetItemText(801, Format("%g", d.paperH).c_str());
        SetItemText(802, Format("%lg", d.paperW / d.scale).c_str());
        SetItemText(803, Format("%lg", d.paperH / d.scale).c_str());
        SetItemText(101, d.title.c_str());
        SetItemText(201, d.author.c_str());
        SetItemText(301, d.remarks.c_str());
        EnableItem(800, d.paper == kCustomPaperRow);
        EnableItem(801, d.paper == kCustomPaperRow);
        for (int id : {804, 805, 806})
            SetItemText(id, "0");
        SetItemText(402, "1");
        SetItemText(1049, "1");
        return TRUE;
    }

    LRESULT OnFieldCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
        handled = m_fields.OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    }

    LRESULT OnOK(WORD, WORD, HWND, BOOL&) {
        PageEditRecord r;
        r.factorX = r.factorY = 1.0;
        if (!m_fields.Read(&r)) return 0;
        m_added = AppendNewPageRecord(r);
        EndDialog(m_added ? 1 : 0);
        return 0;
    }

    PageFields m_fields;
};

// ---------------------------------------------------------------------------
// Page manager.
class CPageAppendDlg : public CDialogBase<CPageAppendDlg> {
public:
    CPageAppendDlg() : CDialogBase<CPageAppendDlg>(IDD_PAGE_APPEND_NAME) {}

    BEGIN_MSG_MAP(CPageAppendDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
    MESSAGE_HANDLER(WM_MEASUREITEM, OnMeasureItem)
    COMMAND_ID_HANDLER(13, OnAddExternalRef)
    COMMAND_ID_HANDLER(14, OnAddPage)
    COMMAND_ID_HANDLER(15, OnDeletePages)
    COMMAND_ID_HANDLER(IDOK, OnCloseCmd)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    CHAIN_MSG_MAP(CDialogBase<CPageAppendDlg>)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
        handled = FALSE;
        g_appendDialog = m_hWnd;
        ::SetWindowTextA(m_hWnd, Text("ページ管理（指定後 [OK] ｸﾘｯｸしてください。）", "APD_PAGE"));
        SetItemText(13, Text("外部参照追加", "ADD OutRead"));
        SetItemText(14, Text("ページ追加", "ADD Page"));
        SetItemText(15, Text("ページ削除", "Del Page"));
        for (int i = 0; i < PageEditRecordCount(); ++i)
            SendItemMessage(1146, LB_ADDSTRING, 0, 0);
        return TRUE;
    }
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
        handled = FALSE;
        g_appendDialog = nullptr;
        return 0;
    }
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&) {
        EndDialog(0);
        return 0;
    }

    LRESULT OnMeasureItem(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
        auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (m->CtlID != 1146) {
            handled = FALSE;
            return 0;
        }
        m->itemHeight = 18;
        return TRUE;
    }

    LRESULT OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
        const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (d->CtlID != 1146) {
            handled = FALSE;
            return 0;
        }
        if (!(d->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) || static_cast<int>(d->itemID) < 0) return TRUE;
        const PageEditRecord* r = PageEditRecordAt(static_cast<int>(d->itemID));
        if (!r) return TRUE;
        const bool selected = (d->itemState & ODS_SELECTED) != 0;
        HDC dc = d->hDC;
        RECT rc = d->rcItem;
        ::FillRect(dc, &rc, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        std::string text(2 * r->level, ' ');
        SIZE indent = {};
        ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &indent);
        text += (r->flags & kPageFlagExternalRef) ? r->fileName : r->title;
        if (r->level > 0) {
            // The connector: down from the parent's line, then right to the text.
            const int textX = rc.left + 5 + indent.cx, middle = (rc.top + rc.bottom) / 2;
            HPEN pen = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_WINDOWTEXT));
            HGDIOBJ old = ::SelectObject(dc, pen);
            ::MoveToEx(dc, textX - 8, rc.top, nullptr);
            ::LineTo(dc, textX - 8, middle);
            ::LineTo(dc, textX - 2, middle);
            ::SelectObject(dc, old);
            ::DeleteObject(pen);
        }
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        ::TextOutA(dc, rc.left + 5, rc.top + 2, text.c_str(), static_cast<int>(text.size()));
        RECT square = {rc.left + 670, rc.top + 3, rc.left + 682, rc.bottom - 3};
        HBRUSH brush = ::CreateSolidBrush((r->flags & kPageFlagExternalRef) ? RGB(0, 255, 0) : ::GetSysColor(COLOR_WINDOW));
        ::FillRect(dc, &square, brush);
        ::DeleteObject(brush);
        return TRUE;
    }

    bool RefuseWhenFull() {
        if (PageEditRecordCount() < 255) return false;
        ZavMessageBox(m_hWnd, Text("これ以上ページは追加できません。", "Not Add Page."), Text("ページ追加", "Add Page"),
                      MB_OK);
        return true;
    }

    void SyncList() {
        ComputePageEditLevels(true);
        SendItemMessage(1146, LB_RESETCONTENT);
        for (int i = 0; i < PageEditRecordCount(); ++i)
            SendItemMessage(1146, LB_ADDSTRING, 0, 0);
    }

    LRESULT OnAddExternalRef(WORD, WORD, HWND, BOOL&) {
        if (RefuseWhenFull()) return 0;
        if (HostHooks().runFileOpenDialog) HostHooks().runFileOpenDialog(m_hWnd, 20);
        SyncList();
        return 0;
    }

    LRESULT OnAddPage(WORD, WORD, HWND, BOOL&) {
        if (RefuseWhenFull()) return 0;
        CAddPageDlg add;
        add.DoModal(m_hWnd);
        SyncList();
        return 0;
    }

    LRESULT OnDeletePages(WORD, WORD, HWND, BOOL&) {
        if (ZavMessageBox(m_hWnd, Text("ページを削除します。\nよろしいですか？", "Delete Page OK?"),
                          Text("ページ削除", "Del Page"), MB_OKCANCEL) != IDOK)
            return 0;
        const int count = static_cast<int>(SendItemMessage(1146, LB_GETSELCOUNT));
        std::vector<int> selected(count > 0 ? count : 0);
        if (count > 0) SendItemMessage(1146, LB_GETSELITEMS, count, reinterpret_cast<LPARAM>(selected.data()));
        AskToSaveChangedReferences(selected);
        DeletePageEditRecords(selected);
        SyncList();
        return 0;
    }

    // A changed external-reference page is named before it goes; the page
    // is deleted whatever the answer, the referenced file stays as it is.
    void AskToSaveChangedReferences(const std::vector<int>& selected) {
        DbHeader* db = GetActiveViewDb();
        if (!db) return;
        std::unique_ptr<PageRecord> rec(new PageRecord());
        for (int index : selected) {
            const PageEditRecord* r = PageEditRecordAt(index);
            if (!r || !r->fileName[0] || !DAriGetPage(r->page, rec.get(), db) || rec->modified != 1) continue;
            char text[400];
            std::snprintf(text, sizeof text, Text("[%s]は変更されています。\n保存を行いますか？", "[%s]はChange.\nSave？"),
                          r->fileName);
            ZavMessageBox(m_hWnd, text, Text("保存", "Save"), MB_YESNO);
        }
    }
};

}  // namespace

HWND PageEditDialogWindow() { return g_editDialog; }
HWND PageAppendDialogWindow() { return g_appendDialog; }

int AppendExternalRefEntry(const char* fileName) {
    // The count is checked first: a full list, or one without a free page
    // number, takes nothing (a record for page 0 would replace the main page).
    if (!fileName || PageEditRecordCount() >= kMaxRecords) return 0;
    const int page = FirstFreePageNumber();
    if (page == 0) return 0;
    PageEditRecord* r = PageEditRecordAt(PageEditRecordCount());
    DbcsCopy(r->fileName, sizeof r->fileName, fileName);
    r->flags = kPageFlagExternalRef;
    r->page = page;
    r->factorX = r->factorY = 1.0;
    r->action = kPageActionAdd;
    if (g_appendDialog) ::SendDlgItemMessageA(g_appendDialog, 1146, LB_ADDSTRING, 0, 0);
    auto& kind = HostHooks().drawingTypeFromExtension;
    if (kind && kind(fileName) == 7) {
        char line[MAX_PATH];
        if (!GetCmdLineOfId(5105, line, sizeof line) && HostHooks().showErrorMessage) HostHooks().showErrorMessage(5118);
    }
    return 1;
}

int ExternalRefEntryCount() { return PageEditRecordCount(); }
void ClearExternalRefEntries() { FreePageEditRecords(); }

int RunPageEditDialog() {
    if (!GetActiveView()) return 0;
    BuildPageEditRecords();
    ClearPrompt();
    for (;;) {
        CPageEditDlg dlg;
        if (dlg.DoModal(GetActiveView()) != 1) return 0;
        if (!g_referFlag) break;
        PageEditRecord* r = PageEditRecordAt(dlg.Current());
        if (!TakePlacementFromModule(r)) return 0;
        ClearPrompt();
    }
    ApplyPageEditRecords();
    return 0;
}

int RunPageAppendDialog() {
    HWND view = GetActiveView();
    if (!view) return 0;
    BuildPageAppendRecords();
    CPageAppendDlg dlg;
    if (dlg.DoModal(view) == 1) {
        ApplyPageAppendRecords();
        RedrawAndCount();
    }
    ClearUndoElements(nullptr);
    if (HostHooks().showElementCount) HostHooks().showElementCount();
    return 0;
}
