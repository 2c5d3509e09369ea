// The application-panel commands (30700-30799):
//   PanelPage      open a docked page with every item kind, log each panel
//                  event until "完了" (id 9) is pushed, then log the values
//                  read back and close the page. With "mirror" in the
//                  arguments the page's copy is offered in the right-click
//                  pop-up, and pages 2 to 4 are opened too, page 4 holding an
//                  item of its own that the copy must leave alone.
//   PanelFloat     open a page taller than 79 pixels (a floating form), wait
//                  for one push, log it and close the page
//   PanelMenuPick  log that a right-click menu entry started it
//   PanelMenuItems register right-click entries (two of kind 1 around a
//                  separator and a column break, then fill the table), log
//                  the answers, offer them and log each panel event until
//                  the second entry is chosen
//   PanelCalc      a docked page whose edit and combo items take their
//                  numbers on the calculator; log each panel event until
//                  "完了" (id 9) is pushed, then log both texts
#include <cstdio>
#include <cstring>

#include "command/host_messages.h"
#include "modules/test_cmd/test_cmd.h"

namespace testcmd {

namespace {

// The item request of the item messages (a layout shared with the host).
#pragma pack(push, 1)
struct ItemRequest {
    int32_t page;  // -100: the page shown now
    int32_t id;
    char* text;
    int32_t reserved;
    int32_t set;
    intptr_t value;
    uint8_t gap[16];
    int32_t mode;
};
#pragma pack(pop)
static_assert(sizeof(ItemRequest) == 44, "item request layout");

int Add(UINT msg, int page, int id, const char* text, int x, int y, int w, int h, intptr_t initial = 0, int extra = 0) {
    CmdRequest r = {};
    r.word6c = page;
    r.word70 = static_cast<uint32_t>(id);
    r.word74 = reinterpret_cast<uint32_t>(text);
    r.itemX = x;
    r.itemY = y;
    r.itemWidth = w;
    r.itemHeight = h;
    r.panelKind = extra;
    *reinterpret_cast<intptr_t*>(reinterpret_cast<char*>(&r) + 0x88) = initial;
    return static_cast<int>(Host(msg, 0, reinterpret_cast<LPARAM>(&r)));
}

int Show(int page, int width, int height) {
    CmdRequest r = {};
    r.word6c = page;
    r.word70 = static_cast<uint32_t>(width);
    r.word74 = static_cast<uint32_t>(height);
    return static_cast<int>(Host(UM_PBOX_SHOW_PAGE, 0, reinterpret_cast<LPARAM>(&r)));
}

int ReadInt(UINT msg, int page, int id) {
    int32_t v = -1;
    ItemRequest q = {};
    q.page = page;
    q.id = id;
    q.value = reinterpret_cast<intptr_t>(&v);
    Host(msg, 0, reinterpret_cast<LPARAM>(&q));
    return v;
}

int ReadText(UINT msg, int page, int id, char* out) {
    ItemRequest q = {};
    q.page = page;
    q.id = id;
    q.text = out;
    out[0] = '\0';
    return static_cast<int>(Host(msg, 0, reinterpret_cast<LPARAM>(&q)));
}

// Waits for panel events, logging each, until the push item `endId`.
void WaitPanel(int endId) {
    Host(UM_CLEAR_EVENT_MASK);
    Host(UM_ADD_EVENT_MASK, 0, CMD_WANT_PANEL | CMD_WANT_CANCEL);
    CmdRequest req = {};
    for (;;) {
        const LRESULT r = Host(UM_WAIT_CMD_EVENT, 0, reinterpret_cast<LPARAM>(&req));
        if (r == CMD_RES_ENDED || r == CMD_RES_QUIT || r == CMD_RES_CANCEL) {
            Log("TESTCMD pend %ld", static_cast<long>(r));
            return;
        }
        Log("TESTCMD pevent %ld %d %d %d", static_cast<long>(r), req.panelKind, req.panelValue, req.panelExtra);
        if (r == CMD_RES_PANEL && req.panelKind == 1 && req.panelValue == endId) return;
    }
}

int PanelPage(const char* args) {
    const bool mirror = args && strstr(args, "mirror");
    const int page = static_cast<int>(Host(UM_PBOX_OPEN_PAGE, 0, reinterpret_cast<LPARAM>("テスト頁")));
    int own = 0;
    if (mirror) {
        Host(UM_PBOX_OPEN_PAGE, 0, reinterpret_cast<LPARAM>("二"));
        Host(UM_PBOX_OPEN_PAGE, 0, reinterpret_cast<LPARAM>("三"));
        own = static_cast<int>(Host(UM_PBOX_OPEN_PAGE, 0, reinterpret_cast<LPARAM>("四")));
        Add(UM_PBOX_ADD_TEXT, own, 77, "自分の頁", 0, 0, 60, 20);
        Add(UM_PBOX_ADD_CHECK, own, 3, "別物", 0, 22, 60, 20, 1);
    }
    Add(UM_PBOX_ADD_TEXT, page, 1, "種類", 2, 4, 30, 22);
    Add(UM_PBOX_ADD_BUTTON, page, 2, "実行", 34, 4, 40, 22);
    Add(UM_PBOX_ADD_CHECK, page, 3, "両側", 76, 4, 40, 22, 0);
    Add(UM_PBOX_ADD_RADIO, page, 4, "左,中,右", 118, 4, 78, 22, 3);
    Add(UM_PBOX_ADD_LIST, page, 5, "赤,緑,青", 2, 30, 50, 22, 0, 0);
    Add(UM_PBOX_ADD_EDIT, page, 6, "10", 54, 30, 44, 22);
    Add(UM_PBOX_ADD_COMBO, page, 7, "1,2,5", 100, 30, 56, 22, reinterpret_cast<intptr_t>("2"));
    Add(UM_PBOX_ADD_BUTTON, page, 9, "完了", 158, 30, 38, 22);
    ItemRequest label = {};
    label.page = page;
    label.id = 6;
    label.text = const_cast<char*>("panel_edit");
    label.set = 1;
    Host(UM_PBOX_SET_LABEL, 0, reinterpret_cast<LPARAM>(&label));
    const int shown = Show(page, 200, 60);
    if (mirror) Host(UM_RPMENU_USE_ITEMS, 0, 1);
    Log("TESTCMD ppage %d %d %d", page, shown, own);
    WaitPanel(9);
    char edit[512], combo[512], mine[512];
    ReadText(UM_PBOX_GET_ITEM_TEXT, page, 6, edit);
    ReadText(UM_PBOX_GET_COMBO_TEXT, page, 7, combo);
    Log("TESTCMD pvalues %d %d %d", ReadInt(UM_PBOX_STATE, page, 3), ReadInt(UM_PBOX_COMBO_SEL, page, 4),
        ReadInt(UM_PBOX_COMBO_SEL, page, 5));
    Log("TESTCMD ptext edit=%s combo=%s", edit, combo);
    if (mirror) {
        const int found = ReadText(UM_PBOX_GET_ITEM_TEXT, own, 77, mine);
        Log("TESTCMD pown %d %d %s", found, ReadInt(UM_PBOX_STATE, own, 3), mine);
        for (int p = own; p > page; --p)
            Host(UM_PBOX_CLOSE_PAGE, 0, p);
    }
    Host(UM_PBOX_CLOSE_PAGE, 0, page);
    return 0;
}

int PanelFloat() {
    const int page = static_cast<int>(Host(UM_PBOX_OPEN_PAGE, 0, reinterpret_cast<LPARAM>("浮動")));
    Add(UM_PBOX_ADD_BUTTON, page, 1, "閉じる", 4, 20, 60, 24);
    Add(UM_PBOX_ADD_BUTTON, page, 2, "次へ", 70, 20, 60, 24);
    Show(page, 140, 90);
    Show(page, 140, 90);  // shown again: the items stay where they were
    Log("TESTCMD pfloat %d", page);
    WaitPanel(2);
    Host(UM_PBOX_CLOSE_PAGE, 0, page);
    return 0;
}

long AddMenuItem(int kind, int id, const char* text) {
    CmdRequest r = {};
    r.w.text = reinterpret_cast<uint32_t>(text);
    r.panelKind = kind;
    r.panelExtra = id;
    return static_cast<long>(Host(UM_RPMENU_ADD_ITEM, 0, reinterpret_cast<LPARAM>(&r)));
}

int PanelMenuItems() {
    Host(UM_RPMENU_CLEAR_ITEMS);
    const long first = AddMenuItem(1, 501, "一つ目");  // entry 0: command 1260
    AddMenuItem(2, 0, nullptr);
    AddMenuItem(4, 0, nullptr);
    AddMenuItem(1, 502, "二つ目");  // entry 3: command 1263
    long last = 0;
    for (int i = 4; i < 39; ++i)
        last = AddMenuItem(1, 600 + i, "埋め");
    const long over = AddMenuItem(1, 999, "溢れ");
    Host(UM_RPMENU_USE_ITEMS, 0, 1);
    Log("TESTCMD prmitems %ld %ld %ld", first, last, over);
    WaitPanel(502);
    return 0;
}

void SetCalcMode(int page, int id, int mode, const char* title) {
    ItemRequest q = {};
    q.page = page;
    q.id = id;
    q.text = const_cast<char*>(title);
    q.set = 1;
    q.mode = mode;
    Host(UM_PBOX_CALC_MODE, 0, reinterpret_cast<LPARAM>(&q));
}

int PanelCalc() {
    const int page = static_cast<int>(Host(UM_PBOX_OPEN_PAGE, 0, reinterpret_cast<LPARAM>("電卓頁")));
    Add(UM_PBOX_ADD_EDIT, page, 6, "10", 2, 4, 60, 22);
    Add(UM_PBOX_ADD_COMBO, page, 7, "1,2,5", 64, 4, 70, 22, reinterpret_cast<intptr_t>("2"));
    Add(UM_PBOX_ADD_BUTTON, page, 9, "完了", 136, 4, 40, 22);
    SetCalcMode(page, 6, 1, "長さ");
    SetCalcMode(page, 7, 1, "幅");
    ItemRequest ask = {};
    ask.page = -100;
    Log("TESTCMD pcalc %d %d %d", page, Show(page, 180, 40),
        static_cast<int>(Host(UM_PBOX_CALC_MODE, 0, reinterpret_cast<LPARAM>(&ask))));
    WaitPanel(9);
    char edit[512], combo[512];
    ReadText(UM_PBOX_GET_ITEM_TEXT, page, 6, edit);
    ReadText(UM_PBOX_GET_COMBO_TEXT, page, 7, combo);
    Log("TESTCMD ptext edit=%s combo=%s", edit, combo);
    Host(UM_PBOX_CLOSE_PAGE, 0, page);
    return 0;
}

}  // namespace

bool RunPanelCommand(const char* word, const char* args, int* result) {
    if (Is(word, "PanelPage")) {
        *result = PanelPage(args);
        return true;
    }
    if (Is(word, "PanelFloat")) {
        *result = PanelFloat();
        return true;
    }
    if (Is(word, "PanelMenuItems")) {
        *result = PanelMenuItems();
        return true;
    }
    if (Is(word, "PanelCalc")) {
        *result = PanelCalc();
        return true;
    }
    if (Is(word, "PanelMenuPick")) {
        Log("TESTCMD pmenu picked");
        *result = 0;
        return true;
    }
    return false;
}

}  // namespace testcmd
