// The service commands that pick: highlight the elements inside rectangles,
// take an element's attributes, the mid point between two points, and
// delete an element after asking when it carries link information. Each
// hands the element search its own options and gives the saved ones back
// on every way out.
#include <algorithm>
#include <cstring>

#include "base/local_settings_ini.h"
#include "base/running_settings.h"
#include "cadlib/WmCadApiDb.h"
#include "command/command_system.h"
#include "command/executor.h"
#include "command/host_messages.h"
#include "command/mark_services.h"
#include "command/wait_loop.h"
#include "panels/panel_windows.h"
#include "shell/attribute_pickup.h"
#include "shell/cad_system.h"
#include "shell/service_cmds.h"
#include "shell/service_frame.h"
#include "shell/service_support.h"
#include "view/rubber_band.h"
#include "view/view_data.h"
#include "view/view_popups.h"
#include "view/view_table.h"
#include "win/message_box.h"

namespace {

HWND Frame() { return CmdMainFrame(); }

const int kKeep = 0x7fffffff;  // a word the command leaves as it was

// Saves the search options, and gives them back when it goes.
class SearchOptionsScope {
public:
    SearchOptionsScope() { SaveSearchOption(0, &m_saved); }
    ~SearchOptionsScope() { SetSearchOption(0, reinterpret_cast<LPARAM>(&m_saved)); }
    // The command's own values in the first words (kKeep leaves one).
    void Set(std::initializer_list<int> words) {
        SearchOptionRecord record;
        SaveSearchOption(0, &record);
        int i = 0;
        for (int w : words) {
            if (w != kKeep) record.words[i] = w;
            ++i;
        }
        SetSearchOption(0, reinterpret_cast<LPARAM>(&record));
    }

private:
    SearchOptionRecord m_saved = {};
};

void LockInput() {
    if (!Frame()) return;
    SendMessageA(Frame(), UM_ACTIVE_VIEW, 0, 0);
    SendMessageA(Frame(), UM_LOCK_INPUT_VIEW, 0, 0);
}

void UnlockInputView() {
    if (Frame()) SendMessageA(Frame(), UM_UNLOCK_INPUT_VIEW, 0, 0);
}

void DragTo(const double* pt) {
    ServiceDragState().view = Frame() ? reinterpret_cast<HWND>(SendMessageA(Frame(), UM_ACTIVE_VIEW, 0, 0)) : nullptr;
    DragRectangleCallback(pt[0], pt[1], pt[2]);
}

// The elements 1235 highlights; kept from one run to the next.
CadMark* g_highlight = nullptr;

void UnhighlightMark(bool destroy) {
    if (!g_highlight) return;
    SelectMarked(0, g_highlight);
    DrawMarkInViews(nullptr, -1, g_highlight);
    if (destroy) {
        DestroyMark(g_highlight);
        g_highlight = nullptr;
    }
}

bool HighlightEmpty() { return !g_highlight || GetMarkCount(g_highlight) == 0; }

void HighlightRect(const double* a, const double* b, SearchOptionsScope& options) {
    const double rect[4] = {std::min(a[0], b[0]), std::max(a[1], b[1]), std::max(a[0], b[0]), std::min(a[1], b[1])};
    options.Set({1, 0x87fff, -1, kKeep, 0xffffff});
    CadMark* found = GetElementsInRect(rect);
    PopupRefreshFlag = 1;
    if (!found) return;
    if (GetMarkCount(found) > 0) {
        if (!g_highlight) g_highlight = CreateMark(GetActiveViewDb());
        for (void* e = GetNextMark(found, nullptr); e; e = GetNextMark(found, e))
            if (!ChkMark(g_highlight, e)) SetMark(g_highlight, e);
        SelectMarked(1, g_highlight);
        DrawMarkInViews(nullptr, 2, found);
    }
    DestroyMark(found);
}

// The confirmation of an attribute pick-up. The tool panel's pick-up
// dialog is not there yet: until it is, the pick itself confirms, without
// the layer.
int ConfirmAttributePickUp(const StoredElement* element, int* takeLayer) {
    *takeLayer = 0;
    return PickUpElementAttributes(element, takeLayer);
}

}  // namespace

