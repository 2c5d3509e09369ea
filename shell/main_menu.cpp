// Menu bar from "ZavIrurer.mnu".
#include "shell/main_menu.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/csv_parser.h"
#include "base/dbcs.h"
#include "command/cad_app_cmd.h"
#include "command/command_ids.h"
#include "shell/shell_seams.h"
#include "view/db_ext.h"
#include "view/input_scale.h"
#include "view/view_data.h"
#include "view/view_table.h"
#include "shell/text_lines.h"

HMENU WindowPopupMenu = nullptr;
std::function<int(int)> MenuModuleExistsHook;

namespace {

const char kWindowMenuText[] = "ｳｨﾝﾄﾞｳ(&W)";
const int kHeadingId = ID_MENU_HEADING;
const int kCascadeId = ID_SVC_CASCADE;

// Removes every occurrence of `word` (DBCS-aware: a match never starts on
// a trail byte).
std::string RemoveWord(const std::string& text, const char* word) {
    std::string out;
    size_t len = std::strlen(word);
    for (size_t i = 0; i < text.size();) {
        if (text.compare(i, len, word) == 0) {
            i += len;
            continue;
        }
        size_t n = DbcsCharLength(text.c_str() + i);
        out.append(text, i, n ? n : 1);
        i += n ? n : 1;
    }
    return out;
}

std::string TrimBlanksAndQuotes(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '"'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '"'))
        --e;
    return s.substr(b, e - b);
}

// Menu texts may write the tab before a shortcut hint as "\t".
std::string ExpandTab(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size();) {
        size_t n = DbcsCharLength(s.c_str() + i);
        if (n == 1 && s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 't') {
            out += '\t';
            i += 2;
            continue;
        }
        out.append(s, i, n ? n : 1);
        i += n ? n : 1;
    }
    return out;
}

bool Contains(const std::string& text, const char* part) {
    // Both are Shift_JIS; compare at character starts only.
    size_t len = std::strlen(part);
    for (size_t i = 0; i + len <= text.size();) {
        if (text.compare(i, len, part) == 0) return true;
        size_t n = DbcsCharLength(text.c_str() + i);
        i += n ? n : 1;
    }
    return false;
}

std::string MenuItemText(HMENU menu, int pos) {
    char buf[1025] = {};
    GetMenuStringA(menu, pos, buf, sizeof buf, MF_BYPOSITION);
    return buf;
}

}  // namespace

struct MenuBuilder {
    CMainMenu& owner;
    FILE* f;

    // Reads items into `menu` until an "END" line (or the end of the file).
    void ReadLevel(HMENU menu) {
        std::string line;
        HMENU pendingPopup = nullptr;  // declared last on this level
        while (ReadDefLine(f, line)) {
            const char* t = SkipBlanks(line.c_str());
            if (IsCommentLine(t)) continue;
            if (StartsWith(t, "POPUP")) {
                std::string rest = TrimBlanksAndQuotes(RemoveWord(t, "POPUP"));
                CCsvParser csv(rest);
                HMENU popup = CreatePopupMenu();
                AppendMenuA(menu, MF_POPUP | MF_STRING, (UINT_PTR)popup, ExpandTab(csv.GetField(0)).c_str());
                pendingPopup = popup;
            } else if (StartsWith(t, "BEGIN")) {
                if (pendingPopup) {
                    HMENU popup = pendingPopup;
                    pendingPopup = nullptr;
                    ReadLevel(popup);
                }
            } else if (StartsWith(t, "END")) {
                return;
            } else if (StartsWith(t, "MENUITEM")) {
                std::string rest = RemoveWord(t, "MENUITEM");
                if (Contains(rest, "SEPARATOR")) {
                    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
                    continue;
                }
                CCsvParser csv(rest);
                std::string text = ExpandTab(csv.GetField(0));
                int id = std::atoi(csv.GetField(1).c_str());
                int flag = csv.GetCount() > 2 ? std::atoi(csv.GetField(2).c_str()) : 0;
                UINT state = MF_STRING;
                if (id == kHeadingId) {
                    state |= MF_GRAYED;
                } else if (flag != -1 && !(MenuModuleExistsHook ? MenuModuleExistsHook(id) : CmdModuleExists(id))) {
                    state |= MF_GRAYED;
                }
                AppendMenuA(menu, state, (UINT_PTR)(UINT)id, text.c_str());
                owner.m_itemIds.push_back(id);
                if (id == kCascadeId) {
                    owner.m_hWindowPopup = menu;
                    WindowPopupMenu = menu;
                }
            }
        }
    }
};

CMainMenu::~CMainMenu() {
    if (m_hMenu && IsMenu(m_hMenu)) DestroyMenu(m_hMenu);
}

int CMainMenu::LoadDefault() { return Load("ZavIrurer.mnu"); }