int ServiceHighlightInRects() {
    UnhighlightMark(true);
    if (Executor().serviceCmdWaiting == 1) {
        SetServiceName(nullptr);
        SetServicePrompt(nullptr);
    }
    if (!GetActiveView()) return 1;
    SearchOptionsScope options;
    ServiceFrame frame(1235);
    const uint32_t first = CMD_WANT_CANCEL | CMD_WANT_SNAP | CMD_WANT_PANEL;
    const uint32_t second = first | CMD_WANT_TRACK;
    frame.Begin("", ServiceMessage(5000), first);
    bool secondStage = false;
    double start[3] = {0, 0, 0};
    for (;;) {
        const int r = frame.Wait();
        double pt[3];
        frame.Point(pt);
        if (r == CMD_RES_ENDED || r == CMD_RES_QUIT || r == CMD_RES_PANEL) break;
        if (r == CMD_RES_CANCEL) {
            if (secondStage) {
                secondStage = false;
                frame.SetMask(first);
                if (HighlightEmpty()) UnlockInputView();
            } else {
                UnhighlightMark(true);
                UnlockInputView();
            }
            continue;
        }
        if (r == CMD_RES_SNAPPED && !secondStage) {
            std::memcpy(start, pt, sizeof pt);
            std::memcpy(ServiceDragState().start, pt, sizeof pt);
            LockInput();
            frame.SetMask(second);
            secondStage = true;
            continue;
        }
        if (!secondStage) continue;
        if (r == CMD_RES_MOVED || r == CMD_RES_VIEW) {
            DragTo(pt);
        } else if (r == CMD_RES_SNAPPED) {
            HighlightRect(start, pt, options);
            secondStage = false;
            frame.SetMask(first);
            if (HighlightEmpty()) UnlockInputView();
        }
    }
    UnhighlightMark(false);
    UnlockInputView();
    frame.End();
    UpdateRubberBand(GetActiveView(), 0, 0, 2);
    return 1;
}

int ServiceAttributePickUp() {
    ServiceFrame frame(1304);
    if (!frame.TakeOver(false)) return 1;
    // Checked before the frame starts: a command that cannot run leaves no
    // service-waiting flag behind.
    ViewData* data = GetViewData(GetActiveView());
    if (!data) return 0;
    SearchOptionsScope options;
    frame.Begin(ServiceText("Attr GET", "属性GET"),
                ServiceText("Please select the element to want to acquire the attribute. ( ESC=Cancel )",
                            "属性を取得したい要素を選択してください( ESC=取消 )"),
                CMD_WANT_CANCEL | CMD_WANT_PICK | CMD_WANT_PANEL | 0x800000);
    options.Set({3, 127, -1, kKeep, 0xffffff});
    // The first wait takes the first of several candidates without asking;
    // every way out of it puts the flag back.
    struct SinglePick {
        SinglePick() { CmdWaitState().singlePick = 1; }
        ~SinglePick() { CmdWaitState().singlePick = 0; }
        void Off() { CmdWaitState().singlePick = 0; }
    } single;
    bool taken = false;
    for (;;) {
        const int r = frame.Wait();
        single.Off();
        if (r == CMD_RES_ENDED || r == CMD_RES_QUIT || r == CMD_RES_CANCEL || r == CMD_RES_PANEL) break;
        if (r != CMD_RES_PICKED) continue;
        auto* element = reinterpret_cast<StoredElement*>(static_cast<uintptr_t>(frame.Request().picked));
        if (!element) continue;
        // The tool panel's confirmation dialog, when it has one, decides
        // first and says whether the layer is taken too.
        int takeLayer = 0;
        const int kind = element->rec.kind;
        if (kind >= kElmLine && kind <= kElmEllipticArc && ConfirmAttributePickUp(element, &takeLayer))
            taken = TakeElementAttributes(element, takeLayer) != 0;
        break;
    }
    frame.End();
    if (taken) CmdInput().event = CMD_EV_ATTR_CHANGED;
    SendToolPanelCommand(3408);
    return 1;
}

int ServiceMidPoint() {
    if (LocalIni().iSnap2TenkanMode == 1 && !IsTwoPointMidButtonOn()) {
        SetServiceName(nullptr);
        SetServicePrompt(nullptr);
        if (Frame()) SendMessageA(Frame(), UM_END_CMD, 0, 0);
        return 1;
    }
    ServiceFrame frame(1332);
    if (!frame.TakeOver()) return 1;
    if (!GetActiveView()) {
        SendToolPanelCommand(3999);
        return 1;
    }
    const uint32_t first = CMD_WANT_CANCEL | CMD_WANT_SNAP | CMD_WANT_PANEL;
    frame.Begin(ServiceText("MidPoint", "２点間"), ServiceMessage(4005), first);
    // Group search only for this command's picks: the modules' searches
    // find members again once it ends, whichever way.
    struct GroupFind {
        int kept = DAriSerchSetGrpFind(1);
        ~GroupFind() { DAriSerchSetGrpFind(kept); }
    } groupFind;
    bool secondStage = false;
    double start[3] = {0, 0, 0};
    for (;;) {
        const int r = frame.Wait();
        double pt[3];
        frame.Point(pt);
        if (r == CMD_RES_ENDED || r == CMD_RES_QUIT || r == CMD_RES_PANEL) break;
        if (r == CMD_RES_CANCEL) {
            if (!secondStage) break;
            UnlockInputView();
            frame.SetPrompt(ServiceMessage(4005));
            frame.SetMask(first);
            secondStage = false;
            continue;
        }
        if (r == CMD_RES_SNAPPED && !secondStage) {
            std::memcpy(start, pt, sizeof pt);
            std::memcpy(ServiceDragState().start, pt, sizeof pt);
            LockInput();
            frame.SetPrompt(ServiceMessage(4006));
            frame.SetMask(first | CMD_WANT_TRACK);
            secondStage = true;
            continue;
        }
        if (!secondStage) continue;
        if (r == CMD_RES_MOVED || r == CMD_RES_VIEW) {
            DragTo(pt);
            continue;
        }
        if (r != CMD_RES_SNAPPED) continue;
        // The mid point goes to the waiting command as a snapped point.
        UnlockInputView();
        frame.End();
        WaitState& ws = CmdWaitState();
        ws.storedLastPoint[0] = (start[0] + pt[0]) / 2;
        ws.storedLastPoint[1] = (start[1] + pt[1]) / 2;
        CmdInput().event = CMD_EV_REPEAT_POINT;
        RepaintWindowNow(LayoutViewWindow());
        UpdateRubberBand(GetActiveView(), 0, 0, 2);
        if (LocalIni().iSnap2TenkanMode == 1) {
            if (Frame()) PostMessageA(Frame(), WM_COMMAND, 1332, 0);
        } else {
            SendToolPanelCommand(3999);
        }
        return 1;
    }
    frame.End();
    UnlockInputView();
    RepaintWindowNow(LayoutViewWindow());
    UpdateRubberBand(GetActiveView(), 0, 0, 2);
    SendToolPanelCommand(3999);
    return 1;
}

int ServiceDeleteWithLinkCheck() {
    if (Executor().serviceCmdWaiting == 1) {
        SetServiceName(nullptr);
        SetServicePrompt(nullptr);
        if (Frame()) SendMessageA(Frame(), UM_END_CMD, 0, 0);
        return 1;
    }
    HWND view = GetActiveView();
    if (!GetViewData(view)) return 0;
    SearchOptionsScope options;
    ServiceFrame frame(1336);
    frame.Begin("要素消去", "消去する要素を指定してください。(ESC=取消)",
                CMD_WANT_CANCEL | CMD_WANT_PICK | CMD_WANT_PANEL | CMD_WANT_LOCKED_LAYERS);
    options.Set({19, 0x87fff, -1, 0xffff, 0xffffff, 255, 255});
    for (;;) {
        const int r = frame.Wait();
        if (r == CMD_RES_ENDED || r == CMD_RES_QUIT || r == CMD_RES_CANCEL || r == CMD_RES_PANEL) break;
        if (r != CMD_RES_PICKED) continue;
        auto* element = reinterpret_cast<StoredElement*>(static_cast<uintptr_t>(frame.Request().picked));
        if (!element) continue;
        CadMark* linked = FindActiveLinkTags(nullptr, nullptr);
        const bool hasLink = linked && ChkMark(linked, element);
        bool remove = !hasLink;
        if (hasLink)
            remove =
                ZavMessageBox(Frame(),
                              "連携情報が含まれている要素を削除しようとしています。\n本当に削除してよろしいですか？",
                              "Delete Check", MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
        if (remove) {
            DeleteElementAt(element, 1);
            if (HWND active = GetActiveView()) {
                InvalidateRect(active, nullptr, TRUE);
                UpdateWindow(active);
            }
        }
        if (linked) DestroyMark(linked);
    }
    frame.End();
    return 1;
}