int CMainMenu::Load(const char* fileName) {
    if (m_hMenu) return 1;
    std::string path = (std::strchr(fileName, '\\') || std::strchr(fileName, ':')) ? std::string(fileName)
                                                                                   : ShellExeDir() + "\\" + fileName;
    FILE* f = std::fopen(path.c_str(), "rt");
    if (!f) return -1;
    HMENU bar = CreateMenu();
    if (!bar) {
        std::fclose(f);
        return -1;
    }
    MenuBuilder builder{*this, f};
    // The top level ends at its "END" or at the end of the file; a further
    // top-level "END" (after a "BEGIN" that had no "POPUP") ends reading.
    builder.ReadLevel(bar);
    std::fclose(f);
    m_hMenu = bar;
    FindWindowMenu();
    return 0;
}

void CMainMenu::FindWindowMenu() {
    int count = GetMenuItemCount(m_hMenu);
    for (int i = 0; i < count; ++i) {
        std::string text = MenuItemText(m_hMenu, i);
        if (Contains(text, kWindowMenuText)) {
            m_windowMenuPos = count - i;
            m_windowMenuName = text;
            return;
        }
    }
}

HMENU FindWindowPopup(HMENU menuBar, int posFromEnd, const char* name) {
    int count = GetMenuItemCount(menuBar);
    if (count <= 0) return nullptr;
    if (posFromEnd < 1 || posFromEnd > count) posFromEnd = 2;
    int pos = count - posFromEnd;
    std::string text = MenuItemText(menuBar, pos);
    bool match = (name && *name) ? text == name : Contains(text, kWindowMenuText);
    return match ? GetSubMenu(menuBar, pos) : nullptr;
}

void SetMdiWindowMenu(HWND mdiClient, HMENU menuBar, int posFromEnd, const char* name) {
    HMENU popup = FindWindowPopup(menuBar, posFromEnd, name);
    // A maximised drawing window adds its buttons to the bar, which moves the
    // Window menu's place from the end: the popup that holds the cascade
    // command is the Window menu all the same.
    if (!popup && WindowPopupMenu && IsMenu(WindowPopupMenu)) popup = WindowPopupMenu;
    SendMessageA(mdiClient, WM_MDISETMENU, (WPARAM)menuBar, (LPARAM)popup);
    SendMessageA(mdiClient, WM_MDIREFRESHMENU, 0, 0);
    DrawMenuBar(GetParent(mdiClient));
}

MenuDrawingState GetMenuDrawingState() {
    MenuDrawingState s;
    HWND view = GetActiveView();
    s.hasView = view != nullptr;
    s.inputScaleOn = IsInputScaleActive() != 0;
    ViewData* data = view ? GetViewData(view) : nullptr;
    if (!data) return s;
    if (DbHeader* db = data->db) {
        s.canUndo = db->currentUndo != nullptr;
        s.canRedo = DAriIsRedo(db) != 0;
        DbExtRecord* ext = GetDbExtRecord(db);
        s.hasRasterImage = ext && ext->words[1] != 0;
    }
    // Paper space, model space or the frame view.
    s.displayOption = data->viewMode;
    s.overviewOn = data->overviewLevel != 0;
    return s;
}

void CMainMenu::UpdateItems(HMENU menu) {
    if (!menu) menu = m_hMenu;
    if (!menu) return;
    MenuDrawingState s = GetMenuDrawingState();
    auto enable = [&](UINT id, bool on) { EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
    auto check = [&](UINT id, bool on) { CheckMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED)); };
    enable(ID_SVC_HELP_FILE, true);
    enable(ID_SVC_UNDO, s.canUndo);
    enable(ID_SVC_REDO, s.canRedo);
    enable(ID_SVC_DRAWING_MEMO_DELETE, s.hasRasterImage);
    if (s.hasView) {
        bool modeOk = s.viewMode >= 1 && s.viewMode <= 3;
        for (int m = 1; m <= 3; ++m) {
            enable(ID_SVC_REDRAW + m, modeOk);
            check(ID_SVC_REDRAW + m, modeOk && s.viewMode == m);
        }
        check(ID_CMD_PAPER_SPACE, s.displayOption == 1);
        check(ID_CMD_MODEL_SPACE, s.displayOption == 0);
        check(ID_CMD_PAPER_MODEL_SPACE, s.displayOption == 2);
        enable(ID_CMD_PAPER_SPACE, true);
        enable(ID_CMD_MODEL_SPACE, true);
        enable(ID_CMD_PAPER_MODEL_SPACE, true);
        check(ID_SVC_LAYER_SPLIT, s.overviewOn);
        check(ID_SVC_OVERVIEW, s.overviewOn);
    } else {
        // Without a drawing there is no overview to show as on.
        check(ID_SVC_OVERVIEW, false);
    }
    check(ID_SVC_INPUT_SCALE, s.inputScaleOn);
}
